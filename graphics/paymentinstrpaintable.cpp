#include "paymentinstrpaintable.h"

#include "paymentinstruction.h"
#include "imageitem.h"
#include "picturescene.h"

#include <QColor>
#include <QFont>

PaymentInstrPaintable::PaymentInstrPaintable(const QPoint &position, PaymentInstruction *record)
    : FinancePaintable(QString(), position),
      m_recordType(record ? record->getTypeCode() : FinanceBase::PaymentInstructionCode),
      m_record(record)
{
}

PaymentInstrPaintable::PaymentInstrPaintable(PaymentInstruction *record)
    : PaymentInstrPaintable(QPoint(0, 0), record)
{
}

bool PaymentInstrPaintable::isType(int typeCode) const
{
    return typeCode == m_recordType;
}

void PaymentInstrPaintable::paintButton(int, PictureScene *scene, const QFont &font, const QColor &colour)
{
    if (!scene || !m_record)
        return;
    const QPoint &p = m_position;
    const int type = m_record->getInstrumentType();
    const QRectF box(p.x(), p.y(), 420, 40);

    if (type == 26) {
        // The header of the accounts page.
        scene->addFilledRect(box, colour);
        titleText(scene, p, cut(m_record->getName(), 30), font);
        actionPicture(scene, m_record, p, 250, QStringLiteral(":/images/back-arrow.png"), 14, tr("zurück"));
        actionPicture(scene, nullptr, p, 280, QStringLiteral(":/images/settings-yellow.png"), 20,
                      tr("Konten bearbeiten"), QStringLiteral("AccountSettings"));
        actionPicture(scene, nullptr, p, 320, QStringLiteral(":/images/settings-red.png"), 20,
                      tr("Zahlungsmittel bearbeiten"), QStringLiteral("PaymentSettings"));
        actionPicture(scene, m_record, p, 360, QStringLiteral(":/images/display-grey.png"), 8,
                      tr("Konten + Zahlungsmittel anzeigen"));
        return;
    }

    // A card; the cap tells an account's own instrument (yellow) from the others.
    scene->addCappedBar(box, colour, type == 25 ? QColor(Qt::yellow) : QColor(255, 128, 128));
    titleText(scene, p, cut(m_record->getName(), 30), font);
    // Vouchers (22) and cards drawing on a bank account (24) are no source of a transfer.
    if (type != 22 && type != 24)
        actionPicture(scene, m_record, p, 320, QStringLiteral(":/images/internal-transfer.png"), 5,
                      tr("interne Transaktion"), QStringLiteral("Transfer"));
    actionPicture(scene, m_record, p, 360, QStringLiteral(":/images/display-grey.png"), 7, tr("anzeigen"));
}
