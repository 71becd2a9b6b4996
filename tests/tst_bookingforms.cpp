// The booking dialogs as a user meets them: expenses, transfers, deposits, movement maintenance.

#include "accountentryform.h"
#include "accountmaintform.h"
#include "badinput.h"
#include "expenseentryform.h"
#include "expensetypeentry.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "testsupport.h"

using namespace BadInput;

namespace {

enum Kind { Expense, Transfer, Deposit, SalaryDeposit, Maintenance };
const char *const kindNames[] = {"expense", "transfer", "deposit", "salary", "maintenance"};

// One booking dialog, shown and driven the way a user does.
struct Dialog
{
    explicit Dialog(int kind, int id = 0)
    {
        DataProvider *dp = DataProvider::instance();
        PaymentInstruction *instrument = dp->getPaymentInstrument(id ? id : int(Seed::BankInstrument), true);
        if (kind == Expense)
            form.reset(new ExpenseEntryForm((type = dp->getExpenseType(id ? id : int(Seed::FoodType))).get()));
        else if (kind == SalaryDeposit)
            form.reset(new AccountEntryForm((source = dp->getIncomeSource(Seed::IncomeSalary)).get(), {25, 21, 22}));
        else if (kind == Maintenance)
            form.reset(new AccountMaintForm(instrument));
        else
            form.reset(kind == Deposit ? new AccountEntryForm(instrument)
                                       : new AccountEntryForm(instrument, {21, 25, 22, 23}));
        form->show();
        // Ready to book: the bank account pays, the savings account receives, a typed payer deposits.
        if (kind == Expense || kind == Transfer)
            choose("instrumentCombo", kind == Expense ? QStringLiteral("Postkonto") : QStringLiteral("Sparkonto"));
        if (kind == Deposit)
            choose("incomeCombo", QStringLiteral("Andere")), enter("incomeEdit", QStringLiteral("Flohmarkt"));
    }
    QLineEdit *edit(const char *name) { return form->findChild<QLineEdit *>(QLatin1String(name)); }
    QComboBox *combo(const char *name) { return form->findChild<QComboBox *>(QLatin1String(name)); }
    QPushButton *button(const QString &text) { return FormDriver::button(form.get(), text); }
    void click(const QString &text) { FormDriver::click(button(text)); }
    QTableView *table() { return form->findChild<QTableView *>(); }
    QSqlTableModel *model() { return static_cast<QSqlTableModel *>(table()->model()); }
    QStringList entries(const char *comboName)
    {
        QStringList texts;
        for (int i = 0; i < combo(comboName)->count(); ++i)
            texts << combo(comboName)->itemText(i);
        return texts;
    }
    // Keyboard navigation, which also reports the entry as chosen.
    void chooseIndex(const char *comboName, int index)
    {
        for (QComboBox *box = combo(comboName); index >= 0 && box->currentIndex() != index;)
            QTest::keyClick(box, box->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    }
    void choose(const char *name, const QString &text) { chooseIndex(name, combo(name)->findText(text)); }
    void enter(const char *editName, const QString &text)
    {
        FormDriver::type(edit(editName), text);
        QTest::keyClick(edit(editName), Qt::Key_Return);
    }
    void save(const QString &amount) { enter("amountEdit", amount), click(QStringLiteral("Speichern")); }
    int rowOf(int id)
    {
        const QModelIndex top = model()->index(0, model()->fieldIndex(QStringLiteral("id")));
        return model()->match(top, Qt::DisplayRole, id, 1, Qt::MatchExactly).value(0).row();
    }
    void clickRow(int row)
    {
        const QRect cell = table()->visualRect(model()->index(row, model()->fieldIndex(QStringLiteral("betrag"))));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // Destroyed in reverse order: the dialog before the records it shows.
    std::unique_ptr<ExpenseTypeEntry> type;
    std::unique_ptr<IncomeEntry> source;
    std::unique_ptr<QDialog> form;
};

double limitOf(int kind) { return kind == Expense ? 99999.0 : 9999999.0; }
QString text(const QString &sql) { return TestWorkspace::scalar(sql).toString(); }
QString balancesText() { return text("SELECT group_concat(betrag, ' ') FROM konten"); }

void seedMovement(const QString &values)
{
    TestWorkspace::exec("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,"
                        "op_flag,bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) VALUES ("
                        + values + ")");
}

} // namespace

class TestBookingForms : public QObject
{
    Q_OBJECT

private slots:
    void expenseBooksTheChosenRecords_data();
    void expenseBooksTheChosenRecords();
    void amounts_data();
    void amounts();
    void outcomes_data();
    void outcomes();
    void expenseSplitAndDelete();
    void transferPairWrittenAndTakenBack();
    void depositReachesTheChosenAccount_data();
    void depositReachesTheChosenAccount();
    void hostileTexts_data();
    void hostileTexts();
    void maintenanceUpdatesOnlyReferences();
};

void TestBookingForms::expenseBooksTheChosenRecords_data()
{
    QTest::addColumn<int>("instrumentId");
    QTest::addColumn<QString>("balances");
    QTest::addColumn<int>("movements");
    QTest::newRow("bank account") << int(Seed::BankInstrument) << "954.4 200.0 5000.0" << 1;
    QTest::newRow("linked card") << int(Seed::CardInstrument) << "954.4 200.0 5000.0" << 1;
    QTest::newRow("cash") << int(Seed::CashInstrument) << "1000.0 154.4 5000.0" << 0;
    QTest::newRow("second cash of the same name") << 5 << "1000.0 200.0 4954.4" << 0;
}

void TestBookingForms::expenseBooksTheChosenRecords()
{
    QFETCH(int, instrumentId);
    QFETCH(QString, balances);
    QFETCH(int, movements);
    TestWorkspace ws;
    ws.seedMasterData();
    // A second "Bargeld", paid from the savings account.
    TestWorkspace::exec("INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,"
                        "karten_nummer,beschreibung,name) VALUES (21,3,0,'','','Bargeld')");
    Dialog dlg(Expense);
    QCOMPARE(dlg.entries("subTypeCombo"), QStringList({"Getränke", "Grundnahrung", "<wird aufgeteilt>"}));
    dlg.choose("subTypeCombo", "Grundnahrung");
    dlg.chooseIndex("instrumentCombo", dlg.combo("instrumentCombo")->findData(instrumentId));
    dlg.choose("recipientCombo", "Müller's Laden");
    QVERIFY(!dlg.edit("recipientEdit")->isEnabled());
    dlg.enter("remarkEdit", "Wocheneinkauf");
    MessageBoxCatcher boxes;
    dlg.save("45,60");
    QVERIFY2(!boxes.seen(), qPrintable(boxes.title() + boxes.text()));
    QCOMPARE(text("SELECT a.betrag || '|' || zahlungsmittel_id || '|' || beguenstigter || '|' || beguenstigter_id "
                  "|| '|' || a.ausgaben_typ_id || '|' || a.bemerkung || '|' || d.ausgaben_sub_typ_id "
                  "FROM ausgaben a, ausgaben_detail d"),
             QStringLiteral("45.6|%1|Müller's Laden|2|1|Wocheneinkauf|1").arg(instrumentId));
    QCOMPARE(balancesText(), balances);
    QCOMPARE(text("SELECT COUNT(*) FROM konto_bewegungen WHERE ausgabe_id = 1 AND zahlungsmittel_id = "
                  + QString::number(instrumentId)).toInt(), movements);
    QCOMPARE(dlg.model()->rowCount(), 1);
}

// Every amount field with the shared bad amounts: stored as read, or
// refused with a box and an unchanged file.
void TestBookingForms::amounts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("caseIndex");
    for (int kind : {Expense, Transfer, Deposit}) {
        for (int i = 0; i < amountCases(limitOf(kind)).size(); ++i)
            QTest::addRow("%s %s", kindNames[kind], amountCases(limitOf(kind)).at(i).name) << kind << i;
    }
}

void TestBookingForms::amounts()
{
    QFETCH(int, kind);
    QFETCH(int, caseIndex);
    TestWorkspace ws;
    ws.seedMasterData();
    Dialog dlg(kind);
    const QString before = fileSnapshot();
    const double limit = limitOf(kind);
    const AmountCase amountCase = amountCases(limit).at(caseIndex);
    FormDriver::type(dlg.edit("amountEdit"), amountCase.typed);
    const QString shown = dlg.edit("amountEdit")->text();
    double expected = Refused;
    QVERIFY2(outcomeFor(amountCase, shown, expected), qPrintable(shown));
    MessageBoxCatcher boxes;
    dlg.save(amountCase.typed);
    QCOMPARE(DataProvider::toCents(TestWorkspace::balance(Seed::BankAccount)),
             DataProvider::toCents(1000.0 + (kind == Deposit ? 1 : -1) * qMax(expected, 0.0)));
    if (expected != Refused) {
        QVERIFY2(!boxes.seen(), qPrintable(boxes.title()));
    } else if (!shown.isEmpty()) {
        QCOMPARE(fileSnapshot(), before);
        QCOMPARE(boxes.titles(), QStringList({"Betrag ungültig!"}));
        const bool malformed = amountCase.malformed && shown == amountCase.typed;
        QCOMPARE(boxes.text(), malformed ? TwoDecimals : QStringLiteral("Limite: %1").arg(limit, 0, 'f', 1));
    }
}

// Availability in whole cents, the file's year, nothing to book with or
// onto, a failed write: a box says why and the file stays as it was.
void TestBookingForms::outcomes_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("title");   // empty: booked
    const auto row = [](const char *name, int kind, const QString &setup, const char *typed, const char *title) {
        QTest::newRow(name) << kind << setup << typed << title;
    };
    const char *over = "Betrags-Überschreitung";
    row("expense, whole balance", Expense, "", "1000.00", "");
    row("expense, one cent more", Expense, "", "1000.01", over);
    // 0.7 - 0.4 is a hair below 0.30 as a double.
    row("expense, computed balance", Expense, "UPDATE konten SET betrag = 0.7 - 0.4, initial_betrag = 0.7 - 0.4",
        "0,30", "");
    row("transfer, whole balance", Transfer, "", "1000,00", "");
    row("transfer, one cent more", Transfer, "", "1000.01", over);
    row("transfer without target", Transfer, "UPDATE konten SET stat = 0 WHERE id > 1", "15", "Zahlungsmittel fehlt");
    row("transfer within one account", Transfer, "UPDATE zahlungsmittel SET konto_id = 1", "15",
        "Interne Transaktion nicht möglich");
    row("expense without active account", Expense, "UPDATE konten SET stat = 0", "15", "Zahlungsmittel fehlt");
    row("deposit without active account", SalaryDeposit, "UPDATE konten SET stat = 0", "15", "Konto fehlt");
    const QString locked = "CREATE TRIGGER locked BEFORE INSERT ON konto_bewegungen BEGIN SELECT RAISE(ABORT, "
                           "'Bewegungen gesperrt'); END";
    const QString stamp = "UPDATE settings SET value = %1 WHERE name = 'CURRENT_YEAR'";
    for (int kind : {Expense, Transfer, Deposit}) {
        QTest::addRow("%s, write fails", kindNames[kind]) << kind << locked << "15" << "DB-Transaktion fehlgeschlagen!";
        for (int offset : {-1, 0, 1})
            QTest::addRow("%s, file of year %+d", kindNames[kind], offset)
                << kind << stamp.arg(QDate::currentDate().year() + offset) << "1000.00" << "";
    }
}

// A box says why a booking is refused, and the file stays as it was.
void TestBookingForms::outcomes()
{
    QFETCH(int, kind);
    QFETCH(QString, setup);
    QFETCH(QString, typed);
    QFETCH(QString, title);
    TestWorkspace ws;
    ws.seedMasterData();
    if (!setup.isEmpty())
        TestWorkspace::exec(setup);
    Dialog dlg(kind);
    const QString before = fileSnapshot();
    const double balance = TestWorkspace::balance(Seed::BankAccount);
    MessageBoxCatcher boxes;
    dlg.save(typed);
    QCOMPARE(boxes.titles(), title.isEmpty() ? QStringList() : QStringList({title}));
    // A stamped file offers and books only days of its year.
    const int year = text("SELECT value FROM settings WHERE name = 'CURRENT_YEAR'").toInt();
    const QDateEdit *date = dlg.form->findChild<QDateEdit *>();
    if (year > 1)
        QCOMPARE(qMakePair(date->minimumDate().year(), date->maximumDate().year()), qMakePair(year, year));
    if (title.isEmpty()) {
        QCOMPARE(TestWorkspace::balance(Seed::BankAccount), kind == Deposit ? 2000.0 : 0.0);
        QCOMPARE(balanceProblems(), QString());
        QCOMPARE(text("SELECT group_concat(DISTINCT substr(startdate, 1, 4)) FROM (SELECT startdate FROM ausgaben "
                      "UNION ALL SELECT startdate FROM konto_bewegungen)").toInt(),
                 year > 1 ? year : QDate::currentDate().year());
        return;
    }
    QCOMPARE(fileSnapshot(), before);
    QCOMPARE(DataProvider::instance()->getAccount(Seed::BankAccount)->getBalance(), balance);
    if (title.startsWith(QLatin1String("DB-")))
        QVERIFY(boxes.text().contains(QStringLiteral("Bewegungen gesperrt")));
    if (title.endsWith(QLatin1String("fehlt")))   // the input stays for a later try
        QCOMPARE(dlg.edit("amountEdit")->text(), typed);
}

void TestBookingForms::expenseSplitAndDelete()
{
    TestWorkspace ws;
    ws.seedMasterData();
    Dialog dlg(Expense);
    dlg.choose("instrumentCombo", "Visa");
    dlg.choose("subTypeCombo", "<wird aufgeteilt>");
    dlg.save("120");
    dlg.choose("instrumentCombo", "Bargeld");
    dlg.choose("subTypeCombo", "Getränke");
    dlg.save("15");
    QCOMPARE(text("SELECT group_concat(ausgaben_id) FROM ausgaben_detail"), QStringLiteral("2"));
    QCOMPARE(balancesText(), QStringLiteral("880.0 185.0 5000.0"));

    // Only the expense still waiting for its split can be split.
    dlg.clickRow(dlg.rowOf(2));
    QVERIFY(!dlg.button("Betrag aufteilen")->isEnabled());
    dlg.clickRow(dlg.rowOf(1));
    // The split opens for the clicked expense.
    QString seen;
    QTimer::singleShot(0, [&] {
        seen = FormDriver::field(QApplication::activeModalWidget(), QStringLiteral("Erfasster Betrag:"))->text();
        QApplication::activeModalWidget()->close();
    });
    dlg.click(QStringLiteral("Betrag aufteilen"));
    QCOMPARE(seen, QStringLiteral("120.00"));

    // Return answers "Nein".
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        seen = box->windowTitle() + '|' + box->text();
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
    });
    dlg.click(QStringLiteral("Eintrag löschen"));
    QCOMPARE(seen, QStringLiteral("Eintrag entfernen|Eintrag %1 löschen?").arg(dlg.rowOf(1) + 1));
    QCOMPARE(TestWorkspace::rowCount("ausgaben"), 2);
    MessageBoxCatcher boxes(QMessageBox::Ok);
    dlg.click(QStringLiteral("Eintrag löschen"));
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(text("SELECT group_concat(id) FROM ausgaben"), QStringLiteral("2"));
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 0);
    QCOMPARE(balancesText(), QStringLiteral("1000.0 185.0 5000.0"));
    QCOMPARE(dlg.model()->rowCount(), 1);
    QVERIFY(!dlg.button("Eintrag löschen")->isEnabled());
    QVERIFY(!dlg.button("Betrag aufteilen")->isEnabled());

    // The list follows the type's id: renamed, and its old name taken by another type.
    TestWorkspace::exec("UPDATE ausgaben_typen SET name = 'Essen' WHERE id = 1");
    TestWorkspace::exec("INSERT INTO ausgaben_typen (name,budget) VALUES ('Lebensmittel',100.0)");
    QCOMPARE(Dialog(Expense, Seed::FoodType).model()->rowCount(), 1);
    QCOMPARE(Dialog(Expense, 3).model()->rowCount(), 0);
}

void TestBookingForms::transferPairWrittenAndTakenBack()
{
    TestWorkspace ws;
    ws.seedMasterData();
    // Prepaid cards on the bank account and on an own one; a voucher on an inactive account.
    TestWorkspace::exec("INSERT INTO konten (startdate,name,konto_typ,stat,konto_nummer,initial_betrag,betrag,"
                        "konto_beschreibung) VALUES ('','P',13,1,'',0,0,''),('','A',13,0,'',0,0,'')");
    TestWorkspace::exec("INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,karten_nummer,"
                        "beschreibung,name) VALUES (23,1,0,'','','Prepaid Bank'),(23,4,0,'','','Prepaid Eigen'),"
                        "(22,5,0,'','','Check')");
    Dialog dlg(Transfer);
    QCOMPARE(dlg.entries("instrumentCombo"), QStringList({"Bargeld", "Prepaid Eigen", "Sparkonto"}));
    MessageBoxCatcher boxes(QMessageBox::Ok);
    dlg.choose("instrumentCombo", "Sparkonto");
    dlg.enter("remarkEdit", "Sparen");
    dlg.save("100");
    dlg.choose("instrumentCombo", "Bargeld");
    dlg.save("50");
    QVERIFY(!boxes.seen());
    const QString txId = text("SELECT tx_id FROM konto_bewegungen WHERE konto_id_von = 3");
    QCOMPARE(text("SELECT group_concat(konto_id_von || '>' || konto_id_nach || ' ' || op_flag || ' ' || bemerkung, "
                  "'|') FROM konto_bewegungen WHERE tx_id = '" + txId + "'"),
             QStringLiteral("1>3 0 An: Sparkonto - Sparen|3>1 1 Von: Postkonto - Sparen"));
    QCOMPARE(balancesText(), QStringLiteral("850.0 250.0 5100.0 0.0 0.0"));
    QCOMPARE(dlg.model()->rowCount(), 2);
    const int row = dlg.rowOf(text("SELECT id FROM konto_bewegungen WHERE op_flag = 0 AND tx_id = " + txId).toInt());
    dlg.clickRow(row);
    dlg.click(QStringLiteral("Eintrag löschen"));
    QCOMPARE(boxes.texts(), QStringList({QStringLiteral("Eintrag %1 löschen?").arg(row + 1)}));
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 2);
    QCOMPARE(balancesText(), QStringLiteral("950.0 250.0 5000.0 0.0 0.0"));
    QCOMPARE(dlg.model()->rowCount(), 1);

    // A movement whose partner is gone is no pair and stays.
    seedMovement("'2026-02-01',10.0,1,3,22,31,0,'',0,0,'2026210123456',0");
    dlg.click(QStringLiteral("Ausgänge anzeigen"));
    dlg.clickRow(dlg.rowOf(5));
    dlg.click(QStringLiteral("Eintrag löschen"));
    QCOMPARE(boxes.titles().last(), QStringLiteral("Fehler -> es ist kein Txn-Paar!"));
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 3);
}

void TestBookingForms::depositReachesTheChosenAccount_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("choice");   // the payer, or for a source the receiving instrument
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("balances");
    const char *salary = "1|Eingang: Lohn - Velo";
    QTest::newRow("typed payer") << int(Deposit) << "Flohmarkt" << "0|Flohmarkt - Velo" << "1000.0 200.0 5250.5";
    QTest::newRow("known source") << int(Deposit) << "Rente" << "2|Rente - Velo" << "1000.0 200.0 5250.5";
    QTest::newRow("salary, first offered") << int(SalaryDeposit) << "" << salary << "1000.0 450.5 5000.0";
    QTest::newRow("salary, chosen") << int(SalaryDeposit) << "Sparkonto" << salary << "1000.0 200.0 5250.5";
}

void TestBookingForms::depositReachesTheChosenAccount()
{
    QFETCH(int, kind);
    QFETCH(QString, choice);
    QFETCH(QString, stored);
    QFETCH(QString, balances);
    TestWorkspace ws;
    ws.seedMasterData();
    // No account bears the name of the savings instrument.
    TestWorkspace::exec("UPDATE konten SET name = 'Sparkonto UBS' WHERE id = 3");
    Dialog dlg(kind, Seed::SavingsInstrument);
    if (kind == Deposit) {
        QCOMPARE(dlg.edit("accountEdit")->text(), QStringLiteral("Sparkonto UBS"));
        const bool typed = dlg.combo("incomeCombo")->findText(choice) < 0;
        dlg.choose("incomeCombo", typed ? QStringLiteral("Andere") : choice);
        QCOMPARE(dlg.edit("incomeEdit")->isEnabled(), typed);
        dlg.enter("incomeEdit", choice);   // ignored for a known source
    } else {
        dlg.choose("instrumentCombo", choice);
    }
    dlg.enter("remarkEdit", "Velo");
    MessageBoxCatcher boxes;
    dlg.save("250,50");
    QVERIFY(!boxes.seen());
    QCOMPARE(text("SELECT group_concat(einnahme_quelle_id || '|' || bemerkung) FROM konto_bewegungen WHERE op_flag = 1 "
                  "AND tx_typ = 23 AND betrag = 250.5"),
             stored);
    QCOMPARE(balancesText(), balances);
    QCOMPARE(balanceProblems(), QString());
    QCOMPARE(dlg.model()->rowCount(), 1);

    // Removing it: "Nein" keeps it, "Ja" takes it back.
    dlg.clickRow(0);
    boxes.setAnswers({QMessageBox::Cancel, QMessageBox::Ok});
    dlg.click(QStringLiteral("Eintrag löschen"));
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 1);
    dlg.click(QStringLiteral("Eintrag löschen"));
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 0);
    QCOMPARE(balancesText(), QStringLiteral("1000.0 200.0 5000.0"));
    QCOMPARE(dlg.model()->rowCount(), 0);
}

// Every text field with the shared hostile texts: stored cut to its column,
// never inside a character; a blank payer books nothing.
void TestBookingForms::hostileTexts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("stored");   // empty: nothing booked
    for (const TextCase &c : textCases()) {
        const QString t = c.text;
        const auto row = [&](int kind, const char *field, const char *sql, const QString &out) {
            QTest::addRow("%s %s: %s", kindNames[kind], field, c.name) << kind << field << t << c.pasted << sql << out;
        };
        row(Expense, "recipientEdit", "SELECT beguenstigter || '|' || beguenstigter_id FROM ausgaben",
            expectedCut(t, 78) + "|0");
        row(Expense, "remarkEdit", "SELECT a.bemerkung || '|' || k.bemerkung FROM ausgaben a, konto_bewegungen k",
            expectedCut(t, 78) + '|' + expectedCut("Lebensmittel: " + t, 78));
        const QString tail = t.isEmpty() ? QString() : " - " + t;
        row(Transfer, "remarkEdit", "SELECT group_concat(bemerkung, '|') FROM konto_bewegungen",
            expectedCut("An: Sparkonto" + tail, 78) + '|' + expectedCut("Von: Postkonto" + tail, 78));
        row(Deposit, "incomeEdit", "SELECT bemerkung FROM konto_bewegungen",
            isBlank(t) ? QString() : expectedCut(t + " - ", 78));
        row(Deposit, "remarkEdit", "SELECT bemerkung FROM konto_bewegungen", expectedCut("Flohmarkt - " + t, 78));
        row(Maintenance, "txIdEdit", "SELECT tx_id FROM konto_bewegungen", expectedCut(t, 38));
    }
}

void TestBookingForms::hostileTexts()
{
    QFETCH(int, kind);
    QFETCH(QString, field);
    QFETCH(QString, input);
    QFETCH(bool, pasted);
    QFETCH(QString, sql);
    QFETCH(QString, stored);
    TestWorkspace ws;
    ws.seedMasterData();
    if (kind == Maintenance)
        seedMovement("'2026-01-10',45.6,1,0,21,31,0,'Lebensmittel: Migros',1,7,'',0");
    Dialog dlg(kind);
    if (kind == Maintenance)
        dlg.clickRow(0);
    const QString before = fileSnapshot();
    QLineEdit *edit = dlg.edit(qPrintable(field));
    enterText(edit, input, pasted);
    QCOMPARE(edit->text(), input);
    QTest::keyClick(edit, Qt::Key_Return);
    MessageBoxCatcher boxes;
    kind == Maintenance ? dlg.click(QStringLiteral("Update")) : dlg.save("10");
    QVERIFY2(!boxes.seen(), qPrintable(boxes.title() + ' ' + boxes.text()));
    QCOMPARE(stored.isEmpty() ? fileSnapshot() : text(sql), stored.isEmpty() ? before : stored);
}

void TestBookingForms::maintenanceUpdatesOnlyReferences()
{
    TestWorkspace ws;
    ws.seedMasterData();
    seedMovement("'2026-01-10',12345.67,1,0,21,31,0,'Lebensmittel: Migros',1,7,'',0");
    seedMovement("'2026-02-15',2500.0,1,0,23,31,1,'Lohn - Februar',0,0,'',1");
    seedMovement("'2026-03-02',100.0,3,1,22,31,1,'Von: Postkonto',0,0,'2026321010',0");
    const QString before = fileSnapshot();
    Dialog dlg(Maintenance);
    // Only the movements leaving the account, newest first.
    QCOMPARE(dlg.model()->rowCount(), 2);
    QCOMPARE(dlg.model()->record(0).value(QStringLiteral("startdate")).toString(), QStringLiteral("2026-02-15"));
    dlg.clickRow(dlg.rowOf(1));
    QCOMPARE(dlg.edit("amountEdit")->text() + ' ' + dlg.edit("expenseIdEdit")->text() + ' '
                 + dlg.edit("instrumentIdEdit")->text() + ' ' + dlg.edit("txTypeEdit")->text(),
             QStringLiteral("12345.67 7 1 21"));
    dlg.enter("expenseIdEdit", "12");
    dlg.enter("instrumentIdEdit", "3");
    dlg.enter("txIdEdit", "Paar'1");
    // Ids are read as base-10 integers; anything else is 0.
    dlg.enter("txTypeEdit", "12,5");
    dlg.enter("incomeSourceEdit", " 42 ");
    MessageBoxCatcher boxes;
    dlg.click(QStringLiteral("Update"));
    QVERIFY(!boxes.seen());
    const QString after = fileSnapshot();
    QCOMPARE(after, QString(before).replace("|1|0|21|31|0|Lebensmittel: Migros|1|7||0",
                                            "|1|0|0|31|0|Lebensmittel: Migros|3|12|Paar'1|42"));
    QVERIFY(!dlg.button("Update")->isEnabled());

    // A refused write is reported and changes nothing.
    TestWorkspace::exec("CREATE TRIGGER frozen BEFORE UPDATE ON konto_bewegungen "
                        "BEGIN SELECT RAISE(ABORT, 'Bewegung gesperrt'); END");
    dlg.clickRow(dlg.rowOf(1));
    dlg.enter("expenseIdEdit", "5");
    dlg.click(QStringLiteral("Update"));
    QCOMPARE(boxes.titles(), QStringList({"DB-Update fehlgeschlagen!"}));
    QVERIFY(boxes.text().contains(QStringLiteral("Bewegung gesperrt")));
    QCOMPARE(fileSnapshot(), after);
}

QTEST_MAIN(TestBookingForms)
#include "tst_bookingforms.moc"
