#include "archivefileinfo.h"
#include "colorsetting.h"
#include "testsupport.h"
#include "yearfilecheck.h"
#include "yearfileopener.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content = "x")
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// Every settings row as "category|name|value|version", in id order.
QString settingsRows()
{
    return TestWorkspace::scalar("SELECT group_concat(category || '|' || name || '|' || value || '|' || version) "
                                 "FROM (SELECT * FROM settings ORDER BY id)").toString();
}

const QString currentFile = "./Data/finanzen.dat";
const QString newFileSettings = "MY_ZOLVEX|CURRENT_YEAR|1|1,MY_ZOLVEX|DB_VERSION|14|1.4";

} // namespace

class TestYearFile : public QObject
{
    Q_OBJECT

private slots:
    void newFileIsCompleteAndPrivate()
    {
        ::umask(022);
        TestWorkspace ws(false);
        YearFileOpener opener;
        QVERIFY(opener.open());
        QCOMPARE(YearFileCheck::verifyOpenedFile(ws.filePath()), QString());
        QCOMPARE(settingsRows(), newFileSettings);
        // The file and its lock are the owner's only, from their first byte.
        const QStringList files = QDir(ws.dataPath()).entryList(QDir::Files | QDir::Hidden);
        QVERIFY(files.contains("finanzen.dat.lock"));
        for (const QString &name : files) {
            struct stat status;
            QVERIFY(::stat(qPrintable(ws.dataPath() + "/" + name), &status) == 0);
            QVERIFY2((status.st_mode & 0777) == 0600, qPrintable(name));
        }
    }

    void settingsKeysAreData_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("name");
        QTest::newRow("other category, same name") << "TRANSITION" << "CURRENT_YEAR";
        QTest::newRow("injection attempt") << "MY_ZOLVEX' OR '1'='1" << "x' OR '1'='1";
        QTest::newRow("double quotes and umlauts") << "Grüße \"A\"" << "Bär";
    }

    void settingsKeysAreData()
    {
        QFETCH(QString, category);
        QFETCH(QString, name);
        TestWorkspace ws;
        ColorSetting *settings = ColorSetting::instance();
        QString version = "stale";
        QCOMPARE(settings->getSetting(category, name, version), 0);
        QCOMPARE(version, QStringLiteral("0.0"));
        settings->updateSetting(category, name, 77, "7.7");
        QCOMPARE(settingsRows(), newFileSettings);

        QSqlQuery insert;
        insert.prepare("INSERT INTO settings (category,name,value,version) VALUES (?,?,5,'5')");
        insert.addBindValue(category);
        insert.addBindValue(name);
        QVERIFY(insert.exec());
        settings->updateSetting(category, name, 6, "6");
        QCOMPARE(settings->getSetting(category, name, version), 6);
        QCOMPARE(version, QStringLiteral("6"));
        QVERIFY(settingsRows().startsWith(newFileSettings + ","));
    }

    void schemaVersionRows()
    {
        TestWorkspace ws;
        ColorSetting *settings = ColorSetting::instance();
        settings->updateSetting("MY_ZOLVEX", "CURRENT_YEAR", 2025, "2025");
        QString version;
        QVERIFY(settings->checkDbVersion("1.4.2", version));
        QVERIFY(!settings->checkDbVersion("1.5.0", version));

        settings->resetSettings();
        QCOMPARE(settingsRows(), "MY_ZOLVEX|CURRENT_YEAR|1|1,MY_ZOLVEX|DB_VERSION|13|1.3");
        settings->updateDbVersion();
        QCOMPARE(settingsRows(), newFileSettings);

        TestWorkspace::exec("DROP TABLE settings");
        settings->updateDbVersion();
        QVERIFY(!settings->checkDbVersion("1.4.2", version));
    }

    void unusableFileIsRefusedUntouched_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("named");
        QTest::newRow("empty") << "empty" << "leer (0 Bytes)";
        QTest::newRow("text file") << "text" << "keine lesbare Finanzdatei";
        QTest::newRow("truncated") << "truncated" << "finanzen.dat";
        QTest::newRow("garbled pages") << "garbled" << "finanzen.dat";
        QTest::newRow("missing table") << "DROP TABLE ausgaben_detail" << "\"ausgaben_detail\"";
        QTest::newRow("missing column") << "ALTER TABLE einnahme_quelle DROP COLUMN mwst" << "\"mwst\"";
    }

    void unusableFileIsRefusedUntouched()
    {
        QFETCH(QString, damage);
        QFETCH(QString, named);
        TestWorkspace ws;
        for (int i = 0; i < 400; ++i)
            TestWorkspace::exec(QString("INSERT INTO beguenstigte (ausgaben_typ_id,name,beschreibung) "
                                        "VALUES (1,'Empfänger %1','%2')").arg(i).arg(QString(60, 'x')));
        if (damage.contains(' '))
            TestWorkspace::exec(damage);
        ws.close();
        QByteArray content = bytesOf(ws.filePath());
        if (damage == "empty")
            content.clear();
        else if (damage == "text")
            content = "Kontoauszug 2025\nMiete;1200.00\n";
        else if (damage == "truncated")
            content.truncate(content.size() / 2);
        else if (damage == "garbled")
            for (int i = 4096 + 100; i < content.size(); i += 97)
                content[i] = char(0x5A);
        writeFile(ws.filePath(), content);

        MessageBoxCatcher boxes;
        YearFileOpener opener;
        QVERIFY(!opener.open());
        QCOMPARE(boxes.titles(), QStringList{"Finanzdatei unbrauchbar"});
        QVERIFY2(boxes.text().contains(named) && boxes.text().contains(ws.filePath()), qPrintable(boxes.text()));
        QCOMPARE(bytesOf(ws.filePath()), content);
    }

    void viewOnlyFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::newRow("newer version") << "newer" << "Finanzdatei einer neueren Version";
        QTest::newRow("write-protected") << "protected" << "Finanzdatei schreibgeschützt";
    }

    void viewOnlyFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QString, title);
        if (kind == "protected" && geteuid() == 0)
            QSKIP("root may write any file");
        TestWorkspace ws;
        if (kind == "newer")
            TestWorkspace::exec("UPDATE settings SET value = 15, version = '1.5' WHERE name = 'DB_VERSION'");
        ws.close();
        if (kind == "protected")
            QVERIFY(QFile::setPermissions(ws.filePath(), QFile::ReadOwner));
        const QByteArray before = bytesOf(ws.filePath());
        MessageBoxCatcher boxes;
        YearFileOpener opener;
        QVERIFY(opener.open());
        QVERIFY(opener.isReadOnly());
        QCOMPARE(boxes.titles(), QStringList{title});
        QVERIFY(!QSqlQuery().exec("DELETE FROM konten"));
        QCOMPARE(bytesOf(ws.filePath()), before);
    }

    void version13FileIsUpgradedAfterACopy_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("upgradeFails");
        QTest::addColumn<QString>("name");   // of the year file in ./Data
        QTest::newRow("Ja") << "Ja" << false << "finanzen";
        QTest::newRow("Nein") << "Nein" << false << "finanzen";
        QTest::newRow("Ja, upgrade fails") << "Ja" << true << "finanzen";
        QTest::newRow("Ja, chosen archive") << "Ja" << false << "finanzen_2024";
    }

    // A file as version 1.3 left it: no settings table, movements without
    // income source, income sources without VAT rate.
    void version13FileIsUpgradedAfterACopy()
    {
        QFETCH(QString, answer);
        QFETCH(bool, upgradeFails);
        QFETCH(QString, name);
        TestWorkspace ws;
        ws.seedMasterData();
        for (const char *sql : {"INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,"
                                "op_flag,zahlungsmittel_id) VALUES ('2024-05-01',20.0,2,0,21,31,0,2)",
                                // a cash expense, later than every movement
                                "INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,"
                                "zahlungsmittel_id,ausgaben_typ,ausgaben_typ_id) "
                                "VALUES ('2025-02-01',5,'Migros',1,'Bargeld',2,'Lebensmittel',1)",
                                "DROP TABLE settings", "ALTER TABLE konto_bewegungen DROP COLUMN einnahme_quelle_id",
                                "ALTER TABLE einnahme_quelle DROP COLUMN mwst"})
            TestWorkspace::exec(sql);
        if (upgradeFails)
            TestWorkspace::exec("CREATE TRIGGER refuse BEFORE UPDATE ON konto_bewegungen "
                                "BEGIN SELECT RAISE(ABORT, 'Platte voll'); END");
        ws.close();
        const QString file = ws.dataPath() + "/" + name;
        if (name != "finanzen") {
            QVERIFY(QFile::rename(ws.filePath(), file + ".dat"));
            writeFile(ws.dataPath() + "/finance_file.txt", name.toUtf8() + ".dat");
        }
        const QByteArray before = bytesOf(file + ".dat");
        writeFile(file + "_vor_1.4.dat", "older copy");
        MessageBoxCatcher boxes;
        boxes.setButtonTexts({answer});
        YearFileOpener opener;

        const bool upgraded = answer == "Ja" && !upgradeFails;
        QCOMPARE(opener.open(), upgraded);
        QCOMPARE(boxes.title(), QStringLiteral("Finanzdatei einer älteren Version"));
        QCOMPARE(bytesOf(file + "_vor_1.4.dat"), QByteArray("older copy"));
        QCOMPARE(bytesOf(file + "_vor_1.4_2.dat"), answer == "Ja" ? before : QByteArray());
        if (!upgraded) {
            QCOMPARE(bytesOf(file + ".dat"), before);
            QCOMPARE(boxes.titles().value(1), upgradeFails ? "Aktualisierung abgebrochen" : QString());
            return;
        }
        // Backups (before and after) are of the current year's file only.
        QCOMPARE(QDir(ws.dataPath() + "/Sicherungen").entryList(QDir::Files).size(), name == "finanzen" ? 2 : 0);
        QCOMPARE(YearFileCheck::verifyOpenedFile(file + ".dat"), QString());
        QCOMPARE(settingsRows(), "MY_ZOLVEX|CURRENT_YEAR|2025|2025,MY_ZOLVEX|DB_VERSION|14|1.4");
        QCOMPARE(TestWorkspace::scalar("SELECT einnahme_quelle_id FROM konto_bewegungen").toString(), "0");
        QCOMPARE(TestWorkspace::scalar("SELECT group_concat(name || ' ' || mwst) FROM einnahme_quelle").toString(),
                 "Lohn 0.0,Rente 0.0");
    }

    void leftLocks_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("opens");
        const QByteArray host = QSysInfo::machineHostName().toUtf8();
        QTest::newRow("empty") << QByteArray() << "" << true;
        QTest::newRow("process gone") << "99999\nzolvex\n" + host + "\n" << "" << true;
        QTest::newRow("process running") << QByteArray::number(getpid()) + "\n" + qAppName().toUtf8() + "\n"
                                                + host + "\n" << "" << false;
        QTest::newRow("other host") << QByteArray("4711\nzolvex\nanderer-rechner\n") << "Nein" << false;
        QTest::newRow("other host, taken over") << QByteArray("4711\nzolvex\nanderer-rechner\n") << "Ja" << true;
    }

    void leftLocks()
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
        if (!opens)
            QCOMPARE(boxes.titles().last(), QStringLiteral("Finanzdatei in Gebrauch"));
    }

    void linkedFileIsLockedOnce()
    {
        TestWorkspace ws;
        ws.close();
        QVERIFY(QDir(ws.path()).mkpath("b/Data") && QFile::link(ws.filePath(), ws.path() + "/b/Data/finanzen.dat"));
        MessageBoxCatcher boxes;
        YearFileOpener first;
        QVERIFY(first.open());
        QDir::setCurrent(ws.path() + "/b");
        YearFileOpener second;
        QVERIFY(!second.open());
        QCOMPARE(boxes.titles().last(), QStringLiteral("Finanzdatei in Gebrauch"));
    }

    void choiceFile_data()
    {
        QTest::addColumn<QByteArray>("choice");
        QTest::addColumn<QByteArray>("archive"); // content of ./Data/finanzen_2014.dat, empty: a year file
        QTest::addColumn<QString>("opened");
        QTest::addColumn<bool>("forgotten");
        QTest::newRow("archive") << QByteArray("finanzen_2014.dat\n") << QByteArray() << "./Data/finanzen_2014.dat"
                                 << false;
        QTest::newRow("missing archive") << QByteArray("finanzen_2013.dat") << QByteArray() << currentFile << false;
        QTest::newRow("parent folder") << QByteArray("../finanzen_2014.dat") << QByteArray() << currentFile << false;
        QTest::newRow("sub folder") << QByteArray("Data/finanzen_2014.dat") << QByteArray() << currentFile << false;
        QTest::newRow("other suffix") << QByteArray("finanzen_2014.dat.bak") << QByteArray() << currentFile << false;
        QTest::newRow("empty choice") << QByteArray() << QByteArray() << currentFile << false;
        QTest::newRow("empty archive") << QByteArray("finanzen_2014.dat") << QByteArray("-") << currentFile << true;
        QTest::newRow("damaged archive") << QByteArray("finanzen_2014.dat") << QByteArray("Kontoauszug") << currentFile
                                         << true;
    }

    // A chosen archive that cannot be used is forgotten, so that the program still starts.
    void choiceFile()
    {
        QFETCH(QByteArray, choice);
        QFETCH(QByteArray, archive);
        QFETCH(QString, opened);
        QFETCH(bool, forgotten);
        TestWorkspace ws;
        ws.close();
        for (const QString &file : {"/Data/finanzen_2014.dat", "/Data/finanzen_2014.dat.bak", "/finanzen_2014.dat",
                                    "/Data/Data/finanzen_2014.dat"}) {
            QDir().mkpath(QFileInfo(ws.path() + file).path());
            QVERIFY(QFile::copy(ws.filePath(), ws.path() + file));
        }
        if (!archive.isEmpty())
            writeFile(ws.dataPath() + "/finanzen_2014.dat", archive == "-" ? QByteArray() : archive);
        writeFile(ws.dataPath() + "/finance_file.txt", choice);
        MessageBoxCatcher boxes;
        YearFileOpener opener;
        QVERIFY(opener.open());
        QCOMPARE(opener.fileName(), opened);
        QCOMPARE(opener.isArchiveInUse(), opened != currentFile);
        QCOMPARE(boxes.titles(), forgotten ? QStringList{"Jahresarchiv unbrauchbar"} : QStringList());
        QCOMPARE(QFile::exists(ws.dataPath() + "/finance_file.txt"), !forgotten);
    }
};

QTEST_MAIN(TestYearFile)
#include "tst_yearfile.moc"
