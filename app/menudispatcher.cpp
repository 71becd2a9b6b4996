#include "menudispatcher.h"

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
#include "imageitem.h"
#include "incomeentry.h"
#include "incomesrcform.h"
#include "paymentinstrform.h"
#include "paymentinstruction.h"
#include "picturescene.h"
#include "recipientform.h"
#include "reportpainter.h"
#include "sceneprovider.h"

#include <QColor>
#include <QDialog>
#include <QMessageBox>

MenuDispatcher *MenuDispatcher::s_instance = nullptr;

namespace {

const QColor HeaderGrey(45, 45, 45);

// Records that getRecord() makes anew rather than lending from the cache.
void releaseRecord(FinanceBase *record)
{
    if (!record)
        return;
    const int code = record->getTypeCode();
    if (code == 15 || code == 16 || code == 17 || code == 19)
        delete record;
}

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
    SceneProvider *provider = ColorSetting::instance()->sceneProvider();
    return provider ? qobject_cast<ApplWindow *>(provider->owner()) : nullptr;
}

PictureScene *MenuDispatcher::scene(int sceneId) const
{
    SceneProvider *provider = ColorSetting::instance()->sceneProvider();
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

void MenuDispatcher::imageClicked(int kind, ImageItem *item)
{
    DataProvider::reloadIfStale(); // between clicks no report holds cached records
    if (!item || item == m_lastItem)
        return;
    m_lastItem = item;

    ApplWindow *win = window();
    PictureScene *efa = scene(1);
    PictureScene *afa = scene(2);

    switch (kind) {
    case 10:
        if (win)
            win->close();
        break;
    case 19:
        m_lastItem = nullptr;
        if (win)
            win->chooseYearFile();
        break;
    case 16:
        if (afa)
            ReportPainter().showHelpPage(afa);
        break;
    case 17:
        if (win)
            win->changeYear();
        break;
    case 14:
        if (win)
            win->showMainMenu();
        if (efa)
            efa->clearScene();
        break;
    case 15: {
        if (!afa)
            break;
        const int code = item->data(2).toInt();
        const int id = item->data(1).toInt();
        // Recipient rows carry the colour itself, sub-type lines its name.
        const QVariant colourData = item->data(3);
        const QColor colour = colourData.metaType().id() == QMetaType::QColor
            ? colourData.value<QColor>() : QColor(colourData.toString());
        if (code == 14)
            ReportPainter().showRecipientExpenses(afa, id, colour);
        else if (code == 18)
            ReportPainter().showSubTypeExpenses(afa, id, colour);
        break;
    }
    case 1:
    case 2:
    case 3:
        showPageHeader(kind);
        if (efa && afa) {
            ReportPainter painter;
            if (kind == 1) {
                painter.showIncomeSourceCards(efa);
                painter.showIncomeOverview(afa);
            } else if (kind == 2) {
                painter.showExpenseTypeCards(efa);
                painter.showExpenseOverview(afa);
            } else {
                painter.showPaymentInstrumentCards(efa);
                painter.showAccountOverview(afa);
            }
        }
        break;
    case 4:
        if (afa)
            ReportPainter().showExpenseOverview(afa);
        break;
    case 8:
        if (afa)
            ReportPainter().showAccountOverview(afa);
        break;
    case 12:
        if (afa)
            ReportPainter().showIncomeOverview(afa);
        break;
    case 13:
        if (afa)
            ReportPainter().showRecipientOverview(afa);
        break;
    case 20:
        openSettings(item);
        break;
    case 7:
        if (afa)
            showRecord(item, afa);
        break;
    case 5:
        accountAction(item);
        break;
    case 6:
        bookExpense(item);
        break;
    case 21:
        checkBalances();
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
void MenuDispatcher::showPageHeader(int kind)
{
    PictureScene *hfa = scene(0);
    if (!hfa)
        return;
    hfa->keepNamedItems(QStringLiteral("main-menu"), true, false);

    FinanceBase *header = nullptr;
    if (kind == 1) {
        header = new IncomeEntry;
        header->setName(tr("Einkünfte"));
    } else if (kind == 2) {
        header = new ExpenseTypeEntry;
        header->setName(tr("Ausgaben"));
    } else {
        auto *instrument = new PaymentInstruction;
        instrument->setInstrumentType(26);
        instrument->setName(tr("Konten - Zahlungsmittel"));
        header = instrument;
    }
    header->setId(0);
    header->paintButton(QPoint(15, 95), hfa, ColorSetting::instance()->font(2), HeaderGrey);
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
    FinanceBase *record = DataProvider::instance()->getRecord(item->recordId(), item->recordType());
    if (record && record->getTypeCode() == 17 && yearIsCurrent()) {
        ExpenseEntryForm dialog(static_cast<ExpenseTypeEntry *>(record));
        runDialog(dialog);
    }
    releaseRecord(record);
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
        QList<int> allowedTypes{21};
        const int type = instrument->getInstrumentType();
        if (type == 25 || type == 21)
            allowedTypes << 25 << 22 << 23;
        AccountEntryForm dialog(instrument, allowedTypes);
        runDialog(dialog);
    }
}

void MenuDispatcher::accountAction(ImageItem *item)
{
    FinanceBase *record = DataProvider::instance()->getRecord(item->recordId(), item->recordType());
    if (!record)
        return;
    const QString action = dataText(item, 1);
    switch (record->getTypeCode()) {
    case 13:
        if (yearIsCurrent())
            paymentInstrumentAction(static_cast<PaymentInstruction *>(record), action);
        break;
    case 19:
        if (yearIsCurrent() && action == QLatin1String("Einzahlen")) {
            AccountEntryForm dialog(static_cast<IncomeEntry *>(record), QList<int>{25, 21, 22});
            runDialog(dialog);
        }
        break;
    default:
        break;
    }
    releaseRecord(record);
}

void MenuDispatcher::showRecord(ImageItem *item, PictureScene *afa)
{
    FinanceBase *record = DataProvider::instance()->getRecord(item->recordId(), item->recordType());
    if (!record)
        return;
    ReportPainter painter;
    switch (record->getTypeCode()) {
    case 17:
        painter.showExpenseTypeReport(afa, static_cast<ExpenseTypeEntry *>(record));
        break;
    case 13:
        painter.showPaymentInstrumentReport(afa, static_cast<PaymentInstruction *>(record));
        break;
    case 19:
        painter.showIncomeSourceReport(afa, static_cast<IncomeEntry *>(record));
        break;
    default:
        break;
    }
    releaseRecord(record);
}

void MenuDispatcher::openSettings(ImageItem *item)
{
    const QString which = dataText(item, 1);
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
        FinanceBase *record = DataProvider::instance()->getRecord(item->recordId(), item->recordType());
        if (record && record->getTypeCode() == 13)
            paymentInstrumentAction(static_cast<PaymentInstruction *>(record), which);
        releaseRecord(record);
    }
}
