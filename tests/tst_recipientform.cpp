#include "dataprovider.h"
#include "formdriver.h"
#include "recipient.h"
#include "recipientform.h"
#include "testsupport.h"

#include <QMessageBox>
#include <QSqlQuery>

using namespace FormDriver;

namespace {

struct RecipientDialog
{
    RecipientDialog() { form.show(); }

    QLineEdit *name() { return field(&form, QStringLiteral("Name des Begünstigten:")); }
    QPushButton *save() { return button(&form, QStringLiteral("Speichern")); }
    QPushButton *remove() { return button(&form, QStringLiteral("Begünstigter entfernen")); }
    QTableView *table() { return list(&form, QStringLiteral("Liste der Begünstigten")); }

    RecipientForm form{ 0 };
};

QStringList cachedRecipientNames()
{
    QList<Recipient *> recipients;
    DataProvider::instance()->getRecipients(recipients);
    QStringList names;
    for (Recipient *r : recipients)
        names << r->getName();
    return names;
}

} // namespace

class TestRecipientForm : public QObject
{
    Q_OBJECT

private slots:
    void newRecipientGetsFixedValues_data();
    void newRecipientGetsFixedValues();
    void saveFollowsTheName();
    void renameChangesOnlyTheName();
    void recipientWithExpensesIsKept();
    void deleteAsksFirst();
};

void TestRecipientForm::newRecipientGetsFixedValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::newRow("apostrophe") << QStringLiteral("D'Angelo's Pizzeria Zürich") << QStringLiteral("D'Angelo's Pizzeria Zürich");
    const QString longName = QStringLiteral("Genossenschaft Migros Zürich, Filiale Oerlikon");
    QTest::newRow("long") << longName << longName.left(38);
}

void TestRecipientForm::newRecipientGetsFixedValues()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);

    TestWorkspace ws;
    ws.seedMasterData();
    // Whatever the expense types are, a new recipient is filed under type 1.
    TestWorkspace::exec(QStringLiteral("DELETE FROM ausgaben_typen WHERE id = 1"));
    RecipientDialog dialog;
    QCOMPARE(dialog.form.windowTitle(), QStringLiteral("Begünstigte"));
    type(dialog.name(), name);
    MessageBoxCatcher boxes;
    click(dialog.save());
    QVERIFY(!boxes.seen());

    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT ausgaben_typ_id, betrag_kumuliert, betrag_bonus, beschreibung "
                                 "FROM beguenstigte WHERE name = :n"));
    query.bindValue(QStringLiteral(":n"), stored);
    QVERIFY(query.exec() && query.next());
    QCOMPARE(query.value(0).toInt(), 1);
    QCOMPARE(query.value(1).toDouble(), 0.0);
    QCOMPARE(query.value(2).toDouble(), 0.0);
    QCOMPARE(query.value(3).toString(), QStringLiteral("<Beschreibung>"));
    QVERIFY(!query.next());

    QVERIFY(rows(dialog.table()).contains(stored));
    QVERIFY(cachedRecipientNames().contains(stored));
    QVERIFY(dialog.name()->text().isEmpty());
    QVERIFY(!dialog.save()->isEnabled());
}

void TestRecipientForm::saveFollowsTheName()
{
    TestWorkspace ws;
    RecipientDialog dialog;
    QVERIFY(!dialog.save()->isEnabled());
    type(dialog.name(), QStringLiteral("Coop"));
    QVERIFY(dialog.save()->isEnabled());
    type(dialog.name(), QString());
    QVERIFY(!dialog.save()->isEnabled());
}

void TestRecipientForm::renameChangesOnlyTheName()
{
    TestWorkspace ws;
    ws.seedMasterData();
    RecipientDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Müller's Laden")));
    QCOMPARE(dialog.name()->text(), QStringLiteral("Müller's Laden"));
    QVERIFY(dialog.remove()->isEnabled());
    QVERIFY(!dialog.save()->isEnabled());

    type(dialog.name(), QStringLiteral("Müller's Hofladen"));
    click(dialog.save());
    QSqlQuery query(QStringLiteral("SELECT name, beschreibung, ausgaben_typ_id FROM beguenstigte WHERE id = 2"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("Müller's Hofladen"));
    QCOMPARE(query.value(1).toString(), QStringLiteral("Quartierladen"));
    QCOMPARE(query.value(2).toInt(), 1);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("beguenstigte")), 3);
    QVERIFY(rows(dialog.table()).contains(QStringLiteral("Müller's Hofladen")));
    QVERIFY(cachedRecipientNames().contains(QStringLiteral("Müller's Hofladen")));
    QVERIFY(!cachedRecipientNames().contains(QStringLiteral("Müller's Laden")));
}

void TestRecipientForm::recipientWithExpensesIsKept()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,zahlungsmittel_id,"
        "bemerkung,ausgaben_typ,ausgaben_typ_id) VALUES ('2026-03-01',12.0,'Migros',1,'Bargeld',2,'',"
        "'Lebensmittel',1)"));
    RecipientDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Migros")));
    MessageBoxCatcher boxes(QMessageBox::Ok);
    click(dialog.remove());
    QCOMPARE(boxes.titles(), QStringList{ QStringLiteral("Daten vorhanden") });
    QCOMPARE(boxes.text(),
             QStringLiteral("Der Begünstigte kann nicht entfernt werden, da sich noch Einträge darunter befinden!"));
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("beguenstigte")), 3);
}

void TestRecipientForm::deleteAsksFirst()
{
    TestWorkspace ws;
    ws.seedMasterData();
    RecipientDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Vermieter AG")));
    {
        MessageBoxCatcher no;
        click(dialog.remove());
        QCOMPARE(no.title(), QStringLiteral("Begünstigter entfernen"));
        QCOMPARE(no.text(), QStringLiteral("Soll der gewählte Begünstigte gelöscht werden?"));
    }
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("beguenstigte")), 3);

    QVERIFY(clickRow(dialog.table(), QStringLiteral("Vermieter AG")));
    MessageBoxCatcher yes(QMessageBox::Ok);
    click(dialog.remove());
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT COUNT(*) FROM beguenstigte WHERE id = 3")).toInt(), 0);
    QVERIFY(!rows(dialog.table()).contains(QStringLiteral("Vermieter AG")));
    QVERIFY(!cachedRecipientNames().contains(QStringLiteral("Vermieter AG")));
    QVERIFY(!dialog.remove()->isEnabled());
}

QTEST_MAIN(TestRecipientForm)
#include "tst_recipientform.moc"
