#pragma once

#include <QString>

// Opens the year file as the program's default connection, read-only when
// asked. On failure the "Database Error" box is shown and false returned.
bool openDatabase(const QString &path, bool readOnly = false);
