#pragma once

#include <QString>

// A copy of a year file beside it, taken before the file is changed in a
// way that cannot be undone from inside the program (an upgrade of its
// format). Existing files are never overwritten.
namespace VerifiedCopy {

// Writes the copy under the first free name "<base>_vor_<what>[_n].dat" and
// checks it: it opens read-only, passes SQLite's integrity check and holds
// as many rows in every table as the original. Returns the copy's path, or
// an empty text and err (German) saying why no usable copy exists.
QString write(const QString &path, const QString &what, QString &err);

} // namespace VerifiedCopy
