#include "expenseentrydetailpaintable.h"

#include "expenseentrydetail.h"
#include "imageitem.h"
#include "picturescene.h"

#include <QColor>
#include <QFont>

void ExpenseEntryDetailPaintable::paintEntry(int, PictureScene *scene, const QFont &font, const QColor &colour)
{
    if (!scene || !m_record)
        return;
    const QPoint &p = m_position;
    band(scene, p);
    marker(scene, p, colour);
    columnText(scene, m_record->getName(), p, 480, font);
    if (m_record->getAmount() > 0 && !m_record->isTotalRow()) {
        // Drill-down to the sub-type's expenses; the handler reads what to
        // show from the data keys.
        drillDownArrow(scene, m_record, QPointF(p.x() + 480, p.y() + 10), m_record->getSubTypeId(),
                       colour.name());
    }
    scene->addAmount(m_record->getAmount(), QPoint(p.x() + 640, p.y()), font);
    if (m_record->isTotalRow())
        scene->addAmount(m_record->getSecondAmount(), QPoint(p.x() + 532, p.y()), font);
}
