#pragma once

#include "financepaintable.h"

class PaymentInstruction;

// A payment instrument as a card; type 26 is the header of the accounts page.
class PaymentInstrPaintable : public RecordPaintable<PaymentInstruction>
{
    Q_DECLARE_TR_FUNCTIONS(PaymentInstrPaintable)
public:
    using RecordPaintable::RecordPaintable;

    void paintButton(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
};
