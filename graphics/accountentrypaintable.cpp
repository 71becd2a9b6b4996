#include "accountentrypaintable.h"

#include "accountentry.h"
#include "imageitem.h"
#include "picturescene.h"

#include <QColor>
#include <QFont>

void AccountEntryPaintable::paintEntry(int, PictureScene *scene, const QFont &font, const QColor &)
{
    if (!scene || !m_record)
        return;
    const QPoint &p = m_position;
    band(scene, p);
    text(scene, m_record->getDateString(), p, font);
    columnText(scene, m_record->getRemark(), QPoint(p.x() + 116, p.y()), 532 - 116, font);
    // Incoming and outgoing money have columns of their own.
    const int column = m_record->getOpFlag() == OpFlag::MoneyIn ? 532 : 640;
    scene->addAmount(m_record->getAmount(), QPoint(p.x() + column, p.y()), font);
}
