#pragma once

#include "financepaintable.h"

class ExpenseEntry;

// An expense as a list row, or a per-type summary line of the expense overview.
// Booking rows carry the tag "eraseDetail" so that a drill-down can replace them.
class ExpenseEntryPaintable : public FinancePaintable
{
    Q_DECLARE_TR_FUNCTIONS(ExpenseEntryPaintable)
public:
    ExpenseEntryPaintable(const QPoint &position, ExpenseEntry *record);
    explicit ExpenseEntryPaintable(ExpenseEntry *record);

    bool isType(int typeCode) const override;
    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;

private:
    int m_recordType;
    ExpenseEntry *m_record;
};
