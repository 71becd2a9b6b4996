#pragma once

#include <QFileInfo>
#include <QString>

class QWidget;

// The year state of the open file, the change to a new bookkeeping year and
// the choice of the year file for the next start. Both the change and the
// choice end the program by closing the given window.
class YearChange
{
public:
    explicit YearChange(QWidget *window);

    // Stamps a fresh file with the running year and notes whether the open
    // file belongs to it.
    void checkYearState(const QString &yearText);
    // Asks, archives ./Data/finanzen.dat and prepares it for the running
    // year. Returns true when the year was changed and the window closed.
    bool changeYear();
    // Writes a checked copy of the file as <base>_<year>.dat beside it.
    // On failure err says why (German) and no archive was touched.
    bool archiveYearFile(const QFileInfo &file, QString &err);
    // Lets the user pick the file for the next start; true when chosen.
    bool chooseYearFile();

    // Empties the bookings, carries every balance forward and stamps the
    // year, all in one transaction.
    static bool startNewYear(int year, const QString &yearText, QString &err);

private:
    static bool verifyCopy(const QString &copyPath, QString &err);

    QWidget *m_window;
};
