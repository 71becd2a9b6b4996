#include "schema.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// Each statement runs on its own; results are ignored on purpose: in a new
// file every DROP fails because the table does not exist yet.
static void runAll(const char *const *statements, int count)
{
    QSqlQuery query;
    for (int i = 0; i < count; ++i)
        query.exec(QString::fromLatin1(statements[i]));
}

void createTables()
{
    static const char *const statements[] = {
        "DROP TABLE konten",
        "CREATE TABLE konten (id INTEGER PRIMARY KEY AUTOINCREMENT, startdate DATE, name VARCHAR(40) NOT NULL, "
        "konto_typ INTEGER NOT NULL, stat INTEGER NOT NULL, konto_nummer VARCHAR(30), initial_betrag REAL NOT NULL, "
        "betrag REAL NOT NULL, konto_beschreibung VARCHAR(80))",
        "DROP TABLE konto_bewegungen",
        "CREATE TABLE konto_bewegungen (id INTEGER PRIMARY KEY AUTOINCREMENT, startdate DATE, betrag REAL NOT NULL, "
        "konto_id_von INTEGER NOT NULL, konto_id_nach INTEGER NOT NULL, tx_typ INTEGER NOT NULL, stat INTEGER NOT NULL, "
        "op_flag INTEGER NOT NULL, bemerkung VARCHAR(80), zahlungsmittel_id INTEGER NOT NULL, ausgabe_id INTEGER, "
        "tx_id VARCHAR(40), einnahme_quelle_id INTEGER, FOREIGN KEY (konto_id_von) REFERENCES konten, "
        "FOREIGN KEY (konto_id_nach) REFERENCES konten)",
        "DROP TABLE zahlungsmittel",
        "CREATE TABLE zahlungsmittel (id INTEGER PRIMARY KEY AUTOINCREMENT, zahlungsmittel_typ INTEGER NOT NULL, "
        "konto_id INTEGER NOT NULL, hat_konto_verbindung INTEGER NOT NULL, karten_nummer VARCHAR(30), "
        "beschreibung VARCHAR(80), name VARCHAR(40) NOT NULL, FOREIGN KEY (konto_id) REFERENCES konten)",
        "DROP TABLE ausgaben_typen",
        "CREATE TABLE ausgaben_typen (id INTEGER PRIMARY KEY AUTOINCREMENT, name VARCHAR(40) NOT NULL, "
        "budget REAL NOT NULL)",
        "DROP TABLE ausgaben_sub_typen",
        "CREATE TABLE ausgaben_sub_typen (id INTEGER PRIMARY KEY AUTOINCREMENT, ausgaben_typ_id INTEGER NOT NULL, "
        "name VARCHAR(40) NOT NULL, FOREIGN KEY (ausgaben_typ_id) REFERENCES ausgaben_typen)",
        "DROP TABLE beguenstigte",
        "CREATE TABLE beguenstigte (id INTEGER PRIMARY KEY AUTOINCREMENT, ausgaben_typ_id INTEGER NOT NULL, "
        "betrag_kumuliert REAL, betrag_bonus REAL, beschreibung VARCHAR(80), name VARCHAR(40) NOT NULL, "
        "FOREIGN KEY (ausgaben_typ_id) REFERENCES ausgaben_typen)",
        "DROP TABLE ausgaben",
        "CREATE TABLE ausgaben (id INTEGER PRIMARY KEY AUTOINCREMENT, startdate DATE, betrag REAL NOT NULL, "
        "beguenstigter VARCHAR(80) NOT NULL, beguenstigter_id INTEGER NOT NULL, zahlungsmittel VARCHAR(80) NOT NULL, "
        "zahlungsmittel_id INTEGER NOT NULL, bemerkung VARCHAR(80), ausgaben_typ VARCHAR(80) NOT NULL, "
        "ausgaben_typ_id INTEGER NOT NULL, FOREIGN KEY (ausgaben_typ_id) REFERENCES ausgaben_typen, "
        "FOREIGN KEY (beguenstigter_id) REFERENCES beguenstigte, "
        "FOREIGN KEY (zahlungsmittel_id) REFERENCES zahlungsmittel)",
        "DROP TABLE ausgaben_detail",
        "CREATE TABLE ausgaben_detail (id INTEGER PRIMARY KEY AUTOINCREMENT, ausgaben_id INTEGER NOT NULL, "
        "ausgaben_sub_typ_id INTEGER NOT NULL, betrag REAL NOT NULL, bemerkung VARCHAR(80), "
        "FOREIGN KEY (ausgaben_sub_typ_id) REFERENCES ausgaben_sub_typen, "
        "FOREIGN KEY (ausgaben_id) REFERENCES ausgaben)",
        "DROP TABLE einnahme_quelle",
        "CREATE TABLE einnahme_quelle (id INTEGER PRIMARY KEY AUTOINCREMENT, betrags_volumen REAL, eq_typ INTEGER, "
        "stat INTEGER, name VARCHAR(40) NOT NULL, bemerkung VARCHAR(80), mwst REAL)",
        "DROP TABLE einnahmen",
        "CREATE TABLE einnahmen (id INTEGER PRIMARY KEY AUTOINCREMENT, einnahme_quelle_id INTEGER NOT NULL, "
        "startdate DATE, betrag REAL NOT NULL, konto_id INTEGER NOT NULL, zahlungsmittel_id INTEGER NOT NULL, "
        "bemerkung VARCHAR(80), FOREIGN KEY (einnahme_quelle_id) REFERENCES einnahme_quelle, "
        "FOREIGN KEY (konto_id) REFERENCES konten)",
        "CREATE TABLE settings (id INTEGER PRIMARY KEY AUTOINCREMENT, category VARCHAR(40) NOT NULL, "
        "name VARCHAR(40) NOT NULL, value INTEGER, version VARCHAR(10))",
        "INSERT INTO settings (category,name,value,version) VALUES ('MY_ZOLVEX', 'CURRENT_YEAR', 1, '1')",
        "INSERT INTO settings (category,name,value,version) VALUES ('MY_ZOLVEX', 'DB_VERSION', 14, '1.4')",
    };
    runAll(statements, int(sizeof statements / sizeof statements[0]));
}

namespace {

bool hasColumn(const QString &table, const QString &column)
{
    QSqlQuery query;
    query.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
    while (query.next()) {
        if (query.value(1).toString() == column)
            return true;
    }
    return false;
}

// Runs one step of the upgrade; on failure err names the statement and the
// driver's reason.
bool step(const QString &sql, QString &err, const QVariantList &values = {})
{
    QSqlQuery query;
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (query.exec())
        return true;
    err = QStringLiteral("%1: %2").arg(sql, query.lastError().text());
    return false;
}

// The year the bookings of a version 1.3 file belong to, or 1 ("not fixed
// yet") for a file without bookings, which the year check then stamps. Cash
// expenses have no movement, so both tables count.
int yearOfBookings()
{
    QSqlQuery query(QStringLiteral("SELECT MAX(d) FROM (SELECT MAX(startdate) AS d FROM konto_bewegungen "
                                   "UNION ALL SELECT MAX(startdate) FROM ausgaben)"));
    const QDate last = query.next() ? query.value(0).toDate() : QDate();
    return last.isValid() ? last.year() : 1;
}

bool runUpgradeSteps(QString &err)
{
    if (!hasColumn(QStringLiteral("konto_bewegungen"), QStringLiteral("einnahme_quelle_id"))
        && !step(QStringLiteral("ALTER TABLE konto_bewegungen ADD COLUMN einnahme_quelle_id INTEGER"), err))
        return false;
    if (!step(QStringLiteral("UPDATE konto_bewegungen SET einnahme_quelle_id = 0 WHERE einnahme_quelle_id IS NULL"),
              err))
        return false;
    if (!hasColumn(QStringLiteral("einnahme_quelle"), QStringLiteral("mwst"))
        && !step(QStringLiteral("ALTER TABLE einnahme_quelle ADD COLUMN mwst REAL"), err))
        return false;
    if (!step(QStringLiteral("UPDATE einnahme_quelle SET mwst = 0.0 WHERE mwst IS NULL"), err))
        return false;
    // The user's own income sources stay; only an empty list gets the
    // standard ones.
    QSqlQuery count(QStringLiteral("SELECT COUNT(*) FROM einnahme_quelle"));
    if (!count.next()) {
        err = count.lastError().text();
        return false;
    }
    if (count.value(0).toInt() == 0) {
        const struct { const char *name, *remark; double vat; } sources[] = {
            {"SwissLife", "Rente", 0.0}, {"AHV", "Rente", 0.0}, {"Auftraggeber", "Rechnung", 7.5}};
        for (const auto &source : sources) {
            if (!step(QStringLiteral("INSERT INTO einnahme_quelle (betrags_volumen,name,bemerkung,mwst) "
                                     "VALUES (0.0,?,?,?)"),
                      err, {QString::fromLatin1(source.name), QString::fromLatin1(source.remark), source.vat}))
                return false;
        }
    }
    const int year = yearOfBookings();
    return step(QStringLiteral("CREATE TABLE settings (id INTEGER PRIMARY KEY AUTOINCREMENT, category VARCHAR(40) "
                               "NOT NULL, name VARCHAR(40) NOT NULL, value INTEGER, version VARCHAR(10))"),
                err)
        && step(QStringLiteral("INSERT INTO settings (category,name,value,version) VALUES "
                               "('MY_ZOLVEX', 'CURRENT_YEAR', ?, ?)"),
                err, {year, QString::number(year)})
        && step(QStringLiteral("INSERT INTO settings (category,name,value,version) VALUES "
                               "('MY_ZOLVEX', 'DB_VERSION', 14, '1.4')"),
                err);
}

} // namespace

bool migrateDb13To14(QString &err)
{
    QSqlDatabase db = QSqlDatabase::database();
    if (!db.transaction()) {
        err = db.lastError().text();
        return false;
    }
    if (runUpgradeSteps(err) && db.commit())
        return true;
    if (err.isEmpty())
        err = db.lastError().text();
    db.rollback();
    return false;
}
