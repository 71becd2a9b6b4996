// What the output area shows: amounts, pie and bar charts, row texts that
// stay in their columns, and the rows and totals of every report.

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
#include <QImage>
#include <QPainter>
#include <QTest>
#include <memory>

namespace {

template <class T>
QList<T *> itemsOf(QGraphicsScene *scene)
{
    QList<T *> found;
    for (QGraphicsItem *item : scene->items(Qt::AscendingOrder)) {
        if (auto *typed = dynamic_cast<T *>(item))
            found << typed;
    }
    return found;
}

// The texts of the list row at y, left to right; amounts stand 5 pixels lower.
QStringList rowAt(QGraphicsScene *scene, qreal y)
{
    QMap<qreal, QString> byX;
    for (PlainTextItem *item : itemsOf<PlainTextItem>(scene)) {
        if (item->y() == y + (dynamic_cast<AmountItem *>(item) ? 5 : 0))
            byX.insert(item->x(), item->toPlainText());
    }
    return byX.values();
}

QList<QColor> palette(int count)
{
    QList<QColor> colours;
    for (int i = 0; i < count; ++i)
        colours << PictureScene::paletteColour(i);
    return colours;
}

int paletteIndex(const QColor &colour)
{
    return palette(PictureScene::PaletteSize).indexOf(colour);
}

// Per slice: palette entry, start (0 = 12 o'clock) and span in degrees.
QList<double> slices(QGraphicsScene *scene)
{
    QList<double> found;
    for (GraphicPicture *slice : itemsOf<GraphicPicture>(scene))
        found << paletteIndex(slice->brushColour()) << slice->startAngle() / 16.0 - 90 << slice->spanAngle() / 16.0;
    return found;
}

// Chart bars are outlined in white.
QList<RectItem *> barsOf(QGraphicsScene *scene)
{
    QList<RectItem *> found = itemsOf<RectItem>(scene);
    found.removeIf([](RectItem *rect) { return rect->pen().style() == Qt::NoPen || rect->pen().color() != Qt::white; });
    return found;
}

// First and last pixel column with ink when the area is drawn.
QPair<int, int> ink(QGraphicsScene *scene, const QRectF &area)
{
    QImage image(area.size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    scene->render(&painter, QRectF(QPointF(), area.size()), area);
    painter.end();
    QPair<int, int> columns(-1, -1);
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height() && columns.second != x; ++y) {
            if (qRed(image.pixel(x, y)) > 100)
                columns = {columns.first < 0 ? x : columns.first, x};
        }
    }
    return columns;
}

// What a reader could not read: a row text reaching into the next item of
// its row, or an amount not drawn whole.
QStringList unreadable(QGraphicsScene *scene)
{
    auto rowOf = [](QGraphicsItem *i) { return i->y() - (dynamic_cast<AmountItem *>(i) ? 5 : dynamic_cast<ImageItem *>(i) ? 10 : 0); };
    QStringList found;
    const QList<QGraphicsItem *> items = scene->items();
    for (QGraphicsItem *item : items) {
        auto *amount = dynamic_cast<AmountItem *>(item);
        if (amount && amount->boundingRect().width() < QFontMetricsF(amount->font()).horizontalAdvance(amount->toPlainText()))
            found << "cut: " + amount->toPlainText();
        auto *text = dynamic_cast<TextItem *>(item);
        for (QGraphicsItem *next : text ? items : QList<QGraphicsItem *>()) {
            if (next->x() > text->x() && rowOf(next) == text->y() && !dynamic_cast<RectItem *>(next)
                && next->sceneBoundingRect().left() < text->sceneBoundingRect().right())
                found << text->toPlainText() + " over " + QString::number(next->x());
        }
    }
    return found;
}

// Books as the booking dialog does, in January of this year.
void book(int type, int sub, int recipient, int instrument, double amount, const QString &remark, int day)
{
    DataProvider *data = DataProvider::instance();
    ExpenseEntry e;
    e.setDate(QDate(QDate::currentDate().year(), 1, day));
    e.setAmount(amount);
    e.setExpenseTypeId(type);
    e.setExpenseTypeName(data->getExpenseType(type)->getName());
    e.setRecipientId(recipient);
    e.setRecipientName(TestWorkspace::scalar(QStringLiteral("SELECT name FROM beguenstigte WHERE id = %1").arg(recipient)).toString());
    e.setPaymentInstrumentId(instrument);
    e.setPaymentInstrumentName(data->getPaymentInstrument(instrument, true)->getName());
    e.setRemark(remark);
    QVERIFY(data->postExpense(&e, sub, false).ok());
}

void deposit(int account, int source, double amount, const QString &remark, int day)
{
    QVERIFY(DataProvider::instance()->postDeposit(account, amount, remark, QDate(QDate::currentDate().year(), 1, day), source).ok());
}

void bookSampleYear()
{
    book(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::CashInstrument, 12.70, "Brot", 5);
    book(Seed::FoodType, Seed::FoodSubDrinks, Seed::RecipientMueller, Seed::CashInstrument, 40.45, "Wasser", 6);
    book(Seed::HomeType, 0, Seed::RecipientLandlord, Seed::BankInstrument, 800.0, "Miete", 1);
    book(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::CardInstrument, 80.0, "Einkauf", 7);
    deposit(Seed::BankAccount, Seed::IncomeSalary, 2000.0, "Lohn", 25);
    deposit(Seed::CashAccount, 0, 50.0, "Fund", 20);
}

enum Report { Expenses, Income, Recipients, Accounts, FoodReport, BankReport, CardReport, CashReport, SalaryReport };

void draw(PictureScene *scene, int report)
{
    DataProvider *data = DataProvider::instance();
    ReportPainter painter;
    switch (report) {
    case Expenses: return painter.showExpenseOverview(scene);
    case Income: return painter.showIncomeOverview(scene);
    case Recipients: return painter.showRecipientOverview(scene);
    case Accounts: return painter.showAccountOverview(scene);
    case FoodReport: return painter.showExpenseTypeReport(scene, data->getExpenseType(Seed::FoodType).get());
    case SalaryReport: return painter.showIncomeSourceReport(scene, data->getIncomeSource(Seed::IncomeSalary).get());
    }
    const int instrument = report == BankReport ? Seed::BankInstrument
                                                : report == CardReport ? Seed::CardInstrument : Seed::CashInstrument;
    painter.showPaymentInstrumentReport(scene, data->getPaymentInstrument(instrument, true));
}

} // namespace

class TestScene : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void amounts_data();
    void amounts();
    void charts_data();
    void charts();
    void reportRows_data();
    void reportRows();
    void expenseOverviewCharts();
    void longTextsStayInTheirColumns();

private:
    std::unique_ptr<TestWorkspace> m_ws;
    std::unique_ptr<PictureScene> m_scene;
};

void TestScene::init()
{
    m_ws = std::make_unique<TestWorkspace>();
    m_ws->seedMasterData();
    m_scene = std::make_unique<PictureScene>(2);
    m_scene->setTextColour(Qt::white);
}

void TestScene::cleanup()
{
    m_scene.reset();
    m_ws.reset();
}

void TestScene::amounts_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("zero") << 0.0 << "0.00";
    QTest::newRow("one decimal") << 12.5 << "12.50";
    QTest::newRow("negative") << -7.0 << "-7.00";
    QTest::newRow("rounded") << 12.345678 << "12.35";
    QTest::newRow("tiny negative") << -0.001 << "0.00";
    QTest::newRow("wider than its box") << 1353800.0 << "1353800.00";
}

// Two decimals, no grouping, right-aligned in the 90 pixels from x, every
// digit drawn also when the amount is wider than that.
void TestScene::amounts()
{
    QFETCH(double, value);
    QFETCH(QString, shown);
    AmountItem *item = m_scene->addAmount(value, QPoint(100, 40), m_scene->sceneFont(5));
    QCOMPARE(item->toPlainText(), shown);
    QCOMPARE(item->sceneBoundingRect().right(), 190.0);
    const qreal advance = QFontMetricsF(item->font()).horizontalAdvance(shown);
    QVERIFY(item->boundingRect().width() >= advance);
    const QPair<int, int> drawn = ink(m_scene.get(), QRectF(0, 40, 200, 30));
    QVERIFY2(drawn.second >= 180 && drawn.second < 190, qPrintable(QString::number(drawn.second)));
    QVERIFY2(drawn.second - drawn.first >= advance - 6, qPrintable(QString::number(drawn.first)));
}

void TestScene::charts_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<QList<double>>("references");
    QTest::addColumn<double>("total");
    QTest::addColumn<QList<double>>("pie");    // per slice: palette entry, start, span
    QTest::addColumn<double>("barWidth");
    QTest::addColumn<QList<double>>("bars");   // per bar: palette entry (-1 the grey total), height
    QTest::newRow("halves") << QList<double>{25, 25} << QList<double>{100, 100} << 100.0
                            << QList<double>{1, 0, 180, 0, 180, 180} << 60.0 << QList<double>{0, 50, 1, 50, -1, 100};
    QTest::newRow("five entries: skips, clipping, no reference")
        << QList<double>{1, 0, -5, 2, 4} << QList<double>{10, 10, 10, 1, 0} << 0.0
        << QList<double>{4, 0, 205, 3, 205, 102, 0, 308, 51} << 410.0 / 6 << QList<double>{0, 20, 3, 200, 4, 200, -1, 200};
    QTest::newRow("four entries") << QList<double>{0.5, 1, 1, 1} << QList<double>{1, 2, 4, 8} << 70.0
                                  << QList<double>{3, 0, 102, 2, 102, 102, 1, 205, 102, 0, 308, 51} << 60.0
                                  << QList<double>{0, 100, 1, 100, 2, 50, 3, 25, -1, 10};
    QTest::newRow("nothing positive") << QList<double>{0, -3} << QList<double>{1, 1} << 1.0 << QList<double>{} << 0.0
                                      << QList<double>{};
}

// Pie slices from 12 o'clock, the last entry first, in whole degrees; each
// starts where the exact sum of the spans before it ends. One bar per
// positive value against its reference (full without one, clipped at
// 100 %), then the grey bar of all of them against the total; standing on
// y + 200, 10 pixels apart.
void TestScene::charts()
{
    QFETCH(QList<double>, values);
    QFETCH(QList<double>, references);
    QFETCH(double, total);
    QFETCH(QList<double>, pie);
    QFETCH(double, barWidth);
    QFETCH(QList<double>, bars);
    m_scene->drawPieChart(QStringLiteral("Anteile:"), QPoint(35, 300), values, palette(values.size()));
    QCOMPARE(slices(m_scene.get()), pie);

    m_scene->drawBarChart(QStringLiteral("Budget erreicht in %:"), QPoint(295, 300), total, values, references,
                          palette(values.size()));
    QList<double> drawn;
    int x = 305;
    for (RectItem *bar : barsOf(m_scene.get())) {
        QCOMPARE(bar->rect().x(), double(x));
        QCOMPARE(bar->rect().width(), barWidth);
        QCOMPARE(bar->rect().bottom(), 500.0);
        drawn << paletteIndex(bar->brush().color()) << bar->rect().height();
        x = static_cast<int>(x + barWidth + 10);
    }
    QCOMPARE(drawn, bars);
}

void TestScene::reportRows_data()
{
    QTest::addColumn<int>("report");
    QTest::addColumn<int>("y");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("amountX");   // where the row's last amount starts; 0: not checked
    auto january = [](int day) { return QDate(QDate::currentDate().year(), 1, day).toString("dd.MM.yyyy"); };
    auto row = [](const char *name, int report, int y, const QStringList &texts, int amountX = 0) {
        QTest::newRow(name) << report << y << texts << amountX;
    };
    row("expenses type", Expenses, 75, {"Lebensmittel", "6000.00", "133.15"}, 675);
    row("expenses total", Expenses, 123, {"Total:", "24000.00", "933.15"});
    row("income total", Income, 123, {"Total:", "72000.00", "2000.00"});
    row("recipient", Recipients, 75, {"Migros", "92.70"});
    row("recipients total", Recipients, 159, {"Total:", "933.15"});
    row("account", Accounts, 75, {"Bargeld", "200.00", "196.85", "50.00", "53.15"});
    row("card line", Accounts, 129, {"Visa", "0.00", "0.00", "0.00", "80.00"});
    row("accounts total", Accounts, 159, {"Total:", "6200.00", "7316.85", "2050.00", "933.15"});
    row("sub-types total", FoodReport, 123, {"Total:", "6000.00", "133.15"});
    row("type's expense", FoodReport, 476, {january(7), "Migros", "Einkauf", "80.00"});
    row("type's expenses total", FoodReport, 542, {"Total:", "133.15"});
    row("account row", BankReport, 75, {"Postkonto", "1000.00", "2120.00", "2000.00", "800.00"});
    row("money in", BankReport, 173, {january(25), "Lohn", "2000.00"}, 567);
    row("movements total", BankReport, 199, {"Total:", "2000.00", "0.00"});
    row("account expense", BankReport, 301, {january(1), "Vermieter AG", "Miete", "800.00"}, 675);
    row("cash expenses total", CashReport, 345, {"Total:", "53.15"});
    row("source deposit", SalaryReport, 75, {january(25), "Lohn", "2000.00"}, 675);
    row("source total", SalaryReport, 101, {"Total:", "2000.00"});
}

void TestScene::reportRows()
{
    QFETCH(int, report);
    QFETCH(int, y);
    QFETCH(QStringList, texts);
    QFETCH(int, amountX);
    bookSampleYear();
    draw(m_scene.get(), report);
    QCOMPARE(rowAt(m_scene.get(), y), texts);
    for (AmountItem *amount : itemsOf<AmountItem>(m_scene.get())) {
        if (amountX && amount->y() == y + 5 && amount->toPlainText() == texts.last())
            QCOMPARE(amount->x(), double(amountX));
    }
}

// The charts take the whole amounts of the budgeted types in their rows'
// colours (three lines: palette steps of 4); the grey bar measures all of
// them against all budgets.
void TestScene::expenseOverviewCharts()
{
    bookSampleYear();
    draw(m_scene.get(), Expenses);
    QCOMPARE(slices(m_scene.get()), (QList<double>{4, 0, 308, 0, 308, 51}));
    QList<double> heights;
    for (RectItem *bar : barsOf(m_scene.get()))
        heights << bar->rect().height();
    QCOMPARE(heights, (QList<double>{133 * 200.0 / 6000, 800 * 200.0 / 18000, 933 * 200.0 / 24000}));
}

// In the window's fonts, long names and remarks end in "…" before the next
// column, and a seven-digit amount is drawn whole, in every report.
void TestScene::longTextsStayInTheirColumns()
{
    FontResolver::registerSceneFonts();
    const QString longText = QStringLiteral(
        "Jahresbeitrag Verkehrsverbund mit Zuschlag für Nachtfahrten am Samstag, Sonntag und an Feiertagen");
    for (const char *table : {"ausgaben_typen", "ausgaben_sub_typen", "beguenstigte", "konten", "einnahme_quelle"})
        TestWorkspace::exec(QStringLiteral("UPDATE %1 SET name = '%2' WHERE id = 1").arg(table, longText));
    DataProvider::reloadAfterRollback();
    deposit(Seed::BankAccount, Seed::IncomeSalary, 1400000.0, longText, 2);
    book(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::BankInstrument, 1353800.0, longText, 5);

    for (int report = Expenses; report <= SalaryReport; ++report) {
        draw(m_scene.get(), report);
        QCOMPARE(unreadable(m_scene.get()), QStringList());
    }
    draw(m_scene.get(), FoodReport);
    const QString cut = rowAt(m_scene.get(), 93).value(0);
    QVERIFY2(cut.startsWith("Jahresbeitrag") && cut.endsWith(QChar(0x2026)), qPrintable(cut));
    FontResolver::forgetSceneFonts();
}

QTEST_MAIN(TestScene)
#include "tst_scene.moc"
