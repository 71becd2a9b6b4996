#pragma once

#include "financepaintable.h"

class Recipient;

// A recipient line of the recipients overview, with a drill-down arrow to
// the recipient's expenses.
class RecipientPaintable : public FinancePaintable
{
    Q_DECLARE_TR_FUNCTIONS(RecipientPaintable)
public:
    RecipientPaintable(const QPoint &position, Recipient *record);
    explicit RecipientPaintable(Recipient *record);

    bool isType(int typeCode) const override;
    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;

private:
    int m_recordType;
    Recipient *m_record;
};
