#include "imageitem.h"

#include "financebase.h"
#include "picturescene.h"

#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QPixmap>
#include <QtMath>

ImageItem::ImageItem(FinanceBase *record, PictureKind kind, const QPixmap &pixmap, QGraphicsItem *parent)
    : QObject(), QGraphicsPixmapItem(parent), m_kind(kind),
      m_recordType(record ? record->getTypeCode() : FinanceBase::FinanceBaseCode), m_record(record)
{
    if (record)
        m_recordId = record->getId();
    setAcceptHoverEvents(false);
    // The whole picture answers a click, not only its opaque pixels.
    setShapeMode(QGraphicsPixmapItem::BoundingRectShape);

    const QSize size = displaySize(kind);
    const QImage image = pixmap.toImage().scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    setPixmap(QPixmap::fromImage(image));
}

QSize ImageItem::displaySize(PictureKind kind)
{
    switch (kind) {
    case PictureKind::IncomePage:
    case PictureKind::ExpensesPage:
    case PictureKind::AccountsPage:
        return QSize(100, 50);
    case PictureKind::Quit:
    case PictureKind::Unused:
        return QSize(50, 50);
    case PictureKind::BackToMainMenu:
        return QSize(12, 40);
    case PictureKind::DrillDown:
        return QSize(50, 12);
    default:
        return QSize(35, 35);
    }
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
