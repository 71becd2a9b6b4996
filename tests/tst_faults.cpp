#include "account.h"
#include "balancecheck.h"
#include "dataprovider.h"
#include "expenseentry.h"
#include "imageitem.h"
#include "menudispatcher.h"
#include "testsupport.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {

double cachedBalance(int accountId)
{
    const Account *account = DataProvider::instance()->getAccount(accountId);
    return account ? account->getBalance() : -1.0;   // -1: not in the cache
}

// What "Salden prüfen" reports: empty when every balance matches its bookings.
QString balanceDifferences()
{
    BalanceCheck check;
    QString err;
    if (!check.run(err))
        return err;
    return check.differences().isEmpty() ? QString() : check.report();
}

} // namespace

// A posting lands whole or not at all, also when another program holds the
// file, the disk is full or the program is killed half-way.
class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void balanceCheckFindsWhatPostingsDoNotExplain();
    void busyFileRefusesThePosting();
    void fullDiskMidPostingRollsBack();
    void killedMidPostingLeavesAConsistentFile();
};

void TestFaults::balanceCheckFindsWhatPostingsDoNotExplain()
{
    TestWorkspace ws;
    ws.seedMasterData();
    BalanceCheck check;
    QString err;
    QVERIFY(check.run(err));
    QVERIFY(check.report().startsWith("Alle 3 Konten stimmen"));
    ExpenseEntry e;
    e.setDate(QDate(2026, 3, 1));
    e.setAmount(64.2);
    e.setPaymentInstrumentId(Seed::BankInstrument);
    QVERIFY(DataProvider::instance()->postExpense(&e, Seed::FoodSubBasic, false).ok());
    // Movement maintenance lets the user give the movement another type.
    TestWorkspace::exec("UPDATE konto_bewegungen SET tx_typ = 23");
    QCOMPARE(balanceDifferences(), QString());

    // An expense written without moving the balance is found, in German.
    TestWorkspace::exec("INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,"
                        "zahlungsmittel_id,bemerkung,ausgaben_typ,ausgaben_typ_id) "
                        "VALUES ('2026-03-01',12.5,'Migros',1,'Bargeld',2,'','Lebensmittel',1)");
    QVERIFY(check.run(err));
    QCOMPARE(check.differences().size(), 1);
    QVERIFY(check.report().contains("Bargeld: gespeichert 200.00, aus den Buchungen 187.50"));
}

void TestFaults::busyFileRefusesThePosting()
{
    TestWorkspace ws;
    ws.seedMasterData();
    // A short wait for the busy file keeps the test quick.
    QVERIFY(ws.open(QStringLiteral("./Data/finanzen.dat"), QStringLiteral("QSQLITE_BUSY_TIMEOUT=50")));
    DataProvider *data = DataProvider::instance();
    const auto transfer = [data] {
        return data->postTransfer(Seed::BankInstrument, Seed::SavingsInstrument, 100.0, "an Sparkonto",
                                  "von Postkonto", QDate::currentDate());
    };
    QCOMPARE(cachedBalance(Seed::BankAccount), 1000.0);
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(ws.filePath());
        QVERIFY(other.open());
        QSqlQuery hold(other);
        QVERIFY(hold.exec("BEGIN EXCLUSIVE"));
        const PostingResult refused = transfer();
        QVERIFY2(refused.text.contains("locked"), qPrintable(refused.text));
        QVERIFY(hold.exec("ROLLBACK"));
        other.close();
    }
    QSqlDatabase::removeDatabase("other");
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 0);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);

    // The caches could not be re-read while the file was busy; the next
    // click on a picture re-reads them.
    ImageItem picture(nullptr, PictureKind::Inert, QPixmap());
    MenuDispatcher::instance()->imageClicked(PictureKind::Inert, &picture);
    MenuDispatcher::release();
    QCOMPARE(cachedBalance(Seed::BankAccount), 1000.0);
    QVERIFY(transfer().ok());
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 900.0);
    QCOMPARE(balanceDifferences(), QString());
}

void TestFaults::fullDiskMidPostingRollsBack()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *data = DataProvider::instance();
    // Movements of 0.00 fill the file's pages without moving a balance; then
    // the next movement finds the disk full, after the expense row and the
    // balance were already written.
    TestWorkspace::exec("PRAGMA max_page_count = " + TestWorkspace::scalar("PRAGMA page_count").toString());
    QSqlQuery fill;
    for (int filled = 0; fill.exec("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,"
                                   "tx_typ,stat,op_flag,bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,"
                                   "einnahme_quelle_id) VALUES ('2026-01-02',0.0,3,0,23,31,1,'"
                                   + QString(70, 'x') + "',0,0,'',0)");)
        QVERIFY(++filled < 10000);
    QVERIFY2(fill.lastError().text().contains("full"), qPrintable(fill.lastError().text()));
    data->loadAccountMovements();
    const int movementsBefore = TestWorkspace::rowCount("konto_bewegungen");

    ExpenseEntry e;
    e.setDate(QDate(2026, 3, 1));
    e.setAmount(64.2);
    e.setPaymentInstrumentId(Seed::BankInstrument);
    const PostingResult refused = data->postExpense(&e, Seed::FoodSubBasic, false);
    QCOMPARE(refused.title, QStringLiteral("DB-Transaktion fehlgeschlagen!"));
    QVERIFY2(refused.text.contains("full"), qPrintable(refused.text));
    QCOMPARE(TestWorkspace::rowCount("ausgaben") + TestWorkspace::rowCount("ausgaben_detail"), 0);
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), movementsBefore);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);
    QCOMPARE(cachedBalance(Seed::BankAccount), 1000.0);
    QCOMPARE(data->getExpensesOfType(Seed::FoodType).size(), 1);   // only the "Total:" line
    QCOMPARE(balanceDifferences(), QString());
}

void TestFaults::killedMidPostingLeavesAConsistentFile()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ws.close();
    QRandomGenerator random(20261206);
    for (int round = 0; round < 20; ++round) {
        QProcess storm;
        storm.start(QStringLiteral(ZOLVEX_TOOLS_DIR "/posting_storm"), {ws.path(), QString::number(round + 1)});
        QVERIFY(storm.waitForReadyRead(10000));
        QThread::msleep(5 + random.bounded(120));
        ::kill(static_cast<pid_t>(storm.processId()), SIGKILL);
        QVERIFY(storm.waitForFinished(5000));
        QVERIFY(ws.open());
        QCOMPARE(TestWorkspace::scalar("PRAGMA integrity_check").toString(), QStringLiteral("ok"));
        QCOMPARE(balanceDifferences(), QString());
        ws.close();
    }
    QVERIFY(ws.open());
    QVERIFY(TestWorkspace::rowCount("ausgaben") + TestWorkspace::rowCount("konto_bewegungen") > 0);
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
