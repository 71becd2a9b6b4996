#include "colorsetting.h"
#include "testsupport.h"

#include <QGraphicsView>
#include <QSqlQuery>
#include <QTest>

namespace {

void insertSetting(const QString &category, const QString &name, int value, const QString &version)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("INSERT INTO settings (category,name,value,version) VALUES (:c,:n,:v,:r)"));
    query.bindValue(QStringLiteral(":c"), category);
    query.bindValue(QStringLiteral(":n"), name);
    query.bindValue(QStringLiteral(":v"), value);
    query.bindValue(QStringLiteral(":r"), version);
    QVERIFY(query.exec());
}

// All rows as "category|name|value|version", in id order.
QStringList allSettings()
{
    QStringList rows;
    QSqlQuery query(QStringLiteral("SELECT category, name, value, version FROM settings ORDER BY id"));
    while (query.next()) {
        rows << QStringLiteral("%1|%2|%3|%4").arg(query.value(0).toString(), query.value(1).toString(),
                                                   query.value(2).toString(), query.value(3).toString());
    }
    return rows;
}

void insertBookings()
{
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,zahlungsmittel_id,"
        "bemerkung,ausgaben_typ,ausgaben_typ_id) VALUES ('2026-02-03',12.5,'Migros',1,'Visa',3,'','Lebensmittel',1)"));
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag,bemerkung) VALUES (1,1,12.5,'')"));
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,bemerkung,"
        "zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) VALUES ('2026-02-03',12.5,1,0,21,31,0,'',3,1,'',0)"));
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO einnahmen (einnahme_quelle_id,startdate,betrag,konto_id,zahlungsmittel_id,bemerkung) "
        "VALUES (1,'2026-02-25',5000.0,1,0,'')"));
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void newFileRows_data();
    void newFileRows();
    void missingRowGivesZeroAndDefaultVersion();
    void updateRoundTrip_data();
    void updateRoundTrip();
    void updateOfMissingRowChangesNothing();
    void quotesInKeysAreData_data();
    void quotesInKeysAreData();
    void resetGoesBackToVersion13Rows();
    void versionCheckAndUpdate();
    void versionCheckWithoutSettingsTable();
    void clearBookingsKeepsMasterData();
    void clearBookingsReportsFailureButEmptiesTheRest();
    void defaultsOfTheSettingsObject();
    void fontTable();
    void releaseGivesFreshObject();
};

void TestSettings::newFileRows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("version");
    QTest::newRow("year") << "CURRENT_YEAR" << 1 << "1";
    QTest::newRow("schema") << "DB_VERSION" << 14 << "1.4";
}

void TestSettings::newFileRows()
{
    QFETCH(QString, name);
    QFETCH(int, value);
    QFETCH(QString, version);
    TestWorkspace ws;
    QString actualVersion;
    QCOMPARE(ColorSetting::instance()->getSetting(QStringLiteral("MY_ZOLVEX"), name, actualVersion), value);
    QCOMPARE(actualVersion, version);
}

void TestSettings::missingRowGivesZeroAndDefaultVersion()
{
    TestWorkspace ws;
    QString version = QStringLiteral("stale");
    QCOMPARE(ColorSetting::instance()->getSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("NOPE"), version), 0);
    QCOMPARE(version, QStringLiteral("0.0"));
    // Category and name together are the key.
    version = QStringLiteral("stale");
    QCOMPARE(ColorSetting::instance()->getSetting(QStringLiteral("TRANSITION"), QStringLiteral("CURRENT_YEAR"), version), 0);
    QCOMPARE(version, QStringLiteral("0.0"));
}

void TestSettings::updateRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("version");
    QTest::newRow("year fixed") << "CURRENT_YEAR" << 2026 << "2026";
    QTest::newRow("year back to open") << "CURRENT_YEAR" << 1 << "1";
    QTest::newRow("schema") << "DB_VERSION" << 13 << "1.3";
    QTest::newRow("negative, empty version") << "DB_VERSION" << -5 << "";
}

void TestSettings::updateRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(int, value);
    QFETCH(QString, version);
    TestWorkspace ws;
    ColorSetting *settings = ColorSetting::instance();
    const QStringList before = allSettings();

    settings->updateSetting(QStringLiteral("MY_ZOLVEX"), name, value, version);

    QString read;
    QCOMPARE(settings->getSetting(QStringLiteral("MY_ZOLVEX"), name, read), value);
    QCOMPARE(read, version);
    // Only the addressed row changed, and it was not duplicated.
    const QStringList after = allSettings();
    QCOMPARE(after.size(), before.size());
    int changed = 0;
    for (int i = 0; i < after.size(); ++i) {
        if (after.at(i) != before.at(i)) {
            ++changed;
            QVERIFY(after.at(i).startsWith(QStringLiteral("MY_ZOLVEX|") + name + QLatin1Char('|')));
        }
    }
    QVERIFY(changed <= 1);
}

void TestSettings::updateOfMissingRowChangesNothing()
{
    TestWorkspace ws;
    const QStringList before = allSettings();
    ColorSetting::instance()->updateSetting(QStringLiteral("TRANSITION"), QStringLiteral("CURRENT_YEAR"), 2015,
                                            QStringLiteral("0"));
    QCOMPARE(allSettings(), before);
}

void TestSettings::quotesInKeysAreData_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("name");
    QTest::newRow("apostrophe in category") << "O'Brien's" << "CURRENT_YEAR";
    QTest::newRow("apostrophe in name") << "MY_ZOLVEX" << "it's";
    QTest::newRow("injection attempt") << "MY_ZOLVEX' OR '1'='1" << "x' OR '1'='1";
    QTest::newRow("double quotes and umlauts") << "Gr\u00fc\u00dfe \"A\"" << "B\u00e4r";
}

void TestSettings::quotesInKeysAreData()
{
    QFETCH(QString, category);
    QFETCH(QString, name);
    TestWorkspace ws;
    ColorSetting *settings = ColorSetting::instance();

    // Before the row exists: nothing found, nothing changed.
    QString version;
    QCOMPARE(settings->getSetting(category, name, version), 0);
    QCOMPARE(version, QStringLiteral("0.0"));
    const QStringList untouched = allSettings();
    settings->updateSetting(category, name, 77, QStringLiteral("7.7"));
    QCOMPARE(allSettings(), untouched);

    insertSetting(category, name, 5, QStringLiteral("5"));
    QCOMPARE(settings->getSetting(category, name, version), 5);
    QCOMPARE(version, QStringLiteral("5"));
    settings->updateSetting(category, name, 6, QStringLiteral("6"));
    QCOMPARE(settings->getSetting(category, name, version), 6);
    QCOMPARE(version, QStringLiteral("6"));
    // The two standard rows are untouched.
    QCOMPARE(settings->getSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("DB_VERSION"), version), 14);
    QCOMPARE(settings->getSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("CURRENT_YEAR"), version), 1);
}

void TestSettings::resetGoesBackToVersion13Rows()
{
    TestWorkspace ws;
    insertSetting(QStringLiteral("TRANSITION"), QStringLiteral("CURRENT_YEAR"), 2015, QStringLiteral("0"));
    insertSetting(QStringLiteral("VERSION"), QStringLiteral("DB_VERSION"), 0, QStringLiteral("1.3"));
    ColorSetting::instance()->updateSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("CURRENT_YEAR"), 2015,
                                            QStringLiteral("2015"));

    ColorSetting::instance()->resetSettings();

    const QStringList expected = {
        QStringLiteral("MY_ZOLVEX|CURRENT_YEAR|1|1"),
        QStringLiteral("MY_ZOLVEX|DB_VERSION|13|1.3"),
    };
    QCOMPARE(allSettings(), expected);
}

void TestSettings::versionCheckAndUpdate()
{
    TestWorkspace ws;
    ColorSetting *settings = ColorSetting::instance();
    QString version;
    QVERIFY(settings->checkDbVersion(QStringLiteral("1.4.2"), version));
    QCOMPARE(version, QStringLiteral("1.4"));
    // Only the first three characters of the program's version count.
    QVERIFY(settings->checkDbVersion(QStringLiteral("1.4"), version));
    QVERIFY(!settings->checkDbVersion(QStringLiteral("1.5.0"), version));

    settings->resetSettings();
    QVERIFY(!settings->checkDbVersion(QStringLiteral("1.4.2"), version));
    QCOMPARE(version, QStringLiteral("1.3"));

    settings->updateDbVersion();
    QVERIFY(settings->checkDbVersion(QStringLiteral("1.4.2"), version));
    QCOMPARE(version, QStringLiteral("1.4"));
    QCOMPARE(settings->getSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("DB_VERSION"), version), 14);
    // The year row is left alone.
    QCOMPARE(settings->getSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("CURRENT_YEAR"), version), 1);
    QCOMPARE(version, QStringLiteral("1"));
}

void TestSettings::versionCheckWithoutSettingsTable()
{
    TestWorkspace ws;
    TestWorkspace::exec(QStringLiteral("DROP TABLE settings"));
    QString version;
    QVERIFY(!ColorSetting::instance()->checkDbVersion(QStringLiteral("1.4.2"), version));
    QCOMPARE(version, QStringLiteral("0.0"));
    // Writing the version into a file without the table changes nothing and
    // does not crash.
    ColorSetting::instance()->updateDbVersion();
    QVERIFY(!ColorSetting::instance()->checkDbVersion(QStringLiteral("1.4.2"), version));
}

void TestSettings::clearBookingsKeepsMasterData()
{
    TestWorkspace ws;
    ws.seedMasterData();
    insertBookings();
    const QStringList master = {QStringLiteral("konten"), QStringLiteral("zahlungsmittel"),
                                QStringLiteral("ausgaben_typen"), QStringLiteral("ausgaben_sub_typen"),
                                QStringLiteral("beguenstigte"), QStringLiteral("einnahme_quelle"),
                                QStringLiteral("settings")};
    QList<int> counts;
    for (const QString &table : master)
        counts << TestWorkspace::rowCount(table);

    QVERIFY(ColorSetting::instance()->clearBookings());

    for (const char *table : {"konto_bewegungen", "ausgaben_detail", "ausgaben", "einnahmen"})
        QCOMPARE(TestWorkspace::rowCount(QLatin1String(table)), 0);
    for (int i = 0; i < master.size(); ++i)
        QCOMPARE(TestWorkspace::rowCount(master.at(i)), counts.at(i));
    QCOMPARE(TestWorkspace::balance(1), 1000.0);
}

void TestSettings::clearBookingsReportsFailureButEmptiesTheRest()
{
    TestWorkspace ws;
    ws.seedMasterData();
    insertBookings();
    TestWorkspace::exec(QStringLiteral("DROP TABLE ausgaben_detail"));

    QVERIFY(!ColorSetting::instance()->clearBookings());

    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konto_bewegungen")), 0);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("ausgaben")), 0);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("einnahmen")), 0);
}

void TestSettings::defaultsOfTheSettingsObject()
{
    TestWorkspace ws;
    ColorSetting *settings = ColorSetting::instance();
    QCOMPARE(ColorSetting::instance(), settings);
    QVERIFY(settings->isYearCurrent());
    const QStringList families = {"Arial", "Kalinga", "Levenim MT", "Mangal", "Arabic Typesetting",
                                  "Batang", "Bradley Hand ITC", "Comic Sans MS", "French Script MT", "IrisUPC"};
    QCOMPARE(settings->preferredFamilies(), families);
    QCOMPARE(settings->currentFontFamily(), QStringLiteral("Kalinga"));
    QCOMPARE(settings->fontCount(), 0);
    QVERIFY(!settings->sceneProvider());
    QVERIFY(!settings->menuView());

    settings->setYearCurrent(false);
    QVERIFY(!ColorSetting::instance()->isYearCurrent());
}

void TestSettings::fontTable()
{
    TestWorkspace ws;
    ColorSetting *settings = ColorSetting::instance();
    const QFont fallback = settings->font(0);
    QCOMPARE(fallback.family(), QStringLiteral("Arial"));
    QCOMPARE(fallback, QFont(QStringLiteral("Arial")));

    QFont big(QStringLiteral("Kalinga"), 20);
    big.setItalic(true);
    settings->addFont(big, 30, QRectF(1.0, 1.0, 1.0, 10.0), QStringLiteral("italic"), 20, 33);
    QFont narrow(QStringLiteral("Arial Narrow"));
    narrow.setPixelSize(16);
    settings->addFont(narrow, 30, QRectF(1.0, 1.0, 1.0, 10.0), QStringLiteral("italic"), 10, 16);

    QCOMPARE(settings->fontCount(), 2);
    const QFont first = settings->font(0);
    QCOMPARE(first.family(), QStringLiteral("Kalinga"));
    QVERIFY(first.italic());
    QCOMPARE(first.pixelSize(), 33);
    QCOMPARE(settings->font(1).pixelSize(), 16);
    QCOMPARE(settings->font(1).family(), QStringLiteral("Arial Narrow"));

    const ColorSetting::FontEntry entry = settings->fontEntry(0);
    QVERIFY(entry.inUse);
    QCOMPARE(entry.code, 30);
    QCOMPARE(entry.rect, QRectF(1.0, 1.0, 1.0, 10.0));
    QCOMPARE(entry.name, QStringLiteral("italic"));
    QCOMPARE(entry.pointSize, 20);
    QCOMPARE(entry.pixelSize, 33);

    // Indexes without an entry fall back to the first preferred family.
    QCOMPARE(settings->font(2).family(), QStringLiteral("Arial"));
    QCOMPARE(settings->font(-1).family(), QStringLiteral("Arial"));
}

void TestSettings::releaseGivesFreshObject()
{
    TestWorkspace ws;
    QGraphicsView view;
    ColorSetting *settings = ColorSetting::instance();
    settings->setYearCurrent(false);
    settings->setMenuView(&view);
    settings->addFont(QFont(QStringLiteral("Arial")), 30, QRectF(), QStringLiteral("italic"), 12, 20);
    QCOMPARE(settings->menuView(), &view);

    ColorSetting::release();
    ColorSetting *fresh = ColorSetting::instance();
    QVERIFY(fresh->isYearCurrent());
    QVERIFY(!fresh->menuView());
    QCOMPARE(fresh->fontCount(), 0);
    QCOMPARE(fresh->font(0).pixelSize(), QFont().pixelSize());
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
