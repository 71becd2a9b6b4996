#include "archivefileinfo.h"

#include "fileprivacy.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

ArchiveFileInfo::ArchiveFileInfo()
{
    m_archivesExist = !archiveFiles().isEmpty();
}

bool ArchiveFileInfo::isArchiveName(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^finanzen_20\\d\\d\\.dat$"));
    return pattern.match(fileName).hasMatch();
}

QStringList ArchiveFileInfo::archiveFiles() const
{
    QDir dir(dataFolder());
    const QStringList candidates = dir.entryList(QStringList{QStringLiteral("finanzen_20*.dat")},
                                                 QDir::Files | QDir::NoSymLinks, QDir::Unsorted);
    QStringList names;
    for (const QString &name : candidates) {
        if (isArchiveName(name))
            names << name;
    }
    return names;
}

QString ArchiveFileInfo::currentFileName()
{
    QString result = currentYearFile();
    QFile choice(choiceFile());
    if (choice.exists() && choice.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&choice);
        const QString line = in.readLine().trimmed();
        // Only a bare year-file name is honoured; a path or anything else
        // could point the program at a file outside ./Data.
        if (isArchiveName(line)) {
            result = dataFolder() + line;
            m_archiveInUse = true;
        }
    }
    if (!QFile::exists(result)) {
        result = currentYearFile();
        m_archiveInUse = false;
    }
    return result;
}

void ArchiveFileInfo::setCurrentFile(const QString &fileName)
{
    if (fileName.contains(QLatin1String("finanzen_20"))) {
        if (!isArchiveName(fileName))
            return;
        QFile choice(choiceFile());
        if (!choice.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            return;
        restrictToOwner(choice);
        QTextStream out(&choice);
        out << fileName;
        out.flush();
        choice.close();
    } else if (QFile::exists(choiceFile())) {
        QFile::remove(choiceFile());
    }
}

void ArchiveFileInfo::otherFiles(QStringList &files)
{
    const QString inUse = currentFileName();
    if (!inUse.contains(QLatin1String("finanzen.dat")))
        files << QStringLiteral("finanzen.dat");
    for (const QString &name : archiveFiles()) {
        if (!inUse.contains(name))
            files << name;
    }
}
