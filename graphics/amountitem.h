#pragma once

#include "plaintextitem.h"

#include <QRectF>

// A number in a box of boxWidth x 20 pixels, drawn right-aligned in the
// scene's text colour, so that the amounts of a column line up on their
// right edge (x + boxWidth - 1) and never wrap.
class AmountItem : public PlainTextItem
{
public:
    enum { Type = UserType + 2 };

    explicit AmountItem(PictureScene *scene, QGraphicsItem *parent = nullptr);
    // The text in font in a box boxWidth wide (not yet on a scene).
    AmountItem(const QString &text, const QFont &font, int boxWidth, PictureScene *scene);

    int boxWidth() const { return m_boxWidth; }
    void setBoxWidth(int width);

    // The box, whatever the text.
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    int type() const override { return Type; }

private:
    int m_boxWidth = 90;
};
