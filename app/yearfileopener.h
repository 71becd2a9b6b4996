#pragma once

#include "archivefileinfo.h"
#include "yearfilelock.h"

#include <QString>

// Brings the year file named by ./Data to an open, usable state on the
// default connection, or says why not: locks it, creates a new one, checks
// an existing one, brings a file of version 1.3 up to date when the user
// agrees, and opens files it must not change for viewing only. Every
// refusal is shown in a German box. The lock lives as long as the object.
class YearFileOpener
{
public:
    YearFileOpener();

    // True when the file is open; false when the program must end.
    bool open();

    QString fileName() const { return m_fileName; }
    bool isArchiveInUse() const { return m_archive.isArchiveInUse(); }
    bool isReadOnly() const { return !m_readOnlyReason.isEmpty(); }
    // Why the file is open for viewing only (German), empty when writable.
    QString readOnlyReason() const { return m_readOnlyReason; }

private:
    enum class Result { Opened, Unusable, End };

    Result openFile();
    Result openExisting();
    Result offerUpgrade();
    bool forgetUnusableArchive(const QString &problem);
    void refuse(const QString &title, const QString &text) const;

    ArchiveFileInfo m_archive;
    YearFileLock m_lock;
    QString m_fileName;
    QString m_readOnlyTitle;
    QString m_readOnlyReason;
    QString m_problem;
};
