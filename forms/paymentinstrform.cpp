#include "paymentinstrform.h"

#include "account.h"
#include "dataprovider.h"
#include "masterdatawriter.h"
#include "paymentinstruction.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace {
const double OpeningLimit = 99999.0;

// The bank accounts' own instruments are declared with their accounts.
QString instrumentFilter()
{
    return QStringLiteral("zahlungsmittel_typ <> %1").arg(int(InstrumentType::Account));
}
} // namespace

PaymentInstrForm::PaymentInstrForm(QWidget *parent)
    : MasterDataForm(tr("Zahlungsmittel erfassen / entfernen"), parent)
{
    QWidget *box = grid()->parentWidget();

    // Kind of instrument.
    m_cardRadio = new QRadioButton(tr("Kreditkarte"), box);
    m_cashRadio = new QRadioButton(tr("Bargeld"), box);
    m_checkRadio = new QRadioButton(tr("Check"), box);
    auto *kindGroup = new QButtonGroup(this);
    kindGroup->addButton(m_cardRadio);
    kindGroup->addButton(m_cashRadio);
    kindGroup->addButton(m_checkRadio);
    m_cardRadio->setChecked(true);
    auto *kinds = new QHBoxLayout;
    kinds->addWidget(m_cardRadio);
    kinds->addWidget(m_cashRadio);
    kinds->addWidget(m_checkRadio);
    grid()->addLayout(kinds, 0, 0, 1, 2);
    addBlank(1);

    // A credit card either draws on a bank account or has its own balance.
    m_linkedRadio = new QRadioButton(tr("Anschluss an Konto"), box);
    m_prepaidRadio = new QRadioButton(tr("Prepaid"), box);
    auto *linkGroup = new QButtonGroup(this);
    linkGroup->addButton(m_linkedRadio);
    linkGroup->addButton(m_prepaidRadio);
    m_linkedRadio->setChecked(true);
    m_accountCombo = new QComboBox(box);
    fillAccountCombo();
    grid()->addWidget(m_linkedRadio, 2, 0);
    grid()->addWidget(m_accountCombo, 2, 1);
    grid()->addWidget(m_prepaidRadio, 3, 0);
    addBlank(4);

    m_nameEdit = addField(5, tr("Name:"));
    m_nameEdit->setText(tr("z.B. MasterCard"));
    m_numberEdit = addField(6, tr("Nummer:"));
    m_amountEdit = addAmountField(7, tr("Eröffnungsbetrag:"), false);
    m_amountEdit->setEnabled(false);
    addBlank(8);

    m_list = addList(9, QStringLiteral("zahlungsmittel"), tr("Liste der Zahlungsmittel"),
                     { { QStringLiteral("name"), tr("Name") } }, instrumentFilter());
    addBlank(10);

    QDialogButtonBox *actions = addButtonBox(11);
    m_newButton = addButton(actions, tr("Neuer Eintrag"));
    m_saveButton = addButton(actions, tr("Speichern"), false);
    m_deleteButton = addButton(actions, tr("Entfernen"), false);
    addCloseBox(12);
    setStretchRow(13, 1, 0);

    connect(m_nameEdit, &QLineEdit::textEdited, this, &PaymentInstrForm::checktextEdits);
    connect(m_numberEdit, &QLineEdit::textEdited, this, &PaymentInstrForm::checktextEdits);
    connect(m_amountEdit, &QLineEdit::textEdited, this, &PaymentInstrForm::checktextEdits);
    connect(m_cardRadio, &QRadioButton::pressed, this, &PaymentInstrForm::checkRadioButton1);
    connect(m_cashRadio, &QRadioButton::pressed, this, &PaymentInstrForm::checkRadioButton2);
    connect(m_checkRadio, &QRadioButton::pressed, this, &PaymentInstrForm::checkRadioButton3);
    connect(m_linkedRadio, &QRadioButton::pressed, this, &PaymentInstrForm::checkHasAccount);
    connect(m_prepaidRadio, &QRadioButton::pressed, this, &PaymentInstrForm::checkPrepaid);
    connect(m_newButton, &QPushButton::clicked, this, &PaymentInstrForm::newPaymentInstr);
    connect(m_saveButton, &QPushButton::clicked, this, &PaymentInstrForm::savePaymentInstr);
    connect(m_deleteButton, &QPushButton::clicked, this, &PaymentInstrForm::deletePaymentInstr);
    connect(m_list->view(), &QTableView::clicked, this, &PaymentInstrForm::getTableViewIndex);

    finishFrame(tr("Zahlungsmittel"), 650, 650, 500, m_nameEdit);
}

PaymentInstrForm::~PaymentInstrForm() = default;

void PaymentInstrForm::fillAccountCombo()
{
    // Names are not unique: each entry carries its account's id.
    QList<Account *> accounts;
    DataProvider::instance()->getAccounts(accounts);
    for (Account *account : accounts) {
        if (account->getAccountType() == AccountType::Bank)
            m_accountCombo->addItem(QIcon(), account->getName(), account->getId());
    }
}

void PaymentInstrForm::checktextEdits()
{
    if (m_nameEdit->text().isEmpty()) {
        m_saveButton->setEnabled(false);
    } else if (m_numberEdit->isEnabled() && m_numberEdit->text().isEmpty()) {
        m_saveButton->setEnabled(false);
        m_deleteButton->setEnabled(false);
        return;
    } else {
        m_saveButton->setEnabled(!m_amountEdit->isEnabled() || !m_amountEdit->text().isEmpty());
    }
    m_deleteButton->setEnabled(false);
}

void PaymentInstrForm::checkRadioButton1()
{
    m_editMode = false;
    clearFields();
    m_nameEdit->setText(tr("z.B. MasterCard"));
    m_numberEdit->setEnabled(true);
    m_linkedRadio->setEnabled(true);
    m_prepaidRadio->setEnabled(true);
    if (!m_prepaidRadio->isChecked()) {
        m_amountEdit->setEnabled(false);
        m_accountCombo->setEnabled(true);
    }
    if (m_accountCombo->count() == 0)
        m_linkedRadio->setEnabled(false);
    m_deleteButton->setEnabled(false);
}

void PaymentInstrForm::checkRadioButton2()
{
    chooseOwnAccountType(tr("z.B. Kasse"));
}

void PaymentInstrForm::checkRadioButton3()
{
    chooseOwnAccountType(tr("z.B. REKA-Checks"));
}

// Cash and vouchers always have an account of their own.
void PaymentInstrForm::chooseOwnAccountType(const QString &example)
{
    m_editMode = false;
    clearFields();
    m_nameEdit->setText(example);
    m_numberEdit->setEnabled(false);
    m_amountEdit->setEnabled(true);
    m_linkedRadio->setEnabled(false);
    m_prepaidRadio->setEnabled(false);
    m_accountCombo->setEnabled(false);
    m_deleteButton->setEnabled(false);
}

void PaymentInstrForm::checkHasAccount()
{
    m_amountEdit->setEnabled(false);
    m_accountCombo->setEnabled(true);
    m_editMode = false;
    m_deleteButton->setEnabled(false);
}

void PaymentInstrForm::checkPrepaid()
{
    m_amountEdit->setEnabled(true);
    m_accountCombo->setEnabled(false);
    m_editMode = false;
    m_deleteButton->setEnabled(false);
}

void PaymentInstrForm::newPaymentInstr()
{
    m_accountCombo->setEnabled(true);
    setRadioButtonsEnabled(true);
    m_cardRadio->setChecked(true);
    m_linkedRadio->setChecked(true);
    m_numberEdit->setEnabled(true);
    m_amountEdit->setEnabled(false);
    clearFields();
    m_deleteButton->setEnabled(false);
    m_nameEdit->setFocus();
    m_editMode = false;
}

void PaymentInstrForm::getTableViewIndex()
{
    m_editMode = true;
    m_accountCombo->setEnabled(false);
    setRadioButtonsEnabled(false);
    if (m_list->hasCurrentRow()) {
        const QSqlRecord row = m_list->currentRecord();
        m_rowId = row.value(QStringLiteral("id")).toInt();
        const int accountId = row.value(QStringLiteral("konto_id")).toInt();
        const int type = row.value(QStringLiteral("zahlungsmittel_typ")).toInt();
        m_nameEdit->setText(row.value(QStringLiteral("name")).toString());
        m_numberEdit->setText(row.value(QStringLiteral("karten_nummer")).toString());
        m_nameEdit->setEnabled(true);
        m_numberEdit->setEnabled(type != InstrumentType::Cash && type != InstrumentType::Voucher);
        // Only name and number of an existing instrument are stored; its
        // opening amount is shown for information.
        m_amountEdit->setEnabled(false);

        if (Account *account = DataProvider::instance()->getAccount(accountId))
            m_amountEdit->setText(QString::number(account->getOpeningAmount(), 'f', 2));
    }
    m_saveButton->setEnabled(false);
    m_deleteButton->setEnabled(true);
}

void PaymentInstrForm::savePaymentInstr()
{
    if (!checkName(m_nameEdit, m_saveButton))
        return;
    const bool done = m_editMode ? updatePaymentInstr(m_rowId) : insertPaymentInstr();
    if (!done)
        return; // refused input stays in the fields
    clearFields();
    m_editMode = false;
}

bool PaymentInstrForm::insertPaymentInstr()
{
    const QString title = tr("Zahlungsmittel konnte nicht gespeichert werden: ");
    Account ownAccount;
    int accountId = 0;
    const int type = chosenType();
    const bool linked = type == InstrumentType::LinkedCard;

    if (!linked) {
        double amount = 0.0;
        if (!readAmount(m_amountEdit, OpeningLimit, m_saveButton, amount))
            return false;
        ownAccount.setAccountType(AccountType::Own);
        ownAccount.setState(AccountState::Active);
        ownAccount.setAccountNumber(m_numberEdit->text());
        ownAccount.setOpeningAmount(amount);
        ownAccount.setBalance(amount);
        ownAccount.setName(m_nameEdit->text());
        ownAccount.setDescription(QStringLiteral("??"));
    } else {
        accountId = m_accountCombo->currentData().toInt();
        if (m_accountCombo->currentIndex() < 0 || !DataProvider::instance()->getAccount(accountId)) {
            showInformation(title, tr("Es ist kein Bankkonto gewählt. Bitte zuerst ein Konto "
                                      "erfassen oder \"Prepaid\" wählen."));
            return false;
        }
    }

    PaymentInstruction instrument;
    instrument.setName(m_nameEdit->text());
    instrument.setAccountId(accountId);
    instrument.setInstrumentType(type);
    instrument.setAccountLink(linked);
    instrument.setBankAccount(linked);
    instrument.setCardNumber(m_numberEdit->text());
    instrument.setDescription(QStringLiteral("??"));

    QString err;
    if (!MasterDataWriter::createPaymentInstrument(&instrument, linked ? nullptr : &ownAccount, err)) {
        showInformation(title, err);
        return true;
    }
    clearFields();
    refilter();
    return true;
}

bool PaymentInstrForm::updatePaymentInstr(int id)
{
    if (id < 1)
        return true;
    QString err;
    if (MasterDataWriter::updatePaymentInstrument(id, m_nameEdit->text(), m_numberEdit->text(), err))
        refilter();
    else
        showInformation(tr("Fehler beim aktualisieren: "), err);
    m_saveButton->setEnabled(false);
    return true;
}

void PaymentInstrForm::deletePaymentInstr()
{
    if (!m_list->hasCurrentRow())
        return;
    const QSqlRecord row = m_list->currentRecord();
    const int id = row.value(QStringLiteral("id")).toInt();
    DataProvider *data = DataProvider::instance();
    PaymentInstruction *instrument = data->getPaymentInstrument(id);
    if (!instrument) {
        refilter();
        return;
    }
    Account *account = data->getAccount(instrument->getAccountId());

    // A linked card only borrows the bank account: the account's movements
    // do not keep the card.
    const bool linkedCard = instrument->getInstrumentType() == InstrumentType::LinkedCard
        && instrument->hasAccountLink();
    const bool blocked = data->hasExpensesOfPaymentInstrument(id)
        || (!linkedCard && data->hasAccountMovements(instrument->getAccountId()));
    if (blocked) {
        showDataPresent(tr("Das Zahlungsmittel kann nicht entfernt werden, da sich noch Einträge darunter befinden!"));
        return;
    }
    if (!confirm(tr("Zahlungsmittel entfernen"), tr("Soll das gewählte Zahlungsmittel gelöscht werden?")))
        return;

    QString err;
    if (!MasterDataWriter::deletePaymentInstrument(instrument, account, err))
        showInformation(tr("Fehler beim löschen des Zahlungsmittel: "), err);

    refilter();
    clearFields();
    m_deleteButton->setEnabled(false);
    m_editMode = false;
}

int PaymentInstrForm::chosenType() const
{
    if (m_cashRadio->isChecked())
        return InstrumentType::Cash;
    if (m_checkRadio->isChecked())
        return InstrumentType::Voucher;
    return m_linkedRadio->isChecked() ? InstrumentType::LinkedCard : InstrumentType::PrepaidCard;
}

void PaymentInstrForm::refilter()
{
    m_list->refilter(instrumentFilter());
}

void PaymentInstrForm::clearFields()
{
    m_nameEdit->clear();
    m_numberEdit->clear();
    m_amountEdit->clear();
    if (m_saveButton->isEnabled())
        m_saveButton->setEnabled(false);
}

void PaymentInstrForm::setRadioButtonsEnabled(bool enabled)
{
    m_cardRadio->setEnabled(enabled);
    m_cashRadio->setEnabled(enabled);
    m_checkRadio->setEnabled(enabled);
    m_linkedRadio->setEnabled(enabled);
    m_prepaidRadio->setEnabled(enabled);
}
