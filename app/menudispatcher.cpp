#include "menudispatcher.h"

#include "recordpainting.h"

#include "applwindow.h"
#include "balancecheck.h"
#include "accountentryform.h"
#include "accountform.h"
#include "accountmaintform.h"
#include "colorsetting.h"
#include "expenseentryform.h"
#include "expensetypeform.h"
#include "dataprovider.h"
#include "expensetypeentry.h"
#include "fontresolver.h"
#include "imageitem.h"
#include "incomeentry.h"
#include "incomesrcform.h"
#include "paymentinstrform.h"
#include "paymentinstruction.h"
#include "picturescene.h"
#include "recipientform.h"
#include "reportpainter.h"
#include "sceneprovider.h"
#include "yeardataactions.h"

#include <QColor>
#include <QDialog>
#include <QMessageBox>

#include <memory>

MenuDispatcher *MenuDispatcher::s_instance = nullptr;

namespace {

const QColor HeaderGrey(45, 45, 45);

QString dataText(ImageItem *item, int key)
{
    return item->data(key).toString();
}

} // namespace

MenuDispatcher *MenuDispatcher::instance()
{
    if (!s_instance)
        s_instance = new MenuDispatcher;
    return s_instance;
}

void MenuDispatcher::release()
{
    delete s_instance;
    s_instance = nullptr;
}

ApplWindow *MenuDispatcher::window() const
{
    SceneProvider *provider = m_scenes;
    return provider ? qobject_cast<ApplWindow *>(provider->owner()) : nullptr;
}

PictureScene *MenuDispatcher::scene(int sceneId) const
{
    SceneProvider *provider = m_scenes;
    return provider ? provider->findScene(sceneId) : nullptr;
}

template<class Dialog>
void MenuDispatcher::runDialog(Dialog &dialog)
{
    if (dialog.exec() == QDialog::Accepted) {
        m_lastItem = nullptr;
        dialog.close();
    }
}

void MenuDispatcher::imageClicked(PictureKind kind, ImageItem *item)
{
    DataProvider::reloadIfStale(); // between clicks no report holds cached records
    if (!item || item == m_lastItem)
        return;
    m_lastItem = item;

    ApplWindow *win = window();
    PictureScene *efa = scene(1);
    PictureScene *afa = scene(2);

    switch (kind) {
    case PictureKind::Quit:
        if (win)
            win->close();
        break;
    case PictureKind::ChooseYearFile:
        m_lastItem = nullptr;
        if (win)
            win->chooseYearFile();
        break;
    case PictureKind::HelpPage:
        if (afa)
            ReportPainter().showHelpPage(afa);
        break;
    case PictureKind::ChangeYear:
        if (win)
            win->changeYear();
        break;
    case PictureKind::BackToMainMenu:
        if (win)
            win->showMainMenu();
        if (efa)
            efa->clearScene();
        break;
    case PictureKind::DrillDown: {
        if (!afa)
            break;
        const int code = item->data(ImageItem::DrillDownClass).toInt();
        const int id = item->data(ImageItem::DrillDownId).toInt();
        // Recipient rows carry the colour itself, sub-type lines its name.
        const QVariant colourData = item->data(ImageItem::DrillDownColour);
        const QColor colour = colourData.metaType().id() == QMetaType::QColor
            ? colourData.value<QColor>() : QColor(colourData.toString());
        if (code == FinanceBase::RecipientCode)
            ReportPainter().showRecipientExpenses(afa, id, colour);
        else if (code == FinanceBase::ExpenseEntryDetailCode)
            ReportPainter().showSubTypeExpenses(afa, id, colour);
        break;
    }
    case PictureKind::IncomePage:
    case PictureKind::ExpensesPage:
    case PictureKind::AccountsPage:
        showPageHeader(kind);
        if (efa && afa) {
            ReportPainter painter;
            if (kind == PictureKind::IncomePage) {
                painter.showIncomeSourceCards(efa);
                painter.showIncomeOverview(afa);
            } else if (kind == PictureKind::ExpensesPage) {
                painter.showExpenseTypeCards(efa);
                painter.showExpenseOverview(afa);
            } else {
                painter.showPaymentInstrumentCards(efa);
                painter.showAccountOverview(afa);
            }
        }
        break;
    case PictureKind::ExpenseOverview:
        if (afa)
            ReportPainter().showExpenseOverview(afa);
        break;
    case PictureKind::AccountOverview:
        if (afa)
            ReportPainter().showAccountOverview(afa);
        break;
    case PictureKind::IncomeOverview:
        if (afa)
            ReportPainter().showIncomeOverview(afa);
        break;
    case PictureKind::RecipientOverview:
        if (afa)
            ReportPainter().showRecipientOverview(afa);
        break;
    case PictureKind::MasterData:
        openSettings(item);
        break;
    case PictureKind::RecordReport:
        if (afa)
            showRecord(item, afa);
        break;
    case PictureKind::AccountAction:
        accountAction(item);
        break;
    case PictureKind::BookExpense:
        bookExpense(item);
        break;
    case PictureKind::CheckBalances:
        checkBalances();
        break;
    case PictureKind::Backups:
        m_lastItem = nullptr;
        YearDataActions(win).showBackups(win ? win->viewOnlyReason() : QString());
        break;
    case PictureKind::ExportCsv:
        m_lastItem = nullptr;
        YearDataActions(win).exportCsv();
        break;
    case PictureKind::ExportPdf:
        m_lastItem = nullptr;
        if (afa)
            YearDataActions(win).exportPdf(afa, dataText(item, ImageItem::ActionText));
        break;
    default:
        break;
    }
}

void MenuDispatcher::checkBalances()
{
    BalanceCheck check;
    QString err;
    if (!check.run(err)) {
        QMessageBox::warning(window(), tr("Salden prüfen"),
                             tr("Die Finanzdatei konnte nicht gelesen werden: %1").arg(err), QMessageBox::Ok);
    } else if (check.differences().isEmpty()) {
        QMessageBox::information(window(), tr("Salden prüfen"), check.report(), QMessageBox::Ok);
    } else {
        QMessageBox::warning(window(), tr("Salden prüfen"), check.report(), QMessageBox::Ok);
    }
    // The same picture may be clicked again after a correction.
    m_lastItem = nullptr;
}

// The header of a page: the main-menu pictures stay, a title box of the
// page's kind of record brings the page's back, settings and overview pictures.
void MenuDispatcher::showPageHeader(PictureKind kind)
{
    PictureScene *hfa = scene(0);
    if (!hfa)
        return;
    hfa->keepNamedItems(QStringLiteral("main-menu"), true, false);

    FinanceBase *header = nullptr;
    if (kind == PictureKind::IncomePage) {
        header = new IncomeEntry;
        header->setName(tr("Einkünfte"));
    } else if (kind == PictureKind::ExpensesPage) {
        header = new ExpenseTypeEntry;
        header->setName(tr("Ausgaben"));
    } else {
        auto *instrument = new PaymentInstruction;
        instrument->setInstrumentType(InstrumentType::AccountsPage);
        instrument->setName(tr("Konten - Zahlungsmittel"));
        header = instrument;
    }
    header->setId(0);
    RecordPainting::paintButton(header, QPoint(15, 95), hfa, FontResolver::sceneFont(2), HeaderGrey);
    delete header;
    hfa->update();
}

bool MenuDispatcher::yearIsCurrent() const
{
    if (ColorSetting::instance()->isYearCurrent())
        return true;
    // A later year or a write-protected file is not a past year: say why.
    const QString reason = window() ? window()->viewOnlyReason() : QString();
    QMessageBox::information(window(), tr("Laufendes Jahr"),
                             !reason.isEmpty() ? reason
                                               : tr("Die vorliegenden Daten entsprechen NICHT dem laufenden "
                                                    "Jahr, ein Verändern ist daher nicht möglich!"),
                             QMessageBox::Ok);
    return false;
}

void MenuDispatcher::bookExpense(ImageItem *item)
{
    if (item->recordType() != FinanceBase::ExpenseTypeEntryCode)
        return;
    const std::unique_ptr<ExpenseTypeEntry> type = DataProvider::instance()->getExpenseType(item->recordId());
    if (type && yearIsCurrent()) {
        ExpenseEntryForm dialog(type.get());
        runDialog(dialog);
    }
}

void MenuDispatcher::paymentInstrumentAction(PaymentInstruction *instrument, const QString &action)
{
    if (action == QLatin1String("Maintenance")) {
        AccountMaintForm dialog(instrument);
        runDialog(dialog);
    } else if (action == QLatin1String("Einzahlen")) {
        AccountEntryForm dialog(instrument);
        runDialog(dialog);
    } else {
        // Cash and the accounts' own instruments may also pay into vouchers
        // and cards with a balance of their own.
        QList<int> allowedTypes{InstrumentType::Cash};
        const int type = instrument->getInstrumentType();
        if (type == InstrumentType::Account || type == InstrumentType::Cash)
            allowedTypes << InstrumentType::Account << InstrumentType::Voucher << InstrumentType::PrepaidCard;
        AccountEntryForm dialog(instrument, allowedTypes);
        runDialog(dialog);
    }
}

void MenuDispatcher::accountAction(ImageItem *item)
{
    DataProvider *data = DataProvider::instance();
    const QString action = dataText(item, ImageItem::ActionText);
    switch (item->recordType()) {
    case FinanceBase::PaymentInstructionCode: {
        PaymentInstruction *instrument = data->getPaymentInstrument(item->recordId());
        if (instrument && yearIsCurrent())
            paymentInstrumentAction(instrument, action);
        break;
    }
    case FinanceBase::IncomeEntryCode:
        if (const std::unique_ptr<IncomeEntry> source = data->getIncomeSource(item->recordId());
            source && yearIsCurrent() && action == QLatin1String("Einzahlen")) {
            AccountEntryForm dialog(source.get(),
                                    QList<int>{InstrumentType::Account, InstrumentType::Cash, InstrumentType::Voucher});
            runDialog(dialog);
        }
        break;
    default:
        break;
    }
}

// A report of a record that no longer exists leaves the scene as it is.
void MenuDispatcher::showRecord(ImageItem *item, PictureScene *afa)
{
    DataProvider *data = DataProvider::instance();
    const int id = item->recordId();
    ReportPainter painter;
    switch (item->recordType()) {
    case FinanceBase::ExpenseTypeEntryCode:
        painter.showExpenseTypeReport(afa, data->getExpenseType(id).get());
        break;
    case FinanceBase::PaymentInstructionCode:
        painter.showPaymentInstrumentReport(afa, data->getPaymentInstrument(id));
        break;
    case FinanceBase::IncomeEntryCode:
        painter.showIncomeSourceReport(afa, data->getIncomeSource(id).get());
        break;
    default:
        break;
    }
}

void MenuDispatcher::openSettings(ImageItem *item)
{
    const QString which = dataText(item, ImageItem::ActionText);
    // A file open for viewing only (a later year, write-protected) keeps
    // its master data as it is.
    const QString viewOnly = window() ? window()->viewOnlyReason() : QString();
    if (!viewOnly.isEmpty() && which.endsWith(QLatin1String("Settings"))) {
        QMessageBox::information(window(), tr("Laufendes Jahr"), viewOnly, QMessageBox::Ok);
        return;
    }
    if (which == QLatin1String("RecipientSettings")) {
        RecipientForm dialog(0);
        runDialog(dialog);
    } else if (which == QLatin1String("AccountSettings")) {
        AccountForm dialog;
        runDialog(dialog);
    } else if (which == QLatin1String("PaymentSettings")) {
        PaymentInstrForm dialog;
        runDialog(dialog);
    } else if (which == QLatin1String("ExpenseSettings")) {
        ExpenseTypeForm dialog(0);
        runDialog(dialog);
    } else if (which == QLatin1String("IncomeSettings")) {
        IncomeSrcForm dialog(0);
        runDialog(dialog);
    } else {
        // An instrument's own settings picture: the instrument's action, unguarded.
        if (item->recordType() != FinanceBase::PaymentInstructionCode)
            return;
        if (PaymentInstruction *instrument = DataProvider::instance()->getPaymentInstrument(item->recordId()))
            paymentInstrumentAction(instrument, which);
    }
}
