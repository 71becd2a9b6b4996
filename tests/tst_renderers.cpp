// How each kind of record looks on a scene: its columns, cut texts, markers,
// tags, title boxes and the pictures a user can click.

#include "account.h"
#include "accountentry.h"
#include "amountitem.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "expensetypeentry.h"
#include "financepaintable.h"
#include "imageitem.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "picturescene.h"
#include "recipient.h"
#include "rectitem.h"
#include "testsupport.h"
#include "textitem.h"

#include <QFile>
#include <QTest>
#include <memory>

namespace {

const QString Detail = QStringLiteral("eraseDetail");
const QColor RowColour(0, 192, 192);
const QColor BoxColour(45, 45, 45);

template <class T>
QList<T *> itemsOf(QGraphicsScene *scene)
{
    QList<T *> result;
    const QList<QGraphicsItem *> all = scene->items(Qt::AscendingOrder);
    for (QGraphicsItem *item : all) {
        if (auto *typed = dynamic_cast<T *>(item))
            result << typed;
    }
    return result;
}

TextItem *textAt(QGraphicsScene *scene, const QPointF &pos)
{
    for (TextItem *item : itemsOf<TextItem>(scene)) {
        if (item->pos() == pos)
            return item;
    }
    return nullptr;
}

// The amount whose box starts at the column x + d of a row at y.
AmountItem *amountAt(QGraphicsScene *scene, int column, int rowY)
{
    for (AmountItem *item : itemsOf<AmountItem>(scene)) {
        if (item->pos() == QPointF(column, rowY + 5))
            return item;
    }
    return nullptr;
}

RectItem *rectAt(QGraphicsScene *scene, const QRectF &rect)
{
    for (RectItem *item : itemsOf<RectItem>(scene)) {
        if (item->rect() == rect)
            return item;
    }
    return nullptr;
}

// What a user can click: kind, place, tooltip, data text, and the record.
struct Picture
{
    int kind;
    QPointF pos;
    QString toolTip;
    QString data;
    int recordId;
    int recordType;

    bool operator==(const Picture &o) const
    {
        return kind == o.kind && pos == o.pos && toolTip == o.toolTip && data == o.data && recordId == o.recordId
            && recordType == o.recordType;
    }
};

char *toString(const Picture &p)
{
    return qstrdup(qPrintable(QStringLiteral("{kind %1 at (%2,%3) '%4' data '%5' record %6/%7}")
                                  .arg(p.kind).arg(p.pos.x()).arg(p.pos.y()).arg(p.toolTip, p.data)
                                  .arg(p.recordId).arg(p.recordType)));
}

QList<Picture> pictures(QGraphicsScene *scene)
{
    QList<ImageItem *> images = itemsOf<ImageItem>(scene);
    std::sort(images.begin(), images.end(), [](ImageItem *a, ImageItem *b) { return a->pos().x() < b->pos().x(); });
    QList<Picture> result;
    for (ImageItem *image : images) {
        // Every picture shows its resource at the size of its kind.
        if (image->pixmap().isNull() || image->pixmap().size() != ImageItem::displaySize(image->kind()))
            QTest::qFail("picture without its pixmap", __FILE__, __LINE__);
        result << Picture{image->kind(), image->pos(), image->toolTip(), image->data(1).toString(),
                          image->recordId(), image->recordType()};
    }
    return result;
}

QList<int> pictureKinds(QGraphicsScene *scene)
{
    QList<int> kinds;
    for (const Picture &p : pictures(scene))
        kinds << p.kind;
    return kinds;
}

} // namespace

class TestRenderers : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void expenseRowShowsDateRecipientRemarkAmount();
    void expenseSummaryLineWithMarkerSurvivesErasing();
    void movementAmountColumnFollowsDirection_data();
    void movementAmountColumnFollowsDirection();
    void subTypeLineDrillDown_data();
    void subTypeLineDrillDown();
    void recipientLineDrillDown_data();
    void recipientLineDrillDown();
    void accountLineColumnsAndSign_data();
    void accountLineColumnsAndSign();
    void expenseTypeRowIsTaggedBand();
    void expenseTypeCardAndHeader();
    void incomeSourceAndMovementRows();
    void incomeCardAndHeader();
    void paymentInstrumentCards_data();
    void paymentInstrumentCards();
    void accountsPageHeader();
    void yearTitleBox();

private:
    std::unique_ptr<TestWorkspace> m_workspace;
    std::unique_ptr<PictureScene> m_scene;
    QFont m_font;
};

void TestRenderers::init()
{
    m_workspace = std::make_unique<TestWorkspace>(false);
    m_scene = std::make_unique<PictureScene>(2);
    m_scene->setTextColour(Qt::white);
    m_scene->setBandToggle(false);
    m_font = m_scene->sceneFont(4);
}

void TestRenderers::cleanup()
{
    m_scene.reset();
    m_workspace.reset();
}

void TestRenderers::expenseRowShowsDateRecipientRemarkAmount()
{
    ExpenseEntry expense;
    expense.setId(7);
    expense.setDate(QDate(2026, 3, 5));
    expense.setRecipientName(QStringLiteral("Genossenschaft Migros Zürich AG"));   // 31 characters
    expense.setRemark(QStringLiteral("Wocheneinkauf mit Getränken für das Fest am Samstag"));   // 50
    expense.setAmount(12.5);

    expense.paintEntry(QPoint(35, 75), m_scene.get(), m_font, RowColour);
    expense.paintEntry(QPoint(35, 93), m_scene.get(), m_font, RowColour);

    TextItem *date = textAt(m_scene.get(), QPointF(35, 75));
    QVERIFY(date);
    QCOMPARE(date->toPlainText(), QStringLiteral("05.03.2026"));
    QCOMPARE(date->defaultTextColor(), QColor(Qt::white));
    // Too long for their columns: cut with "…" before the next column begins.
    TextItem *recipient = textAt(m_scene.get(), QPointF(151, 75));
    QVERIFY(recipient->toPlainText().startsWith("Genossenschaft") && recipient->toPlainText().endsWith(QChar(0x2026)));
    QVERIFY(recipient->sceneBoundingRect().right() <= 355);
    TextItem *remark = textAt(m_scene.get(), QPointF(355, 75));
    QVERIFY(remark->toPlainText().startsWith("Wocheneinkauf") && remark->toPlainText().endsWith(QChar(0x2026)));
    QVERIFY(remark->sceneBoundingRect().right() <= 675);
    QCOMPARE(amountAt(m_scene.get(), 675, 75)->toPlainText(), QStringLiteral("12.50"));

    // Every part of a booking row goes with the next drill-down.
    for (TextItem *text : itemsOf<TextItem>(m_scene.get()))
        QCOMPARE(text->name(), Detail);
    for (AmountItem *amount : itemsOf<AmountItem>(m_scene.get()))
        QCOMPARE(amount->name(), Detail);
    // Only the second row lies on a band, and there is no marker.
    const QList<RectItem *> rects = itemsOf<RectItem>(m_scene.get());
    QCOMPARE(rects.size(), 1);
    QCOMPARE(rects.first()->rect(), QRectF(37, 100, 732, 16));
    QCOMPARE(rects.first()->name(), Detail);
    QVERIFY(pictures(m_scene.get()).isEmpty());
}

void TestRenderers::expenseSummaryLineWithMarkerSurvivesErasing()
{
    ExpenseEntry line(6000.0);
    line.setName(QStringLiteral("Lebensmittel"));
    line.setAmount(1234.56);
    line.paintEntry(QPoint(35, 75), m_scene.get(), m_font, RowColour);

    QCOMPARE(textAt(m_scene.get(), QPointF(35, 75))->toPlainText(), QStringLiteral("Lebensmittel"));
    QCOMPARE(amountAt(m_scene.get(), 567, 75)->toPlainText(), QStringLiteral("6000.00"));
    QCOMPARE(amountAt(m_scene.get(), 675, 75)->toPlainText(), QStringLiteral("1234.56"));
    RectItem *marker = rectAt(m_scene.get(), QRectF(15, 82, 20, 14));
    QVERIFY(marker);
    QCOMPARE(marker->brush().color(), RowColour);
    QCOMPARE(marker->pen().style(), Qt::NoPen);
    const int summaryItems = m_scene->items().size();

    // A booking row below it, then the drill-down erases the detail block.
    ExpenseEntry booking;
    booking.setDate(QDate(2026, 2, 1));
    booking.setRecipientName(QStringLiteral("Migros"));
    booking.setRemark(QStringLiteral("Brot"));
    booking.setAmount(4.2);
    booking.paintEntry(QPoint(35, 300), m_scene.get(), m_font, Qt::transparent);
    QVERIFY(m_scene->items().size() > summaryItems + 3);

    m_scene->eraseNamedItems(Detail);
    QCOMPARE(m_scene->items().size(), summaryItems);
    QVERIFY(textAt(m_scene.get(), QPointF(35, 75)));
    QVERIFY(!textAt(m_scene.get(), QPointF(35, 300)));
}

void TestRenderers::movementAmountColumnFollowsDirection_data()
{
    QTest::addColumn<int>("opFlag");
    QTest::addColumn<int>("column");
    QTest::newRow("incoming") << 1 << 532;
    QTest::newRow("outgoing") << 2 << 640;
    QTest::newRow("unset") << 0 << 640;
}

void TestRenderers::movementAmountColumnFollowsDirection()
{
    QFETCH(int, opFlag);
    QFETCH(int, column);
    AccountEntry movement;
    movement.setDate(QDate(2026, 12, 31));
    movement.setOpFlag(opFlag);
    movement.setAmount(250);
    movement.setRemark(QString(60, QLatin1Char('x')));
    movement.paintEntry(QPoint(35, 95), m_scene.get(), m_font, Qt::transparent);

    const QList<AmountItem *> amounts = itemsOf<AmountItem>(m_scene.get());
    QCOMPARE(amounts.size(), 1);
    QCOMPARE(amounts.first()->pos(), QPointF(35 + column, 100));
    QCOMPARE(amounts.first()->toPlainText(), QStringLiteral("250.00"));
    QCOMPARE(textAt(m_scene.get(), QPointF(35, 95))->toPlainText(), QStringLiteral("31.12.2026"));
    TextItem *remark = textAt(m_scene.get(), QPointF(151, 95));
    QVERIFY(remark->toPlainText().endsWith(QChar(0x2026)) && remark->sceneBoundingRect().right() <= 35 + 532);
}

void TestRenderers::subTypeLineDrillDown_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<bool>("total");
    QTest::addColumn<bool>("arrow");
    QTest::newRow("spent") << 80.0 << false << true;
    QTest::newRow("nothing spent") << 0.0 << false << false;
    QTest::newRow("refund") << -5.0 << false << false;
    QTest::newRow("total line") << 80.0 << true << false;
}

void TestRenderers::subTypeLineDrillDown()
{
    QFETCH(double, amount);
    QFETCH(bool, total);
    QFETCH(bool, arrow);
    ExpenseEntryDetail line;
    line.setId(3);
    line.setName(QStringLiteral("Getränke"));
    line.setSubTypeId(Seed::FoodSubDrinks);
    line.setAmount(amount);
    line.setSecondAmount(6000);
    line.setTotalRow(total);
    line.paintEntry(QPoint(35, 95), m_scene.get(), m_font, RowColour);

    QCOMPARE(textAt(m_scene.get(), QPointF(35, 95))->toPlainText(), QStringLiteral("Getränke"));
    QCOMPARE(amountAt(m_scene.get(), 675, 95)->toPlainText(), PictureScene::formatAmount(amount));
    QCOMPARE(rectAt(m_scene.get(), QRectF(15, 102, 20, 14))->brush().color(), RowColour);
    // The budget column is filled on the total line only.
    QCOMPARE(amountAt(m_scene.get(), 567, 95) != nullptr, total);

    const QList<ImageItem *> images = itemsOf<ImageItem>(m_scene.get());
    QCOMPARE(images.size(), arrow ? 1 : 0);
    if (!arrow)
        return;
    ImageItem *down = images.first();
    QCOMPARE(down->kind(), 15);
    QCOMPARE(down->pos(), QPointF(515, 105));
    QCOMPARE(down->toolTip(), QStringLiteral("anzeigen"));
    QCOMPARE(down->pixmap().size(), QSize(50, 12));
    QCOMPARE(down->data(1).toInt(), int(Seed::FoodSubDrinks));
    QCOMPARE(down->data(2).toInt(), 18);
    QCOMPARE(down->data(3).toString(), QStringLiteral("#00c0c0"));
    QCOMPARE(down->recordId(), 3);
    QCOMPARE(down->recordType(), 18);
}

void TestRenderers::recipientLineDrillDown_data()
{
    QTest::addColumn<double>("paid");
    QTest::addColumn<bool>("total");
    QTest::addColumn<bool>("arrow");
    QTest::newRow("paid") << 99.95 << false << true;
    QTest::newRow("nothing paid") << 0.0 << false << false;
    QTest::newRow("total line") << 500.0 << true << false;
}

void TestRenderers::recipientLineDrillDown()
{
    QFETCH(double, paid);
    QFETCH(bool, total);
    QFETCH(bool, arrow);
    Recipient recipient;
    recipient.setId(Seed::RecipientMueller);
    recipient.setName(QStringLiteral("Müller's Laden"));
    recipient.setPaidSum(paid);
    recipient.setTotalRow(total);
    recipient.paintEntry(QPoint(35, 95), m_scene.get(), m_font, RowColour);

    QCOMPARE(textAt(m_scene.get(), QPointF(35, 95))->toPlainText(), QStringLiteral("Müller's Laden"));
    QCOMPARE(amountAt(m_scene.get(), 675, 95)->toPlainText(), PictureScene::formatAmount(paid));
    QVERIFY(rectAt(m_scene.get(), QRectF(15, 102, 20, 14)));

    const QList<ImageItem *> images = itemsOf<ImageItem>(m_scene.get());
    QCOMPARE(images.size(), arrow ? 1 : 0);
    if (!arrow)
        return;
    ImageItem *down = images.first();
    QCOMPARE(down->kind(), 15);
    QCOMPARE(down->pos(), QPointF(535, 105));
    QCOMPARE(down->toolTip(), QStringLiteral("anzeigen"));
    QCOMPARE(down->data(1).toInt(), int(Seed::RecipientMueller));
    QCOMPARE(down->data(2).toInt(), 14);
    // The colour itself, not its name.
    QCOMPARE(down->data(3).metaType(), QMetaType::fromType<QColor>());
    QCOMPARE(down->data(3).value<QColor>(), RowColour);
}

void TestRenderers::accountLineColumnsAndSign_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("linked");
    QTest::addColumn<QString>("sign");
    QTest::addColumn<QPointF>("signPos");
    QTest::newRow("account with cards") << 1 << 2 << QString(QChar(0x25C0)) << QPointF(547, 91);
    QTest::newRow("card line") << 0 << 1 << QString(QChar(0x2022)) << QPointF(765, 83);
    QTest::newRow("plain account") << 3 << 0 << QString() << QPointF();
}

void TestRenderers::accountLineColumnsAndSign()
{
    QFETCH(int, id);
    QFETCH(int, linked);
    QFETCH(QString, sign);
    QFETCH(QPointF, signPos);
    Account account;
    account.setId(id);
    account.setName(QStringLiteral("Privatkonto bei der Kantonalbank"));
    account.setOpeningAmount(1000);
    account.setBalance(850.4);
    account.setIncomingSum(100);
    account.setOutgoingSum(249.6);
    account.setLinkedCount(linked);
    account.setColour(QColor(128, 255, 128));
    account.paintEntry(QPoint(35, 95), m_scene.get(), m_font, RowColour);

    // The name fits before the first amount column: shown whole.
    QCOMPARE(textAt(m_scene.get(), QPointF(35, 95))->toPlainText(), QStringLiteral("Privatkonto bei der Kantonalbank"));
    QCOMPARE(amountAt(m_scene.get(), 345, 95)->toPlainText(), QStringLiteral("1000.00"));
    QCOMPARE(amountAt(m_scene.get(), 457, 95)->toPlainText(), QStringLiteral("850.40"));
    QCOMPARE(amountAt(m_scene.get(), 567, 95)->toPlainText(), QStringLiteral("100.00"));
    QCOMPARE(amountAt(m_scene.get(), 675, 95)->toPlainText(), QStringLiteral("249.60"));
    QCOMPARE(rectAt(m_scene.get(), QRectF(15, 102, 20, 14))->brush().color(), RowColour);

    const QList<TextItem *> texts = itemsOf<TextItem>(m_scene.get());
    QCOMPARE(texts.size(), sign.isEmpty() ? 1 : 2);
    if (sign.isEmpty())
        return;
    TextItem *mark = textAt(m_scene.get(), signPos);
    QVERIFY(mark);
    QCOMPARE(mark->toPlainText(), sign);
    QCOMPARE(mark->defaultTextColor(), QColor(128, 255, 128));
}

void TestRenderers::expenseTypeRowIsTaggedBand()
{
    ExpenseTypeEntry type(18000.0);
    type.setId(Seed::HomeType);
    type.setName(QStringLiteral("Wohnen"));
    m_scene->setBandToggle(true);
    type.paintEntry(QPoint(35, 95), m_scene.get(), m_font, RowColour);

    QCOMPARE(textAt(m_scene.get(), QPointF(35, 95))->toPlainText(), QStringLiteral("Wohnen"));
    QCOMPARE(amountAt(m_scene.get(), 315, 95)->toPlainText(), QStringLiteral("18000.00"));
    RectItem *band = rectAt(m_scene.get(), QRectF(37, 102, 732, 16));
    QVERIFY(band);
    QCOMPARE(band->name(), Detail);
    QCOMPARE(band->brush().color(), QColor(100, 100, 100));
}

void TestRenderers::expenseTypeCardAndHeader()
{
    ExpenseTypeEntry type(6000.0);
    type.setId(Seed::FoodType);
    type.setName(QStringLiteral("Lebensmittel"));
    type.paintButton(QPoint(15, 10), m_scene.get(), m_font, BoxColour);

    QCOMPARE(rectAt(m_scene.get(), QRectF(15, 10, 420, 40))->brush().color(), BoxColour);
    QCOMPARE(textAt(m_scene.get(), QPointF(20, 15))->toPlainText(), QStringLiteral("Lebensmittel"));
    const QList<Picture> card = {{6, QPointF(335, 13), "erfassen", QString(), Seed::FoodType, 17},
                                 {7, QPointF(375, 13), "anzeigen", QString(), Seed::FoodType, 17}};
    QCOMPARE(pictures(m_scene.get()), card);

    m_scene->clearScene();
    ExpenseTypeEntry header(0.0);
    header.setName(QStringLiteral("Ausgaben"));
    header.paintButton(QPoint(15, 95), m_scene.get(), m_font, BoxColour);
    QCOMPARE(textAt(m_scene.get(), QPointF(20, 100))->toPlainText(), QStringLiteral("Ausgaben"));
    const QList<Picture> page = {
        {14, QPointF(225, 98), "zurück", QString(), 0, 17},
        {20, QPointF(255, 98), "Begünstigte bearbeiten", "RecipientSettings", 0, 20},
        {20, QPointF(295, 98), "Ausgabetypen bearbeiten", "ExpenseSettings", 0, 17},
        {13, QPointF(335, 98), "Begünstigte anzeigen", QString(), 0, 17},
        {4, QPointF(375, 98), "Ausgabetypen anzeigen", QString(), 0, 17}};
    QCOMPARE(pictures(m_scene.get()), page);
}

void TestRenderers::incomeSourceAndMovementRows()
{
    IncomeEntry source(60000.0);
    source.setName(QStringLiteral("Lohn"));
    source.setAmount(15000);
    source.paintEntry(QPoint(35, 95), m_scene.get(), m_font, RowColour);
    QCOMPARE(textAt(m_scene.get(), QPointF(35, 95))->toPlainText(), QStringLiteral("Lohn"));
    QCOMPARE(amountAt(m_scene.get(), 567, 95)->toPlainText(), QStringLiteral("60000.00"));
    QCOMPARE(amountAt(m_scene.get(), 675, 95)->toPlainText(), QStringLiteral("15000.00"));
    QCOMPARE(rectAt(m_scene.get(), QRectF(15, 102, 20, 14))->brush().color(), RowColour);

    m_scene->clearScene();
    IncomeEntry deposit;
    deposit.setDate(QDate(2026, 4, 25));
    deposit.setRemark(QString(100, QLatin1Char('r')));
    deposit.setAmount(5000);
    deposit.paintEntry(QPoint(35, 95), m_scene.get(), m_font, Qt::transparent);
    QCOMPARE(textAt(m_scene.get(), QPointF(35, 95))->toPlainText(), QStringLiteral("25.04.2026"));
    TextItem *remark = textAt(m_scene.get(), QPointF(151, 95));
    QVERIFY(remark->toPlainText().endsWith(QChar(0x2026)) && remark->sceneBoundingRect().right() <= 35 + 640);
    QCOMPARE(amountAt(m_scene.get(), 675, 95)->toPlainText(), QStringLiteral("5000.00"));
    QVERIFY(!amountAt(m_scene.get(), 567, 95));
    QVERIFY(!rectAt(m_scene.get(), QRectF(15, 102, 20, 14)));

    // A total line shows its name instead of a date.
    m_scene->clearScene();
    deposit.setTotalRow(true);
    deposit.setName(QStringLiteral("Total:"));
    deposit.paintEntry(QPoint(35, 95), m_scene.get(), m_font, Qt::transparent);
    QCOMPARE(textAt(m_scene.get(), QPointF(35, 95))->toPlainText(), QStringLiteral("Total:"));
}

void TestRenderers::incomeCardAndHeader()
{
    IncomeEntry source(12000.0);
    source.setId(Seed::IncomePension);
    source.setName(QStringLiteral("AHV-Rente und Ergänzungsleistungen 2026"));   // 39 characters
    source.paintButton(QPoint(15, 55), m_scene.get(), m_font, BoxColour);
    QCOMPARE(textAt(m_scene.get(), QPointF(20, 60))->toPlainText(), QStringLiteral("AHV-Rente und Ergänzungsleistu"));
    QCOMPARE(textAt(m_scene.get(), QPointF(20, 60))->toPlainText().size(), 30);
    const QList<Picture> card = {{5, QPointF(335, 58), "einzahlen", "Einzahlen", Seed::IncomePension, 19},
                                 {7, QPointF(375, 58), "anzeigen", QString(), Seed::IncomePension, 19}};
    QCOMPARE(pictures(m_scene.get()), card);

    m_scene->clearScene();
    IncomeEntry header;
    header.setName(QStringLiteral("Einkünfte"));
    header.paintButton(QPoint(15, 95), m_scene.get(), m_font, BoxColour);
    const QList<Picture> page = {{14, QPointF(305, 98), "zurück", QString(), 0, 19},
                                 {20, QPointF(335, 98), "Einnahmequellen bearbeiten", "IncomeSettings", 0, 19},
                                 {12, QPointF(375, 98), "Einnahmequellen anzeigen", QString(), 0, 19}};
    QCOMPARE(pictures(m_scene.get()), page);
}

void TestRenderers::paymentInstrumentCards_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("kinds");
    QTest::addColumn<QColor>("cap");
    QTest::newRow("cash") << 21 << QList<int>{5, 7} << QColor(255, 128, 128);
    QTest::newRow("voucher") << 22 << QList<int>{7} << QColor(255, 128, 128);
    QTest::newRow("prepaid card") << 23 << QList<int>{5, 7} << QColor(255, 128, 128);
    QTest::newRow("card on account") << 24 << QList<int>{7} << QColor(255, 128, 128);
    QTest::newRow("bank account") << 25 << QList<int>{5, 7} << QColor(Qt::yellow);
}

void TestRenderers::paymentInstrumentCards()
{
    QFETCH(int, type);
    QFETCH(QList<int>, kinds);
    QFETCH(QColor, cap);
    PaymentInstruction instrument;
    instrument.setId(Seed::CashInstrument);
    instrument.setInstrumentType(type);
    instrument.setName(QStringLiteral("Karte mit einem sehr langen Namen dran"));
    instrument.paintButton(QPoint(15, 10), m_scene.get(), m_font, BoxColour);

    QCOMPARE(textAt(m_scene.get(), QPointF(20, 15))->toPlainText(), QStringLiteral("Karte mit einem sehr langen Na"));
    RectItem *box = rectAt(m_scene.get(), QRectF(15, 10, 420, 40));
    QVERIFY(box);
    QCOMPARE(box->brush().color(), BoxColour);
    RectItem *capRect = rectAt(m_scene.get(), QRectF(430, 10, 5, 40));
    QVERIFY(capRect);
    QCOMPARE(capRect->brush().color(), cap);

    QCOMPARE(pictureKinds(m_scene.get()), kinds);
    for (const Picture &p : pictures(m_scene.get())) {
        QCOMPARE(p.recordId, int(Seed::CashInstrument));
        QCOMPARE(p.recordType, 13);
        if (p.kind == 5) {
            QCOMPARE(p.pos, QPointF(335, 13));
            QCOMPARE(p.toolTip, QStringLiteral("interne Transaktion"));
            QCOMPARE(p.data, QStringLiteral("Transfer"));
        } else {
            QCOMPARE(p.pos, QPointF(375, 13));
            QCOMPARE(p.toolTip, QStringLiteral("anzeigen"));
        }
    }
}

void TestRenderers::accountsPageHeader()
{
    PaymentInstruction header;
    header.setName(QStringLiteral("Konten - Zahlungsmittel"));
    header.setInstrumentType(26);
    header.paintButton(QPoint(15, 95), m_scene.get(), m_font, BoxColour);

    // A plain box: no cap.
    QCOMPARE(itemsOf<RectItem>(m_scene.get()).size(), 1);
    QCOMPARE(rectAt(m_scene.get(), QRectF(15, 95, 420, 40))->brush().color(), BoxColour);
    QCOMPARE(textAt(m_scene.get(), QPointF(20, 100))->toPlainText(), QStringLiteral("Konten - Zahlungsmittel"));
    const QList<Picture> page = {{14, QPointF(265, 98), "zurück", QString(), 0, 13},
                                 {20, QPointF(295, 98), "Konten bearbeiten", "AccountSettings", 0, 20},
                                 {20, QPointF(335, 98), "Zahlungsmittel bearbeiten", "PaymentSettings", 0, 20},
                                 {8, QPointF(375, 98), "Konten + Zahlungsmittel anzeigen", QString(), 0, 13}};
    QCOMPARE(pictures(m_scene.get()), page);

    // An account's own title box carries no pictures.
    m_scene->clearScene();
    Account account;
    account.setId(Seed::CashAccount);
    account.setName(QStringLiteral("Bargeld"));
    account.paintButton(QPoint(15, 10), m_scene.get(), m_font, BoxColour);
    QCOMPARE(rectAt(m_scene.get(), QRectF(15, 10, 420, 40))->brush().color(), BoxColour);
    QCOMPARE(textAt(m_scene.get(), QPointF(20, 15))->toPlainText(), QStringLiteral("Bargeld"));
    QVERIFY(pictures(m_scene.get()).isEmpty());
}

void TestRenderers::yearTitleBox()
{
    const QString status = QStringLiteral("Finanzdatei aktuelles Jahr");
    FinancePaintable current(status, QPoint(15, 95));
    current.paintButton(0, m_scene.get(), m_font, BoxColour);
    QCOMPARE(rectAt(m_scene.get(), QRectF(15, 95, 420, 40))->brush().color(), BoxColour);
    QCOMPARE(textAt(m_scene.get(), QPointF(20, 100))->toPlainText(), status);
    QCOMPARE(pictures(m_scene.get()), (QList<Picture>{{16, QPointF(375, 98), "Info", QString(), 0, 20}}));

    // With an archived year in ./Data the history picture joins.
    QFile archive(m_workspace->dataPath() + QStringLiteral("/finanzen_2014.dat"));
    QVERIFY(archive.open(QIODevice::WriteOnly));
    archive.close();
    m_scene->clearScene();
    current.paintButton(0, m_scene.get(), m_font, BoxColour);
    QCOMPARE(pictures(m_scene.get()),
             (QList<Picture>{{19, QPointF(295, 98), "Finanz-Datei selektieren", QString(), 0, 20},
                             {16, QPointF(375, 98), "Info", QString(), 0, 20}}));

    // A past year offers only the change of year.
    m_scene->clearScene();
    FinancePaintable past(QStringLiteral("2025 - Daten sind in der Vergangenheit!"), QPoint(15, 95));
    past.paintButton(1, m_scene.get(), m_font, QColor(255, 0, 0));
    QCOMPARE(rectAt(m_scene.get(), QRectF(15, 95, 420, 40))->brush().color(), QColor(255, 0, 0));
    QCOMPARE(pictures(m_scene.get()),
             (QList<Picture>{{17, QPointF(375, 98), "auf aktuelles Jahr wechseln", QString(), 0, 20}}));
}

QTEST_MAIN(TestRenderers)
#include "tst_renderers.moc"
