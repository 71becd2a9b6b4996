// Drawing of the records through their renderers: each record creates the
// renderer of its class at the position, hands it its id, the scene, font
// and colour, and deletes it again. Nothing is kept between drawings.

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

void Account::paintEntry(const QPoint &pos, PictureScene *scene, const QFont &font, const QColor &colour)
{
    auto *painter = new AccountPaintable(pos, this);
    painter->paintEntry(getId(), scene, font, colour);
    delete painter;
}

void Account::paintButton(const QPoint &pos, PictureScene *scene, const QFont &font, const QColor &colour)
{
    auto *painter = new AccountPaintable(pos, this);
    painter->paintButton(getId(), scene, font, colour);
    delete painter;
}

// Payment instruments are listed under their accounts, never as rows of
// their own.
void PaymentInstruction::paintEntry(const QPoint &, PictureScene *, const QFont &, const QColor &)
{
}

void PaymentInstruction::paintButton(const QPoint &pos, PictureScene *scene, const QFont &font,
                                     const QColor &colour)
{
    auto *painter = new PaymentInstrPaintable(pos, this);
    painter->paintButton(getId(), scene, font, colour);
    delete painter;
}

void Recipient::paintEntry(const QPoint &pos, PictureScene *scene, const QFont &font, const QColor &colour)
{
    auto *painter = new RecipientPaintable(pos, this);
    painter->paintEntry(getId(), scene, font, colour);
    delete painter;
}

void AccountEntry::paintEntry(const QPoint &pos, PictureScene *scene, const QFont &font, const QColor &colour)
{
    auto *painter = new AccountEntryPaintable(pos, this);
    painter->paintEntry(getId(), scene, font, colour);
    delete painter;
}

void ExpenseEntry::paintEntry(const QPoint &pos, PictureScene *scene, const QFont &font, const QColor &colour)
{
    auto *painter = new ExpenseEntryPaintable(pos, this);
    painter->paintEntry(getId(), scene, font, colour);
    delete painter;
}

void ExpenseTypeEntry::paintEntry(const QPoint &pos, PictureScene *scene, const QFont &font,
                                  const QColor &colour)
{
    auto *painter = new ExpenseTypeEntryPaintable(pos, this);
    painter->paintEntry(getId(), scene, font, colour);
    delete painter;
}

void ExpenseTypeEntry::paintButton(const QPoint &pos, PictureScene *scene, const QFont &font,
                                   const QColor &colour)
{
    auto *painter = new ExpenseTypeEntryPaintable(pos, this);
    painter->paintButton(getId(), scene, font, colour);
    delete painter;
}

void ExpenseEntryDetail::paintEntry(const QPoint &pos, PictureScene *scene, const QFont &font,
                                    const QColor &colour)
{
    auto *painter = new ExpenseEntryDetailPaintable(pos, this);
    painter->paintEntry(getId(), scene, font, colour);
    delete painter;
}

void IncomeEntry::paintEntry(const QPoint &pos, PictureScene *scene, const QFont &font, const QColor &colour)
{
    auto *painter = new IncomeEntryPaintable(pos, this);
    painter->paintEntry(getId(), scene, font, colour);
    delete painter;
}

void IncomeEntry::paintButton(const QPoint &pos, PictureScene *scene, const QFont &font, const QColor &colour)
{
    auto *painter = new IncomeEntryPaintable(pos, this);
    painter->paintButton(getId(), scene, font, colour);
    delete painter;
}
