#include "expenseentryform.h"

#include "dataprovider.h"
#include "expenseentry.h"
#include "expensesubtypeform.h"
#include "expensetypeentry.h"
#include "paymentinstruction.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>

namespace {

const double MaxAmount = 99999.0;
const int DateRangeDays = 120;

} // namespace

ExpenseEntryForm::ExpenseEntryForm(ExpenseTypeEntry *expenseType, QWidget *parent)
    : MasterDataForm(tr("Ausgabe erfassen"), parent, Frame::Booking),
      m_expenseType(expenseType), m_expenseTypeId(expenseType->getId())
{
    m_amountEdit = addBookingAmount(0, tr("Betrag:"));
    m_typeEdit = new QLineEdit(expenseType->getName());
    m_typeEdit->setObjectName(QStringLiteral("typeEdit"));
    m_typeEdit->setEnabled(false);
    addRow(1, tr("Ausgabentyp:"), m_typeEdit);
    m_subTypeCombo = new QComboBox;
    m_subTypeCombo->setObjectName(QStringLiteral("subTypeCombo"));
    addRow(2, tr("Ausgaben-Unterbereich:"), m_subTypeCombo);
    m_instrumentCombo = new QComboBox;
    m_instrumentCombo->setObjectName(QStringLiteral("instrumentCombo"));
    addRow(3, tr("Zahlungsmittel:"), m_instrumentCombo);
    m_recipientCombo = new QComboBox;
    m_recipientCombo->setObjectName(QStringLiteral("recipientCombo"));
    addRow(4, tr("Begünstigter:"), m_recipientCombo);
    m_recipientEdit = new QLineEdit;
    m_recipientEdit->setObjectName(QStringLiteral("recipientEdit"));
    grid()->addWidget(m_recipientEdit, 4, 2);
    m_dateEdit = newBookingDate(DateRangeDays);
    addRow(5, tr("Datum/Bem:"), m_dateEdit);
    m_remarkEdit = new QLineEdit;
    m_remarkEdit->setObjectName(QStringLiteral("remarkEdit"));
    grid()->addWidget(m_remarkEdit, 5, 2);
    addBlank(6);

    // The expenses of this type, newest first.
    m_list = addBookingList(7, QStringLiteral("ausgaben"), tr("Ausgaben"),
                            {{QStringLiteral("startdate"), tr("Datum")},
                             {QStringLiteral("betrag"), tr("Betrag")},
                             {QStringLiteral("beguenstigter"), tr("Begünstigter")},
                             {QStringLiteral("bemerkung"), tr("Bemerkung")}},
                            QStringLiteral("expenseTable"));

    QDialogButtonBox *actionBox = addButtonBox(9);
    m_saveButton = addButton(actionBox, tr("Speichern"), false);
    m_splitButton = addButton(actionBox, tr("Betrag aufteilen"), false);
    m_deleteButton = addButton(actionBox, tr("Eintrag löschen"), false);
    setStretchRow(9, 10, 1);

    fillCombos();
    refreshList();

    connect(m_saveButton, &QPushButton::clicked, this, &ExpenseEntryForm::addAusgabe);
    connect(m_splitButton, &QPushButton::clicked, this, &ExpenseEntryForm::splitAusgabe);
    connect(m_deleteButton, &QPushButton::clicked, this, &ExpenseEntryForm::deleteAusgabe);
    connect(m_amountEdit, &QLineEdit::editingFinished, this, &ExpenseEntryForm::checktextEdits);
    connect(m_recipientCombo, &QComboBox::textActivated, this, &ExpenseEntryForm::checkBeguenstigterCB);
    connect(m_list->view(), &QTableView::clicked, this, &ExpenseEntryForm::getTableViewIndex);

    finishFrame(tr("Ausgabe"), QWIDGETSIZE_MAX, 800, 680, m_amountEdit);
}

ExpenseEntryForm::~ExpenseEntryForm() = default;

// Every combo entry carries the id of its record: names are not unique, and
// the booking must name the record the user saw.
void ExpenseEntryForm::fillCombos()
{
    DataProvider *dp = DataProvider::instance();

    QList<QSqlRecord> rows;
    dp->getExpenseSubTypeRows(m_expenseTypeId, rows);
    for (const QSqlRecord &row : rows)
        m_subTypeCombo->addItem(row.value(QStringLiteral("name")).toString(),
                                row.value(QStringLiteral("id")).toInt());
    // No sub-type id: the expense is split later.
    m_subTypeCombo->addItem(tr("<wird aufgeteilt>"), 0);

    QList<PaymentInstruction *> instruments;
    dp->getPaymentInstruments(instruments);
    for (PaymentInstruction *pi : instruments) {
        if (dp->isAccountActive(pi->getAccountId()))
            m_instrumentCombo->addItem(pi->getName(), pi->getId());
    }

    // Recipient id 0: the name is typed into the free-text field.
    m_recipientCombo->addItem(tr("Andere"), 0);
    rows.clear();
    dp->getRecipientRows(rows);
    for (const QSqlRecord &row : rows)
        m_recipientCombo->addItem(row.value(QStringLiteral("name")).toString(),
                                  row.value(QStringLiteral("id")).toInt());
    checkBeguenstigterCB();
}

// By the type's id: the name stored in each expense stays as it was when
// the type is renamed, and two types may share a name.
void ExpenseEntryForm::refreshList()
{
    m_list->refilter(QStringLiteral("ausgaben_typ_id = %1").arg(m_expenseType->getId()));
}

void ExpenseEntryForm::clearInputs()
{
    m_amountEdit->setText(QStringLiteral("0.0"));
    m_recipientEdit->clear();
    m_remarkEdit->clear();
    m_saveButton->setEnabled(false);
}

void ExpenseEntryForm::checktextEdits()
{
    const QString text = m_amountEdit->text();
    if (text != QLatin1String("0.0") && !text.isEmpty())
        m_saveButton->setEnabled(true);
}

void ExpenseEntryForm::checkBeguenstigterCB()
{
    m_recipientEdit->setEnabled(m_recipientCombo->currentIndex() == 0);
}

void ExpenseEntryForm::getTableViewIndex()
{
    if (!m_list->hasCurrentRow())
        return;
    const int id = m_list->currentRecord().value(QStringLiteral("id")).toInt();
    m_splitButton->setEnabled(!DataProvider::instance()->hasDetailsOfExpense(id));
    m_deleteButton->setEnabled(true);
}

void ExpenseEntryForm::addAusgabe()
{
    DataProvider *dp = DataProvider::instance();

    double amount = 0.0;
    if (!readAmount(m_amountEdit, MaxAmount, tr("Limite: 99999.0"), m_saveButton, amount))
        return;

    // Without an instrument on an active account there is nothing to pay
    // with; the input stays so that it can be booked later.
    const PaymentInstruction *instrument = chosenInstrument(m_instrumentCombo);
    if (!instrument) {
        showWarning(tr("Zahlungsmittel fehlt"),
                    tr("Es ist kein Zahlungsmittel mit einem aktiven Konto vorhanden. "
                       "Bitte zuerst ein Konto oder ein Zahlungsmittel erfassen."));
        return;
    }

    // The type of this dialog, whatever row was split last.
    m_expenseTypeId = m_expenseType->getId();

    ExpenseEntry expense;
    expense.setDate(m_dateEdit->date());
    expense.setAmount(amount);
    if (m_recipientCombo->currentIndex() == 0) {
        const QString name = m_recipientEdit->text();
        expense.setRecipientName(name);
        expense.setRecipientId(name.isEmpty() ? 0 : dp->getIdByName(QStringLiteral("beguenstigte"), name));
    } else {
        expense.setRecipientName(m_recipientCombo->currentText());
        expense.setRecipientId(m_recipientCombo->currentData().toInt());
    }
    expense.setPaymentInstrumentName(instrument->getName());
    expense.setPaymentInstrumentId(instrument->getId());
    expense.setRemark(m_remarkEdit->text());
    expense.setExpenseTypeName(m_expenseType->getName());
    expense.setExpenseTypeId(m_expenseTypeId);

    const int subTypeId = m_subTypeCombo->currentData().toInt();
    const bool split = subTypeId == 0;

    // Whether the account has the money is the posting's to decide.
    const PostingResult result = dp->postExpense(&expense, subTypeId, split);
    if (result.ok()) {
        m_expenseId = expense.getId();
        m_amount = amount;
    } else {
        showPostingResult(result);
    }

    refreshList();
    clearInputs();
    m_amountEdit->setFocus();
}

void ExpenseEntryForm::deleteAusgabe()
{
    if (confirmedRow(m_list, m_deleteButton, tr("File-Info"), tr("Der Ausgaben-Eintrag konnte nicht gefunden!")) < 0)
        return;

    // Rows, balance and movements go back together, or nothing changes.
    const int id = m_list->currentRecord().value(QStringLiteral("id")).toInt();
    const PostingResult result = DataProvider::instance()->reverseExpense(id);
    if (!result.ok()) {
        showPostingResult(result);
        return;
    }

    refreshList();
    m_deleteButton->setEnabled(false);
    // Nothing is chosen any more; a split now would split the deleted expense.
    m_splitButton->setEnabled(false);
    m_expenseId = 0;
}

void ExpenseEntryForm::splitAusgabe()
{
    if (m_list->hasCurrentRow()) {
        const QSqlRecord row = m_list->currentRecord();
        m_expenseId = row.value(QStringLiteral("id")).toInt();
        m_expenseTypeId = row.value(QStringLiteral("ausgaben_typ_id")).toInt();
        m_amount = row.value(QStringLiteral("betrag")).toDouble();
    }
    if (m_expenseId <= 0)
        return;

    ExpenseSubTypeForm form(m_expenseId, m_expenseTypeId, m_amount, this);
    if (form.exec() == QDialog::Accepted)
        form.close();
}
