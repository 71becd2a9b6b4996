#include "accountentry.h"
#include "accountmaintform.h"
#include "dataprovider.h"
#include "formdriver.h"
#include "paymentinstruction.h"
#include "testsupport.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTableView>
#include <QTest>

namespace {

// Movements of the bank account (1) of every kind, one of the savings
// account (3) that only names the bank account as its target.
void seedMovements()
{
    const char *rows[] = {
        "'2026-01-10',45.6,1,0,21,31,0,'Lebensmittel: Migros',1,7,'',0",
        "'2026-03-02',100.0,1,3,22,31,0,'An: Sparkonto',0,0,'2026321010',0",
        "'2026-02-15',2500.0,1,0,23,31,1,'Lohn - Februar',0,0,'',1",
        "'2026-03-02',100.0,3,1,22,31,1,'Von: Postkonto',0,0,'2026321010',0",
    };
    for (const char *values : rows)
        TestWorkspace::exec(QStringLiteral("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,"
                                           "konto_id_nach,tx_typ,stat,op_flag,bemerkung,zahlungsmittel_id,"
                                           "ausgabe_id,tx_id,einnahme_quelle_id) VALUES (%1)")
                                .arg(QLatin1String(values)));
}

struct MaintDialog
{
    MaintDialog() : form(DataProvider::instance()->getPaymentInstrument(Seed::BankInstrument, true))
    {
        form.show();
    }

    QLineEdit *edit(const char *name) { return form.findChild<QLineEdit *>(QLatin1String(name)); }
    QPushButton *button(const QString &text) { return FormDriver::button(&form, text); }
    QTableView *table() { return FormDriver::list(&form, QStringLiteral("Bewegungen")); }
    QSqlTableModel *model() { return static_cast<QSqlTableModel *>(table()->model()); }

    void clickRowOf(int movementId)
    {
        QModelIndex index;
        for (int row = 0; row < model()->rowCount(); ++row)
            if (model()->record(row).value(QStringLiteral("id")).toInt() == movementId)
                index = model()->index(row, model()->fieldIndex(QStringLiteral("betrag")));
        QVERIFY(index.isValid());
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, table()->visualRect(index).center());
    }
    void enter(const char *editName, const QString &text)
    {
        FormDriver::type(edit(editName), text);
        QTest::keyClick(edit(editName), Qt::Key_Return);
    }

    AccountMaintForm form;
};

QString movementRow(int id)
{
    QStringList values;
    const QSqlRecord row = [id] {
        QSqlQuery query;
        query.exec(QStringLiteral("SELECT * FROM konto_bewegungen WHERE id = %1").arg(id));
        query.next();
        return query.record();
    }();
    for (int i = 0; i < row.count(); ++i)
        values << row.fieldName(i) + QLatin1Char('=') + row.value(i).toString();
    return values.join(QLatin1Char(' '));
}

} // namespace

class TestAccountMaintForm : public QObject
{
    Q_OBJECT

private slots:
    void listsMovementsLeavingTheAccount();
    void updateWritesOnlyTheReferences();
    void failedUpdateIsReported();
};

void TestAccountMaintForm::listsMovementsLeavingTheAccount()
{
    TestWorkspace ws;
    ws.seedMasterData();
    seedMovements();
    MaintDialog dlg;

    QSqlTableModel *model = dlg.model();
    QCOMPARE(model->rowCount(), 3);
    QStringList dates;
    for (int row = 0; row < model->rowCount(); ++row) {
        QCOMPARE(model->record(row).value(QStringLiteral("konto_id_von")).toInt(), int(Seed::BankAccount));
        dates << model->record(row).value(QStringLiteral("startdate")).toString();
    }
    QCOMPARE(dates, QStringList({"2026-03-02", "2026-02-15", "2026-01-10"}));

    QStringList headers;
    for (int column = 0; column < model->columnCount(); ++column) {
        QVERIFY(!dlg.table()->isColumnHidden(column));
        headers << model->headerData(column, Qt::Horizontal).toString();
    }
    QCOMPARE(headers, QStringList({"ID", "Datum", "Betrag", "K-Von", "K-Nach", "Txn-Type", "stat", "Op-Flag",
                                   "Bemerkung", "ZM_ID", "Ausgabe_ID", "Txn-Id", "Income-Src"}));
    QVERIFY(dlg.table()->horizontalHeader()->isVisibleTo(&dlg.form));
    QVERIFY(!dlg.button("Update")->isEnabled());
    QVERIFY(!dlg.button("Eintrag löschen")->isEnabled());
    QCOMPARE(dlg.form.windowTitle(), QStringLiteral("Wartung"));
}

void TestAccountMaintForm::updateWritesOnlyTheReferences()
{
    TestWorkspace ws;
    ws.seedMasterData();
    seedMovements();
    const QString before = movementRow(1);
    const QString otherBefore = movementRow(2);
    MaintDialog dlg;

    dlg.clickRowOf(1);
    QCOMPARE(dlg.edit("amountEdit")->text(), QStringLiteral("45.6"));
    QCOMPARE(dlg.edit("movementIdEdit")->text(), QStringLiteral("1"));
    QCOMPARE(dlg.edit("expenseIdEdit")->text(), QStringLiteral("7"));
    QCOMPARE(dlg.edit("instrumentIdEdit")->text(), QStringLiteral("1"));
    QCOMPARE(dlg.edit("txTypeEdit")->text(), QStringLiteral("21"));
    QVERIFY(dlg.button("Update")->isEnabled());

    dlg.enter("expenseIdEdit", "12");
    dlg.enter("instrumentIdEdit", "3");
    dlg.enter("txIdEdit", "Paar'1");
    dlg.enter("txTypeEdit", "");
    dlg.enter("incomeSourceEdit", "4");
    MessageBoxCatcher boxes;
    FormDriver::click(dlg.button("Update"));

    QVERIFY(!boxes.seen());
    QString expected = before;
    expected.replace(QStringLiteral("ausgabe_id=7"), QStringLiteral("ausgabe_id=12"))
        .replace(QStringLiteral("zahlungsmittel_id=1"), QStringLiteral("zahlungsmittel_id=3"))
        .replace(QStringLiteral("tx_id= "), QStringLiteral("tx_id=Paar'1 "))
        .replace(QStringLiteral("tx_typ=21"), QStringLiteral("tx_typ=0"))
        .replace(QStringLiteral("einnahme_quelle_id=0"), QStringLiteral("einnahme_quelle_id=4"));
    QCOMPARE(movementRow(1), expected);
    QCOMPARE(movementRow(2), otherBefore);
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 1000.0);
    QCOMPARE(TestWorkspace::balance(Seed::SavingsAccount), 5000.0);
    QVERIFY(!dlg.button("Update")->isEnabled());

    // The list and the cached movements show the correction.
    QList<AccountEntry *> found;
    DataProvider::instance()->getAccountMovements(QStringLiteral("Paar'1"), found);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first()->getExpenseId(), 12);
    bool listed = false;
    for (int row = 0; row < dlg.model()->rowCount(); ++row)
        listed |= dlg.model()->record(row).value(QStringLiteral("tx_id")).toString() == QLatin1String("Paar'1");
    QVERIFY(listed);
}

void TestAccountMaintForm::failedUpdateIsReported()
{
    TestWorkspace ws;
    ws.seedMasterData();
    seedMovements();
    TestWorkspace::exec("CREATE TRIGGER frozen BEFORE UPDATE ON konto_bewegungen "
                        "BEGIN SELECT RAISE(ABORT, 'Bewegung gesperrt'); END");
    const QString before = movementRow(2);
    MaintDialog dlg;
    dlg.clickRowOf(2);
    dlg.enter("expenseIdEdit", "5");

    MessageBoxCatcher boxes;
    FormDriver::click(dlg.button("Update"));

    QCOMPARE(boxes.title(), QStringLiteral("DB-Update fehlgeschlagen!"));
    QVERIFY(boxes.text().contains(QStringLiteral("Bewegung gesperrt")));
    QCOMPARE(movementRow(2), before);
    QVERIFY(!dlg.button("Update")->isEnabled());
}

QTEST_MAIN(TestAccountMaintForm)
#include "tst_accountmaintform.moc"
