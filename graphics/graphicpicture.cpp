#include "graphicpicture.h"

#include "picturescene.h"

#include <QPainter>

GraphicPicture::GraphicPicture(PictureScene *scene, double startDegrees, double spanDegrees,
                               const QColor &colour)
    : m_scene(scene),
      m_pixmap(200, 200),
      m_startAngle((90 + static_cast<int>(startDegrees)) * 16),
      m_spanAngle(16 * static_cast<int>(spanDegrees)),
      m_brushColour(colour)
{
    // The pixmap only gives the item its size; the slice is painted.
    m_pixmap.fill(Qt::transparent);
    setPixmap(m_pixmap);
}

QRectF GraphicPicture::boundingRect() const
{
    return QRectF(0, 0, m_pixmap.width() - 10, m_pixmap.height() - 10);
}

QPainterPath GraphicPicture::shape() const
{
    QPainterPath path;
    path.addRect(boundingRect());
    return path;
}

void GraphicPicture::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (m_penOn) {
        painter->setPen(QPen(QBrush(m_penColour), m_penWidth, Qt::SolidLine));
        if (m_brushOn)
            painter->setBrush(QBrush(m_brushColour, Qt::SolidPattern));
    }
    painter->drawPie(QRect(0, 0, 200, 200), m_startAngle, m_spanAngle);
}

QVariant GraphicPicture::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionHasChanged && scene())
        scene()->update();
    return value;
}
