#pragma once

#include "masterdataform.h"

class QLineEdit;
class QPushButton;

// Two uses: in list mode it declares the sub-types of one expense type; in
// split mode it divides one booked expense into shares per sub-type.
class ExpenseSubTypeForm : public MasterDataForm
{
    Q_OBJECT

public:
    // List mode: the sub-types of the expense type typeId.
    explicit ExpenseSubTypeForm(int typeId, QWidget *parent = nullptr);
    // Split mode: shares of the expense expenseId (of type typeId) with
    // the booked amount.
    ExpenseSubTypeForm(int expenseId, int typeId, double amount, QWidget *parent = nullptr);
    ~ExpenseSubTypeForm() override;

public slots:
    void checktextEdits();
    void addAusgabenDetail();
    void newAusgabenSubTyp();
    void saveAusgabenSubTyp();
    void deleteExpenseTypeModel();
    void getTableViewIndex();
    void getExpenseDetailTableViewIndex();

private:
    void addSubTypeList(int row);
    void refilterSubTypes();
    void showRemainingAmount();

    bool m_listMode;
    int m_expenseId = 0;
    int m_typeId;
    double m_amount = 0.0;
    int m_rowId = 0;
    bool m_editMode = false;

    // List mode.
    QLineEdit *m_nameEdit = nullptr;
    QPushButton *m_newButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    // Split mode.
    QLineEdit *m_amountEdit = nullptr;
    QLineEdit *m_remainingEdit = nullptr;
    QLineEdit *m_shareEdit = nullptr;
    MasterDataList *m_detailList = nullptr;
    // Both modes.
    QPushButton *m_saveButton = nullptr;
    MasterDataList *m_subTypeList = nullptr;
};
