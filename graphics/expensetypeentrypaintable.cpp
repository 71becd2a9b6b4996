#include "expensetypeentrypaintable.h"

#include "expensetypeentry.h"
#include "imageitem.h"
#include "picturescene.h"

#include <QColor>
#include <QFont>

void ExpenseTypeEntryPaintable::paintEntry(int, PictureScene *scene, const QFont &font, const QColor &)
{
    if (!scene || !m_record)
        return;
    const QPoint &p = m_position;
    band(scene, p, QStringLiteral("eraseDetail"));
    columnText(scene, m_record->getName(), p, 280, font);
    scene->addAmount(m_record->getBudget(), QPoint(p.x() + 280, p.y()), font);
}

void ExpenseTypeEntryPaintable::paintButton(int recordId, PictureScene *scene, const QFont &font,
                                            const QColor &colour)
{
    if (!scene || !m_record)
        return;
    const QPoint &p = m_position;
    titleBox(scene, p, m_record->getName(), font, colour);
    if (recordId != 0) {
        // The card of one expense type: book an expense, show its report.
        actionPicture(scene, m_record, p, 320, QStringLiteral(":/images/warenkorb.png"), PictureKind::BookExpense,
                      tr("erfassen"));
        actionPicture(scene, m_record, p, 360, QStringLiteral(":/images/display-grey.png"), PictureKind::RecordReport,
                      tr("anzeigen"));
        return;
    }
    // The header of the expenses page.
    actionPicture(scene, m_record, p, 210, QStringLiteral(":/images/back-arrow.png"), PictureKind::BackToMainMenu,
                  tr("zurück"));
    actionPicture(scene, nullptr, p, 240, QStringLiteral(":/images/settings-blue.png"), PictureKind::MasterData,
                  tr("Begünstigte bearbeiten"), QStringLiteral("RecipientSettings"));
    actionPicture(scene, m_record, p, 280, QStringLiteral(":/images/settings-yellow.png"), PictureKind::MasterData,
                  tr("Ausgabetypen bearbeiten"), QStringLiteral("ExpenseSettings"));
    actionPicture(scene, m_record, p, 320, QStringLiteral(":/images/anzeigen.png"), PictureKind::RecipientOverview,
                  tr("Begünstigte anzeigen"));
    actionPicture(scene, m_record, p, 360, QStringLiteral(":/images/display.png"), PictureKind::ExpenseOverview,
                  tr("Ausgabetypen anzeigen"));
}
