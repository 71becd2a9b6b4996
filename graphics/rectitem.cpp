#include "rectitem.h"

RectItem::RectItem(PictureScene *scene, const QRectF &rect, QGraphicsItem *parent)
    : QGraphicsRectItem(rect, parent), m_scene(scene), m_rect(rect)
{
}
