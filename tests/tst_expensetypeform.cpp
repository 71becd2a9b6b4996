#include "dataprovider.h"
#include "expensesubtypeform.h"
#include "expensetypeentry.h"
#include "expensetypeform.h"
#include "formdriver.h"
#include "testsupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTimer>

using namespace FormDriver;

namespace {

struct TypeDialog
{
    TypeDialog() { form.show(); }

    QLineEdit *name() { return field(&form, QStringLiteral("Ausgabentyp:")); }
    QLineEdit *budget() { return field(&form, QStringLiteral("Vorausichtliches Budget:")); }
    QPushButton *save() { return button(&form, QStringLiteral("Speichern")); }
    QPushButton *subTypes() { return button(&form, QStringLiteral("Ausgaben Unterbereiche")); }
    QPushButton *remove() { return button(&form, QStringLiteral("Ausgabentyp entfernen")); }
    QTableView *table() { return list(&form, QStringLiteral("Liste der Ausgabentypen")); }

    ExpenseTypeForm form{ 0 };
};

// Drives the sub-type dialog in either mode.
struct SubTypeDriver
{
    explicit SubTypeDriver(QWidget *dialog) : form(dialog) {}

    QLineEdit *name() { return field(form, QStringLiteral("Name:")); }
    QLineEdit *booked() { return field(form, QStringLiteral("Erfasster Betrag:")); }
    QLineEdit *remaining() { return field(form, QStringLiteral("Verbleibender Betrag:")); }
    QLineEdit *share() { return field(form, QStringLiteral("Betragsanteil:")); }
    QPushButton *save() { return button(form, QStringLiteral("Speichern")); }
    QPushButton *newEntry() { return button(form, QStringLiteral("Neuer Eintrag")); }
    QPushButton *remove() { return button(form, QStringLiteral("Unterbereich entfernen")); }
    QTableView *subTypes() { return list(form, QStringLiteral("Liste der Ausgaben-Unterbereiche")); }
    QTableView *details() { return list(form, QStringLiteral("Liste der Ausgabendetails")); }

    QWidget *form;
};

QStringList sorted(QStringList texts)
{
    texts.sort();
    return texts;
}

QString nameOfType(int id)
{
    return TestWorkspace::scalar(QStringLiteral("SELECT name FROM ausgaben_typen WHERE id = %1").arg(id)).toString();
}

// One booked expense of 100.00 on "Lebensmittel"; returns its id.
int bookExpense(double amount = 100.0)
{
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,zahlungsmittel_id,"
        "bemerkung,ausgaben_typ,ausgaben_typ_id) VALUES ('2026-03-01',%1,'Migros',1,'Bargeld',2,'',"
        "'Lebensmittel',1)").arg(amount));
    return TestWorkspace::scalar(QStringLiteral("SELECT MAX(id) FROM ausgaben")).toInt();
}

QList<double> sharesOf(int expenseId)
{
    QList<double> shares;
    QSqlQuery query(QStringLiteral("SELECT betrag FROM ausgaben_detail WHERE ausgaben_id = %1 ORDER BY id")
                        .arg(expenseId));
    while (query.next())
        shares << query.value(0).toDouble();
    return shares;
}

} // namespace

class TestExpenseTypeForm : public QObject
{
    Q_OBJECT

private slots:
    // Expense types.
    void newTypeIsStored_data();
    void newTypeIsStored();
    void budgetLimits_data();
    void budgetLimits();
    void editStoresNameAndBudget();
    void deletionGuards_data();
    void deletionGuards();
    void deleteUnusedType();
    void subTypesOpenForTheChosenType();

    // Sub-types.
    void subTypeInsertAndRename();
    void subTypeDeletion();

    // Split of an expense.
    void splitDownToZero();
    void oversizedShareIsRefused();
    void invalidShareIsRefused_data();
    void invalidShareIsRefused();
    void splitStartsFromExistingShares();
};

void TestExpenseTypeForm::newTypeIsStored_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::newRow("apostrophe") << QStringLiteral("Kinder's Hobbys & Bücher") << QStringLiteral("Kinder's Hobbys & Bücher");
    const QString longName = QStringLiteral("Versicherungen, Steuern und übrige Abgaben 2026");
    QTest::newRow("long") << longName << longName.left(38);
}

void TestExpenseTypeForm::newTypeIsStored()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);

    TestWorkspace ws;
    ws.seedMasterData();
    TypeDialog dialog;
    QCOMPARE(dialog.form.windowTitle(), QStringLiteral("Ausgabentypen"));
    type(dialog.name(), name);
    QVERIFY(!dialog.save()->isEnabled());
    type(dialog.budget(), QStringLiteral("1200,50"));
    QVERIFY(dialog.save()->isEnabled());
    MessageBoxCatcher boxes;
    click(dialog.save());
    QVERIFY(!boxes.seen());

    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT budget FROM ausgaben_typen WHERE name = :n"));
    query.bindValue(QStringLiteral(":n"), stored);
    QVERIFY(query.exec() && query.next());
    QCOMPARE(query.value(0).toDouble(), 1200.5);
    QVERIFY(rows(dialog.table()).contains(stored));
    QVERIFY(dialog.name()->text().isEmpty());
    QVERIFY(dialog.budget()->text().isEmpty());
    QVERIFY(!dialog.save()->isEnabled());

    QList<ExpenseTypeEntry *> types;
    DataProvider::instance()->getExpenseTypes(types);
    QCOMPARE(types.size(), 3);
    qDeleteAll(types);
}

void TestExpenseTypeForm::budgetLimits_data()
{
    QTest::addColumn<QString>("budget");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("zero") << QStringLiteral("0") << false;
    QTest::newRow("upper limit") << QStringLiteral("999999") << true;
    QTest::newRow("one cent above") << QStringLiteral("999999.01") << false;
    QTest::newRow("negative") << QStringLiteral("-5") << false;
}

void TestExpenseTypeForm::budgetLimits()
{
    QFETCH(QString, budget);
    QFETCH(bool, accepted);

    TestWorkspace ws;
    TypeDialog dialog;
    type(dialog.name(), QStringLiteral("Ferien"));
    type(dialog.budget(), budget);
    MessageBoxCatcher boxes;
    click(dialog.save());

    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("ausgaben_typen")), accepted ? 1 : 0);
    if (accepted) {
        QVERIFY(!boxes.seen());
        return;
    }
    QCOMPARE(boxes.title(), QStringLiteral("Betrag ungültig!"));
    QCOMPARE(boxes.text(), QStringLiteral("Eröffnungs-Limite: 999999.0"));
    QVERIFY(!dialog.save()->isEnabled());
    QCOMPARE(dialog.budget()->text(), budget);
}

void TestExpenseTypeForm::editStoresNameAndBudget()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TypeDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Wohnen")));
    QCOMPARE(dialog.budget()->text(), QStringLiteral("18000"));
    QVERIFY(dialog.remove()->isEnabled());
    QVERIFY(dialog.subTypes()->isEnabled());
    QVERIFY(!dialog.save()->isEnabled());

    type(dialog.name(), QStringLiteral("Wohnen & Nebenkosten"));
    type(dialog.budget(), QStringLiteral("19500.5"));
    click(dialog.save());
    QCOMPARE(nameOfType(Seed::HomeType), QStringLiteral("Wohnen & Nebenkosten"));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT budget FROM ausgaben_typen WHERE id = 2")).toDouble(), 19500.5);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("ausgaben_typen")), 2);
    QCOMPARE(sorted(rows(dialog.table())),
             (QStringList{ QStringLiteral("Lebensmittel"), QStringLiteral("Wohnen & Nebenkosten") }));
}

void TestExpenseTypeForm::deletionGuards_data()
{
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<bool>("withExpense");
    QTest::addColumn<QString>("text");
    QTest::newRow("sub-types")
        << QStringLiteral("Lebensmittel") << false
        << QStringLiteral("Der Ausgabentyp kann nicht entfernt werden, da sich noch Einträge darunter befinden!");
    QTest::newRow("booked expenses")
        << QStringLiteral("Wohnen") << true
        << QStringLiteral("Der Ausgabentyp kann nicht entfernt werden, da noch Ausgaben darauf gebucht sind!");
}

void TestExpenseTypeForm::deletionGuards()
{
    QFETCH(QString, typeName);
    QFETCH(bool, withExpense);
    QFETCH(QString, text);

    TestWorkspace ws;
    ws.seedMasterData();
    if (withExpense) {
        TestWorkspace::exec(QStringLiteral(
            "INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,zahlungsmittel_id,"
            "bemerkung,ausgaben_typ,ausgaben_typ_id) VALUES ('2026-03-01',1500.0,'Vermieter AG',3,'Postkonto',1,"
            "'Miete','Wohnen',2)"));
    }
    TypeDialog dialog;
    QVERIFY(clickRow(dialog.table(), typeName));
    MessageBoxCatcher boxes(QMessageBox::Ok);
    click(dialog.remove());

    QCOMPARE(boxes.titles(), QStringList{ QStringLiteral("Daten vorhanden") });
    QCOMPARE(boxes.text(), text);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("ausgaben_typen")), 2);
}

void TestExpenseTypeForm::deleteUnusedType()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TypeDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Wohnen")));
    {
        MessageBoxCatcher no;
        click(dialog.remove());
        QCOMPARE(no.title(), QStringLiteral("Ausgabentyp entfernen"));
        QCOMPARE(no.text(), QStringLiteral("Soll der gewählte Ausgabentyp gelöscht werden?"));
        QCOMPARE(TestWorkspace::rowCount(QStringLiteral("ausgaben_typen")), 2);
    }
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Wohnen")));
    MessageBoxCatcher yes(QMessageBox::Ok);
    click(dialog.remove());
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("ausgaben_typen")), 1);
    QCOMPARE(rows(dialog.table()), QStringList{ QStringLiteral("Lebensmittel") });
    QVERIFY(!dialog.remove()->isEnabled());
    QVERIFY(!dialog.subTypes()->isEnabled());
    QVERIFY(!DataProvider::instance()->getRecord(Seed::HomeType, DataProvider::ExpenseTypeEntryCode));
}

void TestExpenseTypeForm::subTypesOpenForTheChosenType()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TypeDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Lebensmittel")));

    QStringList shown;
    QString title;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(qobject_cast<ExpenseSubTypeForm *>(modal));
        title = modal->windowTitle();
        SubTypeDriver sub(modal);
        shown = rows(sub.subTypes());
        type(sub.name(), QStringLiteral("Gemüse"));
        click(sub.save());
        click(button(modal, QStringLiteral("Schliessen")));
    });
    click(dialog.subTypes());

    QCOMPARE(title, QStringLiteral("Ausgaben-Unterbereich"));
    QCOMPARE(sorted(shown), (QStringList{ QStringLiteral("Getränke"), QStringLiteral("Grundnahrung") }));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT ausgaben_typ_id FROM ausgaben_sub_typen "
                                                  "WHERE name = 'Gemüse'")).toInt(),
             int(Seed::FoodType));
    QVERIFY(!dialog.subTypes()->isEnabled());
}

void TestExpenseTypeForm::subTypeInsertAndRename()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ExpenseSubTypeForm form(Seed::FoodType);
    form.show();
    SubTypeDriver sub(&form);
    QVERIFY(!sub.save()->isEnabled());

    type(sub.name(), QStringLiteral("Bäcker's Brot"));
    QVERIFY(sub.save()->isEnabled());
    click(sub.save());
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT COUNT(*) FROM ausgaben_sub_typen WHERE name = 'Bäcker''s Brot' "
                                                  "AND ausgaben_typ_id = 1")).toInt(), 1);
    QVERIFY(rows(sub.subTypes()).contains(QStringLiteral("Bäcker's Brot")));
    // The field waits for "Neuer Eintrag" before the next one.
    QVERIFY(!sub.name()->isEnabled());
    click(sub.newEntry());
    QVERIFY(sub.name()->isEnabled());

    // Renaming keeps the row and its type; long names are cut.
    QVERIFY(clickRow(sub.subTypes(), QStringLiteral("Getränke")));
    QVERIFY(sub.remove()->isEnabled());
    const QString longName = QStringLiteral("Getränke, Wein, Bier und andere Spirituosen");
    type(sub.name(), longName);
    click(sub.save());
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT name FROM ausgaben_sub_typen WHERE id = 2")).toString(),
             longName.left(38));
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("ausgaben_sub_typen")), 3);
    // Other types' sub-types stay out of this list.
    QCOMPARE(rows(sub.subTypes()).size(), 3);
}

void TestExpenseTypeForm::subTypeDeletion()
{
    TestWorkspace ws;
    ws.seedMasterData();
    const int expense = bookExpense();
    TestWorkspace::exec(QStringLiteral("INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag,bemerkung) "
                                       "VALUES (%1,1,40.0,'no remark!')").arg(expense));
    ExpenseSubTypeForm form(Seed::FoodType);
    form.show();
    SubTypeDriver sub(&form);

    QVERIFY(clickRow(sub.subTypes(), QStringLiteral("Grundnahrung")));
    {
        MessageBoxCatcher boxes(QMessageBox::Ok);
        click(sub.remove());
        QCOMPARE(boxes.titles(), QStringList{ QStringLiteral("Daten vorhanden") });
        QCOMPARE(boxes.text(), QStringLiteral("Der Ausgaben-Unterbereich kann nicht entfernt werden, da sich noch "
                                              "Einträge darunter befinden!"));
    }
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("ausgaben_sub_typen")), 2);

    QVERIFY(clickRow(sub.subTypes(), QStringLiteral("Getränke")));
    MessageBoxCatcher yes(QMessageBox::Ok);
    click(sub.remove());
    QCOMPARE(yes.title(), QStringLiteral("Ausgabentyp entfernen"));
    QCOMPARE(yes.text(), QStringLiteral("Soll der Ausgaben-Unterbereich gelöscht werden?"));
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("ausgaben_sub_typen")), 1);
    QCOMPARE(rows(sub.subTypes()), QStringList{ QStringLiteral("Grundnahrung") });
    QVERIFY(!sub.remove()->isEnabled());
}

void TestExpenseTypeForm::splitDownToZero()
{
    TestWorkspace ws;
    ws.seedMasterData();
    const int expense = bookExpense();
    ExpenseSubTypeForm form(expense, Seed::FoodType, 100.0);
    form.show();
    SubTypeDriver split(&form);
    QCOMPARE(form.windowTitle(), QStringLiteral("Ausgaben Details"));
    QCOMPARE(split.booked()->text(), QStringLiteral("100.00"));
    QVERIFY(!split.booked()->isEnabled());
    QCOMPARE(split.remaining()->text(), QStringLiteral("100.00"));

    // A share needs a sub-type.
    type(split.share(), QStringLiteral("30"));
    QVERIFY(!split.save()->isEnabled());
    QVERIFY(clickRow(split.subTypes(), QStringLiteral("Grundnahrung")));
    QVERIFY(split.save()->isEnabled());
    MessageBoxCatcher boxes;
    click(split.save());
    QCOMPARE(sharesOf(expense), QList<double>{ 30.0 });
    QCOMPARE(split.remaining()->text(), QStringLiteral("70.00"));
    QVERIFY(split.share()->text().isEmpty());
    QVERIFY(!split.save()->isEnabled());

    QVERIFY(clickRow(split.subTypes(), QStringLiteral("Getränke")));
    type(split.share(), QStringLiteral("70,00"));
    click(split.save());
    QVERIFY(!boxes.seen());
    QCOMPARE(sharesOf(expense), (QList<double>{ 30.0, 70.0 }));
    QCOMPARE(split.remaining()->text(), QStringLiteral("0.0"));
    QVERIFY(!split.share()->isEnabled());
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT ausgaben_sub_typ_id FROM ausgaben_detail WHERE betrag = 70")).toInt(),
             int(Seed::FoodSubDrinks));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT bemerkung FROM ausgaben_detail WHERE betrag = 70")).toString(),
             QStringLiteral("no remark!"));
    QCOMPARE(rows(split.details()).size(), 2);
    // The expense itself is untouched.
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT betrag FROM ausgaben WHERE id = %1").arg(expense)).toDouble(), 100.0);
}

void TestExpenseTypeForm::oversizedShareIsRefused()
{
    TestWorkspace ws;
    ws.seedMasterData();
    const int expense = bookExpense();
    ExpenseSubTypeForm form(expense, Seed::FoodType, 100.0);
    form.show();
    SubTypeDriver split(&form);
    QVERIFY(clickRow(split.subTypes(), QStringLiteral("Grundnahrung")));

    {
        MessageBoxCatcher boxes;
        type(split.share(), QStringLiteral("150"));
        click(split.save());
        QCOMPARE(boxes.title(), QStringLiteral("Betrag ungültig!"));
        QVERIFY2(boxes.text().contains(QStringLiteral("100.00")), qPrintable(boxes.text()));
    }
    QVERIFY(sharesOf(expense).isEmpty());
    QCOMPARE(split.remaining()->text(), QStringLiteral("100.00"));
    QCOMPARE(split.share()->text(), QStringLiteral("150"));

    type(split.share(), QStringLiteral("99.99"));
    click(split.save());
    QCOMPARE(split.remaining()->text(), QStringLiteral("0.01"));
    // One cent too much is still too much.
    {
        MessageBoxCatcher boxes;
        type(split.share(), QStringLiteral("0.02"));
        click(split.save());
        QCOMPARE(boxes.title(), QStringLiteral("Betrag ungültig!"));
    }
    QCOMPARE(sharesOf(expense), QList<double>{ 99.99 });
    type(split.share(), QStringLiteral("0.01"));
    click(split.save());
    QCOMPARE(split.remaining()->text(), QStringLiteral("0.0"));
}

void TestExpenseTypeForm::invalidShareIsRefused_data()
{
    QTest::addColumn<QString>("share");
    QTest::newRow("zero") << QStringLiteral("0");
    QTest::newRow("text") << QStringLiteral("dreissig");
    QTest::newRow("negative") << QStringLiteral("-10");
}

void TestExpenseTypeForm::invalidShareIsRefused()
{
    QFETCH(QString, share);
    TestWorkspace ws;
    ws.seedMasterData();
    const int expense = bookExpense();
    ExpenseSubTypeForm form(expense, Seed::FoodType, 100.0);
    form.show();
    SubTypeDriver split(&form);
    QVERIFY(clickRow(split.subTypes(), QStringLiteral("Grundnahrung")));
    type(split.share(), share);
    MessageBoxCatcher boxes;
    click(split.save());
    QCOMPARE(boxes.title(), QStringLiteral("Betrag ungültig!"));
    QVERIFY(sharesOf(expense).isEmpty());
    QCOMPARE(split.remaining()->text(), QStringLiteral("100.00"));
}

void TestExpenseTypeForm::splitStartsFromExistingShares()
{
    TestWorkspace ws;
    ws.seedMasterData();
    const int expense = bookExpense(80.5);
    TestWorkspace::exec(QStringLiteral("INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag,bemerkung) "
                                       "VALUES (%1,1,20.25,'no remark!')").arg(expense));
    // Shares of another expense do not count.
    const int other = bookExpense(10.0);
    TestWorkspace::exec(QStringLiteral("INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag,bemerkung) "
                                       "VALUES (%1,1,10.0,'no remark!')").arg(other));
    ExpenseSubTypeForm form(expense, Seed::FoodType, 80.5);
    form.show();
    SubTypeDriver split(&form);
    QCOMPARE(split.booked()->text(), QStringLiteral("80.50"));
    QCOMPARE(split.remaining()->text(), QStringLiteral("60.25"));
    QVERIFY(split.share()->isEnabled());
    QCOMPARE(rows(split.details()).size(), 1);

    // An expense split completely opens locked.
    ExpenseSubTypeForm done(other, Seed::FoodType, 10.0);
    SubTypeDriver full(&done);
    QCOMPARE(full.remaining()->text(), QStringLiteral("0.0"));
    QVERIFY(!full.share()->isEnabled());
}

QTEST_MAIN(TestExpenseTypeForm)
#include "tst_expensetypeform.moc"
