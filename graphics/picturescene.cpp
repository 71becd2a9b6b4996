#include "picturescene.h"

#include "amountitem.h"
#include "fontresolver.h"
#include "graphicpicture.h"
#include "rectitem.h"
#include "textitem.h"

#include <QApplication>
#include <QDebug>
#include <QGraphicsLineItem>
#include <QPen>
#include <QPixmap>
#include <QSet>

namespace {

const int Palette[PictureScene::PaletteSize][3] = {
    {255, 37, 1},   {255, 97, 1},    {255, 156, 1},   {255, 216, 1},  {234, 255, 1},
    {0, 255, 0},    {0, 192, 0},     {0, 128, 0},     {0, 128, 128},  {0, 192, 192},
    {0, 255, 255},  {192, 192, 255}, {128, 128, 255}, {64, 64, 255},  {0, 0, 255},
    {255, 192, 255}, {255, 128, 255}, {255, 64, 255}, {192, 0, 192}};

QString itemName(QGraphicsItem *item)
{
    if (auto *text = qgraphicsitem_cast<TextItem *>(item))
        return text->name();
    if (auto *amount = qgraphicsitem_cast<AmountItem *>(item))
        return amount->name();
    if (auto *image = dynamic_cast<ImageItem *>(item))
        return image->name();
    if (auto *rect = dynamic_cast<RectItem *>(item))
        return rect->name();
    return QString();
}

// Whether item is an ImageItem, TextItem, AmountItem or RectItem named
// name. A large report holds a hundred thousand items, nearly all texts
// and amounts: their type tells them apart without a cast, and their names
// are compared in place.
bool isNamed(QGraphicsItem *item, const QString &name)
{
    const int type = item->type();
    if (type == TextItem::Type || type == AmountItem::Type)
        return static_cast<PlainTextItem *>(item)->name() == name;
    if (auto *rect = dynamic_cast<RectItem *>(item))
        return rect->name() == name;
    if (auto *image = dynamic_cast<ImageItem *>(item))
        return image->name() == name;
    return false;
}

} // namespace

PictureScene::PictureScene(int sceneId, QObject *parent)
    : QGraphicsScene(parent), m_sceneId(sceneId)
{
    const QString italic = QStringLiteral("italic");
    m_fonts << QApplication::font() << FontResolver::font(QStringLiteral("Arial Narrow"), italic, 10)
            << FontResolver::font(QStringLiteral("Arial"), italic, 11)
            << FontResolver::font(QStringLiteral("Arial"), italic, 12)
            << FontResolver::font(QStringLiteral("Arial"), italic, 14)
            << FontResolver::font(QStringLiteral("Arial"), italic, 20);
}

PictureScene::~PictureScene() = default;

QFont PictureScene::sceneFont(int index) const
{
    return m_fonts.value(index, m_fonts.first());
}

QColor PictureScene::paletteColour(int index)
{
    if (index < 0 || index >= PaletteSize)
        return QColor();
    return QColor(Palette[index][0], Palette[index][1], Palette[index][2]);
}

QColor PictureScene::nextPaletteColour(int count)
{
    if (m_paletteIndex >= PaletteSize || m_paletteIndex < 0)
        m_paletteIndex = 0;
    const QColor colour = paletteColour(m_paletteIndex);
    if (count >= 1 && count <= 4)
        m_paletteIndex += 4;
    else if (count == 5 || count == 6)
        m_paletteIndex += 3;
    else if (count >= 7 && count <= 10)
        m_paletteIndex += 2;
    else
        m_paletteIndex += 1;
    return colour;
}

// Deletes the given items; an item whose ancestor is among them goes with
// that ancestor and is not deleted twice. An item leaves the scene (and its
// index) in its destructor, which the scene handles for many items at once
// far better than one removeItem() after another.
void PictureScene::deleteItems(const QList<QGraphicsItem *> &doomed)
{
    if (doomed.isEmpty())
        return;
    // The whole scene is repainted once instead of every deleted item's area.
    update();
    const QSet<QGraphicsItem *> set(doomed.cbegin(), doomed.cend());
    QList<QGraphicsItem *> roots;
    roots.reserve(doomed.size());
    for (QGraphicsItem *item : doomed) {
        bool ownedByDoomed = false;
        for (QGraphicsItem *p = item->parentItem(); p; p = p->parentItem()) {
            if (set.contains(p)) {
                ownedByDoomed = true;
                break;
            }
        }
        if (!ownedByDoomed)
            roots << item;
    }
    // ImageItems are QObjects too: deleteLater would keep them visible until
    // the event loop runs, so they go now like the others.
    qDeleteAll(roots);
}

QRectF PictureScene::itemsBoundingRect() const
{
    // Qt's scene index hands out its items unsorted when asked for order -1;
    // the union is the same in any order.
    const QList<QGraphicsItem *> all = items(static_cast<Qt::SortOrder>(-1));
    QRectF area;
    for (const QGraphicsItem *item : all)
        area |= item->sceneBoundingRect();
    return area;
}

void PictureScene::clearScene()
{
    update();
    QGraphicsScene::clear();
    addOriginAnchor();
}

void PictureScene::addOriginAnchor()
{
    QGraphicsScene::addRect(QRectF(0, 0, 5, 5), QPen(Qt::NoPen), Qt::NoBrush);
}

void PictureScene::eraseNamedItems(const QString &name)
{
    QList<QGraphicsItem *> doomed;
    // From the top of the stacking order down: the last drawn go first, so
    // the scene's list of items shrinks from its end.
    const QList<QGraphicsItem *> all = items(Qt::DescendingOrder);
    for (QGraphicsItem *item : all) {
        if (!isNamed(item, name))
            continue;
        if (auto *image = dynamic_cast<ImageItem *>(item))
            qDebug() << "Graphic-Object: " << image->recordId();
        doomed << item;
    }
    deleteItems(doomed);
}

void PictureScene::keepNamedItems(const QString &name, bool keepImages, bool keepTexts)
{
    QList<QGraphicsItem *> doomed;
    const QList<QGraphicsItem *> all = items();
    for (QGraphicsItem *item : all) {
        if (keepImages && dynamic_cast<ImageItem *>(item) && itemName(item) == name)
            continue;
        if (keepTexts && dynamic_cast<TextItem *>(item) && itemName(item) == name)
            continue;
        doomed << item;
    }
    deleteItems(doomed);
    update();
}

void PictureScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *)
{
}

// ---------------------------------------------------------------- texts

void PictureScene::addRowLine(bool draw, const QPoint &pos)
{
    if (!draw)
        return;
    addLine(QLineF(pos.x() + 3, pos.y() + 27, RowEnd, pos.y() + 27), QPen(m_textColour, 1));
}

TextItem *PictureScene::addStaticText(const QString &text, const QFont &font, const QPoint &pos)
{
    return new TextItem(text, font, Qt::blue, pos, this);
}

TextItem *PictureScene::addText(const QString &text, const QPoint &pos, const QFont &font,
                                const QColor &colour, const QString &name)
{
    if (text.isEmpty())
        return nullptr;
    auto *item = new TextItem(text, font, colour, pos, this);
    if (!name.isEmpty())
        item->setName(name);
    return item;
}

TextItem *PictureScene::addWrappedText(const QString &text, const QPoint &pos, const QFont &font,
                                       const QColor &colour, int width)
{
    if (text.isEmpty())
        return nullptr;
    return new TextItem(text, font, colour, pos, this, width > 0 ? width : -1);
}

AmountItem *PictureScene::addAmountText(const QString &text, const QPoint &pos, const QFont &font,
                                        const QString &name)
{
    if (text.isEmpty())
        return nullptr;
    auto *item = new AmountItem(text, font, 140, this);
    item->setName(name);
    item->setPos(pos.x() - 10, pos.y() + 5);
    addItem(item);
    return item;
}

QString PictureScene::formatAmount(double value)
{
    QString text = QString::number(value, 'f', 2);
    // A value that rounds to zero shows no sign.
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    return text;
}

AmountItem *PictureScene::addAmount(double value, const QPoint &pos, const QFont &font, const QString &name)
{
    auto *item = new AmountItem(formatAmount(value), font, 90, this);
    item->setName(name);
    item->setPos(pos.x(), pos.y() + 5);
    addItem(item);
    return item;
}

// ---------------------------------------------------------------- shapes

RectItem *PictureScene::addRect(const QRectF &rect, const QColor &brushColour, const QColor &penColour,
                                const QString &name)
{
    auto *item = new RectItem(this, rect);
    item->setBrush(QBrush(brushColour, Qt::SolidPattern));
    item->setPen(QPen(penColour, 1));
    item->setName(name);
    addItem(item);
    return item;
}

RectItem *PictureScene::addFilledRect(const QRectF &rect, const QColor &brushColour, const QString &name)
{
    auto *item = new RectItem(this, rect);
    item->setBrush(QBrush(brushColour, Qt::SolidPattern));
    item->setPen(QPen(Qt::NoPen));
    item->setName(name);
    addItem(item);
    return item;
}

RectItem *PictureScene::addBand(const QRectF &rect, const QString &name)
{
    if (!m_bandToggle) {
        m_bandToggle = true;
        return nullptr;
    }
    m_bandToggle = false;
    return addFilledRect(rect, QColor(100, 100, 100), name);
}

void PictureScene::addCappedBar(const QRectF &rect, const QColor &colour, const QColor &capColour)
{
    addFilledRect(rect, colour);
    auto *cap = new RectItem(this, QRectF(rect.x() + rect.width() - 5, rect.y(), 5, rect.height()));
    cap->setBrush(QBrush(capColour, Qt::SolidPattern));
    addItem(cap);
}

ImageItem *PictureScene::addImage(FinanceBase *record, PictureKind kind, const QString &resource, const QPointF &pos,
                                  const QString &toolTip, const QString &name)
{
    auto *item = new ImageItem(record, kind, QPixmap(resource));
    if (!toolTip.isEmpty())
        item->setToolTip(toolTip);
    if (!name.isEmpty())
        item->setName(name);
    item->setPos(pos);
    item->setPictureScene(this);
    addItem(item);
    return item;
}

// ---------------------------------------------------------------- rows

void PictureScene::addTextRow(const QString &t1, const QString &t2, const QString &t3, const QString &t4,
                              const QString &t5, const QPoint &pos, int dx2, int dx3, int dx4, int dx5,
                              const QFont &font, bool line)
{
    const int x = pos.x();
    const int y = pos.y();
    addText(t1, QPoint(x, y), font, m_textColour);
    addText(t2, QPoint(x + dx2, y), font, m_textColour);
    addText(t3, QPoint(x + dx3, y), font, m_textColour);
    addText(t4, QPoint(x + dx4, y), font, m_textColour);
    addText(t5, QPoint(x + dx5, y), font, m_textColour);
    addRowLine(line, pos);
}

void PictureScene::addTextRowWithAmount(const QString &t1, const QString &t2, const QString &t3,
                                        const QString &amount, const QPoint &pos, int dx2, int dx3,
                                        const QFont &font, bool line)
{
    const int x = pos.x();
    const int y = pos.y();
    addText(t1, QPoint(x, y), font, m_textColour);
    addText(t2, QPoint(x + dx2, y), font, m_textColour);
    addText(t3, QPoint(x + dx3, y), font, m_textColour);
    addAmountText(amount, QPoint(x + 600, y), font);
    addRowLine(line, pos);
}

void PictureScene::addTwoTextsTwoAmounts(const QString &t1, const QString &t2, const QString &a1,
                                         const QString &a2, const QPoint &pos, int dx2, const QFont &font,
                                         bool line)
{
    const int x = pos.x();
    const int y = pos.y();
    addText(t1, QPoint(x, y), font, m_textColour);
    addText(t2, QPoint(x + dx2, y), font, m_textColour);
    addAmountText(a1, QPoint(x + 492, y), font);
    addAmountText(a2, QPoint(x + 600, y), font);
    addRowLine(line, pos);
}

void PictureScene::addTextFourAmounts(const QString &t1, const QString &a1, const QString &a2,
                                      const QString &a3, const QString &a4, const QPoint &pos,
                                      const QFont &font, bool line)
{
    const int x = pos.x();
    const int y = pos.y();
    addText(t1, QPoint(x, y), font, m_textColour);
    addAmountText(a1, QPoint(x + 270, y), font);
    addAmountText(a2, QPoint(x + 382, y), font);
    addAmountText(a3, QPoint(x + 492, y), font);
    addAmountText(a4, QPoint(x + 600, y), font);
    addRowLine(line, pos);
}

void PictureScene::addTextsAndNumbers(const QString &t1, const QString &t2, const QString &t3, double first,
                                      double second, const QPoint &pos, int dx2, int dx3, int dxFirst,
                                      int dxSecond, const QFont &font)
{
    const int x = pos.x();
    const int y = pos.y();
    addText(t1, QPoint(x, y), font, m_textColour);
    addText(t2, QPoint(x + dx2, y), font, m_textColour);
    addText(t3, QPoint(x + dx3, y), font, m_textColour);
    if (dxFirst > 0)
        addAmount(first, QPoint(x + dxFirst, y), font);
    if (dxSecond > 0)
        addAmount(second, QPoint(x + dxSecond, y), font);
}

// ---------------------------------------------------------------- charts

void PictureScene::drawPercentScale(const QPoint &pos)
{
    const int x = pos.x();
    const int y = pos.y();
    QPen solid(m_textColour, 1, Qt::SolidLine);
    QPen dashed(m_textColour, 1, Qt::DashLine);
    const QFont font = sceneFont(0);

    addLine(QLineF(x, y, x, y + 200), solid);
    addLine(QLineF(x, y + 200, RowEnd, y + 200), solid);
    addText(tr("0 %"), QPoint(x - 33, y + 185), font, m_textColour);
    addLine(QLineF(x, y + 100, RowEnd, y + 100), dashed);
    addText(tr("50 %"), QPoint(x - 38, y + 90), font, m_textColour);
    addLine(QLineF(x, y, RowEnd, y), dashed);
    addText(tr("100 %"), QPoint(x - 45, y - 8), font, m_textColour);
}

void PictureScene::drawBarChart(const QString &title, const QPoint &pos, double totalReference,
                                const QList<double> &values, const QList<double> &references,
                                const QList<QColor> &colours)
{
    if (values.isEmpty())
        return;

    QList<double> barValues = values;
    QList<double> barReferences;
    QList<QColor> barColours;
    double total = 0.0;
    for (int i = 0; i < values.size(); ++i) {
        if (values.at(i) > 0)
            total += values.at(i);
        barReferences << references.value(i, 0.0);
        barColours << colours.value(i, QColor(80, 80, 80));
    }
    barValues << total;
    barReferences << totalReference;
    barColours << QColor(80, 80, 80);
    const int n = barValues.size();
    const double width = n > 5 ? (470.0 - 10.0 * n) / n : 60.0;

    addTextRow(title, QString(), QString(), QString(), QString(), QPoint(pos.x(), pos.y() - 52), 0, 0, 0, 0,
               FontResolver::sceneFont(4), false);

    const int baseline = pos.y() + 200;
    int x = pos.x() + 10;
    for (int i = 0; i < n; ++i) {
        const double value = barValues.at(i);
        if (value <= 0)
            continue;
        // Share of the reference reached, clipped at 100 %; without a
        // (positive) reference the bar is full.
        const double reference = barReferences.at(i);
        double height = 200.0;
        if (reference > 0)
            height = qMin(200.0, value * 200.0 / reference);
        addRect(QRectF(x, baseline - height, width, height), barColours.at(i), Qt::white);
        x = static_cast<int>(x + width + 10);
    }

    drawPercentScale(pos);
    update();
}

void PictureScene::drawPieChart(const QString &title, const QPoint &pos, const QList<double> &values,
                                const QList<QColor> &colours)
{
    if (values.isEmpty())
        return;

    double sum = 0.0;
    for (double value : values) {
        if (value > 0)
            sum += value;
    }

    const QFont font = FontResolver::sceneFont(4);
    addTextRow(title, QString(), QString(), QString(), QString(), QPoint(pos.x(), pos.y() - 52), 0, 0, 0, 0,
               font, false);
    // The arrow marks the top of the pie, where the slices begin.
    addTextRow(QString(QChar(0x25BC)), QString(), QString(), QString(), QString(),
               QPoint(pos.x() + 88, pos.y() - 22), 0, 0, 0, 0, font, false);

    if (sum > 0) {
        const double factor = 360.0 / sum;
        double accumulated = 0.0;
        for (int i = values.size() - 1; i >= 0; --i) {
            if (values.at(i) <= 0)
                continue;
            const double span = values.at(i) * factor;
            auto *slice = new GraphicPicture(this, static_cast<int>(accumulated), static_cast<int>(span),
                                             colours.value(i));
            slice->setName(QStringLiteral("keepTopPart"));
            slice->setPos(pos);
            addItem(slice);
            accumulated += span;
        }
    }
    update();
}
