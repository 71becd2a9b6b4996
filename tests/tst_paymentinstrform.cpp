#include "colorsetting.h"
#include "dataprovider.h"
#include "formdriver.h"
#include "paymentinstrform.h"
#include "paymentinstruction.h"
#include "picturescene.h"
#include "plaintextitem.h"
#include "sceneprovider.h"
#include "testsupport.h"

#include <QComboBox>
#include <QMessageBox>
#include <QRadioButton>
#include <QSqlQuery>

using namespace FormDriver;

namespace {

// The payment-instrument dialog, shown and driven like a user.
struct InstrumentDialog
{
    InstrumentDialog() { form.show(); }

    QLineEdit *name() { return field(&form, QStringLiteral("Name:")); }
    QLineEdit *number() { return field(&form, QStringLiteral("Nummer:")); }
    QLineEdit *amount() { return field(&form, QStringLiteral("Eröffnungsbetrag:")); }
    QPushButton *save() { return button(&form, QStringLiteral("Speichern")); }
    QPushButton *remove() { return button(&form, QStringLiteral("Entfernen")); }
    QPushButton *newEntry() { return button(&form, QStringLiteral("Neuer Eintrag")); }
    QRadioButton *radio(const QString &text) { return button<QRadioButton>(&form, text); }
    QComboBox *accounts() { return form.findChild<QComboBox *>(); }
    QTableView *table() { return list(&form, QStringLiteral("Liste der Zahlungsmittel")); }

    // Chooses a bank account with the keyboard.
    void chooseAccount(int index)
    {
        QComboBox *combo = accounts();
        while (combo->currentIndex() < index)
            QTest::keyClick(combo, Qt::Key_Down);
        while (combo->currentIndex() > index)
            QTest::keyClick(combo, Qt::Key_Up);
    }

    PaymentInstrForm form;
};

struct InstrumentRow
{
    int type = 0;
    int accountId = 0;
    int linked = -1;
    QString number;
    QString description;
};

InstrumentRow instrumentNamed(const QString &name)
{
    InstrumentRow row;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT zahlungsmittel_typ, konto_id, hat_konto_verbindung, karten_nummer, "
                                 "beschreibung FROM zahlungsmittel WHERE name = :n"));
    query.bindValue(QStringLiteral(":n"), name);
    if (query.exec() && query.next()) {
        row.type = query.value(0).toInt();
        row.accountId = query.value(1).toInt();
        row.linked = query.value(2).toInt();
        row.number = query.value(3).toString();
        row.description = query.value(4).toString();
    }
    return row;
}

const char *MovementOnAccount =
    "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,"
    "bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
    "VALUES ('2026-02-01',20.0,%1,0,21,31,0,'',0,0,'',0)";

} // namespace

class TestPaymentInstrForm : public QObject
{
    Q_OBJECT

private slots:
    void startState();
    void linkedCardUsesTheChosenAccountsId();
    void ownAccountInstruments_data();
    void ownAccountInstruments();
    void openingAmountLimits_data();
    void openingAmountLimits();
    void editChangesOnlyNameAndNumber();
    void deleteCashDeletesItsOwnAccount();
    void deleteLinkedCardKeepsBankAccount();
    void deletionGuards_data();
    void deletionGuards();
    void failedInstrumentInsertLeavesNoAccount();
    void failedAccountDeleteKeepsInstrument();
    void withoutBankAccountOnlyPrepaid();
    void saveRedrawsTheCardList();
};

void TestPaymentInstrForm::startState()
{
    TestWorkspace ws;
    ws.seedMasterData();
    InstrumentDialog dialog;
    QCOMPARE(dialog.form.windowTitle(), QStringLiteral("Zahlungsmittel"));
    QCOMPARE(dialog.name()->text(), QStringLiteral("z.B. MasterCard"));
    QVERIFY(dialog.radio(QStringLiteral("Kreditkarte"))->isChecked());
    QVERIFY(dialog.radio(QStringLiteral("Anschluss an Konto"))->isChecked());
    QVERIFY(!dialog.amount()->isEnabled());
    QVERIFY(!dialog.save()->isEnabled());
    QVERIFY(!dialog.remove()->isEnabled());

    // Only bank accounts are offered, each with its id.
    QComboBox *combo = dialog.accounts();
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QStringLiteral("Postkonto"));
    QCOMPARE(combo->itemData(0).toInt(), int(Seed::BankAccount));
    QCOMPARE(combo->itemText(1), QStringLiteral("Sparkonto"));
    QCOMPARE(combo->itemData(1).toInt(), int(Seed::SavingsAccount));

    // The accounts' own instruments are not listed here.
    QStringList names = rows(dialog.table());
    names.sort();
    QCOMPARE(names, (QStringList{ QStringLiteral("Bargeld"), QStringLiteral("Visa") }));
}

void TestPaymentInstrForm::linkedCardUsesTheChosenAccountsId()
{
    TestWorkspace ws;
    ws.seedMasterData();
    // A second bank account of the same name.
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konten (startdate,name,konto_typ,stat,konto_nummer,initial_betrag,betrag,konto_beschreibung) "
        "VALUES ('2026-01-01','Postkonto',12,1,'CH55',10.0,10.0,'Bank-Account')"));
    const int twin = TestWorkspace::scalar(QStringLiteral("SELECT MAX(id) FROM konten")).toInt();
    InstrumentDialog dialog;
    // Back from cash to a card: the card is stored as shown, linked.
    click(dialog.radio(QStringLiteral("Bargeld")));
    click(dialog.radio(QStringLiteral("Kreditkarte")));
    QVERIFY(dialog.radio(QStringLiteral("Anschluss an Konto"))->isChecked());
    QCOMPARE(dialog.accounts()->count(), 3);
    int twinIndex = -1;
    for (int i = 0; i < dialog.accounts()->count(); ++i) {
        if (dialog.accounts()->itemData(i).toInt() == twin)
            twinIndex = i;
    }
    QVERIFY(twinIndex >= 0);
    dialog.chooseAccount(twinIndex);

    type(dialog.name(), QStringLiteral("Master'Card Gold"));
    type(dialog.number(), QStringLiteral("5500 0000 0000 0004 1234 5678 9999"));
    QVERIFY(dialog.save()->isEnabled());
    MessageBoxCatcher boxes;
    click(dialog.save());
    QVERIFY2(!boxes.seen(), qPrintable(boxes.text()));

    const InstrumentRow card = instrumentNamed(QStringLiteral("Master'Card Gold"));
    QCOMPARE(card.type, 24);
    QCOMPARE(card.accountId, twin);
    QCOMPARE(card.linked, 1);
    QCOMPARE(card.number, QStringLiteral("5500 0000 0000 0004 1234 5678 9999").left(28));
    QCOMPARE(card.description, QStringLiteral("??"));
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), 4);
    QVERIFY(rows(dialog.table()).contains(QStringLiteral("Master'Card Gold")));

    // The next card chosen as prepaid is stored as a card with its own balance.
    click(dialog.radio(QStringLiteral("Prepaid")));
    type(dialog.name(), QStringLiteral("Prepaid"));
    type(dialog.number(), QStringLiteral("4000"));
    type(dialog.amount(), QStringLiteral("50"));
    click(dialog.save());
    QCOMPARE(instrumentNamed(QStringLiteral("Prepaid")).type, 23);
    QCOMPARE(instrumentNamed(QStringLiteral("Prepaid")).linked, 0);
}

void TestPaymentInstrForm::ownAccountInstruments_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("prepaid");
    QTest::addColumn<QString>("example");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("numbered");

    QTest::newRow("cash") << QStringLiteral("Bargeld") << QString() << QStringLiteral("z.B. Kasse") << 21 << false;
    QTest::newRow("voucher") << QStringLiteral("Check") << QString() << QStringLiteral("z.B. REKA-Checks") << 22 << false;
    QTest::newRow("prepaid card") << QStringLiteral("Kreditkarte") << QStringLiteral("Prepaid")
                                  << QStringLiteral("z.B. MasterCard") << 23 << true;
}

void TestPaymentInstrForm::ownAccountInstruments()
{
    QFETCH(QString, kind);
    QFETCH(QString, prepaid);
    QFETCH(QString, example);
    QFETCH(int, type);
    QFETCH(bool, numbered);

    TestWorkspace ws;
    ws.seedMasterData();
    InstrumentDialog dialog;
    click(dialog.radio(kind));
    if (!prepaid.isEmpty())
        click(dialog.radio(prepaid));
    QCOMPARE(dialog.name()->text(), example);
    QVERIFY(dialog.amount()->isEnabled());
    QCOMPARE(dialog.number()->isEnabled(), numbered);
    QCOMPARE(dialog.accounts()->isEnabled(), false);

    const QString name = QStringLiteral("Jürg's Kasse");
    FormDriver::type(dialog.name(), name);
    if (numbered)
        FormDriver::type(dialog.number(), QStringLiteral("4111-22"));
    FormDriver::type(dialog.amount(), QStringLiteral("250,75"));
    MessageBoxCatcher boxes;
    click(dialog.save());
    QVERIFY2(!boxes.seen(), qPrintable(boxes.text()));

    const InstrumentRow row = instrumentNamed(name);
    QCOMPARE(row.type, type);
    QCOMPARE(row.linked, 0);
    QCOMPARE(row.number, numbered ? QStringLiteral("4111-22") : QString());
    QSqlQuery account(QStringLiteral("SELECT konto_typ, stat, initial_betrag, betrag, konto_beschreibung, name "
                                     "FROM konten WHERE id = %1").arg(row.accountId));
    QVERIFY(account.next());
    QCOMPARE(account.value(0).toInt(), 13);
    QCOMPARE(account.value(1).toInt(), 1);
    QCOMPARE(account.value(2).toDouble(), 250.75);
    QCOMPARE(account.value(3).toDouble(), 250.75);
    QCOMPARE(account.value(4).toString(), QStringLiteral("??"));
    QCOMPARE(account.value(5).toString(), name);
    QVERIFY(rows(dialog.table()).contains(name));
}

void TestPaymentInstrForm::openingAmountLimits_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("zero") << QStringLiteral("0") << false;
    QTest::newRow("upper limit") << QStringLiteral("99999") << true;
    QTest::newRow("one cent above") << QStringLiteral("99999.01") << false;
}

void TestPaymentInstrForm::openingAmountLimits()
{
    QFETCH(QString, amount);
    QFETCH(bool, accepted);

    TestWorkspace ws;
    ws.seedMasterData();
    InstrumentDialog dialog;
    click(dialog.radio(QStringLiteral("Bargeld")));
    type(dialog.name(), QStringLiteral("Kasse"));
    type(dialog.amount(), amount);
    QCOMPARE(dialog.amount()->text(), amount);
    MessageBoxCatcher boxes;
    click(dialog.save());

    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("zahlungsmittel")), accepted ? 5 : 4);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), accepted ? 4 : 3);
    if (accepted) {
        QVERIFY(!boxes.seen());
        return;
    }
    QCOMPARE(boxes.title(), QStringLiteral("Betrag ungültig!"));
    QCOMPARE(boxes.text(), QStringLiteral("Eröffnungs-Limite: 99999.0"));
    QCOMPARE(dialog.name()->text(), QStringLiteral("Kasse"));
}

void TestPaymentInstrForm::editChangesOnlyNameAndNumber()
{
    TestWorkspace ws;
    ws.seedMasterData();
    InstrumentDialog dialog;

    QVERIFY(clickRow(dialog.table(), QStringLiteral("Visa")));
    QVERIFY(!dialog.radio(QStringLiteral("Kreditkarte"))->isEnabled());
    QVERIFY(!dialog.accounts()->isEnabled());
    QVERIFY(!dialog.amount()->isEnabled());
    QVERIFY(dialog.remove()->isEnabled());
    QCOMPARE(dialog.number()->text(), QStringLiteral("4111"));
    type(dialog.name(), QStringLiteral("Visa Gold"));
    type(dialog.number(), QStringLiteral("4111-9"));
    click(dialog.save());
    const InstrumentRow visa = instrumentNamed(QStringLiteral("Visa Gold"));
    QCOMPARE(visa.type, 24);
    QCOMPARE(visa.accountId, int(Seed::BankAccount));
    QCOMPARE(visa.number, QStringLiteral("4111-9"));
    QCOMPARE(DataProvider::instance()->getPaymentInstrument(Seed::CardInstrument)->getName(),
             QStringLiteral("Visa Gold"));

    // Cash: the opening amount is shown, not edited, not checked; 0.00
    // carried over from last year does not stop a rename.
    TestWorkspace::exec(QStringLiteral("UPDATE konten SET initial_betrag = 0 WHERE id = 2"));
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Bargeld")));
    QVERIFY(!dialog.number()->isEnabled());
    QVERIFY(!dialog.amount()->isEnabled());
    type(dialog.name(), QStringLiteral("Portemonnaie"));
    MessageBoxCatcher boxes;
    click(dialog.save());
    QVERIFY2(!boxes.seen(), qPrintable(boxes.text()));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT name FROM zahlungsmittel WHERE id = 2")).toString(),
             QStringLiteral("Portemonnaie"));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT initial_betrag FROM konten WHERE id = 2")).toDouble(), 0.0);
    QCOMPARE(TestWorkspace::balance(Seed::CashAccount), 200.0);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), 3);
}

void TestPaymentInstrForm::deleteCashDeletesItsOwnAccount()
{
    TestWorkspace ws;
    ws.seedMasterData();
    InstrumentDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Bargeld")));
    MessageBoxCatcher boxes(QMessageBox::Ok);
    click(dialog.remove());

    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.title(), QStringLiteral("Zahlungsmittel entfernen"));
    QCOMPARE(boxes.text(), QStringLiteral("Soll das gewählte Zahlungsmittel gelöscht werden?"));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT COUNT(*) FROM zahlungsmittel WHERE id = 2")).toInt(), 0);
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT COUNT(*) FROM konten WHERE id = 2")).toInt(), 0);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), 2);
    QVERIFY(!DataProvider::instance()->getAccount(Seed::CashAccount));
    QCOMPARE(rows(dialog.table()), QStringList{ QStringLiteral("Visa") });
    QVERIFY(!dialog.remove()->isEnabled());
}

void TestPaymentInstrForm::deleteLinkedCardKeepsBankAccount()
{
    TestWorkspace ws;
    ws.seedMasterData();
    // The bank account has movements of its own; they do not keep the card.
    TestWorkspace::exec(QString::fromLatin1(MovementOnAccount).arg(int(Seed::BankAccount)));
    InstrumentDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Visa")));
    MessageBoxCatcher boxes(QMessageBox::Ok);
    click(dialog.remove());

    QCOMPARE(boxes.titles(), QStringList{ QStringLiteral("Zahlungsmittel entfernen") });
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT COUNT(*) FROM zahlungsmittel WHERE id = 3")).toInt(), 0);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), 3);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT COUNT(*) FROM zahlungsmittel WHERE id = 1")).toInt(), 1);
}

void TestPaymentInstrForm::deletionGuards_data()
{
    QTest::addColumn<QString>("instrument");
    QTest::addColumn<QString>("setup");

    QTest::newRow("cash with movements") << QStringLiteral("Bargeld")
                                         << QString::fromLatin1(MovementOnAccount).arg(int(Seed::CashAccount));
    QTest::newRow("card with expenses")
        << QStringLiteral("Visa")
        << QStringLiteral("INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,"
                          "zahlungsmittel_id,bemerkung,ausgaben_typ,ausgaben_typ_id) "
                          "VALUES ('2026-02-01',10.0,'Migros',1,'Visa',3,'','Lebensmittel',1)");
}

void TestPaymentInstrForm::deletionGuards()
{
    QFETCH(QString, instrument);
    QFETCH(QString, setup);

    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(setup);
    InstrumentDialog dialog;
    QVERIFY(clickRow(dialog.table(), instrument));
    MessageBoxCatcher boxes(QMessageBox::Ok);
    click(dialog.remove());

    QCOMPARE(boxes.titles(), QStringList{ QStringLiteral("Daten vorhanden") });
    QCOMPARE(boxes.text(),
             QStringLiteral("Das Zahlungsmittel kann nicht entfernt werden, da sich noch Einträge darunter befinden!"));
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("zahlungsmittel")), 4);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), 3);
}

void TestPaymentInstrForm::failedInstrumentInsertLeavesNoAccount()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON zahlungsmittel "
                                       "BEGIN SELECT RAISE(ABORT, 'Platte voll'); END"));
    InstrumentDialog dialog;
    click(dialog.radio(QStringLiteral("Check")));
    type(dialog.name(), QStringLiteral("REKA"));
    type(dialog.amount(), QStringLiteral("100"));
    MessageBoxCatcher boxes;
    click(dialog.save());

    QCOMPARE(boxes.title(), QStringLiteral("Zahlungsmittel konnte nicht gespeichert werden: "));
    QVERIFY(boxes.text().contains(QStringLiteral("Platte voll")));
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), 3);
    QVERIFY(!DataProvider::instance()->getAccount(QStringLiteral("REKA")));
}

void TestPaymentInstrForm::failedAccountDeleteKeepsInstrument()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON konten "
                                       "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
    InstrumentDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Bargeld")));
    MessageBoxCatcher boxes;
    boxes.setAnswers({ QMessageBox::Ok, QMessageBox::Ok });
    click(dialog.remove());

    QCOMPARE(boxes.titles().last(), QStringLiteral("Fehler beim löschen des Zahlungsmittel: "));
    QVERIFY(boxes.texts().last().contains(QStringLiteral("gesperrt")));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT COUNT(*) FROM zahlungsmittel WHERE id = 2")).toInt(), 1);
    QVERIFY(DataProvider::instance()->getPaymentInstrument(Seed::CashInstrument));
    QVERIFY(rows(dialog.table()).contains(QStringLiteral("Bargeld")));
}

void TestPaymentInstrForm::withoutBankAccountOnlyPrepaid()
{
    TestWorkspace ws;
    InstrumentDialog dialog;
    QCOMPARE(dialog.accounts()->count(), 0);

    // A linked card needs a bank account: refused, nothing stored.
    type(dialog.name(), QStringLiteral("Karte"));
    type(dialog.number(), QStringLiteral("1"));
    {
        MessageBoxCatcher boxes;
        click(dialog.save());
        QCOMPARE(boxes.title(), QStringLiteral("Zahlungsmittel konnte nicht gespeichert werden: "));
        QVERIFY(!boxes.text().isEmpty());
    }
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("zahlungsmittel")), 0);
    QCOMPARE(dialog.name()->text(), QStringLiteral("Karte"));

    click(dialog.radio(QStringLiteral("Kreditkarte")));
    QVERIFY(!dialog.radio(QStringLiteral("Anschluss an Konto"))->isEnabled());
    click(dialog.radio(QStringLiteral("Prepaid")));
    QVERIFY(dialog.amount()->isEnabled());
    type(dialog.name(), QStringLiteral("Prepaid-Karte"));
    type(dialog.number(), QStringLiteral("4000"));
    type(dialog.amount(), QStringLiteral("80"));
    MessageBoxCatcher boxes;
    click(dialog.save());
    QVERIFY(!boxes.seen());
    QCOMPARE(instrumentNamed(QStringLiteral("Prepaid-Karte")).type, 23);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), 1);
}

void TestPaymentInstrForm::saveRedrawsTheCardList()
{
    TestWorkspace ws;
    ws.seedMasterData();
    QWidget owner;
    SceneProvider provider(&owner);
    provider.addScene(0);
    PictureScene *cards = provider.addScene(1);
    ColorSetting::instance()->setSceneProvider(&provider);

    auto cardTexts = [cards] {
        QStringList texts;
        for (QGraphicsItem *item : cards->items()) {
            if (auto *text = dynamic_cast<PlainTextItem *>(item))
                texts << text->toPlainText();
        }
        return texts;
    };
    {
        InstrumentDialog dialog;
        click(dialog.radio(QStringLiteral("Bargeld")));
        type(dialog.name(), QStringLiteral("Reisekasse"));
        type(dialog.amount(), QStringLiteral("40"));
        click(dialog.save());
        QVERIFY(cardTexts().contains(QStringLiteral("Reisekasse")));
        QVERIFY(cardTexts().contains(QStringLiteral("Visa")));
    }
    ColorSetting::instance()->setSceneProvider(nullptr);
}

QTEST_MAIN(TestPaymentInstrForm)
#include "tst_paymentinstrform.moc"
