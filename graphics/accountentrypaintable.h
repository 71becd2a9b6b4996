#pragma once

#include "financepaintable.h"

class AccountEntry;

// An account movement as a list row; incoming and outgoing money fall
// into two amount columns.
class AccountEntryPaintable : public RecordPaintable<AccountEntry>
{
    Q_DECLARE_TR_FUNCTIONS(AccountEntryPaintable)
public:
    using RecordPaintable::RecordPaintable;

    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
};
