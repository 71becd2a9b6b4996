// The main window as a user meets it: the year status, the pages, the
// reports and dialogs its pictures open, drill-downs, the help page with
// the balance check, and a year file that may not be changed.

#include "testsupport.h"

#include "applwindow.h"
#include "dataprovider.h"
#include "expenseentry.h"
#include "imageitem.h"
#include "picturescene.h"
#include "rectitem.h"
#include "textitem.h"
#include "yeargenerator.h"

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
const int ThisYear = QDate::currentDate().year();

// The texts of the scene; with a place, only the one there.
QStringList textsOf(QGraphicsScene *scene, const QPointF &at = QPointF(-1, -1))
{
    QStringList texts;
    for (QGraphicsItem *item : scene->items(Qt::AscendingOrder)) {
        if (auto *text = dynamic_cast<PlainTextItem *>(item); text && (at.x() < 0 || text->pos() == at))
            texts << text->toPlainText();
    }
    return texts;
}

QString titleOf(QGraphicsScene *scene)
{
    return textsOf(scene, QPointF(35, 10)).value(0);
}

// Everything drawn above y, where a drill-down below must not reach.
QStringList above(QGraphicsScene *scene, qreal y)
{
    QStringList found;
    for (QGraphicsItem *item : scene->items()) {
        auto *text = dynamic_cast<PlainTextItem *>(item);
        if (const QRectF at = item->sceneBoundingRect(); at.top() < y)
            found << QStringLiteral("%1 %2,%3 %4").arg(item->type()).arg(at.x()).arg(at.y()).arg(text ? text->toPlainText() : "");
    }
    found.sort();
    return found;
}

QList<ImageItem *> picturesOf(QGraphicsScene *scene, int kind)
{
    QList<ImageItem *> found;
    for (QGraphicsItem *item : scene->items(Qt::AscendingOrder)) {
        auto *image = dynamic_cast<ImageItem *>(item);
        if (image && int(image->kind()) == kind)
            found << image;
    }
    return found;
}

// The picture of that kind, for that record and action when given.
ImageItem *picture(QGraphicsScene *scene, int kind, int recordId = -1, const QString &action = QString())
{
    for (ImageItem *image : picturesOf(scene, kind)) {
        if ((recordId < 0 || image->recordId() == recordId)
            && (action.isEmpty() || image->data(ImageItem::ActionText).toString() == action))
            return image;
    }
    return nullptr;
}

// Clicks the picture where it shows something, nearest its centre, and lets
// the queued action run.
void click(QGraphicsView *view, ImageItem *item)
{
    QVERIFY(item);
    view->ensureVisible(item, 0, 0);
    const QPointF centre = item->boundingRect().center();
    QPointF target = centre;
    for (qreal best = 1e9, x = 0.5; x < item->boundingRect().right(); ++x) {
        for (qreal y = 0.5; y < item->boundingRect().bottom(); ++y) {
            if (QLineF(QPointF(x, y), centre).length() < best && item->contains(QPointF(x, y)))
                best = QLineF(QPointF(x, y), centre).length(), target = QPointF(x, y);
        }
    }
    const QPoint at = view->mapFromScene(item->mapToScene(target));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCoreApplication::processEvents();
}

// While it lives, closes every dialog but a message box, noting its class.
struct DialogCloser
{
    explicit DialogCloser(bool accept)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, accept] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (dialog && !qobject_cast<QMessageBox *>(dialog) && dialog->isVisible()) {
                opened << QString::fromLatin1(dialog->metaObject()->className());
                accept ? dialog->accept() : dialog->reject();
            }
        });
        timer.start(20);
    }
    QTimer timer;
    QStringList opened;
};

void book(int type, int sub, int recipient, double amount, const QString &remark)
{
    ExpenseEntry e;
    e.setDate(QDate::currentDate());
    e.setAmount(amount);
    e.setExpenseTypeId(type);
    e.setRecipientId(recipient);
    e.setRemark(remark);
    e.setPaymentInstrumentId(Seed::CashInstrument);
    QVERIFY(DataProvider::instance()->postExpense(&e, sub, false).ok());
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void yearStates_data();
    void yearStates();
    void picturesDoWhatTheyShow_data();
    void picturesDoWhatTheyShow();
    void drillDownsReplaceOnlyTheDetail();
    void balanceCheckAndQuit();
    void screenshotsOfAGeneratedYear();

private:
    void start(int fileYear = 0, bool archiveInUse = false, const QString &readOnlyReason = QString());

    std::unique_ptr<TestWorkspace> m_ws;
    std::unique_ptr<ApplWindow> m_window;
};

void TestWindow::init()
{
    m_ws = std::make_unique<TestWorkspace>();
    m_ws->seedMasterData();
}

void TestWindow::cleanup()
{
    m_window.reset();
    m_ws.reset();
}

// fileYear 0: the year the file was made in, the running one.
void TestWindow::start(int fileYear, bool archiveInUse, const QString &readOnlyReason)
{
    if (fileYear)
        TestWorkspace::exec(QStringLiteral("UPDATE settings SET value = %1, version = '%1' "
                                           "WHERE category = 'MY_ZOLVEX' AND name = 'CURRENT_YEAR'").arg(fileYear));
    m_window = std::make_unique<ApplWindow>(archiveInUse, readOnlyReason);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestWindow::yearStates_data()
{
    QTest::addColumn<int>("fileYear");        // 0: a new file, else one with an archived year beside it
    QTest::addColumn<bool>("archiveInUse");
    QTest::addColumn<QString>("readOnlyReason");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QList<int>>("pictures"); // of the status box
    QTest::addColumn<QString>("refusal");     // of a booking; empty: the dialog opens
    const QString year = QString::number(ThisYear);
    const QString later = QString::number(ThisYear + 1);
    QTest::newRow("new file") << 0 << false << "" << "Finanzdatei aktuelles Jahr" << QList<int>{16} << "";
    QTest::newRow("with archives") << ThisYear << false << "" << "Finanzdatei aktuelles Jahr" << QList<int>{16, 19} << "";
    QTest::newRow("past year") << 2001 << false << "" << "2001 - Daten sind in der Vergangenheit!" << QList<int>{17}
                               << PastYearText;
    QTest::newRow("archived year") << 2020 << true << "" << "Finanzdatei von 2020" << QList<int>{16, 19} << PastYearText;
    QTest::newRow("later year") << ThisYear + 1 << false << ""
                                << "Finanzdatei " + later + ", Computer-Jahr " + year + " - nur Ansicht" << QList<int>{16, 19}
                                << "Die Finanzdatei gehört zum Jahr " + later + ", die Uhr des Computers zeigt " + year
                                       + ". Die Daten können nur angesehen werden; ein Jahreswechsel rückwärts ist "
                                         "nicht möglich.";
    QTest::newRow("write-protected") << ThisYear << false << "Die Datei ist schreibgeschützt."
                                     << "Finanzdatei " + year + " - schreibgeschützt" << QList<int>{16, 19}
                                     << "Die Datei ist schreibgeschützt.";
}

// The status box tells the state of the year file, red for a past year;
// only the running year may be booked in.
void TestWindow::yearStates()
{
    QFETCH(int, fileYear);
    QFETCH(bool, archiveInUse);
    QFETCH(QString, readOnlyReason);
    QFETCH(QString, status);
    QFETCH(QList<int>, pictures);
    QFETCH(QString, refusal);
    QFile archive(m_ws->dataPath() + "/finanzen_2020.dat");
    QVERIFY(!fileYear || archive.open(QIODevice::WriteOnly));
    start(fileYear, archiveInUse, readOnlyReason);
    PictureScene *hfa = m_window->hfaScene();
    QCOMPARE(textsOf(hfa, QPointF(20, 100)), QStringList{status});
    QList<int> kinds;
    for (QGraphicsItem *item : hfa->items(Qt::AscendingOrder)) {
        if (auto *image = dynamic_cast<ImageItem *>(item); image && image->y() == 98) {
            kinds << int(image->kind());
            // No picture covers any part of the status.
            QVERIFY(hfa->itemAt(QPointF(25, 110), QTransform())->sceneBoundingRect().right() <= image->x());
        }
        if (auto *rect = dynamic_cast<RectItem *>(item); rect && rect->rect() == QRectF(15, 95, 420, 40))
            QCOMPARE(rect->brush().color(), fileYear == 2001 ? QColor(255, 0, 0) : QColor(45, 45, 45));
    }
    std::sort(kinds.begin(), kinds.end());
    QCOMPARE(kinds, pictures);
    for (int menu : {1, 2, 3, 10})
        QVERIFY(picture(hfa, menu));

    click(m_window->hfaView(), picture(hfa, 2));
    DialogCloser closer(false);
    MessageBoxCatcher boxes;
    click(m_window->efaView(), picture(m_window->efaScene(), 6, Seed::HomeType));
    QCOMPARE(closer.opened, refusal.isEmpty() ? QStringList{"ExpenseEntryForm"} : QStringList());
    QCOMPARE(boxes.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
    QCOMPARE(boxes.titles(), refusal.isEmpty() ? QStringList() : QStringList{"Laufendes Jahr"});
    // Master data stays editable in a past year, not in a file open for viewing only.
    const bool viewOnly = !readOnlyReason.isEmpty() || fileYear > ThisYear;
    const int boxesBefore = boxes.count();
    click(m_window->hfaView(), picture(m_window->hfaScene(), 20, -1, "ExpenseSettings"));
    QCOMPARE(closer.opened.contains("ExpenseTypeForm"), !viewOnly);
    QCOMPARE(boxes.texts().mid(boxesBefore), viewOnly ? QStringList{refusal} : QStringList());
}

void TestWindow::picturesDoWhatTheyShow_data()
{
    QTest::addColumn<int>("page");          // 0: the main menu
    QTest::addColumn<int>("kind");          // in the title box, or with a record on a card
    QTest::addColumn<int>("recordId");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("pastYear");
    QTest::addColumn<QString>("shown");     // the dialog, the report's title or the message
    auto row = [](const char *name, int page, int kind, int recordId, const char *action, bool past, const QString &shown) {
        QTest::newRow(name) << page << kind << recordId << QString(action) << past << shown;
    };
    row("accounts", 3, 20, -1, "AccountSettings", false, "AccountForm");
    row("instruments", 3, 20, -1, "PaymentSettings", false, "PaymentInstrForm");
    row("expense types", 2, 20, -1, "ExpenseSettings", false, "ExpenseTypeForm");
    row("recipients", 2, 20, -1, "RecipientSettings", false, "RecipientForm");
    row("income sources", 1, 20, -1, "IncomeSettings", false, "IncomeSrcForm");
    row("book an expense", 2, 6, Seed::HomeType, "", false, "ExpenseEntryForm");
    row("deposit income", 1, 5, Seed::IncomePension, "Einzahlen", false, "AccountEntryForm");
    row("transfer", 3, 5, Seed::BankInstrument, "Transfer", false, "AccountEntryForm");
    row("deposit into cash", 3, 5, Seed::CashInstrument, "Einzahlen", false, "AccountEntryForm");
    row("maintenance", 3, 5, Seed::CashInstrument, "Maintenance", false, "AccountMaintForm");
    row("past: deposit income", 1, 5, Seed::IncomeSalary, "Einzahlen", true, PastYearText);
    row("past: transfer", 3, 5, Seed::CashInstrument, "Transfer", true, PastYearText);
    row("past: deposit into cash", 3, 5, Seed::CashInstrument, "Einzahlen", true, PastYearText);
    row("past: maintenance", 3, 5, Seed::BankInstrument, "Maintenance", true, PastYearText);
    row("past: master data", 2, 20, -1, "ExpenseSettings", true, "ExpenseTypeForm");
    row("income page", 0, 1, -1, "", false, "Übersicht Einkünfte");
    row("expenses page", 0, 2, -1, "", false, "Übersicht Ausgaben");
    row("accounts page", 0, 3, -1, "", false, "Übersicht Konten + Zahlungsmittel");
    row("help page", 0, 16, -1, "", false, "Eine kurze Übersicht zur Anwendung");
    row("income overview", 1, 12, -1, "", false, "Übersicht Einkünfte");
    row("expense overview", 2, 4, -1, "", false, "Übersicht Ausgaben");
    row("recipient overview", 2, 13, -1, "", false, "Übersicht Begünstigte");
    row("account overview", 3, 8, -1, "", false, "Übersicht Konten + Zahlungsmittel");
    row("income source", 1, 7, Seed::IncomePension, "", false, "Rente");
    row("expense type", 2, 7, Seed::HomeType, "", false, "Wohnen");
    row("card", 3, 7, Seed::CardInstrument, "", false, "Visa  -  4111");
    row("account", 3, 7, Seed::BankInstrument, "", false, "Postkonto  -  CH12-3456");
}

// A second click on the same picture does nothing until another picture
// was clicked, but an accepted dialog opens again at once.
void TestWindow::picturesDoWhatTheyShow()
{
    QFETCH(int, page);
    QFETCH(int, kind);
    QFETCH(int, recordId);
    QFETCH(QString, action);
    QFETCH(bool, pastYear);
    QFETCH(QString, shown);
    start(pastYear ? 2001 : 0);
    if (page)
        click(m_window->hfaView(), picture(m_window->hfaScene(), page));
    PictureScene *afa = m_window->afaScene();
    afa->clearScene();
    QGraphicsView *view = recordId < 0 ? m_window->hfaView() : m_window->efaView();
    DialogCloser closer(true);
    MessageBoxCatcher boxes;
    click(view, picture(view->scene(), kind, recordId, action));
    QCOMPARE(closer.opened.value(0, boxes.texts().value(0, titleOf(afa))), shown);

    afa->clearScene();
    click(view, picture(view->scene(), kind, recordId, action));
    const bool dialog = shown.endsWith("Form");
    QCOMPARE(closer.opened.size(), dialog ? 2 : 0);
    QCOMPARE(boxes.count(), pastYear && !dialog ? 1 : 0);
    QCOMPARE(titleOf(afa), QString());
}

// An arrow opens the expenses of its line below the list; the next arrow
// replaces them and leaves list, charts and header as they were.
void TestWindow::drillDownsReplaceOnlyTheDetail()
{
    book(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, 12.70, "Brot");
    book(Seed::FoodType, Seed::FoodSubBasic, Seed::RecipientMigros, 7.30, "Milch");
    book(Seed::FoodType, Seed::FoodSubDrinks, Seed::RecipientMueller, 40.30, "Wasser");
    start();
    PictureScene *afa = m_window->afaScene();
    click(m_window->hfaView(), picture(m_window->hfaScene(), 2));
    click(m_window->hfaView(), picture(m_window->hfaScene(), 13));
    const QStringList overview = above(afa, afa->detailTop() + 225);
    click(m_window->afaView(), picture(afa, 15, Seed::RecipientMigros));
    QVERIFY(textsOf(afa).contains("Brot") && textsOf(afa).contains("Milch") && !textsOf(afa).contains("Wasser"));
    click(m_window->afaView(), picture(afa, 15, Seed::RecipientMueller));
    QVERIFY(textsOf(afa).contains("Wasser") && !textsOf(afa).contains("Brot"));
    QCOMPARE(textsOf(afa).count("Datum:"), 1);
    QCOMPARE(above(afa, afa->detailTop() + 225), overview);
    click(m_window->efaView(), picture(m_window->efaScene(), 7, Seed::FoodType));
    QVERIFY(textsOf(afa).contains("Wasser") && textsOf(afa).contains("Brot"));
    const int top = afa->detailTop();
    const QStringList typeReport = above(afa, top - 40);
    ImageItem *basic = nullptr;
    for (ImageItem *arrow : picturesOf(afa, 15))
        basic = arrow->data(ImageItem::DrillDownId).toInt() == Seed::FoodSubBasic ? arrow : basic;
    click(m_window->afaView(), basic);
    QVERIFY(textsOf(afa).contains("Brot") && textsOf(afa).contains("Milch") && !textsOf(afa).contains("Wasser"));
    QCOMPARE(above(afa, top - 40), typeReport);
}

// The check from the help page names what differs and changes nothing.
void TestWindow::balanceCheckAndQuit()
{
    start();
    click(m_window->hfaView(), picture(m_window->hfaScene(), 16));
    ImageItem *check = picture(m_window->afaScene(), 21);
    MessageBoxCatcher boxes;
    click(m_window->afaView(), check);
    TestWorkspace::exec("UPDATE konten SET betrag = 950.0 WHERE id = 1");
    click(m_window->afaView(), check);
    QTRY_COMPARE(boxes.titles(), (QStringList{"Salden prüfen", "Salden prüfen"}));
    QVERIFY(boxes.texts().at(0).startsWith(QStringLiteral("Alle 3 Konten stimmen")));
    QVERIFY(boxes.texts().at(1).contains(QStringLiteral("Postkonto: gespeichert 950.00, aus den Buchungen 1000.00")));
    QCOMPARE(TestWorkspace::balance(Seed::BankAccount), 950.0);

    click(m_window->hfaView(), picture(m_window->hfaScene(), 10));
    QVERIFY(!m_window->isVisible());
}

// Not a check: with ZOLVEX_SCREENSHOTS set to a folder, scripts/screenshot.sh
// writes the README's pictures there from a generated year: the expenses
// overview, the largest expense type opened down to its first sub-type, and
// the expenses of the instrument used most.
void TestWindow::screenshotsOfAGeneratedYear()
{
    const QString folder = qEnvironmentVariable("ZOLVEX_SCREENSHOTS");
    if (folder.isEmpty())
        QSKIP("ZOLVEX_SCREENSHOTS not set");
    m_ws.reset();
    m_ws = std::make_unique<TestWorkspace>();
    QString err;
    QVERIFY2(YearGenerator(YearGenerator::Options()).fill(err), qPrintable(err));
    // Long remarks, as users write them, show where a column ends.
    TestWorkspace::exec(QStringLiteral("UPDATE ausgaben SET bemerkung = 'Wocheneinkauf mit Getränken für das "
                                       "Grillfest am Samstag bei Familie Brunner' WHERE id % 3 = 0"));
    TestWorkspace::exec(QStringLiteral("UPDATE konto_bewegungen SET bemerkung = bemerkung || ' – Dauerauftrag "
                                       "gemäss Vereinbarung vom Januar' WHERE id % 2 = 0"));
    DataProvider::reloadAfterRollback();
    start();
    auto save = [&](const char *name) { QVERIFY(m_window->grab().save(folder + "/" + name, "PNG")); };
    auto mostOf = [](const char *sql) { return TestWorkspace::scalar(QString::fromLatin1(sql)).toInt(); };
    click(m_window->hfaView(), picture(m_window->hfaScene(), 2));
    save("screenshot-ausgaben.png");
    click(m_window->efaView(), picture(m_window->efaScene(), 7, mostOf("SELECT t.id FROM ausgaben_typen t JOIN ausgaben a "
        "ON a.ausgaben_typ = t.name GROUP BY t.id ORDER BY SUM(a.betrag) DESC LIMIT 1")));
    click(m_window->afaView(), picturesOf(m_window->afaScene(), 15).value(0));
    save("screenshot-ausgabentyp.png");
    click(m_window->hfaView(), picture(m_window->hfaScene(), 14));
    click(m_window->hfaView(), picture(m_window->hfaScene(), 3));
    click(m_window->efaView(), picture(m_window->efaScene(), 7, mostOf("SELECT zahlungsmittel_id FROM ausgaben "
        "GROUP BY zahlungsmittel_id ORDER BY COUNT(*) DESC LIMIT 1")));
    for (QGraphicsItem *item : m_window->afaScene()->items()) {   // down to the expenses and their remarks
        if (auto *text = dynamic_cast<TextItem *>(item); text && text->toPlainText() == QLatin1String("Belastungen:"))
            m_window->afaView()->verticalScrollBar()->setValue(int(text->y()) - 10);
    }
    save("screenshot-konto.png");
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
