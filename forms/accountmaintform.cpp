#include "accountmaintform.h"

#include "account.h"
#include "dataprovider.h"
#include "datedelegate.h"
#include "masterdataform.h"
#include "movementmaintenance.h"
#include "paymentinstruction.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QSqlRelationalTableModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QLineEdit *field(const char *objectName, bool enabled = true)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QLatin1String(objectName));
    edit->setEnabled(enabled);
    return edit;
}

// Base-10 integer of a field; anything unreadable counts as 0 ("none").
int intValue(const QLineEdit *edit)
{
    return edit->text().trimmed().toInt(nullptr, 10);
}

} // namespace

AccountMaintForm::AccountMaintForm(PaymentInstruction *instrument, QWidget *parent)
    : QDialog(parent), m_instrument(instrument),
      m_account(DataProvider::instance()->getAccount(instrument->getAccountId()))
{
    auto *inputBox = new QGroupBox(tr("Wartung - Zustände anpassen"));
    inputBox->setFont(QFont(QStringLiteral("Helvetica [Cronyx]"), 9));
    auto *grid = new QGridLayout(inputBox);

    m_amountEdit = field("amountEdit", false);
    m_amountEdit->setText(QStringLiteral("0.0"));
    m_expenseIdEdit = field("expenseIdEdit");
    m_instrumentIdEdit = field("instrumentIdEdit");
    m_txIdEdit = field("txIdEdit");
    m_movementIdEdit = field("movementIdEdit", false);
    m_txTypeEdit = field("txTypeEdit");
    m_incomeSourceEdit = field("incomeSourceEdit");

    auto addRow = [grid](int row, const QString &text, QWidget *edit, int span = 1) {
        auto *label = new QLabel(text);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1, 1, span);
    };
    addRow(0, tr("Betrag von:"), m_amountEdit);
    addRow(1, tr("Ausgaben-ID:"), m_expenseIdEdit);
    addRow(2, tr("Zahlungsmittel-ID:"), m_instrumentIdEdit);
    addRow(3, tr("Txn-ID:"), m_txIdEdit);
    addRow(4, tr("Ausgaben-ID:"), m_movementIdEdit, 2);
    addRow(5, tr("Txn-Type:"), m_txTypeEdit);
    addRow(6, tr("Einnahmequelle:"), m_incomeSourceEdit);

    // Every movement leaving from the account, newest first, all columns.
    m_list = std::make_unique<MasterDataList>(inputBox, QStringLiteral("konto_bewegungen"), tr("Bewegungen"),
                                              QList<QPair<QString, QString>>{
                                                  {QStringLiteral("id"), tr("ID")},
                                                  {QStringLiteral("startdate"), tr("Datum")},
                                                  {QStringLiteral("betrag"), tr("Betrag")},
                                                  {QStringLiteral("konto_id_von"), tr("K-Von")},
                                                  {QStringLiteral("konto_id_nach"), tr("K-Nach")},
                                                  {QStringLiteral("tx_typ"), tr("Txn-Type")},
                                                  {QStringLiteral("stat"), QStringLiteral("stat")},
                                                  {QStringLiteral("op_flag"), tr("Op-Flag")},
                                                  {QStringLiteral("bemerkung"), tr("Bemerkung")},
                                                  {QStringLiteral("zahlungsmittel_id"), tr("ZM_ID")},
                                                  {QStringLiteral("ausgabe_id"), tr("Ausgabe_ID")},
                                                  {QStringLiteral("tx_id"), tr("Txn-Id")},
                                                  {QStringLiteral("einnahme_quelle_id"), tr("Income-Src")}});
    QSqlRelationalTableModel *model = m_list->model();
    model->setSort(model->fieldIndex(QStringLiteral("startdate")), Qt::DescendingOrder);
    m_list->view()->setObjectName(QStringLiteral("movementTable"));
    m_list->view()->setMinimumSize(400, 320);
    m_list->view()->setItemDelegateForColumn(model->fieldIndex(QStringLiteral("startdate")),
                                             new DateDelegate(m_list->view()));
    grid->addLayout(m_list->layout(), 8, 0, 1, 3);

    auto *actionBox = new QDialogButtonBox;
    m_updateButton = actionBox->addButton(tr("Update"), QDialogButtonBox::ActionRole);
    m_deleteButton = actionBox->addButton(tr("Eintrag löschen"), QDialogButtonBox::ActionRole);
    // Movements are removed through their bookings, never from here.
    m_updateButton->setEnabled(false);
    m_deleteButton->setEnabled(false);
    m_updateButton->setAutoDefault(false);
    m_deleteButton->setAutoDefault(false);
    grid->addWidget(actionBox, 10, 0, 1, 3);
    grid->setRowMinimumHeight(9, 10);
    grid->setRowStretch(9, 1);
    grid->setColumnStretch(2, 1);
    grid->setSpacing(5);

    QGroupBox *closeGroup = newCloseGroup(this);

    auto *mainLayout = new QVBoxLayout(this);
    mainLayout->addWidget(inputBox);
    mainLayout->addWidget(closeGroup);

    refreshList();

    connect(m_updateButton, &QPushButton::clicked, this, &AccountMaintForm::updateAccountEntry);
    connect(m_list->view(), &QTableView::clicked, this, &AccountMaintForm::getTableViewIndex);
    for (QLineEdit *edit : {m_expenseIdEdit, m_instrumentIdEdit, m_txIdEdit, m_incomeSourceEdit})
        connect(edit, &QLineEdit::editingFinished, this, &AccountMaintForm::checktextEdits);

    setMinimumWidth(1000);
    setMaximumWidth(1500);
    setWindowIcon(QIcon(QStringLiteral("./Logo.ico")));
    setWindowTitle(tr("Wartung"));
    m_amountEdit->setFocus();
}

AccountMaintForm::~AccountMaintForm() = default;

void AccountMaintForm::refreshList()
{
    m_list->refilter(QStringLiteral("konto_id_von = %1").arg(m_account ? m_account->getId() : 0));
}

// The fields are free to edit; only "Update" writes them.
void AccountMaintForm::checktextEdits()
{
}

void AccountMaintForm::getTableViewIndex()
{
    if (!m_list->hasCurrentRow())
        return;
    const QSqlRecord row = m_list->currentRecord();
    m_movementIdEdit->setText(QString::number(row.value(QStringLiteral("id")).toInt()));
    m_amountEdit->setText(QString::number(row.value(QStringLiteral("betrag")).toDouble(), 'g', 6));
    m_instrumentIdEdit->setText(QString::number(row.value(QStringLiteral("zahlungsmittel_id")).toInt()));
    m_expenseIdEdit->setText(QString::number(row.value(QStringLiteral("ausgabe_id")).toInt()));
    m_txTypeEdit->setText(QString::number(row.value(QStringLiteral("tx_typ")).toInt()));
    m_incomeSourceEdit->setText(QString::number(row.value(QStringLiteral("einnahme_quelle_id")).toInt()));
    m_txIdEdit->setText(row.value(QStringLiteral("tx_id")).toString());
    m_updateButton->setEnabled(true);
}

void AccountMaintForm::updateAccountEntry()
{
    const int movementId = intValue(m_movementIdEdit);
    MovementMaintenance::References refs;
    refs.paymentInstrumentId = intValue(m_instrumentIdEdit);
    refs.expenseId = intValue(m_expenseIdEdit);
    refs.txId = m_txIdEdit->text();
    refs.txType = intValue(m_txTypeEdit);
    refs.incomeSourceId = intValue(m_incomeSourceEdit);

    QString err;
    if (MovementMaintenance::updateReferences(movementId, refs, err))
        refreshList();
    else
        QMessageBox::information(this, tr("DB-Update fehlgeschlagen!"), err);
    m_updateButton->setEnabled(false);
}
