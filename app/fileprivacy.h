#pragma once

#include <QFile>
#include <QString>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

// Household finance data is private: the year files, archives and the
// choice file are readable and writable by their owner only.
inline bool restrictToOwner(QFile &file)
{
    return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

inline bool restrictToOwner(const QString &path)
{
    return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// Every file the process creates from now on (year files, their journals,
// archive copies, locks) is private from its first byte.
inline void makeNewFilesPrivate()
{
#ifdef Q_OS_UNIX
    ::umask(077);
#endif
}
