#pragma once

#include "masterdataform.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Declares cash, vouchers and credit cards. A linked credit card draws on
// a bank account; every other instrument gets an account of its own that
// carries its opening amount and balance.
class PaymentInstrForm : public MasterDataForm
{
    Q_OBJECT

public:
    explicit PaymentInstrForm(QWidget *parent = nullptr);
    ~PaymentInstrForm() override;

public slots:
    void checktextEdits();
    void checkRadioButton1();
    void checkRadioButton2();
    void checkRadioButton3();
    void checkHasAccount();
    void checkPrepaid();
    void newPaymentInstr();
    void savePaymentInstr();
    void deletePaymentInstr();
    void getTableViewIndex();

private:
    bool insertPaymentInstr();
    bool updatePaymentInstr(int id);
    void chooseOwnAccountType(const QString &example);
    // The kind as the radio buttons show it; a credit card shown with
    // "Anschluss an Konto" is a linked card.
    int chosenType() const;
    void refilter();
    void clearFields();
    void fillAccountCombo();
    void setRadioButtonsEnabled(bool enabled);

    QRadioButton *m_cardRadio;
    QRadioButton *m_cashRadio;
    QRadioButton *m_checkRadio;
    QRadioButton *m_linkedRadio;
    QRadioButton *m_prepaidRadio;
    QComboBox *m_accountCombo;
    QLineEdit *m_nameEdit;
    QLineEdit *m_numberEdit;
    QLineEdit *m_amountEdit;
    QPushButton *m_newButton;
    QPushButton *m_saveButton;
    QPushButton *m_deleteButton;
    MasterDataList *m_list;

    int m_rowId = 0;
    bool m_editMode = false;
};
