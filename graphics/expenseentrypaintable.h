#pragma once

#include "financepaintable.h"

class ExpenseEntry;

// An expense as a list row, or a per-type summary line of the expense overview.
// Booking rows carry the tag "eraseDetail" so that a drill-down can replace them.
class ExpenseEntryPaintable : public RecordPaintable<ExpenseEntry>
{
    Q_DECLARE_TR_FUNCTIONS(ExpenseEntryPaintable)
public:
    using RecordPaintable::RecordPaintable;

    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
};
