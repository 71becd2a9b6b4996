#include "masterdataform.h"

#include "amountinput.h"
#include "colorsetting.h"
#include "picturescene.h"
#include "reportpainter.h"
#include "sceneprovider.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlRelationalTableModel>
#include <QTableView>
#include <QVBoxLayout>

void redrawInputCards(CardList list)
{
    SceneProvider *provider = ColorSetting::instance()->sceneProvider();
    if (!provider)
        return;
    PictureScene *scene = provider->findScene(1);
    if (!scene)
        return;
    ReportPainter painter;
    switch (list) {
    case CardList::PaymentInstruments:
        painter.showPaymentInstrumentCards(scene);
        break;
    case CardList::ExpenseTypes:
        painter.showExpenseTypeCards(scene);
        break;
    case CardList::IncomeSources:
        painter.showIncomeSourceCards(scene);
        break;
    }
}

// ---------------------------------------------------------------------------

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

MasterDataForm::MasterDataForm(const QString &groupTitle, QWidget *parent)
    : QDialog(parent),
      m_groupBox(new QGroupBox(groupTitle, this)),
      m_grid(new QGridLayout)
{
    auto *outer = new QHBoxLayout(this);
    outer->addWidget(m_groupBox);
    m_groupBox->setFont(QFont(QStringLiteral("Helvetica [Cronyx]"), 9));

    m_grid->setSpacing(4);
    m_grid->setColumnStretch(2, 1);
    m_groupBox->setLayout(m_grid);
}

MasterDataForm::~MasterDataForm()
{
    qDeleteAll(m_lists);
}

QLineEdit *MasterDataForm::addField(int row, const QString &label, bool spanBoth)
{
    auto *caption = new QLabel(label, m_groupBox);
    auto *field = new QLineEdit(m_groupBox);
    caption->setBuddy(field);
    m_grid->addWidget(caption, row, 0);
    m_grid->addWidget(field, row, 1, 1, spanBoth ? 2 : 1);
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

QGroupBox *newCloseGroup(QDialog *dialog)
{
    auto *group = new QGroupBox;
    auto *layout = new QVBoxLayout(group);
    auto *box = new QDialogButtonBox;
    QPushButton *close = box->addButton(QCoreApplication::translate("MasterDataForm", "Schliessen"),
                                        QDialogButtonBox::AcceptRole);
    close->setAutoDefault(false);
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    layout->addWidget(box);
    return group;
}

QPushButton *MasterDataForm::addCloseBox(int row, int columnSpan)
{
    auto *box = addButtonBox(row, columnSpan);
    QPushButton *close = box->addButton(tr("Schliessen"), QDialogButtonBox::AcceptRole);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    return close;
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
    if (acceptAmount(this, field->text(), limit,
                     tr("Eröffnungs-Limite: %1").arg(QString::number(limit, 'f', 1)), amount))
        return true;
    saveButton->setEnabled(false);
    return false;
}
