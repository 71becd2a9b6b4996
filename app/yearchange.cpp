#include "yearchange.h"

#include "archivefileinfo.h"
#include "colorsetting.h"
#include "dataprovider.h"
#include "dbtransaction.h"
#include "fileprivacy.h"
#include "historyfileform.h"

#include <QDate>
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

#include <cstdio>

namespace {

const char *const yearCategory = "MY_ZOLVEX";
const char *const yearName = "CURRENT_YEAR";

// Row counts of every table of the file behind the connection.
QMap<QString, qint64> tableCounts(const QSqlDatabase &db, bool *ok)
{
    QMap<QString, qint64> counts;
    *ok = true;
    const QStringList tables = db.tables(QSql::Tables);
    for (const QString &table : tables) {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)) || !query.next()) {
            *ok = false;
            continue;
        }
        counts.insert(table, query.value(0).toLongLong());
    }
    return counts;
}

} // namespace

YearChange::YearChange(QWidget *window)
    : m_window(window)
{
}

void YearChange::checkYearState(const QString &yearText)
{
    ColorSetting *settings = ColorSetting::instance();
    QString version;
    if (settings->getSetting(QStringLiteral("TRANSITION"), QLatin1String(yearName), version) == 2015) {
        QMessageBox::information(m_window, QObject::tr("Old stuff"), QObject::tr("Category: Transition!"),
                                 QMessageBox::Ok);
        settings->resetSettings();
    }

    QString fileYear;
    const int value = settings->getSetting(QLatin1String(yearCategory), QLatin1String(yearName), fileYear);
    if (value == 1) {
        fileYear = yearText;
        settings->updateSetting(QLatin1String(yearCategory), QLatin1String(yearName), yearText.toInt(),
                                yearText);
    }
    if (fileYear != yearText)
        settings->setYearCurrent(false);
}

bool YearChange::changeYear()
{
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

    const int year = QDate::currentDate().year();
    const QString yearText = QString::number(year);

    // Nothing of the old year is cleared unless its copy is safely on disk.
    QString err;
    if (!archiveYearFile(QFileInfo(ArchiveFileInfo::currentYearFile()), err)) {
        if (!err.isEmpty())
            QMessageBox::warning(m_window, QObject::tr("Jahreswechsel abgebrochen"),
                                 QObject::tr("Die Finanzdatei konnte nicht gesichert werden, daher wurde "
                                             "nichts verändert.\n\n%1").arg(err),
                                 QMessageBox::Ok);
        return false;
    }
    if (!startNewYear(year, yearText, err)) {
        QMessageBox::warning(m_window, QObject::tr("Jahreswechsel abgebrochen"),
                             QObject::tr("Die Daten konnten nicht für das neue Jahr vorbereitet werden, "
                                         "die Finanzdatei ist unverändert.\n\n%1").arg(err),
                             QMessageBox::Ok);
        return false;
    }

    QMessageBox::information(m_window, QObject::tr("Finanzdaten aktualisiert"),
                             QObject::tr("Die alte Finanzdatei wurde gesichert, das Programm wird nun "
                                         "heruntergefahren, bitte anschliessend neu starten!"),
                             QMessageBox::Ok);
    if (m_window)
        m_window->close();
    return true;
}

bool YearChange::archiveYearFile(const QFileInfo &file, QString &err)
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
    // The copy is made under a name that no year-file list shows, checked,
    // and only then put in place of an older archive of the same year.
    const QString partial = folder + QStringLiteral("/.") + file.baseName() + QLatin1Char('_') + fileYear
                            + QStringLiteral(".dat.part");
    QFile::remove(partial);

    QSqlQuery vacuum;
    vacuum.prepare(QStringLiteral("VACUUM INTO :target"));
    vacuum.bindValue(QStringLiteral(":target"), partial);
    if (!vacuum.exec()) {
        err = QObject::tr("Die Kopie %1 konnte nicht geschrieben werden: %2")
                  .arg(QDir::toNativeSeparators(target), vacuum.lastError().text());
        QFile::remove(partial);
        return false;
    }
    restrictToOwner(partial);
    if (!verifyCopy(partial, err)) {
        QFile::remove(partial);
        return false;
    }
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0) {
        err = QObject::tr("Die Kopie konnte nicht unter dem Namen %1 abgelegt werden.")
                  .arg(QDir::toNativeSeparators(target));
        QFile::remove(partial);
        return false;
    }
    return true;
}

bool YearChange::verifyCopy(const QString &copyPath, QString &err)
{
    const QString connection = QStringLiteral("archive-check");
    bool same = false;
    {
        QSqlDatabase copy = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        copy.setDatabaseName(copyPath);
        copy.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (copy.open()) {
            bool sourceOk = false;
            bool copyOk = false;
            const auto expected = tableCounts(QSqlDatabase::database(), &sourceOk);
            const auto actual = tableCounts(copy, &copyOk);
            same = sourceOk && copyOk && !expected.isEmpty() && expected == actual;
            copy.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!same)
        err = QObject::tr("Die Kopie der Finanzdatei ist unvollständig.");
    return same;
}

bool YearChange::startNewYear(int year, const QString &yearText, QString &err)
{
    DbTransaction transaction;
    ColorSetting *settings = ColorSetting::instance();
    settings->clearBookings();
    DataProvider::instance()->carryBalancesForward();
    settings->updateSetting(QLatin1String(yearCategory), QLatin1String(yearName), year, yearText);

    // The steps above report nothing themselves: check their outcome before
    // the change is made permanent.
    QSqlQuery check;
    const bool emptied = check.exec(QStringLiteral(
                             "SELECT (SELECT COUNT(*) FROM konto_bewegungen) + (SELECT COUNT(*) FROM ausgaben_detail)"
                             " + (SELECT COUNT(*) FROM ausgaben) + (SELECT COUNT(*) FROM einnahmen)"))
                         && check.next() && check.value(0).toLongLong() == 0;
    const bool carried = check.exec(QStringLiteral("SELECT COUNT(*) FROM konten WHERE initial_betrag <> betrag"))
                         && check.next() && check.value(0).toLongLong() == 0;
    QString stampedYear;
    const bool stamped = settings->getSetting(QLatin1String(yearCategory), QLatin1String(yearName), stampedYear)
                             == year
                         && stampedYear == yearText;
    if (!emptied || !carried || !stamped) {
        err = QObject::tr("Die Buchungen konnten nicht vollständig in das neue Jahr übernommen werden.");
        return false;   // the transaction rolls back
    }
    if (!transaction.commit(err))
        return false;
    settings->setYearCurrent(true);
    return true;
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
