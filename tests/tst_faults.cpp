#include "account.h"
#include "balancecheck.h"
#include "dataprovider.h"
#include "expenseentry.h"
#include "imageitem.h"
#include "menudispatcher.h"
#include "testsupport.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

ExpenseEntry expensePaidWith(int instrumentId, double amount)
{
    ExpenseEntry e;
    e.setDate(QDate::currentDate());
    e.setAmount(amount);
    e.setExpenseTypeId(Seed::FoodType);
    e.setExpenseTypeName(QStringLiteral("Lebensmittel"));
    e.setRecipientId(Seed::RecipientMigros);
    e.setRecipientName(QStringLiteral("Migros"));
    e.setPaymentInstrumentId(instrumentId);
    e.setPaymentInstrumentName(QStringLiteral("Postkonto"));
    e.setRemark(QStringLiteral("Einkauf"));
    return e;
}

double cachedBalance(int accountId)
{
    const Account *account = DataProvider::instance()->getAccount(accountId);
    return account ? account->getBalance() : -1.0;   // -1: not in the cache
}

void expectConsistentFile()
{
    BalanceCheck check;
    QString err;
    QVERIFY2(check.run(err), qPrintable(err));
    QVERIFY2(check.differences().isEmpty(), qPrintable(check.report()));
}

} // namespace

// What a posting does when the machine misbehaves: another program holds the
// file, or the disk is full. Either way the posting lands whole or not at
// all, the caller gets the database's own words, and the balances stay right.
class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void busyFileRefusesThePosting();
    void fullDiskMidPostingRollsBack();
    void balanceCheckKnowsExpenseMovementsByTheirExpense();
};

void TestFaults::busyFileRefusesThePosting()
{
    TestWorkspace ws;
    ws.seedMasterData();
    // A short wait for the busy file keeps the test quick.
    QVERIFY(ws.open(QStringLiteral("./Data/finanzen.dat"), QStringLiteral("QSQLITE_BUSY_TIMEOUT=50")));
    DataProvider *data = DataProvider::instance();
    QCOMPARE(cachedBalance(Seed::BankAccount), 1000.0);

    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(ws.filePath());
        QVERIFY(other.open());
        QSqlQuery hold(other);
        QVERIFY(hold.exec("BEGIN EXCLUSIVE"));

        QString err;
        QVERIFY(!data->postTransfer(Seed::BankInstrument, Seed::SavingsInstrument, 100.0, "an Sparkonto",
                                    "von Postkonto", QDate::currentDate(), err));
        QVERIFY2(err.contains("locked"), qPrintable(err));
        QVERIFY(hold.exec("ROLLBACK"));
        other.close();
    }
    QSqlDatabase::removeDatabase("other");

    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 0);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);
    QCOMPARE(TestWorkspace::balance(Seed::SavingsAccount), 5000.0);
    // The caches could not be re-read while the file was busy. Asking for the
    // data layer (as a report does) does not swap records under the caller;
    // the next click on a picture re-reads them.
    QCOMPARE(cachedBalance(Seed::BankAccount), -1.0);
    ImageItem picture(nullptr, 0, QPixmap());
    MenuDispatcher::instance()->imageClicked(0, &picture);
    MenuDispatcher::release();
    QCOMPARE(cachedBalance(Seed::BankAccount), 1000.0);
    QCOMPARE(cachedBalance(Seed::SavingsAccount), 5000.0);

    // Once the other program lets go, the same posting goes through.
    QString err;
    QVERIFY2(data->postTransfer(Seed::BankInstrument, Seed::SavingsInstrument, 100.0, "an Sparkonto",
                                "von Postkonto", QDate::currentDate(), err), qPrintable(err));
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 900.0);
    expectConsistentFile();
}

void TestFaults::fullDiskMidPostingRollsBack()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *data = DataProvider::instance();

    // Movements of 0.00 fill their table's pages without moving any balance;
    // then the file may not grow: the next movement finds the disk full,
    // after the expense row and the balance were already written.
    TestWorkspace::exec("PRAGMA max_page_count = " + TestWorkspace::scalar("PRAGMA page_count").toString());
    QSqlQuery fill;
    int filled = 0;
    while (fill.exec("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,"
                     "op_flag,bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) VALUES "
                     "('2026-01-02',0.0,3,0,23,31,1,'" + QString(70, 'x') + "',0,0,'',0)")) {
        QVERIFY(++filled < 10000);
    }
    QVERIFY2(fill.lastError().text().contains("full"), qPrintable(fill.lastError().text()));
    data->loadAccountMovements();
    const int movementsBefore = TestWorkspace::rowCount("konto_bewegungen");

    ExpenseEntry e = expensePaidWith(Seed::BankInstrument, 64.2);
    QString err;
    QString title;
    QVERIFY(!data->postExpense(&e, Seed::FoodSubBasic, false, err, &title));
    QVERIFY2(err.contains("full"), qPrintable(err));
    QCOMPARE(title, QStringLiteral("DB-Transaktion fehlgeschlagen!"));

    QCOMPARE(TestWorkspace::rowCount("ausgaben"), 0);
    QCOMPARE(TestWorkspace::rowCount("ausgaben_detail"), 0);
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), movementsBefore);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);
    QCOMPARE(cachedBalance(Seed::BankAccount), 1000.0);
    QList<ExpenseEntry *> expenses;
    data->getExpensesOfType(expenses, Seed::FoodType);
    // Only the "Total:" line: no expense in the cache either.
    QCOMPARE(expenses.size(), 1);
    QVERIFY(expenses.first()->isTotalRow());
    qDeleteAll(expenses);
    expectConsistentFile();
}

void TestFaults::balanceCheckKnowsExpenseMovementsByTheirExpense()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ExpenseEntry e = expensePaidWith(Seed::BankInstrument, 64.2);
    QString err;
    QVERIFY2(DataProvider::instance()->postExpense(&e, Seed::FoodSubBasic, false, err), qPrintable(err));
    // Movement maintenance lets the user give the movement another type.
    TestWorkspace::exec("UPDATE konto_bewegungen SET tx_typ = 23");
    expectConsistentFile();
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
