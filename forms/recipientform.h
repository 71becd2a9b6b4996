#pragma once

#include "masterdataform.h"

class QLineEdit;
class QPushButton;

// Declares the recipients to whom expenses are paid.
class RecipientForm : public MasterDataForm
{
    Q_OBJECT

public:
    // id: the recipient to start with, 0 for none.
    explicit RecipientForm(int id, QWidget *parent = nullptr);
    ~RecipientForm() override;

public slots:
    void checktextEdits();
    void newRecipient();
    void saveRecipient();
    void deleteRecipient();
    void getTableViewIndex();

private:
    QLineEdit *m_nameEdit;
    QPushButton *m_newButton;
    QPushButton *m_saveButton;
    QPushButton *m_deleteButton;
    MasterDataList *m_list;

    int m_rowId;
    bool m_editMode = false;
};
