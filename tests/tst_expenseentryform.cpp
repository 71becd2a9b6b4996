#include "dataprovider.h"
#include "expenseentryform.h"
#include "expensetypeentry.h"
#include "formdriver.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTimer>

#include <memory>

using namespace FormDriver;

namespace {

// The expense dialog of one expense type, shown and driven like a user.
struct ExpenseDialog
{
    explicit ExpenseDialog(int typeId = Seed::FoodType)
        : expenseType(static_cast<ExpenseTypeEntry *>(
              DataProvider::instance()->getRecord(typeId, DataProvider::ExpenseTypeEntryCode))),
          form(expenseType.get())
    {
        form.show();
    }

    QLineEdit *edit(const char *name) { return form.findChild<QLineEdit *>(QLatin1String(name)); }
    QComboBox *combo(const char *name) { return form.findChild<QComboBox *>(QLatin1String(name)); }
    QPushButton *button(const QString &text) { return FormDriver::button(&form, text); }
    QTableView *table() { return list(&form, QStringLiteral("Ausgaben")); }
    QSqlTableModel *model() { return static_cast<QSqlTableModel *>(table()->model()); }

    // Keyboard navigation, which also reports the entry as chosen.
    void choose(const char *comboName, int index)
    {
        QComboBox *box = combo(comboName);
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index)
            QTest::keyClick(box, Qt::Key_Up);
    }
    void choose(const char *comboName, const QString &text) { choose(comboName, combo(comboName)->findText(text)); }

    void enter(const char *editName, const QString &text)
    {
        type(edit(editName), text);
        QTest::keyClick(edit(editName), Qt::Key_Return);
    }
    void save(const QString &amount)
    {
        enter("amountEdit", amount);
        click(button(QStringLiteral("Speichern")));
    }

    int rowOf(int expenseId)
    {
        for (int row = 0; row < model()->rowCount(); ++row)
            if (model()->record(row).value(QStringLiteral("id")).toInt() == expenseId)
                return row;
        return -1;
    }
    void clickRowOf(int expenseId)
    {
        const QModelIndex index = model()->index(rowOf(expenseId), model()->fieldIndex(QStringLiteral("betrag")));
        QVERIFY(index.isValid());
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, table()->visualRect(index).center());
    }

    std::unique_ptr<ExpenseTypeEntry> expenseType;
    ExpenseEntryForm form;
};

QVariant expenseValue(const QString &column, int id = 1)
{
    return TestWorkspace::scalar(QStringLiteral("SELECT %1 FROM ausgaben WHERE id = %2").arg(column).arg(id));
}

} // namespace

class TestExpenseEntryForm : public QObject
{
    Q_OBJECT

private slots:
    void amountLimits_data();
    void amountLimits();
    void availabilityInCents_data();
    void availabilityInCents();
    void bookingPerInstrument_data();
    void bookingPerInstrument();
    void splitLaterStoresNoDetail();
    void recipients();
    void combosCarryIds();
    void noInstrumentOffered();
    void failedPostingChangesNothing();
    void deleteGivesTheMoneyBack();
    void listsTheTypesBookingsById();
};

void TestExpenseEntryForm::amountLimits_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("stored");   // 0: refused
    QTest::newRow("upper limit") << "99999" << 99999.0;
    QTest::newRow("decimal comma") << "12,5" << 12.5;
    QTest::newRow("decimal point") << "7.05" << 7.05;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("zero with cents") << "0,00" << 0.0;
}

void TestExpenseEntryForm::amountLimits()
{
    QFETCH(QString, typed);
    QFETCH(double, stored);
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec("UPDATE konten SET betrag = 200000.0 WHERE id = 1");
    ExpenseDialog dlg;
    dlg.choose("instrumentCombo", "Postkonto");

    MessageBoxCatcher boxes;
    dlg.save(typed);

    if (stored > 0.0) {
        QVERIFY(!boxes.seen());
        QCOMPARE(expenseValue("betrag").toDouble(), stored);
    } else {
        QCOMPARE(boxes.title(), QStringLiteral("Betrag ungültig!"));
        QCOMPARE(boxes.text(), QStringLiteral("Limite: 99999.0"));
        QCOMPARE(TestWorkspace::rowCount("ausgaben"), 0);
    }
    QVERIFY(!dlg.button("Speichern")->isEnabled());
}

void TestExpenseEntryForm::availabilityInCents_data()
{
    QTest::addColumn<double>("balance");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("whole balance") << 1000.0 << "1000.00" << true;
    QTest::newRow("one cent more") << 1000.0 << "1000.01" << false;
    // 0.7 - 0.4 is a hair below 0.30 as a double.
    QTest::newRow("computed balance") << 0.7 - 0.4 << "0,30" << true;
}

void TestExpenseEntryForm::availabilityInCents()
{
    QFETCH(double, balance);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral("UPDATE konten SET betrag = %1 WHERE id = 1").arg(balance, 0, 'g', 17));
    ExpenseDialog dlg;
    dlg.choose("instrumentCombo", "Postkonto");

    MessageBoxCatcher boxes;
    dlg.save(typed);

    if (accepted) {
        QVERIFY(!boxes.seen());
        QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 0.0);
    } else {
        QCOMPARE(boxes.title(), QStringLiteral("Betrags-Überschreitung"));
        QCOMPARE(boxes.text(), QStringLiteral("Betrag nicht verfügbar!"));
        QCOMPARE(TestWorkspace::rowCount("ausgaben") + TestWorkspace::rowCount("ausgaben_detail")
                     + TestWorkspace::rowCount("konto_bewegungen"), 0);
        QCOMPARE(TestWorkspace::balance(Seed::BankAccount), balance);
    }
    QCOMPARE(dlg.edit("amountEdit")->text(), QStringLiteral("0.0"));
}

void TestExpenseEntryForm::bookingPerInstrument_data()
{
    QTest::addColumn<QString>("instrument");
    QTest::addColumn<int>("instrumentId");
    QTest::addColumn<int>("accountId");
    QTest::addColumn<double>("balanceAfter");
    QTest::addColumn<bool>("movement");
    QTest::newRow("bank account") << "Postkonto" << int(Seed::BankInstrument) << int(Seed::BankAccount) << 954.4 << true;
    QTest::newRow("linked card") << "Visa" << int(Seed::CardInstrument) << int(Seed::BankAccount) << 954.4 << true;
    QTest::newRow("cash") << "Bargeld" << int(Seed::CashInstrument) << int(Seed::CashAccount) << 154.4 << false;
}

void TestExpenseEntryForm::bookingPerInstrument()
{
    QFETCH(QString, instrument);
    QFETCH(int, instrumentId);
    QFETCH(int, accountId);
    QFETCH(double, balanceAfter);
    QFETCH(bool, movement);
    TestWorkspace ws;
    ws.seedMasterData();
    ExpenseDialog dlg;
    dlg.choose("subTypeCombo", "Grundnahrung");
    dlg.choose("instrumentCombo", instrument);
    dlg.choose("recipientCombo", "Migros");
    dlg.enter("remarkEdit", "Wocheneinkauf");

    MessageBoxCatcher boxes;
    dlg.save("45,60");

    QVERIFY(!boxes.seen());
    QCOMPARE(expenseValue("betrag || '|' || zahlungsmittel || '|' || zahlungsmittel_id || '|' || beguenstigter_id "
                          "|| '|' || ausgaben_typ || '|' || ausgaben_typ_id || '|' || bemerkung").toString(),
             QStringLiteral("45.6|%1|%2|1|Lebensmittel|1|Wocheneinkauf").arg(instrument).arg(instrumentId));
    QCOMPARE(TestWorkspace::scalar("SELECT ausgaben_sub_typ_id FROM ausgaben_detail WHERE ausgaben_id = 1").toInt(),
             int(Seed::FoodSubBasic));
    QCOMPARE(TestWorkspace::balance(accountId), balanceAfter);
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), movement ? 1 : 0);
    if (movement)
        QCOMPARE(TestWorkspace::scalar("SELECT bemerkung FROM konto_bewegungen WHERE ausgabe_id = 1 AND tx_typ = 21 "
                                       "AND op_flag = 0 AND tx_id = '' AND zahlungsmittel_id = "
                                       + QString::number(instrumentId)).toString(),
                 QStringLiteral("Lebensmittel: Wocheneinkauf"));

    // The list shows the booking; the inputs are ready for the next one.
    QCOMPARE(dlg.model()->rowCount(), 1);
    QCOMPARE(dlg.edit("amountEdit")->text(), QStringLiteral("0.0"));
    QVERIFY(dlg.edit("remarkEdit")->text().isEmpty());
    QVERIFY(!dlg.button("Speichern")->isEnabled());
}

void TestExpenseEntryForm::splitLaterStoresNoDetail()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ExpenseDialog dlg;
    dlg.choose("subTypeCombo", "<wird aufgeteilt>");
    dlg.save("80");
    dlg.choose("subTypeCombo", "Getränke");
    dlg.save("20");

    QCOMPARE(TestWorkspace::rowCount("ausgaben"), 2);
    QCOMPARE(TestWorkspace::scalar("SELECT group_concat(ausgaben_id) FROM ausgaben_detail").toString(),
             QStringLiteral("2"));
    dlg.clickRowOf(2);
    QVERIFY(!dlg.button("Betrag aufteilen")->isEnabled());
    dlg.clickRowOf(1);
    QVERIFY(dlg.button("Betrag aufteilen")->isEnabled());
    QVERIFY(dlg.button("Eintrag löschen")->isEnabled());

    // The split dialog opens for the clicked expense with its amount.
    QString splitTitle;
    QString bookedAmount;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *split = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!split)
            return;
        splitTitle = split->windowTitle();
        bookedAmount = field(split, QStringLiteral("Erfasster Betrag:"))->text();
        split->reject();
    });
    poll.start();
    click(dlg.button("Betrag aufteilen"));
    QCOMPARE(splitTitle, QStringLiteral("Ausgaben Details"));
    QCOMPARE(bookedAmount, QStringLiteral("80.00"));
}

void TestExpenseEntryForm::recipients()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ExpenseDialog dlg;

    // "Andere" is chosen at first: the typed name is stored without an id.
    dlg.enter("recipientEdit", "Bäckerei Huber");
    dlg.save("4.20");
    QCOMPARE(expenseValue("beguenstigter || '|' || beguenstigter_id").toString(), QStringLiteral("Bäckerei Huber|0"));
    QVERIFY(dlg.edit("recipientEdit")->text().isEmpty());

    dlg.choose("recipientCombo", "Müller's Laden");
    QVERIFY(!dlg.edit("recipientEdit")->isEnabled());
    dlg.save("9.90");
    QCOMPARE(expenseValue("beguenstigter || '|' || beguenstigter_id", 2).toString(), QStringLiteral("Müller's Laden|2"));

    dlg.choose("recipientCombo", "Andere");
    QVERIFY(dlg.edit("recipientEdit")->isEnabled());
}

void TestExpenseEntryForm::combosCarryIds()
{
    TestWorkspace ws;
    ws.seedMasterData();
    // A second "Bargeld" with an account of its own; "Sparkonto" inactive.
    TestWorkspace::exec("INSERT INTO konten (startdate,name,konto_typ,stat,konto_nummer,initial_betrag,betrag,"
                        "konto_beschreibung) VALUES ('2026-01-01','Bargeld',13,1,'',50.0,50.0,'')");
    TestWorkspace::exec("INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,"
                        "karten_nummer,beschreibung,name) VALUES (21,4,0,'','','Bargeld')");
    TestWorkspace::exec("UPDATE konten SET stat = 0 WHERE id = 3");
    ExpenseDialog dlg;

    QComboBox *subTypes = dlg.combo("subTypeCombo");
    QCOMPARE(subTypes->count(), 3);
    QCOMPARE(subTypes->itemData(0).toInt(), int(Seed::FoodSubDrinks));
    QCOMPARE(subTypes->itemText(2), QStringLiteral("<wird aufgeteilt>"));
    QCOMPARE(dlg.combo("recipientCombo")->itemText(0), QStringLiteral("Andere"));
    QCOMPARE(dlg.combo("recipientCombo")->count(), 4);
    QComboBox *instruments = dlg.combo("instrumentCombo");
    QCOMPARE(instruments->count(), 4);
    QCOMPARE(instruments->findData(int(Seed::SavingsInstrument)), -1);
    QVERIFY(!dlg.button("Speichern")->isEnabled());

    const int second = instruments->findData(5);
    QCOMPARE(instruments->itemText(second), QStringLiteral("Bargeld"));
    dlg.choose("instrumentCombo", second);
    dlg.save("30");

    QCOMPARE(expenseValue("zahlungsmittel_id").toInt(), 5);
    QCOMPARE(TestWorkspace::balance(4), 20.0);
    QCOMPARE(TestWorkspace::balance(Seed::CashAccount), 200.0);
}

void TestExpenseEntryForm::noInstrumentOffered()
{
    TestWorkspace ws;
    TestWorkspace::exec("INSERT INTO ausgaben_typen (name,budget) VALUES ('Freizeit',1000.0)");
    ExpenseDialog dlg(1);
    QCOMPARE(dlg.combo("instrumentCombo")->count(), 0);

    MessageBoxCatcher boxes;
    dlg.save("15");

    QCOMPARE(boxes.titles(), QStringList({"Zahlungsmittel fehlt"}));
    QVERIFY(boxes.text().contains(QStringLiteral("kein Zahlungsmittel")));
    QCOMPARE(TestWorkspace::rowCount("ausgaben"), 0);
    // The input stays for a later try.
    QCOMPARE(dlg.edit("amountEdit")->text(), QStringLiteral("15"));
}

void TestExpenseEntryForm::failedPostingChangesNothing()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec("CREATE TRIGGER no_movements BEFORE INSERT ON konto_bewegungen "
                        "BEGIN SELECT RAISE(ABORT, 'Bewegungen gesperrt'); END");
    ExpenseDialog dlg;
    dlg.choose("instrumentCombo", "Postkonto");

    MessageBoxCatcher boxes;
    dlg.save("100");

    QCOMPARE(boxes.title(), QStringLiteral("DB-Transaktion fehlgeschlagen!"));
    QVERIFY(boxes.text().contains(QStringLiteral("Bewegungen gesperrt")));
    QCOMPARE(TestWorkspace::rowCount("ausgaben") + TestWorkspace::rowCount("ausgaben_detail"), 0);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);
    QCOMPARE(dlg.model()->rowCount(), 0);
}

void TestExpenseEntryForm::deleteGivesTheMoneyBack()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ExpenseDialog dlg;
    dlg.choose("instrumentCombo", "Visa");
    dlg.choose("subTypeCombo", "<wird aufgeteilt>");
    dlg.save("120");
    dlg.choose("instrumentCombo", "Bargeld");
    dlg.choose("subTypeCombo", "Getränke");
    dlg.save("15");
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 880.0);

    // Return answers "Nein": the expense stays, the button stays for another try.
    dlg.clickRowOf(1);
    QString question;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        question = box->windowTitle() + '|' + qobject_cast<QMessageBox *>(box)->text();
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
    });
    click(dlg.button("Eintrag löschen"));
    QCOMPARE(TestWorkspace::rowCount("ausgaben"), 2);
    QCOMPARE(question, QStringLiteral("Eintrag entfernen|Eintrag %1 löschen?").arg(dlg.rowOf(1) + 1));

    MessageBoxCatcher boxes(QMessageBox::Ok);
    click(dlg.button("Eintrag löschen"));
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(TestWorkspace::rowCount("ausgaben"), 1);
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 0);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);
    QCOMPARE(TestWorkspace::balance(Seed::CashAccount), 185.0);
    QCOMPARE(dlg.model()->rowCount(), 1);
    QVERIFY(!dlg.button("Eintrag löschen")->isEnabled());
    // The deleted expense can no longer be split, not even by the data layer.
    QVERIFY(!dlg.button("Betrag aufteilen")->isEnabled());
    QString err;
    QVERIFY(!DataProvider::instance()->insertExpenseDetail(1, Seed::FoodSubBasic, 120.0, err));
    QCOMPARE(TestWorkspace::rowCount("ausgaben_detail"), 1);
}

void TestExpenseEntryForm::listsTheTypesBookingsById()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ExpenseDialog().save("10");
    // The type is renamed, and a second type takes its old name.
    TestWorkspace::exec("UPDATE ausgaben_typen SET name = 'Essen' WHERE id = 1");
    TestWorkspace::exec("INSERT INTO ausgaben_typen (name,budget) VALUES ('Lebensmittel',100.0)");
    QCOMPARE(ExpenseDialog(Seed::FoodType).model()->rowCount(), 1);
    QCOMPARE(ExpenseDialog(3).model()->rowCount(), 0);
}

QTEST_MAIN(TestExpenseEntryForm)
#include "tst_expenseentryform.moc"
