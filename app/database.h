#pragma once

#include <QString>

// Opens the year file as the program's default connection. On failure the
// "Database Error" box is shown and false returned.
bool openDatabase(const QString &path);
