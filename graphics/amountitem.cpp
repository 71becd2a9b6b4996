#include "amountitem.h"

#include "picturescene.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace {

// Width of text in font. A report draws thousands of amounts, all in one font.
qreal textAdvance(const QFont &font, const QString &text)
{
    static QFont lastFont;
    static QFontMetricsF metrics{lastFont};
    if (!(font == lastFont)) {
        lastFont = font;
        metrics = QFontMetricsF(font);
    }
    return metrics.horizontalAdvance(text);
}

} // namespace

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
    contentChanged();
    m_boxWidth = width;
}

void AmountItem::contentChanged()
{
    prepareGeometryChange();
    m_textLeft = qQNaN();
}

qreal AmountItem::textLeft() const
{
    if (qIsNaN(m_textLeft)) {
        // Rounded up, and a pixel for the slant of an italic last digit.
        const qreal width = std::ceil(textAdvance(font(), toPlainText())) + 1;
        m_textLeft = qMin<qreal>(0, m_boxWidth - width);
    }
    return m_textLeft;
}

QRectF AmountItem::boundingRect() const
{
    const qreal left = textLeft();
    return QRectF(left, 0, m_boxWidth - left, 20);
}

void AmountItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (pictureScene())
        painter->setPen(pictureScene()->textColour());
    painter->setFont(font());
    painter->drawText(QRectF(textLeft(), 0, m_boxWidth - textLeft(), 20), Qt::AlignRight, toPlainText());
}
