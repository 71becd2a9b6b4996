#pragma once

#include "financepaintable.h"

class ExpenseEntryDetail;

// A sub-type line of an expense type report, with a drill-down arrow to the
// sub-type's expenses.
class ExpenseEntryDetailPaintable : public FinancePaintable
{
    Q_DECLARE_TR_FUNCTIONS(ExpenseEntryDetailPaintable)
public:
    ExpenseEntryDetailPaintable(const QPoint &position, ExpenseEntryDetail *record);
    explicit ExpenseEntryDetailPaintable(ExpenseEntryDetail *record);

    bool isType(int typeCode) const override;
    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;

private:
    int m_recordType;
    ExpenseEntryDetail *m_record;
};
