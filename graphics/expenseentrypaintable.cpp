#include "expenseentrypaintable.h"

#include "expenseentry.h"
#include "imageitem.h"
#include "picturescene.h"

#include <QColor>
#include <QFont>

void ExpenseEntryPaintable::paintEntry(int, PictureScene *scene, const QFont &font, const QColor &colour)
{
    if (!scene || !m_record)
        return;
    const QString detail = QStringLiteral("eraseDetail");
    const QPoint &p = m_position;
    band(scene, p, detail);

    if (m_record->hasBudget()) {
        // A per-type line of the expense overview: spent against budget.
        columnText(scene, m_record->getName(), p, 532, font);
        scene->addAmount(m_record->getBudget(), QPoint(p.x() + 532, p.y()), font);
        scene->addAmount(m_record->getAmount(), QPoint(p.x() + 640, p.y()), font);
        marker(scene, p, colour);
        return;
    }

    const QString first = m_record->isTotalRow() ? m_record->getName() : m_record->getDateString();
    text(scene, first, p, font, detail);
    columnText(scene, m_record->getRecipientName(), QPoint(p.x() + 116, p.y()), 320 - 116, font, detail);
    columnText(scene, m_record->getRemark(), QPoint(p.x() + 320, p.y()), 640 - 320, font, detail);
    scene->addAmount(m_record->getAmount(), QPoint(p.x() + 640, p.y()), font, detail);
}
