#include "backupform.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>

BackupForm::BackupForm(const QString &refusal, QWidget *parent)
    : MasterDataForm(tr("Sicherungen der Finanzdatei"), parent),
      m_list(new QTableWidget(this)),
      m_refusal(refusal)
{
    m_list->setColumnCount(4);
    m_list->setHorizontalHeaderLabels({tr("Gesichert am"), tr("Ausgaben"), tr("Bewegungen"), tr("Summe der Salden")});
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    grid()->addWidget(m_list, 0, 0, 1, 3);
    setStretchRow(0, 260, 1);

    m_restoreButton = addButton(addButtonBox(1), tr("Zurückholen"), false);
    connect(m_restoreButton, &QPushButton::clicked, this, &BackupForm::restoreSelected);
    connect(m_list, &QTableWidget::itemSelectionChanged, this,
            [this] { m_restoreButton->setEnabled(!m_list->selectedItems().isEmpty()); });
    addCloseBox(2);

    fillList();
    finishFrame(tr("Sicherungen"), 700, 800, 560, m_list);
}

void BackupForm::fillList()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    m_copies = m_store.list();
    m_list->setRowCount(m_copies.size());
    for (int row = 0; row < m_copies.size(); ++row) {
        const BackupStore::Copy &copy = m_copies.at(row);
        const QStringList texts{copy.written.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")),
                                QString::number(copy.expenses), QString::number(copy.movements),
                                german.toString(copy.balanceSum, 'f', 2)};
        for (int column = 0; column < texts.size(); ++column) {
            auto *item = new QTableWidgetItem(texts.at(column));
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_list->setItem(row, column, item);
        }
    }
    m_list->resizeColumnsToContents();
}

void BackupForm::restoreSelected()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_copies.size())
        return;
    if (!m_refusal.isEmpty()) {
        showInformation(tr("Zurückholen"), m_refusal);
        return;
    }
    const BackupStore::Copy copy = m_copies.at(row);
    if (!confirm(tr("Zurückholen"),
                 tr("Soll die Finanzdatei durch die Sicherung vom %1 ersetzt werden? Der jetzige Stand wird "
                    "vorher selbst gesichert.").arg(copy.written.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")))))
        return;
    QString err;
    if (!m_store.restore(copy.path, err)) {
        showWarning(tr("Zurückholen"), err);
        fillList();
        return;
    }
    m_restored = true;
    showInformation(tr("Zurückholen"),
                    tr("Die Sicherung wurde zurückgeholt, das Programm wird nun heruntergefahren, bitte "
                       "anschliessend neu starten!"));
    accept();
}
