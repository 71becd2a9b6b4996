#include "expensetypeform.h"

#include "dataprovider.h"
#include "expensesubtypeform.h"
#include "masterdatawriter.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {
const double BudgetLimit = 999999.0;
}

ExpenseTypeForm::ExpenseTypeForm(int typeId, QWidget *parent)
    : MasterDataForm(tr("Ausgabentyp erfassen / entfernen"), parent),
      m_typeId(typeId)
{
    m_nameEdit = addField(0, tr("Ausgabentyp:"));
    m_budgetEdit = addAmountField(1, tr("Vorausichtliches Budget:"));

    QDialogButtonBox *actions = addButtonBox(2);
    m_newButton = addButton(actions, tr("Neuer Eintrag"));
    m_saveButton = addButton(actions, tr("Speichern"), false);

    m_list = addList(3, QStringLiteral("ausgaben_typen"), tr("Liste der Ausgabentypen"),
                     { { QStringLiteral("name"), tr("Name") },
                       { QStringLiteral("budget"), tr("Budget") } });
    addBlank(4);
    addBlank(5);

    QDialogButtonBox *typeActions = addButtonBox(6);
    m_subTypesButton = addButton(typeActions, tr("Ausgaben Unterbereiche"), false);
    m_deleteButton = addButton(typeActions, tr("Ausgabentyp entfernen"), false);
    addCloseBox(7);
    setStretchRow(7, 10, 1);

    connect(m_nameEdit, &QLineEdit::textEdited, this, &ExpenseTypeForm::checktextEdits);
    connect(m_budgetEdit, &QLineEdit::textEdited, this, &ExpenseTypeForm::checktextEdits);
    connect(m_newButton, &QPushButton::clicked, this, &ExpenseTypeForm::newExpenseType);
    connect(m_saveButton, &QPushButton::clicked, this, &ExpenseTypeForm::saveExpenseType);
    connect(m_subTypesButton, &QPushButton::clicked, this, &ExpenseTypeForm::StartExpenseSubTypeForm);
    connect(m_deleteButton, &QPushButton::clicked, this, &ExpenseTypeForm::deleteExpenseType);
    connect(m_list->view(), &QTableView::clicked, this, &ExpenseTypeForm::getTableViewIndex);

    finishFrame(tr("Ausgabentypen"), 650, 700, 400, m_nameEdit);
}

ExpenseTypeForm::~ExpenseTypeForm() = default;

void ExpenseTypeForm::StartExpenseSubTypeForm()
{
    if (!m_list->hasCurrentRow())
        return;
    const int id = m_list->currentRecord().value(QStringLiteral("id")).toInt();
    ExpenseSubTypeForm subTypes(id, this);
    subTypes.exec();
    m_list->reselect();
    m_subTypesButton->setEnabled(false);
}

void ExpenseTypeForm::checktextEdits()
{
    if (!m_nameEdit->text().isEmpty() && !m_budgetEdit->text().isEmpty())
        m_saveButton->setEnabled(true);
}

void ExpenseTypeForm::newExpenseType()
{
    clearFields();
    m_subTypesButton->setEnabled(false);
    m_deleteButton->setEnabled(false);
    m_nameEdit->setFocus();
    m_editMode = false;
}

void ExpenseTypeForm::getTableViewIndex()
{
    m_editMode = true;
    if (m_list->hasCurrentRow()) {
        const QSqlRecord row = m_list->currentRecord();
        m_typeId = row.value(QStringLiteral("id")).toInt();
        m_nameEdit->setText(row.value(QStringLiteral("name")).toString());
        m_budgetEdit->setText(row.value(QStringLiteral("budget")).toString());
        m_nameEdit->setEnabled(true);
        m_budgetEdit->setEnabled(true);
    }
    m_saveButton->setEnabled(false);
    m_deleteButton->setEnabled(true);
    m_subTypesButton->setEnabled(true);
}

void ExpenseTypeForm::saveExpenseType()
{
    double budget = 0.0;
    if (!checkName(m_nameEdit, m_saveButton))
        return;
    if (!readAmount(m_budgetEdit, BudgetLimit, m_saveButton, budget))
        return;
    if (m_editMode)
        updateExpenseType(budget);
    else
        insertExpenseType(budget);
    clearFields();
    m_editMode = false;
}

void ExpenseTypeForm::insertExpenseType(double budget)
{
    QString err;
    if (MasterDataWriter::insertExpenseType(m_nameEdit->text(), budget, err))
        m_list->reselect();
    else
        showInformation(tr("DB-Insert"), err);
    m_nameEdit->clear();
    m_saveButton->setEnabled(false);
}

void ExpenseTypeForm::updateExpenseType(double budget)
{
    if (m_typeId > 0) {
        QString err;
        if (MasterDataWriter::updateExpenseType(m_typeId, m_nameEdit->text(), budget, err))
            m_list->reselect();
        else
            showInformation(tr("DB-Update"), err);
    }
    m_saveButton->setEnabled(false);
}

void ExpenseTypeForm::deleteExpenseType()
{
    if (!m_list->hasCurrentRow())
        return;
    const int id = m_list->currentRecord().value(QStringLiteral("id")).toInt();
    DataProvider *data = DataProvider::instance();
    if (data->hasSubTypesOfType(id)) {
        showDataPresent(tr("Der Ausgabentyp kann nicht entfernt werden, da sich noch Einträge darunter befinden!"));
        return;
    }
    // Booked expenses name their type; it must stay while they exist.
    if (data->hasExpensesOfType(id)) {
        showDataPresent(tr("Der Ausgabentyp kann nicht entfernt werden, da noch Ausgaben darauf gebucht sind!"));
        return;
    }
    if (!confirm(tr("Ausgabentyp entfernen"), tr("Soll der gewählte Ausgabentyp gelöscht werden?")))
        return;

    QString err;
    if (!MasterDataWriter::deleteExpenseType(id, err))
        showInformation(tr("DB-Delete"), err);
    m_list->reselect();
    m_subTypesButton->setEnabled(false);
    m_deleteButton->setEnabled(false);
    clearFields();
    m_editMode = false;
}

void ExpenseTypeForm::clearFields()
{
    m_nameEdit->clear();
    m_budgetEdit->clear();
}
