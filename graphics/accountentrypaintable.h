#pragma once

#include "financepaintable.h"

class AccountEntry;

// An account movement as a list row; incoming and outgoing money fall
// into two amount columns.
class AccountEntryPaintable : public FinancePaintable
{
    Q_DECLARE_TR_FUNCTIONS(AccountEntryPaintable)
public:
    AccountEntryPaintable(const QPoint &position, AccountEntry *record);
    explicit AccountEntryPaintable(AccountEntry *record);

    bool isType(int typeCode) const override;
    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;

private:
    int m_recordType;
    AccountEntry *m_record;
};
