#include "accountentryform.h"
#include "dataprovider.h"
#include "formdriver.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTableView>
#include <QTest>

#include <memory>

namespace {

const QList<int> transferTypes = {21, 25, 22, 23};
const QList<int> depositTypes = {25, 21, 22};

// Drives a shown dialog the way a user does.
struct Driver
{
    explicit Driver(QDialog *dialog) : form(dialog) { form->show(); }

    QLineEdit *edit(const char *name) { return form->findChild<QLineEdit *>(QLatin1String(name)); }
    QComboBox *combo(const char *name) { return form->findChild<QComboBox *>(QLatin1String(name)); }
    QPushButton *button(const QString &text) { return FormDriver::button(form, text); }
    void click(const QString &text) { FormDriver::click(button(text)); }
    QTableView *table() { return form->findChild<QTableView *>(QStringLiteral("movementTable")); }
    QSqlTableModel *model() { return static_cast<QSqlTableModel *>(table()->model()); }

    QStringList entries(const char *comboName)
    {
        QStringList texts;
        for (int i = 0; i < combo(comboName)->count(); ++i)
            texts << combo(comboName)->itemText(i);
        return texts;
    }
    // Keyboard navigation, which also reports the entry as chosen.
    void choose(const char *comboName, const QString &text)
    {
        QComboBox *box = combo(comboName);
        const int index = box->findText(text);
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
    void save(const QString &amount)
    {
        enter("amountEdit", amount);
        click(QStringLiteral("Speichern"));
    }
    void clickRow(int row)
    {
        const QModelIndex index = model()->index(row, model()->fieldIndex(QStringLiteral("betrag")));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, table()->visualRect(index).center());
    }

    QDialog *form;
};

PaymentInstruction *instrument(int id)
{
    return DataProvider::instance()->getPaymentInstrument(id, true);
}

void insertMovement(int from, int to, int opFlag, int txType, const QString &txId, double amount)
{
    TestWorkspace::exec(QStringLiteral("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,"
                                       "tx_typ,stat,op_flag,bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,"
                                       "einnahme_quelle_id) VALUES ('2026-02-01',%1,%2,%3,%4,31,%5,'',0,0,'%6',0)")
                            .arg(amount).arg(from).arg(to).arg(txType).arg(opFlag).arg(txId));
}

QVariant movementValue(const QString &column, const QString &where)
{
    return TestWorkspace::scalar(QStringLiteral("SELECT %1 FROM konto_bewegungen WHERE %2").arg(column, where));
}

} // namespace

class TestAccountEntryForm : public QObject
{
    Q_OBJECT

private slots:
    void transferTargets();
    void transferWritesPairAndDeletesIt();
    void transferAvailabilityInCents_data();
    void transferAvailabilityInCents();
    void transferRefusals_data();
    void transferRefusals();
    void incompletePairRefused_data();
    void incompletePairRefused();
    void depositIntoInstrument_data();
    void depositIntoInstrument();
    void depositFromIncomeSource();
    void depositWithoutAccount();
};

void TestAccountEntryForm::transferTargets()
{
    TestWorkspace ws;
    ws.seedMasterData();
    // A prepaid card drawing on the bank account, one with its own account,
    // and a voucher on an inactive account.
    TestWorkspace::exec("INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,karten_nummer,"
                        "beschreibung,name) VALUES (23,1,0,'','','Prepaid Bank')");
    TestWorkspace::exec("INSERT INTO konten (startdate,name,konto_typ,stat,konto_nummer,initial_betrag,betrag,"
                        "konto_beschreibung) VALUES ('2026-01-01','Prepaid Eigen',13,1,'',0.0,0.0,'')");
    TestWorkspace::exec("INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,karten_nummer,"
                        "beschreibung,name) VALUES (23,4,0,'','','Prepaid Eigen')");
    TestWorkspace::exec("INSERT INTO konten (startdate,name,konto_typ,stat,konto_nummer,initial_betrag,betrag,"
                        "konto_beschreibung) VALUES ('2026-01-01','Alt',13,0,'',0.0,0.0,'')");
    TestWorkspace::exec("INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,karten_nummer,"
                        "beschreibung,name) VALUES (22,5,0,'','','Check')");

    AccountEntryForm form(instrument(Seed::BankInstrument), transferTypes);
    Driver dlg(&form);
    QCOMPARE(dlg.entries("instrumentCombo"), QStringList({"Bargeld", "Prepaid Eigen", "Sparkonto"}));
    QCOMPARE(dlg.combo("instrumentCombo")->itemData(2).toInt(), int(Seed::SavingsInstrument));
    QCOMPARE(dlg.edit("sourceEdit")->text(), QStringLiteral("Postkonto"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Interne Transaktion"));
    QVERIFY(!dlg.button("Speichern")->isEnabled());
    QVERIFY(!dlg.button("Eintrag löschen")->isEnabled());
}

void TestAccountEntryForm::transferWritesPairAndDeletesIt()
{
    TestWorkspace ws;
    ws.seedMasterData();
    AccountEntryForm form(instrument(Seed::BankInstrument), transferTypes);
    Driver dlg(&form);

    MessageBoxCatcher boxes(QMessageBox::Ok);
    dlg.choose("instrumentCombo", "Sparkonto");
    dlg.enter("remarkEdit", "Sparen");
    dlg.save("100");
    dlg.choose("instrumentCombo", "Bargeld");
    dlg.save("50");
    QVERIFY(!boxes.seen());

    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 4);
    const QString txId = movementValue("tx_id", "konto_id_von = 3").toString();
    QVERIFY(!txId.isEmpty());
    QCOMPARE(movementValue("group_concat(konto_id_von || '>' || konto_id_nach || ' ' || op_flag || ' ' || tx_typ "
                           "|| ' ' || bemerkung, '|')",
                           QStringLiteral("tx_id = '%1' ORDER BY id").arg(txId)).toString(),
             QStringLiteral("1>3 0 22 An: Sparkonto - Sparen|3>1 1 22 Von: Postkonto - Sparen"));
    QCOMPARE(movementValue("bemerkung", "konto_id_von = 2").toString(), QStringLiteral("Von: Postkonto"));
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 850.0);
    QCOMPARE(TestWorkspace::balance(Seed::SavingsAccount), 5100.0);
    QCOMPARE(TestWorkspace::balance(Seed::CashAccount), 250.0);
    QCOMPARE(dlg.model()->rowCount(), 2);

    // Delete the transfer to the savings account by its outgoing movement.
    int row = 0;
    while (dlg.model()->record(row).value(QStringLiteral("tx_id")).toString() != txId)
        ++row;
    dlg.clickRow(row);
    dlg.click(QStringLiteral("Eintrag löschen"));
    QCOMPARE(boxes.titles(), QStringList({"Eintrag entfernen"}));
    QCOMPARE(boxes.text(), QStringLiteral("Eintrag %1 löschen?").arg(row + 1));
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 2);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 950.0);
    QCOMPARE(TestWorkspace::balance(Seed::SavingsAccount), 5000.0);
    // The list stays on the dialog's own account.
    QCOMPARE(dlg.model()->rowCount(), 1);
    QCOMPARE(dlg.model()->record(0).value(QStringLiteral("konto_id_von")).toInt(), int(Seed::BankAccount));
    QVERIFY(!dlg.button("Eintrag löschen")->isEnabled());

    dlg.click(QStringLiteral("Eingänge anzeigen"));
    QCOMPARE(dlg.model()->rowCount(), 0);
    dlg.click(QStringLiteral("Ausgänge anzeigen"));
    QCOMPARE(dlg.model()->rowCount(), 1);
}

void TestAccountEntryForm::transferAvailabilityInCents_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("whole balance") << "1000,00" << true;
    QTest::newRow("one cent more") << "1000.01" << false;
}

void TestAccountEntryForm::transferAvailabilityInCents()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    TestWorkspace ws;
    ws.seedMasterData();
    AccountEntryForm form(instrument(Seed::BankInstrument), transferTypes);
    Driver dlg(&form);
    dlg.choose("instrumentCombo", "Sparkonto");

    MessageBoxCatcher boxes;
    dlg.save(typed);

    if (accepted) {
        QVERIFY(!boxes.seen());
        QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 0.0);
        QCOMPARE(TestWorkspace::balance(Seed::SavingsAccount), 6000.0);
    } else {
        QCOMPARE(boxes.title(), QStringLiteral("Betrags-Überschreitung"));
        QCOMPARE(boxes.text(), QStringLiteral("Betrag nicht verfügbar!"));
        QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 0);
        QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);
    }
    QCOMPARE(dlg.edit("amountEdit")->text(), QStringLiteral("0.0"));
}

void TestAccountEntryForm::transferRefusals_data()
{
    QTest::addColumn<QList<int>>("allowed");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("no target offered") << QList<int>{26} << "10" << QStringList{"Zahlungsmittel fehlt"};
    QTest::newRow("card of the same account")
        << QList<int>{24} << "10" << QStringList{"Interne Transaktion nicht möglich"};
}

void TestAccountEntryForm::transferRefusals()
{
    QFETCH(QList<int>, allowed);
    QFETCH(QString, amount);
    QFETCH(QStringList, titles);
    TestWorkspace ws;
    ws.seedMasterData();
    AccountEntryForm form(instrument(Seed::BankInstrument), allowed);
    Driver dlg(&form);

    MessageBoxCatcher boxes;
    dlg.save(amount);

    QCOMPARE(boxes.titles(), titles);
    QCOMPARE(dlg.button("Speichern")->isEnabled(), !titles.isEmpty());
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 0);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);
}

void TestAccountEntryForm::incompletePairRefused_data()
{
    QTest::addColumn<int>("sharing");
    QTest::newRow("partner gone") << 1;
    QTest::newRow("three movements") << 3;
}

void TestAccountEntryForm::incompletePairRefused()
{
    QFETCH(int, sharing);
    TestWorkspace ws;
    ws.seedMasterData();
    for (int i = 0; i < sharing; ++i)
        insertMovement(Seed::BankAccount, Seed::SavingsAccount, 0, 22, QStringLiteral("2026210123456"), 10.0);
    AccountEntryForm form(instrument(Seed::BankInstrument), transferTypes);
    Driver dlg(&form);
    dlg.click(QStringLiteral("Ausgänge anzeigen"));
    QCOMPARE(dlg.model()->rowCount(), sharing);

    dlg.clickRow(0);
    MessageBoxCatcher boxes(QMessageBox::Ok);
    dlg.click(QStringLiteral("Eintrag löschen"));

    QCOMPARE(boxes.titles(), QStringList({"Eintrag entfernen", "Fehler -> es ist kein Txn-Paar!"}));
    QCOMPARE(boxes.texts().at(1), QStringLiteral("?"));
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), sharing);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);
    QCOMPARE(TestWorkspace::balance(Seed::SavingsAccount), 5000.0);
}

void TestAccountEntryForm::depositIntoInstrument_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QString>("remark");
    QTest::addColumn<int>("sourceId");
    QTest::addColumn<QString>("storedRemark");

    QTest::newRow("typed payer") << "Andere" << "Flohmarkt" << "Velo" << 0 << "Flohmarkt - Velo";
    QTest::newRow("known source, no remark") << "Lohn" << "" << "" << int(Seed::IncomeSalary) << "Lohn - ";
}

void TestAccountEntryForm::depositIntoInstrument()
{
    QFETCH(QString, source);
    QFETCH(QString, typedName);
    QFETCH(QString, remark);
    QFETCH(int, sourceId);
    QFETCH(QString, storedRemark);
    TestWorkspace ws;
    ws.seedMasterData();
    AccountEntryForm form(instrument(Seed::SavingsInstrument));
    Driver dlg(&form);
    QCOMPARE(dlg.entries("incomeCombo"), QStringList({"Lohn", "Rente", "Andere"}));
    QCOMPARE(dlg.edit("accountEdit")->text(), QStringLiteral("Sparkonto"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Zahlungseingang"));

    dlg.choose("incomeCombo", source);
    QCOMPARE(dlg.edit("incomeEdit")->isEnabled(), source == QLatin1String("Andere"));
    if (!typedName.isEmpty()) {
        // Without the payer's name the deposit cannot be saved yet.
        dlg.enter("amountEdit", "250,50");
        QVERIFY(!dlg.button("Speichern")->isEnabled());
        dlg.enter("incomeEdit", typedName);
    }
    if (!remark.isEmpty())
        dlg.enter("remarkEdit", remark);
    MessageBoxCatcher boxes;
    dlg.save("250,50");

    QVERIFY(!boxes.seen());
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 1);
    QCOMPARE(movementValue("bemerkung", "1").toString(), storedRemark);
    QCOMPARE(movementValue("einnahme_quelle_id", "1").toInt(), sourceId);
    QCOMPARE(movementValue("COUNT(*)", "konto_id_von = 3 AND op_flag = 1 AND tx_typ = 23 AND betrag = 250.5").toInt(), 1);
    QCOMPARE(TestWorkspace::balance(Seed::SavingsAccount), 5250.5);
    QCOMPARE(dlg.model()->rowCount(), 1);
    QVERIFY(!dlg.button("Speichern")->isEnabled());

    // Removing it: "Nein" keeps it and the button, "Ja" takes it back.
    dlg.clickRow(0);
    boxes.setAnswers({QMessageBox::Cancel, QMessageBox::Ok});
    dlg.click(QStringLiteral("Eintrag löschen"));
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 1);
    QVERIFY(dlg.button("Eintrag löschen")->isEnabled());
    dlg.click(QStringLiteral("Eintrag löschen"));
    QCOMPARE(boxes.texts(), QStringList({"Eintrag 1 löschen?", "Eintrag 1 löschen?"}));
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 0);
    QCOMPARE(TestWorkspace::balance(Seed::SavingsAccount), 5000.0);
    QCOMPARE(dlg.model()->rowCount(), 0);
    QVERIFY(!dlg.button("Eintrag löschen")->isEnabled());
}

void TestAccountEntryForm::depositFromIncomeSource()
{
    TestWorkspace ws;
    ws.seedMasterData();
    // No account bears the name of the savings instrument any more.
    TestWorkspace::exec("UPDATE konten SET name = 'Sparkonto UBS' WHERE id = 3");
    std::unique_ptr<IncomeEntry> salary(DataProvider::instance()->getIncomeSource(Seed::IncomeSalary));
    AccountEntryForm form(salary.get(), depositTypes);
    Driver dlg(&form);
    QCOMPARE(dlg.entries("instrumentCombo"), QStringList({"Bargeld", "Postkonto", "Sparkonto"}));
    QCOMPARE(dlg.edit("incomeSourceEdit")->text(), QStringLiteral("Lohn"));

    dlg.choose("instrumentCombo", "Sparkonto");
    dlg.enter("remarkEdit", "Bonus");
    MessageBoxCatcher boxes;
    dlg.save("300");

    QVERIFY(!boxes.seen());
    QCOMPARE(movementValue("konto_id_von", "1").toInt(), int(Seed::SavingsAccount));
    QCOMPARE(movementValue("bemerkung", "1").toString(), QStringLiteral("Eingang: Lohn - Bonus"));
    QCOMPARE(movementValue("einnahme_quelle_id", "1").toInt(), int(Seed::IncomeSalary));
    QCOMPARE(TestWorkspace::balance(Seed::SavingsAccount), 5300.0);
    QCOMPARE(TestWorkspace::balance(Seed::CashAccount), 200.0);
    QCOMPARE(dlg.model()->rowCount(), 1);
}

void TestAccountEntryForm::depositWithoutAccount()
{
    TestWorkspace ws;
    TestWorkspace::exec("INSERT INTO einnahme_quelle (betrags_volumen,eq_typ,stat,name,bemerkung,mwst) "
                        "VALUES (1000.0,1,1,'Lohn','',0.0)");
    std::unique_ptr<IncomeEntry> salary(DataProvider::instance()->getIncomeSource(1));
    AccountEntryForm form(salary.get(), depositTypes);
    Driver dlg(&form);
    QCOMPARE(dlg.combo("instrumentCombo")->count(), 0);

    MessageBoxCatcher boxes;
    dlg.save("100");

    QCOMPARE(boxes.titles(), QStringList({"Konto fehlt"}));
    QVERIFY(boxes.text().contains(QStringLiteral("kein Konto")));
    QCOMPARE(TestWorkspace::rowCount("konto_bewegungen"), 0);
    QCOMPARE(dlg.edit("amountEdit")->text(), QStringLiteral("100"));
}

QTEST_MAIN(TestAccountEntryForm)
#include "tst_accountentryform.moc"
