#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// One program at a time per year file. The lock lies beside the real file
// (links followed), so two folders whose ./Data/finanzen.dat lead to one
// file share one lock. Any failure to lock refuses the start with a box.
class YearFileLock
{
public:
    // Locks the file behind path; false (after a box saying why) when the
    // program must not use it.
    bool acquire(const QString &path);
    void release() { m_lock.reset(); }

    // The lock file used for path: the real file's path + ".lock".
    static QString lockPathFor(const QString &path);

private:
    bool takeOverAbandonedLock(const QString &shownFile);

    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
};
