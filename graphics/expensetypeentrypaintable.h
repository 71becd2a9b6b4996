#pragma once

#include "financepaintable.h"

class ExpenseTypeEntry;

// An expense type as a list row, as a card with its booking pictures, or
// (id 0) as the header of the expenses page.
class ExpenseTypeEntryPaintable : public FinancePaintable
{
    Q_DECLARE_TR_FUNCTIONS(ExpenseTypeEntryPaintable)
public:
    ExpenseTypeEntryPaintable(const QPoint &position, ExpenseTypeEntry *record);
    explicit ExpenseTypeEntryPaintable(ExpenseTypeEntry *record);

    bool isType(int typeCode) const override;
    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
    void paintButton(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;

private:
    int m_recordType;
    ExpenseTypeEntry *m_record;
};
