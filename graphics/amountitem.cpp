#include "amountitem.h"

#include "picturescene.h"

#include <QPainter>

AmountItem::AmountItem(PictureScene *scene, QGraphicsItem *parent)
    : PlainTextItem(scene, parent)
{
}

AmountItem::AmountItem(const QString &text, const QFont &font, int boxWidth, PictureScene *scene)
    : PlainTextItem(scene, text, font, Qt::black), m_boxWidth(boxWidth)
{
}

void AmountItem::setBoxWidth(int width)
{
    prepareGeometryChange();
    m_boxWidth = width;
}

QRectF AmountItem::boundingRect() const
{
    return QRectF(0, 0, m_boxWidth, 20);
}

void AmountItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (pictureScene())
        painter->setPen(pictureScene()->textColour());
    painter->setFont(font());
    painter->drawText(QRect(QPoint(0, 0), QPoint(m_boxWidth - 1, 19)), Qt::AlignRight, toPlainText());
}
