#pragma once

#include <QString>
#include <QStringList>

// Knows which year file is in use, which archived year files lie in ./Data,
// and reads and writes the choice file that names the file for the next start.
class ArchiveFileInfo
{
public:
    ArchiveFileInfo();

    bool isArchiveInUse() const { return m_archiveInUse; }
    bool hasArchiveFiles() const { return m_archivesExist; }

    // Path of the year file to open; notes whether it is an archived one.
    QString currentFileName();
    // Records the user's choice (a bare file name) for the next start.
    void setCurrentFile(const QString &fileName);
    // Appends the selectable year files other than the one in use.
    void otherFiles(QStringList &files);

    // True for "finanzen_20<yy>.dat", the only names archived files have.
    static bool isArchiveName(const QString &fileName);

    static QString dataFolder() { return QStringLiteral("./Data/"); }
    static QString currentYearFile() { return QStringLiteral("./Data/finanzen.dat"); }
    static QString choiceFile() { return QStringLiteral("./Data/finance_file.txt"); }

private:
    QStringList archiveFiles() const;

    bool m_archiveInUse = false;
    bool m_archivesExist = false;
};
