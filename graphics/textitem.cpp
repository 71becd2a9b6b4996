#include "textitem.h"

#include "picturescene.h"

#include <QHash>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <vector>

namespace {

// What a font needs to place a single line, and the widths of the texts
// measured in it so far. Measuring a text means shaping it; a report
// repeats its dates, names and remarks on many rows.
struct FontMeasures
{
    explicit FontMeasures(const QFont &f) : font(f)
    {
        // Line height (leading included, as a document lays out its lines)
        // and baseline exactly as a laid-out line has them.
        QTextLayout layout(QStringLiteral("x"), f);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLeadingIncluded(true);
        layout.endLayout();
        lineHeight = line.height();
        ascent = line.ascent();
    }

    qreal width(const QString &text)
    {
        const auto found = widths.constFind(text);
        if (found != widths.cend())
            return found.value();
        // The texts of a few large reports; beyond that, start afresh.
        if (widths.size() >= 100000)
            widths.clear();
        // The natural width, which (unlike the advance) includes the overhang
        // of a last italic letter.
        QTextLayout layout(text, font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(1.0e6);
        layout.endLayout();
        const qreal w = line.naturalTextWidth();
        widths.insert(text, w);
        return w;
    }

    QFont font;
    qreal lineHeight = 0;
    qreal ascent = 0;
    QHash<QString, qreal> widths;
};

FontMeasures &measuresOf(const QFont &font)
{
    static std::vector<std::unique_ptr<FontMeasures>> known;
    for (const auto &entry : known) {
        if (entry->font == font)
            return *entry;
    }
    // A program uses a handful of fonts; a stray one must not let the list grow.
    if (known.size() >= 32)
        known.erase(known.begin());
    known.push_back(std::make_unique<FontMeasures>(font));
    return *known.back();
}

// Characters a single unbroken line in the font's own glyphs is made of:
// printable Latin-1. Anything else (tabs, line breaks, symbols that may come
// from a fallback font with other line metrics) is laid out line by line.
bool isPlainLatin1(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u > 0xff)
            return false;
    }
    return true;
}

} // namespace

TextItem::TextItem(QGraphicsItem *parent, PictureScene *scene)
    : PlainTextItem(scene, parent)
{
    if (scene && !parent)
        scene->addItem(this);
}

TextItem::TextItem(const QString &text, const QFont &font, const QColor &colour, const QPointF &pos,
                   PictureScene *scene, qreal width)
    : PlainTextItem(scene, text, font, colour), m_textWidth(width > 0 ? width : -1)
{
    // Placed before it is on the scene, where every move is a change the
    // scene has to follow.
    setPos(pos);
    if (scene)
        scene->addItem(this);
}

TextItem::~TextItem() = default;

void TextItem::setTextWidth(qreal width)
{
    m_textWidth = width > 0 ? width : -1;
    contentChanged();
}

void TextItem::contentChanged()
{
    prepareGeometryChange();
    m_size = QSizeF();
    m_layout.reset();
}

bool TextItem::needsLayout() const
{
    return m_textWidth > 0 || !isPlainLatin1(toPlainText());
}

// Lines as a text document lays out plain text: each line break starts a
// new line, tabs stop every 80 pixels, a width wraps at word boundaries (or
// anywhere in a word longer than the width); the item is the text's extent
// plus the margin all round, or the full width when it wraps.
void TextItem::measure() const
{
    const QString text = toPlainText();
    if (!needsLayout()) {
        FontMeasures &measures = measuresOf(font());
        m_size = QSizeF(measures.width(text) + 2 * Margin, measures.lineHeight + 2 * Margin);
        return;
    }

    QString lines = text;
    for (QChar &c : lines) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator)
            c = QChar::LineSeparator;
    }
    m_layout = std::make_unique<QTextLayout>(lines, font());
    QTextOption option;
    option.setWrapMode(m_textWidth > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    m_layout->setTextOption(option);
    const qreal lineWidth = m_textWidth > 0 ? qMax<qreal>(0, m_textWidth - 2 * Margin) : 1.0e6;
    qreal y = 0;
    qreal widest = 0;
    m_layout->beginLayout();
    for (QTextLine line = m_layout->createLine(); line.isValid(); line = m_layout->createLine()) {
        line.setLineWidth(lineWidth);
        line.setLeadingIncluded(true);
        line.setPosition(QPointF(0, y));
        y += line.height();
        widest = qMax(widest, line.naturalTextWidth());
    }
    m_layout->endLayout();
    const qreal width = m_textWidth > 0 ? m_textWidth : widest + 2 * Margin;
    m_size = QSizeF(width, y + 2 * Margin);
}

QRectF TextItem::boundingRect() const
{
    if (!m_size.isValid())
        measure();
    return QRectF(QPointF(0, 0), m_size);
}

void TextItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (!m_size.isValid())
        measure();
    painter->setPen(defaultTextColor());
    painter->setFont(font());
    if (m_layout) {
        m_layout->draw(painter, QPointF(Margin, Margin));
        return;
    }
    painter->drawText(QPointF(Margin, Margin + measuresOf(font()).ascent), toPlainText());
}
