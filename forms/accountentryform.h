#pragma once

#include "masterdataform.h"

#include <QList>

class Account;
class IncomeEntry;
class PaymentInstruction;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

// Books money moving onto or between accounts. In transfer mode an amount
// goes from the account behind one payment instrument to the account behind
// another, as a pair of movements sharing one transaction id; in deposit
// mode an incoming payment from an income source is booked onto an account.
// Each mode lists the account's matching movements and deletes one (a
// transfer only as its pair).
class AccountEntryForm : public MasterDataForm
{
    Q_OBJECT

public:
    // The records are not owned; they must outlive the dialog.

    // Transfer from the account of the source instrument to the account of an
    // instrument whose zahlungsmittel_typ is one of allowedTypes.
    AccountEntryForm(PaymentInstruction *source, const QList<int> &allowedTypes,
                     QWidget *parent = nullptr);
    // Deposit from the income source onto the account of an instrument whose
    // zahlungsmittel_typ is one of allowedTypes.
    AccountEntryForm(IncomeEntry *incomeSource, const QList<int> &allowedTypes,
                     QWidget *parent = nullptr);
    // Deposit onto the account of the receiving instrument.
    explicit AccountEntryForm(PaymentInstruction *receiver, QWidget *parent = nullptr);
    ~AccountEntryForm() override;

public slots:
    void checktextEdits();
    void checkRecipientCB();
    void checkIncomeSourceCB();
    void addEinnahme();
    void removeEinnahme();
    void refreshViewPlusAmount();
    void refreshViewMinusAmount();
    void getTableViewIndex();
    void determineTransfer();
    void deleteTransfer();

private:
    enum Mode { TransferMode, DepositMode };

    void buildTransfer(const QList<int> &allowedTypes);
    void buildDepositFromSource(const QList<int> &allowedTypes);
    void buildDepositIntoInstrument();
    void addDepositRows();
    void addRemarkAndDate(int row);
    void addMovementList(int row, const QString &label);
    void addButtons(int row);
    void finish(const QString &windowTitle);
    void refreshView(int accountId, int opFlag);
    // Empties the inputs for the next booking, which "Speichern" waits for.
    void clearInputs();
    int accountId() const;
    void refuseWithoutAccount();

    Mode m_mode;
    PaymentInstruction *m_instrument = nullptr;
    Account *m_account = nullptr;
    IncomeEntry *m_incomeSource = nullptr;
    int m_incomeSourceId = 0;

    QLineEdit *m_amountEdit = nullptr;
    QLineEdit *m_remarkEdit = nullptr;
    QDateEdit *m_dateEdit = nullptr;
    // Transfer: the target instruments; deposit from a source: the receiving
    // instruments. Each entry carries the instrument's id.
    QComboBox *m_instrumentCombo = nullptr;
    // Deposit into an instrument: income sources (with ids) and "Andere".
    QComboBox *m_incomeCombo = nullptr;
    QLineEdit *m_incomeEdit = nullptr;
    MasterDataList *m_list = nullptr;
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_plusButton = nullptr;
    QPushButton *m_minusButton = nullptr;
};
