#include "applwindow.h"
#include "archivefileinfo.h"
#include "database.h"
#include "fileprivacy.h"
#include "schema.h"
#include "yearfilecheck.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLockFile>
#include <QMessageBox>

// Qt looks for plug-ins beside the program too; the system's own folders
// stay in the list, or Debian's SQLite driver would not be found.
static void addPluginFolders()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    QCoreApplication::addLibraryPath(appDir);
    QCoreApplication::addLibraryPath(appDir + QStringLiteral("/plugins"));
}

static QIcon windowIcon()
{
    const QString iconFile = QStringLiteral("./Logo.ico");
    return QIcon(QFile::exists(iconFile) ? iconFile : QStringLiteral(":/images/Logo.ico"));
}

static int refuse(const QString &title, const QString &text)
{
    QMessageBox::warning(nullptr, title, text, QMessageBox::Ok);
    return 1;
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    addPluginFolders();

    ArchiveFileInfo archive;
    const QString fileName = archive.currentFileName();

    // One program at a time per year file; a lock left by a program that
    // died is taken over.
    QLockFile lock(fileName + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    if (QDir(ArchiveFileInfo::dataFolder()).exists() && !lock.tryLock(0)
        && lock.error() == QLockFile::LockFailedError) {
        return refuse(QObject::tr("Finanzdatei in Gebrauch"),
                      QObject::tr("Die Finanzdatei %1 wird bereits von einem anderen laufenden Zolvex "
                                  "verwendet. Bitte zuerst jenes Programm beenden.")
                          .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath())));
    }

    bool readOnly = false;
    const QString problem = YearFileCheck::inspectBeforeOpen(fileName, readOnly);
    if (!problem.isEmpty())
        return refuse(QObject::tr("Finanzdatei unbrauchbar"), problem);

    // Opening an SQLite file creates it, so ask first.
    const bool isNew = !QFile::exists(fileName);
    if (!openDatabase(fileName, readOnly))
        return 1;
    if (isNew) {
        qDebug() << "new Db-file! ";
        restrictToOwner(fileName);
        YearFileCheck::applySafetySettings();
        createTables();
    } else {
        const QString damage = YearFileCheck::verifyOpenedFile(fileName);
        if (!damage.isEmpty())
            return refuse(QObject::tr("Finanzdatei unbrauchbar"), damage);
        if (!readOnly)
            YearFileCheck::applySafetySettings();
    }
    if (readOnly) {
        QMessageBox::information(nullptr, QObject::tr("Finanzdatei schreibgeschützt"),
                                 QObject::tr("Die Finanzdatei %1 ist schreibgeschützt. Sie wird nur zum Ansehen "
                                             "geöffnet; Buchungen sind nicht möglich.")
                                     .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath())),
                                 QMessageBox::Ok);
    }

    // A file that may not be written is shown like an archived year.
    auto *window = new ApplWindow(archive.isArchiveInUse() || readOnly);
    window->setWindowIcon(windowIcon());
    window->show();
    const int exitCode = app.exec();
    delete window;
    return exitCode;
}
