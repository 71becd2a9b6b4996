#include "account.h"
#include "accountform.h"
#include "amountinput.h"
#include "dataprovider.h"
#include "formdriver.h"
#include "paymentinstruction.h"
#include "testsupport.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTimer>

using namespace FormDriver;

namespace {

// The accounts dialog, shown and driven like a user.
struct AccountDialog
{
    AccountDialog() { form.show(); }

    QLineEdit *name() { return field(&form, QStringLiteral("Name:")); }
    QLineEdit *number() { return field(&form, QStringLiteral("Konto-Nummer:")); }
    QLineEdit *amount() { return field(&form, QStringLiteral("Eröffnungsbetrag:")); }
    QPushButton *save() { return button(&form, QStringLiteral("Speichern")); }
    QPushButton *state() { return button(&form, QStringLiteral("Aktiv / Inaktiv")); }
    QPushButton *remove() { return button(&form, QStringLiteral("Entfernen")); }
    QTableView *table() { return list(&form, QStringLiteral("Liste der Konten")); }

    void enter(const QString &accountName, const QString &accountNumber, const QString &opening)
    {
        type(name(), accountName);
        type(number(), accountNumber);
        type(amount(), opening);
    }

    AccountForm form;
};

int accountIdByName(const QString &name)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT id FROM konten WHERE name = :n"));
    query.bindValue(QStringLiteral(":n"), name);
    return query.exec() && query.next() ? query.value(0).toInt() : 0;
}

void addMovement(int fromAccount, int toAccount)
{
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,"
        "bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
        "VALUES ('2026-02-01',50.0,%1,%2,23,31,1,'Lohn',0,0,'',1)").arg(fromAccount).arg(toAccount));
}

} // namespace

class TestAccountForm : public QObject
{
    Q_OBJECT

private slots:
    void frameAndHeaderRule();
    void newAccountIsStoredWithItsOwnInstrument_data();
    void newAccountIsStoredWithItsOwnInstrument();
    void saveWaitsForAllThreeFields();
    void openingAmountLimits_data();
    void openingAmountLimits();
    void renameRenamesOnlyTheOwnInstrument();
    void editCutsNameAndNumber();
    void openingAmountEditableOnlyWithoutMovements();
    void statusToggles();
    void deletionGuards_data();
    void deletionGuards();
    void deleteAsksAndRemovesAccountWithOwnInstrument();
    void failedInstrumentInsertLeavesNoAccount();
    void failedAccountDeleteKeepsInstrument();
};

void TestAccountForm::frameAndHeaderRule()
{
    TestWorkspace ws;
    AccountDialog dialog;
    QCOMPARE(dialog.form.windowTitle(), QStringLiteral("Konto"));
    QCOMPARE(dialog.form.findChild<QGroupBox *>()->title(), QStringLiteral("Konto erfassen / entfernen"));
    QVERIFY(!dialog.save()->isEnabled());
    QVERIFY(!dialog.state()->isEnabled());
    QVERIFY(!dialog.remove()->isEnabled());
    QCOMPARE(dialog.form.focusWidget(), dialog.name());

    // An empty list shows no header; the first account brings it.
    QVERIFY(dialog.table()->horizontalHeader()->isHidden());
    dialog.enter(QStringLiteral("Postkonto"), QStringLiteral("CH12"), QStringLiteral("100"));
    click(dialog.save());
    QCOMPARE(rows(dialog.table()), QStringList{ QStringLiteral("Postkonto") });
    QVERIFY(!dialog.table()->horizontalHeader()->isHidden());
    const QAbstractItemModel *model = dialog.table()->model();
    QStringList headers;
    for (int column = 0; column < model->columnCount(); ++column) {
        if (!dialog.table()->isColumnHidden(column))
            headers << model->headerData(column, Qt::Horizontal).toString();
    }
    QCOMPARE(headers, (QStringList{ QStringLiteral("Name"), QStringLiteral("Aktiv/Inaktiv"),
                                    QStringLiteral("Eröffnet"), QStringLiteral("Guthaben") }));
}

void TestAccountForm::newAccountIsStoredWithItsOwnInstrument_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<QString>("storedNumber");
    QTest::addColumn<double>("storedAmount");

    QTest::newRow("apostrophe and umlauts")
        << QStringLiteral("Müller's Zürcher Bank") << QStringLiteral("CH'44") << QStringLiteral("1500,50")
        << QStringLiteral("Müller's Zürcher Bank") << QStringLiteral("CH'44") << 1500.5;
    const QString longName = QStringLiteral("Raiffeisenbank Oberes Emmental Langnau i.E.");
    const QString longNumber = QStringLiteral("CH93-0076-2011-6238-5295-7777-99");
    QTest::newRow("long texts")
        << longName << longNumber << QStringLiteral("20.25")
        << longName.left(38) << longNumber.left(28) << 20.25;
}

void TestAccountForm::newAccountIsStoredWithItsOwnInstrument()
{
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(QString, amount);
    QFETCH(QString, storedName);
    QFETCH(QString, storedNumber);
    QFETCH(double, storedAmount);

    TestWorkspace ws;
    ws.seedMasterData();
    AccountDialog dialog;
    dialog.enter(name, number, amount);
    QVERIFY(dialog.save()->isEnabled());
    MessageBoxCatcher boxes;
    click(dialog.save());
    QVERIFY2(!boxes.seen(), qPrintable(boxes.text()));

    const int id = accountIdByName(storedName);
    QVERIFY(id > 0);
    QSqlQuery account(QStringLiteral("SELECT konto_typ, stat, konto_nummer, initial_betrag, betrag, "
                                     "konto_beschreibung FROM konten WHERE id = %1").arg(id));
    QVERIFY(account.next());
    QCOMPARE(account.value(0).toInt(), 12);
    QCOMPARE(account.value(1).toInt(), 1);
    QCOMPARE(account.value(2).toString(), storedNumber);
    QCOMPARE(account.value(3).toDouble(), storedAmount);
    QCOMPARE(account.value(4).toDouble(), storedAmount);
    QCOMPARE(account.value(5).toString(), QStringLiteral("Bank-Account"));

    QSqlQuery own(QStringLiteral("SELECT zahlungsmittel_typ, hat_konto_verbindung, karten_nummer, "
                                 "beschreibung, name FROM zahlungsmittel WHERE konto_id = %1").arg(id));
    QVERIFY(own.next());
    QCOMPARE(own.value(0).toInt(), 25);
    QCOMPARE(own.value(1).toInt(), 1);
    QCOMPARE(own.value(2).toString(), storedNumber);
    QCOMPARE(own.value(3).toString(), QStringLiteral("Bank-Account"));
    QCOMPARE(own.value(4).toString(), storedName);
    QVERIFY(!own.next());

    // The list shows the new account; the fields are ready for the next one.
    QVERIFY(rows(dialog.table()).contains(storedName));
    QVERIFY(dialog.name()->text().isEmpty());
    QVERIFY(!dialog.save()->isEnabled());
    // The caches know both at once.
    QVERIFY(DataProvider::instance()->getAccount(id));
    QVERIFY(DataProvider::instance()->getPaymentInstrument(id, false));
}

void TestAccountForm::saveWaitsForAllThreeFields()
{
    TestWorkspace ws;
    AccountDialog dialog;
    type(dialog.name(), QStringLiteral("Postkonto"));
    type(dialog.amount(), QStringLiteral("10"));
    QVERIFY(!dialog.save()->isEnabled());
    type(dialog.number(), QStringLiteral("1"));
    QVERIFY(dialog.save()->isEnabled());
}

void TestAccountForm::openingAmountLimits_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("zero") << QStringLiteral("0") << false;
    QTest::newRow("upper limit") << QStringLiteral("999999") << true;
    QTest::newRow("one cent above") << QStringLiteral("999999.01") << false;
    QTest::newRow("one cent") << QStringLiteral("0,01") << true;
}

void TestAccountForm::openingAmountLimits()
{
    QFETCH(QString, amount);
    QFETCH(bool, accepted);

    TestWorkspace ws;
    AccountDialog dialog;
    dialog.enter(QStringLiteral("Sparkonto"), QStringLiteral("CH1"), amount);
    QCOMPARE(dialog.amount()->text(), amount);
    MessageBoxCatcher boxes;
    click(dialog.save());

    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), accepted ? 1 : 0);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("zahlungsmittel")), accepted ? 1 : 0);
    if (accepted) {
        QVERIFY(!boxes.seen());
        QCOMPARE(TestWorkspace::balance(1), parseAmount(amount, nullptr));
        return;
    }
    QCOMPARE(boxes.title(), QStringLiteral("Betrag ungültig!"));
    QCOMPARE(boxes.text(), QStringLiteral("Eröffnungs-Limite: 999999.0"));
    QVERIFY(!dialog.save()->isEnabled());
    // The refused input is still there to be corrected.
    QCOMPARE(dialog.name()->text(), QStringLiteral("Sparkonto"));
    QCOMPARE(dialog.amount()->text(), amount);
}

void TestAccountForm::renameRenamesOnlyTheOwnInstrument()
{
    TestWorkspace ws;
    ws.seedMasterData();
    // A card on the same account whose name sorts before the account's own instrument.
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,karten_nummer,"
        "beschreibung,name) VALUES (24,1,1,'5500','Karte','Amex')"));
    AccountDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Postkonto")));
    QCOMPARE(dialog.name()->text(), QStringLiteral("Postkonto"));
    QCOMPARE(dialog.number()->text(), QStringLiteral("CH12-3456"));
    QVERIFY(dialog.remove()->isEnabled());
    QVERIFY(dialog.state()->isEnabled());
    QVERIFY(!dialog.save()->isEnabled());

    type(dialog.name(), QStringLiteral("Post'Finance"));
    MessageBoxCatcher boxes;
    click(dialog.save());
    QVERIFY2(!boxes.seen(), qPrintable(boxes.text()));

    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT name FROM konten WHERE id = 1")).toString(),
             QStringLiteral("Post'Finance"));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT name FROM zahlungsmittel WHERE id = 1")).toString(),
             QStringLiteral("Post'Finance"));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT name FROM zahlungsmittel WHERE name = 'Amex'")).toString(),
             QStringLiteral("Amex"));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT name FROM zahlungsmittel WHERE id = 3")).toString(),
             QStringLiteral("Visa"));
    QCOMPARE(DataProvider::instance()->getPaymentInstrument(1)->getName(), QStringLiteral("Post'Finance"));
    QVERIFY(rows(dialog.table()).contains(QStringLiteral("Post'Finance")));
    // The fields are empty now, and so is nothing to save.
    QVERIFY(dialog.name()->text().isEmpty() && !dialog.save()->isEnabled());
}

void TestAccountForm::editCutsNameAndNumber()
{
    TestWorkspace ws;
    ws.seedMasterData();
    AccountDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Sparkonto")));
    const QString name = QStringLiteral("Sparkonto für die Ferien in Graubünden 2026");
    const QString number = QStringLiteral("CH98-7654-3210-0000-1111-2222-3333");
    type(dialog.name(), name);
    type(dialog.number(), number);
    click(dialog.save());
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT name FROM konten WHERE id = 3")).toString(),
             name.left(38));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT konto_nummer FROM konten WHERE id = 3")).toString(),
             number.left(28));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT name FROM zahlungsmittel WHERE id = 4")).toString(),
             name.left(38));
}

void TestAccountForm::openingAmountEditableOnlyWithoutMovements()
{
    TestWorkspace ws;
    ws.seedMasterData();
    // Account 1 only receives money: that counts as movement too. Its
    // opening amount, carried over from last year, is negative.
    addMovement(2, 1);
    TestWorkspace::exec(QStringLiteral("UPDATE konten SET initial_betrag = -20.0 WHERE id = 1"));
    AccountDialog dialog;

    QVERIFY(clickRow(dialog.table(), QStringLiteral("Postkonto")));
    QVERIFY(!dialog.amount()->isEnabled());
    type(dialog.number(), QStringLiteral("CH00-1"));
    MessageBoxCatcher boxes;
    click(dialog.save());
    QVERIFY2(!boxes.seen(), qPrintable(boxes.text()));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT konto_nummer FROM konten WHERE id = 1")).toString(),
             QStringLiteral("CH00-1"));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT initial_betrag FROM konten WHERE id = 1")).toDouble(), -20.0);
    QCOMPARE(TestWorkspace::balance(1), 1000.0);

    // Without movements the new opening amount becomes the balance too.
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Sparkonto")));
    QVERIFY(dialog.amount()->isEnabled());
    type(dialog.amount(), QStringLiteral("6000.40"));
    click(dialog.save());
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT initial_betrag FROM konten WHERE id = 3")).toDouble(), 6000.4);
    QCOMPARE(TestWorkspace::balance(3), 6000.4);
    QCOMPARE(DataProvider::instance()->getAccount(3)->getBalance(), 6000.4);
}

void TestAccountForm::statusToggles()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral("UPDATE konten SET stat = 5 WHERE id = 3"));
    AccountDialog dialog;
    const QString stat1 = QStringLiteral("SELECT stat FROM konten WHERE id = 1");

    QVERIFY(clickRow(dialog.table(), QStringLiteral("Postkonto")));
    click(dialog.state());
    QCOMPARE(TestWorkspace::scalar(stat1).toInt(), 0);
    QVERIFY(!dialog.state()->isEnabled());
    QVERIFY(!DataProvider::instance()->isAccountActive(1));

    QVERIFY(clickRow(dialog.table(), QStringLiteral("Postkonto")));
    click(dialog.state());
    QCOMPARE(TestWorkspace::scalar(stat1).toInt(), 1);

    // Any other value counts as inactive and becomes active.
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Sparkonto")));
    click(dialog.state());
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT stat FROM konten WHERE id = 3")).toInt(), 1);
}

void TestAccountForm::deletionGuards_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    QTest::newRow("movements")
        << QStringLiteral("Sparkonto")
        << QStringLiteral("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,"
                          "op_flag,bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
                          "VALUES ('2026-02-01',5.0,3,0,23,31,1,'',0,0,'',0)")
        << false << QStringLiteral("Daten vorhanden")
        << QStringLiteral("Das Konto kann nicht entfernt werden, da sich noch Einträge darunter befinden!");
    QTest::newRow("card attached")
        << QStringLiteral("Postkonto") << QString() << true
        << QStringLiteral("Fehler beim Entfernen des Konto!")
        << QStringLiteral("Konto kann nicht gelöscht werden, da noch Zahlungsmittel angeschlossen sind!");
    QTest::newRow("expenses on own instrument")
        << QStringLiteral("Sparkonto")
        << QStringLiteral("INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,"
                          "zahlungsmittel_id,bemerkung,ausgaben_typ,ausgaben_typ_id) "
                          "VALUES ('2026-02-01',10.0,'Migros',1,'Sparkonto',4,'','Lebensmittel',1)")
        << true << QStringLiteral("Fehler beim Entfernen des Konto!")
        << QStringLiteral("Konto kann nicht gelöscht werden, da sich noch Ausgaben-Einträge darunter befinden!");
}

void TestAccountForm::deletionGuards()
{
    QFETCH(QString, account);
    QFETCH(QString, setup);
    QFETCH(bool, asks);
    QFETCH(QString, title);
    QFETCH(QString, text);

    TestWorkspace ws;
    ws.seedMasterData();
    if (!setup.isEmpty())
        TestWorkspace::exec(setup);
    AccountDialog dialog;
    QVERIFY(clickRow(dialog.table(), account));

    MessageBoxCatcher boxes;
    boxes.setAnswers({ QMessageBox::Ok, QMessageBox::Ok });
    click(dialog.remove());

    // The guard speaks last: after the question when there is one.
    QCOMPARE(boxes.count(), asks ? 2 : 1);
    if (asks)
        QCOMPARE(boxes.titles().first(), QStringLiteral("Konto entfernen"));
    QCOMPARE(boxes.titles().last(), title);
    QCOMPARE(boxes.texts().last(), text);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), 3);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("zahlungsmittel")), 4);
}

void TestAccountForm::deleteAsksAndRemovesAccountWithOwnInstrument()
{
    TestWorkspace ws;
    ws.seedMasterData();
    AccountDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Sparkonto")));

    // The question: a warning with "Ja" and "Nein"; "Nein" keeps everything.
    QString title, text;
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QAbstractButton *no = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            buttons << b->text();
            if (b->text() == QStringLiteral("Nein"))
                no = b;
        }
        QVERIFY(no);
        no->click();
    });
    click(dialog.remove());
    QCOMPARE(title, QStringLiteral("Konto entfernen"));
    QCOMPARE(text, QStringLiteral("Soll das gewählte Konto gelöscht werden?"));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{ QStringLiteral("Ja"), QStringLiteral("Nein") }));
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), 3);

    QVERIFY(clickRow(dialog.table(), QStringLiteral("Sparkonto")));
    MessageBoxCatcher yes(QMessageBox::Ok);
    click(dialog.remove());
    QCOMPARE(yes.count(), 1);
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT COUNT(*) FROM konten WHERE id = 3")).toInt(), 0);
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT COUNT(*) FROM zahlungsmittel WHERE id = 4")).toInt(), 0);
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("zahlungsmittel")), 3);
    QVERIFY(!rows(dialog.table()).contains(QStringLiteral("Sparkonto")));
    QVERIFY(!dialog.remove()->isEnabled());
    QVERIFY(!DataProvider::instance()->getAccount(3));
    QVERIFY(!DataProvider::instance()->getPaymentInstrument(4));
}

void TestAccountForm::failedInstrumentInsertLeavesNoAccount()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON zahlungsmittel "
                                       "BEGIN SELECT RAISE(ABORT, 'Platte voll'); END"));
    AccountDialog dialog;
    dialog.enter(QStringLiteral("Neue Bank"), QStringLiteral("CH77"), QStringLiteral("300"));
    MessageBoxCatcher boxes;
    click(dialog.save());

    QCOMPARE(boxes.title(), QStringLiteral("Konto konnte nicht gespeichert werden: "));
    QVERIFY2(boxes.text().contains(QStringLiteral("Platte voll")), qPrintable(boxes.text()));
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), 3);
    QCOMPARE(accountIdByName(QStringLiteral("Neue Bank")), 0);
    QVERIFY(!DataProvider::instance()->getAccount(QStringLiteral("Neue Bank")));
    QVERIFY(!rows(dialog.table()).contains(QStringLiteral("Neue Bank")));
}

void TestAccountForm::failedAccountDeleteKeepsInstrument()
{
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON konten "
                                       "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
    AccountDialog dialog;
    QVERIFY(clickRow(dialog.table(), QStringLiteral("Sparkonto")));
    MessageBoxCatcher boxes;
    boxes.setAnswers({ QMessageBox::Ok, QMessageBox::Ok });
    click(dialog.remove());

    QCOMPARE(boxes.count(), 2);
    QCOMPARE(boxes.titles().last(), QStringLiteral("Fehler beim löschen des Konto: "));
    QVERIFY(boxes.texts().last().contains(QStringLiteral("gesperrt")));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT name FROM zahlungsmittel WHERE id = 4")).toString(),
             QStringLiteral("Sparkonto"));
    QCOMPARE(TestWorkspace::rowCount(QStringLiteral("konten")), 3);
    QVERIFY(DataProvider::instance()->getPaymentInstrument(4));
    QVERIFY(rows(dialog.table()).contains(QStringLiteral("Sparkonto")));
}

QTEST_MAIN(TestAccountForm)
#include "tst_accountform.moc"
