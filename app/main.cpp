#include "applwindow.h"
#include "archivefileinfo.h"
#include "database.h"
#include "fileprivacy.h"
#include "schema.h"

#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QIcon>

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

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    addPluginFolders();

    ArchiveFileInfo archive;
    const QString fileName = archive.currentFileName();

    // Opening an SQLite file creates it, so ask first.
    const bool isNew = !QFile::exists(fileName);
    if (!openDatabase(fileName))
        return 1;
    if (isNew) {
        qDebug() << "new Db-file! ";
        restrictToOwner(fileName);
        createTables();
    }

    auto *window = new ApplWindow(archive.isArchiveInUse());
    window->setWindowIcon(windowIcon());
    window->show();
    const int exitCode = app.exec();
    delete window;
    return exitCode;
}
