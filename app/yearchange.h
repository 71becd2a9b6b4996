#pragma once

#include <QFileInfo>
#include <QString>

class QWidget;

// How the open file stands to the running year, as the main menu shows it.
// Only a past year of the current file may be changed to the running one.
enum class YearState { Current, Past, Archived, Later, WriteProtected };

// The year state of the open file, the change to a new bookkeeping year and
// the choice of the year file for the next start. Both the change and the
// choice end the program by closing the given window.
class YearChange
{
public:
    explicit YearChange(QWidget *window);

    // Stamps a fresh file with the running year and notes whether the open
    // file belongs to it. A file that may not be written is not stamped and
    // never counts as current.
    YearState checkYearState(const QString &yearText, bool readOnly = false);
    // Asks, archives ./Data/finanzen.dat and prepares it for the running
    // year. Returns true when the year was changed and the window closed.
    bool changeYear();
    // Writes a checked copy of the file as <base>_<year>.dat beside it. An
    // archive already there is kept under an older name (olderKeptAs).
    // On failure err says why (German) and no archive was touched.
    bool archiveYearFile(const QFileInfo &file, QString &err, QString *olderKeptAs = nullptr);
    // Lets the user pick the file for the next start; true when chosen.
    bool chooseYearFile();

private:
    static QString olderArchiveName(const QString &archive);
    // After a failed change: true when the file still holds the closed year.
    static bool fileIsUnchanged(int closedYear, qint64 bookingsBefore);
    static qint64 bookingCount();

    QWidget *m_window;
};
