#include "accountentryform.h"

#include "account.h"
#include "accountentry.h"
#include "amountinput.h"
#include "colorsetting.h"
#include "dataprovider.h"
#include "incomeentry.h"
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
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QSqlRelationalTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const double MaxAmount = 9999999.0;
const int DateRangeDays = 90;

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

QLabel *buddyLabel(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QLineEdit *fixedText(const QString &text, const char *objectName)
{
    auto *edit = new QLineEdit(text);
    edit->setObjectName(QLatin1String(objectName));
    edit->setEnabled(false);
    return edit;
}

} // namespace

AccountEntryForm::AccountEntryForm(PaymentInstruction *source, const QList<int> &allowedTypes,
                                   QWidget *parent)
    : QDialog(parent), m_mode(TransferMode), m_instrument(source)
{
    m_account = DataProvider::instance()->getAccount(source->getAccountId());
    buildFrame(tr("Interne Transaktion erfassen"), tr("Interne Transaktion"));
    buildTransfer(allowedTypes);
    finishFrame();
}

AccountEntryForm::AccountEntryForm(IncomeEntry *incomeSource, const QList<int> &allowedTypes,
                                   QWidget *parent)
    : QDialog(parent), m_mode(DepositMode), m_incomeSource(incomeSource),
      m_incomeSourceId(incomeSource->getId())
{
    buildFrame(tr("Einzahlung erfassen"), tr("Zahlungseingang"));
    buildDepositFromSource(allowedTypes);
    finishFrame();
}

AccountEntryForm::AccountEntryForm(PaymentInstruction *receiver, QWidget *parent)
    : QDialog(parent), m_mode(DepositMode), m_instrument(receiver)
{
    m_account = DataProvider::instance()->getAccount(receiver->getAccountId());
    buildFrame(tr("Einzahlung erfassen"), tr("Zahlungseingang"));
    buildDepositIntoInstrument();
    finishFrame();
}

AccountEntryForm::~AccountEntryForm() = default;

// The parts every mode shares: the framed grid, the amount, remark and date
// fields, and the window's own settings.
void AccountEntryForm::buildFrame(const QString &groupTitle, const QString &windowTitle)
{
    auto *inputBox = new QGroupBox(groupTitle);
    inputBox->setFont(QFont(QStringLiteral("Helvetica [Cronyx]"), 9));
    m_grid = new QGridLayout(inputBox);
    m_grid->setColumnStretch(2, 1);
    m_grid->setSpacing(5);

    m_amountEdit = new QLineEdit(QStringLiteral("0.0"));
    m_amountEdit->setObjectName(QStringLiteral("amountEdit"));
    makeAmountField(m_amountEdit);
    m_remarkEdit = new QLineEdit;
    m_remarkEdit->setObjectName(QStringLiteral("remarkEdit"));
    m_dateEdit = new QDateEdit(QDate::currentDate());
    m_dateEdit->setObjectName(QStringLiteral("dateEdit"));
    m_dateEdit->setCalendarPopup(true);
    m_dateEdit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    QDate firstDay, lastDay;
    ColorSetting::instance()->bookingDateRange(DateRangeDays, firstDay, lastDay);
    m_dateEdit->setDateRange(firstDay, lastDay);

    auto *mainLayout = new QVBoxLayout(this);
    mainLayout->addWidget(inputBox);

    setMinimumWidth(650);
    setMaximumWidth(800);
    setWindowIcon(QIcon(QStringLiteral("./Logo.ico")));
    setWindowTitle(windowTitle);
}

void AccountEntryForm::buildList(int row, const QString &label)
{
    m_list = std::make_unique<MasterDataList>(m_grid->parentWidget(), QStringLiteral("konto_bewegungen"), label,
                                              QList<QPair<QString, QString>>{
                                                  {QStringLiteral("startdate"), tr("Datum")},
                                                  {QStringLiteral("betrag"), tr("Betrag")},
                                                  {QStringLiteral("bemerkung"), tr("Bemerkung")}});
    QSqlRelationalTableModel *model = m_list->model();
    const int dateColumn = model->fieldIndex(QStringLiteral("startdate"));
    model->setSort(dateColumn, Qt::DescendingOrder);
    m_list->view()->setObjectName(QStringLiteral("movementTable"));
    m_list->view()->setItemDelegateForColumn(dateColumn, new DateDelegate(m_list->view()));
    m_list->view()->setMinimumSize(400, 320);
    m_grid->addLayout(m_list->layout(), row, 0, 1, 3);
}

void AccountEntryForm::buildButtons(int row)
{
    auto *actionBox = new QDialogButtonBox;
    m_saveButton = actionBox->addButton(tr("Speichern"), QDialogButtonBox::ActionRole);
    m_deleteButton = actionBox->addButton(tr("Eintrag löschen"), QDialogButtonBox::ActionRole);
    m_saveButton->setEnabled(false);
    m_deleteButton->setEnabled(false);
    if (m_mode == TransferMode) {
        m_plusButton = actionBox->addButton(tr("Eingänge anzeigen"), QDialogButtonBox::ActionRole);
        m_minusButton = actionBox->addButton(tr("Ausgänge anzeigen"), QDialogButtonBox::ActionRole);
    }
    // Return in the amount field only finishes the input; saving is a click.
    for (QAbstractButton *button : actionBox->buttons())
        static_cast<QPushButton *>(button)->setAutoDefault(false);
    m_grid->addWidget(actionBox, row, 0, 1, 3);
}

void AccountEntryForm::buildTransfer(const QList<int> &allowedTypes)
{
    DataProvider *dp = DataProvider::instance();

    // Possible targets: never the source itself, only allowed kinds on active
    // accounts, and no prepaid card that draws on a bank account.
    m_instrumentCombo = new QComboBox;
    m_instrumentCombo->setObjectName(QStringLiteral("instrumentCombo"));
    QList<PaymentInstruction *> instruments;
    dp->getPaymentInstruments(instruments);
    for (PaymentInstruction *pi : instruments) {
        if (pi->getId() == m_instrument->getId())
            continue;
        if (!allowedTypes.contains(pi->getInstrumentType()) || !dp->isAccountActive(pi->getAccountId()))
            continue;
        if (pi->getInstrumentType() == DataProvider::PrepaidCard && pi->isBankAccount())
            continue;
        m_instrumentCombo->addItem(pi->getName(), pi->getId());
    }

    m_grid->addWidget(buddyLabel(tr("Betrag von:"), m_amountEdit), 0, 0);
    m_grid->addWidget(m_amountEdit, 0, 1);
    QLineEdit *sourceEdit = fixedText(m_instrument->getName(), "sourceEdit");
    m_grid->addWidget(buddyLabel(tr("Belastungskonto:"), sourceEdit), 1, 0);
    m_grid->addWidget(sourceEdit, 1, 1);
    m_grid->addWidget(buddyLabel(tr("Überweisung an:"), m_instrumentCombo), 3, 0);
    m_grid->addWidget(m_instrumentCombo, 3, 1);
    m_grid->addWidget(buddyLabel(tr("Bemerkung:"), m_remarkEdit), 4, 0);
    m_grid->addWidget(m_remarkEdit, 4, 1, 1, 2);
    m_grid->addWidget(buddyLabel(tr("Datum:"), m_dateEdit), 5, 0);
    m_grid->addWidget(m_dateEdit, 5, 1);
    m_grid->addWidget(new QLabel(QStringLiteral(" ")), 6, 1);
    buildList(7, tr("Bewegungen - Transaktion"));
    m_grid->setRowMinimumHeight(8, 10);
    m_grid->setRowStretch(8, 1);
    buildButtons(9);

    connect(m_saveButton, &QPushButton::clicked, this, &AccountEntryForm::determineTransfer);
    connect(m_deleteButton, &QPushButton::clicked, this, &AccountEntryForm::deleteTransfer);
    connect(m_plusButton, &QPushButton::clicked, this, &AccountEntryForm::refreshViewPlusAmount);
    connect(m_minusButton, &QPushButton::clicked, this, &AccountEntryForm::refreshViewMinusAmount);
}

void AccountEntryForm::buildDepositFromSource(const QList<int> &allowedTypes)
{
    DataProvider *dp = DataProvider::instance();

    m_instrumentCombo = new QComboBox;
    m_instrumentCombo->setObjectName(QStringLiteral("instrumentCombo"));
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

    m_grid->addWidget(buddyLabel(tr("Betrag:"), m_amountEdit), 0, 0);
    m_grid->addWidget(m_amountEdit, 0, 1);
    QLineEdit *sourceEdit = fixedText(m_incomeSource->getName(), "incomeSourceEdit");
    m_grid->addWidget(buddyLabel(tr("Einbezahlt von:"), sourceEdit), 1, 0);
    m_grid->addWidget(sourceEdit, 1, 1);
    m_grid->addWidget(buddyLabel(tr("Überweisung an:"), m_instrumentCombo), 2, 0);
    m_grid->addWidget(m_instrumentCombo, 2, 1);
    m_grid->addWidget(buddyLabel(tr("Bemerkung:"), m_remarkEdit), 3, 0);
    m_grid->addWidget(m_remarkEdit, 3, 1, 1, 2);
    m_grid->addWidget(buddyLabel(tr("Datum:"), m_dateEdit), 4, 0);
    m_grid->addWidget(m_dateEdit, 4, 1);
    m_grid->addWidget(new QLabel(QStringLiteral(" ")), 5, 1);
    buildList(6, tr("Einkünfte"));
    buildButtons(8);
    m_grid->setRowMinimumHeight(8, 10);
    m_grid->setRowStretch(8, 1);

    connect(m_saveButton, &QPushButton::clicked, this, &AccountEntryForm::addEinnahme);
    connect(m_deleteButton, &QPushButton::clicked, this, &AccountEntryForm::removeEinnahme);
    connect(m_instrumentCombo, &QComboBox::textActivated, this, &AccountEntryForm::checkRecipientCB);
}

void AccountEntryForm::buildDepositIntoInstrument()
{
    DataProvider *dp = DataProvider::instance();

    m_incomeCombo = new QComboBox;
    m_incomeCombo->setObjectName(QStringLiteral("incomeCombo"));
    QList<QSqlRecord> rows;
    dp->getIncomeSourceRows(rows);
    for (const QSqlRecord &row : rows)
        m_incomeCombo->addItem(row.value(QStringLiteral("name")).toString(),
                               row.value(QStringLiteral("id")).toInt());
    // Source id 0: the payer is typed into the free-text field.
    m_incomeCombo->addItem(tr("Andere"), 0);
    m_incomeEdit = new QLineEdit;
    m_incomeEdit->setObjectName(QStringLiteral("incomeEdit"));

    m_grid->addWidget(buddyLabel(tr("Betrag:"), m_amountEdit), 0, 0);
    m_grid->addWidget(m_amountEdit, 0, 1);
    m_grid->addWidget(buddyLabel(tr("Einbezahlt von:"), m_incomeCombo), 1, 0);
    m_grid->addWidget(m_incomeCombo, 1, 1);
    m_grid->addWidget(m_incomeEdit, 1, 2);
    QLineEdit *accountEdit = fixedText(m_account ? m_account->getName() : QString(), "accountEdit");
    m_grid->addWidget(buddyLabel(tr("Überweisung an:"), accountEdit), 2, 0);
    m_grid->addWidget(accountEdit, 2, 1, 1, 2);
    m_grid->addWidget(buddyLabel(tr("Bemerkung:"), m_remarkEdit), 3, 0);
    m_grid->addWidget(m_remarkEdit, 3, 1, 1, 2);
    m_grid->addWidget(buddyLabel(tr("Datum:"), m_dateEdit), 4, 0);
    m_grid->addWidget(m_dateEdit, 4, 1);
    m_grid->addWidget(new QLabel(QStringLiteral(" ")), 5, 1);
    buildList(6, tr("Einkünfte"));
    buildButtons(8);
    m_grid->setRowMinimumHeight(8, 10);
    m_grid->setRowStretch(8, 1);

    checkIncomeSourceCB();

    connect(m_saveButton, &QPushButton::clicked, this, &AccountEntryForm::addEinnahme);
    connect(m_deleteButton, &QPushButton::clicked, this, &AccountEntryForm::removeEinnahme);
    connect(m_incomeEdit, &QLineEdit::editingFinished, this, &AccountEntryForm::checktextEdits);
    connect(m_incomeCombo, &QComboBox::textActivated, this, &AccountEntryForm::checkIncomeSourceCB);
}

void AccountEntryForm::finishFrame()
{
    QGroupBox *closeGroup = newCloseGroup(this);
    layout()->addWidget(closeGroup);

    connect(m_amountEdit, &QLineEdit::editingFinished, this, &AccountEntryForm::checktextEdits);
    connect(m_list->view(), &QTableView::clicked, this, &AccountEntryForm::getTableViewIndex);

    refreshView(accountId(), DataProvider::MoneyIn);
    m_amountEdit->setFocus();
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
                             .arg(int(DataProvider::IncomeMovement)));
}

void AccountEntryForm::refreshViewPlusAmount()
{
    refreshView(accountId(), DataProvider::MoneyIn);
}

void AccountEntryForm::refreshViewMinusAmount()
{
    refreshView(accountId(), DataProvider::MoneyOut);
}

void AccountEntryForm::clearInputs()
{
    m_amountEdit->setText(QStringLiteral("0.0"));
    m_remarkEdit->clear();
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
    refreshView(account->getId(), DataProvider::MoneyIn);
}

void AccountEntryForm::checkIncomeSourceCB()
{
    m_incomeEdit->setEnabled(m_incomeCombo->currentData().toInt() == 0);
}

void AccountEntryForm::getTableViewIndex()
{
    m_deleteButton->setEnabled(true);
}

bool AccountEntryForm::askDelete(int row)
{
    return confirmDeletion(this, tr("Eintrag entfernen"), tr("Eintrag %1 löschen?").arg(row + 1));
}

void AccountEntryForm::determineTransfer()
{
    DataProvider *dp = DataProvider::instance();

    double amount = 0.0;
    if (!acceptAmount(this, m_amountEdit->text(), MaxAmount, tr("Limite: 9999999.0"), amount)) {
        m_saveButton->setEnabled(false);
        return;
    }

    PaymentInstruction *target = nullptr;
    Account *targetAccount = nullptr;
    if (m_instrumentCombo->currentIndex() >= 0) {
        target = dp->getPaymentInstrument(m_instrumentCombo->currentData().toInt(), true);
        if (target)
            targetAccount = dp->getAccount(target->getAccountId());
    }
    if (!m_account || !targetAccount) {
        QMessageBox::warning(this, tr("Zahlungsmittel fehlt"),
                             tr("Es ist kein Zahlungsmittel mit einem aktiven Konto vorhanden, "
                                "auf das überwiesen werden kann."));
        return;
    }
    // Money moved within one account would only change its balance twice.
    if (targetAccount->getId() == m_account->getId()) {
        QMessageBox::warning(this, tr("Interne Transaktion nicht möglich"),
                             tr("Belastungskonto und Zielkonto sind dasselbe Konto!"));
        return;
    }

    QString sourceText = m_instrument->getName();
    QString targetText = target->getName();
    if (!m_remarkEdit->text().isEmpty()) {
        sourceText += QStringLiteral(" - ") + m_remarkEdit->text();
        targetText += QStringLiteral(" - ") + m_remarkEdit->text();
    }

    if (!DataProvider::isAvailable(m_account->getBalance(), amount)) {
        QMessageBox::warning(this, tr("Betrags-Überschreitung"), tr("Betrag nicht verfügbar!"));
        clearInputs();
        m_saveButton->setEnabled(false);
        m_amountEdit->setFocus();
        return;
    }

    QString err;
    QString title;
    if (!dp->postTransfer(m_instrument->getId(), target->getId(), amount, tr("An: ") + targetText,
                          tr("Von: ") + sourceText, m_dateEdit->date(), err, &title)) {
        if (title.isEmpty())
            title = tr("DB-Transaktion fehlgeschlagen!");
        QMessageBox::information(this, title, err);
    }

    refreshView(m_account->getId(), DataProvider::MoneyOut);
    clearInputs();
    m_saveButton->setEnabled(false);
    m_amountEdit->setFocus();
}

void AccountEntryForm::deleteTransfer()
{
    const int row = m_list->currentRow();
    if (row < 0) {
        QMessageBox::information(this, tr("Info"), tr("Der Eintrag konnte nicht gefunden!"));
        m_deleteButton->setEnabled(false);
        return;
    }
    if (!askDelete(row))
        return;

    // Only a complete pair can be taken back; a deposit (empty key) or a
    // movement whose partner is gone stays as it is.
    DataProvider *dp = DataProvider::instance();
    const QString txId = m_list->currentRecord().value(QStringLiteral("tx_id")).toString();
    QList<AccountEntry *> pair;
    if (!txId.isEmpty())
        dp->getAccountMovements(txId, pair);
    if (pair.size() != 2) {
        QMessageBox::information(this, tr("Fehler -> es ist kein Txn-Paar!"), QStringLiteral("?"));
        m_deleteButton->setEnabled(false);
        return;
    }

    QString err;
    QString title;
    if (dp->reverseTransfer(txId, err, &title)) {
        refreshView(accountId(), DataProvider::MoneyOut);
    } else if (title == tr("Fehler -> es ist kein Txn-Paar!")) {
        QMessageBox::information(this, title, QStringLiteral("?"));
    } else {
        if (title.isEmpty())
            title = tr("DB-Update-Konto fehlgeschlagen!");
        QMessageBox::information(this, title, err);
    }
    m_deleteButton->setEnabled(false);
}

void AccountEntryForm::refuseWithoutAccount()
{
    QMessageBox::warning(this, tr("Konto fehlt"),
                         tr("Es ist kein Konto vorhanden, auf das eingezahlt werden kann. "
                            "Bitte zuerst ein Konto oder ein Zahlungsmittel erfassen."));
}

void AccountEntryForm::addEinnahme()
{
    DataProvider *dp = DataProvider::instance();

    double amount = 0.0;
    if (!acceptAmount(this, m_amountEdit->text(), MaxAmount, tr("Limite: 9999999.0"), amount)) {
        m_saveButton->setEnabled(false);
        return;
    }
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
            QMessageBox::warning(this, tr("Name fehlt"), tr("Bitte eingeben, wer eingezahlt hat."));
            m_incomeEdit->setFocus();
            return;
        }
        // A typed payer counts for the source of that name, if there is one.
        sourceId = dp->getIdByName(QStringLiteral("einnahme_quelle"), head);
    }
    const QString remark = head + QStringLiteral(" - ") + m_remarkEdit->text();

    QString err;
    QString title;
    if (!dp->postDeposit(m_account->getId(), amount, remark, m_dateEdit->date(), sourceId, err, &title)) {
        if (title.isEmpty())
            title = tr("DB-Transaktion fehlgeschlagen!");
        QMessageBox::information(this, title, err);
    }

    refreshView(m_account->getId(), DataProvider::MoneyIn);
    clearInputs();
    m_saveButton->setEnabled(false);
}

void AccountEntryForm::removeEinnahme()
{
    const int row = m_list->currentRow();
    if (row < 0) {
        QMessageBox::information(this, tr("Info"), tr("Der Eintrag konnte nicht gefunden werden!"));
        m_deleteButton->setEnabled(false);
        return;
    }
    const QSqlRecord record = m_list->currentRecord();
    const int id = record.value(QStringLiteral("id")).toInt();
    const int accountOfRow = record.value(QStringLiteral("konto_id_von")).toInt();
    if (!askDelete(row))
        return;

    QString err;
    QString title;
    if (DataProvider::instance()->reverseMovement(id, err, &title)) {
        refreshView(accountOfRow, DataProvider::MoneyIn);
    } else {
        if (title.isEmpty())
            title = tr("DB-Transaktion fehlgeschlagen!");
        QMessageBox::information(this, title, err);
    }
    m_deleteButton->setEnabled(false);
}
