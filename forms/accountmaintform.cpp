#include "accountmaintform.h"

#include "account.h"
#include "dataprovider.h"
#include "movementmaintenance.h"
#include "paymentinstruction.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>

namespace {

// Base-10 integer of a field; anything unreadable counts as 0 ("none").
int intValue(const QLineEdit *edit)
{
    return edit->text().trimmed().toInt(nullptr, 10);
}

} // namespace

AccountMaintForm::AccountMaintForm(PaymentInstruction *instrument, QWidget *parent)
    : MasterDataForm(tr("Wartung - Zustände anpassen"), parent, Frame::Booking),
      m_instrument(instrument), m_account(DataProvider::instance()->getAccount(instrument->getAccountId()))
{
    auto addEdit = [this](int row, const QString &label, const char *objectName, bool spanBoth = false) {
        QLineEdit *edit = addField(row, label, spanBoth);
        edit->setObjectName(QLatin1String(objectName));
        return edit;
    };
    m_amountEdit = addEdit(0, tr("Betrag von:"), "amountEdit");
    m_amountEdit->setText(QStringLiteral("0.0"));
    m_amountEdit->setEnabled(false);
    m_expenseIdEdit = addEdit(1, tr("Ausgaben-ID:"), "expenseIdEdit");
    m_instrumentIdEdit = addEdit(2, tr("Zahlungsmittel-ID:"), "instrumentIdEdit");
    m_txIdEdit = addEdit(3, tr("Txn-ID:"), "txIdEdit");
    m_movementIdEdit = addEdit(4, tr("Ausgaben-ID:"), "movementIdEdit", true);
    m_movementIdEdit->setEnabled(false);
    m_txTypeEdit = addEdit(5, tr("Txn-Type:"), "txTypeEdit");
    m_incomeSourceEdit = addEdit(6, tr("Einnahmequelle:"), "incomeSourceEdit");

    // Every movement leaving from the account, newest first, all columns.
    m_list = addBookingList(8, QStringLiteral("konto_bewegungen"), tr("Bewegungen"),
                            {{QStringLiteral("id"), tr("ID")},
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
                             {QStringLiteral("einnahme_quelle_id"), tr("Income-Src")}},
                            QStringLiteral("movementTable"));

    // Movements are removed through their bookings, never from here.
    QDialogButtonBox *actionBox = addButtonBox(10);
    m_updateButton = addButton(actionBox, tr("Update"), false);
    m_deleteButton = addButton(actionBox, tr("Eintrag löschen"), false);
    setStretchRow(9, 10, 1);

    refreshList();

    connect(m_updateButton, &QPushButton::clicked, this, &AccountMaintForm::updateAccountEntry);
    connect(m_list->view(), &QTableView::clicked, this, &AccountMaintForm::getTableViewIndex);
    for (QLineEdit *edit : {m_expenseIdEdit, m_instrumentIdEdit, m_txIdEdit, m_incomeSourceEdit})
        connect(edit, &QLineEdit::editingFinished, this, &AccountMaintForm::checktextEdits);

    finishFrame(tr("Wartung"), QWIDGETSIZE_MAX, 1500, 1000, m_amountEdit);
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
    m_amountEdit->setText(QString::number(row.value(QStringLiteral("betrag")).toDouble(), 'f', 2));
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
        showInformation(tr("DB-Update fehlgeschlagen!"), err);
    m_updateButton->setEnabled(false);
}
