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
#include "yeargenerator.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

// The data layer's caches: what they read from the file, the look-ups and
// deletion guards answered from them, that they follow every write, and the
// summary lists of the reports built from them.
namespace {

template<class... Values>
QString join(const Values &...values)
{
    return QStringList{QVariant(values).toString()...}.join(QLatin1Char('|'));
}

QString fieldsOf(const Account *a)
{
    return join(a->getId(), a->getName(), a->getAccountType(), a->getState(), a->getAccountNumber(),
                a->getOpeningAmount(), a->getBalance(), a->getDescription(), a->getDateString());
}
QString fieldsOf(const PaymentInstruction *p)
{
    return join(p->getId(), p->getName(), p->getInstrumentType(), p->getAccountId(), p->hasAccountLink(),
                p->getCardNumber());
}
QString fieldsOf(const ExpenseEntry *e)
{
    return join(e->getId(), e->getDateString(), e->getAmount(), e->getRecipientName(), e->getRecipientId(),
                e->getPaymentInstrumentName(), e->getPaymentInstrumentId(), e->getRemark(), e->getExpenseTypeName(),
                e->getExpenseTypeId());
}
QString fieldsOf(const AccountEntry *m)
{
    return join(m->getId(), m->getDateString(), m->getAmount(), m->getFromAccount(), m->getToAccount(),
                m->getTxType(), m->getTxId(), m->getState(), m->getOpFlag(), m->getRemark(),
                m->getPaymentInstrumentId(), m->getExpenseId());
}
QString fieldsOf(const ExpenseEntryDetail *d)
{ return join(d->getId(), d->getExpenseId(), d->getSubTypeId(), d->getAmount(), d->getRemark()); }
QString fieldsOf(const Recipient *r) { return join(r->getId(), r->getName(), r->getPaidSum()); }
template<class Record>
void append(QStringList &out, const QList<Record *> &rows)
{
    for (const Record *row : rows)
        out << fieldsOf(row);
}

// Everything the caches show, in their order.
QStringList cacheContents()
{
    DataProvider *dp = DataProvider::instance();
    QStringList out;
    QList<Account *> accounts;
    QList<PaymentInstruction *> instruments;
    QList<AccountEntry *> movements;
    QList<ExpenseEntryDetail *> details;
    dp->getAccounts(accounts);
    dp->getPaymentInstruments(instruments);
    append(out, accounts);
    append(out, instruments);
    for (const Account *a : std::as_const(accounts)) {
        dp->getAccountMovements(a->getId(), movements);
        append(out, movements);
    }
    for (const ExpenseEntry *e : dp->getExpensesOfType(0)) {
        dp->getExpenseDetails(e->getId(), details);
        out << fieldsOf(e);
        append(out, details);
    }
    append(out, dp->getRecipientTotals().rows());
    return out;
}

// True when the caches equal what a fresh start reads from the file.
bool cachesEqualFile()
{
    const QStringList cached = cacheContents();
    DataProvider::release();
    const QStringList fresh = cacheContents();
    if (cached != fresh)
        qWarning() << "cached:" << cached << "\nfile:  " << fresh;
    return cached == fresh;
}

ExpenseEntry expense(double amount, int instrument = Seed::CashInstrument, int recipient = Seed::RecipientMigros)
{
    ExpenseEntry e;
    e.setDate(QDate(2026, 3, 1));
    e.setAmount(amount);
    e.setExpenseTypeId(Seed::FoodType);
    e.setRecipientId(recipient);
    e.setPaymentInstrumentId(instrument);
    return e;
}

void insertMovement(const QString &date)
{
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,bemerkung,"
        "zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) VALUES ('%1',300.0,3,1,23,31,1,'Lohn',4,7,'T9',2)")
        .arg(date));
}

QString money(double amount) { return QString::number(amount, 'f', 2); }

// One line per row: the first column, then every other as an amount.
QStringList fileLines(const QString &sql)
{
    QStringList out;
    QSqlQuery query(sql);
    while (query.next()) {
        QString line = query.value(0).toString();
        for (int c = 1; c < query.record().count(); ++c)
            line += QLatin1Char('=') + money(query.value(c).toDouble());
        out << line;
    }
    return out;
}

// One line per row of a summary list: the name, then the given amounts.
template<class List, class... Amounts>
QStringList listLines(const List &list, Amounts... amounts)
{
    QStringList out;
    for (const auto *row : list) {
        QString line = row->getName();
        ((line += QLatin1Char('=') + money((row->*amounts)())), ...);
        out << line;
    }
    return out;
}

QStringList expenseTotal(const QString &condition)
{
    return fileLines(QStringLiteral("SELECT 'Total:', TOTAL(betrag) FROM ausgaben WHERE %1").arg(condition));
}

// The expenses matching the condition, newest first, then their total.
QStringList expensesWhere(const QString &condition)
{
    return fileLines(QStringLiteral("SELECT id, betrag FROM ausgaben WHERE %1 ORDER BY startdate DESC ").arg(condition))
        + expenseTotal(condition);
}

// Ids of the expense lines (then the total), as "id=amount".
QStringList expenseLines(const RecordList<ExpenseEntry> &list)
{
    QStringList out;
    for (const ExpenseEntry *e : list)
        out << (e->isTotalRow() ? e->getName() : QString::number(e->getId())) + QLatin1Char('=') + money(e->getAmount());
    return out;
}

} // namespace

class TestCaches : public QObject
{
    Q_OBJECT

private slots:
    void loadersReadEveryField();
    void storedDatesShowAsDayMonthYear_data();
    void storedDatesShowAsDayMonthYear();
    void lookUpsReadsAndGuards();
    void cachesFollowEveryWrite();
    void transactionsCommitOnlyAsAWhole();
    void listsEqualPlainSums();
};

void TestCaches::loadersReadEveryField()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ws.exec(QStringLiteral("UPDATE konten SET betrag = 987.65 WHERE id = 1"));
    ws.exec(QStringLiteral("UPDATE einnahme_quelle SET mwst = 7.7 WHERE id = 1"));
    ws.exec(QStringLiteral("INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,"
                           "zahlungsmittel_id,bemerkung,ausgaben_typ,ausgaben_typ_id) VALUES ('2026-03-05',42.35,"
                           "'Müller''s Laden',2,'Visa',3,'Wocheneinkauf','Lebensmittel',1)"));
    ws.exec(QStringLiteral("INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag,bemerkung) "
                           "VALUES (1,2,12.5,'Wein')"));
    insertMovement(QStringLiteral("2026-04-01"));
    DataProvider *dp = DataProvider::instance();

    QCOMPARE(fieldsOf(dp->getAccount(Seed::BankAccount)),
             QStringLiteral("1|Postkonto|12|1|CH12-3456|1000|987.65|Bank-Account|01.01.2026"));
    QCOMPARE(fieldsOf(dp->getPaymentInstrument(Seed::CardInstrument)), QStringLiteral("3|Visa|24|1|true|4111"));
    const QString expenseFields = QStringLiteral("1|05.03.2026|42.35|Müller's Laden|2|Visa|3|Wocheneinkauf|Lebensmittel|1");
    QCOMPARE(fieldsOf(dp->getExpensesOfType(0).first()), expenseFields);
    QCOMPARE(fieldsOf(dp->getExpense(1).get()), expenseFields);
    QList<ExpenseEntryDetail *> details;
    QList<AccountEntry *> movements;
    dp->getExpenseDetails(1, details);
    dp->getAccountMovements(Seed::SavingsAccount, movements);
    QStringList lines;
    append(lines, details);
    append(lines, movements);
    QCOMPARE(lines, QStringList({"1|1|2|12.5|Wein", "1|01.04.2026|300|3|1|23|T9|31|1|Lohn|4|7"}));

    const IncomeEntry *income = dp->getIncomeMovements(Seed::IncomePension).first();
    QCOMPARE(join(income->getId(), income->getDateString(), income->getAmount(), income->getRemark(),
                  income->getIncomeSourceId()), QStringLiteral("1|01.04.2026|300|Lohn|2"));
    const IncomeEntry *source = dp->getIncomeSources().first();
    QCOMPARE(join(source->getId(), source->getName(), source->getVolume(), source->getVat(), source->getRemark()),
             QStringLiteral("1|Lohn|60000|7.7|Arbeitgeber"));
    QCOMPARE(dp->getExpenseType(Seed::HomeType)->getBudget(), 18000.0);
    QCOMPARE(dp->getRecipient(Seed::RecipientMueller)->getName(), QStringLiteral("Müller's Laden"));
}

void TestCaches::storedDatesShowAsDayMonthYear_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("padded") << "2026-03-07" << "07.03.2026";
    QTest::newRow("leap day") << "2024-02-29" << "29.02.2024";
    QTest::newRow("no such day") << "2026-02-30" << "";
    QTest::newRow("German form") << "03.02.2026" << "";
}

void TestCaches::storedDatesShowAsDayMonthYear()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    TestWorkspace ws;
    ws.seedMasterData();
    insertMovement(stored);
    QList<AccountEntry *> movements;
    DataProvider::instance()->getAccountMovements(Seed::SavingsAccount, movements);
    QCOMPARE(movements.size(), 1);
    QCOMPARE(movements.first()->getDateString(), shown);
}

void TestCaches::lookUpsReadsAndGuards()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ws.exec(QStringLiteral("INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,name) "
                           "VALUES (22,42,0,'Waise')"));
    DataProvider *dp = DataProvider::instance();
    QCOMPARE(dp->getAccount(QStringLiteral("Sparkonto"))->getId(), int(Seed::SavingsAccount));
    QVERIFY(!dp->getAccount(QStringLiteral("sparkonto")));
    QCOMPARE(dp->getPaymentInstrument(Seed::SavingsAccount, false)->getId(), int(Seed::SavingsInstrument));
    QCOMPARE(dp->getPaymentInstrument(QStringLiteral("Visa"))->getId(), int(Seed::CardInstrument));
    QCOMPARE(dp->getIdByName(QStringLiteral("beguenstigte"), QStringLiteral("Müller's Laden")),
             int(Seed::RecipientMueller));
    QCOMPARE(dp->getIdByName(QStringLiteral("beguenstigte"), QStringLiteral("x' OR '1'='1")), 0);
    QCOMPARE(dp->getExpenseSubTypeId(Seed::FoodType, QStringLiteral("Getränke")), int(Seed::FoodSubDrinks));

    // Instruments without an account are left out; those on a bank account say so.
    QList<PaymentInstruction *> instruments;
    dp->getPaymentInstruments(instruments);
    QStringList names;
    for (const PaymentInstruction *p : std::as_const(instruments))
        names << p->getName() + (p->isBankAccount() ? QStringLiteral("*") : QString());
    QCOMPARE(names, QStringList({"Bargeld", "Postkonto*", "Sparkonto*", "Visa*"}));

    ExpenseEntry e = expense(30.0);
    QVERIFY(dp->postExpense(&e, 0, true).ok());
    QString err;
    QVERIFY(dp->insertExpenseDetail(e.getId(), Seed::FoodSubDrinks, 10.25, err));
    QVERIFY(dp->insertExpenseDetail(e.getId(), Seed::FoodSubDrinks, 19.75, err));
    insertMovement(QStringLiteral("2026-03-02"));
    QCOMPARE(dp->getExpenseCount(), 1);
    QCOMPARE(dp->getExpenseDetailSum(e.getId()), 30.0);

    // Each guard once where rows refer to the id, once where none do.
    const QList<bool> guards = {
        dp->hasAccountMovements(Seed::BankAccount), dp->hasAccountMovements(Seed::CashAccount),
        dp->hasPaymentInstrumentsOfAccount(Seed::BankAccount), dp->hasPaymentInstrumentsOfAccount(Seed::SavingsAccount),
        dp->hasSubTypesOfType(Seed::FoodType), dp->hasSubTypesOfType(Seed::HomeType),
        dp->hasExpensesOfPaymentInstrument(Seed::CashInstrument), dp->hasExpensesOfPaymentInstrument(Seed::CardInstrument),
        dp->hasExpensesOfRecipient(Seed::RecipientMigros), dp->hasExpensesOfRecipient(Seed::RecipientMueller),
        dp->hasExpensesOfType(Seed::FoodType), dp->hasExpensesOfType(Seed::HomeType),
        dp->hasDetailsOfSubType(Seed::FoodSubDrinks), dp->hasDetailsOfSubType(Seed::FoodSubBasic),
        dp->hasDetailsOfExpense(e.getId()), dp->hasDetailsOfExpense(e.getId() + 1)};
    for (int i = 0; i < guards.size(); ++i)
        QVERIFY2(guards.at(i) == (i % 2 == 0), qPrintable(QString::number(i)));
}

void TestCaches::cachesFollowEveryWrite()
{
    TestWorkspace ws;
    ws.seedMasterData();
    auto dp = [] { return DataProvider::instance(); };   // each check starts a fresh one
    auto scalar = [](const char *sql) { return TestWorkspace::scalar(QString::fromLatin1(sql)); };
    QString err;
    ExpenseEntry cash = expense(12.5), card = expense(40.0, Seed::CardInstrument, 42);
    Account account;
    account.setName(QStringLiteral("Anlagekonto"));
    account.setAccountType(AccountType::Bank);
    PaymentInstruction own;
    own.setName(QStringLiteral("Anlagekonto"));
    own.setInstrumentType(InstrumentType::Account);
    const QList<std::function<bool()>> writes = {
        [&] { return dp()->postExpense(&cash, Seed::FoodSubBasic, false).ok(); },
        [&] { return dp()->postExpense(&card, 0, true).ok()
                     && dp()->insertExpenseDetail(card.getId(), Seed::FoodSubDrinks, 40.0, err); },
        [&] { return dp()->postDeposit(Seed::BankAccount, 500.0, QStringLiteral("Lohn"), QDate(2026, 2, 1), 1).ok(); },
        [&] { return dp()->postTransfer(Seed::BankInstrument, Seed::SavingsInstrument, 70.0, {}, {}, QDate(2026, 1, 9)).ok(); },
        [&] { return dp()->reverseTransfer(scalar("SELECT tx_id FROM konto_bewegungen WHERE tx_typ = 22").toString()).ok(); },
        [&] { return dp()->reverseMovement(scalar("SELECT id FROM konto_bewegungen WHERE tx_typ = 23").toInt()).ok(); },
        [&] { return dp()->reverseExpense(card.getId()).ok(); },
        [&] {
            Account *held = dp()->getAccount(Seed::BankAccount);   // dialogs hold it while they post
            own.setAccountId(dp()->insertAccount(&account) ? account.getId() : -1);
            return dp()->insertPaymentInstrument(&own) && dp()->getAccount(Seed::BankAccount) == held;
        },
        [&] { return dp()->deletePaymentInstrument(dp()->getPaymentInstrument(own.getId()))
                     && dp()->deleteAccount(dp()->getAccount(account.getId())); },
        [&] { return dp()->updateAccountBalance(Seed::CashAccount, 12.34, err)
                     && dp()->updateAccountInitialAmount(Seed::CashAccount, 56.78, err); },
        [&] { return dp()->deleteRecipient(Seed::RecipientLandlord, err); },
        [&] { return dp()->insertAccountMovement(2, 0, 5.0, 0, {}, QDate(2026, 1, 1), 21, 31, cash.getId(), err)
                     && dp()->deleteExpenseMovements(cash.getId(), err) && dp()->deleteExpense(&cash, err); },
    };
    for (int i = 0; i < writes.size(); ++i)
        QVERIFY2(writes.at(i)() && cachesEqualFile(), qPrintable(QStringLiteral("write %1 %2").arg(i).arg(err)));
    QCOMPARE(ws.rowCount(QStringLiteral("ausgaben")) + ws.rowCount(QStringLiteral("ausgaben_detail")), 0);
}

void TestCaches::transactionsCommitOnlyAsAWhole()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    Account a, b;
    a.setName(QStringLiteral("A"));
    b.setName(QStringLiteral("B"));
    QString err;
    {   // inner committed, outer not: neither stays
        DbTransaction outer;
        DbTransaction inner;
        QVERIFY(dp->insertAccount(&a) && inner.commit(err));
    }
    QCOMPARE(ws.rowCount(QStringLiteral("konten")), 3);
    QVERIFY(!dp->getAccount(QStringLiteral("A")));   // the caches were re-read
    {
        DbTransaction outer;
        QVERIFY(dp->insertAccount(&b));
        { DbTransaction inner; }   // not committed: dooms the outer
        QVERIFY(!outer.commit(err) && !err.isEmpty());
    }
    QCOMPARE(ws.rowCount(QStringLiteral("konten")), 3);
    QVERIFY(cachesEqualFile());
}

// On a generated year and a few postings, each list against plain sums over the file.
void TestCaches::listsEqualPlainSums()
{
    TestWorkspace ws;
    YearGenerator generator({400, 1, 2026});   // expenses, seed, year
    QString err;
    QVERIFY2(generator.fill(err), qPrintable(err));
    DataProvider *dp = DataProvider::instance();
    ExpenseEntry e;   // with cash, to a recipient that is not in the list, split
    e.setDate(QDate(2026, 6, 15));
    e.setAmount(3.35);
    e.setExpenseTypeId(ws.scalar(QStringLiteral("SELECT ausgaben_typ_id FROM ausgaben_sub_typen")).toInt());
    e.setRecipientId(99999);
    e.setPaymentInstrumentId(ws.scalar(QStringLiteral("SELECT id FROM zahlungsmittel WHERE zahlungsmittel_typ = 21")).toInt());
    QVERIFY(dp->postExpense(&e, 0, true).ok());
    QVERIFY(dp->insertExpenseDetail(e.getId(), ws.scalar(QStringLiteral("SELECT id FROM ausgaben_sub_typen")).toInt(),
                                    1.5, err));
    QVERIFY(dp->reverseExpense(fileLines(QStringLiteral("SELECT id FROM ausgaben")).at(5).toInt()).ok());

    const RecordList<ExpenseEntry> all = dp->getExpensesOfType(0);
    QCOMPARE(expenseLines(all), expensesWhere(QStringLiteral("1")));
    QCOMPARE(listLines(dp->getExpenseTypeTotals(all.rows()), &ExpenseEntry::getBudget, &ExpenseEntry::getAmount),
             fileLines(QStringLiteral("SELECT name, budget, (SELECT TOTAL(betrag) FROM ausgaben a WHERE "
                                      "a.ausgaben_typ_id = t.id) FROM ausgaben_typen t ORDER BY name"))
                 + fileLines(QStringLiteral("SELECT 'Total:', TOTAL(budget), (SELECT TOTAL(betrag) FROM ausgaben "
                                            "WHERE ausgaben_typ_id IN (SELECT id FROM ausgaben_typen)) "
                                            "FROM ausgaben_typen")));

    for (const QString &type : fileLines(QStringLiteral("SELECT id FROM ausgaben_typen"))) {
        const RecordList<ExpenseEntry> ofType = dp->getExpensesOfType(type.toInt());
        QCOMPARE(expenseLines(ofType), expensesWhere(QStringLiteral("ausgaben_typ_id = ") + type));
        QCOMPARE(listLines(dp->getExpenseSubTypeTotals(type.toInt(), ofType.rows()), &ExpenseEntryDetail::getAmount),
                 fileLines(QStringLiteral("SELECT s.name, (SELECT TOTAL(d.betrag) FROM ausgaben_detail d JOIN "
                                          "ausgaben a ON a.id = d.ausgaben_id WHERE d.ausgaben_sub_typ_id = s.id "
                                          "AND a.ausgaben_typ_id = %1) FROM ausgaben_sub_typen s "
                                          "WHERE s.ausgaben_typ_id = %1 ORDER BY s.name").arg(type))
                         + expenseTotal(QStringLiteral("ausgaben_typ_id = ") + type));
    }
    for (const QString &subType : fileLines(QStringLiteral("SELECT id FROM ausgaben_sub_typen"))) {
        const RecordList<ExpenseEntry> lines = dp->getExpensesOfSubType(subType.toInt());
        QCOMPARE(QString::number(lines.size() - 1) + QLatin1Char('=') + money(lines.last()->getAmount()),
                 fileLines(QStringLiteral("SELECT COUNT(*), TOTAL(betrag) FROM ausgaben_detail "
                                          "WHERE ausgaben_sub_typ_id = %1").arg(subType)).first());
    }

    QCOMPARE(listLines(dp->getRecipientTotals(), &Recipient::getPaidSum),
             fileLines(QStringLiteral("SELECT name, (SELECT TOTAL(betrag) FROM ausgaben a WHERE a.beguenstigter_id "
                                      "= r.id) FROM beguenstigte r ORDER BY name"))
                 + fileLines(QStringLiteral("SELECT 'Andere', TOTAL(betrag) FROM ausgaben WHERE beguenstigter_id "
                                            "NOT IN (SELECT id FROM beguenstigte)"))
                 + expenseTotal(QStringLiteral("1")));
    for (int recipient : {0, 1})
        QCOMPARE(expenseLines(dp->getExpensesOfRecipient(recipient)),
                 expensesWhere(QStringLiteral("beguenstigter_id = %1").arg(recipient)));

    const QString income = QStringLiteral("FROM konto_bewegungen m WHERE m.tx_typ = 23 AND ");
    QCOMPARE(listLines(dp->getIncomeSourceTotals(dp->getIncomeMovements(0).rows()), &IncomeEntry::getVolume,
                       &IncomeEntry::getAmount),
             fileLines(QStringLiteral("SELECT name, betrags_volumen, (SELECT TOTAL(betrag) %1 m.einnahme_quelle_id "
                                      "= q.id) FROM einnahme_quelle q ORDER BY name").arg(income))
                 + fileLines(QStringLiteral("SELECT 'Total:', TOTAL(betrags_volumen), (SELECT TOTAL(betrag) %1 "
                                            "m.einnahme_quelle_id IN (SELECT id FROM einnahme_quelle)) "
                                            "FROM einnahme_quelle").arg(income)));

    // The overview: a line per instrument; a card on a bank account shows
    // what was paid with it; the total line adds up the lines.
    const RecordList<Account> overview = dp->getAccountOverview();
    QList<PaymentInstruction *> instruments;
    dp->getPaymentInstruments(instruments);
    QCOMPARE(overview.size(), instruments.size() + 1);
    auto sums = [](const Account *a) {
        return QList<double>{a->getOpeningAmount(), a->getBalance(), a->getIncomingSum(), a->getOutgoingSum()};
    };
    QList<double> total(4, 0.0);
    for (int i = 0; i < instruments.size(); ++i) {
        const Account *row = overview.at(i);
        const PaymentInstruction *p = instruments.at(i);
        QCOMPARE(row->getName(), p->getName());
        if (p->getInstrumentType() == InstrumentType::LinkedCard)
            QCOMPARE(money(row->getOutgoingSum()),
                     money(ws.scalar(QStringLiteral("SELECT TOTAL(betrag) FROM ausgaben WHERE zahlungsmittel_id = %1")
                                         .arg(p->getId())).toDouble()));
        for (int k = 0; k < 4; ++k)
            total[k] += sums(row).at(k);
    }
    QCOMPARE(overview.last()->getName(), QStringLiteral("Total:"));
    for (int k = 0; k < 4; ++k)
        QCOMPARE(money(sums(overview.last()).at(k)), money(total.at(k)));
}

QTEST_MAIN(TestCaches)
#include "tst_caches.moc"
