#pragma once

#include "plaintextitem.h"

#include <QRectF>

// A number in a box of boxWidth x 20 pixels, drawn right-aligned in the
// scene's text colour, so that the amounts of a column line up on their
// right edge (x + boxWidth - 1) and never wrap. A number wider than the box
// is drawn whole: it keeps its right edge and reaches further left.
class AmountItem : public PlainTextItem
{
public:
    enum { Type = UserType + 2 };

    explicit AmountItem(PictureScene *scene, QGraphicsItem *parent = nullptr);
    // The text in font in a box boxWidth wide (not yet on a scene).
    AmountItem(const QString &text, const QFont &font, int boxWidth, PictureScene *scene);

    int boxWidth() const { return m_boxWidth; }
    void setBoxWidth(int width);

    // The box, widened to the left when the text needs more room.
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    int type() const override { return Type; }

protected:
    void contentChanged() override;

private:
    // Left edge of the drawn text in item coordinates: 0, or less for a
    // text wider than the box.
    qreal textLeft() const;

    int m_boxWidth = 90;
    // Measured on first demand; NaN until then.
    mutable qreal m_textLeft = qQNaN();
};
