#include "schema.h"
#include "testsupport.h"
#include "yearfilecheck.h"

#include <QFile>
#include <QSqlDatabase>
#include <QTest>

#include <unistd.h>

class TestYearFileCheck : public QObject
{
    Q_OBJECT

private slots:
    void freshFileIsAccepted();
    void emptyFileIsRefusedUntouched();
    void foreignOrDamagedFilesAreReported_data();
    void foreignOrDamagedFilesAreReported();
    void missingTableOrColumnIsNamed_data();
    void missingTableOrColumnIsNamed();
    void readOnlyFileIsOpenedForViewing();
};

void TestYearFileCheck::freshFileIsAccepted()
{
    TestWorkspace ws;
    QCOMPARE(YearFileCheck::verifyOpenedFile(ws.filePath()), QString());
    bool readOnly = true;
    QCOMPARE(YearFileCheck::inspectBeforeOpen(ws.filePath(), readOnly), QString());
    QVERIFY(!readOnly);
}

void TestYearFileCheck::emptyFileIsRefusedUntouched()
{
    TestWorkspace ws(false);
    QFile empty(ws.filePath());
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    bool readOnly = false;
    const QString problem = YearFileCheck::inspectBeforeOpen(ws.filePath(), readOnly);
    QVERIFY(problem.contains("leer (0 Bytes)"));
    QVERIFY(problem.contains(ws.filePath()));
    QCOMPARE(QFileInfo(ws.filePath()).size(), 0);
}

void TestYearFileCheck::foreignOrDamagedFilesAreReported_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("text file") << "text";
    QTest::newRow("truncated") << "truncated";
    QTest::newRow("garbled pages") << "garbled";
}

void TestYearFileCheck::foreignOrDamagedFilesAreReported()
{
    QFETCH(QString, damage);
    TestWorkspace ws;
    ws.seedMasterData();
    for (int i = 0; i < 400; ++i)
        TestWorkspace::exec(QStringLiteral("INSERT INTO beguenstigte (ausgaben_typ_id,name,beschreibung) "
                                           "VALUES (1,'Empfänger %1','%2')").arg(i).arg(QString(60, 'x')));
    ws.close();

    QFile file(ws.filePath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray content = file.readAll();
    if (damage == "text") {
        content = "Kontoauszug 2025\nMiete;1200.00\n";
    } else if (damage == "truncated") {
        content.truncate(content.size() / 2);
    } else {
        for (int i = 4096 + 100; i < content.size(); i += 97)
            content[i] = char(0x5A);
    }
    file.resize(0);
    file.write(content);
    file.close();
    const QByteArray before = content;

    QVERIFY(ws.open());
    const QString problem = YearFileCheck::verifyOpenedFile(ws.filePath());
    QVERIFY2(!problem.isEmpty(), "damage not noticed");
    QVERIFY(problem.contains(ws.filePath()));
    ws.close();
    QFile again(ws.filePath());
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), before);
}

void TestYearFileCheck::missingTableOrColumnIsNamed_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("named");
    QTest::newRow("table") << "DROP TABLE ausgaben_detail" << "\"ausgaben_detail\"";
    QTest::newRow("column") << "ALTER TABLE einnahme_quelle DROP COLUMN mwst" << "\"mwst\"";
}

void TestYearFileCheck::missingTableOrColumnIsNamed()
{
    QFETCH(QString, statement);
    QFETCH(QString, named);
    TestWorkspace ws;
    TestWorkspace::exec(statement);
    const QString problem = YearFileCheck::verifyOpenedFile(ws.filePath());
    QVERIFY2(problem.contains(named), qPrintable(problem));
}

void TestYearFileCheck::readOnlyFileIsOpenedForViewing()
{
    if (geteuid() == 0)
        QSKIP("root may write any file");
    TestWorkspace ws;
    ws.close();
    QVERIFY(QFile::setPermissions(ws.filePath(), QFile::ReadOwner));
    bool readOnly = false;
    QCOMPARE(YearFileCheck::inspectBeforeOpen(ws.filePath(), readOnly), QString());
    QVERIFY(readOnly);
}

QTEST_MAIN(TestYearFileCheck)
#include "tst_yearfilecheck.moc"
