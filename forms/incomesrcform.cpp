#include "incomesrcform.h"

#include "dataprovider.h"
#include "incomeentry.h"
#include "masterdatawriter.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {
const double VolumeLimit = 999999.0;
}

IncomeSrcForm::IncomeSrcForm(int id, QWidget *parent)
    : MasterDataForm(tr("Einnahmequelle erfassen / entfernen"), parent),
      m_rowId(id)
{
    m_nameEdit = addField(0, tr("Einnahmequelle:"));
    m_volumeEdit = addAmountField(1, tr("Erwartete Einkünfte:"));
    QDialogButtonBox *actions = addButtonBox(2);
    m_newButton = addButton(actions, tr("Neuer Eintrag"));
    m_saveButton = addButton(actions, tr("Speichern"), false);
    m_list = addList(3, QStringLiteral("einnahme_quelle"), tr("Liste der Einnahmequellen"),
                     { { QStringLiteral("name"), tr("Name") },
                       { QStringLiteral("betrags_volumen"), tr("Voraussichtliche Einkünfte") } });
    addBlank(4);
    addBlank(5);
    QDialogButtonBox *listActions = addButtonBox(6);
    m_deleteButton = addButton(listActions, tr("Einnahmequelle entfernen"), false);
    addCloseBox(7);
    setStretchRow(7, 10, 1);

    connect(m_nameEdit, &QLineEdit::textEdited, this, &IncomeSrcForm::checktextEdits);
    connect(m_volumeEdit, &QLineEdit::textEdited, this, &IncomeSrcForm::checktextEdits);
    connect(m_newButton, &QPushButton::clicked, this, &IncomeSrcForm::newIncomeSrc);
    connect(m_saveButton, &QPushButton::clicked, this, &IncomeSrcForm::saveIncomeSrc);
    connect(m_deleteButton, &QPushButton::clicked, this, &IncomeSrcForm::deleteIncomeSrc);
    connect(m_list->view(), &QTableView::clicked, this, &IncomeSrcForm::getTableViewIndex);

    finishFrame(tr("Einnahmequellen"), 650, 700, 400, m_nameEdit);
}

IncomeSrcForm::~IncomeSrcForm() = default;

void IncomeSrcForm::checktextEdits()
{
    if (!m_nameEdit->text().isEmpty() && !m_volumeEdit->text().isEmpty())
        m_saveButton->setEnabled(true);
}

void IncomeSrcForm::newIncomeSrc()
{
    clearFields();
    m_deleteButton->setEnabled(false);
    m_nameEdit->setFocus();
    m_editMode = false;
}

void IncomeSrcForm::getTableViewIndex()
{
    m_editMode = true;
    if (m_list->hasCurrentRow()) {
        const QSqlRecord row = m_list->currentRecord();
        m_rowId = row.value(QStringLiteral("id")).toInt();
        m_nameEdit->setText(row.value(QStringLiteral("name")).toString());
        m_volumeEdit->setText(row.value(QStringLiteral("betrags_volumen")).toString());
        m_nameEdit->setEnabled(true);
        m_volumeEdit->setEnabled(true);
    }
    m_saveButton->setEnabled(false);
    m_deleteButton->setEnabled(true);
}

void IncomeSrcForm::saveIncomeSrc()
{
    double volume = 0.0;
    if (!checkName(m_nameEdit, m_saveButton))
        return;
    if (!readAmount(m_volumeEdit, VolumeLimit, m_saveButton, volume))
        return;

    QString err;
    if (m_editMode) {
        if (m_rowId > 0) {
            if (MasterDataWriter::updateIncomeSource(m_rowId, m_nameEdit->text(), volume, err))
                m_list->reselect();
            else
                showInformation(tr("Fehler beim aktualisieren: "), err);
        }
    } else if (MasterDataWriter::insertIncomeSource(m_nameEdit->text(), volume, err)) {
        m_list->reselect();
    } else {
        showInformation(tr("DB-Insert"), err);
    }
    m_saveButton->setEnabled(false);
    clearFields();
    m_editMode = false;
}

void IncomeSrcForm::deleteIncomeSrc()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    const int id = m_list->currentRecord().value(QStringLiteral("id")).toInt();
    DataProvider *data = DataProvider::instance();

    if (!data->getIncomeMovements(id).isEmpty()) {
        showDataPresent(tr("Die Einnahmequelle kann nicht entfernt werden, da sich noch Einträge darunter befinden!"));
        return;
    }
    // The question names the position in the list, counted from 1.
    if (!confirm(tr("Eintrag entfernen"), tr("Eintrag %1 löschen?").arg(row + 1)))
        return;

    QString err;
    if (!data->deleteIncomeSource(id, err))
        showInformation(tr("Fehler beim löschen der Einnahmequelle: "), err);
    m_list->reselect();
    m_deleteButton->setEnabled(false);
    clearFields();
    m_editMode = false;
}

void IncomeSrcForm::clearFields()
{
    m_nameEdit->clear();
    m_volumeEdit->clear();
}
