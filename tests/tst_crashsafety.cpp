#include "balancecheck.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <csignal>

class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void balanceCheckSeesWhatPostingsDo();
    void killedMidPostingLeavesAConsistentFile();
};

void TestCrashSafety::balanceCheckSeesWhatPostingsDo()
{
    TestWorkspace ws;
    ws.seedMasterData();
    BalanceCheck check;
    QString err;
    QVERIFY(check.run(err));
    QCOMPARE(check.checkedAccounts(), 3);
    QVERIFY(check.differences().isEmpty());
    QVERIFY(check.report().startsWith("Alle 3 Konten stimmen"));

    // An expense written without moving the balance is found, in German.
    TestWorkspace::exec("INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,"
                        "zahlungsmittel_id,bemerkung,ausgaben_typ,ausgaben_typ_id) "
                        "VALUES ('2026-03-01',12.5,'Migros',1,'Bargeld',2,'','Lebensmittel',1)");
    QVERIFY(check.run(err));
    QCOMPARE(check.differences().size(), 1);
    QCOMPARE(check.differences().first().accountName, QStringLiteral("Bargeld"));
    QCOMPARE(check.differences().first().expectedBalance, 187.5);
    QVERIFY(check.report().contains("Bargeld: gespeichert 200.00, aus den Buchungen 187.50"));

    // The balance lowered as a posting does it, the accounts agree again.
    TestWorkspace::exec("UPDATE konten SET betrag = 187.5 WHERE id = 2");
    QVERIFY(check.run(err));
    QVERIFY(check.differences().isEmpty());
}

void TestCrashSafety::killedMidPostingLeavesAConsistentFile()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ws.close();

    QRandomGenerator random(20261206);
    const QString storm = QStringLiteral(ZOLVEX_TOOLS_DIR "/posting_storm");
    for (int round = 0; round < 25; ++round) {
        QProcess process;
        process.start(storm, {ws.path(), QString::number(round + 1)});
        QVERIFY2(process.waitForStarted(5000), qPrintable(process.errorString()));
        QVERIFY(process.waitForReadyRead(10000));
        QThread::msleep(5 + random.bounded(120));
        ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
        QVERIFY(process.waitForFinished(5000));

        QVERIFY(ws.open());
        QCOMPARE(TestWorkspace::scalar("PRAGMA integrity_check").toString(), QStringLiteral("ok"));
        BalanceCheck check;
        QString err;
        QVERIFY2(check.run(err), qPrintable(err));
        QVERIFY2(check.differences().isEmpty(), qPrintable(check.report()));
        ws.close();
    }

    QVERIFY(ws.open());
    QVERIFY(TestWorkspace::rowCount("ausgaben") + TestWorkspace::rowCount("konto_bewegungen") > 0);
}

QTEST_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
