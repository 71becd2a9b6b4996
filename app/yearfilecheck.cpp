#include "yearfilecheck.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

struct TableColumns
{
    const char *table;
    QStringList columns;
};

// Every table and column the program reads or writes.
const QList<TableColumns> &expectedSchema()
{
    static const QList<TableColumns> schema = {
        {"konten", {"id", "startdate", "name", "konto_typ", "stat", "konto_nummer", "initial_betrag", "betrag",
                    "konto_beschreibung"}},
        {"konto_bewegungen", {"id", "startdate", "betrag", "konto_id_von", "konto_id_nach", "tx_typ", "stat",
                              "op_flag", "bemerkung", "zahlungsmittel_id", "ausgabe_id", "tx_id",
                              "einnahme_quelle_id"}},
        {"zahlungsmittel", {"id", "zahlungsmittel_typ", "konto_id", "hat_konto_verbindung", "karten_nummer",
                            "beschreibung", "name"}},
        {"ausgaben_typen", {"id", "name", "budget"}},
        {"ausgaben_sub_typen", {"id", "ausgaben_typ_id", "name"}},
        {"beguenstigte", {"id", "ausgaben_typ_id", "betrag_kumuliert", "betrag_bonus", "beschreibung", "name"}},
        {"ausgaben", {"id", "startdate", "betrag", "beguenstigter", "beguenstigter_id", "zahlungsmittel",
                      "zahlungsmittel_id", "bemerkung", "ausgaben_typ", "ausgaben_typ_id"}},
        {"ausgaben_detail", {"id", "ausgaben_id", "ausgaben_sub_typ_id", "betrag", "bemerkung"}},
        {"einnahme_quelle", {"id", "betrags_volumen", "eq_typ", "stat", "name", "bemerkung", "mwst"}},
        {"einnahmen", {"id", "einnahme_quelle_id", "startdate", "betrag", "konto_id", "zahlungsmittel_id",
                       "bemerkung"}},
        {"settings", {"id", "category", "name", "value", "version"}},
    };
    return schema;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// The schema version this program writes (DB_VERSION 14 = "1.4").
const int programDbVersion = 14;

// Names the first table or column the program needs that the file lacks;
// names in "allowed" (tables or columns) may be missing.
QString missingSchemaPart(const QString &path, const QStringList &allowed)
{
    const QStringList tables = QSqlDatabase::database().tables(QSql::Tables);
    for (const TableColumns &expected : expectedSchema()) {
        const QString table = QString::fromLatin1(expected.table);
        if (allowed.contains(table))
            continue;
        if (!tables.contains(table)) {
            return QObject::tr("In der Finanzdatei %1 fehlt die Tabelle \"%2\". Die Datei wird nicht "
                               "verwendet.").arg(shown(path), table);
        }
        QStringList present;
        QSqlQuery columns;
        columns.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
        while (columns.next())
            present << columns.value(1).toString();
        for (const QString &column : expected.columns) {
            if (!present.contains(column) && !allowed.contains(column)) {
                return QObject::tr("In der Finanzdatei %1 fehlt in der Tabelle \"%2\" die Spalte \"%3\". "
                                   "Die Datei wird nicht verwendet.").arg(shown(path), table, column);
            }
        }
    }
    return QString();
}

} // namespace

namespace YearFileCheck {

QString inspectBeforeOpen(const QString &path, bool &readOnly)
{
    readOnly = false;
    const QFileInfo info(path);
    if (!info.exists())
        return QString();
    if (info.size() == 0)
        return QObject::tr("Die Finanzdatei %1 ist leer (0 Bytes). Sie wird nicht verwendet und nicht "
                           "überschrieben; bitte eine Sicherung zurückkopieren oder die leere Datei entfernen.")
            .arg(shown(path));
    readOnly = !info.isWritable();
    return QString();
}

QString verifyOpenedFile(const QString &path)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next()) {
        return QObject::tr("Die Datei %1 ist keine lesbare Finanzdatei (keine SQLite-Datenbank oder "
                           "beschädigt):\n%2")
            .arg(shown(path), query.lastError().text());
    }
    const QString verdict = query.value(0).toString();
    if (verdict != QLatin1String("ok")) {
        return QObject::tr("Die Finanzdatei %1 ist beschädigt:\n%2").arg(shown(path), verdict);
    }
    return missingSchemaPart(path, {});
}

bool isVersion13File()
{
    if (QSqlDatabase::database().tables(QSql::Tables).contains(QStringLiteral("settings")))
        return false;
    return missingSchemaPart(QString(), {QStringLiteral("settings"), QStringLiteral("einnahme_quelle_id"),
                                         QStringLiteral("mwst")})
        .isEmpty();
}

bool isNewerVersion()
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT MAX(value) FROM settings WHERE category = ? AND name = ?"));
    query.addBindValue(QStringLiteral("MY_ZOLVEX"));
    query.addBindValue(QStringLiteral("DB_VERSION"));
    return query.exec() && query.next() && query.value(0).toInt() > programDbVersion;
}

void applySafetySettings()
{
    QSqlQuery query;
    query.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
    query.exec(QStringLiteral("PRAGMA synchronous = FULL"));
}

} // namespace YearFileCheck
