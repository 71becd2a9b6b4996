#include "colorsetting.h"
#include "schema.h"
#include "testsupport.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

// Table name -> CREATE statement as SQLite keeps it in sqlite_master.
QMap<QString, QString> expectedTables()
{
    QMap<QString, QString> t;
    t["konten"] = "CREATE TABLE konten (id INTEGER PRIMARY KEY AUTOINCREMENT, startdate DATE, name VARCHAR(40) NOT NULL, konto_typ INTEGER NOT NULL, stat INTEGER NOT NULL, konto_nummer VARCHAR(30), initial_betrag REAL NOT NULL, betrag REAL NOT NULL, konto_beschreibung VARCHAR(80))";
    t["konto_bewegungen"] = "CREATE TABLE konto_bewegungen (id INTEGER PRIMARY KEY AUTOINCREMENT, startdate DATE, betrag REAL NOT NULL, konto_id_von INTEGER NOT NULL, konto_id_nach INTEGER NOT NULL, tx_typ INTEGER NOT NULL, stat INTEGER NOT NULL, op_flag INTEGER NOT NULL, bemerkung VARCHAR(80), zahlungsmittel_id INTEGER NOT NULL, ausgabe_id INTEGER, tx_id VARCHAR(40), einnahme_quelle_id INTEGER, FOREIGN KEY (konto_id_von) REFERENCES konten, FOREIGN KEY (konto_id_nach) REFERENCES konten)";
    t["zahlungsmittel"] = "CREATE TABLE zahlungsmittel (id INTEGER PRIMARY KEY AUTOINCREMENT, zahlungsmittel_typ INTEGER NOT NULL, konto_id INTEGER NOT NULL, hat_konto_verbindung INTEGER NOT NULL, karten_nummer VARCHAR(30), beschreibung VARCHAR(80), name VARCHAR(40) NOT NULL, FOREIGN KEY (konto_id) REFERENCES konten)";
    t["ausgaben_typen"] = "CREATE TABLE ausgaben_typen (id INTEGER PRIMARY KEY AUTOINCREMENT, name VARCHAR(40) NOT NULL, budget REAL NOT NULL)";
    t["ausgaben_sub_typen"] = "CREATE TABLE ausgaben_sub_typen (id INTEGER PRIMARY KEY AUTOINCREMENT, ausgaben_typ_id INTEGER NOT NULL, name VARCHAR(40) NOT NULL, FOREIGN KEY (ausgaben_typ_id) REFERENCES ausgaben_typen)";
    t["beguenstigte"] = "CREATE TABLE beguenstigte (id INTEGER PRIMARY KEY AUTOINCREMENT, ausgaben_typ_id INTEGER NOT NULL, betrag_kumuliert REAL, betrag_bonus REAL, beschreibung VARCHAR(80), name VARCHAR(40) NOT NULL, FOREIGN KEY (ausgaben_typ_id) REFERENCES ausgaben_typen)";
    t["ausgaben"] = "CREATE TABLE ausgaben (id INTEGER PRIMARY KEY AUTOINCREMENT, startdate DATE, betrag REAL NOT NULL, beguenstigter VARCHAR(80) NOT NULL, beguenstigter_id INTEGER NOT NULL, zahlungsmittel VARCHAR(80) NOT NULL, zahlungsmittel_id INTEGER NOT NULL, bemerkung VARCHAR(80), ausgaben_typ VARCHAR(80) NOT NULL, ausgaben_typ_id INTEGER NOT NULL, FOREIGN KEY (ausgaben_typ_id) REFERENCES ausgaben_typen, FOREIGN KEY (beguenstigter_id) REFERENCES beguenstigte, FOREIGN KEY (zahlungsmittel_id) REFERENCES zahlungsmittel)";
    t["ausgaben_detail"] = "CREATE TABLE ausgaben_detail (id INTEGER PRIMARY KEY AUTOINCREMENT, ausgaben_id INTEGER NOT NULL, ausgaben_sub_typ_id INTEGER NOT NULL, betrag REAL NOT NULL, bemerkung VARCHAR(80), FOREIGN KEY (ausgaben_sub_typ_id) REFERENCES ausgaben_sub_typen, FOREIGN KEY (ausgaben_id) REFERENCES ausgaben)";
    t["einnahme_quelle"] = "CREATE TABLE einnahme_quelle (id INTEGER PRIMARY KEY AUTOINCREMENT, betrags_volumen REAL, eq_typ INTEGER, stat INTEGER, name VARCHAR(40) NOT NULL, bemerkung VARCHAR(80), mwst REAL)";
    t["einnahmen"] = "CREATE TABLE einnahmen (id INTEGER PRIMARY KEY AUTOINCREMENT, einnahme_quelle_id INTEGER NOT NULL, startdate DATE, betrag REAL NOT NULL, konto_id INTEGER NOT NULL, zahlungsmittel_id INTEGER NOT NULL, bemerkung VARCHAR(80), FOREIGN KEY (einnahme_quelle_id) REFERENCES einnahme_quelle, FOREIGN KEY (konto_id) REFERENCES konten)";
    t["settings"] = "CREATE TABLE settings (id INTEGER PRIMARY KEY AUTOINCREMENT, category VARCHAR(40) NOT NULL, name VARCHAR(40) NOT NULL, value INTEGER, version VARCHAR(10))";
    return t;
}

QMap<QString, QString> tablesInFile()
{
    QMap<QString, QString> tables;
    QSqlQuery query(QStringLiteral(
        "SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name <> 'sqlite_sequence'"));
    while (query.next())
        tables.insert(query.value(0).toString(), query.value(1).toString());
    return tables;
}

struct SettingRow
{
    QString category;
    QString name;
    int value;
    QString version;
    bool operator==(const SettingRow &o) const
    {
        return category == o.category && name == o.name && value == o.value && version == o.version;
    }
};

char *toString(const SettingRow &row)
{
    return QTest::toString(QStringLiteral("%1/%2 = %3 (%4)")
                               .arg(row.category, row.name).arg(row.value).arg(row.version));
}

QList<SettingRow> settingsRows()
{
    QList<SettingRow> rows;
    QSqlQuery query(QStringLiteral("SELECT category, name, value, version FROM settings ORDER BY id"));
    while (query.next())
        rows.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toInt(),
                     query.value(3).toString()});
    return rows;
}

// The tables of a file of schema version 1.3: movements without income
// source, income sources without VAT and no settings table.
void createVersion13Tables()
{
    TestWorkspace::exec(QStringLiteral(
        "CREATE TABLE konten (id INTEGER PRIMARY KEY AUTOINCREMENT, startdate DATE, name VARCHAR(40) NOT NULL, "
        "konto_typ INTEGER NOT NULL, stat INTEGER NOT NULL, konto_nummer VARCHAR(30), initial_betrag REAL NOT NULL, "
        "betrag REAL NOT NULL, konto_beschreibung VARCHAR(80))"));
    TestWorkspace::exec(QStringLiteral(
        "CREATE TABLE konto_bewegungen (id INTEGER PRIMARY KEY AUTOINCREMENT, startdate DATE, betrag REAL NOT NULL, "
        "konto_id_von INTEGER NOT NULL, konto_id_nach INTEGER NOT NULL, tx_typ INTEGER NOT NULL, stat INTEGER NOT NULL, "
        "op_flag INTEGER NOT NULL, bemerkung VARCHAR(80), zahlungsmittel_id INTEGER NOT NULL, ausgabe_id INTEGER, "
        "tx_id VARCHAR(40))"));
    TestWorkspace::exec(QStringLiteral(
        "CREATE TABLE einnahme_quelle (id INTEGER PRIMARY KEY AUTOINCREMENT, betrags_volumen REAL, eq_typ INTEGER, "
        "stat INTEGER, name VARCHAR(40) NOT NULL, bemerkung VARCHAR(80))"));
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konten (startdate,name,konto_typ,stat,konto_nummer,initial_betrag,betrag,konto_beschreibung) "
        "VALUES ('2015-01-01','Postkonto',12,1,'CH12',100.0,80.0,'Bank-Account')"));
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,bemerkung,"
        "zahlungsmittel_id,ausgabe_id,tx_id) VALUES ('2015-02-01',20.0,1,0,21,31,0,'Brot',1,1,'')"));
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,bemerkung,"
        "zahlungsmittel_id,ausgabe_id,tx_id) VALUES ('2015-03-01',500.0,1,0,23,31,1,'Lohn',0,0,'')"));
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO einnahme_quelle (betrags_volumen,eq_typ,stat,name,bemerkung) VALUES (1000.0,1,1,'Alt A','x')"));
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO einnahme_quelle (betrags_volumen,eq_typ,stat,name,bemerkung) VALUES (2000.0,1,1,'Alt B','y')"));
}

} // namespace

class TestSchema : public QObject
{
    Q_OBJECT

private slots:
    void newFileHasExactlyTheTenTablesAndSettings();
    void newFileHoldsOnlyTheTwoSettingsRows();
    void firstRowOfEveryTableGetsIdOne_data();
    void firstRowOfEveryTableGetsIdOne();
    void migrationBringsVersion13FileTo14();
    void failedMigrationChangesNothing();
    void versionCheckAtStartLeavesOldFileUnmigrated();
};

void TestSchema::newFileHasExactlyTheTenTablesAndSettings()
{
    TestWorkspace ws;
    const QMap<QString, QString> expected = expectedTables();
    const QMap<QString, QString> actual = tablesInFile();
    QCOMPARE(actual.keys(), expected.keys());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(actual.value(it.key()), it.value());
    // Foreign keys are declared but never enforced.
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("PRAGMA foreign_keys")).toInt(), 0);
}

void TestSchema::newFileHoldsOnlyTheTwoSettingsRows()
{
    TestWorkspace ws;
    const QList<SettingRow> expected = {
        {"MY_ZOLVEX", "CURRENT_YEAR", 1, "1"},
        {"MY_ZOLVEX", "DB_VERSION", 14, "1.4"},
    };
    QCOMPARE(settingsRows(), expected);
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT MIN(id) FROM settings")).toInt(), 1);
    // No master data and no bookings.
    for (const QString &table : expectedTables().keys()) {
        if (table != QLatin1String("settings"))
            QCOMPARE(TestWorkspace::rowCount(table), 0);
    }
}

void TestSchema::firstRowOfEveryTableGetsIdOne_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("insert");
    QTest::newRow("konten") << "konten"
        << "INSERT INTO konten (name,konto_typ,stat,initial_betrag,betrag) VALUES ('A',12,1,0,0)";
    QTest::newRow("konto_bewegungen") << "konto_bewegungen"
        << "INSERT INTO konto_bewegungen (betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,zahlungsmittel_id) "
           "VALUES (1,1,0,21,31,0,0)";
    QTest::newRow("zahlungsmittel") << "zahlungsmittel"
        << "INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,name) VALUES (21,1,0,'B')";
    QTest::newRow("ausgaben_typen") << "ausgaben_typen"
        << "INSERT INTO ausgaben_typen (name,budget) VALUES ('T',1)";
    QTest::newRow("ausgaben_sub_typen") << "ausgaben_sub_typen"
        << "INSERT INTO ausgaben_sub_typen (ausgaben_typ_id,name) VALUES (1,'S')";
    QTest::newRow("beguenstigte") << "beguenstigte"
        << "INSERT INTO beguenstigte (ausgaben_typ_id,name) VALUES (1,'R')";
    QTest::newRow("ausgaben") << "ausgaben"
        << "INSERT INTO ausgaben (betrag,beguenstigter,beguenstigter_id,zahlungsmittel,zahlungsmittel_id,"
           "ausgaben_typ,ausgaben_typ_id) VALUES (1,'R',1,'B',1,'T',1)";
    QTest::newRow("ausgaben_detail") << "ausgaben_detail"
        << "INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag) VALUES (1,1,1)";
    QTest::newRow("einnahme_quelle") << "einnahme_quelle"
        << "INSERT INTO einnahme_quelle (name) VALUES ('Q')";
    QTest::newRow("einnahmen") << "einnahmen"
        << "INSERT INTO einnahmen (einnahme_quelle_id,betrag,konto_id,zahlungsmittel_id) VALUES (1,1,1,0)";
}

void TestSchema::firstRowOfEveryTableGetsIdOne()
{
    QFETCH(QString, table);
    QFETCH(QString, insert);
    TestWorkspace ws;
    QVERIFY(TestWorkspace::exec(insert));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT id FROM %1").arg(table)).toInt(), 1);
}

void TestSchema::migrationBringsVersion13FileTo14()
{
    TestWorkspace ws(false);
    QVERIFY(ws.open());
    createVersion13Tables();

    QString err;
    QVERIFY2(migrateDb13To14(err), qPrintable(err));

    // Every old movement now names no income source; nothing else changed.
    QSqlQuery moves(QStringLiteral("SELECT einnahme_quelle_id, betrag, bemerkung FROM konto_bewegungen ORDER BY id"));
    QList<QStringList> movements;
    while (moves.next()) {
        QVERIFY(!moves.value(0).isNull());
        movements << QStringList{moves.value(0).toString(), moves.value(1).toString(), moves.value(2).toString()};
    }
    const QList<QStringList> expectedMovements = {{"0", "20", "Brot"}, {"0", "500", "Lohn"}};
    QCOMPARE(movements, expectedMovements);
    QCOMPARE(TestWorkspace::balance(1), 80.0);

    // The user's income sources stay, with VAT rate 0.
    QSqlQuery sources(QStringLiteral("SELECT id, name, bemerkung, betrags_volumen, mwst FROM einnahme_quelle ORDER BY id"));
    QList<QStringList> rows;
    while (sources.next()) {
        rows << QStringList{sources.value(0).toString(), sources.value(1).toString(), sources.value(2).toString(),
                            sources.value(3).toString(), sources.value(4).toString()};
    }
    const QList<QStringList> expectedSources = {{"1", "Alt A", "x", "1000", "0"}, {"2", "Alt B", "y", "2000", "0"}};
    QCOMPARE(rows, expectedSources);

    // Stamped as a 1.4 file of the year of its bookings.
    const QList<SettingRow> expectedSettings = {
        {"MY_ZOLVEX", "CURRENT_YEAR", 2015, "2015"},
        {"MY_ZOLVEX", "DB_VERSION", 14, "1.4"},
    };
    QCOMPARE(settingsRows(), expectedSettings);
    QCOMPARE(tablesInFile().value("settings"), expectedTables().value("settings"));
}

void TestSchema::failedMigrationChangesNothing()
{
    TestWorkspace ws(false);
    QVERIFY(ws.open());
    createVersion13Tables();
    // The second step fails after the first one has added a column.
    TestWorkspace::exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON konto_bewegungen "
                                       "BEGIN SELECT RAISE(ABORT, 'Platte voll'); END"));
    const QMap<QString, QString> before = tablesInFile();

    QString err;
    QVERIFY(!migrateDb13To14(err));
    QVERIFY2(err.contains("Platte voll"), qPrintable(err));
    QCOMPARE(tablesInFile(), before);
}

void TestSchema::versionCheckAtStartLeavesOldFileUnmigrated()
{
    TestWorkspace ws(false);
    QVERIFY(ws.open());
    createVersion13Tables();
    const QMap<QString, QString> before = tablesInFile();

    // What the main window does at start: check the version, rewrite the
    // version row when it differs. Neither may touch the schema or data.
    ColorSetting *settings = ColorSetting::instance();
    QString version;
    QVERIFY(!settings->checkDbVersion(QStringLiteral("1.4.2"), version));
    QCOMPARE(version, QStringLiteral("0.0"));
    settings->updateDbVersion();

    QCOMPARE(tablesInFile(), before);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("einnahme_quelle")), 2);
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT name FROM einnahme_quelle WHERE id = 1")).toString(),
             QStringLiteral("Alt A"));
}

QTEST_MAIN(TestSchema)
#include "tst_schema.moc"
