#include "account.h"
#include "accountentry.h"
#include "dataprovider.h"
#include "dbtransaction.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "paymentinstruction.h"
#include "testsupport.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <functional>

namespace {

// Every row of the booking and account tables, as text: equal snapshots
// mean an unchanged file.
QString fileSnapshot()
{
    QString out;
    const QStringList tables = {QStringLiteral("konten"), QStringLiteral("konto_bewegungen"),
                                QStringLiteral("ausgaben"), QStringLiteral("ausgaben_detail"),
                                QStringLiteral("zahlungsmittel")};
    for (const QString &table : tables) {
        QSqlQuery query(QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(table));
        out += table + QLatin1Char('\n');
        while (query.next()) {
            const QSqlRecord row = query.record();
            for (int i = 0; i < row.count(); ++i)
                out += row.value(i).toString() + QLatin1Char('|');
            out += QLatin1Char('\n');
        }
    }
    return out;
}

// What the caches hold, in their order.
QString cacheSnapshot()
{
    DataProvider *dp = DataProvider::instance();
    QString out;
    QList<Account *> accounts;
    dp->getAccounts(accounts);
    for (const Account *a : accounts)
        out += QStringLiteral("A%1 %2 %3 %4\n").arg(a->getId()).arg(a->getName())
                   .arg(a->getBalance(), 0, 'f', 6).arg(a->getOpeningAmount(), 0, 'f', 6);
    QList<ExpenseEntry *> expenses;
    dp->getExpensesOfType(expenses, 0);
    for (const ExpenseEntry *e : std::as_const(expenses))
        out += QStringLiteral("E%1 %2\n").arg(e->getId()).arg(e->getAmount(), 0, 'f', 6);
    qDeleteAll(expenses);
    for (const Account *a : accounts) {
        QList<AccountEntry *> movements;
        dp->getAccountMovements(a->getId(), movements);
        for (const AccountEntry *m : std::as_const(movements))
            out += QStringLiteral("M%1 %2 %3\n").arg(m->getId()).arg(m->getAmount(), 0, 'f', 6).arg(m->getTxId());
    }
    for (int id = 1; id <= 10; ++id) {
        QList<ExpenseEntryDetail *> details;
        dp->getExpenseDetails(id, details);
        for (const ExpenseEntryDetail *d : std::as_const(details))
            out += QStringLiteral("D%1 %2\n").arg(d->getId()).arg(d->getAmount(), 0, 'f', 6);
    }
    return out;
}

// The caches of a fresh instance, i.e. what the file holds.
QString freshCacheSnapshot()
{
    DataProvider::release();
    return cacheSnapshot();
}

ExpenseEntry makeExpense(int instrumentId, const QString &instrumentName, double amount,
                         const QString &remark = QStringLiteral("Einkauf"))
{
    ExpenseEntry e;
    e.setDate(QDate(2026, 3, 14));
    e.setAmount(amount);
    e.setExpenseTypeId(Seed::FoodType);
    e.setExpenseTypeName(QStringLiteral("Lebensmittel"));
    e.setRecipientId(Seed::RecipientMigros);
    e.setRecipientName(QStringLiteral("Migros"));
    e.setPaymentInstrumentId(instrumentId);
    e.setPaymentInstrumentName(instrumentName);
    e.setRemark(remark);
    return e;
}

int movementCount()
{
    return TestWorkspace::rowCount(QStringLiteral("konto_bewegungen"));
}

} // namespace

class TestPostings : public QObject
{
    Q_OBJECT

private slots:
    void expenseInCashLowersOwnAccountWithoutMovement();
    void expenseThroughLinkedInstrumentWritesOneMovement_data();
    void expenseThroughLinkedInstrumentWritesOneMovement();
    void splitExpenseHasNoDetailRow();
    void postingsRefuseWhatTheyCannotBook();
    void availabilityComparesWholeCents_data();
    void availabilityComparesWholeCents();
    void computedBalancesAreRoundedToCents();

    void depositWithAndWithoutIncomeSource_data();
    void depositWithAndWithoutIncomeSource();
    void reversingADepositRestoresTheBalance();

    void transferAndItsPairDeletionRestoreBothBalances();
    void transferWithinOneAccountIsRefused();
    void transferKeysAreUnique();
    void reversingSomethingThatIsNoPairChangesNothing_data();
    void reversingSomethingThatIsNoPairChangesNothing();

    void reversingAnExpense_data();
    void reversingAnExpense();
    void reversingAnExpenseFindsTheInstrumentByIdThenByName();

    void failingStatementLeavesFileAndCachesAsBefore_data();
    void failingStatementLeavesFileAndCachesAsBefore();
    void heldAccountSurvivesAFailedPosting();
    void postingInsideARolledBackTransactionIsUndone();
};

void TestPostings::expenseInCashLowersOwnAccountWithoutMovement()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ExpenseEntry e = makeExpense(Seed::CashInstrument, QStringLiteral("Bargeld"), 45.5);
    QString err;
    QVERIFY2(DataProvider::instance()->postExpense(&e, Seed::FoodSubDrinks, false, err), qPrintable(err));

    QVERIFY(e.getId() > 0);
    QCOMPARE(ws.balance(Seed::CashAccount), 154.5);
    QCOMPARE(ws.balance(Seed::BankAccount), 1000.0);
    QCOMPARE(movementCount(), 0);
    QCOMPARE(ws.scalar(QStringLiteral("SELECT COUNT(*) FROM ausgaben WHERE id = %1 AND zahlungsmittel_id = 2 "
                                      "AND zahlungsmittel = 'Bargeld' AND betrag = 45.5").arg(e.getId())).toInt(), 1);
    QCOMPARE(ws.scalar(QStringLiteral("SELECT ausgaben_sub_typ_id || '/' || betrag || '/' || bemerkung "
                                      "FROM ausgaben_detail WHERE ausgaben_id = %1").arg(e.getId())).toString(),
             QStringLiteral("2/45.5/no remark!"));
    QCOMPARE(DataProvider::instance()->getAccount(Seed::CashAccount)->getBalance(), 154.5);
    QCOMPARE(cacheSnapshot(), freshCacheSnapshot());
}

void TestPostings::expenseThroughLinkedInstrumentWritesOneMovement_data()
{
    QTest::addColumn<int>("instrument");
    QTest::addColumn<QString>("name");
    QTest::newRow("bank account's own instrument") << int(Seed::BankInstrument) << QStringLiteral("Postkonto");
    QTest::newRow("card linked to the bank account") << int(Seed::CardInstrument) << QStringLiteral("Visa");
}

void TestPostings::expenseThroughLinkedInstrumentWritesOneMovement()
{
    QFETCH(int, instrument);
    QFETCH(QString, name);
    TestWorkspace ws;
    ws.seedMasterData();
    ExpenseEntry e = makeExpense(instrument, name, 120.25, QStringLiteral("Wocheneinkauf"));
    QString err;
    QVERIFY2(DataProvider::instance()->postExpense(&e, Seed::FoodSubBasic, false, err), qPrintable(err));

    QCOMPARE(ws.balance(Seed::BankAccount), 879.75);
    QCOMPARE(movementCount(), 1);
    QSqlQuery q(QStringLiteral("SELECT * FROM konto_bewegungen"));
    QVERIFY(q.next());
    QCOMPARE(q.value("tx_typ").toInt(), 21);
    QCOMPARE(q.value("op_flag").toInt(), 0);
    QCOMPARE(q.value("stat").toInt(), 31);
    QCOMPARE(q.value("konto_id_von").toInt(), int(Seed::BankAccount));
    QCOMPARE(q.value("konto_id_nach").toInt(), 0);   // no counter-account of type 11
    QCOMPARE(q.value("ausgabe_id").toInt(), e.getId());
    QCOMPARE(q.value("zahlungsmittel_id").toInt(), instrument);
    QCOMPARE(q.value("tx_id").toString(), QString(""));
    QVERIFY(!q.value("tx_id").isNull());
    QCOMPARE(q.value("einnahme_quelle_id").toInt(), 0);
    QCOMPARE(q.value("betrag").toDouble(), 120.25);
    QCOMPARE(q.value("bemerkung").toString(), QStringLiteral("Lebensmittel: Wocheneinkauf"));
    QCOMPARE(q.value("startdate").toDate(), QDate(2026, 3, 14));
    q.finish();
    QCOMPARE(cacheSnapshot(), freshCacheSnapshot());
}

void TestPostings::splitExpenseHasNoDetailRow()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ExpenseEntry e = makeExpense(Seed::BankInstrument, QStringLiteral("Postkonto"), 80.0);
    QString err;
    QVERIFY(DataProvider::instance()->postExpense(&e, 0, true, err));
    QCOMPARE(ws.rowCount(QStringLiteral("ausgaben")), 1);
    QCOMPARE(ws.rowCount(QStringLiteral("ausgaben_detail")), 0);
    QVERIFY(!DataProvider::instance()->hasDetailsOfExpense(e.getId()));
}

void TestPostings::postingsRefuseWhatTheyCannotBook()
{
    TestWorkspace ws;
    ws.seedMasterData();
    const QString before = fileSnapshot();
    DataProvider *dp = DataProvider::instance();
    QString err, title;

    ExpenseEntry unknown = makeExpense(99, QStringLiteral("Postkonto"), 10.0);
    QVERIFY(!dp->postExpense(&unknown, 0, false, err, &title));
    QCOMPARE(title, QStringLiteral("Zahlungsmittel fehlt"));
    QVERIFY(!err.isEmpty());

    ExpenseEntry nothing = makeExpense(Seed::CashInstrument, QStringLiteral("Bargeld"), 0.004);
    QVERIFY(!dp->postExpense(&nothing, 0, false, err, &title));
    QCOMPARE(title, QStringLiteral("Betrag ungültig!"));
    QVERIFY(!dp->postDeposit(Seed::CashAccount, -5.0, QString(), QDate(2026, 1, 1), 0, err, &title));
    QCOMPARE(title, QStringLiteral("Betrag ungültig!"));
    QVERIFY(!dp->postTransfer(Seed::CashInstrument, Seed::BankInstrument, -5.0, QString(), QString(),
                              QDate(2026, 1, 1), err, &title));
    QCOMPARE(title, QStringLiteral("Betrag ungültig!"));

    ExpenseEntry tooMuch = makeExpense(Seed::CashInstrument, QStringLiteral("Bargeld"), 200.01);
    QVERIFY(!dp->postExpense(&tooMuch, 0, false, err, &title));
    QCOMPARE(title, QStringLiteral("Betrags-Überschreitung"));
    QCOMPARE(err, QStringLiteral("Betrag nicht verfügbar!"));
    QCOMPARE(tooMuch.getId(), 0);

    QCOMPARE(fileSnapshot(), before);
}

void TestPostings::availabilityComparesWholeCents_data()
{
    QTest::addColumn<double>("balance");
    QTest::addColumn<double>("amount");
    QTest::addColumn<bool>("paid");
    QTest::newRow("0.30 pays 0.30") << 0.30 << 0.30 << true;
    QTest::newRow("0.1+0.2 pays 0.30") << (0.1 + 0.2) << 0.30 << true;
    QTest::newRow("0.30 pays 0.1+0.2") << 0.30 << (0.1 + 0.2) << true;
    QTest::newRow("whole balance") << 200.0 << 200.0 << true;
    QTest::newRow("one cent more") << 0.30 << 0.31 << false;
    QTest::newRow("nothing left") << 0.0 << 0.01 << false;
}

void TestPostings::availabilityComparesWholeCents()
{
    QFETCH(double, balance);
    QFETCH(double, amount);
    QFETCH(bool, paid);
    QCOMPARE(DataProvider::isAvailable(balance, amount), paid);

    TestWorkspace ws;
    ws.seedMasterData();
    QSqlQuery set;
    set.prepare(QStringLiteral("UPDATE konten SET betrag = :b WHERE id = 2"));
    set.bindValue(QStringLiteral(":b"), balance);
    QVERIFY(set.exec());
    ExpenseEntry e = makeExpense(Seed::CashInstrument, QStringLiteral("Bargeld"), amount);
    QString err;
    QCOMPARE(DataProvider::instance()->postExpense(&e, 0, false, err), paid);
    const double expected = paid ? DataProvider::roundCents(balance - amount) : balance;
    QCOMPARE(ws.balance(Seed::CashAccount), expected);
    if (paid)
        QVERIFY(ws.balance(Seed::CashAccount) >= 0.0);
}

void TestPostings::computedBalancesAreRoundedToCents()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QString err;
    for (int i = 0; i < 3; ++i) {
        ExpenseEntry e = makeExpense(Seed::CashInstrument, QStringLiteral("Bargeld"), 0.1);
        QVERIFY(dp->postExpense(&e, 0, false, err));
    }
    // Without rounding the sum would drift to 199.70000000000002.
    QCOMPARE(ws.balance(Seed::CashAccount), 199.7);
    QVERIFY(dp->postDeposit(Seed::CashAccount, 0.2, QStringLiteral("x"), QDate(2026, 3, 1), 0, err));
    QCOMPARE(ws.balance(Seed::CashAccount), 199.9);
    QCOMPARE(dp->getAccount(Seed::CashAccount)->getBalance(), 199.9);

    // Below a cent: each row stores the whole cent its balance moves by.
    for (int i = 0; i < 3; ++i) {
        ExpenseEntry e = makeExpense(Seed::CashInstrument, QStringLiteral("Bargeld"), 0.005);
        QVERIFY(dp->postExpense(&e, Seed::FoodSubBasic, false, err));
    }
    QCOMPARE(ws.scalar(QStringLiteral("SELECT COUNT(*) FROM ausgaben WHERE betrag = 0.01")).toInt(), 3);
    QCOMPARE(ws.scalar(QStringLiteral("SELECT COUNT(*) FROM ausgaben_detail WHERE betrag = 0.01")).toInt(), 3);
    QCOMPARE(ws.balance(Seed::CashAccount), 199.87);
}

void TestPostings::depositWithAndWithoutIncomeSource_data()
{
    QTest::addColumn<int>("source");
    QTest::newRow("from Lohn") << int(Seed::IncomeSalary);
    QTest::newRow("typed source") << 0;
}

void TestPostings::depositWithAndWithoutIncomeSource()
{
    QFETCH(int, source);
    TestWorkspace ws;
    ws.seedMasterData();
    // A counter-account of type 11 becomes the movement's destination.
    ws.exec(QStringLiteral("INSERT INTO konten (startdate,name,konto_typ,stat,konto_nummer,initial_betrag,betrag) "
                           "VALUES ('2026-01-01','Gegenkonto',11,1,'',0,0)"));
    DataProvider *dp = DataProvider::instance();
    QString err;
    QVERIFY2(dp->postDeposit(Seed::SavingsAccount, 2500.5, QStringLiteral("Eingang: Lohn - März"),
                             QDate(2026, 3, 25), source, err),
             qPrintable(err));
    QCOMPARE(ws.balance(Seed::SavingsAccount), 7500.5);
    QCOMPARE(dp->getAccount(Seed::SavingsAccount)->getBalance(), 7500.5);
    QSqlQuery q(QStringLiteral("SELECT * FROM konto_bewegungen"));
    QVERIFY(q.next());
    QCOMPARE(q.value("konto_id_von").toInt(), int(Seed::SavingsAccount));
    QCOMPARE(q.value("konto_id_nach").toInt(), 4);
    QCOMPARE(q.value("tx_typ").toInt(), 23);
    QCOMPARE(q.value("op_flag").toInt(), 1);
    QCOMPARE(q.value("einnahme_quelle_id").toInt(), source);
    QCOMPARE(q.value("zahlungsmittel_id").toInt(), 0);
    QCOMPARE(q.value("ausgabe_id").toInt(), 0);
    QCOMPARE(q.value("bemerkung").toString(), QStringLiteral("Eingang: Lohn - März"));
    QVERIFY(!q.next());
    q.finish();

    QList<IncomeEntry *> incomes;
    dp->getIncomeMovements(source, incomes);
    QCOMPARE(incomes.size(), source > 0 ? 1 : 0);
    qDeleteAll(incomes);
}

void TestPostings::reversingADepositRestoresTheBalance()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QString err, title;
    QVERIFY(dp->postDeposit(Seed::BankAccount, 300.0, QStringLiteral("Lohn - "), QDate(2026, 2, 1), 1, err));
    const int id = ws.scalar(QStringLiteral("SELECT id FROM konto_bewegungen")).toInt();
    QVERIFY(dp->reverseMovement(id, err, &title));
    QCOMPARE(ws.balance(Seed::BankAccount), 1000.0);
    QCOMPARE(movementCount(), 0);

    // Gone already: refused, nothing changes.
    QVERIFY(!dp->reverseMovement(id, err, &title));
    QCOMPARE(title, QStringLiteral("Info"));
    QCOMPARE(ws.balance(Seed::BankAccount), 1000.0);
    QCOMPARE(cacheSnapshot(), freshCacheSnapshot());
}

void TestPostings::transferAndItsPairDeletionRestoreBothBalances()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ws.exec(QStringLiteral("UPDATE konten SET betrag = 500 WHERE id = 1"));
    ws.exec(QStringLiteral("UPDATE konten SET betrag = 20 WHERE id = 3"));
    DataProvider *dp = DataProvider::instance();
    QString err;
    QVERIFY2(dp->postTransfer(Seed::BankInstrument, Seed::SavingsInstrument, 100.0, QStringLiteral("An: Sparkonto"),
                              QStringLiteral("Von: Postkonto"), QDate(2026, 4, 2), err),
             qPrintable(err));
    QCOMPARE(ws.balance(Seed::BankAccount), 400.0);
    QCOMPARE(ws.balance(Seed::SavingsAccount), 120.0);

    QSqlQuery q(QStringLiteral("SELECT konto_id_von, konto_id_nach, op_flag, tx_typ, tx_id, bemerkung, "
                               "zahlungsmittel_id FROM konto_bewegungen ORDER BY id"));
    QVERIFY(q.next());
    const QString txId = q.value(4).toString();
    QVERIFY(!txId.isEmpty());
    QCOMPARE(q.value(0).toInt(), 1);
    QCOMPARE(q.value(1).toInt(), 3);
    QCOMPARE(q.value(2).toInt(), 0);
    QCOMPARE(q.value(3).toInt(), 22);
    QCOMPARE(q.value(5).toString(), QStringLiteral("An: Sparkonto"));
    QCOMPARE(q.value(6).toInt(), 0);
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 3);
    QCOMPARE(q.value(1).toInt(), 1);
    QCOMPARE(q.value(2).toInt(), 1);
    QCOMPARE(q.value(4).toString(), txId);
    QCOMPARE(q.value(5).toString(), QStringLiteral("Von: Postkonto"));
    QVERIFY(!q.next());
    q.finish();

    QList<AccountEntry *> pair;
    dp->getAccountMovements(txId, pair);
    QCOMPARE(pair.size(), 2);

    QVERIFY2(dp->reverseTransfer(txId, err), qPrintable(err));
    QCOMPARE(ws.balance(Seed::BankAccount), 500.0);
    QCOMPARE(ws.balance(Seed::SavingsAccount), 20.0);
    QCOMPARE(movementCount(), 0);
    QCOMPARE(cacheSnapshot(), freshCacheSnapshot());

    // Below a cent: both sides move by the same whole cents.
    QVERIFY(dp->postTransfer(Seed::BankInstrument, Seed::SavingsInstrument, 10.005, QString(), QString(),
                             QDate(2026, 4, 2), err));
    QCOMPARE(ws.scalar(QStringLiteral("SELECT COUNT(*) FROM konto_bewegungen WHERE betrag = 10.01")).toInt(), 2);
    QCOMPARE(ws.balance(Seed::BankAccount), 489.99);
    QCOMPARE(ws.balance(Seed::SavingsAccount), 30.01);
}

void TestPostings::transferWithinOneAccountIsRefused()
{
    TestWorkspace ws;
    ws.seedMasterData();
    const QString before = fileSnapshot();
    QString err, title;
    // Postkonto and Visa both draw on account 1.
    QVERIFY(!DataProvider::instance()->postTransfer(Seed::BankInstrument, Seed::CardInstrument, 50.0,
                                                    QStringLiteral("An: Visa"), QStringLiteral("Von: Postkonto"),
                                                    QDate(2026, 4, 2), err, &title));
    QCOMPARE(title, QStringLiteral("Interne Transaktion nicht möglich"));
    QCOMPARE(err, QStringLiteral("Quelle und Ziel gehören zum selben Konto!"));
    QCOMPARE(fileSnapshot(), before);

    // Not enough money on the source side: refused as well.
    QVERIFY(!DataProvider::instance()->postTransfer(Seed::CashInstrument, Seed::BankInstrument, 200.01,
                                                    QString(), QString(), QDate(2026, 4, 2), err, &title));
    QCOMPARE(title, QStringLiteral("Betrags-Überschreitung"));
    QCOMPARE(fileSnapshot(), before);
}

void TestPostings::transferKeysAreUnique()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QString err;
    for (int i = 0; i < 5; ++i)
        QVERIFY(dp->postTransfer(Seed::SavingsInstrument, Seed::BankInstrument, 1.0, QString(), QString(),
                                 QDate(2026, 4, 2), err));
    QCOMPARE(ws.scalar(QStringLiteral("SELECT COUNT(DISTINCT tx_id) FROM konto_bewegungen")).toInt(), 5);
    QCOMPARE(ws.scalar(QStringLiteral("SELECT MAX(c) FROM (SELECT COUNT(*) AS c FROM konto_bewegungen "
                                      "GROUP BY tx_id)")).toInt(), 2);
}

void TestPostings::reversingSomethingThatIsNoPairChangesNothing_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("txId");
    QTest::newRow("lone movement") << 1 << QStringLiteral("2026421015");
    QTest::newRow("three movements") << 3 << QStringLiteral("2026421015");
    QTest::newRow("two movements with the empty key") << 2 << QString("");
}

void TestPostings::reversingSomethingThatIsNoPairChangesNothing()
{
    QFETCH(int, rows);
    QFETCH(QString, txId);
    TestWorkspace ws;
    ws.seedMasterData();
    for (int i = 0; i < rows; ++i) {
        QSqlQuery insert;
        insert.prepare(QStringLiteral("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,"
                                      "tx_typ,stat,op_flag,bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,"
                                      "einnahme_quelle_id) VALUES ('2026-04-02',10,:von,3,22,31,:op,'',0,0,:tx,0)"));
        insert.bindValue(QStringLiteral(":von"), 1 + (i % 2) * 2);
        insert.bindValue(QStringLiteral(":op"), i % 2);
        insert.bindValue(QStringLiteral(":tx"), txId);
        QVERIFY(insert.exec());
    }
    const QString before = fileSnapshot();
    QString err, title;
    QVERIFY(!DataProvider::instance()->reverseTransfer(txId, err, &title));
    QCOMPARE(err, QStringLiteral("Fehler -> es ist kein Txn-Paar!"));
    QCOMPARE(title, QStringLiteral("Fehler -> es ist kein Txn-Paar!"));
    QCOMPARE(fileSnapshot(), before);
}

void TestPostings::reversingAnExpense_data()
{
    QTest::addColumn<int>("instrument");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("account");
    QTest::addColumn<bool>("movementsGo");
    QTest::newRow("cash") << int(Seed::CashInstrument) << QStringLiteral("Bargeld") << int(Seed::CashAccount)
                          << false;
    QTest::newRow("bank") << int(Seed::BankInstrument) << QStringLiteral("Postkonto") << int(Seed::BankAccount)
                          << true;
    QTest::newRow("linked card") << int(Seed::CardInstrument) << QStringLiteral("Visa") << int(Seed::BankAccount)
                                 << true;
}

void TestPostings::reversingAnExpense()
{
    QFETCH(int, instrument);
    QFETCH(QString, name);
    QFETCH(int, account);
    QFETCH(bool, movementsGo);
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    const double before = ws.balance(account);
    ExpenseEntry keep = makeExpense(instrument, name, 5.0);
    // Below a cent: taking it back restores the balance to the cent.
    ExpenseEntry e = makeExpense(instrument, name, 1.005);
    QString err, title;
    QVERIFY(dp->postExpense(&e, Seed::FoodSubBasic, false, err));
    QVERIFY(dp->postExpense(&keep, Seed::FoodSubBasic, false, err));
    // A movement that names the expense on an account that is no bank
    // account stays: only bank accounts lose the expense's movements.
    if (!movementsGo)
        QVERIFY(dp->insertAccountMovement(account, 0, 33.3, 0, QStringLiteral("Hand"), QDate(2026, 3, 14), 21, 31,
                                          e.getId(), err));
    const int movementsBefore = movementCount();

    QVERIFY2(dp->reverseExpense(e.getId(), err, &title), qPrintable(err));
    QCOMPARE(ws.balance(account), before - 5.0);
    QCOMPARE(ws.scalar(QStringLiteral("SELECT COUNT(*) FROM ausgaben WHERE id = %1").arg(e.getId())).toInt(), 0);
    QCOMPARE(ws.scalar(QStringLiteral("SELECT COUNT(*) FROM ausgaben_detail WHERE ausgaben_id = %1")
                           .arg(e.getId())).toInt(), 0);
    QCOMPARE(ws.rowCount(QStringLiteral("ausgaben")), 1);
    QCOMPARE(ws.rowCount(QStringLiteral("ausgaben_detail")), 1);
    QCOMPARE(movementCount(), movementsGo ? movementsBefore - 1 : movementsBefore);
    QCOMPARE(cacheSnapshot(), freshCacheSnapshot());

    // A second attempt finds nothing and changes nothing.
    QVERIFY(!DataProvider::instance()->reverseExpense(e.getId(), err, &title));
    QCOMPARE(title, QStringLiteral("Fehler beim löschen einer Ausgabe: "));
    QCOMPARE(ws.balance(account), before - 5.0);
}

void TestPostings::reversingAnExpenseFindsTheInstrumentByIdThenByName()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QString err;
    ExpenseEntry e = makeExpense(Seed::CardInstrument, QStringLiteral("Visa"), 40.0);
    QVERIFY(dp->postExpense(&e, 0, true, err));
    // Renamed after booking, and another instrument now bears the old name.
    ws.exec(QStringLiteral("UPDATE zahlungsmittel SET name = 'Mastercard' WHERE id = 3"));
    ws.exec(QStringLiteral("UPDATE zahlungsmittel SET name = 'Visa' WHERE id = 4"));
    dp->loadPaymentInstruments();
    QVERIFY(dp->reverseExpense(e.getId(), err));
    QCOMPARE(ws.balance(Seed::BankAccount), 1000.0);
    QCOMPARE(ws.balance(Seed::SavingsAccount), 5000.0);

    // The instrument itself is gone: the stored name leads to the account.
    ExpenseEntry f = makeExpense(Seed::CashInstrument, QStringLiteral("Bargeld"), 15.0);
    QVERIFY(dp->postExpense(&f, 0, true, err));
    ws.exec(QStringLiteral("UPDATE zahlungsmittel SET id = 9 WHERE id = 2"));
    dp->loadPaymentInstruments();
    QVERIFY(dp->reverseExpense(f.getId(), err));
    QCOMPARE(ws.balance(Seed::CashAccount), 200.0);

    // Neither id nor name known: refused, nothing changes.
    ExpenseEntry g = makeExpense(Seed::BankInstrument, QStringLiteral("Postkonto"), 15.0);
    QVERIFY(dp->postExpense(&g, 0, true, err));
    ws.exec(QStringLiteral("DELETE FROM zahlungsmittel WHERE id = 1"));
    dp->loadPaymentInstruments();
    const QString before = fileSnapshot();
    QString title;
    QVERIFY(!dp->reverseExpense(g.getId(), err, &title));
    QCOMPARE(title, QStringLiteral("Fehler beim löschen einer Ausgabe: "));
    QCOMPARE(fileSnapshot(), before);
}

void TestPostings::failingStatementLeavesFileAndCachesAsBefore_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("posting");
    QTest::addColumn<QString>("title");
    const QString onBalance = QStringLiteral("BEFORE UPDATE ON konten");
    const QString onMovementInsert = QStringLiteral("BEFORE INSERT ON konto_bewegungen");
    const QString onMovementDelete = QStringLiteral("BEFORE DELETE ON konto_bewegungen");
    const QString onExpenseDelete = QStringLiteral("BEFORE DELETE ON ausgaben");
    const QString db = QStringLiteral("DB-Transaktion fehlgeschlagen!");
    QTest::newRow("expense: balance") << onBalance << 0 << db;
    QTest::newRow("expense: movement after the balance") << onMovementInsert << 0 << db;
    QTest::newRow("deposit: balance") << onBalance << 1 << db;
    QTest::newRow("transfer: balance") << onBalance << 2 << db;
    QTest::newRow("transfer: movements") << onMovementInsert << 2 << db;
    QTest::newRow("transfer reversal: balance") << onBalance << 3 << QStringLiteral("DB-Update-Konto fehlgeschlagen!");
    QTest::newRow("transfer reversal: delete") << onMovementDelete << 3 << db;
    QTest::newRow("expense reversal: expense row") << onExpenseDelete << 4
                                                   << QStringLiteral("Fehler beim löschen einer Ausgabe: ");
    QTest::newRow("expense reversal: balance") << onBalance << 4
                                               << QStringLiteral("DB-Update für Konto fehlgeschlagen!");
    QTest::newRow("expense reversal: movements") << onMovementDelete << 4
                                                 << QStringLiteral("DB-Delete für KontoTxn fehlgeschlagen!");
    QTest::newRow("movement reversal: balance") << onBalance << 5 << db;
}

void TestPostings::failingStatementLeavesFileAndCachesAsBefore()
{
    QFETCH(QString, trigger);
    QFETCH(int, posting);
    QFETCH(QString, title);
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QString err;

    // Bookings to reverse.
    ExpenseEntry booked = makeExpense(Seed::BankInstrument, QStringLiteral("Postkonto"), 70.0);
    QVERIFY(dp->postExpense(&booked, Seed::FoodSubBasic, false, err));
    QVERIFY(dp->postTransfer(Seed::BankInstrument, Seed::SavingsInstrument, 25.0, QStringLiteral("An"),
                             QStringLiteral("Von"), QDate(2026, 2, 2), err));
    const QString txId = ws.scalar(QStringLiteral("SELECT tx_id FROM konto_bewegungen WHERE tx_typ = 22")).toString();
    QVERIFY(dp->postDeposit(Seed::SavingsAccount, 12.0, QStringLiteral("Rente"), QDate(2026, 2, 3), 2, err));
    const int depositId = ws.scalar(QStringLiteral("SELECT id FROM konto_bewegungen WHERE tx_typ = 23")).toInt();

    ws.exec(QStringLiteral("CREATE TRIGGER boom %1 BEGIN SELECT RAISE(ABORT,'boom'); END").arg(trigger));
    const QString fileBefore = fileSnapshot();
    const QString cacheBefore = cacheSnapshot();

    QString gotTitle;
    bool ok = true;
    ExpenseEntry e = makeExpense(Seed::BankInstrument, QStringLiteral("Postkonto"), 10.0);
    switch (posting) {
    case 0: ok = dp->postExpense(&e, Seed::FoodSubBasic, false, err, &gotTitle); break;
    case 1: ok = dp->postDeposit(Seed::BankAccount, 10.0, QStringLiteral("x"), QDate(2026, 3, 1), 1, err, &gotTitle); break;
    case 2: ok = dp->postTransfer(Seed::SavingsInstrument, Seed::CashInstrument, 10.0, QString(), QString(),
                                  QDate(2026, 3, 1), err, &gotTitle); break;
    case 3: ok = dp->reverseTransfer(txId, err, &gotTitle); break;
    case 4: ok = dp->reverseExpense(booked.getId(), err, &gotTitle); break;
    case 5: ok = dp->reverseMovement(depositId, err, &gotTitle); break;
    }
    QVERIFY(!ok);
    QVERIFY2(err.contains(QStringLiteral("boom")), qPrintable(err));
    QCOMPARE(gotTitle, title);
    QCOMPARE(fileSnapshot(), fileBefore);
    QCOMPARE(cacheSnapshot(), cacheBefore);
    QCOMPARE(cacheSnapshot(), freshCacheSnapshot());
    QCOMPARE(DbTransaction::depth(), 0);
}

void TestPostings::heldAccountSurvivesAFailedPosting()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    Account *held = dp->getAccount(Seed::BankAccount);
    PaymentInstruction *heldInstrument = dp->getPaymentInstrument(Seed::BankInstrument);
    ws.exec(QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON konto_bewegungen BEGIN SELECT RAISE(ABORT,'boom'); END"));
    ExpenseEntry e = makeExpense(Seed::BankInstrument, QStringLiteral("Postkonto"), 10.0);
    QString err;
    QVERIFY(!dp->postExpense(&e, 0, false, err));
    // The dialog's pointers still name the same, current records.
    QCOMPARE(dp->getAccount(Seed::BankAccount), held);
    QCOMPARE(held->getBalance(), 1000.0);
    QCOMPARE(dp->getPaymentInstrument(Seed::BankInstrument), heldInstrument);
    QCOMPARE(heldInstrument->getName(), QStringLiteral("Postkonto"));
}

void TestPostings::postingInsideARolledBackTransactionIsUndone()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    const QString before = fileSnapshot();
    const QString cacheBefore = cacheSnapshot();
    QString err;
    {
        DbTransaction outer;
        ExpenseEntry e = makeExpense(Seed::BankInstrument, QStringLiteral("Postkonto"), 10.0);
        QVERIFY(dp->postExpense(&e, 0, false, err));
        QCOMPARE(ws.balance(Seed::BankAccount), 990.0);
        // outer ends without commit
    }
    QCOMPARE(fileSnapshot(), before);
    QCOMPARE(cacheSnapshot(), cacheBefore);
    QCOMPARE(dp->getAccount(Seed::BankAccount)->getBalance(), 1000.0);
}

QTEST_MAIN(TestPostings)
#include "tst_postings.moc"
