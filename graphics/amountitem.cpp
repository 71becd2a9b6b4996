#include "amountitem.h"

#include "picturescene.h"

#include <QPainter>

AmountItem::AmountItem(PictureScene *scene, QGraphicsItem *parent)
    : QGraphicsTextItem(parent), m_scene(scene)
{
    setFlag(QGraphicsItem::ItemIsMovable, false);
    setFlag(QGraphicsItem::ItemIsSelectable, false);
}

void AmountItem::setBoxWidth(int width)
{
    prepareGeometryChange();
    m_boxWidth = width;
}

// The box, not the text document, is what gets painted.
QRectF AmountItem::boundingRect() const
{
    return QRectF(0, 0, m_boxWidth, 20);
}

void AmountItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (m_scene)
        painter->setPen(m_scene->textColour());
    painter->setFont(font());
    painter->drawText(QRect(QPoint(0, 0), QPoint(m_boxWidth - 1, 19)), Qt::AlignRight, toPlainText());
}
