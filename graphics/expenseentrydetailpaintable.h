#pragma once

#include "financepaintable.h"

class ExpenseEntryDetail;

// A sub-type line of an expense type report, with a drill-down arrow to the
// sub-type's expenses.
class ExpenseEntryDetailPaintable : public RecordPaintable<ExpenseEntryDetail>
{
    Q_DECLARE_TR_FUNCTIONS(ExpenseEntryDetailPaintable)
public:
    using RecordPaintable::RecordPaintable;

    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
};
