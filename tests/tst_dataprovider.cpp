#include "account.h"
#include "accountentry.h"
#include "dataprovider.h"
#include "dbtransaction.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "expensetypeentry.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "recipient.h"
#include "testsupport.h"

#include <QSqlQuery>
#include <QtTest>

#include <memory>

namespace {

int insertNamed(const QString &sql, const QString &name)
{
    QSqlQuery query;
    query.prepare(sql);
    query.bindValue(QStringLiteral(":nam"), name);
    if (!query.exec())
        return 0;
    return query.lastInsertId().toInt();
}

void addMovement(int from, int to, double amount, int txTyp, int opFlag, const QString &date,
                 int sourceId = 0, const QString &txId = QString(""))
{
    QSqlQuery query;
    query.prepare(QStringLiteral("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,"
                                 "stat,op_flag,bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
                                 "VALUES (:d,:b,:v,:n,:t,31,:o,'',0,0,:tx,:s)"));
    query.bindValue(QStringLiteral(":d"), date);
    query.bindValue(QStringLiteral(":b"), amount);
    query.bindValue(QStringLiteral(":v"), from);
    query.bindValue(QStringLiteral(":n"), to);
    query.bindValue(QStringLiteral(":t"), txTyp);
    query.bindValue(QStringLiteral(":o"), opFlag);
    query.bindValue(QStringLiteral(":tx"), txId);
    query.bindValue(QStringLiteral(":s"), sourceId);
    QVERIFY(query.exec());
}

QList<int> idsOf(const QString &sql)
{
    QList<int> ids;
    QSqlQuery query(sql);
    while (query.next())
        ids.append(query.value(0).toInt());
    return ids;
}

ExpenseEntry expense(const QDate &date, double amount, int instrument = Seed::CashInstrument)
{
    ExpenseEntry e;
    e.setDate(date);
    e.setAmount(amount);
    e.setExpenseTypeId(Seed::FoodType);
    e.setExpenseTypeName(QStringLiteral("Lebensmittel"));
    e.setRecipientId(Seed::RecipientMigros);
    e.setRecipientName(QStringLiteral("Migros"));
    e.setPaymentInstrumentId(instrument);
    e.setPaymentInstrumentName(QStringLiteral("Bargeld"));
    return e;
}

} // namespace

class TestDataProvider : public QObject
{
    Q_OBJECT

private slots:
    void cachesAreLoadedInNameAndDateOrder();
    void accountColoursCycleAfterSix();
    void lookUpsInTheCaches();
    void instrumentListKeepsOnlyInstrumentsWithAccount();
    void nameLookUpsTakeTextAsTyped_data();
    void nameLookUpsTakeTextAsTyped();
    void transactionKeyLookUpsTakeTextAsTyped_data();
    void transactionKeyLookUpsTakeTextAsTyped();
    void recordsReadById();
    void refreshRecordRereadsTheRow();
    void directReadsAndCounts();
    void deletionGuards();

    void insertsCutTextsToColumnWidths();
    void accountAndInstrumentWrites();
    void expenseWritesKeepDetailsAndCacheInStep();
    void cachesEqualTheFileAfterManyWrites();
    void balanceWritesPatchTheCache();
    void carryBalancesForwardMakesBalancesOpeningAmounts();
    void txIdAndTruncation();

    void nestedTransactionsCommitOnlyOnce();
    void uncommittedTransactionRollsBackAndReloads();
    void failedInnerTransactionDoomsTheOuter();
};

void TestDataProvider::cachesAreLoadedInNameAndDateOrder()
{
    TestWorkspace ws;
    ws.seedMasterData();
    addMovement(1, 3, 1.0, 23, 1, QStringLiteral("2026-02-01"));
    addMovement(1, 3, 2.0, 23, 1, QStringLiteral("2026-05-01"));
    addMovement(1, 3, 3.0, 23, 1, QStringLiteral("2026-02-01"));
    DataProvider *dp = DataProvider::instance();

    QList<Account *> accounts;
    dp->getAccounts(accounts);
    QStringList names;
    for (const Account *a : accounts)
        names << a->getName();
    QCOMPARE(names, QStringList({"Bargeld", "Postkonto", "Sparkonto"}));

    QList<PaymentInstruction *> instruments;
    dp->getPaymentInstruments(instruments);
    names.clear();
    for (const PaymentInstruction *p : instruments)
        names << p->getName();
    QCOMPARE(names, QStringList({"Bargeld", "Postkonto", "Sparkonto", "Visa"}));

    // Newest first; one date keeps the order of the rows.
    QList<AccountEntry *> movements;
    dp->getAccountMovements(1, movements);
    QCOMPARE(movements.size(), 3);
    QCOMPARE(movements.at(0)->getAmount(), 2.0);
    QCOMPARE(movements.at(1)->getAmount(), 1.0);
    QCOMPARE(movements.at(2)->getAmount(), 3.0);

    // The raw rows hold what the last loader read.
    dp->loadExpenseSubTypes();
    QCOMPARE(dp->rawRows().size(), 2);
    QCOMPARE(dp->rawRows().at(0).value("name").toString(), QStringLiteral("Getränke"));
    dp->reloadRecipients();
    QCOMPARE(dp->rawRows().size(), 3);
    QList<Recipient *> recipients;
    dp->getRecipients(recipients);
    QCOMPARE(recipients.size(), 3);
    QCOMPARE(recipients.at(0)->getName(), QStringLiteral("Migros"));
}

void TestDataProvider::accountColoursCycleAfterSix()
{
    TestWorkspace ws;
    ws.seedMasterData();
    for (const char *name : {"Konto D", "Konto E", "Konto F", "Konto G"})
        insertNamed(QStringLiteral("INSERT INTO konten (name,konto_typ,stat,initial_betrag,betrag) "
                                   "VALUES (:nam,12,1,0,0)"), QString::fromLatin1(name));
    QList<Account *> accounts;
    DataProvider::instance()->getAccounts(accounts);
    QCOMPARE(accounts.size(), 7);
    const QList<QColor> cycle = {QColor(255, 255, 128), QColor(128, 255, 128), QColor(128, 255, 255),
                                 QColor(192, 192, 255), QColor(255, 192, 255), QColor(255, 128, 128)};
    for (int i = 0; i < accounts.size(); ++i)
        QCOMPARE(accounts.at(i)->getColour(), cycle.at(i % 6));
}

void TestDataProvider::lookUpsInTheCaches()
{
    TestWorkspace ws;
    ws.seedMasterData();
    // Same name twice: the first in name order (the older row) wins.
    const int twin = insertNamed(QStringLiteral("INSERT INTO konten (name,konto_typ,stat,initial_betrag,betrag) "
                                                "VALUES (:nam,12,0,0,0)"), QStringLiteral("Postkonto"));
    DataProvider *dp = DataProvider::instance();

    QCOMPARE(dp->getAccount(Seed::SavingsAccount)->getName(), QStringLiteral("Sparkonto"));
    QCOMPARE(dp->getAccount(QStringLiteral("Postkonto"))->getId(), int(Seed::BankAccount));
    QVERIFY(!dp->getAccount(QStringLiteral("postkonto")));
    QVERIFY(!dp->getAccount(99));

    QCOMPARE(dp->getPaymentInstrument(Seed::CardInstrument)->getName(), QStringLiteral("Visa"));
    QCOMPARE(dp->getPaymentInstrument(Seed::SavingsAccount, false)->getId(), int(Seed::SavingsInstrument));
    QCOMPARE(dp->getPaymentInstrument(QStringLiteral("Bargeld"))->getId(), int(Seed::CashInstrument));
    QVERIFY(!dp->getPaymentInstrument(QStringLiteral("Mastercard")));

    QVERIFY(dp->isAccountActive(Seed::BankAccount));
    QVERIFY(!dp->isAccountActive(twin));
    QVERIFY(dp->isAccountActive(99));

    QCOMPARE(dp->getRecipient(Seed::RecipientMueller)->getName(), QStringLiteral("Müller's Laden"));
    QVERIFY(!dp->getRecipient(0));
}

void TestDataProvider::instrumentListKeepsOnlyInstrumentsWithAccount()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ws.exec(QStringLiteral("INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,name) "
                           "VALUES (22,42,0,'Waise')"));
    QList<PaymentInstruction *> list;
    DataProvider::instance()->getPaymentInstruments(list);
    QCOMPARE(list.size(), 4);
    for (const PaymentInstruction *p : list) {
        QVERIFY(p->getName() != QStringLiteral("Waise"));
        // Bank-account flag: set for instruments on a type-12 account.
        QCOMPARE(p->isBankAccount(), p->getAccountId() != Seed::CashAccount);
    }
}

void TestDataProvider::nameLookUpsTakeTextAsTyped_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("apostrophe") << QStringLiteral("Müller's Laden");
    QTest::newRow("injection") << QStringLiteral("x' OR '1'='1");
    QTest::newRow("double quote") << QStringLiteral("Der \"beste\" Laden");
    QTest::newRow("percent and semicolon") << QStringLiteral("50%; DROP TABLE konten;--");
}

void TestDataProvider::nameLookUpsTakeTextAsTyped()
{
    QFETCH(QString, name);
    TestWorkspace ws;
    ws.seedMasterData();
    const QString other = QStringLiteral("Ganz anders");
    const int otherId = insertNamed(QStringLiteral("INSERT INTO beguenstigte (ausgaben_typ_id,name) VALUES (1,:nam)"),
                                    other);
    DataProvider *dp = DataProvider::instance();
    // Not there yet: nothing matches, whatever the text holds.
    if (name != QStringLiteral("Müller's Laden"))
        QCOMPARE(dp->getIdByName(QStringLiteral("beguenstigte"), name), 0);
    QCOMPARE(dp->getExpenseSubTypeId(Seed::HomeType, name), 0);

    const int recipientId = name == QStringLiteral("Müller's Laden")
        ? int(Seed::RecipientMueller)
        : insertNamed(QStringLiteral("INSERT INTO beguenstigte (ausgaben_typ_id,name) VALUES (1,:nam)"), name);
    const int subTypeId = insertNamed(
        QStringLiteral("INSERT INTO ausgaben_sub_typen (ausgaben_typ_id,name) VALUES (2,:nam)"), name);
    QCOMPARE(dp->getIdByName(QStringLiteral("beguenstigte"), name), recipientId);
    QCOMPARE(dp->getIdByName(QStringLiteral("beguenstigte"), other), otherId);
    QCOMPARE(dp->getExpenseSubTypeId(Seed::HomeType, name), subTypeId);
    QCOMPARE(dp->getExpenseSubTypeId(Seed::FoodType, name), 0);
    // A table name that is no plain name is not run at all.
    QCOMPARE(dp->getIdByName(QStringLiteral("beguenstigte WHERE 1=1 --"), name), 0);

    // Written through the data layer and found in the caches as typed.
    Account account;
    account.setName(name);
    account.setAccountType(12);
    account.setState(1);
    QVERIFY(dp->insertAccount(&account));
    QCOMPARE(dp->getAccount(name)->getId(), account.getId());
    QCOMPARE(dp->getIdByName(QStringLiteral("konten"), name), account.getId());
    PaymentInstruction instrument;
    instrument.setName(name);
    instrument.setAccountId(account.getId());
    instrument.setInstrumentType(25);
    QVERIFY(dp->insertPaymentInstrument(&instrument));
    QCOMPARE(dp->getPaymentInstrument(name)->getId(), instrument.getId());

    ExpenseEntry e = expense(QDate(2026, 3, 1), 5.0);
    e.setRecipientName(name);
    e.setRecipientId(recipientId);
    e.setRemark(name);
    QString err;
    QVERIFY2(dp->postExpense(&e, subTypeId, false, err), qPrintable(err));
    QSqlQuery check;
    check.prepare(QStringLiteral("SELECT COUNT(*) FROM ausgaben WHERE beguenstigter = :nam AND bemerkung = :nam"));
    check.bindValue(QStringLiteral(":nam"), name);
    QVERIFY(check.exec() && check.next());
    QCOMPARE(check.value(0).toInt(), 1);
    QCOMPARE(ws.rowCount(QStringLiteral("konten")), 4);
}

void TestDataProvider::transactionKeyLookUpsTakeTextAsTyped_data()
{
    QTest::addColumn<QString>("txId");
    QTest::newRow("plain") << QStringLiteral("2026312934512");
    QTest::newRow("apostrophe") << QStringLiteral("20'26");
    QTest::newRow("injection") << QStringLiteral("x' OR '1'='1");
}

void TestDataProvider::transactionKeyLookUpsTakeTextAsTyped()
{
    QFETCH(QString, txId);
    TestWorkspace ws;
    ws.seedMasterData();
    addMovement(1, 3, 10.0, 22, 0, QStringLiteral("2026-03-01"), 0, txId);
    addMovement(3, 1, 10.0, 22, 1, QStringLiteral("2026-03-01"), 0, txId);
    addMovement(1, 3, 7.0, 22, 0, QStringLiteral("2026-03-02"), 0, QStringLiteral("1"));
    addMovement(3, 1, 7.0, 22, 1, QStringLiteral("2026-03-02"), 0, QStringLiteral("1"));
    addMovement(2, 0, 3.0, 23, 1, QStringLiteral("2026-03-03"));
    DataProvider *dp = DataProvider::instance();

    QList<AccountEntry *> found;
    dp->getAccountMovements(txId, found);
    QCOMPARE(found.size(), 2);
    for (const AccountEntry *m : std::as_const(found))
        QCOMPARE(m->getTxId(), txId);

    QString err;
    QVERIFY2(dp->deleteAccountMovements(txId, err), qPrintable(err));
    QCOMPARE(ws.rowCount(QStringLiteral("konto_bewegungen")), 3);
    dp->getAccountMovements(txId, found);
    QVERIFY(found.isEmpty());
    dp->getAccountMovements(QStringLiteral("1"), found);
    QCOMPARE(found.size(), 2);
}

void TestDataProvider::recordsReadById()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    ExpenseEntry e = expense(QDate(2026, 1, 9), 12.5);
    QString err;
    QVERIFY(dp->postExpense(&e, Seed::FoodSubBasic, false, err));

    QVERIFY(!dp->getRecord(0, 16));
    std::unique_ptr<FinanceBase> read(dp->getRecord(e.getId(), 16));
    QVERIFY(read);
    auto *copy = static_cast<ExpenseEntry *>(read.get());
    QCOMPARE(copy->getAmount(), 12.5);
    QCOMPARE(copy->getDate(), QDate(2026, 1, 9));
    QCOMPARE(copy->getRecipientName(), QStringLiteral("Migros"));

    std::unique_ptr<FinanceBase> type(dp->getRecord(Seed::HomeType, 17));
    QVERIFY(type);
    QCOMPARE(static_cast<ExpenseTypeEntry *>(type.get())->getBudget(), 18000.0);
    std::unique_ptr<FinanceBase> source(dp->getRecord(Seed::IncomePension, 19));
    QVERIFY(source);
    QCOMPARE(static_cast<IncomeEntry *>(source.get())->getVolume(), 12000.0);
    QVERIFY(static_cast<IncomeEntry *>(source.get())->isSource());

    // Accounts and instruments come from the caches.
    QCOMPARE(dp->getRecord(Seed::BankAccount, 11), static_cast<FinanceBase *>(dp->getAccount(Seed::BankAccount)));
    QCOMPARE(dp->getRecord(Seed::CardInstrument, 13),
             static_cast<FinanceBase *>(dp->getPaymentInstrument(Seed::CardInstrument)));
    for (int id = 0; id < 4; ++id)
        QVERIFY(!dp->getRecord(id, 14));

    QVERIFY(dp->reverseExpense(e.getId(), err));
    QVERIFY(!dp->getRecord(e.getId(), 16));
    QVERIFY(!dp->getRecord(77, 17));
}

void TestDataProvider::refreshRecordRereadsTheRow()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    Account account(Seed::SavingsAccount);
    dp->refreshRecord(&account);
    QCOMPARE(account.getName(), QStringLiteral("Sparkonto"));
    QCOMPARE(account.getBalance(), 5000.0);
    QCOMPARE(account.getAccountNumber(), QStringLiteral("CH98-7654"));

    PaymentInstruction card(Seed::CardInstrument);
    dp->refreshRecord(&card);
    QCOMPARE(card.getName(), QStringLiteral("Visa"));
    QCOMPARE(card.getAccountId(), int(Seed::BankAccount));
    QCOMPARE(card.getAccountType(), 12);
    QVERIFY(card.hasAccountLink());

    Account missing(99);
    missing.setName(QStringLiteral("bleibt"));
    dp->refreshRecord(&missing);
    QCOMPARE(missing.getName(), QStringLiteral("bleibt"));
}

void TestDataProvider::directReadsAndCounts()
{
    TestWorkspace ws;
    ws.seedMasterData();
    addMovement(1, 0, 100.0, 23, 1, QStringLiteral("2026-01-05"), Seed::IncomeSalary);
    addMovement(3, 0, 50.0, 23, 1, QStringLiteral("2026-02-05"), Seed::IncomePension);
    addMovement(1, 0, 70.0, 23, 1, QStringLiteral("2026-03-05"), Seed::IncomeSalary);
    addMovement(1, 0, 5.0, 23, 1, QStringLiteral("2026-03-06"), 0);
    addMovement(1, 3, 9.0, 22, 0, QStringLiteral("2026-03-07"), Seed::IncomeSalary);
    DataProvider *dp = DataProvider::instance();

    QList<IncomeEntry *> incomes;
    dp->getIncomeMovements(Seed::IncomeSalary, incomes);
    QCOMPARE(incomes.size(), 2);
    QCOMPARE(incomes.at(0)->getAmount(), 70.0);   // newest first
    QVERIFY(!incomes.at(0)->isSource());
    dp->getIncomeMovements(0, incomes);           // appended, every source
    QCOMPARE(incomes.size(), 5);
    qDeleteAll(incomes);

    QList<IncomeEntry *> sources;
    dp->getIncomeSources(sources);
    QCOMPARE(sources.size(), 2);
    QCOMPARE(sources.at(0)->getName(), QStringLiteral("Lohn"));
    QCOMPARE(sources.at(0)->getVolume(), 60000.0);
    qDeleteAll(sources);

    QList<ExpenseTypeEntry *> types;
    dp->getExpenseTypes(types);
    QCOMPARE(types.size(), 2);
    QCOMPARE(types.at(1)->getName(), QStringLiteral("Wohnen"));
    qDeleteAll(types);

    QList<QSqlRecord> rows;
    dp->getExpenseSubTypeRows(Seed::FoodType, rows);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).value("name").toString(), QStringLiteral("Getränke"));
    rows.clear();
    dp->getRecipientRows(rows);
    QCOMPARE(rows.size(), 3);

    QCOMPARE(dp->getFirstAccountIdOfType(), 0);
    const int counter = insertNamed(QStringLiteral("INSERT INTO konten (name,konto_typ,stat,initial_betrag,betrag) "
                                                   "VALUES (:nam,11,1,0,0)"), QStringLiteral("Gegenkonto"));
    QCOMPARE(dp->getFirstAccountIdOfType(), counter);

    QCOMPARE(dp->getExpenseCount(), 0);
    QString err;
    ExpenseEntry e = expense(QDate(2026, 3, 1), 30.0);
    QVERIFY(dp->postExpense(&e, 0, true, err));
    QVERIFY(dp->insertExpenseDetail(e.getId(), Seed::FoodSubBasic, 10.25, err));
    QVERIFY(dp->insertExpenseDetail(e.getId(), Seed::FoodSubDrinks, 19.75, err));
    QCOMPARE(dp->getExpenseCount(), 1);
    QCOMPARE(dp->getExpenseDetailSum(e.getId()), 30.0);
    QCOMPARE(dp->getExpenseDetailSum(e.getId() + 1), 0.0);
}

void TestDataProvider::deletionGuards()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QVERIFY(!dp->hasAccountMovements(Seed::SavingsAccount));
    // Only named as destination: still counts.
    addMovement(1, 3, 10.0, 22, 0, QStringLiteral("2026-03-01"));
    QVERIFY(dp->hasAccountMovements(Seed::SavingsAccount));
    QVERIFY(dp->hasAccountMovements(Seed::BankAccount));
    QVERIFY(!dp->hasAccountMovements(Seed::CashAccount));

    // Account 3 has only its own type-25 instrument; account 1 has Visa too.
    QVERIFY(!dp->hasPaymentInstrumentsOfAccount(Seed::SavingsAccount));
    QVERIFY(dp->hasPaymentInstrumentsOfAccount(Seed::BankAccount));
    QVERIFY(dp->hasPaymentInstrumentsOfAccount(Seed::CashAccount));

    QVERIFY(dp->hasSubTypesOfType(Seed::FoodType));
    QVERIFY(!dp->hasSubTypesOfType(Seed::HomeType));

    QVERIFY(!dp->hasExpensesOfPaymentInstrument(Seed::CashInstrument));
    ExpenseEntry e = expense(QDate(2026, 3, 1), 30.0);
    QString err;
    QVERIFY(dp->postExpense(&e, Seed::FoodSubDrinks, false, err));
    QVERIFY(dp->hasExpensesOfPaymentInstrument(Seed::CashInstrument));
    QVERIFY(!dp->hasExpensesOfPaymentInstrument(Seed::BankInstrument));
    QVERIFY(dp->hasExpensesOfRecipient(Seed::RecipientMigros));
    QVERIFY(!dp->hasExpensesOfRecipient(Seed::RecipientMueller));
    QVERIFY(dp->hasExpensesOfType(Seed::FoodType));
    QVERIFY(!dp->hasExpensesOfType(Seed::HomeType));
    QVERIFY(dp->hasDetailsOfSubType(Seed::FoodSubDrinks));
    QVERIFY(!dp->hasDetailsOfSubType(Seed::FoodSubBasic));
    QVERIFY(dp->hasDetailsOfExpense(e.getId()));
    QVERIFY(!dp->hasDetailsOfExpense(e.getId() + 1));
}

void TestDataProvider::insertsCutTextsToColumnWidths()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    const QString longText = QString(100, QLatin1Char('a')) + QStringLiteral("ä");
    QString err;
    QVERIFY(dp->insertAccountMovement(1, 0, 1.0, 0, longText, QDate(2026, 1, 1), 21, 31, 0, err));
    QCOMPARE(ws.scalar(QStringLiteral("SELECT bemerkung FROM konto_bewegungen")).toString(), longText.left(78));

    Account account;
    account.setName(longText);
    account.setAccountNumber(longText);
    account.setDescription(longText);
    QVERIFY(dp->insertAccount(&account));
    QSqlQuery q(QStringLiteral("SELECT name, konto_nummer, konto_beschreibung, startdate FROM konten WHERE id = %1")
                    .arg(account.getId()));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString().size(), 38);
    QCOMPARE(q.value(1).toString().size(), 28);
    QCOMPARE(q.value(2).toString().size(), 78);
    QCOMPARE(q.value(3).toDate(), QDate::currentDate());
    q.finish();

    // Fields left empty are stored as empty text, not NULL.
    Account unnamed;
    QVERIFY2(dp->insertAccount(&unnamed), qPrintable(unnamed.getLastError()));
    QCOMPARE(ws.scalar(QStringLiteral("SELECT name || '|' || konto_nummer FROM konten WHERE id = %1")
                           .arg(unnamed.getId())).toString(), QStringLiteral("|"));
    ExpenseEntry free = expense(QDate(2026, 3, 1), 1.0);
    free.setRecipientName(QString());
    free.setRecipientId(0);
    QVERIFY2(dp->postExpense(&free, 0, true, err), qPrintable(err));

    ExpenseEntry e = expense(QDate(2026, 3, 1), 1.0);
    e.setRemark(longText);
    e.setRecipientName(longText);
    QVERIFY(dp->postExpense(&e, 0, true, err));
    QCOMPARE(ws.scalar(QStringLiteral("SELECT bemerkung FROM ausgaben WHERE id = %1").arg(e.getId())).toString(),
             longText.left(78));
    QCOMPARE(ws.scalar(QStringLiteral("SELECT beguenstigter FROM ausgaben WHERE id = %1").arg(e.getId())).toString(),
             longText.left(78));
}

void TestDataProvider::accountAndInstrumentWrites()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    Account *held = dp->getAccount(Seed::SavingsAccount);

    Account account;
    account.setName(QStringLiteral("Anlagekonto"));
    account.setAccountType(12);
    account.setState(1);
    account.setOpeningAmount(750.0);
    account.setBalance(750.0);
    QVERIFY(dp->insertAccount(&account));
    QVERIFY(account.getId() > 3);
    QCOMPARE(dp->getAccount(QStringLiteral("Anlagekonto"))->getBalance(), 750.0);
    // Reloads keep the objects of the accounts that stay.
    QCOMPARE(dp->getAccount(Seed::SavingsAccount), held);

    PaymentInstruction own;
    own.setName(QStringLiteral("Anlagekonto"));
    own.setAccountId(account.getId());
    own.setInstrumentType(25);
    own.setBankAccount(true);
    QVERIFY(dp->insertPaymentInstrument(&own));
    QCOMPARE(ws.scalar(QStringLiteral("SELECT hat_konto_verbindung FROM zahlungsmittel WHERE id = %1")
                           .arg(own.getId())).toInt(), 1);
    QCOMPARE(dp->getPaymentInstrument(own.getId())->getAccountId(), account.getId());

    PaymentInstruction *cached = dp->getPaymentInstrument(own.getId());
    QVERIFY(dp->deletePaymentInstrument(cached));
    QVERIFY(!dp->getPaymentInstrument(own.getId()));
    Account *cachedAccount = dp->getAccount(account.getId());
    QVERIFY(dp->deleteAccount(cachedAccount));
    QVERIFY(!dp->getAccount(account.getId()));
    QCOMPARE(ws.rowCount(QStringLiteral("konten")), 3);

    QString err;
    QVERIFY(dp->deleteRecipient(Seed::RecipientLandlord, err));
    QVERIFY(!dp->getRecipient(Seed::RecipientLandlord));
    QVERIFY(dp->deleteIncomeSource(Seed::IncomePension, err));
    QCOMPARE(ws.rowCount(QStringLiteral("einnahme_quelle")), 1);
}

void TestDataProvider::expenseWritesKeepDetailsAndCacheInStep()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    ExpenseEntry e = expense(QDate(2026, 3, 1), 40.0);
    int newId = 0;
    QVERIFY(dp->insertExpense(&e, newId, Seed::FoodSubBasic, true));
    QVERIFY(newId > 0);
    QList<ExpenseEntryDetail *> details;
    dp->getExpenseDetails(newId, details);
    QCOMPARE(details.size(), 1);
    QCOMPARE(details.at(0)->getAmount(), 40.0);
    QCOMPARE(details.at(0)->getRemark(), QStringLiteral("no remark!"));
    QString err;
    QVERIFY(dp->insertExpenseDetail(newId, Seed::FoodSubDrinks, 2.0, err));
    dp->getExpenseDetails(newId, details);
    QCOMPARE(details.size(), 2);

    QList<ExpenseEntry *> ofInstrument;
    dp->getExpensesOfPaymentInstrument(Seed::CashInstrument, ofInstrument);
    QCOMPARE(ofInstrument.size(), 1);
    ExpenseEntry victim(newId);
    QVERIFY(dp->deleteExpense(&victim));
    QCOMPARE(ws.rowCount(QStringLiteral("ausgaben_detail")), 0);
    QCOMPARE(ws.rowCount(QStringLiteral("ausgaben")), 0);
    dp->getExpenseDetails(newId, details);
    QVERIFY(details.isEmpty());
    dp->getExpensesOfPaymentInstrument(Seed::CashInstrument, ofInstrument);
    QVERIFY(ofInstrument.isEmpty());

    // Movements of an expense go by its id.
    QVERIFY(dp->insertAccountMovement(1, 0, 5.0, 0, QString(), QDate(2026, 1, 1), 21, 31, 7, err));
    QVERIFY(dp->insertAccountMovement(1, 0, 6.0, 0, QString(), QDate(2026, 1, 1), 21, 31, 8, err));
    AccountEntry m;
    m.setExpenseId(7);
    QVERIFY(dp->deleteExpenseMovements(&m));
    QCOMPARE(ws.scalar(QStringLiteral("SELECT ausgabe_id FROM konto_bewegungen")).toInt(), 8);
    QList<AccountEntry *> movements;
    dp->getAccountMovements(1, movements);
    QCOMPARE(movements.size(), 1);
}

void TestDataProvider::cachesEqualTheFileAfterManyWrites()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QString err;
    const QList<QDate> dates = {QDate(2026, 3, 1), QDate(2026, 1, 1), QDate(2026, 3, 1), QDate(2026, 6, 30),
                                QDate(2026, 1, 1), QDate(2026, 3, 1), QDate(2025, 12, 31)};
    QList<int> ids;
    for (int i = 0; i < dates.size(); ++i) {
        ExpenseEntry e = expense(dates.at(i), 1.0 + i);
        QVERIFY(dp->postExpense(&e, Seed::FoodSubBasic, false, err));
        ids << e.getId();
        QVERIFY(dp->postDeposit(Seed::BankAccount, 1.0 + i, QString(), dates.at(i), 0, err));
    }
    QVERIFY(dp->reverseExpense(ids.at(2), err));
    QVERIFY(dp->reverseMovement(idsOf(QStringLiteral("SELECT id FROM konto_bewegungen")).at(3), err));

    QList<ExpenseEntry *> expenses;
    dp->getExpensesOfType(expenses, 0);
    QList<int> cached;
    for (int i = 0; i + 1 < expenses.size(); ++i)
        cached << expenses.at(i)->getId();
    qDeleteAll(expenses);
    QCOMPARE(cached, idsOf(QStringLiteral("SELECT id FROM ausgaben ORDER BY startdate DESC ")));

    QList<AccountEntry *> movements;
    dp->getAccountMovements(Seed::BankAccount, movements);
    cached.clear();
    for (const AccountEntry *m : std::as_const(movements))
        cached << m->getId();
    QCOMPARE(cached, idsOf(QStringLiteral("SELECT id FROM konto_bewegungen ORDER BY startdate DESC ")));

    QCOMPARE(dp->getAccount(Seed::BankAccount)->getBalance(), ws.balance(Seed::BankAccount));
    QCOMPARE(dp->getAccount(Seed::CashAccount)->getBalance(), ws.balance(Seed::CashAccount));
}

void TestDataProvider::balanceWritesPatchTheCache()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    Account *held = dp->getAccount(Seed::CashAccount);
    QString err;
    QVERIFY(dp->updateAccountBalance(Seed::CashAccount, 12.34, err));
    QVERIFY(dp->updateAccountInitialAmount(Seed::CashAccount, 56.78, err));
    QCOMPARE(held->getBalance(), 12.34);
    QCOMPARE(held->getOpeningAmount(), 56.78);
    QCOMPARE(ws.balance(Seed::CashAccount), 12.34);
    QCOMPARE(ws.scalar(QStringLiteral("SELECT initial_betrag FROM konten WHERE id = 2")).toDouble(), 56.78);

    ws.exec(QStringLiteral("CREATE TRIGGER boom BEFORE UPDATE ON konten BEGIN SELECT RAISE(ABORT,'boom'); END"));
    QVERIFY(!dp->updateAccountBalance(Seed::CashAccount, 1.0, err));
    QVERIFY(err.contains(QStringLiteral("boom")));
    QCOMPARE(held->getBalance(), 12.34);
}

void TestDataProvider::carryBalancesForwardMakesBalancesOpeningAmounts()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QString err;
    ExpenseEntry e = expense(QDate(2026, 3, 1), 20.5);
    QVERIFY(dp->postExpense(&e, 0, false, err));
    QVERIFY(dp->postDeposit(Seed::SavingsAccount, 99.5, QString(), QDate(2026, 3, 1), 0, err));
    QVERIFY(dp->carryBalancesForward());
    QSqlQuery q(QStringLiteral("SELECT id, initial_betrag, betrag FROM konten ORDER BY id"));
    const QList<double> expected = {1000.0, 179.5, 5099.5};
    for (double value : expected) {
        QVERIFY(q.next());
        QCOMPARE(q.value(1).toDouble(), value);
        QCOMPARE(q.value(2).toDouble(), value);
        QCOMPARE(dp->getAccount(q.value(0).toInt())->getOpeningAmount(), value);
    }
}

void TestDataProvider::txIdAndTruncation()
{
    QCOMPARE(DataProvider::makeTxId(QDate(2015, 3, 13), QTime(9, 5, 7, 42)), QStringLiteral("201531395742"));
    QCOMPARE(DataProvider::makeTxId(QDate(2026, 12, 31), QTime(23, 59, 59, 999)),
             QStringLiteral("20261231235959999"));
    QCOMPARE(DataProvider::truncated(QStringLiteral("abc"), 2), QStringLiteral("ab"));
    QCOMPARE(DataProvider::truncated(QStringLiteral("abc"), 3), QStringLiteral("abc"));
    QCOMPARE(DataProvider::toCents(0.1 + 0.2), qint64(30));
    QCOMPARE(DataProvider::toCents(-1.005), qint64(-100));
    QCOMPARE(DataProvider::roundCents(999.6999999999999), 999.7);
}

void TestDataProvider::nestedTransactionsCommitOnlyOnce()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QString err;
    {
        DbTransaction outer;
        QVERIFY(outer.isOutermost());
        Account account;
        account.setName(QStringLiteral("Neu"));
        QVERIFY(dp->insertAccount(&account));
        {
            DbTransaction inner;
            QVERIFY(!inner.isOutermost());
            QCOMPARE(DbTransaction::depth(), 2);
            PaymentInstruction own;
            own.setName(QStringLiteral("Neu"));
            own.setAccountId(account.getId());
            own.setInstrumentType(25);
            QVERIFY(dp->insertPaymentInstrument(&own));
            QVERIFY(inner.commit(err));
        }
        QVERIFY2(outer.commit(err), qPrintable(err));
    }
    QCOMPARE(DbTransaction::depth(), 0);
    // Committed: another connection sees the rows.
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("second"));
        other.setDatabaseName(ws.filePath());
        QVERIFY(other.open());
        QSqlQuery q(QStringLiteral("SELECT COUNT(*) FROM zahlungsmittel WHERE name = 'Neu'"), other);
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("second"));
    QVERIFY(dp->getAccount(QStringLiteral("Neu")));
}

void TestDataProvider::uncommittedTransactionRollsBackAndReloads()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    {
        DbTransaction tx;
        Account account;
        account.setName(QStringLiteral("Neu"));
        QVERIFY(dp->insertAccount(&account));
        QVERIFY(dp->getAccount(QStringLiteral("Neu")));
    }
    QCOMPARE(ws.rowCount(QStringLiteral("konten")), 3);
    QVERIFY(!dp->getAccount(QStringLiteral("Neu")));
    QList<Account *> accounts;
    dp->getAccounts(accounts);
    QCOMPARE(accounts.size(), 3);
}

void TestDataProvider::failedInnerTransactionDoomsTheOuter()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QString err;
    DbTransaction outer;
    Account account;
    account.setName(QStringLiteral("Neu"));
    QVERIFY(dp->insertAccount(&account));
    {
        DbTransaction inner;   // ends without commit
    }
    QVERIFY(!outer.commit(err));
    QVERIFY(!err.isEmpty());
    QCOMPARE(ws.rowCount(QStringLiteral("konten")), 3);
    QVERIFY(!dp->getAccount(QStringLiteral("Neu")));
}

QTEST_MAIN(TestDataProvider)
#include "tst_dataprovider.moc"
