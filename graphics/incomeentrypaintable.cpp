#include "incomeentrypaintable.h"

#include "incomeentry.h"
#include "imageitem.h"
#include "picturescene.h"

#include <QColor>
#include <QFont>

void IncomeEntryPaintable::paintEntry(int, PictureScene *scene, const QFont &font, const QColor &colour)
{
    if (!scene || !m_record)
        return;
    const QPoint &p = m_position;
    band(scene, p);
    if (m_record->isSource()) {
        // A source (or a summary line): received against expected.
        columnText(scene, m_record->getName(), p, 532, font);
        scene->addAmount(m_record->getVolume(), QPoint(p.x() + 532, p.y()), font);
        scene->addAmount(m_record->getAmount(), QPoint(p.x() + 640, p.y()), font);
        marker(scene, p, colour);
        return;
    }
    const QString first = m_record->isTotalRow() ? m_record->getName() : m_record->getDateString();
    text(scene, first, p, font);
    columnText(scene, m_record->getRemark(), QPoint(p.x() + 116, p.y()), 640 - 116, font);
    scene->addAmount(m_record->getAmount(), QPoint(p.x() + 640, p.y()), font);
}

void IncomeEntryPaintable::paintButton(int recordId, PictureScene *scene, const QFont &font, const QColor &colour)
{
    if (!scene || !m_record)
        return;
    const QPoint &p = m_position;
    titleBox(scene, p, cut(m_record->getName(), 30), font, colour);
    if (recordId != 0) {
        // The card of one income source: deposit, show its report.
        actionPicture(scene, m_record, p, 320, QStringLiteral(":/images/income.png"), PictureKind::AccountAction,
                      tr("einzahlen"), QStringLiteral("Einzahlen"));
        actionPicture(scene, m_record, p, 360, QStringLiteral(":/images/display-grey.png"), PictureKind::RecordReport,
                      tr("anzeigen"));
        return;
    }
    // The header of the income page.
    actionPicture(scene, m_record, p, 290, QStringLiteral(":/images/back-arrow.png"), PictureKind::BackToMainMenu,
                  tr("zurück"));
    actionPicture(scene, m_record, p, 320, QStringLiteral(":/images/settings.png"), PictureKind::MasterData,
                  tr("Einnahmequellen bearbeiten"), QStringLiteral("IncomeSettings"));
    actionPicture(scene, m_record, p, 360, QStringLiteral(":/images/display-grey.png"), PictureKind::IncomeOverview,
                  tr("Einnahmequellen anzeigen"));
}
