// Verified copies of the year file, putting one back, and the year's data
// out as CSV files and as the PDF of a report.
#include "backupform.h"
#include "backupstore.h"
#include "csvexport.h"
#include "picturescene.h"
#include "plaintextitem.h"
#include "reportpainter.h"
#include "testsupport.h"
#include "yeardataactions.h"
#include "yeargenerator.h"
#include "yearfileopener.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <cmath>

namespace {

void generateYear(int expenses)
{
    QString err;
    YearGenerator generator({expenses, 7, 0});
    QVERIFY2(generator.fill(err), qPrintable(err));
}

// Every row of every table, as the file holds it.
QStringList allRows()
{
    QStringList rows;
    for (const QString &table : QSqlDatabase::database().tables(QSql::Tables)) {
        QSqlQuery query(QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(table));
        while (query.next())
            for (int i = 0; i < query.record().count(); ++i)
                rows << table + QLatin1Char(':') + query.value(i).toString();
    }
    return rows;
}

QStringList copiesOnDisk()
{
    return QDir(QStringLiteral("Data/Sicherungen")).entryList(QDir::Files | QDir::Hidden);
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput()) + QString::fromUtf8(process.readAllStandardError());
}

} // namespace

class TestBackups : public QObject
{
    Q_OBJECT

private slots:
    void restoreBringsBackTheSameRows_data();
    void restoreBringsBackTheSameRows();
    void damagedCopyIsNeitherListedNorRestored();
    void startWithAFullBackupDiskStillOpensTheYear();
    void csvFilesReadBackToTheCent();
    void pdfHoldsTheWholeReport();
};

void TestBackups::restoreBringsBackTheSameRows_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("linked");   // ./Data/finanzen.dat a link to the real file
    QTest::newRow("Ja") << "Ja" << false;
    QTest::newRow("Nein") << "Nein" << false;
    QTest::newRow("Ja, behind a link") << "Ja" << true;
}

void TestBackups::restoreBringsBackTheSameRows()
{
    QFETCH(QString, answer);
    QFETCH(bool, linked);
    TestWorkspace workspace;
    generateYear(300);
    if (linked) {
        workspace.close();
        QVERIFY(QFile::rename("Data/finanzen.dat", "real.dat"));
        QVERIFY(QFile::link(QFileInfo("real.dat").absoluteFilePath(), "Data/finanzen.dat"));
        QVERIFY(workspace.open());
    }
    const QStringList before = allRows();
    QString err;
    for (int i = 0; i < BackupStore::Kept + 2; ++i)
        QVERIFY2(!BackupStore().write(err).isEmpty(), qPrintable(err));
    QCOMPARE(copiesOnDisk().size(), BackupStore::Kept);
    // Owner only: rwx for the folder, rw for the copies.
    auto access = [](const QString &path) { return int(QFileInfo("Data/Sicherungen/" + path).permissions() & 0x0777); };
    QCOMPARE(access(""), 0x0700);
    QCOMPARE(access(copiesOnDisk().first()), 0x0600);
    TestWorkspace::exec(QStringLiteral("DELETE FROM ausgaben"));

    BackupForm dialog;
    auto *list = dialog.findChild<QTableWidget *>();
    QCOMPARE(list->rowCount(), BackupStore::Kept);
    QCOMPARE(list->item(0, 1)->text(), QString::number(300));
    list->selectRow(BackupStore::Kept - 1);   // the oldest, which a new copy would push out
    MessageBoxCatcher boxes;
    boxes.setButtonTexts({answer});
    QTimer::singleShot(0, &dialog, [&] {
        if (qEnvironmentVariableIsSet("ZOLVEX_SCREENSHOTS"))   // the README's picture
            dialog.grab().save(qEnvironmentVariable("ZOLVEX_SCREENSHOTS") + "/screenshot-backups.png");
        for (QPushButton *button : dialog.findChildren<QPushButton *>())
            if (button->text() == QString("Zurückholen"))
                button->click();
        dialog.reject();   // still open after "Nein"
    });
    dialog.exec();
    QCOMPARE(dialog.restored(), answer == QLatin1String("Ja"));
    if (answer == QLatin1String("Ja")) {
        QVERIFY(boxes.texts().last().contains("neu starten"));
        QCOMPARE(BackupStore().list().first().expenses, 0);   // the state before, kept as the newest copy
        QCOMPARE(QFileInfo("Data/finanzen.dat").isSymLink(), linked);
        QVERIFY(workspace.open());
        QCOMPARE(allRows(), before);
    } else {
        QCOMPARE(TestWorkspace::rowCount("ausgaben"), 0);
    }
}

void TestBackups::damagedCopyIsNeitherListedNorRestored()
{
    TestWorkspace workspace;
    generateYear(200);
    QString err;
    const QString copy = BackupStore().write(err);
    QFile file(copy);
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(4096);
    file.write(QByteArray(file.size() - 8192, 'x'));
    file.close();

    QVERIFY(BackupStore().list().isEmpty());
    QVERIFY(!BackupStore().restore(copy, err));
    QVERIFY2(err.contains("beschädigt"), qPrintable(err));
    QCOMPARE(TestWorkspace::rowCount("ausgaben"), 200);
}

void TestBackups::startWithAFullBackupDiskStillOpensTheYear()
{
    TestWorkspace workspace;
    generateYear(200);
    workspace.close();
    QDir().mkpath(QStringLiteral("Data/Sicherungen"));
    const QString disk = QFileInfo(QStringLiteral("Data/Sicherungen")).absoluteFilePath();
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=16k,mode=0700", "tmpfs", disk}) != 0)
        QSKIP("no tmpfs can be mounted here (needs root), so no full disk can be made");
    struct Unmount { QString dir; ~Unmount() { QProcess::execute("umount", {dir}); } } unmount{disk};

    MessageBoxCatcher boxes;
    YearFileOpener opener;
    QVERIFY(opener.open());
    QCOMPARE(boxes.titles(), QStringList{"Keine neue Sicherung"});
    QVERIFY(copiesOnDisk().isEmpty());
    QCOMPARE(TestWorkspace::rowCount("ausgaben"), 200);
}

void TestBackups::csvFilesReadBackToTheCent()
{
    TestWorkspace workspace;
    generateYear(400);
    QSqlQuery remark;
    remark.prepare("UPDATE ausgaben SET bemerkung = :remark WHERE id = 1");
    remark.bindValue(":remark", "Schuhe; \"gross\"\nrot");
    QVERIFY(remark.exec() && TestWorkspace::exec("DELETE FROM ausgaben_detail WHERE ausgaben_id = 1"));
    QString err;
    QVERIFY2(CsvExport("Export/2024").write(err), qPrintable(err));

    const QString python = R"(
import csv, re, sys
from decimal import Decimal
def rows(name):
    with open(sys.argv[1] + "/" + name + ".csv", encoding="utf-8-sig", newline="") as f:
        return list(csv.reader(f, delimiter=";"))[1:]
def cents(name, column):
    return sum(int(Decimal(r[column].replace(",", ".")) * 100) for r in rows(name))
print(cents("ausgaben", 5), cents("bewegungen", 3), cents("konten", 3),
      all(re.fullmatch(r"\d\d\.\d\d\.\d{4}", r[0]) for r in rows("ausgaben")),
      any(r[6] == 'Schuhe; "gross"\nrot' for r in rows("ausgaben")))
)";
    auto cents = [](const QString &sql) {
        qint64 sum = 0;
        for (QSqlQuery query(sql); query.next();)
            sum += std::llround(query.value(0).toDouble() * 100);
        return QString::number(sum);
    };
    const QString expected = QStringList{cents("SELECT betrag FROM ausgaben"), cents("SELECT betrag FROM konto_bewegungen"),
                                         cents("SELECT betrag FROM konten"), "True", "True"}.join(' ');
    QCOMPARE(run("python3", {"-c", python, "Export/2024"}).trimmed(), expected);
}

void TestBackups::pdfHoldsTheWholeReport()
{
    TestWorkspace workspace;
    generateYear(1500);
    PictureScene scene(2);
    ReportPainter().showRecipientOverview(&scene);
    ImageItem *pdf = nullptr;
    for (QGraphicsItem *item : scene.items())
        if (auto *image = dynamic_cast<ImageItem *>(item); image && image->toolTip() == "als PDF")
            pdf = image;
    QVERIFY(pdf);
    MessageBoxCatcher boxes;
    YearDataActions(nullptr).exportPdf(&scene, pdf->data(1).toString());
    const QString path = YearDataActions::exportFolder() + "/Übersicht Begünstigte.pdf";
    QVERIFY2(boxes.text().contains(QFileInfo(path).absoluteFilePath()), qPrintable(boxes.text()));

    // Every text of the report, from the title over all rows to the total, also below the visible part.
    QString text = run("pdftotext", {"-raw", path, "-"});
    QVERIFY2(text.count('\f') > 1, "one page only");
    text = text.simplified();
    QStringList missing;
    for (QGraphicsItem *item : scene.items())
        if (auto *shown = dynamic_cast<PlainTextItem *>(item); shown && !text.contains(shown->toPlainText().simplified()))
            missing << shown->toPlainText();
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(" | ")));
    QVERIFY(text.contains("Übersicht Begünstigte") && text.contains("Total:"));
}

QTEST_MAIN(TestBackups)
#include "tst_backups.moc"
