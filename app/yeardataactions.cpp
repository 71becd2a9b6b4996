#include "yeardataactions.h"

#include "archivefileinfo.h"
#include "backupform.h"
#include "backupstore.h"
#include "colorsetting.h"
#include "csvexport.h"
#include "pdfexport.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QSqlDatabase>
#include <QWidget>

YearDataActions::YearDataActions(QWidget *window)
    : m_window(window)
{
}

QString YearDataActions::exportFolder()
{
    QString yearText;
    const int year = ColorSetting::instance()->getSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("CURRENT_YEAR"),
                                                          yearText);
    // A file not stamped yet belongs to the running year.
    return QStringLiteral("./Export/") + QString::number(year > 1 ? year : QDate::currentDate().year());
}

void YearDataActions::writeStartBackup(QWidget *window)
{
    QString err;
    if (BackupStore().write(err).isEmpty())
        QMessageBox::warning(window, tr("Keine neue Sicherung"),
                             tr("Es wurde keine neue Sicherung der Finanzdatei angelegt; das Programm arbeitet "
                                "trotzdem weiter.\n\n%1").arg(err),
                             QMessageBox::Ok);
}

bool YearDataActions::showBackups(const QString &viewOnlyReason)
{
    const QString openFile = QFileInfo(QSqlDatabase::database().databaseName()).fileName();
    QString refusal = viewOnlyReason;
    if (ArchiveFileInfo::isArchiveName(openFile))
        refusal = tr("Ein archiviertes Jahr kann nicht zurückgeholt werden; die Sicherungen gehören zur "
                     "Finanzdatei des laufenden Jahres.");
    BackupForm dialog(refusal, m_window);
    dialog.exec();
    if (!dialog.restored())
        return false;
    if (m_window)
        m_window->close();
    return true;
}

void YearDataActions::exportCsv()
{
    const QString folder = exportFolder();
    CsvExport csv(folder);
    QString err;
    if (!csv.write(err)) {
        QMessageBox::warning(m_window, tr("Export"), tr("Der Export ist fehlgeschlagen:\n%1").arg(err),
                             QMessageBox::Ok);
        return;
    }
    QMessageBox::information(m_window, tr("Export"),
                             tr("Die Daten wurden in den Ordner %1 geschrieben: ausgaben.csv, bewegungen.csv und "
                                "konten.csv mit zusammen %2 Zeilen.")
                                 .arg(QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath()))
                                 .arg(csv.lineCount()),
                             QMessageBox::Ok);
}

void YearDataActions::exportPdf(QGraphicsScene *scene, const QString &title)
{
    const QString folder = exportFolder();
    const QString path = folder + QLatin1Char('/') + PdfExport::fileName(title);
    QString err;
    if (!QDir().mkpath(folder))
        err = tr("Der Ordner %1 kann nicht angelegt werden.").arg(QDir::toNativeSeparators(folder));
    if (!err.isEmpty() || !PdfExport::write(scene, title, path, err)) {
        QMessageBox::warning(m_window, tr("als PDF"), err, QMessageBox::Ok);
        return;
    }
    QMessageBox::information(m_window, tr("als PDF"),
                             tr("Der Bericht wurde in die Datei %1 geschrieben.")
                                 .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())),
                             QMessageBox::Ok);
}
