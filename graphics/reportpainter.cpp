#include "reportpainter.h"

#include "recordpainting.h"

#include "account.h"
#include "accountentry.h"
#include "dataprovider.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "expensetypeentry.h"
#include "fontresolver.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "picturescene.h"
#include "recipient.h"
#include "imageitem.h"
#include "textitem.h"

#include <QFontMetrics>
#include <QGraphicsView>
#include <cmath>

namespace {

// Start of every report and list, and the row grid.
const int X0 = 35;
const int Y0 = 10;
const int HeaderDy = 35;
const int FirstRowDy = 65;
const int RowStep = 18;
const int TotalGap = 12;
const int CardStep = 45;
const int ChartGap = 70;
const int BarChartDx = 260;

const QString EraseDetail = QStringLiteral("eraseDetail");
const QColor CardGrey(45, 45, 45);

QFont titleFont()
{
    return FontResolver::sceneFont(2);
}

QFont rowFont()
{
    return FontResolver::sceneFont(4);
}

QFont cardFont()
{
    return FontResolver::font(QStringLiteral("Arial"), QStringLiteral("italic"), 10);
}

QGraphicsView *firstView(PictureScene *scene)
{
    const QList<QGraphicsView *> views = scene->views();
    return views.isEmpty() ? nullptr : views.first();
}

// Every report starts on an empty scene, scrolled to its top left corner.
void beginReport(PictureScene *scene)
{
    scene->clearScene();
    if (QGraphicsView *view = firstView(scene))
        view->centerOn(0, 0);
}

// The view scrolls over the report: the rectangle keeps its place and width,
// its height is the report's, but never so short that a chart or text below
// would be out of reach.
void setReportHeight(PictureScene *scene, qreal height)
{
    QGraphicsView *view = firstView(scene);
    if (!view)
        return;
    const QRectF drawn = scene->itemsBoundingRect();
    const QRectF current = view->sceneRect();
    const qreal width = qMax(current.width(), drawn.right() - current.x());
    const qreal fullHeight = qMax(height, drawn.bottom() + 15 - current.y());
    view->setSceneRect(QRectF(current.x(), current.y(), width, fullHeight));
}

// After a drill-down the view scrolls to the new detail block, from its
// header at top down to bottom, as much of it as the view can show.
void revealDetail(PictureScene *scene, int top, int bottom)
{
    QGraphicsView *view = firstView(scene);
    if (!view)
        return;
    const int margin = 10;
    const int height = qMin(bottom - top, view->viewport()->height() - 2 * margin);
    view->ensureVisible(QRectF(0, top, 1, qMax(1, height)), 0, margin);
}

// Every report can be written out as a PDF from the small picture right of its title.
void drawTitle(PictureScene *scene, const QString &title)
{
    scene->addTextRow(title, QString(), QString(), QString(), QString(), QPoint(X0, Y0), 0, 0, 0, 0,
                      titleFont(), false);
    const int right = X0 + QFontMetrics(titleFont()).horizontalAdvance(title) + 15;
    ImageItem *pdf = scene->addImage(nullptr, PictureKind::ExportPdf, QStringLiteral(":/images/display.png"),
                                     QPointF(right, Y0), ReportPainter::tr("als PDF"));
    pdf->setScale(0.6);
    pdf->setData(ImageItem::ActionText, title);
}

// Whole units: the fraction dropped toward zero.
double whole(double amount)
{
    return std::trunc(amount);
}

// The values that go into the charts, in list order.
struct Chart
{
    QList<double> values;
    QList<double> references;
    QList<QColor> colours;

    void add(double value, const QColor &colour, double reference = 0.0)
    {
        values << value;
        references << reference;
        colours << colour;
    }
};

// Draws the lines of a list from y on: palette colours for the rows,
// the "Total:" line set off by a gap. visit(line, colour) is called for every
// row that is not the total. Returns the y below the last line.
template<class Line, class Visit>
int drawListRows(PictureScene *scene, const QList<Line *> &lines, int y, Visit visit)
{
    scene->setPaletteIndex(0);
    scene->setBandToggle(false);
    const int count = lines.size();
    for (Line *line : lines) {
        QColor colour;
        if (line->isTotalRow()) {
            y += TotalGap;
            scene->setBandToggle(false);
            colour = Qt::transparent;
        } else {
            colour = scene->nextPaletteColour(count);
        }
        RecordPainting::paintEntry(line, QPoint(X0, y), scene, rowFont(), colour);
        if (!line->isTotalRow())
            visit(line, colour);
        y += RowStep;
    }
    return y;
}

// Detail lines without colour marker: 18 apart, 12 more before the total.
template<class Line>
int drawDetailRows(PictureScene *scene, const QList<Line *> &lines, int y)
{
    scene->setBandToggle(false);
    for (Line *line : lines) {
        if (line->isTotalRow()) {
            y += TotalGap;
            scene->setBandToggle(false);
        }
        RecordPainting::paintEntry(line, QPoint(X0, y), scene, rowFont(), Qt::transparent);
        y += RowStep;
    }
    return y;
}

// Header of an expense list below a chart; a drill-down redraws only
// what lies below it, so it is drawn once.
void drawExpenseListHeader(PictureScene *scene, const QPoint &pos)
{
    const QList<QGraphicsItem *> present = scene->items(QRectF(pos, QSizeF(1, 1)));
    for (QGraphicsItem *item : present) {
        auto *text = dynamic_cast<TextItem *>(item);
        if (text && text->pos() == QPointF(pos) && text->toPlainText() == ReportPainter::tr("Datum:"))
            return;
    }
    scene->addTextRowWithAmount(ReportPainter::tr("Datum:"), ReportPainter::tr("Begünstigter"),
                                ReportPainter::tr("Bemerkung"), ReportPainter::tr("Betrag"), pos, 116, 320,
                                rowFont(), true);
}

} // namespace

ReportPainter::ReportPainter(PictureScene *scene)
    : m_scene(scene)
{
    if (m_scene)
        m_scene->clearScene();
}

// ------------------------------------------------------------------ overviews

void ReportPainter::showExpenseOverview(PictureScene *scene)
{
    m_scene = scene;
    DataProvider *data = DataProvider::instance();
    const RecordList<ExpenseEntry> lines = data->getExpenseTypeTotals(data->getExpensesOfType(0).rows());

    beginReport(scene);
    drawTitle(scene, tr("Übersicht Ausgaben"));
    scene->addTwoTextsTwoAmounts(tr("Ausgabentyp"), QString(), tr("Budget"), tr("Aktuell"),
                                 QPoint(X0, Y0 + HeaderDy), 116, rowFont(), true);

    Chart chart;
    double budgets = 0.0;
    const int y = drawListRows(scene, lines.rows(), Y0 + FirstRowDy, [&](ExpenseEntry *line, const QColor &colour) {
        if (line->getBudget() > 0)
            budgets += line->getBudget();
        const double spent = whole(line->getAmount());
        if (spent > 0 && line->getBudget() > 0)
            chart.add(spent, colour, line->getBudget());
    });

    const int yc = y + ChartGap;
    scene->drawPieChart(tr("Ausgaben-Anteile:"), QPoint(X0, yc), chart.values, chart.colours);
    scene->drawBarChart(tr("Budget erreicht in %:"), QPoint(X0 + BarChartDx, yc), budgets, chart.values,
                        chart.references, chart.colours);
    setReportHeight(scene, yc + 15);
}

void ReportPainter::showIncomeOverview(PictureScene *scene)
{
    m_scene = scene;
    DataProvider *data = DataProvider::instance();
    const RecordList<IncomeEntry> lines = data->getIncomeSourceTotals(data->getIncomeMovements(0).rows());

    beginReport(scene);
    drawTitle(scene, tr("Übersicht Einkünfte"));
    scene->addTwoTextsTwoAmounts(tr("Name"), QString(), tr("Voraussichtlich"), tr("Aktuell"),
                                 QPoint(X0, Y0 + HeaderDy), 116, rowFont(), true);

    Chart chart;
    double volumes = 0.0;
    const int y = drawListRows(scene, lines.rows(), Y0 + FirstRowDy, [&](IncomeEntry *line, const QColor &colour) {
        if (line->getVolume() > 0)
            volumes += line->getVolume();
        const double received = whole(line->getAmount());
        if (received > 0 && line->getVolume() > 0)
            chart.add(received, colour, line->getVolume());
    });

    const int yc = y + ChartGap;
    scene->drawPieChart(tr("Einkünfte-Anteile:"), QPoint(X0, yc), chart.values, chart.colours);
    scene->drawBarChart(tr("Voraussichtliche Einkünfte erreicht in %:"), QPoint(X0 + BarChartDx, yc), volumes,
                        chart.values, chart.references, chart.colours);
    setReportHeight(scene, yc + 15);
}

void ReportPainter::showRecipientOverview(PictureScene *scene)
{
    m_scene = scene;
    const RecordList<Recipient> lines = DataProvider::instance()->getRecipientTotals();

    beginReport(scene);
    drawTitle(scene, tr("Übersicht Begünstigte"));
    scene->addTwoTextsTwoAmounts(tr("Name"), QString(), QString(), tr("Betrag"), QPoint(X0, Y0 + HeaderDy), 116,
                                 rowFont(), true);

    Chart chart;
    const int y = drawListRows(scene, lines.rows(), Y0 + FirstRowDy, [&](Recipient *line, const QColor &colour) {
        const double paid = whole(line->getPaidSum());
        if (paid > 0)
            chart.add(paid, colour);
    });

    const int yc = y + ChartGap;
    scene->drawPieChart(tr("Ausgaben-Anteile bezogen auf Begünstigte:"), QPoint(X0, yc), chart.values,
                        chart.colours);
    scene->setDetailTop(yc);
    setReportHeight(scene, yc + 15);
}

void ReportPainter::showAccountOverview(PictureScene *scene)
{
    m_scene = scene;
    const RecordList<Account> lines = DataProvider::instance()->getAccountOverview();

    beginReport(scene);
    drawTitle(scene, tr("Übersicht Konten + Zahlungsmittel"));
    scene->addTextFourAmounts(tr("Name"), tr("Eröffnungsbetrag"), tr("Guthaben"), tr("Eingang"), tr("Ausgang"),
                              QPoint(X0, Y0 + HeaderDy), rowFont(), true);

    Chart chart;
    const int y = drawListRows(scene, lines.rows(), Y0 + FirstRowDy, [&](Account *line, const QColor &colour) {
        if (line->getOutgoingSum() > 0)
            chart.add(line->getOutgoingSum(), colour);
        // Cached accounts count their cards afresh in the next overview.
        if (line->getId() != 0)
            line->setLinkedCount(0);
    });

    const int yc = y + ChartGap;
    scene->drawPieChart(tr("Belastungs-Anteile:"), QPoint(X0, yc), chart.values, chart.colours);
    setReportHeight(scene, yc + 15);
}

// ------------------------------------------------------------ detail reports

void ReportPainter::showExpenseTypeReport(PictureScene *scene, ExpenseTypeEntry *type)
{
    m_scene = scene;
    if (!type)
        return;
    DataProvider *data = DataProvider::instance();
    const RecordList<ExpenseEntry> expenses = data->getExpensesOfType(type->getId());
    const RecordList<ExpenseEntryDetail> lines = data->getExpenseSubTypeTotals(type->getId(), expenses.rows());

    beginReport(scene);
    drawTitle(scene, type->getName());
    scene->addTwoTextsTwoAmounts(tr("Ausgabentyp-Unterbereich"), QString(), tr("Budget"), tr("Aktuell"),
                                 QPoint(X0, Y0 + HeaderDy), 116, rowFont(), true);

    // The sub-type list closes with the type's budget against all it spent.
    for (ExpenseEntryDetail *line : lines) {
        if (line->isTotalRow())
            line->setSecondAmount(type->getBudget());
    }
    Chart chart;
    int y = drawListRows(scene, lines.rows(), Y0 + FirstRowDy, [&](ExpenseEntryDetail *line, const QColor &colour) {
        if (line->getAmount() > 0)
            chart.add(line->getAmount(), colour);
    });

    const int yc = y + ChartGap;
    scene->drawPieChart(tr("Unterbereich-Anteile:"), QPoint(X0, yc), chart.values, chart.colours);

    // The type's expenses under the pie; a sub-type drill-down replaces them.
    drawExpenseListHeader(scene, QPoint(X0, yc + 225));
    scene->setDetailTop(yc + 265);
    y = drawDetailRows(scene, expenses.rows(), scene->detailTop());
    setReportHeight(scene, y + 15);
}

void ReportPainter::showRecipientExpenses(PictureScene *scene, int recipientId, const QColor &colour)
{
    m_scene = scene;
    const RecordList<ExpenseEntry> lines = DataProvider::instance()->getExpensesOfRecipient(recipientId);

    scene->eraseNamedItems(EraseDetail);
    const int t = scene->detailTop();
    drawExpenseListHeader(scene, QPoint(X0, t + 225));
    scene->addRect(QRectF(X0 - 20, t + 232, 20, 14), colour, Qt::transparent, EraseDetail);
    const int y = drawDetailRows(scene, lines.rows(), t + 265);
    setReportHeight(scene, y + 15);
    revealDetail(scene, t + 225, y);
}

void ReportPainter::showSubTypeExpenses(PictureScene *scene, int subTypeId, const QColor &colour)
{
    m_scene = scene;
    const RecordList<ExpenseEntry> lines = DataProvider::instance()->getExpensesOfSubType(subTypeId);

    scene->eraseNamedItems(EraseDetail);
    const int t = scene->detailTop();
    // The marker beside the header repeats the colour of the opened line.
    scene->addRect(QRectF(X0 - 20, t - 33, 20, 14), colour, Qt::transparent, EraseDetail);
    const int y = drawDetailRows(scene, lines.rows(), t);
    setReportHeight(scene, y + 15);
    // The list header stands 40 pixels above the rows.
    revealDetail(scene, t - 40, y);
}

void ReportPainter::showPaymentInstrumentReport(PictureScene *scene, PaymentInstruction *p)
{
    m_scene = scene;
    if (!p)
        return;
    DataProvider *data = DataProvider::instance();
    const RecordList<Account> rows = data->getAccountOverview(p);
    Account *account = data->getAccount(p->getAccountId());

    // An account's own instrument is shown as the account.
    QString title;
    QString caption;
    if (p->getInstrumentType() == InstrumentType::Account && account) {
        title = account->getName();
        if (!account->getAccountNumber().isEmpty())
            title += QStringLiteral("  -  %1").arg(account->getAccountNumber(), 0, QLatin1Char(' '));
        caption = tr("Konto:");
    } else {
        title = p->getName();
        if (!p->getCardNumber().isEmpty())
            title += QStringLiteral("  -  %1").arg(p->getCardNumber(), 0, QLatin1Char(' '));
        caption = tr("Zahlungsmittel:");
    }

    beginReport(scene);
    drawTitle(scene, title);
    scene->addTextFourAmounts(caption, tr("Eröffnungsbetrag"), tr("Guthaben"), tr("Eingang"), tr("Ausgang"),
                              QPoint(X0, Y0 + HeaderDy), rowFont(), true);
    int y = drawDetailRows(scene, rows.rows(), Y0 + FirstRowDy);

    // A card drawing on a bank account has no movements of its own; the
    // flag is worked out here too, in case the cache was reloaded since
    // the instrument list last set it.
    const bool onBankAccount = p->isBankAccount() || (account && account->getAccountType() == AccountType::Bank);
    if (!onBankAccount || p->getInstrumentType() == InstrumentType::Account) {
        QList<AccountEntry *> movements;
        data->getAccountMovements(p->getAccountId(), movements);
        if (!movements.isEmpty()) {
            scene->addTwoTextsTwoAmounts(tr("Bewegungen:"), tr("Transaktion"), tr("Eingang"), tr("Ausgang"),
                                         QPoint(X0, y + 50), 116, rowFont(), true);
            y += 80;
            scene->setBandToggle(false);
            double credits = 0.0;
            double debits = 0.0;
            for (AccountEntry *movement : qAsConst(movements)) {
                // Movements of the account's cards appear as their expenses.
                if (movement->getPaymentInstrumentId() != 0)
                    continue;
                RecordPainting::paintEntry(movement, QPoint(X0, y), scene, rowFont(), Qt::transparent);
                if (movement->getOpFlag() == OpFlag::MoneyIn)
                    credits += movement->getAmount();
                else
                    debits += movement->getAmount();
                y += RowStep;
            }
            scene->addTextsAndNumbers(tr("Total:"), QString(), QString(), credits, debits, QPoint(X0, y + 8), 100,
                                      0, 532, 640, rowFont());
            y += 30;
        }
    }

    QList<ExpenseEntry *> expenses;
    data->getExpensesOfPaymentInstrument(p->getId(), expenses);
    if (!expenses.isEmpty()) {
        scene->addTextRowWithAmount(tr("Belastungen:"), tr("Begünstigter"), tr("Bemerkung"), tr("Ausgang"),
                                    QPoint(X0, y + 50), 116, 320, rowFont(), true);
        y += 80;
        scene->setBandToggle(false);
        double sum = 0.0;
        for (ExpenseEntry *expense : qAsConst(expenses)) {
            RecordPainting::paintEntry(expense, QPoint(X0, y), scene, rowFont(), Qt::transparent);
            sum += expense->getAmount();
            y += RowStep;
        }
        scene->setBandToggle(false);
        scene->addTextsAndNumbers(tr("Total:"), QString(), QString(), 0.0, sum, QPoint(X0, y + 8), 100, 0, 0, 640,
                                  rowFont());
        y += 30;
    }
    setReportHeight(scene, y + 15);
}

void ReportPainter::showIncomeSourceReport(PictureScene *scene, IncomeEntry *source)
{
    m_scene = scene;
    if (!source)
        return;
    beginReport(scene);
    const RecordList<IncomeEntry> movements = DataProvider::instance()->getIncomeMovements(source->getId());

    drawTitle(scene, source->getName());
    scene->addTwoTextsTwoAmounts(tr("Bewegungen:"), tr("Transaktion"), QString(), tr("Betrag"),
                                 QPoint(X0, Y0 + HeaderDy), 116, rowFont(), true);
    int y = Y0 + FirstRowDy;
    scene->setBandToggle(false);
    double total = 0.0;
    for (IncomeEntry *movement : movements) {
        RecordPainting::paintEntry(movement, QPoint(X0, y), scene, rowFont(), Qt::transparent);
        total += movement->getAmount();
        y += RowStep;
    }
    scene->setBandToggle(false);
    scene->addTextsAndNumbers(tr("Total:"), QString(), QString(), 0.0, total, QPoint(X0, y + 8), 100, 0, 0, 640,
                              rowFont());
    setReportHeight(scene, y + 45);
}

// ---------------------------------------------------------------- card lists

void ReportPainter::showIncomeSourceCards(PictureScene *scene)
{
    m_scene = scene;
    beginReport(scene);
    const RecordList<IncomeEntry> sources = DataProvider::instance()->getIncomeSources();
    QPoint pos = PictureScene::cardStart();
    for (IncomeEntry *source : sources) {
        if (!source->isSource())
            continue;
        RecordPainting::paintButton(source, pos, scene, cardFont(), CardGrey);
        pos.ry() += CardStep;
    }
    scene->update();
    setReportHeight(scene, pos.y() + 15);
}

void ReportPainter::showExpenseTypeCards(PictureScene *scene)
{
    m_scene = scene;
    beginReport(scene);
    const RecordList<ExpenseTypeEntry> types = DataProvider::instance()->getExpenseTypes();
    scene->setPaletteIndex(0);
    QPoint pos = PictureScene::cardStart();
    for (ExpenseTypeEntry *type : types) {
        RecordPainting::paintButton(type, pos, scene, cardFont(), CardGrey);
        pos.ry() += CardStep;
    }
    scene->update();
    setReportHeight(scene, pos.y() + 15);
}

void ReportPainter::showPaymentInstrumentCards(PictureScene *scene)
{
    m_scene = scene;
    beginReport(scene);
    DataProvider *data = DataProvider::instance();
    QList<PaymentInstruction *> instruments;
    data->getPaymentInstruments(instruments);
    QPoint pos = PictureScene::cardStart();
    for (PaymentInstruction *instrument : qAsConst(instruments)) {
        if (!data->isAccountActive(instrument->getAccountId()))
            continue;
        RecordPainting::paintButton(instrument, pos, scene, cardFont(), CardGrey);
        // Money paid into the instrument and the correction of its account's
        // movements start from its card too. A card drawing on a bank account
        // has neither: both belong to the bank account's own card.
        if (instrument->getInstrumentType() != InstrumentType::LinkedCard) {
            ImageItem *deposit = scene->addImage(instrument, PictureKind::AccountAction,
                                                 QStringLiteral(":/images/income.png"),
                                                 QPointF(pos.x() + 240, pos.y() + 3), tr("einzahlen"));
            deposit->setData(ImageItem::ActionText, QStringLiteral("Einzahlen"));
            ImageItem *maintenance = scene->addImage(instrument, PictureKind::AccountAction,
                                                     QStringLiteral(":/images/maintenance.png"),
                                                     QPointF(pos.x() + 280, pos.y() + 3),
                                                     tr("Bewegungen bearbeiten"));
            maintenance->setData(ImageItem::ActionText, QStringLiteral("Maintenance"));
        }
        pos.ry() += CardStep;
    }
    scene->update();
    setReportHeight(scene, pos.y() + 15);
}

// ------------------------------------------------------------------ help page

void ReportPainter::showHelpPage(PictureScene *scene)
{
    m_scene = scene;
    scene->clearScene();
    const int x = X0;
    const QColor paragraphColour = Qt::white;
    auto heading = [&](int y, const QString &text, const QFont &font) {
        scene->addTextRow(text, QString(), QString(), QString(), QString(), QPoint(x, y), 0, 0, 0, 0, font, false);
    };
    auto paragraph = [&](int y, const QString &text) {
        scene->addWrappedText(text, QPoint(x, y), rowFont(), paragraphColour, 680);
    };

    heading(10, tr("Eine kurze Übersicht zur Anwendung"), titleFont());
    paragraph(45, tr("Mit dieser Anwendung können sämtliche Finanz-Transaktionen abgebildet werden. "
                     "Dem Benutzer ist es überlassen, wie er die für ihn wichtigen Posten sowohl eingangs- "
                     "wie ausgangs-seitig deklarieren will. Damit sind Einkünfte wie z.B. AHV Rente, Salär etc. "
                     "als auch Ausgaben wie Steuern, Lebensmittel, Miete etc. gemeint."));
    heading(135, tr("Technische Erläuterung zur Aufteilung der Oberfläche:"), rowFont());
    paragraph(140, tr("\n\tOben links: Hauptfenster-Ausschnitt - HFA"
                      "\n\tUnten links: Eingabefenster-Ausschnitt - EFA"
                      "\n\tRechts: Ausgabefenster-Ausschnitt - AFA"));
    heading(240, tr("Eingang"), titleFont());
    paragraph(275, tr("Unter diesem Menupunkt werden die Einkünfte deklariert und mit den jeweiligen zu "
                      "erwartenden Jahreswerten versehen, dies geschieht im HFA. Die resultierenden Deklarationen "
                      "werden dann auch im EFA nachgeführt, wo die entsprechenden Funktionen, wie 'Einzahlen' und "
                      "'Anzeigen' angeboten sind."));
    heading(375, tr("Ausgang"), titleFont());
    paragraph(410, tr("Unter diesem Menupunkt werden die Ausgaben und deren Unterbereiche deklariert und mit den "
                      "jeweiligen, geschätzten Budgetwerten versehen, dies geschieht im HFA. Die resultierenden "
                      "Deklarationen werden dann auch im EFA nachgeführt, wo die entsprechenden Funktionen wie "
                      "'Erfassen' und 'Anzeigen' angeboten sind. Im Weiteren können auch die für den Anwender "
                      "wichtigen Begünstigten erfasst werden."));
    heading(530, tr("Vermögen"), titleFont());
    paragraph(565, tr("Unter diesem Menupunkt werden Konten und Zahlungsmittel wie Bargeld, Kreditkarten etc. "
                      "erfasst und mit ihren Eröffnungswerten versehen, dies geschieht im HFA. Die resultierenden "
                      "Deklarationen werden dann auch im EFA nachgeführt, wo die entsprechenden Funktionen wie "
                      "'interne Transaktion' und 'Anzeigen' angeboten sind."));
    heading(665, tr("Kontrolle"), titleFont());
    // Read-only: recomputes every balance from the bookings and lists differences.
    scene->addImage(nullptr, PictureKind::CheckBalances, QStringLiteral(":/images/check.png"), QPointF(x, 700),
                    tr("Salden prüfen"));
    scene->addWrappedText(tr("Salden prüfen: jeder Kontostand wird aus dem Eröffnungsbetrag und den "
                             "Buchungen nachgerechnet; Abweichungen werden angezeigt, es wird nichts verändert."),
                          QPoint(x + 45, 705), rowFont(), paragraphColour, 635);
    scene->addImage(nullptr, PictureKind::Backups, QStringLiteral(":/images/hist.png"), QPointF(x, 750),
                    tr("Sicherungen"));
    scene->addWrappedText(tr("Sicherungen: bei jedem Start wird eine geprüfte Kopie der Finanzdatei abgelegt; "
                             "hier lässt sich eine davon zurückholen."),
                          QPoint(x + 45, 755), rowFont(), paragraphColour, 635);
    scene->addImage(nullptr, PictureKind::ExportCsv, QStringLiteral(":/images/display.png"), QPointF(x, 800),
                    tr("Export"));
    scene->addWrappedText(tr("Export: Ausgaben, Bewegungen und Konten des Jahres als CSV-Dateien für eine "
                             "Tabellenkalkulation."),
                          QPoint(x + 45, 805), rowFont(), paragraphColour, 635);

    // The view stays where it is; it only grows when the text would be out of reach.
    if (QGraphicsView *view = firstView(scene)) {
        const QRectF current = view->sceneRect();
        const qreal bottom = scene->itemsBoundingRect().bottom() + 15;
        if (current.bottom() < bottom)
            view->setSceneRect(QRectF(current.x(), current.y(), current.width(), bottom - current.y()));
    }
}
