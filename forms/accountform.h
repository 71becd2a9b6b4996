#pragma once

#include "masterdataform.h"

class QLineEdit;
class QPushButton;

// Declares the bank accounts. Every bank account is stored together with
// its own payment instrument, which bookings use.
class AccountForm : public MasterDataForm
{
    Q_OBJECT

public:
    explicit AccountForm(QWidget *parent = nullptr);
    ~AccountForm() override;

public slots:
    void checktextEdits();
    void newAccount();
    void saveAccount();
    void setActivInactive();
    void deleteAccount();
    void getTableViewIndex();

private:
    void insertAccount(double amount);
    void updateAccount(double amount);
    void refilter();
    void reselect();
    void clearFields();

    QLineEdit *m_nameEdit;
    QLineEdit *m_numberEdit;
    QLineEdit *m_amountEdit;
    QPushButton *m_newButton;
    QPushButton *m_saveButton;
    QPushButton *m_stateButton;
    QPushButton *m_deleteButton;
    MasterDataList *m_list;

    int m_rowId = 0;
    bool m_editMode = false;
};
