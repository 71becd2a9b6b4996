#pragma once

#include "financepaintable.h"

class ExpenseTypeEntry;

// An expense type as a list row, as a card with its booking pictures, or
// (id 0) as the header of the expenses page.
class ExpenseTypeEntryPaintable : public RecordPaintable<ExpenseTypeEntry>
{
    Q_DECLARE_TR_FUNCTIONS(ExpenseTypeEntryPaintable)
public:
    using RecordPaintable::RecordPaintable;

    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
    void paintButton(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
};
