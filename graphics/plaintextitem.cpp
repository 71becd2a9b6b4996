#include "plaintextitem.h"

PlainTextItem::PlainTextItem(PictureScene *scene, QGraphicsItem *parent)
    : QGraphicsItem(parent), m_scene(scene)
{
}

PlainTextItem::PlainTextItem(PictureScene *scene, const QString &text, const QFont &font,
                             const QColor &colour, QGraphicsItem *parent)
    : QGraphicsItem(parent), m_scene(scene), m_text(text), m_font(font), m_colour(colour)
{
}

void PlainTextItem::setPlainText(const QString &text)
{
    m_text = text;
    contentChanged();
}

void PlainTextItem::setFont(const QFont &font)
{
    m_font = font;
    contentChanged();
}

void PlainTextItem::setDefaultTextColor(const QColor &colour)
{
    m_colour = colour;
    update();
}
