#include "expenseentryform.h"

#include "account.h"
#include "amountinput.h"
#include "colorsetting.h"
#include "dataprovider.h"
#include "expenseentry.h"
#include "expensesubtypeform.h"
#include "expensetypeentry.h"
#include "masterdataform.h"
#include "paymentinstruction.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlRecord>
#include <QSqlRelationalTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const double MaxAmount = 99999.0;
const int DateRangeDays = 120;

// The file keeps dates as "yyyy-MM-dd"; the program shows "dd.MM.yyyy".
class DateDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant &value, const QLocale &locale) const override
    {
        const QDate date = QDate::fromString(value.toString(), Qt::ISODate);
        if (date.isValid())
            return date.toString(QStringLiteral("dd.MM.yyyy"));
        return QStyledItemDelegate::displayText(value, locale);
    }
};

} // namespace

ExpenseEntryForm::ExpenseEntryForm(ExpenseTypeEntry *expenseType, QWidget *parent)
    : QDialog(parent), m_expenseType(expenseType), m_expenseTypeId(expenseType->getId())
{
    auto *inputBox = new QGroupBox(tr("Ausgabe erfassen"));
    inputBox->setFont(QFont(QStringLiteral("Helvetica [Cronyx]"), 9));
    auto *grid = new QGridLayout(inputBox);

    m_amountEdit = new QLineEdit(QStringLiteral("0.0"));
    m_amountEdit->setObjectName(QStringLiteral("amountEdit"));
    makeAmountField(m_amountEdit);
    m_typeEdit = new QLineEdit(expenseType->getName());
    m_typeEdit->setObjectName(QStringLiteral("typeEdit"));
    m_typeEdit->setEnabled(false);
    m_subTypeCombo = new QComboBox;
    m_subTypeCombo->setObjectName(QStringLiteral("subTypeCombo"));
    m_instrumentCombo = new QComboBox;
    m_instrumentCombo->setObjectName(QStringLiteral("instrumentCombo"));
    m_recipientCombo = new QComboBox;
    m_recipientCombo->setObjectName(QStringLiteral("recipientCombo"));
    m_recipientEdit = new QLineEdit;
    m_recipientEdit->setObjectName(QStringLiteral("recipientEdit"));
    m_dateEdit = new QDateEdit(QDate::currentDate());
    m_dateEdit->setObjectName(QStringLiteral("dateEdit"));
    m_dateEdit->setCalendarPopup(true);
    m_dateEdit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    QDate firstDay, lastDay;
    ColorSetting::instance()->bookingDateRange(DateRangeDays, firstDay, lastDay);
    m_dateEdit->setDateRange(firstDay, lastDay);
    m_remarkEdit = new QLineEdit;
    m_remarkEdit->setObjectName(QStringLiteral("remarkEdit"));

    auto addRow = [grid](int row, const QString &text, QWidget *field) {
        auto *label = new QLabel(text);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    addRow(0, tr("Betrag:"), m_amountEdit);
    addRow(1, tr("Ausgabentyp:"), m_typeEdit);
    addRow(2, tr("Ausgaben-Unterbereich:"), m_subTypeCombo);
    addRow(3, tr("Zahlungsmittel:"), m_instrumentCombo);
    addRow(4, tr("Begünstigter:"), m_recipientCombo);
    grid->addWidget(m_recipientEdit, 4, 2);
    addRow(5, tr("Datum/Bem:"), m_dateEdit);
    grid->addWidget(m_remarkEdit, 5, 2);
    grid->addWidget(new QLabel(QStringLiteral(" ")), 6, 1);

    // The expenses of this type, newest first.
    m_list = std::make_unique<MasterDataList>(inputBox, QStringLiteral("ausgaben"), tr("Ausgaben"),
                                              QList<QPair<QString, QString>>{
                                                  {QStringLiteral("startdate"), tr("Datum")},
                                                  {QStringLiteral("betrag"), tr("Betrag")},
                                                  {QStringLiteral("beguenstigter"), tr("Begünstigter")},
                                                  {QStringLiteral("bemerkung"), tr("Bemerkung")}});
    QSqlRelationalTableModel *model = m_list->model();
    model->setSort(model->fieldIndex(QStringLiteral("startdate")), Qt::DescendingOrder);
    m_list->view()->setObjectName(QStringLiteral("expenseTable"));
    m_list->view()->setItemDelegateForColumn(model->fieldIndex(QStringLiteral("startdate")),
                                             new DateDelegate(m_list->view()));
    m_list->view()->setMinimumSize(400, 320);
    grid->addLayout(m_list->layout(), 7, 0, 1, 3);

    auto *actionBox = new QDialogButtonBox;
    m_saveButton = actionBox->addButton(tr("Speichern"), QDialogButtonBox::ActionRole);
    m_splitButton = actionBox->addButton(tr("Betrag aufteilen"), QDialogButtonBox::ActionRole);
    m_deleteButton = actionBox->addButton(tr("Eintrag löschen"), QDialogButtonBox::ActionRole);
    // Return in the amount field only finishes the input; saving is a click.
    for (QPushButton *button : {m_saveButton, m_splitButton, m_deleteButton}) {
        button->setEnabled(false);
        button->setAutoDefault(false);
    }
    grid->addWidget(actionBox, 9, 0, 1, 3);
    grid->setRowMinimumHeight(9, 10);
    grid->setRowStretch(9, 1);
    grid->setColumnStretch(2, 1);
    grid->setSpacing(5);

    QGroupBox *closeGroup = newCloseGroup(this);

    auto *mainLayout = new QVBoxLayout(this);
    mainLayout->addWidget(inputBox);
    mainLayout->addWidget(closeGroup);

    fillCombos();
    refreshList();

    connect(m_saveButton, &QPushButton::clicked, this, &ExpenseEntryForm::addAusgabe);
    connect(m_splitButton, &QPushButton::clicked, this, &ExpenseEntryForm::splitAusgabe);
    connect(m_deleteButton, &QPushButton::clicked, this, &ExpenseEntryForm::deleteAusgabe);
    connect(m_amountEdit, &QLineEdit::editingFinished, this, &ExpenseEntryForm::checktextEdits);
    connect(m_recipientCombo, &QComboBox::textActivated, this, &ExpenseEntryForm::checkBeguenstigterCB);
    connect(m_list->view(), &QTableView::clicked, this, &ExpenseEntryForm::getTableViewIndex);

    setMinimumWidth(680);
    setMaximumWidth(800);
    setWindowIcon(QIcon(QStringLiteral("./Logo.ico")));
    setWindowTitle(tr("Ausgabe"));
    m_amountEdit->setFocus();
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
    if (!acceptAmount(this, m_amountEdit->text(), MaxAmount, tr("Limite: 99999.0"), amount)) {
        m_saveButton->setEnabled(false);
        return;
    }

    // Without an instrument on an active account there is nothing to pay
    // with; the input stays so that it can be booked later.
    PaymentInstruction *instrument = nullptr;
    Account *account = nullptr;
    if (m_instrumentCombo->currentIndex() >= 0) {
        instrument = dp->getPaymentInstrument(m_instrumentCombo->currentData().toInt(), true);
        if (instrument)
            account = dp->getAccount(instrument->getAccountId());
    }
    if (!instrument || !account) {
        QMessageBox::warning(this, tr("Zahlungsmittel fehlt"),
                             tr("Es ist kein Zahlungsmittel mit einem aktiven Konto vorhanden. "
                                "Bitte zuerst ein Konto oder ein Zahlungsmittel erfassen."));
        return;
    }

    if (!DataProvider::isAvailable(account->getBalance(), amount)) {
        QMessageBox::warning(this, tr("Betrags-Überschreitung"), tr("Betrag nicht verfügbar!"));
        clearInputs();
        m_saveButton->setEnabled(false);
        m_amountEdit->setFocus();
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

    QString err;
    QString title;
    if (dp->postExpense(&expense, subTypeId, split, err, &title)) {
        m_expenseId = expense.getId();
        m_amount = amount;
    } else {
        if (title.isEmpty())
            title = tr("DB-Transaktion fehlgeschlagen!");
        QMessageBox::information(this, title, err);
    }

    refreshList();
    clearInputs();
    m_saveButton->setEnabled(false);
    m_amountEdit->setFocus();
}

void ExpenseEntryForm::deleteAusgabe()
{
    const int row = m_list->currentRow();
    if (row < 0) {
        QMessageBox::information(this, tr("File-Info"), tr("Der Ausgaben-Eintrag konnte nicht gefunden!"));
        m_deleteButton->setEnabled(false);
        return;
    }

    if (!confirmDeletion(this, tr("Eintrag entfernen"), tr("Eintrag %1 löschen?").arg(row + 1)))
        return;

    // Rows, balance and movements go back together, or nothing changes.
    const int id = m_list->currentRecord().value(QStringLiteral("id")).toInt();
    QString err;
    QString title;
    if (!DataProvider::instance()->reverseExpense(id, err, &title)) {
        if (title.isEmpty())
            title = tr("Fehler beim löschen einer Ausgabe: ");
        QMessageBox::information(this, title, err);
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
