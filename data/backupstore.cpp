#include "backupstore.h"

#include "verifiedcopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

namespace {

const QString NameTimeFormat = QStringLiteral("yyyy-MM-dd_HHmmss");
// "finanzen_2025-03-01_081500.dat", a second copy of the same second "_2".
const QRegularExpression CopyName(QStringLiteral("^finanzen_(\\d{4}-\\d\\d-\\d\\d_\\d{6})(?:_(\\d+))?\\.dat$"));

double scalar(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    return query.exec(sql) && query.next() ? query.value(0).toDouble() : 0.0;
}

// Checks a copy and, when asked, reads what it holds.
QString inspect(const QString &path, QMap<QString, qint64> &counts, BackupStore::Copy *holds = nullptr)
{
    return VerifiedCopy::inspect(path, counts, [&](const QSqlDatabase &db) {
        if (!holds)
            return;
        holds->expenses = counts.value(QStringLiteral("ausgaben"));
        holds->movements = counts.value(QStringLiteral("konto_bewegungen"));
        holds->balanceSum = scalar(db, QStringLiteral("SELECT TOTAL(betrag) FROM konten"));
    });
}

QString temporaryName(const QString &path)
{
    const QFileInfo info(path);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".part");
}

} // namespace

BackupStore::BackupStore(const QString &folder)
    : m_folder(folder)
{
}

QString BackupStore::newCopyName() const
{
    const QString stamp = QDateTime::currentDateTime().toString(NameTimeFormat);
    const QString stem = m_folder + QStringLiteral("/finanzen_") + stamp;
    // Numbered past the newest copy of the same second, so that the new copy
    // sorts as the newest even where older ones of that second were removed.
    const QRegularExpressionMatch newest = CopyName.match(copyNames().value(0));
    int n = newest.captured(1) == stamp ? qMax(1, newest.captured(2).toInt()) + 1 : 1;
    const auto nameFor = [&stem](int k) {
        return stem + (k > 1 ? QStringLiteral("_%1.dat").arg(k) : QStringLiteral(".dat"));
    };
    while (QFileInfo::exists(nameFor(n)))
        ++n;
    return nameFor(n);
}

QString BackupStore::write(QString &err, const QString &keep)
{
    const QString shownFolder = QDir::toNativeSeparators(QFileInfo(m_folder).absoluteFilePath());
    if (!QDir().mkpath(m_folder)
        || !QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                | QFileDevice::ExeOwner)) {
        err = tr("Der Ordner %1 kann nicht angelegt werden.").arg(shownFolder);
        return QString();
    }
    const QString copy = newCopyName();
    const QString partial = temporaryName(copy);
    QString reason = VerifiedCopy::snapshotOpenFile(partial);
    if (reason.isEmpty() && !QFile::rename(partial, copy))
        reason = tr("Die Kopie konnte nicht umbenannt werden.");
    if (!reason.isEmpty()) {
        QFile::remove(partial);
        err = tr("In %1 konnte keine geprüfte Sicherung geschrieben werden:\n%2").arg(shownFolder, reason);
        return QString();
    }
    // Old copies go only once the new one is safely there.
    prune(keep);
    return copy;
}

// Copy names, newest first.
QStringList BackupStore::copyNames() const
{
    QMap<QString, QString> byAge;
    const QStringList names = QDir(m_folder).entryList({QStringLiteral("finanzen_*.dat")}, QDir::Files);
    for (const QString &name : names) {
        const QRegularExpressionMatch match = CopyName.match(name);
        if (match.hasMatch())
            byAge.insert(match.captured(1) + QStringLiteral("_%1").arg(match.captured(2).toInt(), 6, 10,
                                                                        QLatin1Char('0')), name);
    }
    QStringList newestFirst;
    for (auto it = byAge.constEnd(); it != byAge.constBegin();)
        newestFirst << *--it;
    return newestFirst;
}

void BackupStore::prune(const QString &keep) const
{
    const QStringList names = copyNames();
    for (int i = Kept; i < names.size(); ++i) {
        const QString path = m_folder + QLatin1Char('/') + names.at(i);
        if (keep.isEmpty() || QFileInfo(path) != QFileInfo(keep))
            QFile::remove(path);
    }
}

QList<BackupStore::Copy> BackupStore::list() const
{
    QList<Copy> copies;
    for (const QString &name : copyNames()) {
        Copy copy;
        copy.path = m_folder + QLatin1Char('/') + name;
        copy.written = QDateTime::fromString(CopyName.match(name).captured(1), NameTimeFormat);
        QMap<QString, qint64> counts;
        if (inspect(copy.path, counts, &copy).isEmpty())
            copies << copy;
    }
    return copies;
}

bool BackupStore::restore(const QString &copyPath, QString &err)
{
    // Behind a link, the real file is replaced and the link kept.
    const QString yearFile = QFileInfo(QSqlDatabase::database().databaseName()).canonicalFilePath();
    const QString partial = temporaryName(yearFile);
    QMap<QString, qint64> counts;
    QMap<QString, qint64> copied;
    QString reason = inspect(copyPath, counts);
    if (!reason.isEmpty()) {
        err = tr("Die Sicherung %1 ist beschädigt und wird nicht zurückgeholt:\n%2")
                  .arg(QDir::toNativeSeparators(copyPath), reason);
        return false;
    }
    // What is there now stays restorable too; the chosen copy is not pruned.
    if (write(err, copyPath).isEmpty())
        return false;
    QFile::remove(partial);
    if (!QFile::copy(copyPath, partial) || !inspect(partial, copied).isEmpty() || copied != counts) {
        QFile::remove(partial);
        err = tr("Die Sicherung konnte nicht neben die Finanzdatei kopiert werden; es wurde nichts verändert.");
        return false;
    }
    QFile::setPermissions(partial, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // The year file is replaced in one step, with no connection open on it.
    const QString connection = QSqlDatabase::database().connectionName();
    QSqlDatabase::database().close();
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(yearFile).constData()) != 0) {
        QFile::remove(partial);
        QSqlDatabase::database(connection).open();
        err = tr("Die Finanzdatei konnte nicht ersetzt werden; sie ist unverändert.");
        return false;
    }
    return true;
}
