#include "masterdataform.h"

#include "amountinput.h"
#include "colorsetting.h"
#include "dataprovider.h"
#include "datedelegate.h"
#include "paymentinstruction.h"
#include "postingresult.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlRelationalTableModel>
#include <QTableView>
#include <QVBoxLayout>

MasterDataList::MasterDataList(QWidget *parent, const QString &table, const QString &caption,
                               const QList<QPair<QString, QString>> &columns,
                               const QString &filter)
    : m_layout(new QVBoxLayout),
      m_label(new QLabel(caption, parent)),
      m_view(new QTableView(parent)),
      m_model(new QSqlRelationalTableModel(parent))
{
    m_model->setTable(table);
    m_model->setEditStrategy(QSqlTableModel::OnRowChange);
    if (!filter.isEmpty())
        m_model->setFilter(filter);

    // Only the listed columns are shown, each under its own caption.
    QList<int> shown;
    for (const auto &column : columns) {
        const int index = m_model->fieldIndex(column.first);
        if (index < 0)
            continue;
        m_model->setHeaderData(index, Qt::Horizontal, column.second);
        shown << index;
    }
    m_model->select();

    m_view->setModel(m_model);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->horizontalHeader()->setStretchLastSection(true);
    for (int column = 0; column < m_model->columnCount(); ++column)
        m_view->setColumnHidden(column, !shown.contains(column));

    m_label->setBuddy(m_view);
    m_layout->addWidget(m_label);
    m_layout->addWidget(m_view);
    updateHeader();
}

MasterDataList::~MasterDataList()
{
    m_model->clear();
    delete m_model;
    delete m_view;
    delete m_label;
}

void MasterDataList::refilter(const QString &filter)
{
    m_model->setFilter(filter);
    m_model->select();
    updateHeader();
}

void MasterDataList::reselect()
{
    m_model->select();
    updateHeader();
}

int MasterDataList::currentRow() const
{
    const QModelIndex index = m_view->currentIndex();
    return index.isValid() ? index.row() : -1;
}

QSqlRecord MasterDataList::currentRecord() const
{
    const int row = currentRow();
    return row >= 0 ? m_model->record(row) : QSqlRecord();
}

void MasterDataList::updateHeader()
{
    m_view->horizontalHeader()->setVisible(m_model->rowCount() > 0);
}

// ---------------------------------------------------------------------------

MasterDataForm::MasterDataForm(const QString &groupTitle, QWidget *parent, Frame frame)
    : QDialog(parent),
      m_outer(new QBoxLayout(frame == Frame::Booking ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this)),
      m_groupBox(new QGroupBox(groupTitle, this)),
      m_grid(new QGridLayout)
{
    m_outer->addWidget(m_groupBox);
    m_groupBox->setFont(QFont(QStringLiteral("Helvetica [Cronyx]"), 9));

    m_grid->setSpacing(frame == Frame::Booking ? 5 : 4);
    m_grid->setColumnStretch(2, 1);
    m_groupBox->setLayout(m_grid);
    if (frame == Frame::Booking)
        addCloseGroup();
}

MasterDataForm::~MasterDataForm()
{
    qDeleteAll(m_lists);
}

void MasterDataForm::addRow(int row, const QString &label, QWidget *field, int columnSpan)
{
    auto *caption = new QLabel(label, m_groupBox);
    caption->setBuddy(field);
    m_grid->addWidget(caption, row, 0);
    m_grid->addWidget(field, row, 1, 1, columnSpan);
}

QLineEdit *MasterDataForm::addField(int row, const QString &label, bool spanBoth)
{
    auto *field = new QLineEdit(m_groupBox);
    addRow(row, label, field, spanBoth ? 2 : 1);
    return field;
}

QLineEdit *MasterDataForm::addAmountField(int row, const QString &label, bool spanBoth)
{
    QLineEdit *field = addField(row, label, spanBoth);
    makeAmountField(field);
    return field;
}

QDialogButtonBox *MasterDataForm::addButtonBox(int row, int columnSpan)
{
    auto *box = new QDialogButtonBox(m_groupBox);
    m_grid->addWidget(box, row, 0, 1, columnSpan);
    return box;
}

QPushButton *MasterDataForm::addButton(QDialogButtonBox *box, const QString &text, bool enabled)
{
    QPushButton *button = box->addButton(text, QDialogButtonBox::ActionRole);
    button->setEnabled(enabled);
    // Return in an input field must not trigger an action by accident.
    button->setAutoDefault(false);
    return button;
}

// The close button of both frames.
static QPushButton *addCloseButton(QDialogButtonBox *box, QDialog *dialog)
{
    QPushButton *close = box->addButton(MasterDataForm::tr("Schliessen"), QDialogButtonBox::AcceptRole);
    close->setAutoDefault(false);
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    return close;
}

QPushButton *MasterDataForm::addCloseBox(int row, int columnSpan)
{
    return addCloseButton(addButtonBox(row, columnSpan), this);
}

void MasterDataForm::addCloseGroup()
{
    auto *group = new QGroupBox(this);
    auto *layout = new QVBoxLayout(group);
    auto *box = new QDialogButtonBox(group);
    addCloseButton(box, this);
    layout->addWidget(box);
    m_outer->addWidget(group);
}

void MasterDataForm::addBlank(int row)
{
    m_grid->addWidget(new QLabel(QStringLiteral(" "), m_groupBox), row, 1);
}

MasterDataList *MasterDataForm::addList(int row, const QString &table, const QString &caption,
                                        const QList<QPair<QString, QString>> &columns,
                                        const QString &filter, int columnSpan)
{
    auto *list = new MasterDataList(m_groupBox, table, caption, columns, filter);
    m_grid->addLayout(list->layout(), row, 0, 1, columnSpan);
    m_lists << list;
    return list;
}

void MasterDataForm::setStretchRow(int row, int minimumHeight, int stretch)
{
    m_grid->setRowMinimumHeight(row, minimumHeight);
    m_grid->setRowStretch(row, stretch);
}

QLineEdit *MasterDataForm::addBookingAmount(int row, const QString &label)
{
    QLineEdit *field = addAmountField(row, label, false);
    field->setObjectName(QStringLiteral("amountEdit"));
    field->setText(QStringLiteral("0.0"));
    return field;
}

QDateEdit *MasterDataForm::newBookingDate(int rangeDays)
{
    auto *field = new QDateEdit(QDate::currentDate(), m_groupBox);
    field->setObjectName(QStringLiteral("dateEdit"));
    field->setCalendarPopup(true);
    field->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    QDate firstDay, lastDay;
    ColorSetting::instance()->bookingDateRange(rangeDays, firstDay, lastDay);
    field->setDateRange(firstDay, lastDay);
    return field;
}

MasterDataList *MasterDataForm::addBookingList(int row, const QString &table, const QString &caption,
                                               const QList<QPair<QString, QString>> &columns,
                                               const QString &objectName)
{
    MasterDataList *list = addList(row, table, caption, columns);
    QSqlRelationalTableModel *model = list->model();
    const int dateColumn = model->fieldIndex(QStringLiteral("startdate"));
    model->setSort(dateColumn, Qt::DescendingOrder);
    list->view()->setObjectName(objectName);
    list->view()->setItemDelegateForColumn(dateColumn, new DateDelegate(list->view()));
    list->view()->setMinimumSize(400, 320);
    return list;
}

void MasterDataForm::finishFrame(const QString &windowTitle, int maxHeight, int maxWidth,
                                 int minWidth, QWidget *focus)
{
    setWindowIcon(QIcon(QStringLiteral("./Logo.ico")));
    setWindowTitle(windowTitle);
    setMaximumHeight(maxHeight);
    setMaximumWidth(maxWidth);
    setMinimumWidth(minWidth);
    if (focus)
        focus->setFocus();
}

void MasterDataForm::showInformation(const QString &title, const QString &text)
{
    QMessageBox::information(this, title, text, QMessageBox::Ok);
}

void MasterDataForm::showWarning(const QString &title, const QString &text)
{
    QMessageBox::warning(this, title, text, QMessageBox::Ok);
}

void MasterDataForm::showDataPresent(const QString &text)
{
    QMessageBox::warning(nullptr, tr("Daten vorhanden"), text, QMessageBox::Ok);
}

bool confirmDeletion(QWidget *parent, const QString &title, const QString &text)
{
    // Ok and Cancel carry the accept and reject roles; they only get the
    // German captions.
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    QAbstractButton *yes = box.button(QMessageBox::Ok);
    yes->setText(QCoreApplication::translate("MasterDataForm", "Ja"));
    box.button(QMessageBox::Cancel)->setText(QCoreApplication::translate("MasterDataForm", "Nein"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == yes;
}

bool MasterDataForm::confirm(const QString &title, const QString &text)
{
    return confirmDeletion(this, title, text);
}

PaymentInstruction *MasterDataForm::chosenInstrument(const QComboBox *combo) const
{
    if (combo->currentIndex() < 0)
        return nullptr;
    DataProvider *dp = DataProvider::instance();
    PaymentInstruction *instrument = dp->getPaymentInstrument(combo->currentData().toInt(), true);
    return instrument && dp->getAccount(instrument->getAccountId()) ? instrument : nullptr;
}

int MasterDataForm::confirmedRow(const MasterDataList *list, QPushButton *deleteButton,
                                 const QString &missingTitle, const QString &missingText)
{
    const int row = list->currentRow();
    if (row < 0) {
        showInformation(missingTitle, missingText);
        deleteButton->setEnabled(false);
        return -1;
    }
    return confirm(tr("Eintrag entfernen"), tr("Eintrag %1 löschen?").arg(row + 1)) ? row : -1;
}

void MasterDataForm::showPostingResult(const PostingResult &result)
{
    if (result.refusesInput())
        showWarning(result.title, result.text);
    else
        showInformation(result.title, result.text);
}

bool MasterDataForm::checkName(QLineEdit *field, QPushButton *saveButton)
{
    if (!field->text().trimmed().isEmpty())
        return true;
    saveButton->setEnabled(false);
    showWarning(tr("Name fehlt"), tr("Bitte einen Namen eingeben."));
    field->setFocus();
    return false;
}

bool MasterDataForm::readAmount(const QLineEdit *field, double limit, QPushButton *saveButton,
                                double &amount)
{
    return readAmount(field, limit, tr("Eröffnungs-Limite: %1").arg(QString::number(limit, 'f', 1)), saveButton,
                      amount);
}

bool MasterDataForm::readAmount(const QLineEdit *field, double limit, const QString &limitText,
                                QPushButton *saveButton, double &amount)
{
    if (acceptAmount(this, field->text(), limit, limitText, amount))
        return true;
    saveButton->setEnabled(false);
    return false;
}
