#include "historyfileform.h"

#include "archivefileinfo.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

HistoryFileForm::HistoryFileForm(QWidget *parent)
    : QDialog(parent),
      m_fileTable(new QTableWidget(0, 1, this)),
      m_label(new QLabel(this)),
      m_cancelButton(new QPushButton(tr("abbrechen"), this)),
      m_okButton(new QPushButton(tr("Ok"), this))
{
    m_okButton->setEnabled(false);

    m_fileTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_fileTable->setHorizontalHeaderLabels(QStringList{tr("Finanz-Dateien")});
    m_fileTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_fileTable->verticalHeader()->hide();
    m_fileTable->setShowGrid(false);
    connect(m_fileTable, &QTableWidget::cellClicked, this, &HistoryFileForm::openFileOfItem);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_okButton);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_fileTable, 0, 0, 1, 3);
    grid->addWidget(m_label, 1, 0, 1, 3);
    grid->addLayout(buttons, 2, 0, 1, 3);

    // One row per selectable year file, shown by its bare name.
    QStringList files;
    ArchiveFileInfo().otherFiles(files);
    for (const QString &name : files) {
        const int row = m_fileTable->rowCount();
        m_fileTable->insertRow(row);
        auto *item = new QTableWidgetItem(name);
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        m_fileTable->setItem(row, 0, item);
    }

    setWindowIcon(QIcon(QStringLiteral("./Logo.ico")));
    setWindowTitle(tr("Finanz-Dateien - aktuell und alte"));
    setMaximumWidth(450);
    setMinimumWidth(250);
    resize(400, 300);
}

void HistoryFileForm::openFileOfItem(int row, int /*column*/)
{
    if (QTableWidgetItem *item = m_fileTable->item(row, 0)) {
        m_selectedFile = item->text();
        m_okButton->setEnabled(true);
    }
}
