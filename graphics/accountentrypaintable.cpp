#include "accountentrypaintable.h"

#include "accountentry.h"
#include "imageitem.h"
#include "picturescene.h"

#include <QColor>
#include <QFont>

AccountEntryPaintable::AccountEntryPaintable(const QPoint &position, AccountEntry *record)
    : FinancePaintable(QString(), position),
      m_recordType(record ? record->getTypeCode() : FinanceBase::AccountEntryCode),
      m_record(record)
{
}

AccountEntryPaintable::AccountEntryPaintable(AccountEntry *record)
    : AccountEntryPaintable(QPoint(0, 0), record)
{
}

bool AccountEntryPaintable::isType(int typeCode) const
{
    return typeCode == m_recordType;
}

void AccountEntryPaintable::paintEntry(int, PictureScene *scene, const QFont &font, const QColor &)
{
    if (!scene || !m_record)
        return;
    const QPoint &p = m_position;
    band(scene, p);
    text(scene, m_record->getDateString(), p, font);
    columnText(scene, m_record->getRemark(), QPoint(p.x() + 116, p.y()), 532 - 116, font);
    // Incoming money (op_flag 1) and outgoing money have columns of their own.
    const int column = m_record->getOpFlag() == 1 ? 532 : 640;
    scene->addAmount(m_record->getAmount(), QPoint(p.x() + column, p.y()), font);
}
