#include "expensesubtypeform.h"

#include "amountinput.h"
#include "dataprovider.h"
#include "masterdatawriter.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {
QString subTypeFilter(int typeId)
{
    return QStringLiteral("ausgaben_typ_id = %1").arg(typeId);
}

QString detailFilter(int expenseId)
{
    return QStringLiteral("ausgaben_id = %1").arg(expenseId);
}
} // namespace

ExpenseSubTypeForm::ExpenseSubTypeForm(int typeId, QWidget *parent)
    : MasterDataForm(tr("Unterbereich erfassen / entfernen"), parent),
      m_listMode(true),
      m_typeId(typeId)
{
    m_nameEdit = addField(0, tr("Name:"));
    QDialogButtonBox *actions = addButtonBox(1);
    m_newButton = addButton(actions, tr("Neuer Eintrag"));
    m_saveButton = addButton(actions, tr("Speichern"), false);
    addBlank(2);
    addSubTypeList(3);
    addBlank(4);
    addBlank(5);
    QDialogButtonBox *listActions = addButtonBox(6);
    m_deleteButton = addButton(listActions, tr("Unterbereich entfernen"), false);
    addCloseBox(7);
    setStretchRow(7, 10, 1);

    connect(m_nameEdit, &QLineEdit::textEdited, this, &ExpenseSubTypeForm::checktextEdits);
    connect(m_newButton, &QPushButton::clicked, this, &ExpenseSubTypeForm::newAusgabenSubTyp);
    connect(m_saveButton, &QPushButton::clicked, this, &ExpenseSubTypeForm::saveAusgabenSubTyp);
    connect(m_deleteButton, &QPushButton::clicked, this, &ExpenseSubTypeForm::deleteExpenseTypeModel);

    finishFrame(tr("Ausgaben-Unterbereich"), 650, 700, 400, m_nameEdit);
}

ExpenseSubTypeForm::ExpenseSubTypeForm(int expenseId, int typeId, double amount, QWidget *parent)
    : MasterDataForm(tr("Betrag aufteilen"), parent),
      m_listMode(false),
      m_expenseId(expenseId),
      m_typeId(typeId),
      m_amount(amount)
{
    m_amountEdit = addField(0, tr("Erfasster Betrag:"));
    m_amountEdit->setText(QString::number(amount, 'f', 2));
    m_amountEdit->setEnabled(false);
    m_remainingEdit = addField(1, tr("Verbleibender Betrag:"));
    m_remainingEdit->setEnabled(false);
    m_shareEdit = addAmountField(2, tr("Betragsanteil:"));
    QDialogButtonBox *actions = addButtonBox(3);
    m_saveButton = addButton(actions, tr("Speichern"), false);
    addBlank(4);
    addSubTypeList(5);
    // The shares already entered, so that the user sees what the remaining
    // amount is made of.
    m_detailList = addList(6, QStringLiteral("ausgaben_detail"), tr("Liste der Ausgabendetails"),
                           { { QStringLiteral("betrag"), tr("Betrag") } }, detailFilter(expenseId));
    connect(m_detailList->view(), &QTableView::clicked, this,
            &ExpenseSubTypeForm::getExpenseDetailTableViewIndex);
    addCloseBox(7);

    connect(m_shareEdit, &QLineEdit::textEdited, this, &ExpenseSubTypeForm::checktextEdits);
    connect(m_saveButton, &QPushButton::clicked, this, &ExpenseSubTypeForm::addAusgabenDetail);

    finishFrame(tr("Ausgaben Details"), 650, 700, 400, m_shareEdit);
    showRemainingAmount();
}

ExpenseSubTypeForm::~ExpenseSubTypeForm() = default;

void ExpenseSubTypeForm::addSubTypeList(int row)
{
    m_subTypeList = addList(row, QStringLiteral("ausgaben_sub_typen"),
                            tr("Liste der Ausgaben-Unterbereiche"),
                            { { QStringLiteral("name"), tr("Name") } }, subTypeFilter(m_typeId));
    connect(m_subTypeList->view(), &QTableView::clicked, this, &ExpenseSubTypeForm::getTableViewIndex);
}

void ExpenseSubTypeForm::checktextEdits()
{
    if (m_listMode)
        m_saveButton->setEnabled(!m_nameEdit->text().isEmpty());
    else
        m_saveButton->setEnabled(!m_shareEdit->text().isEmpty() && m_subTypeList->hasCurrentRow());
}

// ---- Split mode ---------------------------------------------------------------

void ExpenseSubTypeForm::addAusgabenDetail()
{
    const int subTypeId = m_subTypeList->hasCurrentRow()
        ? m_subTypeList->currentRecord().value(QStringLiteral("id")).toInt()
        : -1;
    double share = 0.0;
    // A refused share stays in the field for correction.
    if (!checkAmountFormat(this, m_shareEdit->text(), share))
        return;
    const double remaining = MasterDataWriter::remainingShare(m_expenseId, m_amount);
    if (DataProvider::toCents(share) <= 0) {
        showWarning(tr("Betrag ungültig!"), tr("Bitte einen Betragsanteil grösser als 0 eingeben."));
        return;
    }
    if (DataProvider::toCents(share) > DataProvider::toCents(remaining)) {
        showWarning(tr("Betrag ungültig!"),
                    tr("Der Betragsanteil ist grösser als der verbleibende Betrag von %1!")
                        .arg(QString::number(remaining, 'f', 2)));
        return;
    }

    QString err;
    if (!MasterDataWriter::addExpenseShare(m_expenseId, subTypeId, share, m_amount, err))
        showInformation(tr("DB-Insert"), err);
    m_detailList->refilter(detailFilter(m_expenseId));
    m_saveButton->setEnabled(false);
    m_shareEdit->clear();
    showRemainingAmount();
}

void ExpenseSubTypeForm::showRemainingAmount()
{
    const double remaining = MasterDataWriter::remainingShare(m_expenseId, m_amount);
    if (remaining > 0.0) {
        m_remainingEdit->setText(QString::number(remaining, 'f', 2));
        return;
    }
    // Everything is split: no further share can be entered.
    m_remainingEdit->setText(QStringLiteral("0.0"));
    m_remainingEdit->setEnabled(false);
    m_shareEdit->setEnabled(false);
}

void ExpenseSubTypeForm::getExpenseDetailTableViewIndex()
{
}

// ---- List mode ----------------------------------------------------------------

void ExpenseSubTypeForm::newAusgabenSubTyp()
{
    m_nameEdit->clear();
    m_deleteButton->setEnabled(false);
    m_nameEdit->setEnabled(true);
    m_nameEdit->setFocus();
    m_editMode = false;
}

void ExpenseSubTypeForm::getTableViewIndex()
{
    checktextEdits();
    if (!m_listMode)
        return; // in split mode a click only chooses the sub-type of the next share
    m_editMode = true;
    if (m_subTypeList->hasCurrentRow()) {
        const QSqlRecord row = m_subTypeList->currentRecord();
        m_rowId = row.value(QStringLiteral("id")).toInt();
        m_nameEdit->setText(row.value(QStringLiteral("name")).toString());
        m_nameEdit->setEnabled(true);
    }
    m_saveButton->setEnabled(false);
    m_deleteButton->setEnabled(true);
}

void ExpenseSubTypeForm::saveAusgabenSubTyp()
{
    if (!checkName(m_nameEdit, m_saveButton))
        return;
    QString err;
    if (m_editMode) {
        if (m_rowId > 0 && !MasterDataWriter::updateExpenseSubType(m_rowId, m_nameEdit->text(), err))
            showInformation(tr("DB-Update"), err);
        refilterSubTypes();
        m_saveButton->setEnabled(false);
    } else {
        if (MasterDataWriter::insertExpenseSubType(m_typeId, m_nameEdit->text(), err))
            refilterSubTypes();
        else
            showInformation(tr("DB-Insert"), err);
        // "Neuer Eintrag" opens the field for the next one.
        m_nameEdit->setEnabled(false);
        m_saveButton->setEnabled(false);
    }
    m_nameEdit->clear();
    m_editMode = false;
}

void ExpenseSubTypeForm::deleteExpenseTypeModel()
{
    if (!m_subTypeList->hasCurrentRow())
        return;
    const int id = m_subTypeList->currentRecord().value(QStringLiteral("id")).toInt();
    if (DataProvider::instance()->hasDetailsOfSubType(id)) {
        showDataPresent(tr("Der Ausgaben-Unterbereich kann nicht entfernt werden, da sich noch Einträge darunter befinden!"));
        return;
    }
    if (!confirm(tr("Ausgabentyp entfernen"), tr("Soll der Ausgaben-Unterbereich gelöscht werden?")))
        return;

    QString err;
    if (!MasterDataWriter::deleteExpenseSubType(id, err))
        showInformation(tr("DB-Delete"), err);
    refilterSubTypes();
    m_nameEdit->clear();
    m_deleteButton->setEnabled(false);
}

void ExpenseSubTypeForm::refilterSubTypes()
{
    m_subTypeList->refilter(subTypeFilter(m_typeId));
}
