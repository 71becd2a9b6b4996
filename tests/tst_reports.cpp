// The reports of the output area and the card lists of the input area, drawn
// from a prepared year file: rows, totals, chart contents, drill-downs.

#include "testsupport.h"

#include "amountitem.h"
#include "dataprovider.h"
#include "expenseentry.h"
#include "expensetypeentry.h"
#include "fontresolver.h"
#include "graphicpicture.h"
#include "imageitem.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "picturescene.h"
#include "rectitem.h"
#include "reportpainter.h"
#include "textitem.h"

#include <QFontMetricsF>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {

// Texts of one list row at y: TextItems at y, AmountItems at y + 5, left to right.
QStringList rowAt(PictureScene &scene, qreal y)
{
    QList<QPair<qreal, QString>> found;
    const QList<QGraphicsItem *> items = scene.items();
    for (QGraphicsItem *item : items) {
        if (auto *text = dynamic_cast<TextItem *>(item)) {
            if (qFuzzyCompare(text->pos().y() + 1, y + 1))
                found << qMakePair(text->pos().x(), text->toPlainText());
        } else if (auto *amount = dynamic_cast<AmountItem *>(item)) {
            if (qFuzzyCompare(amount->pos().y() + 1, y + 6))
                found << qMakePair(amount->pos().x(), amount->toPlainText());
        }
    }
    std::sort(found.begin(), found.end(),
              [](const QPair<qreal, QString> &a, const QPair<qreal, QString> &b) { return a.first < b.first; });
    QStringList texts;
    for (const auto &entry : found)
        texts << entry.second;
    return texts;
}

// The item (text or amount) showing exactly this text, or null.
QGraphicsItem *itemWithText(PictureScene &scene, const QString &wanted)
{
    const QList<QGraphicsItem *> items = scene.items();
    for (QGraphicsItem *item : items) {
        auto *text = dynamic_cast<PlainTextItem *>(item);
        if (text && text->toPlainText() == wanted)
            return item;
    }
    return nullptr;
}

int countText(PictureScene &scene, const QString &wanted)
{
    int count = 0;
    const QList<QGraphicsItem *> items = scene.items();
    for (QGraphicsItem *item : items) {
        auto *text = dynamic_cast<PlainTextItem *>(item);
        if (text && text->toPlainText() == wanted)
            ++count;
    }
    return count;
}

template<class T>
QList<T *> itemsOf(PictureScene &scene)
{
    QList<T *> found;
    const QList<QGraphicsItem *> items = scene.items(Qt::AscendingOrder);
    for (QGraphicsItem *item : items) {
        if (auto *typed = dynamic_cast<T *>(item))
            found << typed;
    }
    return found;
}

// Bars of a bar chart: rectangles with a white outline, left to right.
QList<RectItem *> bars(PictureScene &scene)
{
    QList<RectItem *> found;
    for (RectItem *rect : itemsOf<RectItem>(scene)) {
        if (rect->pen().style() != Qt::NoPen && rect->pen().color() == QColor(Qt::white))
            found << rect;
    }
    std::sort(found.begin(), found.end(),
              [](RectItem *a, RectItem *b) { return a->itemRect().x() < b->itemRect().x(); });
    return found;
}

GraphicPicture *sliceOf(PictureScene &scene, const QColor &colour)
{
    for (GraphicPicture *slice : itemsOf<GraphicPicture>(scene)) {
        if (slice->brushColour() == colour)
            return slice;
    }
    return nullptr;
}

QList<ImageItem *> picturesOfKind(PictureScene &scene, int kind)
{
    QList<ImageItem *> found;
    for (ImageItem *image : itemsOf<ImageItem>(scene)) {
        if (image->kind() == kind)
            found << image;
    }
    std::sort(found.begin(), found.end(), [](ImageItem *a, ImageItem *b) { return a->pos().y() < b->pos().y(); });
    return found;
}

// What a reader could not read on the scene: a row text reaching into the
// text, amount or picture to its right, or an amount not drawn whole.
QStringList unreadable(PictureScene &scene)
{
    // Amounts stand 5 pixels, arrows 10 pixels below the top of their row.
    auto rowOf = [](QGraphicsItem *item) {
        return item->y() - (item->type() == AmountItem::Type ? 5 : dynamic_cast<ImageItem *>(item) ? 10 : 0);
    };
    QStringList found;
    const QList<QGraphicsItem *> items = scene.items();
    for (QGraphicsItem *item : items) {
        auto *amount = dynamic_cast<AmountItem *>(item);
        if (amount && item->boundingRect().width() < QFontMetricsF(amount->font()).horizontalAdvance(amount->toPlainText()))
            found << "cut: " + amount->toPlainText();
        auto *text = dynamic_cast<TextItem *>(item);
        for (QGraphicsItem *next : items) {
            if (text && next->x() > text->x() && rowOf(next) == text->y() && !dynamic_cast<RectItem *>(next)
                && next->sceneBoundingRect().left() < text->sceneBoundingRect().right())
                found << text->toPlainText() + " over " + QString::number(next->x());
        }
    }
    return found;
}

QDate day(int month, int dayOfMonth)
{
    return QDate(QDate::currentDate().year(), month, dayOfMonth);
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void expenseOverviewRowsAndCharts();
    void incomeOverviewRowsAndCharts();
    void recipientOverviewWithoutSpendingHasNoPie();
    void recipientDrillDownReplacesOnlyTheDetail();
    void expenseTypeReportAndSubTypeDrillDown();
    void accountOverviewShowsLinkedCardLine();
    void paymentInstrumentReport_data();
    void paymentInstrumentReport();
    void incomeSourceReportWithoutDeposits();
    void cardLists();
    void rowTextsStayInTheirColumns();
    void helpPageDrawnTwiceLeavesOneCopy();

private:
    void expense(int typeId, int subTypeId, int recipientId, int instrumentId, double amount,
                 const QString &remark, const QDate &date);
    void deposit(int accountId, int sourceId, double amount, const QString &remark, const QDate &date);

    std::unique_ptr<TestWorkspace> m_ws;
    std::unique_ptr<PictureScene> m_scene;
};

void TestReports::init()
{
    m_ws = std::make_unique<TestWorkspace>();
    m_ws->seedMasterData();
    m_scene = std::make_unique<PictureScene>(2);
    m_scene->setTextColour(Qt::white);
}

void TestReports::cleanup()
{
    m_scene.reset();
    m_ws.reset();
}

// Books through the data layer as the booking dialog does.
void TestReports::expense(int typeId, int subTypeId, int recipientId, int instrumentId, double amount,
                          const QString &remark, const QDate &date)
{
    DataProvider *data = DataProvider::instance();
    auto *type = static_cast<ExpenseTypeEntry *>(data->getRecord(typeId, 17));
    QVERIFY(type);
    PaymentInstruction *instrument = data->getPaymentInstrument(instrumentId, true);
    QVERIFY(instrument);
    ExpenseEntry e;
    e.setDate(date);
    e.setAmount(amount);
    e.setExpenseTypeId(typeId);
    e.setExpenseTypeName(type->getName());
    e.setRecipientId(recipientId);
    e.setRecipientName(recipientId ? TestWorkspace::scalar(QStringLiteral("SELECT name FROM beguenstigte WHERE id = %1")
                                                               .arg(recipientId)).toString()
                                   : QStringLiteral("Kiosk am Bahnhof"));
    e.setPaymentInstrumentId(instrumentId);
    e.setPaymentInstrumentName(instrument->getName());
    e.setRemark(remark);
    delete type;
    QString err;
    QVERIFY2(data->postExpense(&e, subTypeId, false, err), qPrintable(err));
}

void TestReports::deposit(int accountId, int sourceId, double amount, const QString &remark, const QDate &date)
{
    QString err;
    QVERIFY2(DataProvider::instance()->postDeposit(accountId, amount, remark, date, sourceId, err), qPrintable(err));
}

// Rows with budget and spent amount per type; only whole positive amounts of
// budgeted types enter the charts, and the total bar measures against all budgets.
void TestReports::expenseOverviewRowsAndCharts()
{
    TestWorkspace::exec(QStringLiteral("INSERT INTO ausgaben_typen (name,budget) VALUES ('Freizeit',0.0)"));
    TestWorkspace::exec(QStringLiteral("INSERT INTO ausgaben_typen (name,budget) VALUES ('Kiosk',100.0)"));
    DataProvider::instance()->loadExpenseTypes();
    const int freizeit = TestWorkspace::scalar(QStringLiteral("SELECT id FROM ausgaben_typen WHERE name = 'Freizeit'")).toInt();
    const int kiosk = TestWorkspace::scalar(QStringLiteral("SELECT id FROM ausgaben_typen WHERE name = 'Kiosk'")).toInt();

    expense(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::CashInstrument, 12.70, "Brot", day(1, 5));
    expense(Seed::FoodType, Seed::FoodSubDrinks, Seed::RecipientMueller, Seed::CashInstrument, 40.30, "Wasser", day(1, 6));
    expense(Seed::HomeType, 0, Seed::RecipientLandlord, Seed::BankInstrument, 800.0, "Miete", day(1, 1));
    expense(freizeit, 0, 0, Seed::CashInstrument, 25.50, "Kino", day(1, 7));
    expense(kiosk, 0, 0, Seed::CashInstrument, 0.90, "Kaugummi", day(1, 8));

    ReportPainter().showExpenseOverview(m_scene.get());

    QCOMPARE(rowAt(*m_scene, 10), QStringList{"Übersicht Ausgaben"});
    QCOMPARE(rowAt(*m_scene, 45), (QStringList{"Ausgabentyp", "Budget", "Aktuell"}));
    QCOMPARE(rowAt(*m_scene, 75), (QStringList{"Freizeit", "0.00", "25.50"}));
    QCOMPARE(rowAt(*m_scene, 93), (QStringList{"Kiosk", "100.00", "0.90"}));
    QCOMPARE(rowAt(*m_scene, 111), (QStringList{"Lebensmittel", "6000.00", "53.00"}));
    QCOMPARE(rowAt(*m_scene, 129), (QStringList{"Wohnen", "18000.00", "800.00"}));
    QCOMPARE(rowAt(*m_scene, 159), (QStringList{"Total:", "24100.00", "879.40"}));
    // Budget and spent amount right-align with their captions.
    auto *budget = static_cast<AmountItem *>(itemWithText(*m_scene, "6000.00"));
    auto *caption = static_cast<AmountItem *>(itemWithText(*m_scene, "Budget"));
    QCOMPARE(budget->pos().x() + budget->boxWidth(), caption->pos().x() + caption->boxWidth());

    // Five lines: palette steps of 3; Lebensmittel gets entry 6, Wohnen entry 9.
    const QColor food = PictureScene::paletteColour(6);
    const QColor home = PictureScene::paletteColour(9);
    QCOMPARE(itemsOf<GraphicPicture>(*m_scene).size(), 2);
    GraphicPicture *homeSlice = sliceOf(*m_scene, home);
    GraphicPicture *foodSlice = sliceOf(*m_scene, food);
    QVERIFY(homeSlice && foodSlice);
    // The last entry starts at 12 o'clock; the whole values 53 and 800 share the circle.
    QCOMPARE(homeSlice->startAngle(), 90 * 16);
    QCOMPARE(homeSlice->spanAngle(), 337 * 16);
    QCOMPARE(foodSlice->startAngle(), (90 + 337) * 16);
    QCOMPARE(foodSlice->spanAngle(), 22 * 16);
    const int yc = 177 + 70;
    QCOMPARE(homeSlice->pos(), QPointF(35, yc));
    QVERIFY(itemWithText(*m_scene, "Ausgaben-Anteile:"));

    const QList<RectItem *> chartBars = bars(*m_scene);
    QCOMPARE(chartBars.size(), 3);
    QCOMPARE(chartBars.at(0)->brush().color(), food);
    QCOMPARE(chartBars.at(0)->itemRect(), QRectF(35 + 260 + 10, yc + 200 - 53 * 200.0 / 6000, 60, 53 * 200.0 / 6000));
    QCOMPARE(chartBars.at(1)->brush().color(), home);
    QCOMPARE(chartBars.at(1)->itemRect().height(), 800 * 200.0 / 18000);
    QCOMPARE(chartBars.at(2)->brush().color(), QColor(80, 80, 80));
    QCOMPARE(chartBars.at(2)->itemRect().height(), 853 * 200.0 / 24100);
    QVERIFY(itemWithText(*m_scene, "Budget erreicht in %:"));
}

void TestReports::incomeOverviewRowsAndCharts()
{
    deposit(Seed::BankAccount, Seed::IncomeSalary, 5000.75, "Lohn Januar", day(1, 25));
    deposit(Seed::BankAccount, Seed::IncomeSalary, 5000.25, "Lohn Februar", day(2, 25));

    ReportPainter().showIncomeOverview(m_scene.get());

    QCOMPARE(rowAt(*m_scene, 10), QStringList{"Übersicht Einkünfte"});
    QCOMPARE(rowAt(*m_scene, 45), (QStringList{"Name", "Voraussichtlich", "Aktuell"}));
    QCOMPARE(rowAt(*m_scene, 75), (QStringList{"Lohn", "60000.00", "10001.00"}));
    QCOMPARE(rowAt(*m_scene, 93), (QStringList{"Rente", "12000.00", "0.00"}));
    QCOMPARE(rowAt(*m_scene, 123), (QStringList{"Total:", "72000.00", "10001.00"}));

    // Only Lohn received something: one full slice, its bar and the total bar.
    const QList<GraphicPicture *> slices = itemsOf<GraphicPicture>(*m_scene);
    QCOMPARE(slices.size(), 1);
    QCOMPARE(slices.first()->spanAngle(), 360 * 16);
    QCOMPARE(slices.first()->brushColour(), PictureScene::paletteColour(0));
    const QList<RectItem *> chartBars = bars(*m_scene);
    QCOMPARE(chartBars.size(), 2);
    QCOMPARE(chartBars.at(0)->itemRect().height(), 10001 * 200.0 / 60000);
    QCOMPARE(chartBars.at(1)->itemRect().height(), 10001 * 200.0 / 72000);
    QVERIFY(itemWithText(*m_scene, "Einkünfte-Anteile:"));
    QVERIFY(itemWithText(*m_scene, "Voraussichtliche Einkünfte erreicht in %:"));
}

void TestReports::recipientOverviewWithoutSpendingHasNoPie()
{
    ReportPainter().showRecipientOverview(m_scene.get());

    QCOMPARE(rowAt(*m_scene, 10), QStringList{"Übersicht Begünstigte"});
    QCOMPARE(rowAt(*m_scene, 45), (QStringList{"Name", "Betrag"}));
    QCOMPARE(rowAt(*m_scene, 75), (QStringList{"Migros", "0.00"}));
    QCOMPARE(rowAt(*m_scene, 93), (QStringList{"Müller's Laden", "0.00"}));
    QCOMPARE(rowAt(*m_scene, 111), (QStringList{"Vermieter AG", "0.00"}));
    QCOMPARE(rowAt(*m_scene, 129), (QStringList{"Andere", "0.00"}));
    QCOMPARE(rowAt(*m_scene, 159), (QStringList{"Total:", "0.00"}));
    QVERIFY(itemsOf<GraphicPicture>(*m_scene).isEmpty());
    QVERIFY(!itemWithText(*m_scene, "Ausgaben-Anteile bezogen auf Begünstigte:"));
    QVERIFY(picturesOfKind(*m_scene, 15).isEmpty());
}

void TestReports::recipientDrillDownReplacesOnlyTheDetail()
{
    expense(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::CashInstrument, 12.70, "Brot", day(1, 5));
    expense(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::CashInstrument, 7.30, "Milch", day(1, 9));
    expense(Seed::FoodType, Seed::FoodSubDrinks, Seed::RecipientMueller, Seed::CashInstrument, 40.30, "Wasser", day(1, 6));
    expense(Seed::HomeType, 0, 0, Seed::CashInstrument, 3.0, "Zeitung", day(1, 2));

    ReportPainter().showRecipientOverview(m_scene.get());
    QCOMPARE(rowAt(*m_scene, 75), (QStringList{"Migros", "20.00"}));
    QCOMPARE(rowAt(*m_scene, 129), (QStringList{"Andere", "3.00"}));
    QCOMPARE(rowAt(*m_scene, 159), (QStringList{"Total:", "63.30"}));
    const int yc = 177 + 70;
    QCOMPARE(m_scene->detailTop(), yc);
    // Migros, Müller and "Andere" have a slice; the landlord got nothing.
    QCOMPARE(itemsOf<GraphicPicture>(*m_scene).size(), 3);

    // Only recipients that received something can be opened ("Andere" too).
    const QList<ImageItem *> arrows = picturesOfKind(*m_scene, 15);
    QCOMPARE(arrows.size(), 3);
    QCOMPARE(arrows.at(2)->data(1).toInt(), 0);
    const int itemsBefore = m_scene->items().size();

    const QColor migros = arrows.at(0)->data(3).value<QColor>();
    const QColor mueller = arrows.at(1)->data(3).value<QColor>();
    QCOMPARE(arrows.at(0)->data(1).toInt(), int(Seed::RecipientMigros));
    QCOMPARE(arrows.at(0)->data(2).toInt(), 14);
    ReportPainter().showRecipientExpenses(m_scene.get(), Seed::RecipientMigros, migros);
    QCOMPARE(rowAt(*m_scene, yc + 225), (QStringList{"Datum:", "Begünstigter", "Bemerkung", "Betrag"}));
    QCOMPARE(rowAt(*m_scene, yc + 265), (QStringList{day(1, 9).toString("dd.MM.yyyy"), "Migros", "Milch", "7.30"}));
    QCOMPARE(rowAt(*m_scene, yc + 283), (QStringList{day(1, 5).toString("dd.MM.yyyy"), "Migros", "Brot", "12.70"}));
    QCOMPARE(rowAt(*m_scene, yc + 313), (QStringList{"Total:", "20.00"}));
    const int itemsWithFirstDetail = m_scene->items().size();

    ReportPainter().showRecipientExpenses(m_scene.get(), Seed::RecipientMueller, mueller);
    QCOMPARE(rowAt(*m_scene, yc + 265),
             (QStringList{day(1, 6).toString("dd.MM.yyyy"), "Müller's Laden", "Wasser", "40.30"}));
    QCOMPARE(rowAt(*m_scene, yc + 295), (QStringList{"Total:", "40.30"}));
    QVERIFY(rowAt(*m_scene, yc + 313).isEmpty());
    QCOMPARE(countText(*m_scene, "Brot"), 0);
    QCOMPARE(countText(*m_scene, "Datum:"), 1);
    // The list and the pie above stay untouched.
    QCOMPARE(rowAt(*m_scene, 75), (QStringList{"Migros", "20.00"}));
    QCOMPARE(itemsOf<GraphicPicture>(*m_scene).size(), 3);
    // One detail row fewer than Migros had (a row, maybe its band).
    QVERIFY(m_scene->items().size() < itemsWithFirstDetail);
    QVERIFY(m_scene->items().size() > itemsBefore);

    // The one marker beside the header has the colour of the opened recipient.
    QList<RectItem *> markers;
    for (RectItem *rect : itemsOf<RectItem>(*m_scene)) {
        if (rect->itemRect() == QRectF(15, yc + 232, 20, 14))
            markers << rect;
    }
    QCOMPARE(markers.size(), 1);
    QCOMPARE(markers.first()->brush().color(), mueller);
    QCOMPARE(markers.first()->name(), QStringLiteral("eraseDetail"));
}

void TestReports::expenseTypeReportAndSubTypeDrillDown()
{
    expense(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::CashInstrument, 12.70, "Brot", day(1, 5));
    expense(Seed::FoodType, Seed::FoodSubDrinks, Seed::RecipientMueller, Seed::CashInstrument, 40.30, "Wasser", day(1, 6));
    expense(Seed::HomeType, 0, Seed::RecipientLandlord, Seed::BankInstrument, 800.0, "Miete", day(1, 1));

    std::unique_ptr<FinanceBase> type(DataProvider::instance()->getRecord(Seed::FoodType, 17));
    QVERIFY(type);
    ReportPainter().showExpenseTypeReport(m_scene.get(), static_cast<ExpenseTypeEntry *>(type.get()));

    QCOMPARE(rowAt(*m_scene, 10), QStringList{"Lebensmittel"});
    QCOMPARE(rowAt(*m_scene, 45), (QStringList{"Ausgabentyp-Unterbereich", "Budget", "Aktuell"}));
    QCOMPARE(rowAt(*m_scene, 75), (QStringList{"Getränke", "40.30"}));
    QCOMPARE(rowAt(*m_scene, 93), (QStringList{"Grundnahrung", "12.70"}));
    // The total line closes with the type's budget against all it spent.
    QCOMPARE(rowAt(*m_scene, 123), (QStringList{"Total:", "6000.00", "53.00"}));
    QCOMPARE(itemsOf<GraphicPicture>(*m_scene).size(), 2);
    QVERIFY(itemWithText(*m_scene, "Unterbereich-Anteile:"));
    QVERIFY(bars(*m_scene).isEmpty());

    const int yc = 141 + 70;
    QCOMPARE(rowAt(*m_scene, yc + 225), (QStringList{"Datum:", "Begünstigter", "Bemerkung", "Betrag"}));
    QCOMPARE(m_scene->detailTop(), yc + 265);
    QCOMPARE(rowAt(*m_scene, yc + 265),
             (QStringList{day(1, 6).toString("dd.MM.yyyy"), "Müller's Laden", "Wasser", "40.30"}));
    QCOMPARE(rowAt(*m_scene, yc + 283), (QStringList{day(1, 5).toString("dd.MM.yyyy"), "Migros", "Brot", "12.70"}));
    QCOMPARE(rowAt(*m_scene, yc + 313), (QStringList{"Total:", "53.00"}));
    QCOMPARE(countText(*m_scene, "Miete"), 0);

    // The down-arrows carry the sub-type and its row colour by name.
    const QList<ImageItem *> arrows = picturesOfKind(*m_scene, 15);
    QCOMPARE(arrows.size(), 2);
    QCOMPARE(arrows.at(1)->data(1).toInt(), int(Seed::FoodSubBasic));
    QCOMPARE(arrows.at(1)->data(2).toInt(), 18);
    const QColor basic(arrows.at(1)->data(3).toString());
    QVERIFY(basic.isValid());

    ReportPainter().showSubTypeExpenses(m_scene.get(), Seed::FoodSubBasic, basic);
    QCOMPARE(rowAt(*m_scene, yc + 265), (QStringList{day(1, 5).toString("dd.MM.yyyy"), "Migros", "Brot", "12.70"}));
    QCOMPARE(rowAt(*m_scene, yc + 295), (QStringList{"Total:", "12.70"}));
    QCOMPARE(countText(*m_scene, "Wasser"), 0);
    // Header, sub-type list and pie stay.
    QCOMPARE(countText(*m_scene, "Datum:"), 1);
    QCOMPARE(rowAt(*m_scene, 75), (QStringList{"Getränke", "40.30"}));
    QCOMPARE(itemsOf<GraphicPicture>(*m_scene).size(), 2);
    bool marker = false;
    for (RectItem *rect : itemsOf<RectItem>(*m_scene))
        marker = marker || (rect->itemRect() == QRectF(15, yc + 232, 20, 14) && rect->brush().color() == basic);
    QVERIFY(marker);
}

void TestReports::accountOverviewShowsLinkedCardLine()
{
    expense(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::CardInstrument, 80.0, "Einkauf", day(1, 5));
    expense(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::CashInstrument, 20.0, "Brot", day(1, 6));

    for (int round = 0; round < 2; ++round) {
        ReportPainter().showAccountOverview(m_scene.get());

        QCOMPARE(rowAt(*m_scene, 10), QStringList{"Übersicht Konten + Zahlungsmittel"});
        QCOMPARE(rowAt(*m_scene, 45),
                 (QStringList{"Name", "Eröffnungsbetrag", "Guthaben", "Eingang", "Ausgang"}));
        QCOMPARE(rowAt(*m_scene, 75), (QStringList{"Bargeld", "200.00", "180.00", "0.00", "20.00"}));
        // The card's expenses come off the bank account; the card has a line of its own.
        QCOMPARE(rowAt(*m_scene, 93), (QStringList{"Postkonto", "1000.00", "920.00", "0.00", "0.00"}));
        QCOMPARE(rowAt(*m_scene, 111), (QStringList{"Sparkonto", "5000.00", "5000.00", "0.00", "0.00"}));
        QCOMPARE(rowAt(*m_scene, 129), (QStringList{"Visa", "0.00", "0.00", "0.00", "80.00"}));
        QCOMPARE(rowAt(*m_scene, 159), (QStringList{"Total:", "6200.00", "6100.00", "0.00", "100.00"}));

        // The bank account points at its card, the card line carries a bullet:
        // once each, also when the overview is drawn again.
        QCOMPARE(countText(*m_scene, QString(QChar(0x25C0))), 1);
        QCOMPARE(itemWithText(*m_scene, QString(QChar(0x25C0)))->pos(), QPointF(35 + 512, 93 - 4));
        QCOMPARE(countText(*m_scene, QString(QChar(0x2022))), 1);
        QCOMPARE(itemWithText(*m_scene, QString(QChar(0x2022)))->pos(), QPointF(35 + 730, 129 - 12));
        QCOMPARE(itemsOf<GraphicPicture>(*m_scene).size(), 2);
        QVERIFY(itemWithText(*m_scene, "Belastungs-Anteile:"));
    }
}

void TestReports::paymentInstrumentReport_data()
{
    QTest::addColumn<int>("instrument");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("movementsListed");

    QTest::newRow("bank account") << int(Seed::BankInstrument) << "Postkonto  -  CH12-3456" << "Konto:" << true;
    QTest::newRow("linked card") << int(Seed::CardInstrument) << "Visa  -  4111" << "Zahlungsmittel:" << false;
    QTest::newRow("cash") << int(Seed::CashInstrument) << "Bargeld" << "Zahlungsmittel:" << true;
}

// An instrument's row, then its account's own movements (the ones without
// instrument), then its expenses, each block with its total.
void TestReports::paymentInstrumentReport()
{
    QFETCH(int, instrument);
    QFETCH(QString, title);
    QFETCH(QString, caption);
    QFETCH(bool, movementsListed);

    deposit(Seed::BankAccount, Seed::IncomeSalary, 2000.0, "Lohn", day(1, 25));
    deposit(Seed::CashAccount, 0, 50.0, "Fund", day(1, 20));
    expense(Seed::HomeType, 0, Seed::RecipientLandlord, Seed::BankInstrument, 800.0, "Miete", day(1, 1));
    expense(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::CardInstrument, 80.0, "Einkauf", day(1, 5));
    expense(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::CashInstrument, 20.0, "Brot", day(1, 6));

    PaymentInstruction *p = DataProvider::instance()->getPaymentInstrument(instrument, true);
    QVERIFY(p);
    QList<PaymentInstruction *> all;
    DataProvider::instance()->getPaymentInstruments(all);
    ReportPainter().showPaymentInstrumentReport(m_scene.get(), p);

    QCOMPARE(rowAt(*m_scene, 10), QStringList{title});
    QCOMPARE(rowAt(*m_scene, 45), (QStringList{caption, "Eröffnungsbetrag", "Guthaben", "Eingang", "Ausgang"}));
    QCOMPARE(countText(*m_scene, "Bewegungen:"), movementsListed ? 1 : 0);

    const QString d = QStringLiteral("dd.MM.yyyy");
    if (instrument == Seed::BankInstrument) {
        QCOMPARE(rowAt(*m_scene, 75), (QStringList{"Postkonto", "1000.00", "2120.00", "2000.00", "800.00"}));
        QCOMPARE(rowAt(*m_scene, 143), (QStringList{"Bewegungen:", "Transaktion", "Eingang", "Ausgang"}));
        // The rent went out through the instrument: it is an expense, not a bare movement.
        QCOMPARE(rowAt(*m_scene, 173), (QStringList{day(1, 25).toString(d), "Lohn", "2000.00"}));
        QCOMPARE(itemWithText(*m_scene, "2000.00")->pos().x(), 35.0 + 532);
        QCOMPARE(rowAt(*m_scene, 199), (QStringList{"Total:", "2000.00", "0.00"}));
        QCOMPARE(rowAt(*m_scene, 271), (QStringList{"Belastungen:", "Begünstigter", "Bemerkung", "Ausgang"}));
        QCOMPARE(rowAt(*m_scene, 301), (QStringList{day(1, 1).toString(d), "Vermieter AG", "Miete", "800.00"}));
        QCOMPARE(rowAt(*m_scene, 327), (QStringList{"Total:", "800.00"}));
    } else if (instrument == Seed::CardInstrument) {
        QCOMPARE(rowAt(*m_scene, 75), (QStringList{"Visa", "0.00", "0.00", "0.00", "80.00"}));
        QCOMPARE(rowAt(*m_scene, 143), (QStringList{"Belastungen:", "Begünstigter", "Bemerkung", "Ausgang"}));
        QCOMPARE(rowAt(*m_scene, 173), (QStringList{day(1, 5).toString(d), "Migros", "Einkauf", "80.00"}));
        QCOMPARE(rowAt(*m_scene, 199), (QStringList{"Total:", "80.00"}));
        QCOMPARE(countText(*m_scene, "Lohn"), 0);
    } else {
        QCOMPARE(rowAt(*m_scene, 75), (QStringList{"Bargeld", "200.00", "230.00", "50.00", "20.00"}));
        QCOMPARE(rowAt(*m_scene, 173), (QStringList{day(1, 20).toString(d), "Fund", "50.00"}));
        QCOMPARE(rowAt(*m_scene, 199), (QStringList{"Total:", "50.00", "0.00"}));
        QCOMPARE(rowAt(*m_scene, 301), (QStringList{day(1, 6).toString(d), "Migros", "Brot", "20.00"}));
        QCOMPARE(rowAt(*m_scene, 327), (QStringList{"Total:", "20.00"}));
    }
}

void TestReports::incomeSourceReportWithoutDeposits()
{
    deposit(Seed::BankAccount, Seed::IncomeSalary, 2000.0, "Lohn", day(1, 25));
    std::unique_ptr<FinanceBase> pension(DataProvider::instance()->getRecord(Seed::IncomePension, 19));
    QVERIFY(pension);
    ReportPainter().showIncomeSourceReport(m_scene.get(), static_cast<IncomeEntry *>(pension.get()));

    QCOMPARE(rowAt(*m_scene, 10), QStringList{"Rente"});
    QCOMPARE(rowAt(*m_scene, 45), (QStringList{"Bewegungen:", "Transaktion", "Betrag"}));
    QCOMPARE(rowAt(*m_scene, 75 + 8), (QStringList{"Total:", "0.00"}));
    QCOMPARE(itemWithText(*m_scene, "0.00")->pos(), QPointF(35 + 640, 83 + 5));
    QCOMPARE(countText(*m_scene, "2000.00"), 0);

    std::unique_ptr<FinanceBase> salary(DataProvider::instance()->getRecord(Seed::IncomeSalary, 19));
    ReportPainter().showIncomeSourceReport(m_scene.get(), static_cast<IncomeEntry *>(salary.get()));
    QCOMPARE(rowAt(*m_scene, 75), (QStringList{day(1, 25).toString("dd.MM.yyyy"), "Lohn", "2000.00"}));
    QCOMPARE(rowAt(*m_scene, 93 + 8), (QStringList{"Total:", "2000.00"}));
    QCOMPARE(countText(*m_scene, "Rente"), 0);
}

// One card per record, 45 apart, with the record's action pictures; the
// instruments of inactive accounts have none.
void TestReports::cardLists()
{
    ReportPainter painter;
    painter.showExpenseTypeCards(m_scene.get());
    QCOMPARE(painter.scene(), m_scene.get());
    QCOMPARE(rowAt(*m_scene, 15), QStringList{"Lebensmittel"});
    QCOMPARE(rowAt(*m_scene, 60), QStringList{"Wohnen"});
    QList<ImageItem *> book = picturesOfKind(*m_scene, 6);
    QCOMPARE(book.size(), 2);
    QCOMPARE(book.at(0)->pos(), QPointF(15 + 320, 10 + 3));
    QCOMPARE(book.at(1)->pos(), QPointF(15 + 320, 55 + 3));
    QCOMPARE(book.at(1)->recordId(), int(Seed::HomeType));
    QCOMPARE(book.at(1)->recordType(), 17);
    QCOMPARE(picturesOfKind(*m_scene, 7).size(), 2);

    painter.showIncomeSourceCards(m_scene.get());
    QCOMPARE(countText(*m_scene, "Lebensmittel"), 0);
    QCOMPARE(rowAt(*m_scene, 15), QStringList{"Lohn"});
    QCOMPARE(rowAt(*m_scene, 60), QStringList{"Rente"});
    const QList<ImageItem *> pay = picturesOfKind(*m_scene, 5);
    QCOMPARE(pay.size(), 2);
    QCOMPARE(pay.at(0)->data(1).toString(), QStringLiteral("Einzahlen"));
    QCOMPARE(pay.at(0)->recordType(), 19);

    TestWorkspace::exec(QStringLiteral("UPDATE konten SET stat = 0 WHERE id = %1").arg(Seed::SavingsAccount));
    DataProvider::instance()->loadAccounts();
    painter.showPaymentInstrumentCards(m_scene.get());
    QCOMPARE(rowAt(*m_scene, 15), QStringList{"Bargeld"});
    QCOMPARE(rowAt(*m_scene, 60), QStringList{"Postkonto"});
    QCOMPARE(rowAt(*m_scene, 105), QStringList{"Visa"});
    QCOMPARE(countText(*m_scene, "Sparkonto"), 0);
    QCOMPARE(picturesOfKind(*m_scene, 7).size(), 3);

    // Deposit and movement maintenance sit on every card but the linked card's.
    QMap<QString, QStringList> actions;
    for (ImageItem *image : picturesOfKind(*m_scene, 5)) {
        QCOMPARE(image->recordType(), 13);
        actions[QString::number(image->recordId())] << image->data(1).toString();
    }
    QCOMPARE(actions.value(QString::number(Seed::CashInstrument)),
             (QStringList{"Transfer", "Einzahlen", "Maintenance"}));
    QVERIFY(actions.value(QString::number(Seed::BankInstrument)).contains("Maintenance"));
    QVERIFY(actions.value(QString::number(Seed::BankInstrument)).contains("Einzahlen"));
    QVERIFY(actions.value(QString::number(Seed::CardInstrument)).isEmpty());
}

// In the window's fonts, long names and remarks end in "…" before the next
// column, and a seven-digit total is drawn whole.
void TestReports::rowTextsStayInTheirColumns()
{
    FontResolver::registerSceneFonts();
    const QString longText = QStringLiteral("Jahresbeitrag Verkehrsverbund mit Zuschlag für Nachtfahrten am Samstag, Sonntag und an Feiertagen");
    for (const QString table : {"ausgaben_typen", "ausgaben_sub_typen", "beguenstigte", "konten"})
        TestWorkspace::exec(QStringLiteral("UPDATE %1 SET name = '%2' WHERE id = 1").arg(table, longText));
    DataProvider::reloadAfterRollback();
    deposit(Seed::BankAccount, Seed::IncomeSalary, 1400000.0, longText, day(1, 2));
    expense(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::BankInstrument, 1353800.0, longText, day(1, 5));

    ReportPainter().showExpenseOverview(m_scene.get());
    QCOMPARE(rowAt(*m_scene, 123), (QStringList{"Total:", "24000.00", "1353800.00"}));
    QCOMPARE(unreadable(*m_scene), QStringList());
    std::unique_ptr<FinanceBase> type(DataProvider::instance()->getRecord(Seed::FoodType, 17));
    ReportPainter().showExpenseTypeReport(m_scene.get(), static_cast<ExpenseTypeEntry *>(type.get()));
    QVERIFY(rowAt(*m_scene, 93).first().endsWith(QChar(0x2026)));
    QCOMPARE(unreadable(*m_scene), QStringList());
    ReportPainter().showRecipientOverview(m_scene.get());
    QCOMPARE(unreadable(*m_scene), QStringList());
    ReportPainter().showAccountOverview(m_scene.get());
    QCOMPARE(unreadable(*m_scene), QStringList());
    ReportPainter().showPaymentInstrumentReport(m_scene.get(), DataProvider::instance()->getPaymentInstrument(Seed::BankInstrument, true));
    QCOMPARE(unreadable(*m_scene), QStringList());
}

void TestReports::helpPageDrawnTwiceLeavesOneCopy()
{
    ReportPainter().showExpenseOverview(m_scene.get());
    ReportPainter().showHelpPage(m_scene.get());
    ReportPainter().showHelpPage(m_scene.get());

    QCOMPARE(countText(*m_scene, "Übersicht Ausgaben"), 0);
    const QStringList headings{"Eine kurze Übersicht zur Anwendung",
                               "Technische Erläuterung zur Aufteilung der Oberfläche:", "Eingang", "Ausgang",
                               "Vermögen"};
    const QList<int> headingY{10, 135, 240, 375, 530};
    for (int i = 0; i < headings.size(); ++i) {
        QCOMPARE(countText(*m_scene, headings.at(i)), 1);
        auto *heading = dynamic_cast<TextItem *>(itemWithText(*m_scene, headings.at(i)));
        QVERIFY(heading);
        QCOMPARE(heading->pos(), QPointF(35, headingY.at(i)));
        QCOMPARE(heading->textWidth(), -1.0);
    }
    const QString areas = QStringLiteral("\n\tOben links: Hauptfenster-Ausschnitt - HFA"
                                         "\n\tUnten links: Eingabefenster-Ausschnitt - EFA"
                                         "\n\tRechts: Ausgabefenster-Ausschnitt - AFA");
    QCOMPARE(countText(*m_scene, areas), 1);
    QCOMPARE(itemWithText(*m_scene, areas)->pos(), QPointF(35, 140));

    // Six paragraphs (the last beside the balance-check picture), white,
    // wrapped inside 680 pixels from the left edge of the text.
    int paragraphs = 0;
    for (TextItem *text : itemsOf<TextItem>(*m_scene)) {
        if (text->textWidth() < 0)
            continue;
        ++paragraphs;
        QVERIFY(text->pos().x() + text->textWidth() <= 35 + 680.0);
        QVERIFY(text->pos().x() + text->boundingRect().width() <= 35 + 680.0);
        QCOMPARE(text->defaultTextColor(), QColor(Qt::white));
    }
    QCOMPARE(paragraphs, 6);
    // The long first paragraph really runs over several lines.
    for (TextItem *text : itemsOf<TextItem>(*m_scene)) {
        if (text->toPlainText().startsWith("Mit dieser Anwendung"))
            QVERIFY(text->boundingRect().height() > 2 * QFontMetricsF(text->font()).lineSpacing());
    }
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
