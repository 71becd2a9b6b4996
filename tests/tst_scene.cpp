// The picture scene as the reports use it: where its primitives put texts,
// amounts, bands and charts, in which colours, and which items its erasing
// operations remove.

#include "amountitem.h"
#include "fontresolver.h"
#include "graphicpicture.h"
#include "imageitem.h"
#include "picturescene.h"
#include "rectitem.h"
#include "sceneprovider.h"
#include "testsupport.h"
#include "textitem.h"

#include <QFontInfo>
#include <QGraphicsLineItem>
#include <QGraphicsTextItem>
#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <memory>

namespace {

template <class T>
QList<T *> itemsOf(QGraphicsScene *scene)
{
    QList<T *> result;
    for (QGraphicsItem *item : scene->items(Qt::AscendingOrder)) {
        if (auto *typed = dynamic_cast<T *>(item))
            result << typed;
    }
    return result;
}

template <class T>
T *withText(QGraphicsScene *scene, const QString &text)
{
    for (T *item : itemsOf<T>(scene)) {
        if (item->toPlainText() == text)
            return item;
    }
    return nullptr;
}

TextItem *text(QGraphicsScene *scene, const QString &t) { return withText<TextItem>(scene, t); }
AmountItem *amount(QGraphicsScene *scene, const QString &t) { return withText<AmountItem>(scene, t); }

// Chart bars: the rectangles outlined in white.
QList<RectItem *> bars(QGraphicsScene *scene)
{
    QList<RectItem *> result;
    for (RectItem *rect : itemsOf<RectItem>(scene)) {
        if (rect->pen().style() != Qt::NoPen && rect->pen().color() == QColor(Qt::white))
            result << rect;
    }
    return result;
}

QImage renderScene(QGraphicsScene *scene, const QRectF &source)
{
    QImage image(source.size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    scene->render(&painter, QRectF(QPointF(0, 0), source.size()), source);
    return image;
}

// First and last column of the image holding a bright pixel.
QPair<int, int> brightColumns(const QImage &image)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qRed(image.pixel(x, y)) > 100) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return qMakePair(first, last);
}

} // namespace

class TestScene : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void providerOwnsAndFindsScenes();
    void amountsShowTwoDecimals_data();
    void amountsShowTwoDecimals();
    void amountsAreRightAligned();
    void fontsResolveToInstalledFaces_data();
    void fontsResolveToInstalledFaces();
    void textsSkipEmptyAndCarryNameAndColour();
    void textsSitWhereADocumentPutsThem_data();
    void textsSitWhereADocumentPutsThem();
    void textsFollowChangesOfTextFontAndWidth();
    void bandsAlternate();
    void rowPrimitivesPlaceTheirColumns();
    void paletteStepsByCount_data();
    void paletteStepsByCount();
    void percentScale();
    void barChartWidths_data();
    void barChartWidths();
    void barChartHeightsAndSkips();
    void emptyChartsDrawNothing();
    void pieSlicesStartAtTopInReverseOrder();
    void pieSpansDropFractionsButAccumulateExactly();
    void pieSlicePaintsItsSector();
    void eraseNamedItemsRemovesOnlyTagged();
    void keepNamedItemsKeepsOnlyNamed();
    void clearSceneLeavesOnlyTheAnchor();
    void itemsBoundingRectCoversEveryItem();
    void imageSizeFollowsKind_data();
    void imageSizeFollowsKind();
    void pressOnPictureIsForwarded();

private:
    std::unique_ptr<TestWorkspace> m_workspace;
    std::unique_ptr<PictureScene> m_scene;
    QFont m_font;
};

void TestScene::init()
{
    m_workspace = std::make_unique<TestWorkspace>(false);
    m_scene = std::make_unique<PictureScene>(2);
    m_scene->setTextColour(Qt::white);
    m_font = m_scene->sceneFont(4);
}

void TestScene::cleanup()
{
    m_scene.reset();
    m_workspace.reset();
}

void TestScene::providerOwnsAndFindsScenes()
{
    QWidget window;
    SceneProvider provider(&window);
    QVERIFY(!provider.current());
    QVERIFY(!provider.findScene(0));

    PictureScene *first = provider.addScene(0);
    PictureScene *second = provider.addScene(7);
    QCOMPARE(provider.current(), second);
    QCOMPARE(provider.findScene(0), first);
    QVERIFY(!provider.findScene(3));
    QCOMPARE(first->owner(), &window);

    // Every scene starts with the invisible anchor at the origin.
    QCOMPARE(second->items().size(), 1);
    auto *anchor = dynamic_cast<QGraphicsRectItem *>(second->items().first());
    QVERIFY(anchor);
    QCOMPARE(anchor->rect(), QRectF(0, 0, 5, 5));
    QCOMPARE(anchor->pen().style(), Qt::NoPen);
}

void TestScene::amountsShowTwoDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("zero") << 0.0 << "0.00";
    QTest::newRow("negative") << -7.0 << "-7.00";
    QTest::newRow("no grouping") << 1234567.5 << "1234567.50";
    QTest::newRow("rounded") << 12.345678 << "12.35";
    QTest::newRow("tiny negative") << -0.001 << "0.00";
}

void TestScene::amountsShowTwoDecimals()
{
    QFETCH(double, value);
    QFETCH(QString, shown);
    AmountItem *item = m_scene->addAmount(value, QPoint(100, 40), m_font, QStringLiteral("tag"));
    QCOMPARE(item->toPlainText(), shown);
    QCOMPARE(item->pos(), QPointF(100, 45));
    QCOMPARE(item->boxWidth(), 90);
    QCOMPARE(item->name(), QStringLiteral("tag"));
}

void TestScene::amountsAreRightAligned()
{
    // A short and a long amount end at the same pixel inside the 90-pixel
    // box, both painted in the scene colour whatever their sign.
    m_scene->addAmount(-7, QPoint(0, 0), m_font);
    m_scene->addAmount(123456.78, QPoint(0, 30), m_font);
    const QPair<int, int> shortOne = brightColumns(renderScene(m_scene.get(), QRectF(0, 5, 120, 20)));
    const QPair<int, int> longOne = brightColumns(renderScene(m_scene.get(), QRectF(0, 35, 120, 20)));
    QVERIFY2(qAbs(shortOne.second - longOne.second) <= 2,
             qPrintable(QStringLiteral("%1 vs %2").arg(shortOne.second).arg(longOne.second)));
    QVERIFY(shortOne.second >= 80 && shortOne.second <= 89);
    QVERIFY(longOne.first < shortOne.first);

    // Wider than its box, an amount keeps its right edge and shows every digit.
    AmountItem *wide = m_scene->addAmount(1353800, QPoint(200, 60), m_scene->sceneFont(5));
    const QPair<int, int> whole = brightColumns(renderScene(m_scene.get(), wide->sceneBoundingRect()));
    QCOMPARE(wide->sceneBoundingRect().right(), 290.0);
    // Ink from the first digit to the last: all but the side bearings of the advance.
    QVERIFY(whole.second - whole.first >= 0.9 * QFontMetricsF(wide->font()).horizontalAdvance("1353800.00"));
}

void TestScene::fontsResolveToInstalledFaces_data()
{
    QTest::addColumn<QString>("requested");
    QTest::addColumn<QString>("installed");
    QTest::newRow("narrow twin") << "Arial Narrow" << "Liberation Sans Narrow";
    QTest::newRow("twin") << "Arial" << "Liberation Sans";
    QTest::newRow("twin of another name") << "Helvetica" << "Liberation Sans";
    QTest::newRow("foundry in brackets") << "Helvetica [Cronyx]" << "Liberation Sans";
    QTest::newRow("no twin: a narrow face") << "Kalinga" << "Liberation Sans Narrow";
}

void TestScene::fontsResolveToInstalledFaces()
{
    QFETCH(QString, requested);
    QFETCH(QString, installed);
    const QFontInfo drawn(FontResolver::font(requested, QStringLiteral("italic"), 10));
    QCOMPARE(drawn.family(), installed);
    QVERIFY(drawn.italic());
    QCOMPARE(drawn.pointSize(), 10);
}

void TestScene::textsSkipEmptyAndCarryNameAndColour()
{
    QVERIFY(!m_scene->addText(QString(), QPoint(1, 1), m_font, Qt::red));
    QVERIFY(!m_scene->addWrappedText(QString(), QPoint(1, 1), m_font, Qt::red));
    QVERIFY(!m_scene->addAmountText(QString(), QPoint(1, 1), m_font));
    QVERIFY(m_scene->items().isEmpty());

    TextItem *item = m_scene->addText(QStringLiteral("Müller's Laden"), QPoint(35, 75), m_font, Qt::red,
                                      QStringLiteral("eraseDetail"));
    QCOMPARE(item->pos(), QPointF(35, 75));
    QCOMPARE(item->defaultTextColor(), QColor(Qt::red));
    QCOMPARE(item->name(), QStringLiteral("eraseDetail"));
    QVERIFY(!(item->flags() & (QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable)));
    QCOMPARE(m_scene->addStaticText(QStringLiteral("Hinweis"), m_font, QPoint(5, 6))->defaultTextColor(),
             QColor(Qt::blue));
    TextItem *wrapped = m_scene->addWrappedText(QStringLiteral("lang "), QPoint(0, 0), m_font, Qt::white, 680);
    QCOMPARE(wrapped->textWidth(), 680.0);
}

void TestScene::textsSitWhereADocumentPutsThem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("font");
    QTest::addColumn<int>("width");
    const QString paragraph = QStringLiteral(
        "Unter diesem Menupunkt werden die Einkünfte deklariert und mit den jeweiligen zu erwartenden "
        "Jahreswerten versehen, dies geschieht im HFA.");
    QTest::newRow("date") << "05.03.2026" << 4 << 0;
    QTest::newRow("umlauts and apostrophe") << "Müller's Laden" << 3 << 0;
    QTest::newRow("italic overhang at the end") << "Zugriff" << 5 << 0;
    QTest::newRow("narrow font") << "Genossenschaft Migros" << 1 << 0;
    QTest::newRow("application font") << "100 %" << 0 << 0;
    QTest::newRow("symbol from another font") << QString(QChar(0x25BC)) << 4 << 0;
    QTest::newRow("euro sign") << QString::fromUtf8("Preis 10 \u20ac") << 2 << 0;
    QTest::newRow("tabs and line breaks") << "\n\tOben links: HFA\n\tUnten links: EFA" << 4 << 0;
    QTest::newRow("wrapped paragraph") << paragraph << 4 << 680;
    QTest::newRow("narrow paragraph") << paragraph << 2 << 300;
    QTest::newRow("word longer than the width") << "Einkaufsgenossenschaftsmitgliedschaft" << 4 << 100;
    QTest::newRow("short text with a width") << "kurz" << 4 << 680;
}

void TestScene::textsSitWhereADocumentPutsThem()
{
    // The reports were laid out for texts in a text document (a 4-pixel
    // margin all round, its line heights and wrapping): a TextItem must be
    // just as large and show the same pixels.
    QFETCH(QString, text);
    QFETCH(int, font);
    QFETCH(int, width);
    TextItem *item = m_scene->addWrappedText(text, QPoint(0, 0), m_scene->sceneFont(font), Qt::white, width);
    QVERIFY(item);

    QGraphicsScene reference;
    auto *document = new QGraphicsTextItem;
    document->setFont(m_scene->sceneFont(font));
    document->setDefaultTextColor(Qt::white);
    if (width > 0)
        document->setTextWidth(width);
    document->setPlainText(text);
    reference.addItem(document);

    QCOMPARE(item->boundingRect(), document->boundingRect());
    QCOMPARE(item->textWidth(), document->textWidth());
    const QRectF area(0, 0, 720, 200);
    QCOMPARE(renderScene(m_scene.get(), area), renderScene(&reference, area));
}

void TestScene::textsFollowChangesOfTextFontAndWidth()
{
    TextItem *item = m_scene->addText(QStringLiteral("Lebensmittel"), QPoint(35, 75), m_font, Qt::white);
    const QRectF first = item->boundingRect();
    QVERIFY(first.width() > 8 && first.height() > 8);

    // The same text measured in another font is not taken from the first.
    TextItem *small = m_scene->addText(QStringLiteral("Lebensmittel"), QPoint(35, 95), m_scene->sceneFont(1),
                                       Qt::white);
    QVERIFY(small->boundingRect().width() < first.width());
    QVERIFY(small->boundingRect().height() < first.height());

    item->setPlainText(QStringLiteral("Lebensmittel und Getränke"));
    QVERIFY(item->boundingRect().width() > first.width());
    QCOMPARE(item->boundingRect().height(), first.height());

    item->setFont(m_scene->sceneFont(5));
    QVERIFY(item->boundingRect().height() > first.height());
    const QRectF large = item->boundingRect();

    item->setTextWidth(120);
    QCOMPARE(item->boundingRect().width(), 120.0);
    QVERIFY(item->boundingRect().height() >= 2 * (large.height() - 8));

    item->setTextWidth(-1);
    QCOMPARE(item->textWidth(), -1.0);
    QCOMPARE(item->boundingRect(), large);
    QCOMPARE(m_scene->itemsBoundingRect().right(), 35 + large.width());
}

void TestScene::bandsAlternate()
{
    m_scene->setBandToggle(false);
    QList<RectItem *> drawn;
    for (int row = 0; row < 5; ++row)
        drawn << m_scene->addBand(QRectF(37, 82 + 18 * row, 732, 16), QStringLiteral("eraseDetail"));
    QVERIFY(!drawn.at(0) && drawn.at(1) && !drawn.at(2) && drawn.at(3) && !drawn.at(4));
    QCOMPARE(drawn.at(1)->rect(), QRectF(37, 100, 732, 16));
    QCOMPARE(drawn.at(1)->brush().color(), QColor(100, 100, 100));
    QCOMPARE(drawn.at(1)->pen().style(), Qt::NoPen);
    QCOMPARE(drawn.at(1)->name(), QStringLiteral("eraseDetail"));
}

void TestScene::rowPrimitivesPlaceTheirColumns()
{
    m_scene->setTextColour(QColor(1, 2, 3));
    m_scene->addTextRow("A", "B", "C", "D", "E", QPoint(35, 45), 10, 20, 30, 40, m_font, false);
    QCOMPARE(text(m_scene.get(), "A")->pos(), QPointF(35, 45));
    QCOMPARE(text(m_scene.get(), "E")->pos(), QPointF(75, 45));
    QCOMPARE(text(m_scene.get(), "E")->defaultTextColor(), QColor(1, 2, 3));
    QVERIFY(itemsOf<QGraphicsLineItem>(m_scene.get()).isEmpty());

    m_scene->clearScene();
    m_scene->addTextRowWithAmount("Datum:", "Begünstigter", "Bemerkung", "Betrag", QPoint(35, 300), 116, 320, m_font,
                                  true);
    QCOMPARE(text(m_scene.get(), "Begünstigter")->pos(), QPointF(151, 300));
    QCOMPARE(text(m_scene.get(), "Bemerkung")->pos(), QPointF(355, 300));
    QCOMPARE(amount(m_scene.get(), "Betrag")->pos(), QPointF(625, 305));
    QCOMPARE(amount(m_scene.get(), "Betrag")->boxWidth(), 140);
    const QList<QGraphicsLineItem *> rule = itemsOf<QGraphicsLineItem>(m_scene.get());
    QCOMPARE(rule.size(), 1);
    QCOMPARE(rule.first()->line(), QLineF(38, 327, 766, 327));
    QCOMPARE(rule.first()->pen().color(), QColor(1, 2, 3));

    m_scene->clearScene();
    m_scene->addTwoTextsTwoAmounts("Ausgabentyp", QString(), "Budget", "Aktuell", QPoint(35, 45), 116, m_font, false);
    QCOMPARE(amount(m_scene.get(), "Budget")->pos(), QPointF(517, 50));
    QCOMPARE(amount(m_scene.get(), "Aktuell")->pos(), QPointF(625, 50));

    m_scene->clearScene();
    m_scene->addTextFourAmounts("Name", "Eröffnungsbetrag", "Guthaben", "Eingang", "Ausgang", QPoint(35, 45), m_font,
                                true);
    QCOMPARE(amount(m_scene.get(), "Eröffnungsbetrag")->pos(), QPointF(295, 50));
    QCOMPARE(amount(m_scene.get(), "Guthaben")->pos(), QPointF(407, 50));
    QCOMPARE(amount(m_scene.get(), "Eingang")->pos(), QPointF(517, 50));
    // A caption ends where the amounts of its column (addAmount at x + 310) end.
    AmountItem *caption = amount(m_scene.get(), "Eröffnungsbetrag");
    QCOMPARE(caption->pos().x() + caption->boxWidth(), 35.0 + 310 + 90);

    m_scene->clearScene();
    m_scene->addTextsAndNumbers("Total:", QString(), QString(), 12.5, -3, QPoint(35, 200), 100, 0, 532, 640, m_font);
    QCOMPARE(amount(m_scene.get(), "12.50")->pos(), QPointF(567, 205));
    QCOMPARE(amount(m_scene.get(), "-3.00")->pos(), QPointF(675, 205));
    m_scene->clearScene();
    m_scene->addTextsAndNumbers("Total:", QString(), QString(), 1, 99, QPoint(35, 200), 100, 0, 0, 640, m_font);
    QCOMPARE(itemsOf<AmountItem>(m_scene.get()).size(), 1);
    QVERIFY(amount(m_scene.get(), "99.00"));
}

void TestScene::paletteStepsByCount_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("step");
    const int steps[] = {1, 4, 4, 4, 4, 3, 3, 2, 2, 2, 2, 1, 1};
    for (int count = 0; count <= 12; ++count)
        QTest::addRow("count %d", count) << count << steps[count];
}

void TestScene::paletteStepsByCount()
{
    QFETCH(int, count);
    QFETCH(int, step);
    m_scene->setPaletteIndex(0);
    // Indexes that reach 19 start again at 0.
    int expected = 0;
    for (int i = 0; i < 30; ++i, expected += step) {
        if (expected >= 19)
            expected = 0;
        QCOMPARE(m_scene->nextPaletteColour(count), PictureScene::paletteColour(expected));
    }
    // A few entries of the palette itself.
    QCOMPARE(PictureScene::paletteColour(0), QColor(255, 37, 1));
    QCOMPARE(PictureScene::paletteColour(8), QColor(0, 128, 128));
    QCOMPARE(PictureScene::paletteColour(18), QColor(192, 0, 192));
}

void TestScene::percentScale()
{
    m_scene->drawPercentScale(QPoint(295, 300));
    QCOMPARE(text(m_scene.get(), "0 %")->pos(), QPointF(262, 485));
    QCOMPARE(text(m_scene.get(), "50 %")->pos(), QPointF(257, 390));
    QCOMPARE(text(m_scene.get(), "100 %")->pos(), QPointF(250, 292));
    QList<QLineF> solid;
    QList<QLineF> dashed;
    for (QGraphicsLineItem *line : itemsOf<QGraphicsLineItem>(m_scene.get()))
        (line->pen().style() == Qt::DashLine ? dashed : solid) << line->line();
    QCOMPARE(solid, (QList<QLineF>{QLineF(295, 300, 295, 500), QLineF(295, 500, 766, 500)}));
    QCOMPARE(dashed, (QList<QLineF>{QLineF(295, 400, 766, 400), QLineF(295, 300, 766, 300)}));
}

void TestScene::barChartWidths_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<double>("width");
    QTest::newRow("three entries") << 3 << 60.0;
    QTest::newRow("four entries, five bars") << 4 << 60.0;
    QTest::newRow("five entries, six bars") << 5 << 410.0 / 6;
    QTest::newRow("six entries, seven bars") << 6 << 400.0 / 7;
    QTest::newRow("nine entries") << 9 << 37.0;
}

void TestScene::barChartWidths()
{
    QFETCH(int, entries);
    QFETCH(double, width);
    QList<double> values;
    QList<double> references;
    QList<QColor> colours;
    for (int i = 0; i < entries; ++i) {
        values << 10;
        references << 100;
        colours << PictureScene::paletteColour(i);
    }
    m_scene->drawBarChart(QStringLiteral("Budget erreicht in %:"), QPoint(295, 300), 1000, values, references,
                          colours);

    const QList<RectItem *> drawn = bars(m_scene.get());
    QCOMPARE(drawn.size(), entries + 1);
    int x = 305;
    for (RectItem *bar : drawn) {
        QCOMPARE(bar->rect().x(), double(x));
        QVERIFY(qAbs(bar->rect().width() - width) < 1e-9);
        QCOMPARE(bar->rect().bottom(), 500.0);
        x = static_cast<int>(x + width + 10);
    }
    QCOMPARE(drawn.first()->brush().color(), PictureScene::paletteColour(0));
    // The last bar is the grey total: all values against the total reference.
    QCOMPARE(drawn.last()->brush().color(), QColor(80, 80, 80));
    QCOMPARE(drawn.last()->rect().height(), entries * 10 * 200.0 / 1000);
}

void TestScene::barChartHeightsAndSkips()
{
    m_scene->drawBarChart(QStringLiteral("Titel"), QPoint(295, 300), 0, {50, 300, 0, -20, 40}, {100, 100, 100, 100, 0},
                          {Qt::red, Qt::green, Qt::blue, Qt::cyan, Qt::magenta});

    // Zero and negative values leave no bar and no gap; n is still 6.
    const QList<RectItem *> drawn = bars(m_scene.get());
    QCOMPARE(drawn.size(), 4);
    QCOMPARE(drawn.at(0)->rect(), QRectF(305, 400, 410.0 / 6, 100));
    QCOMPARE(drawn.at(1)->brush().color(), QColor(Qt::green));
    QCOMPARE(drawn.at(1)->rect().height(), 200.0);        // above its reference: clipped
    QCOMPARE(drawn.at(1)->rect().x(), double(static_cast<int>(305 + 410.0 / 6 + 10)));
    QCOMPARE(drawn.at(2)->brush().color(), QColor(Qt::magenta));
    QCOMPARE(drawn.at(2)->rect().height(), 200.0);        // no reference: full
    QCOMPARE(drawn.at(3)->rect().height(), 200.0);        // total 390 against 0
    QCOMPARE(text(m_scene.get(), "Titel")->pos(), QPointF(295, 248));
    QVERIFY(text(m_scene.get(), "50 %"));
}

void TestScene::emptyChartsDrawNothing()
{
    m_scene->drawBarChart(QStringLiteral("Titel"), QPoint(295, 300), 100, {}, {}, {});
    m_scene->drawPieChart(QStringLiteral("Anteile"), QPoint(35, 300), {}, {});
    QVERIFY(m_scene->items().isEmpty());

    // Without a positive value only the title and the arrow remain.
    m_scene->drawPieChart(QStringLiteral("Anteile"), QPoint(35, 300), {0, -3}, {Qt::red, Qt::green});
    QVERIFY(itemsOf<GraphicPicture>(m_scene.get()).isEmpty());
    QCOMPARE(itemsOf<TextItem>(m_scene.get()).size(), 2);
}

void TestScene::pieSlicesStartAtTopInReverseOrder()
{
    m_scene->drawPieChart(QStringLiteral("Ausgaben-Anteile:"), QPoint(35, 300), {25, 25}, {Qt::red, Qt::green});
    const QList<GraphicPicture *> slices = itemsOf<GraphicPicture>(m_scene.get());
    QCOMPARE(slices.size(), 2);
    // The last entry is drawn first, from 12 o'clock.
    QCOMPARE(slices.at(0)->brushColour(), QColor(Qt::green));
    QCOMPARE(slices.at(0)->startAngle(), 90 * 16);
    QCOMPARE(slices.at(0)->spanAngle(), 180 * 16);
    QCOMPARE(slices.at(1)->brushColour(), QColor(Qt::red));
    QCOMPARE(slices.at(1)->startAngle(), (90 + 180) * 16);
    for (GraphicPicture *slice : slices) {
        QCOMPARE(slice->pos(), QPointF(35, 300));
        QCOMPARE(slice->name(), QStringLiteral("keepTopPart"));
    }
    QCOMPARE(text(m_scene.get(), "Ausgaben-Anteile:")->pos(), QPointF(35, 248));
    QCOMPARE(text(m_scene.get(), QString(QChar(0x25BC)))->pos(), QPointF(123, 278));
}

void TestScene::pieSpansDropFractionsButAccumulateExactly()
{
    // Factor 360/7: spans 205.7, 102.9 and 51.4 degrees, last entry first.
    m_scene->drawPieChart(QStringLiteral("P"), QPoint(0, 0), {1, 0, -5, 2, 4},
                          {Qt::red, Qt::black, Qt::black, Qt::green, Qt::blue});
    QList<QPair<int, int>> angles;
    for (GraphicPicture *slice : itemsOf<GraphicPicture>(m_scene.get()))
        angles << qMakePair(slice->startAngle() / 16 - 90, slice->spanAngle() / 16);
    QCOMPARE(angles, (QList<QPair<int, int>>{{0, 205}, {205, 102}, {308, 51}}));
}

void TestScene::pieSlicePaintsItsSector()
{
    // A quarter from 12 o'clock counter-clockwise covers the top-left part.
    m_scene->addItem(new GraphicPicture(m_scene.get(), 0, 90, Qt::red));
    const QImage image = renderScene(m_scene.get(), QRectF(0, 0, 201, 201));
    QCOMPARE(QColor(image.pixel(60, 60)), QColor(Qt::red));
    QCOMPARE(QColor(image.pixel(140, 60)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(60, 140)), QColor(Qt::black));
}

void TestScene::eraseNamedItemsRemovesOnlyTagged()
{
    const QString tag = QStringLiteral("eraseDetail");
    // The list above: untagged or otherwise tagged.
    m_scene->addOriginAnchor();
    m_scene->addText(QStringLiteral("Migros"), QPoint(35, 75), m_font, Qt::white);
    m_scene->addAmount(12, QPoint(675, 75), m_font);
    m_scene->addFilledRect(QRectF(15, 82, 20, 14), Qt::red);
    m_scene->addRowLine(true, QPoint(35, 45));
    m_scene->drawPieChart(QStringLiteral("Anteile"), QPoint(35, 300), {1, 2}, {Qt::red, Qt::green});
    m_scene->addImage(nullptr, 15, QStringLiteral(":/images/down-arrow.png"), QPointF(535, 85));
    m_scene->addText(QStringLiteral("Other"), QPoint(0, 0), m_font, Qt::white, QStringLiteral("otherTag"));
    const int before = m_scene->items().size();

    // The detail below: tagged.
    m_scene->addText(QStringLiteral("01.02.2026"), QPoint(35, 600), m_font, Qt::white, tag);
    m_scene->addAmount(5, QPoint(675, 600), m_font, tag);
    m_scene->addFilledRect(QRectF(15, 607, 20, 14), Qt::red, tag);
    m_scene->addImage(nullptr, 15, QStringLiteral(":/images/down-arrow.png"), QPointF(535, 610), QString(), tag);
    // A tagged item below a tagged one goes with it, and only once (also
    // when it is listed after its parent, as a child stacked behind it is).
    auto *child = new TextItem(text(m_scene.get(), "01.02.2026"), m_scene.get());
    child->setPlainText(QStringLiteral("Kind"));
    child->setName(tag);
    child->setFlag(QGraphicsItem::ItemStacksBehindParent);

    m_scene->eraseNamedItems(tag);
    QCOMPARE(m_scene->items().size(), before);
    QVERIFY(!text(m_scene.get(), "01.02.2026"));
    QVERIFY(!text(m_scene.get(), "Kind"));
    QVERIFY(text(m_scene.get(), "Migros"));
    QVERIFY(amount(m_scene.get(), "12.00"));
    QCOMPARE(itemsOf<ImageItem>(m_scene.get()).size(), 1);
}

void TestScene::keepNamedItemsKeepsOnlyNamed()
{
    const QString menu = QStringLiteral("main-menu");
    for (int kind = 1; kind <= 3; ++kind)
        m_scene->addImage(nullptr, kind, QStringLiteral(":/images/button-eingang.png"), QPointF(105 * kind, 15),
                          QString(), menu);
    m_scene->addImage(nullptr, 16, QStringLiteral(":/images/info.png"), QPointF(375, 98));
    m_scene->addText(QStringLiteral("Ausgaben"), QPoint(20, 100), m_font, Qt::white, menu);
    m_scene->addText(QStringLiteral("Status"), QPoint(20, 100), m_font, Qt::white);
    m_scene->addFilledRect(QRectF(15, 95, 420, 40), QColor(45, 45, 45), menu);
    m_scene->addRowLine(true, QPoint(0, 0));

    m_scene->keepNamedItems(menu, true, true);
    QCOMPARE(m_scene->items().size(), 4);
    QVERIFY(text(m_scene.get(), "Ausgaben"));
    m_scene->keepNamedItems(menu, true, false);
    QCOMPARE(itemsOf<ImageItem>(m_scene.get()).size(), 3);
    QCOMPARE(m_scene->items().size(), 3);
    m_scene->keepNamedItems(menu, false, false);
    QVERIFY(m_scene->items().isEmpty());
}

void TestScene::clearSceneLeavesOnlyTheAnchor()
{
    TextItem *parent = m_scene->addText(QStringLiteral("Eltern"), QPoint(1, 1), m_font, Qt::white);
    (new TextItem(parent, m_scene.get()))->setPlainText(QStringLiteral("Kind"));
    m_scene->addAmount(3, QPoint(0, 0), m_font);
    m_scene->drawPieChart(QStringLiteral("P"), QPoint(0, 0), {1}, {Qt::red});
    m_scene->addImage(nullptr, 7, QStringLiteral(":/images/display-grey.png"), QPointF(0, 0));

    m_scene->clearScene();
    m_scene->clearScene();
    QCOMPARE(m_scene->items().size(), 1);
    auto *anchor = dynamic_cast<QGraphicsRectItem *>(m_scene->items().first());
    QVERIFY(anchor);
    QCOMPARE(anchor->rect(), QRectF(0, 0, 5, 5));
}

void TestScene::itemsBoundingRectCoversEveryItem()
{
    QCOMPARE(m_scene->itemsBoundingRect(), QRectF());
    m_scene->addOriginAnchor();
    m_scene->addText(QStringLiteral("Lebensmittel"), QPoint(35, 75), m_font, Qt::white);
    m_scene->addAmount(12, QPoint(675, 75), m_font);
    m_scene->drawPieChart(QStringLiteral("Anteile"), QPoint(35, 300), {1, 2}, {Qt::red, Qt::green});
    TextItem *parent = m_scene->addText(QStringLiteral("Eltern"), QPoint(100, 900), m_font, Qt::white);
    auto *child = new TextItem(parent, m_scene.get());
    child->setPlainText(QStringLiteral("Ein Kind weit unten rechts"));
    child->setPos(700, 400);

    QRectF expected;
    for (QGraphicsItem *item : m_scene->items())
        expected |= item->sceneBoundingRect();
    QCOMPARE(m_scene->itemsBoundingRect(), expected);
    QCOMPARE(m_scene->itemsBoundingRect().bottomRight(), child->sceneBoundingRect().bottomRight());
    QCOMPARE(m_scene->itemsBoundingRect(), static_cast<QGraphicsScene *>(m_scene.get())->itemsBoundingRect());
}

void TestScene::imageSizeFollowsKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QSize>("size");
    QTest::newRow("main-menu button") << 2 << QSize(100, 50);
    QTest::newRow("overview") << 4 << QSize(35, 35);
    QTest::newRow("quit") << 10 << QSize(50, 50);
    QTest::newRow("eleven") << 11 << QSize(50, 50);
    QTest::newRow("back") << 14 << QSize(12, 40);
    QTest::newRow("drill-down") << 15 << QSize(50, 12);
    QTest::newRow("settings") << 20 << QSize(35, 35);
}

void TestScene::imageSizeFollowsKind()
{
    QFETCH(int, kind);
    QFETCH(QSize, size);
    QPixmap source(64, 64);
    source.fill(Qt::red);
    ImageItem item(nullptr, kind, source);
    QCOMPARE(item.pixmap().size(), size);
    QCOMPARE(item.kind(), kind);
    QCOMPARE(item.recordId(), 0);
    QCOMPARE(item.recordType(), 20);
    QVERIFY(!item.acceptHoverEvents());
    QCOMPARE(item.AdjustSize(QSizeF(200, 100), 50), QSizeF(100, 50));
}

void TestScene::pressOnPictureIsForwarded()
{
    QSignalSpy spy(m_scene.get(), &PictureScene::imagePressed);
    ImageItem *info = m_scene->addImage(nullptr, 16, QStringLiteral(":/images/info.png"), QPointF(100, 100));
    m_scene->addText(QStringLiteral("Kein Bild"), QPoint(300, 300), m_font, Qt::white);
    auto click = [this](const QPointF &at) {
        QGraphicsSceneMouseEvent press(QEvent::GraphicsSceneMousePress);
        press.setScenePos(at);
        press.setButton(Qt::LeftButton);
        press.setButtons(Qt::LeftButton);
        QApplication::sendEvent(m_scene.get(), &press);
        QGraphicsSceneMouseEvent release(QEvent::GraphicsSceneMouseRelease);
        release.setScenePos(at);
        release.setButton(Qt::LeftButton);
        QApplication::sendEvent(m_scene.get(), &release);
    };

    click(QPointF(110, 110));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 16);
    QCOMPARE(spy.at(0).at(1).value<ImageItem *>(), info);

    // Beside a picture or on a text nothing happens.
    click(QPointF(10, 10));
    click(QPointF(305, 305));
    QCOMPARE(spy.count(), 1);

    // The first picture keeps no hold on the mouse: the next press reaches
    // the picture under it.
    ImageItem *settings = m_scene->addImage(nullptr, 20, QStringLiteral(":/images/settings.png"), QPointF(200, 100));
    click(QPointF(210, 110));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(1).value<ImageItem *>(), settings);
}

QTEST_MAIN(TestScene)
#include "tst_scene.moc"
