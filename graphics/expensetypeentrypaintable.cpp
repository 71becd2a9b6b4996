#include "expensetypeentrypaintable.h"

#include "expensetypeentry.h"
#include "imageitem.h"
#include "picturescene.h"

#include <QColor>
#include <QFont>

ExpenseTypeEntryPaintable::ExpenseTypeEntryPaintable(const QPoint &position, ExpenseTypeEntry *record)
    : FinancePaintable(QString(), position),
      m_recordType(record ? record->getTypeCode() : FinanceBase::ExpenseTypeEntryCode),
      m_record(record)
{
}

ExpenseTypeEntryPaintable::ExpenseTypeEntryPaintable(ExpenseTypeEntry *record)
    : ExpenseTypeEntryPaintable(QPoint(0, 0), record)
{
}

bool ExpenseTypeEntryPaintable::isType(int typeCode) const
{
    return typeCode == m_recordType;
}

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
        actionPicture(scene, m_record, p, 320, QStringLiteral(":/images/warenkorb.png"), 6, tr("erfassen"));
        actionPicture(scene, m_record, p, 360, QStringLiteral(":/images/display-grey.png"), 7, tr("anzeigen"));
        return;
    }
    // The header of the expenses page.
    actionPicture(scene, m_record, p, 210, QStringLiteral(":/images/back-arrow.png"), 14, tr("zurück"));
    actionPicture(scene, nullptr, p, 240, QStringLiteral(":/images/settings-blue.png"), 20,
                  tr("Begünstigte bearbeiten"), QStringLiteral("RecipientSettings"));
    actionPicture(scene, m_record, p, 280, QStringLiteral(":/images/settings-yellow.png"), 20,
                  tr("Ausgabetypen bearbeiten"), QStringLiteral("ExpenseSettings"));
    actionPicture(scene, m_record, p, 320, QStringLiteral(":/images/anzeigen.png"), 13, tr("Begünstigte anzeigen"));
    actionPicture(scene, m_record, p, 360, QStringLiteral(":/images/display.png"), 4, tr("Ausgabetypen anzeigen"));
}
