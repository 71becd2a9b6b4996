#include "account.h"
#include "applwindow.h"
#include "balancecheck.h"
#include "colorsetting.h"
#include "dataprovider.h"
#include "formdriver.h"
#include "historyfileform.h"
#include "imageitem.h"
#include "picturescene.h"
#include "plaintextitem.h"
#include "testsupport.h"
#include "yearchange.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QTableWidget>
#include <QTimer>

#include <memory>
#include <unistd.h>

namespace {

const QString thisYear = QString::number(QDate::currentDate().year());
const QString lastYear = QString::number(QDate::currentDate().year() - 1);
const QString nextYear = QString::number(QDate::currentDate().year() + 1);

void execAll(const QStringList &statements, const QString &year)
{
    for (const QString &sql : statements)
        TestWorkspace::exec(QString(sql).replace("%1", year));
}

void stampYear(const QString &year)
{
    execAll({"UPDATE settings SET value = %1, version = '%1' WHERE name = 'CURRENT_YEAR'"}, year);
}

// A file of last year: an expense of 80.00 paid from the bank account and
// a deposit of 500.00 on the savings account; five booking rows in all.
void prepareLastYear(TestWorkspace &ws)
{
    ws.seedMasterData();
    stampYear(lastYear);
    execAll({"INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,zahlungsmittel_id,"
             "ausgaben_typ,ausgaben_typ_id) VALUES ('%1-05-02',80.0,'Migros',1,'Postkonto',1,'Lebensmittel',1)",
             "INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag) VALUES (1,1,80.0)",
             "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,"
             "zahlungsmittel_id,ausgabe_id,einnahme_quelle_id) VALUES ('%1-05-02',80.0,1,0,21,31,0,1,1,0),"
             "('%1-06-25',500.0,3,0,23,31,1,0,0,1)",
             "INSERT INTO einnahmen (einnahme_quelle_id,startdate,betrag,konto_id,zahlungsmittel_id) "
             "VALUES (1,'%1-06-25',500.0,3,0)",
             "UPDATE konten SET betrag = betrag + CASE id WHEN 1 THEN -80 WHEN 3 THEN 500 ELSE 0 END"},
            lastYear);
}

int bookingRows()
{
    return TestWorkspace::scalar("SELECT (SELECT COUNT(*) FROM konto_bewegungen) + (SELECT COUNT(*) FROM ausgaben)"
                                 " + (SELECT COUNT(*) FROM ausgaben_detail) + (SELECT COUNT(*) FROM einnahmen)")
        .toInt();
}

QString stampedYear()
{
    return TestWorkspace::scalar("SELECT version FROM settings WHERE name = 'CURRENT_YEAR'").toString();
}

QString openingAmounts()
{
    return TestWorkspace::scalar("SELECT group_concat(initial_betrag) FROM konten").toString();
}

// Rows of the booking tables of another file, as "ausgaben detail movements einnahmen".
QString bookingsIn(const QString &file)
{
    QSqlQuery attach;
    attach.prepare("ATTACH DATABASE ? AS other");
    attach.addBindValue(file);
    attach.exec();
    return TestWorkspace::scalar("SELECT (SELECT COUNT(*) FROM other.ausgaben) || ' ' || (SELECT COUNT(*) FROM "
                                 "other.ausgaben_detail) || ' ' || (SELECT COUNT(*) FROM other.konto_bewegungen)"
                                 " || ' ' || (SELECT COUNT(*) FROM other.einnahmen)").toString();
}

QByteArray bytesOf(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Unmounts the small file system when the test ends, however it ends.
struct Unmount
{
    QString path;
    ~Unmount() { QProcess::execute("umount", {path}); }
};

} // namespace

class TestYearChange : public QObject
{
    Q_OBJECT

private slots:
    void yearStateAtStart_data()
    {
        QTest::addColumn<QString>("fileYear");
        QTest::addColumn<bool>("transition");
        QTest::newRow("new file") << "1" << false;
        QTest::newRow("last year") << lastYear << false;
        QTest::newRow("later year") << nextYear << false;
        QTest::newRow("transition row") << "1" << true;
    }

    void yearStateAtStart()
    {
        QFETCH(QString, fileYear);
        QFETCH(bool, transition);
        TestWorkspace ws;
        stampYear(fileYear);
        if (transition)
            TestWorkspace::exec("INSERT INTO settings (category,name,value,version) "
                                "VALUES ('TRANSITION','CURRENT_YEAR',2015,'0')");
        QWidget window;
        MessageBoxCatcher boxes;
        YearChange(&window).checkYearState(thisYear);
        const QString stamped = fileYear == "1" ? thisYear : fileYear;
        QCOMPARE(stampedYear(), stamped);
        QCOMPARE(ColorSetting::instance()->isYearCurrent(), stamped == thisYear);
        QCOMPARE(boxes.titles(), transition ? QStringList{"Old stuff"} : QStringList());
        if (transition)
            QCOMPARE(TestWorkspace::scalar("SELECT group_concat(category || value) FROM settings").toString(),
                     "MY_ZOLVEX" + thisYear + ",MY_ZOLVEX13");
    }

    void changeOfYearArchivesAndPrepares_data()
    {
        QTest::addColumn<bool>("archiveThere");
        QTest::addColumn<bool>("laterBookings");
        QTest::newRow("first archive of the year") << false << false;
        QTest::newRow("archive already there") << true << false;
        QTest::newRow("bookings after 31 December") << false << true;
    }

    // Bookings after the closed year: a cash expense of 30.00 with its detail
    // and a deposit of 100.00 on the savings account, dated 3 January.
    void changeOfYearArchivesAndPrepares()
    {
        QFETCH(bool, archiveThere);
        QFETCH(bool, laterBookings);
        TestWorkspace ws;
        prepareLastYear(ws);
        if (laterBookings)
            execAll({"INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,"
                     "zahlungsmittel_id,ausgaben_typ,ausgaben_typ_id) "
                     "VALUES ('%1-01-03',30.0,'Migros',1,'Bargeld',2,'Lebensmittel',1)",
                     "INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag) VALUES (2,1,30.0)",
                     "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,"
                     "zahlungsmittel_id,ausgabe_id,einnahme_quelle_id) VALUES ('%1-01-03',100.0,3,0,23,31,1,0,0,1)",
                     "INSERT INTO einnahmen (einnahme_quelle_id,startdate,betrag,konto_id,zahlungsmittel_id) "
                     "VALUES (1,'%1-01-03',100.0,3,0)",
                     "UPDATE konten SET betrag = betrag + CASE id WHEN 2 THEN -30 WHEN 3 THEN 100 ELSE 0 END"},
                    thisYear);
        const QString archive = ws.dataPath() + "/finanzen_" + lastYear + ".dat";
        QFile old(archive);
        if (archiveThere)
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an older copy") > 0 && old.flush());
        const QString balances = TestWorkspace::scalar("SELECT group_concat(betrag) FROM konten").toString();
        QWidget window;
        window.show();
        MessageBoxCatcher boxes;
        boxes.setButtonTexts({"Ja"});
        QVERIFY(YearChange(&window).changeYear());
        QCOMPARE(boxes.titles().join('|'), "Finanzdaten für das aktuelle Jahr vorbereiten|Finanzdaten aktualisiert");
        QCOMPARE(boxes.texts().value(1).contains("2 Buchung(en) mit Datum nach dem 31.12." + lastYear), laterBookings);
        QVERIFY(!window.isVisible());

        QCOMPARE(bookingRows(), laterBookings ? 4 : 0);
        QCOMPARE(TestWorkspace::scalar("SELECT group_concat(betrag) FROM konten").toString(), balances);
        QCOMPARE(openingAmounts(), "920.0,200.0,5500.0");
        QCOMPARE(stampedYear(), thisYear);
        QVERIFY(ColorSetting::instance()->isYearCurrent());
        BalanceCheck check;
        QString err;
        QVERIFY(check.run(err));
        QVERIFY2(check.differences().isEmpty(), qPrintable(check.report()));

        QCOMPARE(QFile::permissions(archive) & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
        QVERIFY(QDir(ws.dataPath()).entryList({".*.part"}, QDir::Files | QDir::Hidden).isEmpty());
        const QStringList older = QDir(ws.dataPath()).entryList({"finanzen_" + lastYear + "_alt_*.dat"});
        QCOMPARE(older.size(), archiveThere ? 1 : 0);
        if (archiveThere) {
            QCOMPARE(bytesOf(ws.dataPath() + "/" + older.first()), QByteArray("an older copy"));
            QVERIFY(boxes.texts().value(1).contains(older.first()));
        }
        QCOMPARE(bookingsIn(archive), laterBookings ? "2 2 3 2" : "1 1 2 1");
    }

    void failedChangeLeavesTheYear_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("answer");
        QTest::newRow("answered Nein") << "" << "Nein";
        QTest::newRow("folder in the archive's place") << "folder" << "Ja";
        // A table the open file shows but a copy never holds: the copy is short.
        QTest::newRow("copy short of a table") << "CREATE TEMP TABLE notiz AS SELECT 1 AS x" << "Ja";
        QTest::newRow("preparation refused") << "CREATE TRIGGER no_carry BEFORE UPDATE OF initial_betrag ON konten "
                                                "BEGIN SELECT RAISE(ABORT, 'carry refused'); END" << "Ja";
    }

    void failedChangeLeavesTheYear()
    {
        QFETCH(QString, trouble);
        QFETCH(QString, answer);
        TestWorkspace ws;
        prepareLastYear(ws);
        const QString archive = ws.dataPath() + "/finanzen_" + lastYear + ".dat";
        if (trouble == "folder")
            QVERIFY(QDir().mkpath(archive + "/occupied"));
        else if (!trouble.isEmpty())
            TestWorkspace::exec(trouble);

        QWidget window;
        MessageBoxCatcher boxes;
        boxes.setButtonTexts({answer});
        QVERIFY(!YearChange(&window).changeYear());
        QCOMPARE(boxes.titles().contains("Jahreswechsel abgebrochen"), answer == "Ja");
        QCOMPARE(bookingRows(), 5);
        QCOMPARE(openingAmounts(), "1000.0,200.0,5000.0");
        QCOMPARE(DataProvider::instance()->getAccount(Seed::BankAccount)->getBalance(), 920.0);
        QCOMPARE(stampedYear(), lastYear);
        QVERIFY(!QFileInfo(archive).isFile());
        QVERIFY(QDir(ws.dataPath()).entryList({".*.part"}, QDir::Files | QDir::Hidden).isEmpty());
    }

    void fullDiskLeavesTheFileUnchanged()
    {
        if (geteuid() != 0)
            QSKIP("Only root may mount the small file system this test fills up.");
        QTemporaryDir mountPoint;
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", mountPoint.path()}) != 0)
            QSKIP("A tmpfs cannot be mounted here.");
        Unmount unmount{mountPoint.path()};
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", mountPoint.path().toLocal8Bit());
        auto ws = std::make_unique<TestWorkspace>();
        tmp.isEmpty() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmp);
        prepareLastYear(*ws);

        // Room for the backup, the archive and the first clearing step, not for the rest.
        const qint64 room = 2 * QFileInfo(ws->filePath()).size() + 3 * 4096;
        QFile filler(mountPoint.path() + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        QVERIFY(filler.write(QByteArray(QStorageInfo(mountPoint.path()).bytesAvailable() - room, 'x')) > 0);
        filler.close();
        const QByteArray before = bytesOf(ws->filePath());

        QWidget window;
        MessageBoxCatcher boxes;
        boxes.setButtonTexts({"Ja"});
        QVERIFY(!YearChange(&window).changeYear());
        const QString report = boxes.texts().value(1);
        QVERIFY2(report.contains("die Finanzdatei ist unverändert"), qPrintable(report));
        QCOMPARE(bytesOf(ws->filePath()), before);
        QCOMPARE(DataProvider::instance()->getAccount(Seed::BankAccount)->getOpeningAmount(), 1000.0);
    }

    void viewOnlyFileOffersNoChange_data()
    {
        QTest::addColumn<QString>("fileYear");
        QTest::addColumn<QString>("readOnlyReason");
        QTest::addColumn<QString>("status");
        QTest::newRow("later year") << nextYear << "" << "Finanzdatei " + nextYear + ", Computer-Jahr " + thisYear
                                                                + " - nur Ansicht";
        QTest::newRow("write-protected") << thisYear << "schreibgeschützt" << "Finanzdatei " + thisYear
                                                                                + " - schreibgeschützt";
    }

    void viewOnlyFileOffersNoChange()
    {
        QFETCH(QString, fileYear);
        QFETCH(QString, readOnlyReason);
        QFETCH(QString, status);
        TestWorkspace ws;
        stampYear(fileYear);
        if (!readOnlyReason.isEmpty())
            QVERIFY(ws.open("./Data/finanzen.dat", "QSQLITE_OPEN_READONLY"));
        const QByteArray before = bytesOf(ws.filePath());

        ApplWindow window(false, readOnlyReason);
        QStringList texts;
        bool changeOffered = false;
        for (QGraphicsItem *item : window.hfaScene()->items()) {
            if (auto *text = dynamic_cast<PlainTextItem *>(item))
                texts << text->toPlainText();
            if (auto *image = dynamic_cast<ImageItem *>(item))
                changeOffered = changeOffered || image->kind() == PictureKind::ChangeYear;
        }
        QVERIFY2(texts.contains(status), qPrintable(texts.join(" | ")));
        QVERIFY(!changeOffered);
        QVERIFY(!ColorSetting::instance()->isYearCurrent());
        MessageBoxCatcher boxes;
        QVERIFY(!YearChange(&window).changeYear());
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(bytesOf(ws.filePath()), before);
    }

    // Only real year files are offered; choosing the current one again forgets the choice.
    void choosingAYearFile()
    {
        TestWorkspace ws;
        for (const QString name : {"finanzen_2019.dat", "finanzen_20xx.dat", ".finanzen_2018.dat.part",
                                   "finanzen_2017_alt_20180101-000000.dat"})
            QVERIFY(QFile(ws.filePath()).copy(ws.dataPath() + "/" + name));
        const QString choice = ws.dataPath() + "/finance_file.txt";
        QWidget window;
        struct Step { QString press, listed; QByteArray chosen; };
        const Step steps[] = {{"abbrechen", "finanzen_2019.dat", ""}, {"Ok", "finanzen_2019.dat", "finanzen_2019.dat"},
                              {"Ok", "finanzen.dat", ""}};
        for (const Step &step : steps) {
            QStringList listed;
            bool okBeforeChoice = true;
            QTimer::singleShot(50, [&] {
                auto *form = qobject_cast<HistoryFileForm *>(QApplication::activeModalWidget());
                auto *table = form ? form->findChild<QTableWidget *>() : nullptr;
                if (!table)
                    return;
                for (int row = 0; row < table->rowCount(); ++row)
                    listed << table->item(row, 0)->text();
                okBeforeChoice = FormDriver::button(form, "Ok")->isEnabled();
                const QPoint firstRow = table->visualItemRect(table->item(0, 0)).center();
                QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, firstRow);
                FormDriver::click(FormDriver::button(form, step.press));
            });
            MessageBoxCatcher boxes;
            QCOMPARE(YearChange(&window).chooseYearFile(), step.press == "Ok");
            QCOMPARE(listed, QStringList{step.listed});
            QVERIFY(!okBeforeChoice);
            QCOMPARE(boxes.title(), step.press == "Ok" ? "Finanzdatei gewählt" : QString());
            QCOMPARE(bytesOf(choice), step.chosen);
            QCOMPARE(QFile::permissions(choice) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        }
    }
};

QTEST_MAIN(TestYearChange)
#include "tst_yearchange.moc"
