#include "verifiedcopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const char *const copyConnection = "verified-copy";

QString freeName(const QFileInfo &file, const QString &what)
{
    const QString stem = file.absolutePath() + QLatin1Char('/') + file.completeBaseName()
        + QStringLiteral("_vor_") + what;
    QString name = stem + QStringLiteral(".dat");
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = stem + QStringLiteral("_%1.dat").arg(n);
    return name;
}

bool copyBytes(const QString &from, const QString &to, QString &err)
{
    QFile source(from);
    QFile target(to);
    // NewOnly: an existing file of that name is never overwritten.
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        err = source.isOpen() ? target.errorString() : source.errorString();
        return false;
    }
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty() || target.write(block) != block.size()) {
            err = target.errorString();
            return false;
        }
    }
    if (!target.flush()) {
        err = target.errorString();
        return false;
    }
    target.close();
    return true;
}

} // namespace

namespace VerifiedCopy {

QMap<QString, qint64> rowCounts(const QSqlDatabase &db, bool &ok)
{
    QMap<QString, qint64> counts;
    ok = true;
    for (const QString &table : db.tables(QSql::Tables)) {
        QSqlQuery query(db);
        // Table names come from the file itself, never from the user.
        ok = ok && query.exec(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)) && query.next();
        counts.insert(table, query.value(0).toLongLong());
    }
    return counts;
}

QString inspect(const QString &path, QMap<QString, qint64> &counts,
                const std::function<void(const QSqlDatabase &)> &readMore)
{
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(copyConnection));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        bool countsOk = false;
        if (!db.open()) {
            problem = db.lastError().text();
        } else {
            QSqlQuery check(db);
            if (!check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next())
                problem = check.lastError().text().isEmpty() ? QObject::tr("unlesbar") : check.lastError().text();
            else if (check.value(0).toString() != QLatin1String("ok"))
                problem = check.value(0).toString();
            else if (counts = rowCounts(db, countsOk), !countsOk || counts.isEmpty())
                problem = QObject::tr("Die Tabellen der Kopie sind nicht lesbar.");
            check.finish();
            if (problem.isEmpty() && readMore)
                readMore(db);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(copyConnection));
    return problem;
}

QString snapshotOpenFile(const QString &partial)
{
    QFile::remove(partial);
    QSqlQuery vacuum;
    vacuum.prepare(QStringLiteral("VACUUM INTO :target"));
    vacuum.bindValue(QStringLiteral(":target"), partial);
    QString problem;
    if (!vacuum.exec()) {
        problem = vacuum.lastError().text();
    } else {
        QFile::setPermissions(partial, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        bool ok = false;
        const QMap<QString, qint64> original = rowCounts(QSqlDatabase::database(), ok);
        QMap<QString, qint64> copied;
        if (!ok)
            problem = QObject::tr("Die Finanzdatei ist nicht lesbar.");
        else if (problem = inspect(partial, copied), problem.isEmpty() && copied != original)
            problem = QObject::tr("Die Kopie enthält nicht in jeder Tabelle gleich viele Zeilen wie das Original.");
    }
    if (!problem.isEmpty())
        QFile::remove(partial);
    return problem;
}

QString write(const QString &path, const QString &what, QString &err)
{
    const QString copy = freeName(QFileInfo(path), what);
    const QString shownCopy = QDir::toNativeSeparators(copy);
    QMap<QString, qint64> original;
    QMap<QString, qint64> copied;
    QString reason;
    if (!copyBytes(path, copy, reason)) {
        QFile::remove(copy);
        err = QObject::tr("Die Sicherungskopie %1 konnte nicht geschrieben werden:\n%2").arg(shownCopy, reason);
        return QString();
    }
    reason = inspect(path, original);
    if (reason.isEmpty())
        reason = inspect(copy, copied);
    if (reason.isEmpty() && copied != original)
        reason = QObject::tr("Die Kopie enthält nicht in jeder Tabelle gleich viele Zeilen wie das Original.");
    if (!reason.isEmpty()) {
        QFile::remove(copy);
        err = QObject::tr("Die Sicherungskopie %1 ist nicht in Ordnung und wurde wieder entfernt:\n%2")
                  .arg(shownCopy, reason);
        return QString();
    }
    return copy;
}

} // namespace VerifiedCopy
