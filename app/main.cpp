#include "applwindow.h"
#include "yearfileopener.h"

#include <QApplication>
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

    // Locks, checks and opens the year file; it says itself why not.
    YearFileOpener yearFile;
    if (!yearFile.open())
        return 1;

    // A file that may not be written is shown for viewing only, with its reason.
    auto *window = new ApplWindow(yearFile.isArchiveInUse(), yearFile.readOnlyReason());
    window->setWindowIcon(windowIcon());
    window->show();
    const int exitCode = app.exec();
    delete window;
    return exitCode;
}
