#pragma once

#include <QString>

// Checks of the year file made at start, so that a damaged, foreign or
// incomplete file is reported instead of being used, "repaired" or
// overwritten. Each check returns an empty text when all is well, otherwise
// a German sentence for the user that names the file.
namespace YearFileCheck {

// Before opening: an existing file of 0 bytes is refused; a file the user
// may not write to is opened read-only (readOnly set to true).
QString inspectBeforeOpen(const QString &path, bool &readOnly);

// After opening on the default connection: the file must be an intact
// SQLite database holding every table and column the program uses.
QString verifyOpenedFile(const QString &path);

// After opening: true for a file of schema version 1.3 (no settings table,
// movements without income source, income sources without VAT rate) that
// is otherwise complete, so that it can be brought up to date.
bool isVersion13File();

// After opening: true when the file was written by a newer program version,
// which this program must never rewrite.
bool isNewerVersion();

// Settings that protect a single-user file against a crash mid-posting,
// without changing the file format: rollback journal, full sync, and a
// wait instead of an immediate failure when the file is busy.
void applySafetySettings();

} // namespace YearFileCheck
