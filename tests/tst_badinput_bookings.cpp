// Unusual and hostile input in the booking dialogs: every text field with
// the texts of badinput.h, every amount field with the amounts. Each input
// is either stored as the column rules say (cut to the column, never inside
// a character) or refused with a German message box; the file never holds
// half a booking and the balances always agree with the bookings.

#include "accountentryform.h"
#include "accountmaintform.h"
#include "badinput.h"
#include "dataprovider.h"
#include "expenseentryform.h"
#include "expensetypeentry.h"
#include "formdriver.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace BadInput;

namespace {

const QList<int> transferTypes = {21, 25, 22, 23};
const QList<int> depositTypes = {25, 21, 22};

// A shown dialog, driven the way a user does.
struct Driver
{
    // Dialogs built after the driver set form and show it themselves.
    explicit Driver(QDialog *dialog = nullptr) : form(dialog)
    {
        if (form)
            form->show();
    }

    QLineEdit *edit(const char *name) { return form->findChild<QLineEdit *>(QLatin1String(name)); }
    QComboBox *combo(const char *name) { return form->findChild<QComboBox *>(QLatin1String(name)); }
    QPushButton *button(const QString &text) { return FormDriver::button(form, text); }
    QSqlTableModel *model(const char *tableName)
    {
        return static_cast<QSqlTableModel *>(form->findChild<QTableView *>(QLatin1String(tableName))->model());
    }

    // Keyboard navigation, which also reports the entry as chosen.
    void choose(const char *comboName, const QString &text)
    {
        QComboBox *box = combo(comboName);
        const int index = box->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index)
            QTest::keyClick(box, Qt::Key_Up);
    }
    void enter(const char *editName, const QString &text)
    {
        FormDriver::type(edit(editName), text);
        QTest::keyClick(edit(editName), Qt::Key_Return);
    }
    // Types the amount, finishes it and clicks "Speichern" (a click on a
    // disabled button does nothing, as for a user).
    void save(const QString &amount)
    {
        enter("amountEdit", amount);
        FormDriver::click(button(QStringLiteral("Speichern")));
    }

    QDialog *form;
};

QString text(const QString &sql)
{
    return TestWorkspace::scalar(sql).toString();
}

PaymentInstruction *instrument(int id)
{
    return DataProvider::instance()->getPaymentInstrument(id, true);
}

void addTextRows(const QStringList &fields)
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("pasted");
    for (const QString &field : fields) {
        for (const TextCase &textCase : textCases())
            QTest::addRow("%s: %s", qPrintable(field), textCase.name) << field << textCase.text << textCase.pasted;
    }
}

void addAmountRows(double limit)
{
    QTest::addColumn<int>("caseIndex");
    const QList<AmountCase> cases = amountCases(limit);
    for (int i = 0; i < cases.size(); ++i)
        QTest::addRow("%s", cases.at(i).name) << i;
}

// The common judgement of one amount: the field shows something the typed
// text may become, and then the outcome is the one for that text.
struct AmountTrial
{
    AmountTrial(double limit, int caseIndex, QLineEdit *field) : amountCase(amountCases(limit).at(caseIndex))
    {
        FormDriver::type(field, amountCase.typed);
        shown = field->text();
        known = outcomeFor(amountCase, shown, expected);
    }

    AmountCase amountCase;
    QString shown;
    double expected = Refused;
    bool known = false;
};

// Whatever the field shows, saving answers it and says what is wrong.
void verifyAmountRefusal(const MessageBoxCatcher &boxes, const AmountTrial &trial, const QString &limitText)
{
    if (trial.shown.isEmpty())
        return;
    QCOMPARE(boxes.titles(), QStringList({ QStringLiteral("Betrag ungültig!") }));
    const bool malformed = trial.amountCase.malformed && trial.shown == trial.amountCase.typed;
    QCOMPARE(boxes.text(), malformed ? TwoDecimals : limitText);
}

// Nothing changed, and any box that came up was a German refusal.
#define VERIFY_REFUSED(boxes, before)                                                              \
    do {                                                                                           \
        QCOMPARE(fileSnapshot(), before);                                                          \
        for (const QString &title : (boxes).titles())                                              \
            QVERIFY2(isGermanRefusal(title), qPrintable(title));                                   \
        QCOMPARE(balanceProblems(), QString());                                                    \
    } while (false)

} // namespace

class TestBadInputBookings : public QObject
{
    Q_OBJECT

private slots:
    void cutNeverSplitsACharacter_data();
    void cutNeverSplitsACharacter();

    void expenseTexts_data();
    void expenseTexts();
    void expenseAmounts_data();
    void expenseAmounts();

    void transferTexts_data();
    void transferTexts();
    void transferAmounts_data();
    void transferAmounts();

    void depositTexts_data();
    void depositTexts();
    void depositFromSourceTexts_data();
    void depositFromSourceTexts();
    void depositAmounts_data();
    void depositAmounts();
    void depositPayerBlankedBeforeSaving();

    void maintenanceTxId_data();
    void maintenanceTxId();
    void maintenanceIds_data();
    void maintenanceIds();
};

// ---- The cut ------------------------------------------------------------------

void TestBadInputBookings::cutNeverSplitsACharacter_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    const QString grin = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString thumbDark = QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD");   // with skin tone
    const QString swissFlag = QString::fromUtf8("\xF0\x9F\x87\xA8\xF0\x9F\x87\xAD");
    const QString uDiaeresis = QStringLiteral("u\u0308");                               // ü in two parts
    QTest::newRow("short text stays") << QStringLiteral("abc") << 3 << QStringLiteral("abc");
    QTest::newRow("plain cut") << QStringLiteral("abcdef") << 4 << QStringLiteral("abcd");
    QTest::newRow("umlauts count once") << QString::fromUtf8("ÄÖÜäöüß") << 5 << QString::fromUtf8("ÄÖÜäö");
    QTest::newRow("emoji before the cut") << QStringLiteral("ab") + grin + QStringLiteral("c") << 4
                                          << QStringLiteral("ab") + grin;
    QTest::newRow("emoji across the cut") << QStringLiteral("abc") + grin << 4 << QStringLiteral("abc");
    QTest::newRow("only emoji, odd width") << grin.repeated(3) << 5 << grin.repeated(2);
    QTest::newRow("emoji with skin tone") << QStringLiteral("a") + thumbDark << 4 << QStringLiteral("a");
    QTest::newRow("flag") << QStringLiteral("a") + swissFlag << 3 << QStringLiteral("a");
    QTest::newRow("combining mark") << QStringLiteral("M") + uDiaeresis + QStringLiteral("ller") << 2
                                    << QStringLiteral("M");
    QTest::newRow("tab and newline are characters") << QStringLiteral("a\tb\nc") << 4 << QStringLiteral("a\tb\n");
}

void TestBadInputBookings::cutNeverSplitsACharacter()
{
    QFETCH(QString, input);
    QFETCH(int, width);
    QFETCH(QString, expected);
    const QString cut = DataProvider::truncated(input, width);
    QCOMPARE(cut, expected);
    QVERIFY(isValidText(cut));
}

// ---- Expenses -------------------------------------------------------------------

namespace {
struct ExpenseDialog : Driver
{
    ExpenseDialog()
        : type(static_cast<ExpenseTypeEntry *>(
              DataProvider::instance()->getRecord(Seed::FoodType, DataProvider::ExpenseTypeEntryCode))),
          dialog(type.get())
    {
        form = &dialog;
        form->show();
        choose("subTypeCombo", QStringLiteral("Grundnahrung"));
        choose("instrumentCombo", QStringLiteral("Postkonto"));
    }
    std::unique_ptr<ExpenseTypeEntry> type;
    ExpenseEntryForm dialog;
};
} // namespace

void TestBadInputBookings::expenseTexts_data()
{
    addTextRows({ QStringLiteral("recipientEdit"), QStringLiteral("remarkEdit") });
}

// Recipient typed for "Andere" and remark: both are stored cut to their
// VARCHAR(80) columns, the remark also in the account movement.
void TestBadInputBookings::expenseTexts()
{
    QFETCH(QString, field);
    QFETCH(QString, input);
    QFETCH(bool, pasted);
    TestWorkspace ws;
    ws.seedMasterData();
    ExpenseDialog dlg;

    QLineEdit *edit = dlg.edit(qPrintable(field));
    enterText(edit, input, pasted);
    QCOMPARE(edit->text(), input);
    const QString recipient = dlg.edit("recipientEdit")->text();
    const QString remark = dlg.edit("remarkEdit")->text();

    MessageBoxCatcher boxes;
    dlg.save(QStringLiteral("10"));

    QVERIFY2(!boxes.seen(), qPrintable(boxes.title() + QLatin1Char(' ') + boxes.text()));
    QCOMPARE(TestWorkspace::rowCount("ausgaben"), 1);
    QCOMPARE(TestWorkspace::rowCount("ausgaben_detail"), 1);
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 1);
    const QString storedRecipient = text("SELECT beguenstigter FROM ausgaben");
    const QString storedRemark = text("SELECT bemerkung FROM ausgaben");
    const QString movementRemark = text("SELECT bemerkung FROM konto_bewegungen");
    QCOMPARE(storedRecipient, expectedCut(recipient, 78));
    QCOMPARE(TestWorkspace::scalar("SELECT beguenstigter_id FROM ausgaben").toInt(), 0);
    QCOMPARE(storedRemark, expectedCut(remark, 78));
    QCOMPARE(movementRemark, expectedCut(QStringLiteral("Lebensmittel: ") + remark, 78));
    QVERIFY(isValidText(storedRecipient) && isValidText(storedRemark) && isValidText(movementRemark));
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 990.0);
    QCOMPARE(balanceProblems(), QString());
    // The list shows the booking with what was stored.
    QSqlTableModel *list = dlg.model("expenseTable");
    QCOMPARE(list->rowCount(), 1);
    QCOMPARE(list->record(0).value(QStringLiteral("beguenstigter")).toString(), storedRecipient);
}

void TestBadInputBookings::expenseAmounts_data()
{
    addAmountRows(99999.0);
}

void TestBadInputBookings::expenseAmounts()
{
    QFETCH(int, caseIndex);
    TestWorkspace ws;
    ws.seedMasterData();
    ExpenseDialog dlg;
    const QString before = fileSnapshot();

    AmountTrial trial(99999.0, caseIndex, dlg.edit("amountEdit"));
    QVERIFY2(trial.known, qPrintable(QStringLiteral("the field shows \"%1\"").arg(trial.shown)));
    MessageBoxCatcher boxes;
    QTest::keyClick(dlg.edit("amountEdit"), Qt::Key_Return);
    FormDriver::click(dlg.button(QStringLiteral("Speichern")));

    if (trial.expected == Refused) {
        VERIFY_REFUSED(boxes, before);
        verifyAmountRefusal(boxes, trial, QStringLiteral("Limite: 99999.0"));
    } else {
        QVERIFY2(!boxes.seen(), qPrintable(boxes.title()));
        QCOMPARE(TestWorkspace::scalar("SELECT betrag FROM ausgaben").toDouble(), trial.expected);
        QCOMPARE(TestWorkspace::scalar("SELECT betrag FROM ausgaben_detail").toDouble(), trial.expected);
        QCOMPARE(TestWorkspace::scalar("SELECT betrag FROM konto_bewegungen").toDouble(), trial.expected);
        QCOMPARE(DataProvider::toCents(TestWorkspace::balance(Seed::BankAccount)),
                 DataProvider::toCents(1000.0 - trial.expected));
        QCOMPARE(balanceProblems(), QString());
    }
}

// ---- Transfers --------------------------------------------------------------------

namespace {
struct TransferDialog : Driver
{
    TransferDialog() : dialog(instrument(Seed::BankInstrument), transferTypes)
    {
        form = &dialog;
        form->show();
        choose("instrumentCombo", QStringLiteral("Sparkonto"));
    }
    AccountEntryForm dialog;
};
} // namespace

void TestBadInputBookings::transferTexts_data()
{
    addTextRows({ QStringLiteral("remarkEdit") });
}

// The remark follows the counterpart's name in both movements.
void TestBadInputBookings::transferTexts()
{
    QFETCH(QString, field);
    QFETCH(QString, input);
    QFETCH(bool, pasted);
    TestWorkspace ws;
    ws.seedMasterData();
    TransferDialog dlg;

    QLineEdit *edit = dlg.edit(qPrintable(field));
    enterText(edit, input, pasted);
    QCOMPARE(edit->text(), input);
    const QString remark = edit->text();

    MessageBoxCatcher boxes;
    dlg.save(QStringLiteral("100"));

    QVERIFY2(!boxes.seen(), qPrintable(boxes.title() + QLatin1Char(' ') + boxes.text()));
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 2);
    const QString tail = remark.isEmpty() ? QString() : QStringLiteral(" - ") + remark;
    const QString outgoing = text("SELECT bemerkung FROM konto_bewegungen WHERE op_flag = 0 AND konto_id_von = 1");
    const QString incoming = text("SELECT bemerkung FROM konto_bewegungen WHERE op_flag = 1 AND konto_id_von = 3");
    QCOMPARE(outgoing, expectedCut(QStringLiteral("An: Sparkonto") + tail, 78));
    QCOMPARE(incoming, expectedCut(QStringLiteral("Von: Postkonto") + tail, 78));
    QVERIFY(isValidText(outgoing) && isValidText(incoming));
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 900.0);
    QCOMPARE(TestWorkspace::balance(Seed::SavingsAccount), 5100.0);
    QCOMPARE(balanceProblems(), QString());
    QCOMPARE(dlg.model("movementTable")->rowCount(), 1);
}

void TestBadInputBookings::transferAmounts_data()
{
    addAmountRows(9999999.0);
}

void TestBadInputBookings::transferAmounts()
{
    QFETCH(int, caseIndex);
    TestWorkspace ws;
    ws.seedMasterData();
    TransferDialog dlg;
    const QString before = fileSnapshot();

    AmountTrial trial(9999999.0, caseIndex, dlg.edit("amountEdit"));
    QVERIFY2(trial.known, qPrintable(QStringLiteral("the field shows \"%1\"").arg(trial.shown)));
    MessageBoxCatcher boxes;
    QTest::keyClick(dlg.edit("amountEdit"), Qt::Key_Return);
    FormDriver::click(dlg.button(QStringLiteral("Speichern")));

    if (trial.expected == Refused) {
        VERIFY_REFUSED(boxes, before);
        verifyAmountRefusal(boxes, trial, QStringLiteral("Limite: 9999999.0"));
    } else {
        QVERIFY2(!boxes.seen(), qPrintable(boxes.title()));
        QCOMPARE(TestWorkspace::scalar("SELECT COUNT(*) FROM konto_bewegungen WHERE betrag = "
                                       + QString::number(trial.expected, 'f', 2)).toInt(), 2);
        QCOMPARE(DataProvider::toCents(TestWorkspace::balance(Seed::BankAccount)),
                 DataProvider::toCents(1000.0 - trial.expected));
        QCOMPARE(DataProvider::toCents(TestWorkspace::balance(Seed::SavingsAccount)),
                 DataProvider::toCents(5000.0 + trial.expected));
        QCOMPARE(balanceProblems(), QString());
    }
}

// ---- Deposits -------------------------------------------------------------------------

namespace {
// A deposit onto the bank account, the payer chosen or typed in the dialog.
struct DepositDialog : Driver
{
    DepositDialog() : dialog(instrument(Seed::BankInstrument))
    {
        form = &dialog;
        form->show();
    }
    AccountEntryForm dialog;
};

// A deposit from the salary onto the first offered instrument (cash).
struct SalaryDialog : Driver
{
    SalaryDialog()
        : salary(DataProvider::instance()->getIncomeSource(Seed::IncomeSalary)),
          dialog(salary.get(), depositTypes)
    {
        form = &dialog;
        form->show();
    }
    std::unique_ptr<IncomeEntry> salary;
    AccountEntryForm dialog;
};
} // namespace

void TestBadInputBookings::depositTexts_data()
{
    addTextRows({ QStringLiteral("incomeEdit"), QStringLiteral("remarkEdit") });
}

// The typed payer heads the remark; without a payer (empty or blanks) the
// deposit cannot be saved.
void TestBadInputBookings::depositTexts()
{
    QFETCH(QString, field);
    QFETCH(QString, input);
    QFETCH(bool, pasted);
    TestWorkspace ws;
    ws.seedMasterData();
    DepositDialog dlg;
    dlg.choose("incomeCombo", QStringLiteral("Andere"));
    QVERIFY(dlg.edit("incomeEdit")->isEnabled());
    if (field != QLatin1String("incomeEdit"))
        dlg.enter("incomeEdit", QStringLiteral("Flohmarkt"));

    QLineEdit *edit = dlg.edit(qPrintable(field));
    enterText(edit, input, pasted);
    QCOMPARE(edit->text(), input);
    QTest::keyClick(edit, Qt::Key_Return);
    const QString payer = dlg.edit("incomeEdit")->text();
    const QString remark = dlg.edit("remarkEdit")->text();
    const QString before = fileSnapshot();

    MessageBoxCatcher boxes;
    dlg.save(QStringLiteral("250"));

    if (isBlank(payer)) {
        VERIFY_REFUSED(boxes, before);
        return;
    }
    QVERIFY2(!boxes.seen(), qPrintable(boxes.title() + QLatin1Char(' ') + boxes.text()));
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 1);
    const QString stored = text("SELECT bemerkung FROM konto_bewegungen");
    QCOMPARE(stored, expectedCut(payer + QStringLiteral(" - ") + remark, 78));
    QVERIFY(isValidText(stored));
    QCOMPARE(TestWorkspace::scalar("SELECT einnahme_quelle_id FROM konto_bewegungen").toInt(), 0);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1250.0);
    QCOMPARE(balanceProblems(), QString());
    QCOMPARE(dlg.model("movementTable")->rowCount(), 1);
}

void TestBadInputBookings::depositFromSourceTexts_data()
{
    addTextRows({ QStringLiteral("remarkEdit") });
}

void TestBadInputBookings::depositFromSourceTexts()
{
    QFETCH(QString, field);
    QFETCH(QString, input);
    QFETCH(bool, pasted);
    TestWorkspace ws;
    ws.seedMasterData();
    SalaryDialog dlg;

    QLineEdit *edit = dlg.edit(qPrintable(field));
    enterText(edit, input, pasted);
    QCOMPARE(edit->text(), input);
    const QString remark = edit->text();

    MessageBoxCatcher boxes;
    dlg.save(QStringLiteral("250"));

    QVERIFY2(!boxes.seen(), qPrintable(boxes.title() + QLatin1Char(' ') + boxes.text()));
    const QString stored = text("SELECT bemerkung FROM konto_bewegungen");
    QCOMPARE(stored, expectedCut(QStringLiteral("Eingang: Lohn - ") + remark, 78));
    QVERIFY(isValidText(stored));
    QCOMPARE(TestWorkspace::scalar("SELECT einnahme_quelle_id FROM konto_bewegungen").toInt(),
             int(Seed::IncomeSalary));
    QCOMPARE(TestWorkspace::balance(Seed::CashAccount), 450.0);
    QCOMPARE(balanceProblems(), QString());
}

void TestBadInputBookings::depositAmounts_data()
{
    addAmountRows(9999999.0);
}

void TestBadInputBookings::depositAmounts()
{
    QFETCH(int, caseIndex);
    TestWorkspace ws;
    ws.seedMasterData();
    DepositDialog dlg;
    const QString before = fileSnapshot();

    AmountTrial trial(9999999.0, caseIndex, dlg.edit("amountEdit"));
    QVERIFY2(trial.known, qPrintable(QStringLiteral("the field shows \"%1\"").arg(trial.shown)));
    MessageBoxCatcher boxes;
    QTest::keyClick(dlg.edit("amountEdit"), Qt::Key_Return);
    FormDriver::click(dlg.button(QStringLiteral("Speichern")));

    if (trial.expected == Refused) {
        VERIFY_REFUSED(boxes, before);
        verifyAmountRefusal(boxes, trial, QStringLiteral("Limite: 9999999.0"));
    } else {
        QVERIFY2(!boxes.seen(), qPrintable(boxes.title()));
        QCOMPARE(TestWorkspace::scalar("SELECT betrag FROM konto_bewegungen").toDouble(), trial.expected);
        QCOMPARE(DataProvider::toCents(TestWorkspace::balance(Seed::BankAccount)),
                 DataProvider::toCents(1000.0 + trial.expected));
        QCOMPARE(balanceProblems(), QString());
    }
}

// "Speichern" was enabled with a payer; blanking the payer afterwards and
// clicking must not book a deposit from nobody.
void TestBadInputBookings::depositPayerBlankedBeforeSaving()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DepositDialog dlg;
    dlg.choose("incomeCombo", QStringLiteral("Andere"));
    dlg.enter("incomeEdit", QStringLiteral("Flohmarkt"));
    dlg.enter("amountEdit", QStringLiteral("80"));
    QVERIFY(dlg.button(QStringLiteral("Speichern"))->isEnabled());
    const QString before = fileSnapshot();

    FormDriver::type(dlg.edit("incomeEdit"), QStringLiteral("  "));
    MessageBoxCatcher boxes;
    FormDriver::click(dlg.button(QStringLiteral("Speichern")));

    QCOMPARE(boxes.titles(), QStringList({ QStringLiteral("Name fehlt") }));
    QCOMPARE(fileSnapshot(), before);
    // The input stays for the correction.
    QCOMPARE(dlg.edit("amountEdit")->text(), QStringLiteral("80"));
}

// ---- Movement maintenance -------------------------------------------------------------

namespace {
// One expense movement of the bank account, selected in the dialog.
struct MaintDialog : Driver
{
    MaintDialog() : dialog(instrument(Seed::BankInstrument))
    {
        form = &dialog;
        form->show();
        QSqlTableModel *list = model("movementTable");
        const QModelIndex index = list->index(0, list->fieldIndex(QStringLiteral("betrag")));
        QTableView *view = form->findChild<QTableView *>(QStringLiteral("movementTable"));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }
    AccountMaintForm dialog;
};

void seedMovement()
{
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,"
        "bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
        "VALUES ('2026-01-10',45.6,1,0,21,31,0,'Lebensmittel: Migros',1,7,'',0)"));
}

// The columns that no correction may touch.
QString fixedColumns()
{
    return text("SELECT startdate || '|' || betrag || '|' || konto_id_von || '|' || konto_id_nach || '|' "
                "|| stat || '|' || op_flag || '|' || bemerkung FROM konto_bewegungen WHERE id = 1");
}
} // namespace

void TestBadInputBookings::maintenanceTxId_data()
{
    addTextRows({ QStringLiteral("txIdEdit") });
}

// The transaction key is a VARCHAR(40) column.
void TestBadInputBookings::maintenanceTxId()
{
    QFETCH(QString, field);
    QFETCH(QString, input);
    QFETCH(bool, pasted);
    TestWorkspace ws;
    ws.seedMasterData();
    seedMovement();
    MaintDialog dlg;
    QVERIFY(dlg.button(QStringLiteral("Update"))->isEnabled());
    const QString fixed = fixedColumns();

    QLineEdit *edit = dlg.edit(qPrintable(field));
    enterText(edit, input, pasted);
    QCOMPARE(edit->text(), input);
    MessageBoxCatcher boxes;
    FormDriver::click(dlg.button(QStringLiteral("Update")));

    QVERIFY2(!boxes.seen(), qPrintable(boxes.title() + QLatin1Char(' ') + boxes.text()));
    const QString stored = text("SELECT tx_id FROM konto_bewegungen WHERE id = 1");
    QCOMPARE(stored, expectedCut(edit->text(), 38));
    QVERIFY(isValidText(stored));
    QCOMPARE(text("SELECT zahlungsmittel_id || '|' || ausgabe_id || '|' || tx_typ || '|' || einnahme_quelle_id "
                  "FROM konto_bewegungen WHERE id = 1"),
             QStringLiteral("1|7|21|0"));
    QCOMPARE(fixedColumns(), fixed);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);
}

void TestBadInputBookings::maintenanceIds_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<int>("stored");   // base-10 integer, 0 when unreadable
    const QList<QPair<QString, QString>> fields = {
        { QStringLiteral("expenseIdEdit"), QStringLiteral("ausgabe_id") },
        { QStringLiteral("instrumentIdEdit"), QStringLiteral("zahlungsmittel_id") },
        { QStringLiteral("txTypeEdit"), QStringLiteral("tx_typ") },
        { QStringLiteral("incomeSourceEdit"), QStringLiteral("einnahme_quelle_id") },
    };
    const QList<QPair<QString, int>> inputs = {
        { QString(), 0 },
        { QStringLiteral("   "), 0 },
        { QStringLiteral(" 42 "), 42 },
        { QStringLiteral("0"), 0 },
        { QStringLiteral("-5"), -5 },
        { QStringLiteral("1e9"), 0 },
        { QStringLiteral("12,50"), 0 },
        { QStringLiteral("12.50"), 0 },
        { QStringLiteral("1'000"), 0 },
        { QStringLiteral("abc"), 0 },
        { QStringLiteral("99999999999"), 0 },   // beyond an int
        { longText(), 0 },
        { QStringLiteral("7; DROP TABLE konten"), 0 },
        { QString::fromUtf8("3\xF0\x9F\x98\x80"), 0 },
    };
    for (const auto &field : fields) {
        for (const auto &input : inputs)
            QTest::addRow("%s: \"%s\"", qPrintable(field.first), qPrintable(input.first.left(20)))
                << field.first << field.second << input.first << !input.first.isEmpty() << input.second;
    }
}

// The reference ids are read as base-10 integers; anything else counts as
// "none" (0), and no other column or balance changes.
void TestBadInputBookings::maintenanceIds()
{
    QFETCH(QString, field);
    QFETCH(QString, column);
    QFETCH(QString, input);
    QFETCH(bool, pasted);
    QFETCH(int, stored);
    TestWorkspace ws;
    ws.seedMasterData();
    seedMovement();
    MaintDialog dlg;
    const QString fixed = fixedColumns();

    enterText(dlg.edit(qPrintable(field)), input, pasted);
    MessageBoxCatcher boxes;
    FormDriver::click(dlg.button(QStringLiteral("Update")));

    QVERIFY2(!boxes.seen(), qPrintable(boxes.title() + QLatin1Char(' ') + boxes.text()));
    QCOMPARE(text(QStringLiteral("SELECT %1 FROM konto_bewegungen WHERE id = 1").arg(column)),
             QString::number(stored));
    QCOMPARE(fixedColumns(), fixed);
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 1);
    QCOMPARE(TestWorkspace::rowCount("konten"), 3);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);
}

QTEST_MAIN(TestBadInputBookings)
#include "tst_badinput_bookings.moc"
