#pragma once

#include "financepaintable.h"

class PaymentInstruction;

// A payment instrument as a card; type 26 is the header of the accounts page.
class PaymentInstrPaintable : public FinancePaintable
{
    Q_DECLARE_TR_FUNCTIONS(PaymentInstrPaintable)
public:
    PaymentInstrPaintable(const QPoint &position, PaymentInstruction *record);
    explicit PaymentInstrPaintable(PaymentInstruction *record);

    bool isType(int typeCode) const override;
    void paintButton(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;

private:
    int m_recordType;
    PaymentInstruction *m_record;
};
