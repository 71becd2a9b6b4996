#pragma once

#include <QDialog>
#include <QDir>

class QLabel;
class QPushButton;
class QTableWidget;

// Lets the user choose the year file (current or archived) that the program
// opens at its next start.
class HistoryFileForm : public QDialog
{
    Q_OBJECT

public:
    explicit HistoryFileForm(QWidget *parent = nullptr);

    QString selectedFile() const { return m_selectedFile; }

private slots:
    void openFileOfItem(int row, int column);

private:
    QTableWidget *m_fileTable;
    QLabel *m_label;
    QPushButton *m_cancelButton;
    QPushButton *m_okButton;
    QDir m_dir;
    QString m_selectedFile;
};
