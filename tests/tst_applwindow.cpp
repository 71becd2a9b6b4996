// The main window as a user meets it: the three areas, the main menu with
// the year status, page switches by clicking pictures, the current-year
// guard and the dialogs the pictures open.

#include "testsupport.h"

#include "applwindow.h"
#include "account.h"
#include "colorsetting.h"
#include "dataprovider.h"
#include "expenseentry.h"
#include "expensetypeentry.h"
#include "graphicpicture.h"
#include "incomeentry.h"
#include "imageitem.h"
#include "menudispatcher.h"
#include "paymentinstruction.h"
#include "picturescene.h"
#include "rectitem.h"
#include "reportpainter.h"
#include "textitem.h"
#include "yeargenerator.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGraphicsView>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QString PastYearText = QStringLiteral("Die vorliegenden Daten entsprechen NICHT dem laufenden Jahr, "
                                            "ein Verändern ist daher nicht möglich!");

QStringList textsOf(PictureScene *scene)
{
    QStringList texts;
    const QList<QGraphicsItem *> items = scene->items(Qt::AscendingOrder);
    for (QGraphicsItem *item : items) {
        if (auto *text = dynamic_cast<PlainTextItem *>(item))
            texts << text->toPlainText();
    }
    return texts;
}

QList<ImageItem *> picturesOf(PictureScene *scene, int kind = -1)
{
    QList<ImageItem *> found;
    const QList<QGraphicsItem *> items = scene->items(Qt::AscendingOrder);
    for (QGraphicsItem *item : items) {
        auto *image = dynamic_cast<ImageItem *>(item);
        if (image && (kind < 0 || image->kind() == kind))
            found << image;
    }
    return found;
}

// The picture of that kind; with a record id and data text when given.
ImageItem *picture(PictureScene *scene, int kind, int recordId = -1, const QString &data = QString())
{
    for (ImageItem *image : picturesOf(scene, kind)) {
        if (recordId >= 0 && image->recordId() != recordId)
            continue;
        if (!data.isEmpty() && image->data(1).toString() != data)
            continue;
        return image;
    }
    return nullptr;
}

// Presses the mouse on the picture where the user sees it; the action runs
// once the event loop gets its turn.
void pressOnly(QGraphicsView *view, ImageItem *item)
{
    QVERIFY(item);
    view->ensureVisible(item, 0, 0);
    // A point the picture answers to, nearest its centre.
    const QRectF bounds = item->boundingRect();
    QPointF target = bounds.center();
    qreal best = -1;
    for (qreal x = bounds.left() + 0.5; x < bounds.right(); x += 1.0) {
        for (qreal y = bounds.top() + 0.5; y < bounds.bottom(); y += 1.0) {
            const qreal distance = QLineF(QPointF(x, y), bounds.center()).length();
            if (item->contains(QPointF(x, y)) && (best < 0 || distance < best)) {
                best = distance;
                target = QPointF(x, y);
            }
        }
    }
    const QPoint at = view->mapFromScene(item->mapToScene(target));
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void click(QGraphicsView *view, ImageItem *item)
{
    pressOnly(view, item);
    QCoreApplication::processEvents();
}

// While it lives, closes every dialog (not message box) that opens,
// noting its class; accepts or rejects it.
class DialogCloser
{
public:
    explicit DialogCloser(bool accept) : m_accept(accept)
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || qobject_cast<QMessageBox *>(dialog) || !dialog->isVisible())
                return;
            m_opened << QString::fromLatin1(dialog->metaObject()->className());
            if (m_accept)
                dialog->accept();
            else
                dialog->reject();
        });
        m_timer.start();
    }
    QStringList opened() const { return m_opened; }

private:
    QTimer m_timer;
    bool m_accept;
    QStringList m_opened;
};

} // namespace

class TestApplWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void startsWithMainMenuAndStatus();
    void historyIconOnlyWithArchivedFiles();
    void pastYearFileIsRedAndRefusesBookings_data();
    void pastYearFileIsRedAndRefusesBookings();
    void archivedFileShowsItsYear();
    void windowLimits();
    void pagesFillTheThreeAreas_data();
    void pagesFillTheThreeAreas();
    void actionRunsAfterThePress();
    void repeatedClickOnSamePictureIsIgnored();
    void forgottenPictureNeverBlocksANewOne();
    void queuedPressOnDeletedPictureDoesNothing();
    void kindsWithoutActionDoNothing_data();
    void kindsWithoutActionDoNothing();
    void drillDownByClickingTheArrow();
    void infoAndQuit();
    void balanceCheckFromTheHelpPage();
    void picturesOpenTheirDialogs_data();
    void picturesOpenTheirDialogs();
    void rejectedDialogNeedsAnotherClickFirst();
    void expensesPageOnDemoData();
    void screenshotsOfAGeneratedYear();

private:
    void start(bool archiveInUse = false);
    void setFileYear(int year);

    std::unique_ptr<TestWorkspace> m_ws;
    std::unique_ptr<ApplWindow> m_window;
};

void TestApplWindow::start(bool archiveInUse)
{
    if (!m_ws) {
        m_ws = std::make_unique<TestWorkspace>();
        m_ws->seedMasterData();
    }
    m_window = std::make_unique<ApplWindow>(archiveInUse);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestApplWindow::setFileYear(int year)
{
    TestWorkspace::exec(QStringLiteral("UPDATE settings SET value = %1, version = '%1' "
                                       "WHERE category = 'MY_ZOLVEX' AND name = 'CURRENT_YEAR'").arg(year));
}

void TestApplWindow::cleanup()
{
    m_window.reset();
    m_ws.reset();
}

void TestApplWindow::startsWithMainMenuAndStatus()
{
    m_ws = std::make_unique<TestWorkspace>();   // a new, empty year file
    start();
    PictureScene *hfa = m_window->hfaScene();

    const QList<ImageItem *> menu = picturesOf(hfa);
    QList<QPair<int, QPointF>> placed;
    for (ImageItem *image : menu) {
        if (image->name() == QLatin1String("main-menu"))
            placed << qMakePair(image->kind(), image->pos());
    }
    QCOMPARE(placed, (QList<QPair<int, QPointF>>{{1, QPointF(15, 15)}, {2, QPointF(120, 15)},
                                                  {3, QPointF(225, 15)}, {10, QPointF(384, 15)}}));
    QVERIFY(textsOf(hfa).contains(QStringLiteral("Finanzdatei aktuelles Jahr")));
    bool greyBox = false;
    for (QGraphicsItem *item : hfa->items()) {
        auto *rect = dynamic_cast<RectItem *>(item);
        greyBox = greyBox || (rect && rect->itemRect() == QRectF(15, 95, 420, 40)
                              && rect->brush().color() == QColor(45, 45, 45));
    }
    QVERIFY(greyBox);
    ImageItem *info = picture(hfa, 16);
    QVERIFY(info);
    QCOMPARE(info->pos(), QPointF(15 + 360, 95 + 3));
    QCOMPARE(info->toolTip(), QStringLiteral("Info"));
    QVERIFY(!picture(hfa, 19));
    QVERIFY(!picture(hfa, 17));

    // The fresh file now belongs to the running year; nothing else is drawn yet.
    const QString year = QString::number(QDate::currentDate().year());
    QCOMPARE(TestWorkspace::scalar("SELECT version FROM settings WHERE category = 'MY_ZOLVEX' AND name = 'CURRENT_YEAR'")
                 .toString(), year);
    QVERIFY(ColorSetting::instance()->isYearCurrent());
    QVERIFY(textsOf(m_window->efaScene()).isEmpty());
    QVERIFY(textsOf(m_window->afaScene()).isEmpty());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Zolvex"));
    QCOMPARE(m_window->hfaScene()->backgroundBrush().color(), QColor(80, 80, 80));
}

void TestApplWindow::historyIconOnlyWithArchivedFiles()
{
    m_ws = std::make_unique<TestWorkspace>();
    QFile archive(m_ws->dataPath() + "/finanzen_2020.dat");
    QVERIFY(archive.open(QIODevice::WriteOnly));
    archive.close();
    start();
    ImageItem *history = picture(m_window->hfaScene(), 19);
    QVERIFY(history);
    QCOMPARE(history->pos(), QPointF(15 + 280, 95 + 3));
    QCOMPARE(history->toolTip(), QStringLiteral("Finanz-Datei selektieren"));
    QVERIFY(picture(m_window->hfaScene(), 16));
}

void TestApplWindow::pastYearFileIsRedAndRefusesBookings_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("recordId");
    QTest::addColumn<QString>("data");

    QTest::newRow("book an expense") << 2 << 6 << int(Seed::FoodType) << QString();
    QTest::newRow("deposit income") << 1 << 5 << int(Seed::IncomeSalary) << "Einzahlen";
    QTest::newRow("transfer") << 3 << 5 << int(Seed::CashInstrument) << "Transfer";
    QTest::newRow("deposit into cash") << 3 << 5 << int(Seed::CashInstrument) << "Einzahlen";
    QTest::newRow("maintenance") << 3 << 5 << int(Seed::BankInstrument) << "Maintenance";
}

void TestApplWindow::pastYearFileIsRedAndRefusesBookings()
{
    QFETCH(int, page);
    QFETCH(int, kind);
    QFETCH(int, recordId);
    QFETCH(QString, data);

    m_ws = std::make_unique<TestWorkspace>();
    m_ws->seedMasterData();
    setFileYear(2001);
    start();
    PictureScene *hfa = m_window->hfaScene();
    QVERIFY(textsOf(hfa).contains(QStringLiteral("2001 - Daten sind in der Vergangenheit!")));
    bool redBox = false;
    for (QGraphicsItem *item : hfa->items()) {
        auto *rect = dynamic_cast<RectItem *>(item);
        redBox = redBox || (rect && rect->itemRect() == QRectF(15, 95, 420, 40)
                            && rect->brush().color() == QColor(255, 0, 0));
    }
    QVERIFY(redBox);
    ImageItem *changeYear = picture(hfa, 17);
    QVERIFY(changeYear);
    QCOMPARE(changeYear->pos(), QPointF(15 + 360, 95 + 3));
    QCOMPARE(changeYear->toolTip(), QStringLiteral("auf aktuelles Jahr wechseln"));
    QVERIFY(!picture(hfa, 16));
    QVERIFY(!picture(hfa, 19));

    click(m_window->hfaView(), picture(hfa, page));
    DialogCloser closer(false);
    MessageBoxCatcher boxes;
    click(m_window->efaView(), picture(m_window->efaScene(), kind, recordId, data));
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.title(), QStringLiteral("Laufendes Jahr"));
    QCOMPARE(boxes.text(), PastYearText);
    QVERIFY(closer.opened().isEmpty());
}

void TestApplWindow::archivedFileShowsItsYear()
{
    m_ws = std::make_unique<TestWorkspace>();
    m_ws->seedMasterData();
    setFileYear(2020);
    QFile archive(m_ws->dataPath() + "/finanzen_2020.dat");
    QVERIFY(archive.open(QIODevice::WriteOnly));
    archive.close();
    QFile choice(m_ws->dataPath() + "/finance_file.txt");
    QVERIFY(choice.open(QIODevice::WriteOnly));
    choice.write("finanzen_2020.dat");
    choice.close();
    start(true);

    PictureScene *hfa = m_window->hfaScene();
    QVERIFY(textsOf(hfa).contains(QStringLiteral("Finanzdatei von 2020")));
    QVERIFY(!picture(hfa, 17));
    QVERIFY(picture(hfa, 16));
    QVERIFY(!ColorSetting::instance()->isYearCurrent());

    click(m_window->hfaView(), picture(hfa, 2));
    MessageBoxCatcher boxes;
    click(m_window->efaView(), picture(m_window->efaScene(), 6, Seed::HomeType));
    QCOMPARE(boxes.title(), QStringLiteral("Laufendes Jahr"));
    // Master data may still be looked after.
    DialogCloser closer(false);
    click(m_window->hfaView(), picture(hfa, 20, -1, "ExpenseSettings"));
    QCOMPARE(closer.opened(), QStringList{"ExpenseTypeForm"});
}

void TestApplWindow::windowLimits()
{
    start();
    QCOMPARE(m_window->minimumWidth(), 900);
    QCOMPARE(m_window->maximumWidth(), 1320);
    QCOMPARE(m_window->hfaView()->minimumHeight(), 150);
    QCOMPARE(m_window->hfaView()->maximumHeight(), 150);
    m_window->resize(700, 700);
    QCOMPARE(m_window->width(), 900);
    m_window->resize(2000, 700);
    QCOMPARE(m_window->width(), 1320);
    QCoreApplication::processEvents();
    // The left column keeps its width whatever the window's.
    QCOMPARE(m_window->hfaView()->width(), 450);
    QCOMPARE(m_window->efaView()->width(), 450);
    QCOMPARE(m_window->hfaView()->height(), 150);
    QVERIFY(m_window->afaView()->x() >= m_window->efaView()->x() + 450);
}

void TestApplWindow::pagesFillTheThreeAreas_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QList<int>>("headerKinds");
    QTest::addColumn<QStringList>("cards");
    QTest::addColumn<QString>("overview");
    QTest::addColumn<int>("slices");

    QTest::newRow("income") << 1 << "Einkünfte" << QList<int>{14, 20, 12} << QStringList{"Lohn", "Rente"}
                            << "Übersicht Einkünfte" << 1;
    QTest::newRow("expenses") << 2 << "Ausgaben" << QList<int>{14, 20, 20, 13, 4}
                              << QStringList{"Lebensmittel", "Wohnen"} << "Übersicht Ausgaben" << 2;
    QTest::newRow("accounts") << 3 << "Konten - Zahlungsmittel" << QList<int>{14, 20, 20, 8}
                              << QStringList{"Bargeld", "Postkonto", "Sparkonto", "Visa"}
                              << "Übersicht Konten + Zahlungsmittel" << 2;
}

void TestApplWindow::pagesFillTheThreeAreas()
{
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(QList<int>, headerKinds);
    QFETCH(QStringList, cards);
    QFETCH(QString, overview);
    QFETCH(int, slices);

    m_ws = std::make_unique<TestWorkspace>();
    m_ws->seedMasterData();
    QString err;
    DataProvider *data = DataProvider::instance();
    QVERIFY(data->postDeposit(Seed::BankAccount, 3000.0, "Lohn", QDate::currentDate(), Seed::IncomeSalary, err));
    for (int type : {int(Seed::FoodType), int(Seed::HomeType)}) {
        ExpenseEntry e;
        e.setDate(QDate::currentDate());
        e.setAmount(type * 100.0);
        e.setExpenseTypeId(type);
        e.setPaymentInstrumentId(type == Seed::FoodType ? Seed::CashInstrument : Seed::BankInstrument);
        QVERIFY2(data->postExpense(&e, 0, false, err), qPrintable(err));
    }
    start();
    // Scroll the output area away from the top first.
    ReportPainter().showHelpPage(m_window->afaScene());
    m_window->afaView()->verticalScrollBar()->setValue(m_window->afaView()->verticalScrollBar()->maximum());

    click(m_window->hfaView(), picture(m_window->hfaScene(), kind));

    PictureScene *hfa = m_window->hfaScene();
    QCOMPARE(picturesOf(hfa, 1).size() + picturesOf(hfa, 2).size() + picturesOf(hfa, 3).size()
                 + picturesOf(hfa, 10).size(), 4);
    QVERIFY(textsOf(hfa).contains(title));
    QVERIFY(!textsOf(hfa).contains(QStringLiteral("Finanzdatei aktuelles Jahr")));
    QList<int> header;
    for (ImageItem *image : picturesOf(hfa)) {
        if (image->name() != QLatin1String("main-menu")) {
            header << image->kind();
            QVERIFY(image->pos().y() == 98);
        }
    }
    std::sort(header.begin(), header.end());
    std::sort(headerKinds.begin(), headerKinds.end());
    QCOMPARE(header, headerKinds);

    QStringList cardTexts = textsOf(m_window->efaScene());
    std::sort(cardTexts.begin(), cardTexts.end());
    QCOMPARE(cardTexts, cards);

    PictureScene *afa = m_window->afaScene();
    QVERIFY(textsOf(afa).contains(overview));
    int pie = 0;
    for (QGraphicsItem *item : afa->items())
        pie += dynamic_cast<GraphicPicture *>(item) ? 1 : 0;
    QCOMPARE(pie, slices);
    QCOMPARE(m_window->afaView()->verticalScrollBar()->value(), m_window->afaView()->verticalScrollBar()->minimum());
    // The charts can be scrolled to.
    QVERIFY(m_window->afaView()->sceneRect().bottom() >= afa->itemsBoundingRect().bottom());

    // Back: main menu and status again, no cards, the output area unchanged.
    const QStringList before = textsOf(afa);
    click(m_window->hfaView(), picture(hfa, 14));
    QVERIFY(textsOf(hfa).contains(QStringLiteral("Finanzdatei aktuelles Jahr")));
    QVERIFY(!textsOf(hfa).contains(title));
    QCOMPARE(picturesOf(hfa).size(), 5);
    QVERIFY(textsOf(m_window->efaScene()).isEmpty());
    QVERIFY(picturesOf(m_window->efaScene()).isEmpty());
    QCOMPARE(textsOf(afa), before);
}

void TestApplWindow::actionRunsAfterThePress()
{
    start();
    pressOnly(m_window->hfaView(), picture(m_window->hfaScene(), 2));
    // The press has been handled; the page has not been drawn yet.
    QVERIFY(textsOf(m_window->efaScene()).isEmpty());
    QCoreApplication::processEvents();
    QVERIFY(textsOf(m_window->efaScene()).contains(QStringLiteral("Wohnen")));
}

void TestApplWindow::repeatedClickOnSamePictureIsIgnored()
{
    start();
    PictureScene *hfa = m_window->hfaScene();
    PictureScene *afa = m_window->afaScene();
    click(m_window->hfaView(), picture(hfa, 2));
    QVERIFY(textsOf(afa).contains(QStringLiteral("Übersicht Ausgaben")));

    ReportPainter().showHelpPage(afa);
    click(m_window->hfaView(), picture(hfa, 2));
    QVERIFY(!textsOf(afa).contains(QStringLiteral("Übersicht Ausgaben")));

    // Another picture in between makes it work again.
    click(m_window->hfaView(), picture(hfa, 13));
    QVERIFY(textsOf(afa).contains(QStringLiteral("Übersicht Begünstigte")));
    click(m_window->hfaView(), picture(hfa, 2));
    QVERIFY(textsOf(afa).contains(QStringLiteral("Übersicht Ausgaben")));

    // Also a picture of another area counts as another picture.
    ReportPainter().showHelpPage(afa);
    click(m_window->efaView(), picture(m_window->efaScene(), 7, Seed::HomeType));
    QVERIFY(textsOf(afa).contains(QStringLiteral("Wohnen")));
    click(m_window->efaView(), picture(m_window->efaScene(), 7, Seed::HomeType));
    click(m_window->hfaView(), picture(hfa, 4));
    QVERIFY(textsOf(afa).contains(QStringLiteral("Übersicht Ausgaben")));
}

void TestApplWindow::forgottenPictureNeverBlocksANewOne()
{
    start();
    PictureScene *hfa = m_window->hfaScene();
    for (int round = 0; round < 5; ++round) {
        ReportPainter().showHelpPage(m_window->afaScene());
        click(m_window->hfaView(), picture(hfa, 1));
        QVERIFY2(textsOf(m_window->afaScene()).contains(QStringLiteral("Übersicht Einkünfte")),
                 qPrintable(QString::number(round)));
        click(m_window->hfaView(), picture(hfa, 14));
        // The back picture went with the header it belonged to.
        QVERIFY(!MenuDispatcher::instance()->lastItem());
    }
}

void TestApplWindow::queuedPressOnDeletedPictureDoesNothing()
{
    start();
    PictureScene *hfa = m_window->hfaScene();
    click(m_window->hfaView(), picture(hfa, 2));
    ReportPainter().showHelpPage(m_window->afaScene());

    // Back and "show expense types" pressed before either action ran: back
    // removes the header and with it the second picture.
    ImageItem *back = picture(hfa, 14);
    ImageItem *overview = picture(hfa, 4);
    pressOnly(m_window->hfaView(), back);
    pressOnly(m_window->hfaView(), overview);
    QCoreApplication::processEvents();

    QVERIFY(textsOf(hfa).contains(QStringLiteral("Finanzdatei aktuelles Jahr")));
    QVERIFY(!textsOf(m_window->afaScene()).contains(QStringLiteral("Übersicht Ausgaben")));
    QVERIFY(!picture(hfa, 4));
}

void TestApplWindow::kindsWithoutActionDoNothing_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("recordType");
    QTest::addColumn<int>("recordId");
    QTest::addColumn<QString>("data");

    QTest::newRow("kind 9") << 9 << 0 << 0 << QString();
    QTest::newRow("kind 11") << 11 << 0 << 0 << QString();
    QTest::newRow("kind 18") << 18 << 0 << 0 << QString();
    QTest::newRow("kind 5 on an expense type") << 5 << 17 << int(Seed::FoodType) << "Einzahlen";
    QTest::newRow("kind 5 on an account") << 5 << 11 << int(Seed::BankAccount) << "Transfer";
    QTest::newRow("kind 5 on a deleted source") << 5 << 19 << 99 << "Einzahlen";
    QTest::newRow("kind 6 on an instrument") << 6 << 13 << int(Seed::CashInstrument) << QString();
    QTest::newRow("kind 7 on an account") << 7 << 11 << int(Seed::BankAccount) << QString();
    QTest::newRow("kind 15 on an expense") << 15 << 0 << 1 << QString();
    QTest::newRow("kind 20 unknown") << 20 << 0 << 0 << "OtherSettings";
}

void TestApplWindow::kindsWithoutActionDoNothing()
{
    QFETCH(int, kind);
    QFETCH(int, recordType);
    QFETCH(int, recordId);
    QFETCH(QString, data);

    start();
    DataProvider *provider = DataProvider::instance();
    FinanceBase *record = nullptr;
    std::unique_ptr<FinanceBase> owned;
    if (recordType == 11)
        record = provider->getAccount(recordId);
    else if (recordType == 13)
        record = provider->getPaymentInstrument(recordId, true);
    else if (recordType == 17 || recordType == 19) {
        // An expense type, or an income source that is no longer in the file.
        owned.reset(recordType == 17 ? static_cast<FinanceBase *>(new ExpenseTypeEntry(0.0))
                                     : static_cast<FinanceBase *>(new IncomeEntry));
        owned->setId(recordId);
        record = owned.get();
    }
    PictureScene *hfa = m_window->hfaScene();
    ImageItem *item = hfa->addImage(record, kind, QStringLiteral(":/images/display.png"), QPointF(300, 60));
    QCOMPARE(item->recordType(), recordType ? recordType : 20);
    if (!data.isEmpty())
        item->setData(1, data);
    if (kind == 15) {
        item->setData(2, 16);
        item->setData(3, QStringLiteral("#ff0000"));
    }
    ReportPainter().showHelpPage(m_window->afaScene());
    const QStringList hfaBefore = textsOf(hfa);
    const QStringList afaBefore = textsOf(m_window->afaScene());

    DialogCloser closer(false);
    MessageBoxCatcher boxes;
    click(m_window->hfaView(), item);

    QCOMPARE(textsOf(hfa), hfaBefore);
    QCOMPARE(textsOf(m_window->afaScene()), afaBefore);
    QVERIFY(textsOf(m_window->efaScene()).isEmpty());
    QVERIFY(closer.opened().isEmpty());
    QVERIFY(!boxes.seen());
    QVERIFY(m_window->isVisible());
    // It was handled: a second click is ignored rather than run again.
    QCOMPARE(MenuDispatcher::instance()->lastItem(), item);
}

void TestApplWindow::drillDownByClickingTheArrow()
{
    m_ws = std::make_unique<TestWorkspace>();
    m_ws->seedMasterData();
    QString err;
    for (int recipient : {int(Seed::RecipientMigros), int(Seed::RecipientMueller)}) {
        ExpenseEntry e;
        e.setDate(QDate::currentDate());
        e.setAmount(10.0 * recipient);
        e.setExpenseTypeId(Seed::FoodType);
        e.setRecipientId(recipient);
        e.setRemark(QStringLiteral("Einkauf %1").arg(recipient));
        e.setPaymentInstrumentId(Seed::CashInstrument);
        QVERIFY2(DataProvider::instance()->postExpense(&e, Seed::FoodSubBasic, false, err), qPrintable(err));
    }
    start();
    click(m_window->hfaView(), picture(m_window->hfaScene(), 2));
    click(m_window->hfaView(), picture(m_window->hfaScene(), 13));
    PictureScene *afa = m_window->afaScene();

    click(m_window->afaView(), picture(afa, 15, Seed::RecipientMigros));
    QVERIFY(textsOf(afa).contains(QStringLiteral("Einkauf 1")));
    click(m_window->afaView(), picture(afa, 15, Seed::RecipientMueller));
    QVERIFY(textsOf(afa).contains(QStringLiteral("Einkauf 2")));
    QVERIFY(!textsOf(afa).contains(QStringLiteral("Einkauf 1")));
    QCOMPARE(textsOf(afa).count(QStringLiteral("Datum:")), 1);
    QVERIFY(textsOf(afa).contains(QStringLiteral("Übersicht Begünstigte")));

    // From the expense type's report into one of its sub-types.
    click(m_window->efaView(), picture(m_window->efaScene(), 7, Seed::FoodType));
    QVERIFY(textsOf(afa).contains(QStringLiteral("Grundnahrung")));
    ImageItem *basic = nullptr;
    for (ImageItem *arrow : picturesOf(afa, 15))
        basic = arrow->data(1).toInt() == Seed::FoodSubBasic ? arrow : basic;
    QVERIFY(basic);
    click(m_window->afaView(), basic);
    QVERIFY(textsOf(afa).contains(QStringLiteral("Einkauf 1")));
    QVERIFY(textsOf(afa).contains(QStringLiteral("Einkauf 2")));
    bool marker = false;
    for (QGraphicsItem *item : afa->items()) {
        auto *rect = dynamic_cast<RectItem *>(item);
        marker = marker || (rect && rect->name() == QLatin1String("eraseDetail")
                            && rect->itemRect().width() == 20 && rect->brush().color().isValid()
                            && rect->brush().color() != QColor(Qt::transparent));
    }
    QVERIFY(marker);
}

void TestApplWindow::infoAndQuit()
{
    start();
    click(m_window->hfaView(), picture(m_window->hfaScene(), 16));
    QVERIFY(textsOf(m_window->afaScene()).contains(QStringLiteral("Eine kurze Übersicht zur Anwendung")));
    QVERIFY(m_window->isVisible());
    click(m_window->hfaView(), picture(m_window->hfaScene(), 10));
    QVERIFY(!m_window->isVisible());
}

void TestApplWindow::balanceCheckFromTheHelpPage()
{
    start();
    click(m_window->hfaView(), picture(m_window->hfaScene(), 16));
    ImageItem *check = picture(m_window->afaScene(), 21);
    QVERIFY(check);
    {
        MessageBoxCatcher boxes;
        click(m_window->afaView(), check);
        QTRY_COMPARE(boxes.count(), 1);
        QCOMPARE(boxes.title(), QStringLiteral("Salden prüfen"));
        QVERIFY(boxes.text().startsWith(QStringLiteral("Alle 3 Konten stimmen")));
    }

    // A balance changed behind the bookings' back is named; the check itself
    // changes nothing, and the same picture answers again at once.
    TestWorkspace::exec("UPDATE konten SET betrag = 950.0 WHERE id = 1");
    MessageBoxCatcher boxes;
    click(m_window->afaView(), check);
    QTRY_COMPARE(boxes.count(), 1);
    QVERIFY(boxes.text().contains(QStringLiteral("Postkonto: gespeichert 950.00, aus den Buchungen 1000.00")));
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 950.0);
}

void TestApplWindow::picturesOpenTheirDialogs_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("inHeader");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("recordId");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("dialog");

    QTest::newRow("accounts") << 3 << true << 20 << -1 << "AccountSettings" << "AccountForm";
    QTest::newRow("payment instruments") << 3 << true << 20 << -1 << "PaymentSettings" << "PaymentInstrForm";
    QTest::newRow("expense types") << 2 << true << 20 << -1 << "ExpenseSettings" << "ExpenseTypeForm";
    QTest::newRow("recipients") << 2 << true << 20 << -1 << "RecipientSettings" << "RecipientForm";
    QTest::newRow("income sources") << 1 << true << 20 << -1 << "IncomeSettings" << "IncomeSrcForm";
    QTest::newRow("book an expense") << 2 << false << 6 << int(Seed::HomeType) << QString() << "ExpenseEntryForm";
    QTest::newRow("deposit income") << 1 << false << 5 << int(Seed::IncomePension) << "Einzahlen"
                                    << "AccountEntryForm";
    QTest::newRow("transfer") << 3 << false << 5 << int(Seed::BankInstrument) << "Transfer" << "AccountEntryForm";
    QTest::newRow("deposit into cash") << 3 << false << 5 << int(Seed::CashInstrument) << "Einzahlen"
                                       << "AccountEntryForm";
    QTest::newRow("maintenance") << 3 << false << 5 << int(Seed::CashInstrument) << "Maintenance"
                                 << "AccountMaintForm";
}

// An accepted dialog can be opened again with the same picture at once.
void TestApplWindow::picturesOpenTheirDialogs()
{
    QFETCH(int, page);
    QFETCH(bool, inHeader);
    QFETCH(int, kind);
    QFETCH(int, recordId);
    QFETCH(QString, data);
    QFETCH(QString, dialog);

    start();
    click(m_window->hfaView(), picture(m_window->hfaScene(), page));
    QGraphicsView *view = inHeader ? m_window->hfaView() : m_window->efaView();
    PictureScene *scene = inHeader ? m_window->hfaScene() : m_window->efaScene();

    DialogCloser closer(true);
    click(view, picture(scene, kind, recordId, data));
    QCOMPARE(closer.opened(), QStringList{dialog});
    QVERIFY(!MenuDispatcher::instance()->lastItem());
    click(view, picture(scene, kind, recordId, data));
    QCOMPARE(closer.opened(), (QStringList{dialog, dialog}));
}

void TestApplWindow::rejectedDialogNeedsAnotherClickFirst()
{
    start();
    click(m_window->hfaView(), picture(m_window->hfaScene(), 1));
    DialogCloser closer(false);
    click(m_window->efaView(), picture(m_window->efaScene(), 5, Seed::IncomeSalary, "Einzahlen"));
    QCOMPARE(closer.opened().size(), 1);
    click(m_window->efaView(), picture(m_window->efaScene(), 5, Seed::IncomeSalary, "Einzahlen"));
    QCOMPARE(closer.opened().size(), 1);
    click(m_window->efaView(), picture(m_window->efaScene(), 7, Seed::IncomeSalary));
    QVERIFY(textsOf(m_window->afaScene()).contains(QStringLiteral("Lohn")));
    click(m_window->efaView(), picture(m_window->efaScene(), 5, Seed::IncomeSalary, "Einzahlen"));
    QCOMPARE(closer.opened().size(), 2);
}

namespace {

// A household's year so far: salary, rent, food, travel, leisure.
void seedDemoYear()
{
    const char *statements[] = {
        "INSERT INTO ausgaben_typen (name,budget) VALUES ('Mobilität',2400.0)",
        "INSERT INTO ausgaben_typen (name,budget) VALUES ('Freizeit',1800.0)",
        "INSERT INTO ausgaben_typen (name,budget) VALUES ('Gesundheit',3000.0)",
        "INSERT INTO ausgaben_typen (name,budget) VALUES ('Versicherungen',4200.0)",
        "INSERT INTO ausgaben_sub_typen (ausgaben_typ_id,name) VALUES (3,'Bahn')",
        "INSERT INTO ausgaben_sub_typen (ausgaben_typ_id,name) VALUES (3,'Velo')",
        "INSERT INTO beguenstigte (ausgaben_typ_id,betrag_kumuliert,betrag_bonus,beschreibung,name) "
        "VALUES (3,0.0,0.0,'Bahn','SBB')",
        "INSERT INTO beguenstigte (ausgaben_typ_id,betrag_kumuliert,betrag_bonus,beschreibung,name) "
        "VALUES (5,0.0,0.0,'Grundversicherung','Krankenkasse Helvetia')",
        "INSERT INTO beguenstigte (ausgaben_typ_id,betrag_kumuliert,betrag_bonus,beschreibung,name) "
        "VALUES (4,0.0,0.0,'Kino','Kino Rex')",
    };
    for (const char *sql : statements)
        TestWorkspace::exec(QString::fromUtf8(sql));
    DataProvider *data = DataProvider::instance();
    data->loadExpenseTypes();
    data->loadRecipients();

    struct Booking { int type; int sub; int recipient; int instrument; double amount; const char *remark; int day; };
    const Booking monthly[] = {
        {Seed::HomeType, 0, Seed::RecipientLandlord, Seed::BankInstrument, 1450.0, "Miete", 1},
        {Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::CardInstrument, 184.35, "Wocheneinkauf", 4},
        {Seed::FoodType, Seed::FoodSubDrinks, Seed::RecipientMueller, Seed::CashInstrument, 23.80, "Mineralwasser", 9},
        {Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, Seed::CardInstrument, 96.15, "Einkauf", 18},
        {3, 3, 4, Seed::BankInstrument, 185.0, "Halbtax + Abo", 2},
        {4, 0, 6, Seed::CashInstrument, 38.0, "Kino mit Freunden", 22},
        {6, 0, 5, Seed::BankInstrument, 312.40, "Prämie", 5},
    };
    const QDate today = QDate::currentDate();
    QString err;
    for (int month = 1; month <= today.month(); ++month) {
        const QDate payday = qMin(QDate(today.year(), month, 25), today);
        data->postDeposit(Seed::BankAccount, 6400.0, QStringLiteral("Lohn"), payday, Seed::IncomeSalary, err);
        data->postDeposit(Seed::CashAccount, 300.0, QStringLiteral("Bezug Bancomat"), payday, 0, err);
        for (const Booking &b : monthly) {
            ExpenseEntry e;
            e.setDate(qMin(QDate(today.year(), month, b.day), today));
            e.setAmount(b.amount);
            e.setExpenseTypeId(b.type);
            e.setExpenseTypeName(TestWorkspace::scalar(
                QStringLiteral("SELECT name FROM ausgaben_typen WHERE id = %1").arg(b.type)).toString());
            e.setRecipientId(b.recipient);
            e.setRecipientName(TestWorkspace::scalar(
                QStringLiteral("SELECT name FROM beguenstigte WHERE id = %1").arg(b.recipient)).toString());
            e.setPaymentInstrumentId(b.instrument);
            e.setPaymentInstrumentName(data->getPaymentInstrument(b.instrument, true)->getName());
            e.setRemark(QString::fromUtf8(b.remark));
            data->postExpense(&e, b.sub, false, err);
        }
    }
}

} // namespace

// The expenses page of a realistic year as the window shows it.
void TestApplWindow::expensesPageOnDemoData()
{
    m_ws = std::make_unique<TestWorkspace>();
    m_ws->seedMasterData();
    seedDemoYear();
    QVERIFY(TestWorkspace::rowCount(QStringLiteral("ausgaben")) >= 7);
    start();
    // At its widest the output area shows the report's full width.
    m_window->resize(m_window->maximumWidth(), 700);
    QCoreApplication::processEvents();
    click(m_window->hfaView(), picture(m_window->hfaScene(), 2));
    QCOMPARE(textsOf(m_window->efaScene()).size(), 6);
    QCoreApplication::processEvents();
    QCOMPARE(m_window->afaView()->horizontalScrollBar()->isVisible(), false);

    const QImage shot = m_window->grab().toImage();
    QCOMPARE(shot.size() / shot.devicePixelRatio(), m_window->size());
    // The page header box lies in the top-left area, below the main menu.
    QGraphicsView *hfa = m_window->hfaView();
    const QPoint inBox = hfa->viewport()->mapTo(m_window.get(), hfa->mapFromScene(QPointF(225, 132)));
    QCOMPARE(shot.pixelColor(inBox * shot.devicePixelRatio()), QColor(45, 45, 45));
}

// Not a check: with ZOLVEX_SCREENSHOTS set to a folder, scripts/screenshot.sh
// writes the README's pictures there, from the window at its default size on
// a generated year: the expenses overview, the largest expense type opened
// down to its first sub-type, and the report of the instrument with the most
// expenses.
void TestApplWindow::screenshotsOfAGeneratedYear()
{
    const QString folder = qEnvironmentVariable("ZOLVEX_SCREENSHOTS");
    if (folder.isEmpty())
        QSKIP("ZOLVEX_SCREENSHOTS not set");
    m_ws = std::make_unique<TestWorkspace>();
    QString err;
    QVERIFY2(YearGenerator(YearGenerator::Options()).fill(err), qPrintable(err));
    DataProvider::reloadAfterRollback();
    start();
    auto save = [&](const QString &name) {
        QCoreApplication::processEvents();
        QVERIFY(m_window->grab().save(folder + QLatin1Char('/') + name, "PNG"));
    };
    click(m_window->hfaView(), picture(m_window->hfaScene(), 2));
    save(QStringLiteral("screenshot-ausgaben.png"));

    const int largest = TestWorkspace::scalar(QStringLiteral(
        "SELECT t.id FROM ausgaben_typen t JOIN ausgaben a ON a.ausgaben_typ = t.name "
        "GROUP BY t.id ORDER BY SUM(a.betrag) DESC LIMIT 1")).toInt();
    click(m_window->efaView(), picture(m_window->efaScene(), 7, largest));
    click(m_window->afaView(), picturesOf(m_window->afaScene(), 15).value(0));
    save(QStringLiteral("screenshot-ausgabentyp.png"));

    const int busiest = TestWorkspace::scalar(QStringLiteral(
        "SELECT zahlungsmittel_id FROM ausgaben GROUP BY zahlungsmittel_id ORDER BY COUNT(*) DESC LIMIT 1")).toInt();
    click(m_window->hfaView(), picture(m_window->hfaScene(), 14));
    click(m_window->hfaView(), picture(m_window->hfaScene(), 3));
    click(m_window->efaView(), picture(m_window->efaScene(), 7, busiest));
    // Down to its expenses, where the remarks are.
    for (QGraphicsItem *item : m_window->afaScene()->items()) {
        auto *text = dynamic_cast<TextItem *>(item);
        if (text && text->toPlainText() == QLatin1String("Belastungen:"))
            m_window->afaView()->verticalScrollBar()->setValue(int(text->y()) - 10);
    }
    save(QStringLiteral("screenshot-konto.png"));
}

QTEST_MAIN(TestApplWindow)
#include "tst_applwindow.moc"
