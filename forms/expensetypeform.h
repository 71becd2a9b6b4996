#pragma once

#include "masterdataform.h"

class QLineEdit;
class QPushButton;

// Declares the expense types with their yearly budget and opens the
// sub-types of the chosen type.
class ExpenseTypeForm : public MasterDataForm
{
    Q_OBJECT

public:
    explicit ExpenseTypeForm(int typeId, QWidget *parent = nullptr);
    ~ExpenseTypeForm() override;

public slots:
    void StartExpenseSubTypeForm();
    void checktextEdits();
    void newExpenseType();
    void saveExpenseType();
    void deleteExpenseType();
    void getTableViewIndex();

private:
    void insertExpenseType(double budget);
    void updateExpenseType(double budget);
    void clearFields();

    QLineEdit *m_nameEdit;
    QLineEdit *m_budgetEdit;
    QPushButton *m_newButton;
    QPushButton *m_saveButton;
    QPushButton *m_subTypesButton;
    QPushButton *m_deleteButton;
    MasterDataList *m_list;

    int m_typeId;
    bool m_editMode = false;
};
