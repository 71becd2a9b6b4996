#include "accountentryform.h"

#include "account.h"
#include "dataprovider.h"
#include "incomeentry.h"
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

const double MaxAmount = 9999999.0;
const int DateRangeDays = 90;

QLineEdit *fixedText(const QString &text, const char *objectName)
{
    auto *edit = new QLineEdit(text);
    edit->setObjectName(QLatin1String(objectName));
    edit->setEnabled(false);
    return edit;
}

QComboBox *newCombo(const char *objectName)
{
    auto *combo = new QComboBox;
    combo->setObjectName(QLatin1String(objectName));
    return combo;
}

} // namespace

AccountEntryForm::AccountEntryForm(PaymentInstruction *source, const QList<int> &allowedTypes,
                                   QWidget *parent)
    : MasterDataForm(tr("Interne Transaktion erfassen"), parent, Frame::Booking),
      m_mode(TransferMode), m_instrument(source)
{
    m_account = DataProvider::instance()->getAccount(source->getAccountId());
    buildTransfer(allowedTypes);
    finish(tr("Interne Transaktion"));
}

AccountEntryForm::AccountEntryForm(IncomeEntry *incomeSource, const QList<int> &allowedTypes,
                                   QWidget *parent)
    : MasterDataForm(tr("Einzahlung erfassen"), parent, Frame::Booking),
      m_mode(DepositMode), m_incomeSource(incomeSource), m_incomeSourceId(incomeSource->getId())
{
    buildDepositFromSource(allowedTypes);
    finish(tr("Zahlungseingang"));
}

AccountEntryForm::AccountEntryForm(PaymentInstruction *receiver, QWidget *parent)
    : MasterDataForm(tr("Einzahlung erfassen"), parent, Frame::Booking),
      m_mode(DepositMode), m_instrument(receiver)
{
    m_account = DataProvider::instance()->getAccount(receiver->getAccountId());
    buildDepositIntoInstrument();
    finish(tr("Zahlungseingang"));
}

AccountEntryForm::~AccountEntryForm() = default;

// Every mode ends its input rows with the remark, the date and a blank row.
void AccountEntryForm::addRemarkAndDate(int row)
{
    m_remarkEdit = new QLineEdit;
    m_remarkEdit->setObjectName(QStringLiteral("remarkEdit"));
    addRow(row, tr("Bemerkung:"), m_remarkEdit, 2);
    m_dateEdit = newBookingDate(DateRangeDays);
    addRow(row + 1, tr("Datum:"), m_dateEdit);
    addBlank(row + 2);
}

void AccountEntryForm::addMovementList(int row, const QString &label)
{
    m_list = addBookingList(row, QStringLiteral("konto_bewegungen"), label,
                            {{QStringLiteral("startdate"), tr("Datum")},
                             {QStringLiteral("betrag"), tr("Betrag")},
                             {QStringLiteral("bemerkung"), tr("Bemerkung")}},
                            QStringLiteral("movementTable"));
}

void AccountEntryForm::addButtons(int row)
{
    QDialogButtonBox *actionBox = addButtonBox(row);
    m_saveButton = addButton(actionBox, tr("Speichern"), false);
    m_deleteButton = addButton(actionBox, tr("Eintrag löschen"), false);
    if (m_mode == TransferMode) {
        m_plusButton = addButton(actionBox, tr("Eingänge anzeigen"));
        m_minusButton = addButton(actionBox, tr("Ausgänge anzeigen"));
    }
}

void AccountEntryForm::buildTransfer(const QList<int> &allowedTypes)
{
    DataProvider *dp = DataProvider::instance();

    // Possible targets: never the source itself, only allowed kinds on active
    // accounts, and no prepaid card that draws on a bank account.
    m_instrumentCombo = newCombo("instrumentCombo");
    QList<PaymentInstruction *> instruments;
    dp->getPaymentInstruments(instruments);
    for (PaymentInstruction *pi : instruments) {
        if (pi->getId() == m_instrument->getId())
            continue;
        if (!allowedTypes.contains(pi->getInstrumentType()) || !dp->isAccountActive(pi->getAccountId()))
            continue;
        if (pi->getInstrumentType() == InstrumentType::PrepaidCard && pi->isBankAccount())
            continue;
        m_instrumentCombo->addItem(pi->getName(), pi->getId());
    }

    m_amountEdit = addBookingAmount(0, tr("Betrag von:"));
    addRow(1, tr("Belastungskonto:"), fixedText(m_instrument->getName(), "sourceEdit"));
    addRow(3, tr("Überweisung an:"), m_instrumentCombo);
    addRemarkAndDate(4);
    addMovementList(7, tr("Bewegungen - Transaktion"));
    setStretchRow(8, 10, 1);
    addButtons(9);

    connect(m_saveButton, &QPushButton::clicked, this, &AccountEntryForm::determineTransfer);
    connect(m_deleteButton, &QPushButton::clicked, this, &AccountEntryForm::deleteTransfer);
    connect(m_plusButton, &QPushButton::clicked, this, &AccountEntryForm::refreshViewPlusAmount);
    connect(m_minusButton, &QPushButton::clicked, this, &AccountEntryForm::refreshViewMinusAmount);
}

void AccountEntryForm::buildDepositFromSource(const QList<int> &allowedTypes)
{
    DataProvider *dp = DataProvider::instance();

    m_instrumentCombo = newCombo("instrumentCombo");
    QList<PaymentInstruction *> instruments;
    dp->getPaymentInstruments(instruments);
    for (PaymentInstruction *pi : instruments) {
        if (allowedTypes.contains(pi->getInstrumentType()) && dp->isAccountActive(pi->getAccountId()))
            m_instrumentCombo->addItem(pi->getName(), pi->getId());
    }
    // The money goes to the account behind the first offered instrument
    // until the user picks another.
    if (m_instrumentCombo->count() > 0) {
        PaymentInstruction *first = dp->getPaymentInstrument(m_instrumentCombo->itemData(0).toInt(), true);
        if (first)
            m_account = dp->getAccount(first->getAccountId());
    }

    m_amountEdit = addBookingAmount(0, tr("Betrag:"));
    addRow(1, tr("Einbezahlt von:"), fixedText(m_incomeSource->getName(), "incomeSourceEdit"));
    addRow(2, tr("Überweisung an:"), m_instrumentCombo);
    addDepositRows();

    connect(m_instrumentCombo, &QComboBox::textActivated, this, &AccountEntryForm::checkRecipientCB);
}

void AccountEntryForm::buildDepositIntoInstrument()
{
    m_incomeCombo = newCombo("incomeCombo");
    QList<QSqlRecord> rows;
    DataProvider::instance()->getIncomeSourceRows(rows);
    for (const QSqlRecord &row : rows)
        m_incomeCombo->addItem(row.value(QStringLiteral("name")).toString(),
                               row.value(QStringLiteral("id")).toInt());
    // Source id 0: the payer is typed into the free-text field.
    m_incomeCombo->addItem(tr("Andere"), 0);
    m_incomeEdit = new QLineEdit;
    m_incomeEdit->setObjectName(QStringLiteral("incomeEdit"));

    m_amountEdit = addBookingAmount(0, tr("Betrag:"));
    addRow(1, tr("Einbezahlt von:"), m_incomeCombo);
    grid()->addWidget(m_incomeEdit, 1, 2);
    addRow(2, tr("Überweisung an:"), fixedText(m_account ? m_account->getName() : QString(), "accountEdit"), 2);
    addDepositRows();

    checkIncomeSourceCB();

    connect(m_incomeEdit, &QLineEdit::editingFinished, this, &AccountEntryForm::checktextEdits);
    connect(m_incomeCombo, &QComboBox::textActivated, this, &AccountEntryForm::checkIncomeSourceCB);
}

// Both deposit modes go on alike below their third row.
void AccountEntryForm::addDepositRows()
{
    addRemarkAndDate(3);
    addMovementList(6, tr("Einkünfte"));
    addButtons(8);
    setStretchRow(8, 10, 1);

    connect(m_saveButton, &QPushButton::clicked, this, &AccountEntryForm::addEinnahme);
    connect(m_deleteButton, &QPushButton::clicked, this, &AccountEntryForm::removeEinnahme);
}

void AccountEntryForm::finish(const QString &windowTitle)
{
    connect(m_amountEdit, &QLineEdit::editingFinished, this, &AccountEntryForm::checktextEdits);
    connect(m_list->view(), &QTableView::clicked, this, &AccountEntryForm::getTableViewIndex);

    refreshView(accountId(), OpFlag::MoneyIn);
    finishFrame(windowTitle, QWIDGETSIZE_MAX, 800, 650, m_amountEdit);
}

int AccountEntryForm::accountId() const
{
    return m_account ? m_account->getId() : 0;
}

void AccountEntryForm::refreshView(int accountId, int opFlag)
{
    if (m_mode == TransferMode)
        m_list->refilter(QStringLiteral("konto_id_von = %1 AND op_flag = %2 AND zahlungsmittel_id = 0")
                             .arg(accountId)
                             .arg(opFlag));
    else
        m_list->refilter(QStringLiteral("konto_id_von = %1 AND op_flag = %2 AND tx_typ = %3")
                             .arg(accountId)
                             .arg(opFlag)
                             .arg(int(MovementType::Income)));
}

void AccountEntryForm::refreshViewPlusAmount()
{
    refreshView(accountId(), OpFlag::MoneyIn);
}

void AccountEntryForm::refreshViewMinusAmount()
{
    refreshView(accountId(), OpFlag::MoneyOut);
}

void AccountEntryForm::clearInputs()
{
    m_amountEdit->setText(QStringLiteral("0.0"));
    m_remarkEdit->clear();
    m_saveButton->setEnabled(false);
}

void AccountEntryForm::checktextEdits()
{
    const QString text = m_amountEdit->text();
    if (text == QLatin1String("0.0") || text.isEmpty())
        return;
    if (m_incomeCombo && m_incomeCombo->currentData().toInt() == 0 && m_incomeEdit->text().trimmed().isEmpty())
        return;
    // Saving judges the amount and says what is wrong with it.
    m_saveButton->setEnabled(true);
}

// The receiving account follows the picked instrument: found through its
// konto_id, since an account need not bear the instrument's name.
void AccountEntryForm::checkRecipientCB()
{
    DataProvider *dp = DataProvider::instance();
    PaymentInstruction *pi = dp->getPaymentInstrument(m_instrumentCombo->currentData().toInt(), true);
    Account *account = pi ? dp->getAccount(pi->getAccountId()) : nullptr;
    if (!account)
        return;
    m_account = account;
    refreshView(account->getId(), OpFlag::MoneyIn);
}

void AccountEntryForm::checkIncomeSourceCB()
{
    m_incomeEdit->setEnabled(m_incomeCombo->currentData().toInt() == 0);
}

void AccountEntryForm::getTableViewIndex()
{
    m_deleteButton->setEnabled(true);
}

void AccountEntryForm::determineTransfer()
{
    DataProvider *dp = DataProvider::instance();

    double amount = 0.0;
    if (!readAmount(m_amountEdit, MaxAmount, tr("Limite: 9999999.0"), m_saveButton, amount))
        return;

    const PaymentInstruction *target = chosenInstrument(m_instrumentCombo);
    if (!m_account || !target) {
        showWarning(tr("Zahlungsmittel fehlt"),
                    tr("Es ist kein Zahlungsmittel mit einem aktiven Konto vorhanden, "
                       "auf das überwiesen werden kann."));
        return;
    }

    QString sourceText = m_instrument->getName();
    QString targetText = target->getName();
    if (!m_remarkEdit->text().isEmpty()) {
        sourceText += QStringLiteral(" - ") + m_remarkEdit->text();
        targetText += QStringLiteral(" - ") + m_remarkEdit->text();
    }

    const PostingResult result = dp->postTransfer(m_instrument->getId(), target->getId(), amount,
                                                  tr("An: ") + targetText, tr("Von: ") + sourceText,
                                                  m_dateEdit->date());
    if (!result.ok())
        showPostingResult(result);
    // A target on the source's own account is refused; the input stays
    // for another target.
    if (result.reason == PostingResult::SameAccount)
        return;

    refreshView(m_account->getId(), OpFlag::MoneyOut);
    clearInputs();
    m_amountEdit->setFocus();
}

void AccountEntryForm::deleteTransfer()
{
    if (confirmedRow(m_list, m_deleteButton, tr("Info"), tr("Der Eintrag konnte nicht gefunden!")) < 0)
        return;

    // Only a complete pair can be taken back; a deposit (empty key) or a
    // movement whose partner is gone stays as it is.
    const QString txId = m_list->currentRecord().value(QStringLiteral("tx_id")).toString();
    const PostingResult result = DataProvider::instance()->reverseTransfer(txId);
    if (result.ok())
        refreshView(accountId(), OpFlag::MoneyOut);
    else
        showPostingResult(result);
    m_deleteButton->setEnabled(false);
}

void AccountEntryForm::refuseWithoutAccount()
{
    showWarning(tr("Konto fehlt"),
                tr("Es ist kein Konto vorhanden, auf das eingezahlt werden kann. "
                   "Bitte zuerst ein Konto oder ein Zahlungsmittel erfassen."));
}

void AccountEntryForm::addEinnahme()
{
    DataProvider *dp = DataProvider::instance();

    double amount = 0.0;
    if (!readAmount(m_amountEdit, MaxAmount, tr("Limite: 9999999.0"), m_saveButton, amount))
        return;
    if (!m_account) {
        refuseWithoutAccount();
        return;
    }

    int sourceId = 0;
    QString head;
    if (m_incomeSource) {
        sourceId = m_incomeSourceId;
        head = tr("Eingang: ") + m_incomeSource->getName();
    } else if (m_incomeCombo->currentData().toInt() != 0) {
        sourceId = m_incomeCombo->currentData().toInt();
        head = m_incomeCombo->currentText();
    } else {
        // A deposit needs a payer; blanks name nobody.
        head = m_incomeEdit->text();
        if (head.trimmed().isEmpty()) {
            showWarning(tr("Name fehlt"), tr("Bitte eingeben, wer eingezahlt hat."));
            m_incomeEdit->setFocus();
            return;
        }
        // A typed payer counts for the source of that name, if there is one.
        sourceId = dp->getIdByName(QStringLiteral("einnahme_quelle"), head);
    }
    const QString remark = head + QStringLiteral(" - ") + m_remarkEdit->text();

    const PostingResult result = dp->postDeposit(m_account->getId(), amount, remark, m_dateEdit->date(), sourceId);
    if (!result.ok())
        showPostingResult(result);

    refreshView(m_account->getId(), OpFlag::MoneyIn);
    clearInputs();
}

void AccountEntryForm::removeEinnahme()
{
    if (confirmedRow(m_list, m_deleteButton, tr("Info"), tr("Der Eintrag konnte nicht gefunden werden!")) < 0)
        return;
    const QSqlRecord record = m_list->currentRecord();
    const int id = record.value(QStringLiteral("id")).toInt();
    const int accountOfRow = record.value(QStringLiteral("konto_id_von")).toInt();

    const PostingResult result = DataProvider::instance()->reverseMovement(id);
    if (result.ok())
        refreshView(accountOfRow, OpFlag::MoneyIn);
    else
        showPostingResult(result);
    m_deleteButton->setEnabled(false);
}
