#pragma once

#include "financepaintable.h"

class Recipient;

// A recipient line of the recipients overview, with a drill-down arrow to
// the recipient's expenses.
class RecipientPaintable : public RecordPaintable<Recipient>
{
    Q_DECLARE_TR_FUNCTIONS(RecipientPaintable)
public:
    using RecordPaintable::RecordPaintable;

    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
};
