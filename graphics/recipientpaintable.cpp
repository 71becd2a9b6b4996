#include "recipientpaintable.h"

#include "recipient.h"
#include "imageitem.h"
#include "picturescene.h"

#include <QColor>
#include <QFont>

void RecipientPaintable::paintEntry(int, PictureScene *scene, const QFont &font, const QColor &colour)
{
    if (!scene || !m_record)
        return;
    const QPoint &p = m_position;
    band(scene, p);
    marker(scene, p, colour);
    columnText(scene, m_record->getName(), p, 500, font);
    if (m_record->getPaidSum() > 0 && !m_record->isTotalRow()) {
        // Drill-down to the recipient's expenses.
        drillDownArrow(scene, m_record, QPointF(p.x() + 500, p.y() + 10), m_record->getId(), colour);
    }
    scene->addAmount(m_record->getPaidSum(), QPoint(p.x() + 640, p.y()), font);
}
