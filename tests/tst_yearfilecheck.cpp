#include "schema.h"
#include "testsupport.h"
#include "yearchange.h"
#include "yearfilecheck.h"
#include "yearfileopener.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// A year file as the program's version 1.3 left it: no settings table,
// movements without income source, income sources without VAT rate.
void makeVersion13File(TestWorkspace &ws)
{
    ws.seedMasterData();
    for (const char *sql : {"INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,"
                            "op_flag,zahlungsmittel_id) VALUES ('2024-05-01',20.0,2,0,21,31,0,2)",
                            "DROP TABLE settings", "ALTER TABLE konto_bewegungen DROP COLUMN einnahme_quelle_id",
                            "ALTER TABLE einnahme_quelle DROP COLUMN mwst"})
        TestWorkspace::exec(QString::fromLatin1(sql));
    ws.close();
}

} // namespace

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
    void version13FileIsUpgradedOnlyOnYes_data();
    void version13FileIsUpgradedOnlyOnYes();
    void newerFileIsOnlyViewed();
    void linkedFileIsLockedOnce();
    void leftLocks_data();
    void leftLocks();
    void filesCreatedArePrivate();
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

void TestYearFileCheck::version13FileIsUpgradedOnlyOnYes_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("Ja") << "Ja";
    QTest::newRow("Nein") << "Nein";
}

void TestYearFileCheck::version13FileIsUpgradedOnlyOnYes()
{
    QFETCH(QString, answer);
    TestWorkspace ws;
    makeVersion13File(ws);
    const QByteArray before = fileBytes(ws.filePath());
    writeFile(ws.dataPath() + "/finanzen_vor_1.4.dat", "older copy");
    MessageBoxCatcher boxes;
    boxes.setButtonTexts({answer});
    YearFileOpener opener;

    QCOMPARE(opener.open(), answer == "Ja");
    QCOMPARE(boxes.title(), QStringLiteral("Finanzdatei einer älteren Version"));
    QCOMPARE(fileBytes(ws.dataPath() + "/finanzen_vor_1.4.dat"), QByteArray("older copy"));
    if (answer == "Nein") {
        QCOMPARE(fileBytes(ws.filePath()), before);
        QVERIFY(!QFile::exists(ws.dataPath() + "/finanzen_vor_1.4_2.dat"));
        return;
    }
    QCOMPARE(fileBytes(ws.dataPath() + "/finanzen_vor_1.4_2.dat"), before);
    QCOMPARE(YearFileCheck::verifyOpenedFile(ws.filePath()), QString());
    QCOMPARE(TestWorkspace::rowCount("beguenstigte"), 3);
    QCOMPARE(TestWorkspace::rowCount("einnahme_quelle"), 2);
    QCOMPARE(TestWorkspace::balance(Seed::CashAccount), 200.0);
}

void TestYearFileCheck::newerFileIsOnlyViewed()
{
    TestWorkspace ws;
    TestWorkspace::exec("UPDATE settings SET value = 15, version = '1.5' WHERE name = 'DB_VERSION'");
    ws.close();
    const QByteArray before = fileBytes(ws.filePath());
    MessageBoxCatcher boxes;
    YearFileOpener opener;

    QVERIFY(opener.open());
    QVERIFY(opener.isReadOnly());
    QVERIFY2(boxes.text().contains("neueren Zolvex-Version"), qPrintable(boxes.text()));
    QVERIFY(!QSqlQuery().exec("DELETE FROM konten"));
    QCOMPARE(fileBytes(ws.filePath()), before);
}

void TestYearFileCheck::linkedFileIsLockedOnce()
{
    TestWorkspace ws;
    ws.close();
    for (const QString folder : {"a", "b"}) {
        QVERIFY(QDir(ws.path()).mkpath(folder + "/Data"));
        QVERIFY(QFile::link(ws.filePath(), ws.path() + "/" + folder + "/Data/finanzen.dat"));
    }
    MessageBoxCatcher boxes;
    QDir::setCurrent(ws.path() + "/a");
    YearFileOpener first;
    QVERIFY(first.open());
    QDir::setCurrent(ws.path() + "/b");
    YearFileOpener second;
    QVERIFY(!second.open());
    QCOMPARE(boxes.title(), QStringLiteral("Finanzdatei in Gebrauch"));
}

void TestYearFileCheck::leftLocks_data()
{
    QTest::addColumn<QByteArray>("lock");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("opens");
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    QTest::newRow("empty") << QByteArray() << "" << true;
    QTest::newRow("process gone") << "99999\nzolvex\n" + host + "\n" << "" << true;
    QTest::newRow("process running") << QByteArray::number(getpid()) + "\ntst_yearfilecheck\n" + host + "\n" << ""
                                     << false;
    QTest::newRow("other host") << QByteArray("4711\nzolvex\nanderer-rechner\n") << "" << false;
    QTest::newRow("other host, taken over") << QByteArray("4711\nzolvex\nanderer-rechner\n") << "Ja" << true;
}

void TestYearFileCheck::leftLocks()
{
    QFETCH(QByteArray, lock);
    QFETCH(QString, answer);
    QFETCH(bool, opens);
    TestWorkspace ws;
    ws.close();
    writeFile(ws.filePath() + ".lock", lock);
    MessageBoxCatcher boxes;
    boxes.setButtonTexts({answer});
    YearFileOpener opener;
    QCOMPARE(opener.open(), opens);
}

void TestYearFileCheck::filesCreatedArePrivate()
{
    ::umask(022);
    TestWorkspace ws(false);
    YearFileOpener opener;
    QVERIFY(opener.open());
    TestWorkspace::exec("UPDATE settings SET value = 2025, version = '2025' WHERE name = 'CURRENT_YEAR'");
    QString err;
    QVERIFY2(YearChange(nullptr).archiveYearFile(QFileInfo(ws.filePath()), err), qPrintable(err));

    const QStringList files = QDir(ws.dataPath()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(files.size(), 3);
    for (const QString &name : files) {
        struct stat status;
        QVERIFY(::stat(qPrintable(ws.dataPath() + "/" + name), &status) == 0);
        QVERIFY2((status.st_mode & 0777) == 0600, qPrintable(name));
    }
}

QTEST_MAIN(TestYearFileCheck)
#include "tst_yearfilecheck.moc"
