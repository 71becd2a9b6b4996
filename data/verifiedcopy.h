#pragma once

#include <QMap>
#include <QString>

#include <functional>

class QSqlDatabase;

// Copies of a year file that are only trusted once checked: the copy opens
// read-only, passes SQLite's integrity check and holds as many rows in
// every table as the original. Archives, backups and the copy before an
// upgrade are all made and checked here. Existing files are never
// overwritten.
namespace VerifiedCopy {

// Rows of every table of the file behind the connection; ok false when a
// table could not be counted.
QMap<QString, qint64> rowCounts(const QSqlDatabase &db, bool &ok);

// Opens path read-only on a connection of its own. Empty when the file is
// intact (counts then holds its rows, and readMore, when given, may read
// more from it before it is closed), otherwise why not.
QString inspect(const QString &path, QMap<QString, qint64> &counts,
                const std::function<void(const QSqlDatabase &)> &readMore = {});

// Writes the file open on the default connection to partial as one
// consistent snapshot, private to the owner, and checks it against the
// open file's rows. Empty when the copy is good (the caller gives it its
// final name); otherwise the copy is removed and the text says why.
QString snapshotOpenFile(const QString &partial);

// Writes a byte copy of the closed or idle file at path under the first
// free name "<base>_vor_<what>[_n].dat" beside it and checks it. Returns
// the copy's path, or an empty text and err (German) saying why no usable
// copy exists.
QString write(const QString &path, const QString &what, QString &err);

} // namespace VerifiedCopy
