#include "graphicpicture.h"

#include "picturescene.h"

#include <QPainter>

namespace {
const int PieSize = 200;
}

GraphicPicture::GraphicPicture(PictureScene *scene, double startDegrees, double spanDegrees,
                               const QColor &colour)
    : m_scene(scene),
      m_startAngle((90 + static_cast<int>(startDegrees)) * 16),
      m_spanAngle(16 * static_cast<int>(spanDegrees)),
      m_brushColour(colour)
{
}

QRectF GraphicPicture::boundingRect() const
{
    return QRectF(0, 0, PieSize - 10, PieSize - 10);
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
    painter->drawPie(QRect(0, 0, PieSize, PieSize), m_startAngle, m_spanAngle);
}

QVariant GraphicPicture::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionHasChanged && scene())
        scene()->update();
    return value;
}
