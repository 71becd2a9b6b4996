#pragma once

#include <QColor>
#include <QCoreApplication>

class PictureScene;
class ExpenseTypeEntry;
class PaymentInstruction;
class IncomeEntry;

// Draws the overviews, detail reports and drill-downs of the output area,
// the card lists of the input area and the help page. It only reads data.
// Create one on the stack for each call; it keeps the scene it drew on last.
class ReportPainter
{
    Q_DECLARE_TR_FUNCTIONS(ReportPainter)

public:
    ReportPainter() = default;
    // Clears the scene and keeps it.
    explicit ReportPainter(PictureScene *scene);

    PictureScene *scene() const { return m_scene; }

    // Overviews of the output area.
    void showExpenseOverview(PictureScene *scene);
    void showIncomeOverview(PictureScene *scene);
    void showRecipientOverview(PictureScene *scene);
    void showAccountOverview(PictureScene *scene);

    // Detail reports of one record.
    void showExpenseTypeReport(PictureScene *scene, ExpenseTypeEntry *type);
    void showPaymentInstrumentReport(PictureScene *scene, PaymentInstruction *instrument);
    void showIncomeSourceReport(PictureScene *scene, IncomeEntry *source);

    // Drill-downs: replace the detail block under the overview or type report.
    void showRecipientExpenses(PictureScene *scene, int recipientId, const QColor &colour);
    void showSubTypeExpenses(PictureScene *scene, int subTypeId, const QColor &colour);

    // Card lists of the input area.
    void showIncomeSourceCards(PictureScene *scene);
    void showExpenseTypeCards(PictureScene *scene);
    void showPaymentInstrumentCards(PictureScene *scene);

    // The short help text about the program and its window areas.
    void showHelpPage(PictureScene *scene);

private:
    PictureScene *m_scene = nullptr;
};
