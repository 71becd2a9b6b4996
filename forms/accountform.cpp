#include "accountform.h"

#include "account.h"
#include "dataprovider.h"
#include "masterdatawriter.h"
#include "paymentinstruction.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {
const double OpeningLimit = 999999.0;

QString bankAccountFilter()
{
    return QStringLiteral("konto_typ = %1").arg(int(AccountType::Bank));
}
} // namespace

AccountForm::AccountForm(QWidget *parent)
    : MasterDataForm(tr("Konto erfassen / entfernen"), parent)
{
    m_nameEdit = addField(0, tr("Name:"));
    m_numberEdit = addField(1, tr("Konto-Nummer:"));
    m_amountEdit = addAmountField(2, tr("Eröffnungsbetrag:"), false);

    addBlank(3);
    QDialogButtonBox *actions = addButtonBox(4);
    m_newButton = addButton(actions, tr("Neuer Eintrag"));
    m_saveButton = addButton(actions, tr("Speichern"), false);
    m_stateButton = addButton(actions, tr("Aktiv / Inaktiv"), false);
    m_deleteButton = addButton(actions, tr("Entfernen"), false);

    addBlank(5);
    m_list = addList(6, QStringLiteral("konten"), tr("Liste der Konten"),
                     { { QStringLiteral("name"), tr("Name") },
                       { QStringLiteral("stat"), tr("Aktiv/Inaktiv") },
                       { QStringLiteral("initial_betrag"), tr("Eröffnet") },
                       { QStringLiteral("betrag"), tr("Guthaben") } },
                     bankAccountFilter());
    addBlank(7);
    addCloseBox(8);
    setStretchRow(10, 1, 0);

    connect(m_nameEdit, &QLineEdit::textEdited, this, &AccountForm::checktextEdits);
    connect(m_numberEdit, &QLineEdit::textEdited, this, &AccountForm::checktextEdits);
    connect(m_amountEdit, &QLineEdit::textEdited, this, &AccountForm::checktextEdits);
    connect(m_newButton, &QPushButton::clicked, this, &AccountForm::newAccount);
    connect(m_saveButton, &QPushButton::clicked, this, &AccountForm::saveAccount);
    connect(m_stateButton, &QPushButton::clicked, this, &AccountForm::setActivInactive);
    connect(m_deleteButton, &QPushButton::clicked, this, &AccountForm::deleteAccount);
    connect(m_list->view(), &QTableView::clicked, this, &AccountForm::getTableViewIndex);

    finishFrame(tr("Konto"), 650, 700, 500, m_nameEdit);
}

AccountForm::~AccountForm() = default;

void AccountForm::checktextEdits()
{
    if (!m_nameEdit->text().isEmpty() && !m_amountEdit->text().isEmpty()
        && !m_numberEdit->text().isEmpty())
        m_saveButton->setEnabled(true);
}

void AccountForm::newAccount()
{
    clearFields();
    m_amountEdit->setEnabled(true);
    m_stateButton->setEnabled(false);
    m_deleteButton->setEnabled(false);
    m_nameEdit->setFocus();
    m_editMode = false;
}

void AccountForm::getTableViewIndex()
{
    m_deleteButton->setEnabled(true);
    m_stateButton->setEnabled(true);
    m_editMode = true;
    if (m_list->hasCurrentRow()) {
        const QSqlRecord row = m_list->currentRecord();
        m_rowId = row.value(QStringLiteral("id")).toInt();
        m_nameEdit->setText(row.value(QStringLiteral("name")).toString());
        m_numberEdit->setText(row.value(QStringLiteral("konto_nummer")).toString());
        m_amountEdit->setText(row.value(QStringLiteral("initial_betrag")).toString());
        m_nameEdit->setEnabled(true);
        m_numberEdit->setEnabled(true);
        // Once money has moved, the opening amount is history.
        m_amountEdit->setEnabled(!DataProvider::instance()->hasAccountMovements(m_rowId));
    }
    m_saveButton->setEnabled(false);
}

void AccountForm::saveAccount()
{
    // A locked opening amount is not stored, so it needs no check: after a
    // change of year it may well be 0 or negative.
    double amount = 0.0;
    const bool amountLocked = m_editMode && !m_amountEdit->isEnabled();
    if (!checkName(m_nameEdit, m_saveButton))
        return;
    if (!amountLocked && !readAmount(m_amountEdit, OpeningLimit, m_saveButton, amount))
        return;

    if (m_editMode) {
        updateAccount(amount);
        m_stateButton->setEnabled(false);
        m_amountEdit->setEnabled(true);
    } else {
        insertAccount(amount);
    }
    clearFields();
    m_editMode = false;
}

void AccountForm::insertAccount(double amount)
{
    Account account;
    account.setAccountType(AccountType::Bank);
    account.setState(AccountState::Active);
    account.setAccountNumber(m_numberEdit->text());
    account.setOpeningAmount(amount);
    account.setBalance(amount);
    account.setName(m_nameEdit->text());
    account.setDescription(QStringLiteral("Bank-Account"));

    QString err;
    if (MasterDataWriter::createBankAccount(&account, err)) {
        refilter();
        clearFields();
        m_saveButton->setEnabled(false);
    } else {
        showInformation(tr("Konto konnte nicht gespeichert werden: "), err);
    }
}

void AccountForm::updateAccount(double amount)
{
    if (m_rowId <= 0)
        return;
    QString err;
    bool instrumentFailed = false;
    if (MasterDataWriter::updateBankAccount(m_rowId, m_nameEdit->text(), m_numberEdit->text(),
                                            m_amountEdit->isEnabled(), amount, err,
                                            &instrumentFailed)) {
        // The list shows the new name at once, so that a second click on
        // the row does not load the old values again.
        reselect();
        return;
    }
    if (instrumentFailed)
        showInformation(tr("Fehler beim aktualisieren: "), err);
    else
        showInformation(tr("Fehler beim ändern der Kontodaten: "), err);
    reselect();
    m_saveButton->setEnabled(false);
}

void AccountForm::setActivInactive()
{
    if (!m_list->hasCurrentRow())
        return;
    const QSqlRecord row = m_list->currentRecord();
    const int id = row.value(QStringLiteral("id")).toInt();
    const int state = row.value(QStringLiteral("stat")).toInt() == AccountState::Active
        ? AccountState::Inactive
        : AccountState::Active;

    QString err;
    if (!MasterDataWriter::setAccountState(id, state, err))
        showInformation(tr("Fehler beim ändern des Konto: "), err);
    reselect();
    m_stateButton->setEnabled(false);
}

void AccountForm::deleteAccount()
{
    if (!m_list->hasCurrentRow())
        return;
    Account account(m_list->currentRecord());
    DataProvider *data = DataProvider::instance();

    if (data->hasAccountMovements(account.getId())) {
        showDataPresent(tr("Das Konto kann nicht entfernt werden, da sich noch Einträge darunter befinden!"));
        return;
    }
    if (!confirm(tr("Konto entfernen"), tr("Soll das gewählte Konto gelöscht werden?")))
        return;

    PaymentInstruction *own = MasterDataWriter::ownInstrumentOf(account.getId());
    if (data->hasPaymentInstrumentsOfAccount(account.getId())) {
        showInformation(tr("Fehler beim Entfernen des Konto!"),
                        tr("Konto kann nicht gelöscht werden, da noch Zahlungsmittel angeschlossen sind!"));
        return;
    }
    if (own && data->hasExpensesOfPaymentInstrument(own->getId())) {
        showInformation(tr("Fehler beim Entfernen des Konto!"),
                        tr("Konto kann nicht gelöscht werden, da sich noch Ausgaben-Einträge darunter befinden!"));
        return;
    }

    QString err;
    if (!MasterDataWriter::deleteBankAccount(&account, own, err))
        showInformation(tr("Fehler beim löschen des Konto: "), err);

    refilter();
    clearFields();
    m_deleteButton->setEnabled(false);
    m_stateButton->setEnabled(false);
    m_editMode = false;
}

void AccountForm::refilter()
{
    m_list->refilter(bankAccountFilter());
}

void AccountForm::reselect()
{
    m_list->reselect();
    m_deleteButton->setEnabled(false);
}

// Empty fields can never be saved.
void AccountForm::clearFields()
{
    m_nameEdit->clear();
    m_numberEdit->clear();
    m_amountEdit->clear();
    m_saveButton->setEnabled(false);
}
