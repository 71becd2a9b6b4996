#pragma once

#include "plaintextitem.h"

#include <QRectF>
#include <QSizeF>
#include <memory>

class QTextLayout;

// Plain text on a picture scene, placed and sized as a text document would
// place it: the text starts 4 pixels in from the item's top left corner and
// the item reaches 4 pixels beyond it on every side. A text with a width
// (textWidth() > 0) wraps at word boundaries inside it; line breaks and tabs
// are kept.
class TextItem : public PlainTextItem
{
public:
    enum { Type = UserType + 1 };

    // Adds itself to the scene (unless it hangs below a parent item, which
    // is in its scene already).
    TextItem(QGraphicsItem *parent, PictureScene *scene);
    // A text in font and colour, wrapped at width when width > 0, that goes
    // onto the scene at pos fully set up.
    TextItem(const QString &text, const QFont &font, const QColor &colour, const QPointF &pos,
             PictureScene *scene, qreal width = -1);
    ~TextItem() override;

    // The wrapping width; -1 when the text does not wrap.
    qreal textWidth() const { return m_textWidth; }
    void setTextWidth(qreal width);

    // The distance of the text from the item's edges.
    static constexpr qreal Margin = 4;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    int type() const override { return Type; }

protected:
    void contentChanged() override;

private:
    bool needsLayout() const;
    void measure() const;

    qreal m_textWidth = -1;
    // Measured on first demand; empty until then.
    mutable QSizeF m_size;
    // Only for texts with a width, line breaks or tabs; a single line is
    // drawn straight from its text.
    mutable std::unique_ptr<QTextLayout> m_layout;
};
