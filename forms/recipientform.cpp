#include "recipientform.h"

#include "dataprovider.h"
#include "masterdatawriter.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

RecipientForm::RecipientForm(int id, QWidget *parent)
    : MasterDataForm(tr("Begünstigter erfassen / entfernen"), parent),
      m_rowId(id)
{
    m_nameEdit = addField(0, tr("Name des Begünstigten:"));
    QDialogButtonBox *actions = addButtonBox(1);
    m_newButton = addButton(actions, tr("Neuer Eintrag"));
    m_saveButton = addButton(actions, tr("Speichern"), false);
    addBlank(2);
    m_list = addList(3, QStringLiteral("beguenstigte"), tr("Liste der Begünstigten"),
                     { { QStringLiteral("name"), tr("Name") } });
    addBlank(4);
    addBlank(5);
    QDialogButtonBox *listActions = addButtonBox(6);
    m_deleteButton = addButton(listActions, tr("Begünstigter entfernen"), false);
    addCloseBox(7);
    setStretchRow(7, 10, 1);

    connect(m_nameEdit, &QLineEdit::textEdited, this, &RecipientForm::checktextEdits);
    connect(m_newButton, &QPushButton::clicked, this, &RecipientForm::newRecipient);
    connect(m_saveButton, &QPushButton::clicked, this, &RecipientForm::saveRecipient);
    connect(m_deleteButton, &QPushButton::clicked, this, &RecipientForm::deleteRecipient);
    connect(m_list->view(), &QTableView::clicked, this, &RecipientForm::getTableViewIndex);

    finishFrame(tr("Begünstigte"), 650, 700, 400, m_nameEdit);
}

RecipientForm::~RecipientForm() = default;

void RecipientForm::checktextEdits()
{
    m_saveButton->setEnabled(!m_nameEdit->text().isEmpty());
}

void RecipientForm::newRecipient()
{
    m_nameEdit->clear();
    m_deleteButton->setEnabled(false);
    m_nameEdit->setFocus();
    m_editMode = false;
}

void RecipientForm::getTableViewIndex()
{
    m_editMode = true;
    if (m_list->hasCurrentRow()) {
        const QSqlRecord row = m_list->currentRecord();
        m_rowId = row.value(QStringLiteral("id")).toInt();
        m_nameEdit->setText(row.value(QStringLiteral("name")).toString());
        m_nameEdit->setEnabled(true);
    }
    m_saveButton->setEnabled(false);
    m_deleteButton->setEnabled(true);
}

void RecipientForm::saveRecipient()
{
    if (!checkName(m_nameEdit, m_saveButton))
        return;
    QString err;
    if (m_editMode) {
        if (m_rowId > 0) {
            if (MasterDataWriter::updateRecipient(m_rowId, m_nameEdit->text(), err))
                m_list->reselect();
            else
                showInformation(tr("Fehler beim aktualisieren: "), err);
        }
    } else if (MasterDataWriter::insertRecipient(m_nameEdit->text(), err)) {
        m_list->reselect();
    } else {
        showInformation(tr("DB-Insert"), err);
    }
    m_saveButton->setEnabled(false);
    m_nameEdit->clear();
    m_editMode = false;
}

void RecipientForm::deleteRecipient()
{
    if (!m_list->hasCurrentRow())
        return;
    const int id = m_list->currentRecord().value(QStringLiteral("id")).toInt();
    DataProvider *data = DataProvider::instance();
    if (data->hasExpensesOfRecipient(id)) {
        showDataPresent(tr("Der Begünstigte kann nicht entfernt werden, da sich noch Einträge darunter befinden!"));
        return;
    }
    if (!confirm(tr("Begünstigter entfernen"), tr("Soll der gewählte Begünstigte gelöscht werden?")))
        return;

    QString err;
    if (!data->deleteRecipient(id, err))
        showInformation(tr("Fehler beim löschen des Begünstigten: "), err);
    m_list->reselect();
    m_deleteButton->setEnabled(false);
    m_nameEdit->clear();
    m_editMode = false;
}
