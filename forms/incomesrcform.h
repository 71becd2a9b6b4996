#pragma once

#include "masterdataform.h"

class QLineEdit;
class QPushButton;

// Declares the income sources with the income expected from each over the
// year.
class IncomeSrcForm : public MasterDataForm
{
    Q_OBJECT

public:
    // id: the income source to start with, 0 for none.
    explicit IncomeSrcForm(int id, QWidget *parent = nullptr);
    ~IncomeSrcForm() override;

public slots:
    void checktextEdits();
    void newIncomeSrc();
    void saveIncomeSrc();
    void deleteIncomeSrc();
    void getTableViewIndex();

private:
    void clearFields();

    QLineEdit *m_nameEdit;
    QLineEdit *m_volumeEdit;
    QPushButton *m_newButton;
    QPushButton *m_saveButton;
    QPushButton *m_deleteButton;
    MasterDataList *m_list;

    int m_rowId;
    bool m_editMode = false;
};
