#include "colorsetting.h"
#include "account.h"
#include "accountentryform.h"
#include "applwindow.h"
#include "archivefileinfo.h"
#include "balancecheck.h"
#include "dataprovider.h"
#include "expenseentryform.h"
#include "expensetypeentry.h"
#include "historyfileform.h"
#include "imageitem.h"
#include "picturescene.h"
#include "plaintextitem.h"
#include "testsupport.h"
#include "yearchange.h"
#include "yearrollover.h"

#include <QApplication>
#include <QDate>
#include <QTimer>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>
#include <QWidget>

#include <memory>
#include <unistd.h>

namespace {

const QString thisYear = QString::number(QDate::currentDate().year());
const QString lastYear = QString::number(QDate::currentDate().year() - 1);

// A file of last year with an expense paid from the bank account and a
// deposit on the savings account.
void prepareLastYear(TestWorkspace &ws)
{
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral("UPDATE settings SET value = %1, version = '%1' "
                                       "WHERE category = 'MY_ZOLVEX' AND name = 'CURRENT_YEAR'").arg(lastYear));
    TestWorkspace::exec("INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,"
                        "zahlungsmittel_id,bemerkung,ausgaben_typ,ausgaben_typ_id) "
                        "VALUES ('2025-05-02',80.0,'Migros',1,'Postkonto',1,'','Lebensmittel',1)");
    TestWorkspace::exec("INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag,bemerkung) "
                        "VALUES (1,1,80.0,'no remark!')");
    TestWorkspace::exec("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,"
                        "op_flag,bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
                        "VALUES ('2025-05-02',80.0,1,0,21,31,0,'',1,1,'',0)");
    TestWorkspace::exec("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,"
                        "op_flag,bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
                        "VALUES ('2025-06-25',500.0,3,0,23,31,1,'Lohn',0,0,'',1)");
    TestWorkspace::exec("INSERT INTO einnahmen (einnahme_quelle_id,startdate,betrag,konto_id,zahlungsmittel_id,"
                        "bemerkung) VALUES (1,'2025-06-25',500.0,3,0,'')");
    TestWorkspace::exec("UPDATE konten SET betrag = 920.0 WHERE id = 1");
    TestWorkspace::exec("UPDATE konten SET betrag = 5500.0 WHERE id = 3");
}

int bookingRows()
{
    return TestWorkspace::rowCount("konto_bewegungen") + TestWorkspace::rowCount("ausgaben")
           + TestWorkspace::rowCount("ausgaben_detail") + TestWorkspace::rowCount("einnahmen");
}

int countIn(const QString &file, const QString &table)
{
    int count = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "peek");
        db.setDatabaseName(file);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec("SELECT COUNT(*) FROM " + table) && query.next())
                count = query.value(0).toInt();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase("peek");
    return count;
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
    void newFileIsStampedWithTheRunningYear();
    void fileOfLastYearIsPast();
    void transitionRowLeadsToFreshSettings();
    void changeOfYearArchivesAndPrepares();
    void existingArchiveIsKeptUnderAnOlderName();
    void answeringNoChangesNothing();
    void failedCopyLeavesTheYearAsItWas();
    void failedPreparationRollsBack();
    void fullDiskLeavesTheFileUnchanged();
    void viewOnlyFileOffersNoChange_data();
    void viewOnlyFileOffersNoChange();
    void bookingsAfterTheYearStayWithTheirBalances();
    void historyDialogNeedsARow();
    void choosingAnArchiveWritesTheChoice();
};

void TestYearChange::newFileIsStampedWithTheRunningYear()
{
    TestWorkspace ws;
    QWidget window;
    YearChange(&window).checkYearState(thisYear);
    QString version;
    QCOMPARE(ColorSetting::instance()->getSetting("MY_ZOLVEX", "CURRENT_YEAR", version), thisYear.toInt());
    QCOMPARE(version, thisYear);
    QVERIFY(ColorSetting::instance()->isYearCurrent());
}

void TestYearChange::fileOfLastYearIsPast()
{
    TestWorkspace ws;
    prepareLastYear(ws);
    QWidget window;
    YearChange(&window).checkYearState(thisYear);
    QVERIFY(!ColorSetting::instance()->isYearCurrent());
    QString version;
    QCOMPARE(ColorSetting::instance()->getSetting("MY_ZOLVEX", "CURRENT_YEAR", version), lastYear.toInt());
}

void TestYearChange::transitionRowLeadsToFreshSettings()
{
    TestWorkspace ws;
    TestWorkspace::exec("INSERT INTO settings (category,name,value,version) VALUES ('TRANSITION', 'CURRENT_YEAR', 2015, '0')");
    QWidget window;
    MessageBoxCatcher boxes;
    YearChange(&window).checkYearState(thisYear);
    QCOMPARE(boxes.titles(), QStringList{"Old stuff"});
    QCOMPARE(boxes.text(), QStringLiteral("Category: Transition!"));
    QCOMPARE(TestWorkspace::rowCount("settings"), 2);
    QCOMPARE(TestWorkspace::scalar("SELECT value FROM settings WHERE name = 'DB_VERSION'").toInt(), 13);
    QCOMPARE(TestWorkspace::scalar("SELECT version FROM settings WHERE name = 'CURRENT_YEAR'").toString(), thisYear);
    QVERIFY(ColorSetting::instance()->isYearCurrent());
}

void TestYearChange::changeOfYearArchivesAndPrepares()
{
    TestWorkspace ws;
    prepareLastYear(ws);
    QWidget window;
    window.show();
    YearChange change(&window);
    change.checkYearState(thisYear);

    MessageBoxCatcher boxes;
    boxes.setButtonTexts({"Ja"});
    QVERIFY(change.changeYear());
    QCOMPARE(boxes.titles(), (QStringList{"Finanzdaten für das aktuelle Jahr vorbereiten", "Finanzdaten aktualisiert"}));
    QVERIFY(!window.isVisible());

    const QString archive = ws.dataPath() + "/finanzen_" + lastYear + ".dat";
    QVERIFY(QFile::exists(archive));
    QCOMPARE(QFile::permissions(archive) & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
    QCOMPARE(countIn(archive, "ausgaben"), 1);
    QCOMPARE(countIn(archive, "ausgaben_detail"), 1);
    QCOMPARE(countIn(archive, "konto_bewegungen"), 2);
    QCOMPARE(countIn(archive, "einnahmen"), 1);
    QVERIFY(QDir(ws.dataPath()).entryList({".*.part"}, QDir::Files | QDir::Hidden).isEmpty());

    QCOMPARE(bookingRows(), 0);
    QCOMPARE(TestWorkspace::scalar("SELECT initial_betrag FROM konten WHERE id = 1").toDouble(), 920.0);
    QCOMPARE(TestWorkspace::scalar("SELECT initial_betrag FROM konten WHERE id = 3").toDouble(), 5500.0);
    QCOMPARE(TestWorkspace::scalar("SELECT initial_betrag FROM konten WHERE id = 2").toDouble(), 200.0);
    QCOMPARE(TestWorkspace::rowCount("zahlungsmittel"), 4);
    QCOMPARE(TestWorkspace::scalar("SELECT version FROM settings WHERE name = 'CURRENT_YEAR'").toString(), thisYear);
    QVERIFY(ColorSetting::instance()->isYearCurrent());
}

void TestYearChange::existingArchiveIsKeptUnderAnOlderName()
{
    TestWorkspace ws;
    prepareLastYear(ws);
    const QString archive = ws.dataPath() + "/finanzen_" + lastYear + ".dat";
    {
        QFile old(archive);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older copy");
    }
    QWidget window;
    MessageBoxCatcher boxes;
    boxes.setButtonTexts({"Ja"});
    QVERIFY(YearChange(&window).changeYear());
    QCOMPARE(countIn(archive, "ausgaben"), 1);
    const QStringList older = QDir(ws.dataPath()).entryList({"finanzen_" + lastYear + "_alt_*.dat"});
    QCOMPARE(older.size(), 1);
    QCOMPARE(bytesOf(ws.dataPath() + "/" + older.first()), QByteArray("an older copy"));
    QVERIFY(!ArchiveFileInfo::isArchiveName(older.first()));
    QVERIFY(boxes.texts().value(1).contains(older.first()));
}

void TestYearChange::answeringNoChangesNothing()
{
    TestWorkspace ws;
    prepareLastYear(ws);
    QWidget window;
    MessageBoxCatcher boxes;
    boxes.setButtonTexts({"Nein"});
    QVERIFY(!YearChange(&window).changeYear());
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(bookingRows(), 5);
    QVERIFY(!QFile::exists(ws.dataPath() + "/finanzen_" + lastYear + ".dat"));
}

void TestYearChange::failedCopyLeavesTheYearAsItWas()
{
    TestWorkspace ws;
    prepareLastYear(ws);
    // A folder in the archive's place: the copy cannot be put there.
    QVERIFY(QDir(ws.dataPath()).mkpath("finanzen_" + lastYear + ".dat/occupied"));

    QWidget window;
    MessageBoxCatcher boxes;
    boxes.setButtonTexts({"Ja"});
    QVERIFY(!YearChange(&window).changeYear());
    QCOMPARE(boxes.titles().value(1), QStringLiteral("Jahreswechsel abgebrochen"));
    QCOMPARE(bookingRows(), 5);
    QCOMPARE(TestWorkspace::scalar("SELECT initial_betrag FROM konten WHERE id = 1").toDouble(), 1000.0);
    QCOMPARE(TestWorkspace::scalar("SELECT version FROM settings WHERE name = 'CURRENT_YEAR'").toString(), lastYear);
    QVERIFY(QDir(ws.dataPath()).entryList({".*.part"}, QDir::Files | QDir::Hidden).isEmpty());
}

void TestYearChange::failedPreparationRollsBack()
{
    TestWorkspace ws;
    prepareLastYear(ws);
    TestWorkspace::exec("CREATE TRIGGER no_carry BEFORE UPDATE OF initial_betrag ON konten "
                        "BEGIN SELECT RAISE(ABORT, 'carry refused'); END");
    QString err;
    QVERIFY(!YearRollover(lastYear.toInt(), thisYear.toInt()).run(err));
    QVERIFY(!err.isEmpty());
    QCOMPARE(bookingRows(), 5);
    QCOMPARE(TestWorkspace::scalar("SELECT version FROM settings WHERE name = 'CURRENT_YEAR'").toString(), lastYear);
    QCOMPARE(DataProvider::instance()->getAccount(Seed::BankAccount)->getBalance(), 920.0);
}

void TestYearChange::fullDiskLeavesTheFileUnchanged()
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

    // Room for the archive and the first clearing step, not for the rest.
    const qint64 room = QFileInfo(ws->filePath()).size() + 3 * 4096;
    QFile filler(mountPoint.path() + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly));
    QVERIFY(filler.write(QByteArray(QStorageInfo(mountPoint.path()).bytesAvailable() - room, 'x')) > 0);
    filler.close();
    const QByteArray before = bytesOf(ws->filePath());

    QWidget window;
    MessageBoxCatcher boxes;
    boxes.setButtonTexts({"Ja"});
    QVERIFY(!YearChange(&window).changeYear());
    QVERIFY2(boxes.texts().value(1).contains("die Finanzdatei ist unverändert"), qPrintable(boxes.texts().value(1)));
    QCOMPARE(bytesOf(ws->filePath()), before);
    QCOMPARE(DataProvider::instance()->getAccount(Seed::BankAccount)->getOpeningAmount(), 1000.0);
    ws.reset();
}

void TestYearChange::viewOnlyFileOffersNoChange_data()
{
    QTest::addColumn<int>("fileYear");
    QTest::addColumn<QString>("readOnlyReason");
    QTest::addColumn<QString>("status");
    const int year = thisYear.toInt();
    QTest::newRow("later year") << year + 1 << QString()
                                << QString("Finanzdatei %1, Computer-Jahr %2 - nur Ansicht").arg(year + 1).arg(year);
    QTest::newRow("write-protected") << year << "schreibgeschützt" << "Finanzdatei " + thisYear + " - schreibgeschützt";
}

void TestYearChange::viewOnlyFileOffersNoChange()
{
    QFETCH(int, fileYear);
    QFETCH(QString, readOnlyReason);
    QFETCH(QString, status);
    TestWorkspace ws;
    TestWorkspace::exec(QString("UPDATE settings SET value = %1, version = '%1' WHERE name = 'CURRENT_YEAR'").arg(fileYear));
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
            changeOffered = changeOffered || image->kind() == 17;
    }
    QVERIFY2(texts.contains(status), qPrintable(texts.join(" | ")));
    QVERIFY(!changeOffered);
    QVERIFY(!ColorSetting::instance()->isYearCurrent());
    MessageBoxCatcher boxes;
    QVERIFY(!YearChange(&window).changeYear());
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(bytesOf(ws.filePath()), before);
}

// Bookings dated 3 January after the closed year: a cash expense with a
// detail and a deposit on the savings account.
void TestYearChange::bookingsAfterTheYearStayWithTheirBalances()
{
    TestWorkspace ws;
    prepareLastYear(ws);
    const QString jan3 = QString("'%1-01-03'").arg(thisYear);
    TestWorkspace::exec("INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,"
                        "zahlungsmittel_id,bemerkung,ausgaben_typ,ausgaben_typ_id) "
                        "VALUES (" + jan3 + ",30.0,'Migros',1,'Bargeld',2,'','Lebensmittel',1)");
    TestWorkspace::exec("INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag,bemerkung) "
                        "VALUES (2,1,30.0,'')");
    TestWorkspace::exec("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,"
                        "op_flag,bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
                        "VALUES (" + jan3 + ",100.0,3,0,23,31,1,'Lohn',0,0,'',1)");
    TestWorkspace::exec("INSERT INTO einnahmen (einnahme_quelle_id,startdate,betrag,konto_id,zahlungsmittel_id,"
                        "bemerkung) VALUES (1," + jan3 + ",100.0,3,0,'')");
    TestWorkspace::exec("UPDATE konten SET betrag = 170.0 WHERE id = 2");
    TestWorkspace::exec("UPDATE konten SET betrag = 5600.0 WHERE id = 3");

    // The booking dialogs offer only days of the file's year.
    std::unique_ptr<FinanceBase> type(DataProvider::instance()->getRecord(Seed::FoodType, 17));
    ExpenseEntryForm expense(static_cast<ExpenseTypeEntry *>(type.get()));
    AccountEntryForm deposit(DataProvider::instance()->getPaymentInstrument(Seed::CashInstrument));
    for (QWidget *form : {static_cast<QWidget *>(&expense), static_cast<QWidget *>(&deposit)}) {
        auto *date = form->findChild<QDateEdit *>("dateEdit");
        QCOMPARE(date->minimumDate().year(), lastYear.toInt());
        QCOMPARE(date->maximumDate().year(), lastYear.toInt());
    }

    QWidget window;
    MessageBoxCatcher boxes;
    boxes.setButtonTexts({"Ja"});
    QVERIFY(YearChange(&window).changeYear());
    QVERIFY(boxes.texts().value(1).contains("2 Buchung(en) mit Datum nach dem 31.12." + lastYear));
    QCOMPARE(bookingRows(), 4);
    QCOMPARE(TestWorkspace::scalar("SELECT SUM(betrag) FROM konten").toDouble(), 920.0 + 170.0 + 5600.0);
    QCOMPARE(TestWorkspace::scalar("SELECT initial_betrag FROM konten WHERE id = 2").toDouble(), 200.0);
    BalanceCheck check;
    QString err;
    QVERIFY(check.run(err));
    QVERIFY2(check.differences().isEmpty(), qPrintable(check.report()));
}

void TestYearChange::historyDialogNeedsARow()
{
    TestWorkspace ws;
    QFile(ws.filePath()).copy(ws.dataPath() + "/finanzen_2019.dat");
    HistoryFileForm form;
    auto *table = form.findChild<QTableWidget *>();
    QPushButton *ok = nullptr;
    for (QPushButton *button : form.findChildren<QPushButton *>())
        if (button->text() == "Ok")
            ok = button;
    QVERIFY(table && ok);
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("finanzen_2019.dat"));
    QVERIFY(!ok->isEnabled());
    form.show();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(0, 0)).center());
    QVERIFY(ok->isEnabled());
    QCOMPARE(form.selectedFile(), QStringLiteral("finanzen_2019.dat"));
}

void TestYearChange::choosingAnArchiveWritesTheChoice()
{
    TestWorkspace ws;
    QFile(ws.filePath()).copy(ws.dataPath() + "/finanzen_2019.dat");
    QWidget window;

    // Cancelled: nothing happens.
    QTimer::singleShot(50, [] {
        if (auto *form = qobject_cast<HistoryFileForm *>(QApplication::activeModalWidget()))
            form->reject();
    });
    QVERIFY(!YearChange(&window).chooseYearFile());
    QVERIFY(!QFile::exists(ws.dataPath() + "/finance_file.txt"));

    QTimer::singleShot(50, [] {
        auto *form = qobject_cast<HistoryFileForm *>(QApplication::activeModalWidget());
        if (!form)
            return;
        auto *table = form->findChild<QTableWidget *>();
        emit table->cellClicked(0, 0);
        form->accept();
    });
    MessageBoxCatcher boxes;
    QVERIFY(YearChange(&window).chooseYearFile());
    QCOMPARE(boxes.title(), QStringLiteral("Finanzdatei gewählt"));
    QFile choice(ws.dataPath() + "/finance_file.txt");
    QVERIFY(choice.open(QIODevice::ReadOnly));
    QCOMPARE(choice.readAll(), QByteArray("finanzen_2019.dat"));
}

QTEST_MAIN(TestYearChange)
#include "tst_yearchange.moc"
