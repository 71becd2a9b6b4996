// The master-data dialogs driven as a user does: what they store, what they
// refuse, and what they keep from being deleted.

#include "accountform.h"
#include "badinput.h"
#include "expensesubtypeform.h"
#include "expensetypeform.h"
#include "incomesrcform.h"
#include "paymentinstrform.h"
#include "recipientform.h"
#include "testsupport.h"

#include <memory>

using namespace BadInput;
using namespace FormDriver;

namespace {

using Fields = QList<QPair<QString, QString>>; // label, typed text

std::unique_ptr<QDialog> openDialog(const QString &name)
{
    std::unique_ptr<QDialog> dialog;
    if (name == QLatin1String("accounts"))
        dialog = std::make_unique<AccountForm>();
    else if (name == QLatin1String("instruments"))
        dialog = std::make_unique<PaymentInstrForm>();
    else if (name == QLatin1String("types"))
        dialog = std::make_unique<ExpenseTypeForm>(0);
    else if (name == QLatin1String("sub-types"))
        dialog = std::make_unique<ExpenseSubTypeForm>(int(Seed::FoodType));
    else if (name == QLatin1String("recipients"))
        dialog = std::make_unique<RecipientForm>(0);
    else if (name == QLatin1String("income sources"))
        dialog = std::make_unique<IncomeSrcForm>(0);
    else if (name == QLatin1String("split"))
        dialog = std::make_unique<ExpenseSubTypeForm>(1, int(Seed::FoodType), 100.0);
    dialog->show();
    return dialog;
}

QTableView *theList(QDialog *dialog)
{
    return dialog->findChild<QTableView *>();
}

void typeAll(QDialog *dialog, const Fields &fields)
{
    for (const auto &f : fields)
        type(field(dialog, f.first), f.second);
}

const char *Expense = "INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,"
                      "zahlungsmittel_id,bemerkung,ausgaben_typ,ausgaben_typ_id) VALUES ('2026-01-10',100.0,"
                      "'Vermieter AG',%1,'Visa',%2,'','Wohnen',%3)";
const char *Movement = "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,"
                       "bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
                       "VALUES ('2026-02-01',50.0,%1,0,23,31,1,'',0,0,'',%2)";

QString expense(int recipient, int instrument, int type)
{
    return QString::fromLatin1(Expense).arg(recipient).arg(instrument).arg(type);
}

QString movement(int account, int source = 0)
{
    return QString::fromLatin1(Movement).arg(account).arg(source);
}

template <typename T>
T fetch(const char *column)
{
    return *static_cast<T *>(QTest::qData(column, qMetaTypeId<T>()));
}

int fileRows()
{
    int rows = 0;
    QSqlQuery tables(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    while (tables.next())
        rows += TestWorkspace::rowCount(tables.value(0).toString());
    return rows;
}

} // namespace

class TestMasterDataForms : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void amounts_data();
    void amounts();
    void instrumentKinds_data();
    void instrumentKinds();
    void failedInstrumentLeavesNoAccount();
    void lockedOpeningAmount();
    void deletionGuards_data();
    void deletionGuards();
    void deletionAsksFirst_data();
    void deletionAsksFirst();
};

// Every text field, for a new row and for a changed one: stored as typed (cut
// to its column, never inside a character) or refused with "Name fehlt".
void TestMasterDataForms::texts_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("width");
    QTest::addColumn<Fields>("others");    // the other fields of a new row
    QTest::addColumn<QString>("existing"); // the row changed instead
    QTest::addColumn<QString>("newSql");
    QTest::addColumn<QString>("changedSql");
    QTest::addColumn<int>("addedRows");
    QTest::addColumn<bool>("changing");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("pasted");

    // An account and its own instrument carry the same name and number.
    const QString ownInstrument =
        QStringLiteral("SELECT k.%1 FROM konten k JOIN zahlungsmittel z ON z.konto_id = k.id AND z.name = k.name "
                       "AND z.karten_nummer IS k.konto_nummer AND z.zahlungsmittel_typ = 25 AND z.hat_konto_verbindung = 1 "
                       "WHERE k.id = %2 AND k.konto_typ = 12");
    const Fields account = { { "Name:", "Neu" }, { "Konto-Nummer:", "CH00-1" }, { "Eröffnungsbetrag:", "100" } };
    struct Target { const char *name, *dialog, *label; int width; Fields others; const char *existing;
                    QString newSql, changedSql; int added; };
    const QList<Target> targets = {
        { "recipient", "recipients", "Name des Begünstigten:", 38, {}, "Migros",
          "SELECT name FROM beguenstigte WHERE id = 4", "SELECT name FROM beguenstigte WHERE id = 1", 1 },
        { "income source", "income sources", "Einnahmequelle:", 38, { { "Erwartete Einkünfte:", "5000" } }, "Lohn",
          "SELECT name FROM einnahme_quelle WHERE id = 3", "SELECT name FROM einnahme_quelle WHERE id = 1", 1 },
        { "expense type", "types", "Ausgabentyp:", 38, { { "Vorausichtliches Budget:", "1200" } }, "Wohnen",
          "SELECT name FROM ausgaben_typen WHERE id = 3", "SELECT name FROM ausgaben_typen WHERE id = 2", 1 },
        { "sub-type", "sub-types", "Name:", 38, {}, "Grundnahrung",
          "SELECT name FROM ausgaben_sub_typen WHERE id = 3 AND ausgaben_typ_id = 1",
          "SELECT name FROM ausgaben_sub_typen WHERE id = 1", 1 },
        { "account name", "accounts", "Name:", 38, account.mid(1), "Sparkonto",
          ownInstrument.arg(QLatin1String("name")).arg(4), ownInstrument.arg(QLatin1String("name")).arg(3), 2 },
        { "account number", "accounts", "Konto-Nummer:", 28, { account[0], account[2] }, "Sparkonto",
          ownInstrument.arg(QLatin1String("konto_nummer")).arg(4), "SELECT konto_nummer FROM konten WHERE id = 3", 2 },
        { "card name", "instruments", "Name:", 38, { { "Nummer:", "5100" } }, "Visa",
          "SELECT name FROM zahlungsmittel WHERE id = 5", "SELECT name FROM zahlungsmittel WHERE id = 3", 1 },
        { "card number", "instruments", "Nummer:", 28, { { "Name:", "Karte" } }, "Visa",
          "SELECT karten_nummer FROM zahlungsmittel WHERE id = 5",
          "SELECT karten_nummer FROM zahlungsmittel WHERE id = 3", 1 },
    };
    for (const Target &t : targets) {
        for (bool changing : { false, true }) {
            for (const TextCase &c : textCases())
                QTest::addRow("%s, %s: %s", t.name, changing ? "changed" : "new", c.name)
                    << t.dialog << t.label << t.width << t.others << t.existing << t.newSql << t.changedSql
                    << t.added << changing << c.text << c.pasted;
        }
    }
}

void TestMasterDataForms::texts()
{
    QFETCH(QString, dialog);
    QFETCH(QString, label);
    QFETCH(bool, changing);
    QFETCH(QString, input);
    TestWorkspace ws;
    ws.seedMasterData();
    auto form = openDialog(dialog);
    if (changing)
        QVERIFY(clickRow(theList(form.get()), fetch<QString>("existing")));
    else
        typeAll(form.get(), fetch<Fields>("others"));
    QLineEdit *edit = field(form.get(), label);
    QVERIFY(edit && edit->isEnabled());
    const QString before = fileSnapshot();
    const int rowsBefore = fileRows();
    enterText(edit, input, fetch<bool>("pasted"));
    QCOMPARE(edit->text(), input);
    MessageBoxCatcher boxes;
    click(button(form.get(), QStringLiteral("Speichern")));

    const bool isName = label != QLatin1String("Konto-Nummer:") && label != QLatin1String("Nummer:");
    if (input.isEmpty() || (isName && isBlank(input))) {
        QCOMPARE(fileSnapshot(), before);
        // An empty field keeps "Speichern" disabled; a name of blanks is answered.
        QCOMPARE(boxes.titles(), input.isEmpty() ? QStringList() : QStringList(QStringLiteral("Name fehlt")));
        return;
    }
    QVERIFY2(!boxes.seen(), qPrintable(boxes.title() + QLatin1Char(' ') + boxes.text()));
    const QString stored = TestWorkspace::scalar(changing ? fetch<QString>("changedSql") : fetch<QString>("newSql")).toString();
    QCOMPARE(stored, expectedCut(input, fetch<int>("width")));
    QVERIFY(isValidText(stored));
    QCOMPARE(fileRows(), rowsBefore + (changing ? 0 : fetch<int>("addedRows")));
    QCOMPARE(balanceProblems(), QString());
    if (isName)
        QVERIFY(rows(theList(form.get())).contains(stored));
}

// Every amount field with every awkward amount: stored to the cent, in every
// column it lands in, or refused with "Betrag ungültig!".
void TestMasterDataForms::amounts_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<Fields>("others");
    QTest::addColumn<QString>("label");
    QTest::addColumn<double>("limit");
    QTest::addColumn<QString>("storedSql");
    QTest::addColumn<QString>("overLimitText");
    QTest::addColumn<int>("caseIndex");
    QTest::addColumn<QString>("locale");
    struct Target { const char *name, *dialog; Fields others; const char *label; double limit; const char *sql, *text; };
    const QList<Target> targets = {
        { "account opening", "accounts", { { "Name:", "Neu" }, { "Konto-Nummer:", "CH00-1" } }, "Eröffnungsbetrag:",
          999999.0, "SELECT initial_betrag, betrag FROM konten WHERE id = 4 AND konto_typ = 12",
          "Eröffnungs-Limite: 999999.0" },
        { "cash opening", "instruments", { { "Name:", "Kasse" } }, "Eröffnungsbetrag:", 99999.0,
          "SELECT k.initial_betrag, k.betrag FROM konten k JOIN zahlungsmittel z ON z.konto_id = k.id "
          "WHERE k.id = 4 AND k.konto_typ = 13 AND z.zahlungsmittel_typ = 21", "Eröffnungs-Limite: 99999.0" },
        { "budget", "types", { { "Ausgabentyp:", "Freizeit" } }, "Vorausichtliches Budget:", 999999.0,
          "SELECT budget FROM ausgaben_typen WHERE id = 3", "Eröffnungs-Limite: 999999.0" },
        { "expected income", "income sources", { { "Einnahmequelle:", "Bonus" } }, "Erwartete Einkünfte:", 999999.0,
          "SELECT betrags_volumen FROM einnahme_quelle WHERE id = 3", "Eröffnungs-Limite: 999999.0" },
        // A share of an expense of 100.00 may take what remains.
        { "split share", "split", {}, "Betragsanteil:", 100.0,
          "SELECT betrag FROM ausgaben_detail WHERE ausgaben_id = 1 AND ausgaben_sub_typ_id = 1",
          "Der Betragsanteil ist grösser als der verbleibende Betrag von 100.00!" },
    };
    // Users type under Swiss or German settings, or none; every field reads alike.
    for (const char *locale : { "de_CH", "de_DE", "C" }) {
        for (const Target &t : targets) {
            const QList<AmountCase> cases = amountCases(t.limit);
            for (int i = 0; i < cases.size(); ++i)
                QTest::addRow("%s, %s: %s", locale, t.name, cases.at(i).name)
                    << t.dialog << t.others << t.label << t.limit << t.sql << t.text << i << locale;
            if (qstrcmp(locale, "de_CH") != 0)
                break;
        }
    }
}

void TestMasterDataForms::amounts()
{
    QFETCH(QString, dialog);
    QFETCH(double, limit);
    const QLocale previous;
    QLocale::setDefault(QLocale(fetch<QString>("locale")));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
    TestWorkspace ws;
    ws.seedMasterData();
    if (dialog == QLatin1String("split")) {
        TestWorkspace::exec(expense(1, 2, 1));
        TestWorkspace::exec(QStringLiteral("UPDATE konten SET betrag = 100.0 WHERE id = 2"));
    }
    auto form = openDialog(dialog);
    if (dialog == QLatin1String("split"))
        QVERIFY(clickRow(list(form.get(), QStringLiteral("Liste der Ausgaben-Unterbereiche")), QStringLiteral("Grundnahrung")));
    if (dialog == QLatin1String("instruments"))
        click(button<QRadioButton>(form.get(), QStringLiteral("Bargeld")));
    typeAll(form.get(), fetch<Fields>("others"));
    const QString before = fileSnapshot();
    const AmountCase amountCase = amountCases(limit).at(fetch<int>("caseIndex"));
    QLineEdit *edit = field(form.get(), fetch<QString>("label"));
    QVERIFY(edit && edit->isEnabled());
    type(edit, amountCase.typed);
    double expected = Refused;
    QVERIFY2(outcomeFor(amountCase, edit->text(), expected), qPrintable(edit->text()));
    MessageBoxCatcher boxes;
    click(button(form.get(), QStringLiteral("Speichern")));

    if (expected == Refused) {
        QCOMPARE(fileSnapshot(), before);
        QCOMPARE(boxes.titles(), edit->text().isEmpty() ? QStringList() : QStringList(QStringLiteral("Betrag ungültig!")));
        if (amountCase.malformed && edit->text() == amountCase.typed)
            QCOMPARE(boxes.text(), TwoDecimals);
        if (amountCase.typed == QString::number(limit + 0.01, 'f', 2))
            QCOMPARE(boxes.text(), fetch<QString>("overLimitText"));
        return;
    }
    QVERIFY2(!boxes.seen(), qPrintable(boxes.title() + QLatin1Char(' ') + boxes.text()));
    QSqlQuery stored(fetch<QString>("storedSql"));
    QVERIFY(stored.next());
    for (int i = 0; i < stored.record().count(); ++i)
        QCOMPARE(stored.value(i).toDouble(), expected);
    QCOMPARE(balanceProblems(), QString());
}

// The kind and link the user last chose are what the new instrument is.
void TestMasterDataForms::instrumentKinds_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("linked");
    QTest::addColumn<int>("account"); // 4: an account of its own

    QTest::newRow("linked card") << QStringList{ "Kreditkarte" } << QString() << 24 << 1 << 1;
    QTest::newRow("prepaid card") << QStringList{ "Prepaid" } << "50" << 23 << 0 << 4;
    QTest::newRow("prepaid, then linked") << QStringList{ "Prepaid", "Anschluss an Konto" } << QString() << 24 << 1 << 1;
    QTest::newRow("cash, then card") << QStringList{ "Bargeld", "Kreditkarte" } << QString() << 24 << 1 << 1;
    QTest::newRow("cash") << QStringList{ "Bargeld" } << "50" << 21 << 0 << 4;
    QTest::newRow("voucher") << QStringList{ "Check" } << "50" << 22 << 0 << 4;
}

void TestMasterDataForms::instrumentKinds()
{
    QFETCH(QString, amount);
    QFETCH(int, account);
    TestWorkspace ws;
    ws.seedMasterData();
    auto form = openDialog(QStringLiteral("instruments"));
    for (const QString &radio : fetch<QStringList>("clicks"))
        click(button<QRadioButton>(form.get(), radio));
    typeAll(form.get(), { { "Name:", "Neu" } });
    if (field(form.get(), QStringLiteral("Nummer:"))->isEnabled())
        typeAll(form.get(), { { "Nummer:", "4000" } });
    if (!amount.isEmpty())
        typeAll(form.get(), { { "Eröffnungsbetrag:", amount } });
    MessageBoxCatcher boxes;
    click(button(form.get(), QStringLiteral("Speichern")));

    QVERIFY2(!boxes.seen(), qPrintable(boxes.text()));
    QSqlQuery stored(QStringLiteral("SELECT zahlungsmittel_typ, hat_konto_verbindung, konto_id FROM zahlungsmittel "
                                    "WHERE id = 5 AND name = 'Neu'"));
    QVERIFY(stored.next());
    QCOMPARE(stored.value(0).toInt(), fetch<int>("kind"));
    QCOMPARE(stored.value(1).toInt(), fetch<int>("linked"));
    QCOMPARE(stored.value(2).toInt(), account);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), account == 4 ? 4 : 3);
    QCOMPARE(TestWorkspace::balance(account), account == 4 ? 50.0 : 1000.0);
    // Chosen again, its stored opening amount shows to the cent.
    if (account == 4) {
        QVERIFY(clickRow(theList(form.get()), QStringLiteral("Neu")));
        QCOMPARE(field(form.get(), QStringLiteral("Eröffnungsbetrag:"))->text(), QStringLiteral("50.00"));
    }
}

// An account is stored together with its own instrument, or not at all.
void TestMasterDataForms::failedInstrumentLeavesNoAccount()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON zahlungsmittel "
                                       "BEGIN SELECT RAISE(ABORT, 'Platte voll'); END"));
    auto form = openDialog(QStringLiteral("accounts"));
    typeAll(form.get(), { { "Name:", "Neue Bank" }, { "Konto-Nummer:", "CH77" }, { "Eröffnungsbetrag:", "300" } });
    MessageBoxCatcher boxes;
    click(button(form.get(), QStringLiteral("Speichern")));

    QCOMPARE(boxes.title(), QStringLiteral("Konto konnte nicht gespeichert werden: "));
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), 3);
    QVERIFY(!DataProvider::instance()->getAccount(QStringLiteral("Neue Bank")));
    QVERIFY(!rows(theList(form.get())).contains(QStringLiteral("Neue Bank")));
}

// Once money has moved, an account's opening amount is history.
void TestMasterDataForms::lockedOpeningAmount()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(movement(Seed::SavingsAccount));
    auto form = openDialog(QStringLiteral("accounts"));
    QVERIFY(clickRow(theList(form.get()), QStringLiteral("Sparkonto")));
    QVERIFY(!field(form.get(), QStringLiteral("Eröffnungsbetrag:"))->isEnabled());
    QVERIFY(clickRow(theList(form.get()), QStringLiteral("Postkonto")));
    QVERIFY(field(form.get(), QStringLiteral("Eröffnungsbetrag:"))->isEnabled());
}

// Rows that others still refer to stay, with a box saying why.
void TestMasterDataForms::deletionGuards_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("deleteButton");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("text");
    const QStringList present{ "Daten vorhanden" };

    QTest::newRow("account with movements") << "accounts" << "Sparkonto" << "Entfernen" << movement(3) << present
        << "Das Konto kann nicht entfernt werden, da sich noch Einträge darunter befinden!";
    QTest::newRow("account with a card") << "accounts" << "Postkonto" << "Entfernen" << QString()
        << QStringList{ "Konto entfernen", "Fehler beim Entfernen des Konto!" }
        << "Konto kann nicht gelöscht werden, da noch Zahlungsmittel angeschlossen sind!";
    QTest::newRow("account with expenses") << "accounts" << "Sparkonto" << "Entfernen" << expense(3, 4, 2)
        << QStringList{ "Konto entfernen", "Fehler beim Entfernen des Konto!" }
        << "Konto kann nicht gelöscht werden, da sich noch Ausgaben-Einträge darunter befinden!";
    QTest::newRow("card with expenses") << "instruments" << "Visa" << "Entfernen" << expense(3, 3, 2) << present
        << "Das Zahlungsmittel kann nicht entfernt werden, da sich noch Einträge darunter befinden!";
    QTest::newRow("cash with movements") << "instruments" << "Bargeld" << "Entfernen" << movement(2) << present
        << "Das Zahlungsmittel kann nicht entfernt werden, da sich noch Einträge darunter befinden!";
    QTest::newRow("type with sub-types") << "types" << "Lebensmittel" << "Ausgabentyp entfernen" << QString()
        << present << "Der Ausgabentyp kann nicht entfernt werden, da sich noch Einträge darunter befinden!";
    QTest::newRow("type with expenses") << "types" << "Wohnen" << "Ausgabentyp entfernen" << expense(3, 3, 2)
        << present << "Der Ausgabentyp kann nicht entfernt werden, da noch Ausgaben darauf gebucht sind!";
    QTest::newRow("recipient with expenses") << "recipients" << "Vermieter AG" << "Begünstigter entfernen"
        << expense(3, 3, 2) << present
        << "Der Begünstigte kann nicht entfernt werden, da sich noch Einträge darunter befinden!";
    QTest::newRow("source with deposits") << "income sources" << "Lohn" << "Einnahmequelle entfernen"
        << movement(1, 1) << present
        << "Die Einnahmequelle kann nicht entfernt werden, da sich noch Einträge darunter befinden!";
}

void TestMasterDataForms::deletionGuards()
{
    QFETCH(QString, setup);
    TestWorkspace ws;
    ws.seedMasterData();
    if (!setup.isEmpty())
        TestWorkspace::exec(setup);
    auto form = openDialog(fetch<QString>("dialog"));
    QVERIFY(clickRow(theList(form.get()), fetch<QString>("row")));
    const QString before = fileSnapshot();
    MessageBoxCatcher boxes;
    boxes.setButtonTexts({ QStringLiteral("Ja") });
    click(button(form.get(), fetch<QString>("deleteButton")));

    QCOMPARE(boxes.titles(), fetch<QStringList>("titles"));
    QCOMPARE(boxes.texts().last(), fetch<QString>("text"));
    QCOMPARE(fileSnapshot(), before);
}

// Deleting asks first; Return answers "Nein", only "Ja" deletes.
void TestMasterDataForms::deletionAsksFirst_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("deleteButton");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("removedRows");

    QTest::newRow("account and its instrument") << "accounts" << "Sparkonto" << "Entfernen" << "Konto entfernen"
        << "Soll das gewählte Konto gelöscht werden?" << 2;
    QTest::newRow("cash and its account") << "instruments" << "Bargeld" << "Entfernen" << "Zahlungsmittel entfernen"
        << "Soll das gewählte Zahlungsmittel gelöscht werden?" << 2;
    QTest::newRow("linked card only") << "instruments" << "Visa" << "Entfernen" << "Zahlungsmittel entfernen"
        << "Soll das gewählte Zahlungsmittel gelöscht werden?" << 1;
    QTest::newRow("type") << "types" << "Wohnen" << "Ausgabentyp entfernen" << "Ausgabentyp entfernen"
        << "Soll der gewählte Ausgabentyp gelöscht werden?" << 1;
    QTest::newRow("recipient") << "recipients" << "Vermieter AG" << "Begünstigter entfernen"
        << "Begünstigter entfernen" << "Soll der gewählte Begünstigte gelöscht werden?" << 1;
    QTest::newRow("income source") << "income sources" << "Rente" << "Einnahmequelle entfernen" << "Eintrag entfernen"
        << "Eintrag 2 löschen?" << 1;
}

void TestMasterDataForms::deletionAsksFirst()
{
    QFETCH(QString, row);
    TestWorkspace ws;
    ws.seedMasterData();
    auto form = openDialog(fetch<QString>("dialog"));
    QPushButton *remove = button(form.get(), fetch<QString>("deleteButton"));
    QVERIFY(clickRow(theList(form.get()), row));
    const QString before = fileSnapshot();
    const int rowsBefore = fileRows();
    {
        MessageBoxCatcher boxes(MessageBoxCatcher::PressReturn);
        click(remove);
        QCOMPARE(boxes.titles(), QStringList(fetch<QString>("title")));
        QCOMPARE(boxes.text(), fetch<QString>("text"));
        QCOMPARE(fileSnapshot(), before);
    }
    QVERIFY(clickRow(theList(form.get()), row));
    MessageBoxCatcher boxes;
    boxes.setButtonTexts({ QStringLiteral("Ja") });
    click(remove);
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(fileRows(), rowsBefore - fetch<int>("removedRows"));
    QVERIFY(!rows(theList(form.get())).contains(row));
    QCOMPARE(balanceProblems(), QString());
}

QTEST_MAIN(TestMasterDataForms)
#include "tst_masterdataforms.moc"
