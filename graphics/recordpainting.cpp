#include "recordpainting.h"

#include "account.h"
#include "accountentry.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "expensetypeentry.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "recipient.h"

#include "accountentrypaintable.h"
#include "accountpaintable.h"
#include "expenseentrydetailpaintable.h"
#include "expenseentrypaintable.h"
#include "expensetypeentrypaintable.h"
#include "incomeentrypaintable.h"
#include "paymentinstrpaintable.h"
#include "recipientpaintable.h"

#include <QColor>
#include <QFont>
#include <QPoint>

#include <memory>

namespace {

// The renderer of the record's class at pos; null for a class that has no
// row form. Payment instruments are listed under their accounts, never as
// rows of their own.
std::unique_ptr<FinancePaintable> rowPainter(FinanceBase *record, const QPoint &pos)
{
    if (auto *r = dynamic_cast<Account *>(record))
        return std::make_unique<AccountPaintable>(pos, r);
    if (auto *r = dynamic_cast<Recipient *>(record))
        return std::make_unique<RecipientPaintable>(pos, r);
    if (auto *r = dynamic_cast<AccountEntry *>(record))
        return std::make_unique<AccountEntryPaintable>(pos, r);
    if (auto *r = dynamic_cast<ExpenseEntry *>(record))
        return std::make_unique<ExpenseEntryPaintable>(pos, r);
    if (auto *r = dynamic_cast<ExpenseTypeEntry *>(record))
        return std::make_unique<ExpenseTypeEntryPaintable>(pos, r);
    if (auto *r = dynamic_cast<ExpenseEntryDetail *>(record))
        return std::make_unique<ExpenseEntryDetailPaintable>(pos, r);
    if (auto *r = dynamic_cast<IncomeEntry *>(record))
        return std::make_unique<IncomeEntryPaintable>(pos, r);
    return nullptr;
}

// The renderer of the record's class at pos; null for a class that has no
// title box.
std::unique_ptr<FinancePaintable> boxPainter(FinanceBase *record, const QPoint &pos)
{
    if (auto *r = dynamic_cast<Account *>(record))
        return std::make_unique<AccountPaintable>(pos, r);
    if (auto *r = dynamic_cast<PaymentInstruction *>(record))
        return std::make_unique<PaymentInstrPaintable>(pos, r);
    if (auto *r = dynamic_cast<ExpenseTypeEntry *>(record))
        return std::make_unique<ExpenseTypeEntryPaintable>(pos, r);
    if (auto *r = dynamic_cast<IncomeEntry *>(record))
        return std::make_unique<IncomeEntryPaintable>(pos, r);
    return nullptr;
}

} // namespace

namespace RecordPainting {

void paintEntry(FinanceBase *record, const QPoint &pos, PictureScene *scene, const QFont &font,
                const QColor &colour)
{
    if (auto painter = rowPainter(record, pos))
        painter->paintEntry(record->getId(), scene, font, colour);
}

void paintButton(FinanceBase *record, const QPoint &pos, PictureScene *scene, const QFont &font,
                 const QColor &colour)
{
    if (auto painter = boxPainter(record, pos))
        painter->paintButton(record->getId(), scene, font, colour);
}

} // namespace RecordPainting
