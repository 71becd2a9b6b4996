#pragma once

#include <QString>

// Opens the year file as the program's default connection, read-only when
// asked. On failure the "Database Error" box is shown and false returned.
bool openDatabase(const QString &path, bool readOnly = false);

// Closes the default connection and forgets it, so that another file can be
// opened in its place.
void closeDatabase();
