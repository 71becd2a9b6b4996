#include "colorsetting.h"
#include "dataprovider.h"
#include "formdriver.h"
#include "incomesrcform.h"
#include "picturescene.h"
#include "plaintextitem.h"
#include "sceneprovider.h"
#include "testsupport.h"

#include <QMessageBox>
#include <QSqlQuery>

using namespace FormDriver;

namespace {

struct SourceDialog
{
    SourceDialog() { form.show(); }

    QLineEdit *name() { return field(&form, QStringLiteral("Einnahmequelle:")); }
    QLineEdit *volume() { return field(&form, QStringLiteral("Erwartete Einkünfte:")); }
    QPushButton *save() { return button(&form, QStringLiteral("Speichern")); }
    QPushButton *remove() { return button(&form, QStringLiteral("Einnahmequelle entfernen")); }
    QTableView *table() { return list(&form, QStringLiteral("Liste der Einnahmequellen")); }

    IncomeSrcForm form{ 0 };
};

} // namespace

class TestIncomeSrcForm : public QObject
{
    Q_OBJECT

private slots:
    void newSourceIsStoredWithoutVat_data();
    void newSourceIsStoredWithoutVat();
    void volumeLimits_data();
    void volumeLimits();
    void editKeepsVat();
    void sourceWithDepositsIsKept();
    void confirmationNamesTheRowPosition();
};

void TestIncomeSrcForm::newSourceIsStoredWithoutVat_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::newRow("apostrophe") << QStringLiteral("Nebenerwerb D'Amico & Söhne") << QStringLiteral("Nebenerwerb D'Amico & Söhne");
    const QString longName = QStringLiteral("Pensionskasse der Schweizerischen Bundesbahnen");
    QTest::newRow("long") << longName << longName.left(38);
}

void TestIncomeSrcForm::newSourceIsStoredWithoutVat()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);

    TestWorkspace ws;
    ws.seedMasterData();
    QWidget owner;
    SceneProvider provider(&owner);
    provider.addScene(0);
    PictureScene *cards = provider.addScene(1);
    ColorSetting::instance()->setSceneProvider(&provider);

    {
        SourceDialog dialog;
        QCOMPARE(dialog.form.windowTitle(), QStringLiteral("Einnahmequellen"));
        type(dialog.name(), name);
        QVERIFY(!dialog.save()->isEnabled());
        type(dialog.volume(), QStringLiteral("45000,50"));
        QVERIFY(dialog.save()->isEnabled());
        MessageBoxCatcher boxes;
        click(dialog.save());
        QVERIFY(!boxes.seen());

        QSqlQuery query;
        query.prepare(QStringLiteral("SELECT betrags_volumen, mwst FROM einnahme_quelle WHERE name = :n"));
        query.bindValue(QStringLiteral(":n"), stored);
        QVERIFY(query.exec() && query.next());
        QCOMPARE(query.value(0).toDouble(), 45000.5);
        QCOMPARE(query.value(1).toDouble(), 0.0);
        QVERIFY(rows(dialog.table()).contains(stored));
        QVERIFY(dialog.name()->text().isEmpty());
        QVERIFY(dialog.volume()->text().isEmpty());

        // The main window's income cards show the new source at once.
        QStringList texts;
        for (QGraphicsItem *item : cards->items()) {
            if (auto *text = dynamic_cast<PlainTextItem *>(item))
                texts << text->toPlainText();
        }
        QVERIFY(texts.contains(QStringLiteral("Lohn")));
        QVERIFY(std::any_of(texts.cbegin(), texts.cend(),
                            [&](const QString &t) { return !t.isEmpty() && stored.startsWith(t); }));
    }
    ColorSetting::instance()->setSceneProvider(nullptr);
}

void TestIncomeSrcForm::volumeLimits_data()
{
    QTest::addColumn<QString>("volume");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("zero") << QStringLiteral("0") << false;
    QTest::newRow("upper limit") << QStringLiteral("999999") << true;
    QTest::newRow("one cent above") << QStringLiteral("999999.01") << false;
}

void TestIncomeSrcForm::volumeLimits()
{
    QFETCH(QString, volume);
    QFETCH(bool, accepted);

    TestWorkspace ws;
    SourceDialog dialog;
    type(dialog.name(), QStringLiteral("Zinsen"));
    type(dialog.volume(), volume);
    MessageBoxCatcher boxes;
    click(dialog.save());
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("einnahme_quelle")), accepted ? 1 : 0);
    if (accepted) {
        QVERIFY(!boxes.seen());
        return;
    }
    QCOMPARE(boxes.title(), QStringLiteral("Betrag ungültig!"));
    QCOMPARE(boxes.text(), QStringLiteral("Eröffnungs-Limite: 999999.0"));
    QVERIFY(!dialog.save()->isEnabled());
    QCOMPARE(dialog.volume()->text(), volume);
}

void TestIncomeSrcForm::editKeepsVat()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral("UPDATE einnahme_quelle SET mwst = 7.5 WHERE id = 1"));
    SourceDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Lohn")));
    QCOMPARE(dialog.volume()->text(), QStringLiteral("60000"));
    QVERIFY(dialog.remove()->isEnabled());
    QVERIFY(!dialog.save()->isEnabled());

    type(dialog.name(), QStringLiteral("Lohn (13 Monate)"));
    type(dialog.volume(), QStringLiteral("65000"));
    click(dialog.save());
    QSqlQuery query(QStringLiteral("SELECT name, betrags_volumen, mwst, bemerkung FROM einnahme_quelle WHERE id = 1"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("Lohn (13 Monate)"));
    QCOMPARE(query.value(1).toDouble(), 65000.0);
    QCOMPARE(query.value(2).toDouble(), 7.5);
    QCOMPARE(query.value(3).toString(), QStringLiteral("Arbeitgeber"));
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("einnahme_quelle")), 2);
}

void TestIncomeSrcForm::sourceWithDepositsIsKept()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,bemerkung,"
        "zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
        "VALUES ('2026-01-25',5000.0,1,0,23,31,1,'Januar',0,0,'',2)"));
    SourceDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Rente")));
    MessageBoxCatcher boxes(QMessageBox::Ok);
    click(dialog.remove());
    QCOMPARE(boxes.titles(), QStringList{ QStringLiteral("Daten vorhanden") });
    QCOMPARE(boxes.text(),
             QStringLiteral("Die Einnahmequelle kann nicht entfernt werden, da sich noch Einträge darunter befinden!"));
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("einnahme_quelle")), 2);
}

void TestIncomeSrcForm::confirmationNamesTheRowPosition()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral("INSERT INTO einnahme_quelle (betrags_volumen,name,mwst) VALUES (300.0,'Zinsen',0.0)"));
    SourceDialog dialog;
    QCOMPARE(rows(dialog.table()).indexOf(QStringLiteral("Zinsen")), 2);
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Zinsen")));
    {
        MessageBoxCatcher no;
        click(dialog.remove());
        QCOMPARE(no.title(), QStringLiteral("Eintrag entfernen"));
        QCOMPARE(no.text(), QStringLiteral("Eintrag 3 löschen?"));
    }
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("einnahme_quelle")), 3);

    QVERIFY(clickRow(dialog.table(), QStringLiteral("Zinsen")));
    MessageBoxCatcher yes(QMessageBox::Ok);
    click(dialog.remove());
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("einnahme_quelle")), 2);
    QVERIFY(!rows(dialog.table()).contains(QStringLiteral("Zinsen")));
    QVERIFY(!dialog.remove()->isEnabled());
    QList<IncomeEntry *> sources;
    DataProvider::instance()->getIncomeSources(sources);
    QCOMPARE(sources.size(), 2);
    qDeleteAll(sources);
}

QTEST_MAIN(TestIncomeSrcForm)
#include "tst_incomesrcform.moc"
