// Unusual and hostile input in the master-data dialogs: every text field
// with the texts of badinput.h, for a new row and for a changed one, and
// every amount field with the amounts, under the locales the program meets.
// Each input is either stored as the column rules say (cut to the column,
// never inside a character) or refused with a German message box, and the
// file never holds half a change.

#include "accountform.h"
#include "badinput.h"
#include "dataprovider.h"
#include "expensesubtypeform.h"
#include "expensetypeform.h"
#include "formdriver.h"
#include "incomesrcform.h"
#include "paymentinstrform.h"
#include "recipientform.h"
#include "testsupport.h"

#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace BadInput;
using namespace FormDriver;

namespace {

// One field of one dialog, and where its value lands in the file.
struct TextTarget
{
    const char *name;
    const char *dialog;
    const char *label;          // the field's label
    int width;                  // what its column keeps
    bool isName;                // blanks are no name
    // Values of the other fields of a new row, label by label.
    QList<QPair<QString, QString>> others;
    const char *listCaption;
    const char *existingRow;    // the row clicked to change an existing one
    // The stored value of a new row ("%1" gets nothing) and of the changed row.
    const char *newValueSql;
    const char *changedValueSql;
    // Rows that a new entry adds: table and count.
    QList<QPair<QString, int>> added;
};

QList<TextTarget> textTargets()
{
    return {
        { "recipient name", "RecipientForm", "Name des Begünstigten:", 38, true, {}, "Liste der Begünstigten",
          "Migros", "SELECT name FROM beguenstigte WHERE id = 4", "SELECT name FROM beguenstigte WHERE id = 1",
          { { QStringLiteral("beguenstigte"), 1 } } },
        { "income source name", "IncomeSrcForm", "Einnahmequelle:", 38, true,
          { { QStringLiteral("Erwartete Einkünfte:"), QStringLiteral("5000") } }, "Liste der Einnahmequellen",
          "Lohn", "SELECT name FROM einnahme_quelle WHERE id = 3", "SELECT name FROM einnahme_quelle WHERE id = 1",
          { { QStringLiteral("einnahme_quelle"), 1 } } },
        { "expense type name", "ExpenseTypeForm", "Ausgabentyp:", 38, true,
          { { QStringLiteral("Vorausichtliches Budget:"), QStringLiteral("1200") } }, "Liste der Ausgabentypen",
          "Wohnen", "SELECT name FROM ausgaben_typen WHERE id = 3", "SELECT name FROM ausgaben_typen WHERE id = 2",
          { { QStringLiteral("ausgaben_typen"), 1 } } },
        { "sub-type name", "ExpenseSubTypeForm", "Name:", 38, true, {}, "Liste der Ausgaben-Unterbereiche",
          "Grundnahrung", "SELECT name FROM ausgaben_sub_typen WHERE id = 3 AND ausgaben_typ_id = 1",
          "SELECT name FROM ausgaben_sub_typen WHERE id = 1", { { QStringLiteral("ausgaben_sub_typen"), 1 } } },
        // An account and its own payment instrument carry the same name.
        { "account name", "AccountForm", "Name:", 38, true,
          { { QStringLiteral("Konto-Nummer:"), QStringLiteral("CH00-1") },
            { QStringLiteral("Eröffnungsbetrag:"), QStringLiteral("100") } },
          "Liste der Konten", "Sparkonto",
          "SELECT k.name FROM konten k JOIN zahlungsmittel z ON z.konto_id = k.id AND z.name = k.name "
          "AND z.zahlungsmittel_typ = 25 WHERE k.id = 4 AND k.konto_typ = 12",
          "SELECT k.name FROM konten k JOIN zahlungsmittel z ON z.konto_id = k.id AND z.name = k.name "
          "AND z.zahlungsmittel_typ = 25 WHERE k.id = 3",
          { { QStringLiteral("konten"), 1 }, { QStringLiteral("zahlungsmittel"), 1 } } },
        { "account number", "AccountForm", "Konto-Nummer:", 28, false,
          { { QStringLiteral("Name:"), QStringLiteral("Neu") },
            { QStringLiteral("Eröffnungsbetrag:"), QStringLiteral("100") } },
          "Liste der Konten", "Sparkonto",
          "SELECT k.konto_nummer FROM konten k JOIN zahlungsmittel z ON z.konto_id = k.id "
          "AND z.karten_nummer IS k.konto_nummer WHERE k.id = 4",
          "SELECT konto_nummer FROM konten WHERE id = 3",
          { { QStringLiteral("konten"), 1 }, { QStringLiteral("zahlungsmittel"), 1 } } },
        // A new credit card is linked to the first bank account.
        { "payment instrument name", "PaymentInstrForm", "Name:", 38, true,
          { { QStringLiteral("Nummer:"), QStringLiteral("5100") } }, "Liste der Zahlungsmittel", "Visa",
          "SELECT name FROM zahlungsmittel WHERE id = 5 AND zahlungsmittel_typ = 24 AND konto_id = 1",
          "SELECT name FROM zahlungsmittel WHERE id = 3", { { QStringLiteral("zahlungsmittel"), 1 } } },
        { "card number", "PaymentInstrForm", "Nummer:", 28, false,
          { { QStringLiteral("Name:"), QStringLiteral("Neue Karte") } }, "Liste der Zahlungsmittel", "Visa",
          "SELECT karten_nummer FROM zahlungsmittel WHERE id = 5", "SELECT karten_nummer FROM zahlungsmittel WHERE id = 3",
          { { QStringLiteral("zahlungsmittel"), 1 } } },
    };
}

std::unique_ptr<QDialog> makeDialog(const QString &name)
{
    std::unique_ptr<QDialog> dialog;
    if (name == QLatin1String("RecipientForm"))
        dialog = std::make_unique<RecipientForm>(0);
    else if (name == QLatin1String("IncomeSrcForm"))
        dialog = std::make_unique<IncomeSrcForm>(0);
    else if (name == QLatin1String("ExpenseTypeForm"))
        dialog = std::make_unique<ExpenseTypeForm>(0);
    else if (name == QLatin1String("ExpenseSubTypeForm"))
        dialog = std::make_unique<ExpenseSubTypeForm>(int(Seed::FoodType));
    else if (name == QLatin1String("AccountForm"))
        dialog = std::make_unique<AccountForm>();
    else if (name == QLatin1String("PaymentInstrForm"))
        dialog = std::make_unique<PaymentInstrForm>();
    dialog->show();
    return dialog;
}

int rows(const QList<QPair<QString, int>> &tables)
{
    int total = 0;
    for (const auto &table : tables)
        total += TestWorkspace::rowCount(table.first);
    return total;
}

int added(const QList<QPair<QString, int>> &tables)
{
    int total = 0;
    for (const auto &table : tables)
        total += table.second;
    return total;
}

// ---- Amounts ------------------------------------------------------------------

struct AmountTarget
{
    const char *name;
    const char *dialog;
    const char *label;
    double limit;
    QList<QPair<QString, QString>> others;   // filled before the amount
    const char *valueSql;                    // the stored amount, in every column it goes to
    QString refusalText;                     // the box text for an amount beyond the limit
};

QList<AmountTarget> amountTargets()
{
    return {
        { "opening amount of an account", "AccountForm", "Eröffnungsbetrag:", 999999.0,
          { { QStringLiteral("Name:"), QStringLiteral("Neu") }, { QStringLiteral("Konto-Nummer:"), QStringLiteral("CH00-1") } },
          "SELECT initial_betrag, betrag FROM konten WHERE id = 4 AND konto_typ = 12",
          QStringLiteral("Eröffnungs-Limite: 999999.0") },
        { "opening amount of cash", "PaymentInstrForm", "Eröffnungsbetrag:", 99999.0,
          { { QStringLiteral("Name:"), QStringLiteral("Kasse") } },
          "SELECT k.initial_betrag, k.betrag FROM konten k JOIN zahlungsmittel z ON z.konto_id = k.id "
          "WHERE k.id = 4 AND k.konto_typ = 13 AND z.zahlungsmittel_typ = 21",
          QStringLiteral("Eröffnungs-Limite: 99999.0") },
        { "budget", "ExpenseTypeForm", "Vorausichtliches Budget:", 999999.0,
          { { QStringLiteral("Ausgabentyp:"), QStringLiteral("Freizeit") } },
          "SELECT budget FROM ausgaben_typen WHERE id = 3", QStringLiteral("Eröffnungs-Limite: 999999.0") },
        { "expected income", "IncomeSrcForm", "Erwartete Einkünfte:", 999999.0,
          { { QStringLiteral("Einnahmequelle:"), QStringLiteral("Bonus") } },
          "SELECT betrags_volumen FROM einnahme_quelle WHERE id = 3", QStringLiteral("Eröffnungs-Limite: 999999.0") },
        // The split of an expense of 100.00: a share may take what remains.
        { "share of a split", "split", "Betragsanteil:", 100.0, {},
          "SELECT betrag FROM ausgaben_detail WHERE ausgaben_id = 1 AND ausgaben_sub_typ_id = 1",
          QStringLiteral("Der Betragsanteil ist grösser als der verbleibende Betrag von 100.00!") },
    };
}

// An expense of 100.00 paid in cash, to be split later.
void seedExpenseToSplit()
{
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,zahlungsmittel_id,"
        "bemerkung,ausgaben_typ,ausgaben_typ_id) VALUES ('2026-01-10',100.0,'Migros',1,'Bargeld',2,'',"
        "'Lebensmittel',1)"));
    TestWorkspace::exec(QStringLiteral("UPDATE konten SET betrag = 100.0 WHERE id = 2"));
}

// Every column of the first row, as amounts.
QList<double> amountsOf(const QString &sql)
{
    QList<double> values;
    QSqlQuery query;
    if (query.exec(sql) && query.next()) {
        for (int i = 0; i < query.record().count(); ++i)
            values << query.value(i).toDouble();
    }
    return values;
}

} // namespace

class TestBadInputMasterData : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void texts_data();
    void texts();
    void amounts_data();
    void amounts();
    void nameClearedAfterEnabling_data();
    void nameClearedAfterEnabling();

private:
    QLocale m_locale;
};

void TestBadInputMasterData::init()
{
    m_locale = QLocale();
}

void TestBadInputMasterData::cleanup()
{
    QLocale::setDefault(m_locale);
}

void TestBadInputMasterData::texts_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("changing");   // an existing row rather than a new one
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("pasted");
    const QList<TextTarget> targets = textTargets();
    for (int t = 0; t < targets.size(); ++t) {
        for (bool changing : { false, true }) {
            for (const TextCase &textCase : textCases())
                QTest::addRow("%s, %s: %s", targets.at(t).name, changing ? "changed" : "new", textCase.name)
                    << t << changing << textCase.text << textCase.pasted;
        }
    }
}

void TestBadInputMasterData::texts()
{
    QFETCH(int, target);
    QFETCH(bool, changing);
    QFETCH(QString, input);
    QFETCH(bool, pasted);
    const TextTarget t = textTargets().at(target);
    TestWorkspace ws;
    ws.seedMasterData();
    std::unique_ptr<QDialog> dlg = makeDialog(QLatin1String(t.dialog));
    QTableView *table = list(dlg.get(), QString::fromUtf8(t.listCaption));
    QVERIFY(table);

    if (changing) {
        QVERIFY(clickRow(table, QString::fromUtf8(t.existingRow)));
    } else {
        for (const auto &other : t.others)
            type(field(dlg.get(), other.first), other.second);
    }
    QLineEdit *edit = field(dlg.get(), QString::fromUtf8(t.label));
    QVERIFY(edit && edit->isEnabled());
    const int rowsBefore = rows(t.added);
    const QString before = fileSnapshot();

    enterText(edit, input, pasted);
    QCOMPARE(edit->text(), input);
    const QString shown = edit->text();
    MessageBoxCatcher boxes;
    click(button(dlg.get(), QStringLiteral("Speichern")));

    const bool refused = shown.isEmpty() || (t.isName && isBlank(shown));
    if (refused) {
        QCOMPARE(fileSnapshot(), before);
        // Empty fields keep "Speichern" disabled; a name of blanks is answered.
        if (shown.isEmpty())
            QVERIFY2(!boxes.seen(), qPrintable(boxes.title()));
        else
            QCOMPARE(boxes.titles(), QStringList({ QStringLiteral("Name fehlt") }));
        return;
    }
    QVERIFY2(!boxes.seen(), qPrintable(boxes.title() + QLatin1Char(' ') + boxes.text()));
    const QString stored =
        TestWorkspace::scalar(QString::fromUtf8(changing ? t.changedValueSql : t.newValueSql)).toString();
    QCOMPARE(stored, expectedCut(shown, t.width));
    QVERIFY(isValidText(stored));
    QCOMPARE(rows(t.added), rowsBefore + (changing ? 0 : added(t.added)));
    QCOMPARE(balanceProblems(), QString());
    // The list shows what the file holds.
    if (t.isName)
        QVERIFY(FormDriver::rows(table).contains(stored));
}

void TestBadInputMasterData::amounts_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("caseIndex");
    QTest::addColumn<QString>("locale");
    const QList<AmountTarget> targets = amountTargets();
    // The program's users type in Swiss or German settings; "C" is the
    // machine without any. Every amount field reads alike, so the first
    // target stands for all under the other settings.
    for (const char *locale : { "C", "de_CH", "de_DE" }) {
        for (int t = 0; t < targets.size(); ++t) {
            if (t > 0 && qstrcmp(locale, "de_CH") != 0)
                continue;
            const QList<AmountCase> cases = amountCases(targets.at(t).limit);
            for (int i = 0; i < cases.size(); ++i)
                QTest::addRow("%s, %s: %s", locale, targets.at(t).name, cases.at(i).name)
                    << t << i << QString::fromLatin1(locale);
        }
    }
}

void TestBadInputMasterData::amounts()
{
    QFETCH(int, target);
    QFETCH(int, caseIndex);
    QFETCH(QString, locale);
    const AmountTarget t = amountTargets().at(target);
    QLocale::setDefault(QLocale(locale));
    TestWorkspace ws;
    ws.seedMasterData();
    const bool split = QLatin1String(t.dialog) == QLatin1String("split");
    if (split)
        seedExpenseToSplit();

    std::unique_ptr<QDialog> dlg;
    if (split) {
        dlg = std::make_unique<ExpenseSubTypeForm>(1, int(Seed::FoodType), 100.0);
        dlg->show();
        QVERIFY(clickRow(list(dlg.get(), QStringLiteral("Liste der Ausgaben-Unterbereiche")),
                         QStringLiteral("Grundnahrung")));
    } else {
        dlg = makeDialog(QLatin1String(t.dialog));
    }
    if (QLatin1String(t.dialog) == QLatin1String("PaymentInstrForm"))
        click(button<QRadioButton>(dlg.get(), QStringLiteral("Bargeld")));
    for (const auto &other : t.others)
        type(field(dlg.get(), other.first), other.second);
    const QString before = fileSnapshot();

    QLineEdit *edit = field(dlg.get(), QString::fromUtf8(t.label));
    QVERIFY(edit && edit->isEnabled());
    const AmountCase amountCase = amountCases(t.limit).at(caseIndex);
    type(edit, amountCase.typed);
    const QString shown = edit->text();
    double expected = Refused;
    QVERIFY2(outcomeFor(amountCase, shown, expected),
             qPrintable(QStringLiteral("typed \"%1\", the field shows \"%2\"").arg(amountCase.typed, shown)));
    MessageBoxCatcher boxes;
    click(button(dlg.get(), QStringLiteral("Speichern")));

    if (expected == Refused) {
        QCOMPARE(fileSnapshot(), before);
        if (shown.isEmpty()) {
            QVERIFY(!boxes.seen());
        } else {
            QCOMPARE(boxes.titles(), QStringList({ QStringLiteral("Betrag ungültig!") }));
            if (amountCase.malformed && shown == amountCase.typed)
                QCOMPARE(boxes.text(), TwoDecimals);
            else if (amountCase.typed == QString::number(t.limit + 0.01, 'f', 2))
                QCOMPARE(boxes.text(), t.refusalText);
        }
        return;
    }
    QVERIFY2(!boxes.seen(), qPrintable(boxes.title() + QLatin1Char(' ') + boxes.text()));
    const QList<double> stored = amountsOf(QString::fromUtf8(t.valueSql));
    QVERIFY(!stored.isEmpty());
    for (double value : stored)
        QCOMPARE(value, expected);
    QCOMPARE(balanceProblems(), QString());
}

void TestBadInputMasterData::nameClearedAfterEnabling_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("name");
    const QList<TextTarget> targets = textTargets();
    for (int t = 0; t < targets.size(); ++t) {
        if (!targets.at(t).isName)
            continue;
        QTest::addRow("%s emptied", targets.at(t).name) << t << QString();
        QTest::addRow("%s blanked", targets.at(t).name) << t << QStringLiteral("  ");
    }
}

// "Speichern" was enabled by a complete input; emptying the name afterwards
// must not store a nameless row, in a new entry or over an existing one.
void TestBadInputMasterData::nameClearedAfterEnabling()
{
    QFETCH(int, target);
    QFETCH(QString, name);
    const TextTarget t = textTargets().at(target);
    TestWorkspace ws;
    ws.seedMasterData();
    std::unique_ptr<QDialog> dlg = makeDialog(QLatin1String(t.dialog));
    QLineEdit *edit = field(dlg.get(), QString::fromUtf8(t.label));
    QPushButton *save = button(dlg.get(), QStringLiteral("Speichern"));

    type(edit, QStringLiteral("Vorläufig"));
    for (const auto &other : t.others)
        type(field(dlg.get(), other.first), other.second);
    QVERIFY(save->isEnabled());
    type(edit, name);
    const QString before = fileSnapshot();
    const bool clickable = save->isEnabled();
    MessageBoxCatcher boxes;
    click(save);

    QCOMPARE(fileSnapshot(), before);
    // A dialog may disable "Speichern" for an empty name; a click that
    // gets through is answered.
    if (clickable)
        QCOMPARE(boxes.titles(), QStringList({ QStringLiteral("Name fehlt") }));
    else
        QVERIFY(!boxes.seen());
}

QTEST_MAIN(TestBadInputMasterData)
#include "tst_badinput_masterdata.moc"
