#include "imageitem.h"

#include "financebase.h"
#include "picturescene.h"

#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QPixmap>
#include <QtMath>

ImageItem::ImageItem(FinanceBase *record, int kind, const QPixmap &pixmap, QGraphicsItem *parent)
    : QObject(), QGraphicsPixmapItem(parent), m_kind(kind), m_record(record)
{
    if (record) {
        m_recordId = record->getId();
        m_recordType = record->getTypeCode();
    }
    setAcceptHoverEvents(false);
    // The whole picture answers a click, not only its opaque pixels.
    setShapeMode(QGraphicsPixmapItem::BoundingRectShape);

    const QSize size = displaySize(kind);
    const QImage image = pixmap.toImage().scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    setPixmap(QPixmap::fromImage(image));
}

QSize ImageItem::displaySize(int kind)
{
    if (kind >= 1 && kind <= 3)
        return QSize(100, 50);
    if (kind == 10 || kind == 11)
        return QSize(50, 50);
    if (kind == 14)
        return QSize(12, 40);
    if (kind == 15)
        return QSize(50, 12);
    return QSize(35, 35);
}

QSizeF ImageItem::AdjustSize(QSizeF size, qreal sizeHint)
{
    if (size.height() == 0)
        return QSizeF(0, sizeHint);
    return QSizeF(size.width() * sizeHint / size.height(), sizeHint);
}

// The press is left unaccepted (the base class ignores it), so the item
// does not grab the mouse: the scene drops release events, and a grab would
// otherwise never end and steal every later press. The signal goes last, as
// a handler connected directly might delete the item.
void ImageItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    PictureScene *target = m_scene ? m_scene : qobject_cast<PictureScene *>(scene());
    QGraphicsPixmapItem::mousePressEvent(event);
    if (target)
        emit target->imagePressed(m_kind, this);
}
