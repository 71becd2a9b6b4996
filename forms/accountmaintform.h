#pragma once

#include "masterdataform.h"

class Account;
class PaymentInstruction;
class QLineEdit;
class QPushButton;

// Maintenance of the raw movements of the account behind one payment
// instrument: lists every movement that leaves from the account and corrects
// the reference columns of one of them. Amounts and balances stay untouched.
class AccountMaintForm : public MasterDataForm
{
    Q_OBJECT

public:
    // The instrument is not owned; it must outlive the dialog.
    explicit AccountMaintForm(PaymentInstruction *instrument, QWidget *parent = nullptr);
    ~AccountMaintForm() override;

public slots:
    void updateAccountEntry();
    void checktextEdits();
    void getTableViewIndex();

private:
    void refreshList();

    PaymentInstruction *m_instrument;
    Account *m_account;

    QLineEdit *m_amountEdit;
    QLineEdit *m_expenseIdEdit;
    QLineEdit *m_instrumentIdEdit;
    QLineEdit *m_txIdEdit;
    QLineEdit *m_movementIdEdit;
    QLineEdit *m_txTypeEdit;
    QLineEdit *m_incomeSourceEdit;
    MasterDataList *m_list;
    QPushButton *m_updateButton;
    QPushButton *m_deleteButton;
};
