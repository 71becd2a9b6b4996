#include "yearchange.h"

#include "verifiedcopy.h"

#include "archivefileinfo.h"
#include "colorsetting.h"
#include "historyfileform.h"
#include "yearrollover.h"
#include "yeardataactions.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QWidget>

namespace {

const char *const yearCategory = "MY_ZOLVEX";
const char *const yearName = "CURRENT_YEAR";

} // namespace

YearChange::YearChange(QWidget *window)
    : m_window(window)
{
}

YearState YearChange::checkYearState(const QString &yearText, bool readOnly)
{
    ColorSetting *settings = ColorSetting::instance();
    QString version;
    if (!readOnly
        && settings->getSetting(QStringLiteral("TRANSITION"), QLatin1String(yearName), version) == 2015) {
        QMessageBox::information(m_window, QObject::tr("Old stuff"), QObject::tr("Category: Transition!"),
                                 QMessageBox::Ok);
        settings->resetSettings();
    }

    QString fileYear;
    const int value = settings->getSetting(QLatin1String(yearCategory), QLatin1String(yearName), fileYear);
    if (value == 1 && !readOnly) {
        fileYear = yearText;
        settings->updateSetting(QLatin1String(yearCategory), QLatin1String(yearName), yearText.toInt(),
                                yearText);
    }
    YearState state = YearState::Current;
    if (readOnly)
        state = YearState::WriteProtected;
    else if (fileYear.toInt() > yearText.toInt())
        state = YearState::Later;   // a clock behind the file never moves the year back
    else if (fileYear != yearText)
        state = YearState::Past;
    if (state != YearState::Current)
        settings->setYearCurrent(false);
    return state;
}

bool YearChange::changeYear()
{
    const int year = QDate::currentDate().year();
    QString fileYear;
    const int closedYear =
        ColorSetting::instance()->getSetting(QLatin1String(yearCategory), QLatin1String(yearName), fileYear);
    // The year only ever moves forward.
    if (closedYear >= year)
        return false;

    QMessageBox ask(QMessageBox::Warning,
                    QObject::tr("Finanzdaten für das aktuelle Jahr vorbereiten"),
                    QObject::tr("Die Daten aus dem vorliegenden Jahr können weiter eingesehen, jedoch keine "
                                "weiteren Einträge erfasst werden!\n\nSollen die Daten für das aktuelle Jahr "
                                "vorbereitet werden?"),
                    QMessageBox::NoButton, m_window, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    QPushButton *yes = ask.addButton(QObject::tr("Ja"), QMessageBox::AcceptRole);
    ask.addButton(QObject::tr("Nein"), QMessageBox::RejectRole);
    ask.exec();
    if (ask.clickedButton() != yes)
        return false;

    YearDataActions::writeStartBackup(m_window);
    // Nothing of the old year is cleared unless its copy is safely on disk.
    QString err;
    QString olderKeptAs;
    const QFileInfo file(ArchiveFileInfo::currentYearFile());
    if (!archiveYearFile(file, err, &olderKeptAs)) {
        if (!err.isEmpty())
            QMessageBox::warning(m_window, QObject::tr("Jahreswechsel abgebrochen"),
                                 QObject::tr("Die Finanzdatei konnte nicht gesichert werden, daher wurde "
                                             "nichts verändert.\n\n%1").arg(err),
                                 QMessageBox::Ok);
        return false;
    }
    const QString archive = file.absolutePath() + QLatin1Char('/') + file.baseName() + QLatin1Char('_')
                            + fileYear + QStringLiteral(".dat");

    const qint64 bookingsBefore = bookingCount();
    YearRollover rollover(closedYear, year);
    if (!rollover.run(err)) {
        QString text;
        if (fileIsUnchanged(closedYear, bookingsBefore)) {
            // The year stays as it was, and so do the archives.
            QFile::remove(archive);
            if (!olderKeptAs.isEmpty())
                QFile::rename(olderKeptAs, archive);
            text = QObject::tr("Die Daten konnten nicht für das neue Jahr vorbereitet werden, "
                               "die Finanzdatei ist unverändert.\n\n%1").arg(err);
        } else {
            text = QObject::tr("Die Daten konnten nicht für das neue Jahr vorbereitet werden, die Finanzdatei "
                               "ist möglicherweise teilweise verändert. Das alte Jahr ist in %1 gesichert."
                               "\n\n%2").arg(QDir::toNativeSeparators(archive), err);
        }
        QMessageBox::warning(m_window, QObject::tr("Jahreswechsel abgebrochen"), text, QMessageBox::Ok);
        return false;
    }
    ColorSetting::instance()->setYearCurrent(true);

    QString text = QObject::tr("Die alte Finanzdatei wurde gesichert, das Programm wird nun "
                               "heruntergefahren, bitte anschliessend neu starten!");
    if (!olderKeptAs.isEmpty())
        text += QObject::tr("\n\nDie bereits vorhandene Sicherung dieses Jahres wurde nicht überschrieben, "
                            "sie heisst jetzt %1.").arg(QFileInfo(olderKeptAs).fileName());
    if (rollover.keptBookings() > 0)
        text += QObject::tr("\n\n%1 Buchung(en) mit Datum nach dem 31.12.%2 wurden in das neue Jahr "
                            "übernommen; die Salden bleiben unverändert.")
                    .arg(rollover.keptBookings()).arg(fileYear);
    QMessageBox::information(m_window, QObject::tr("Finanzdaten aktualisiert"), text, QMessageBox::Ok);
    if (m_window)
        m_window->close();
    return true;
}

bool YearChange::archiveYearFile(const QFileInfo &file, QString &err, QString *olderKeptAs)
{
    QString fileYear;
    ColorSetting::instance()->getSetting(QLatin1String(yearCategory), QLatin1String(yearName), fileYear);

    QFile source(file.filePath());
    if (!source.open(QIODevice::ReadOnly)) {
        QMessageBox::information(m_window, QObject::tr("File-Info"),
                                 QObject::tr("Die Datei konnte nicht gefunden werden!"), QMessageBox::Ok);
        err.clear();    // the box above already told the user
        return false;
    }
    source.close();

    const QString folder = file.absolutePath();
    const QString target = folder + QLatin1Char('/') + file.baseName() + QLatin1Char('_') + fileYear
                           + QStringLiteral(".dat");
    // The copy is made under a name that no year-file list shows and
    // checked before it takes the archive's name.
    const QString partial = folder + QStringLiteral("/.") + file.baseName() + QLatin1Char('_') + fileYear
                            + QStringLiteral(".dat.part");
    const QString problem = VerifiedCopy::snapshotOpenFile(partial);
    if (!problem.isEmpty()) {
        err = QObject::tr("Die Kopie %1 konnte nicht geprüft geschrieben werden: %2")
                  .arg(QDir::toNativeSeparators(target), problem);
        return false;
    }
    // An archive of the same year is never overwritten; it moves aside.
    QString older;
    if (QFileInfo(target).isFile()) {
        older = olderArchiveName(target);
        if (!QFile::rename(target, older)) {
            err = QObject::tr("Die vorhandene Sicherung %1 konnte nicht umbenannt werden.")
                      .arg(QDir::toNativeSeparators(target));
            QFile::remove(partial);
            return false;
        }
    }
    if (!QFile::rename(partial, target)) {
        err = QObject::tr("Die Kopie konnte nicht unter dem Namen %1 abgelegt werden.")
                  .arg(QDir::toNativeSeparators(target));
        QFile::remove(partial);
        if (!older.isEmpty())
            QFile::rename(older, target);
        return false;
    }
    if (olderKeptAs)
        *olderKeptAs = older;
    return true;
}

// "finanzen_2025.dat" -> "finanzen_2025_alt_20260103-101500.dat": the time
// of the move shows it is older, and the year-file list does not take it
// for a year of its own.
QString YearChange::olderArchiveName(const QString &archive)
{
    const QFileInfo info(archive);
    const QString stem = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("_alt_")
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = stem + QStringLiteral(".dat");
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = stem + QLatin1Char('_') + QString::number(n) + QStringLiteral(".dat");
    return name;
}

qint64 YearChange::bookingCount()
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("SELECT (SELECT COUNT(*) FROM konto_bewegungen) + (SELECT COUNT(*) FROM "
                                   "ausgaben_detail) + (SELECT COUNT(*) FROM ausgaben) + (SELECT COUNT(*) FROM "
                                   "einnahmen)"))
        || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

bool YearChange::fileIsUnchanged(int closedYear, qint64 bookingsBefore)
{
    QString version;
    const int stamped =
        ColorSetting::instance()->getSetting(QLatin1String(yearCategory), QLatin1String(yearName), version);
    return stamped == closedYear && bookingsBefore >= 0 && bookingCount() == bookingsBefore;
}

bool YearChange::chooseYearFile()
{
    HistoryFileForm form;
    if (form.exec() != QDialog::Accepted)
        return false;
    const QString fileName = form.selectedFile();
    qDebug() << "HistoryFileForm::HistoryFileDialog - " << fileName;
    QMessageBox::information(m_window, QObject::tr("Finanzdatei gewählt"),
                             QObject::tr("Das Programm wird nun heruntergefahren, beim nächsten Start der "
                                         "Applikation wird die gewählte Datei einbezogen!"),
                             QMessageBox::Ok);
    ArchiveFileInfo().setCurrentFile(fileName);
    if (m_window)
        m_window->close();
    return true;
}
