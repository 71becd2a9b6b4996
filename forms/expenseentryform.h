#pragma once

#include "masterdataform.h"

class ExpenseTypeEntry;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

// Books the expenses of one expense type, lists those already booked,
// deletes one or opens the split of one over the type's sub-types.
class ExpenseEntryForm : public MasterDataForm
{
    Q_OBJECT

public:
    // The expense type is not owned; it must outlive the dialog.
    explicit ExpenseEntryForm(ExpenseTypeEntry *expenseType, QWidget *parent = nullptr);
    ~ExpenseEntryForm() override;

public slots:
    void checktextEdits();
    void checkBeguenstigterCB();
    void addAusgabe();
    void deleteAusgabe();
    void splitAusgabe();
    void getTableViewIndex();

private:
    void fillCombos();
    void refreshList();
    // Empties the inputs for the next booking, which "Speichern" waits for.
    void clearInputs();

    ExpenseTypeEntry *m_expenseType;
    int m_expenseTypeId;
    int m_expenseId = 0;
    double m_amount = 0.0;

    QLineEdit *m_amountEdit;
    QLineEdit *m_typeEdit;
    QComboBox *m_subTypeCombo;
    QComboBox *m_instrumentCombo;
    QComboBox *m_recipientCombo;
    QLineEdit *m_recipientEdit;
    QDateEdit *m_dateEdit;
    QLineEdit *m_remarkEdit;
    MasterDataList *m_list;
    QPushButton *m_saveButton;
    QPushButton *m_splitButton;
    QPushButton *m_deleteButton;
};
