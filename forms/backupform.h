#pragma once

#include "backupstore.h"
#include "masterdataform.h"

class QTableWidget;

// Lists the verified copies of the year file, newest first, with what each
// holds, and puts the chosen one back in place of the year file.
class BackupForm : public MasterDataForm
{
    Q_OBJECT

public:
    // refusal: why no copy may be put back now (German), empty when allowed.
    explicit BackupForm(const QString &refusal = QString(), QWidget *parent = nullptr);

    // True once a copy replaced the year file; the program must then end.
    bool restored() const { return m_restored; }

private:
    void fillList();
    void restoreSelected();

    BackupStore m_store;
    QList<BackupStore::Copy> m_copies;
    QTableWidget *m_list;
    QPushButton *m_restoreButton;
    QString m_refusal;
    bool m_restored = false;
};
