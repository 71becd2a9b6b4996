#pragma once

#include <QFile>
#include <QString>

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
