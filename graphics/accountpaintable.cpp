#include "accountpaintable.h"

#include "account.h"
#include "fontresolver.h"
#include "imageitem.h"
#include "picturescene.h"

#include <QColor>
#include <QFont>

void AccountPaintable::paintEntry(int, PictureScene *scene, const QFont &font, const QColor &colour)
{
    if (!scene || !m_record)
        return;
    const QPoint &p = m_position;
    band(scene, p);
    marker(scene, p, colour);
    columnText(scene, m_record->getName(), p, 310, font);
    scene->addAmount(m_record->getOpeningAmount(), QPoint(p.x() + 310, p.y()), font);
    scene->addAmount(m_record->getBalance(), QPoint(p.x() + 422, p.y()), font);
    scene->addAmount(m_record->getIncomingSum(), QPoint(p.x() + 532, p.y()), font);
    scene->addAmount(m_record->getOutgoingSum(), QPoint(p.x() + 640, p.y()), font);

    // Accounts with payment instruments listed under them get a sign in the
    // account's colour, repeated beside those instruments' lines.
    if (m_record->getLinkedCount() > 0) {
        if (m_record->getId() != 0)
            scene->addText(QString(QChar(0x25C0)), QPoint(p.x() + 512, p.y() - 4),
                           FontResolver::sceneFont(1), m_record->getColour());
        else
            scene->addText(QString(QChar(0x2022)), QPoint(p.x() + 730, p.y() - 12),
                           FontResolver::sceneFont(0), m_record->getColour());
    }
}

void AccountPaintable::paintButton(int, PictureScene *scene, const QFont &font, const QColor &colour)
{
    if (!scene || !m_record)
        return;
    titleBox(scene, m_position, m_record->getName(), font, colour);
}
