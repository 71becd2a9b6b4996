#pragma once

#include <QDialog>
#include <QList>

#include <memory>

class Account;
class IncomeEntry;
class MasterDataList;
class PaymentInstruction;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// Books money moving onto or between accounts. In transfer mode an amount
// goes from the account behind one payment instrument to the account behind
// another, as a pair of movements sharing one transaction id; in deposit
// mode an incoming payment from an income source is booked onto an account.
// Each mode lists the account's matching movements and deletes one (a
// transfer only as its pair).
class AccountEntryForm : public QDialog
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

    void buildFrame(const QString &groupTitle, const QString &windowTitle);
    void buildList(int row, const QString &label);
    void buildButtons(int row);
    void buildTransfer(const QList<int> &allowedTypes);
    void buildDepositFromSource(const QList<int> &allowedTypes);
    void buildDepositIntoInstrument();
    void finishFrame();
    void refreshView(int accountId, int opFlag);
    void clearInputs();
    int accountId() const;
    bool askDelete(int row);
    void refuseWithoutAccount();

    Mode m_mode;
    PaymentInstruction *m_instrument = nullptr;
    Account *m_account = nullptr;
    IncomeEntry *m_incomeSource = nullptr;
    int m_incomeSourceId = 0;

    QGridLayout *m_grid = nullptr;
    QLineEdit *m_amountEdit = nullptr;
    QLineEdit *m_remarkEdit = nullptr;
    QDateEdit *m_dateEdit = nullptr;
    // Transfer: the target instruments; deposit from a source: the receiving
    // instruments. Each entry carries the instrument's id.
    QComboBox *m_instrumentCombo = nullptr;
    // Deposit into an instrument: income sources (with ids) and "Andere".
    QComboBox *m_incomeCombo = nullptr;
    QLineEdit *m_incomeEdit = nullptr;
    std::unique_ptr<MasterDataList> m_list;
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_plusButton = nullptr;
    QPushButton *m_minusButton = nullptr;
};
