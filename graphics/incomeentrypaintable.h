#pragma once

#include "financepaintable.h"

class IncomeEntry;

// An income source or an income movement as a list row; a source as a card
// with its deposit picture, or (id 0) as the header of the income page.
class IncomeEntryPaintable : public RecordPaintable<IncomeEntry>
{
    Q_DECLARE_TR_FUNCTIONS(IncomeEntryPaintable)
public:
    using RecordPaintable::RecordPaintable;

    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
    void paintButton(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
};
