#include "financepaintable.h"

#include "archivefileinfo.h"
#include "financebase.h"
#include "imageitem.h"
#include "picturescene.h"

#include <QColor>
#include <QFont>

FinancePaintable::FinancePaintable(const QString &title, const QPoint &position)
    : m_title(title), m_position(position)
{
}

FinancePaintable::~FinancePaintable() = default;

bool FinancePaintable::isType(int typeCode) const
{
    return typeCode == m_typeCode;
}

void FinancePaintable::paintEntry(int, PictureScene *, const QFont &, const QColor &)
{
}

void FinancePaintable::paintButton(int recordId, PictureScene *scene, const QFont &font, const QColor &colour)
{
    if (!scene)
        return;
    titleBox(scene, m_position, m_title, font, colour);
    if (recordId != 0) {
        // A past year's data: only the way to the current year is offered.
        actionPicture(scene, nullptr, m_position, 360, QStringLiteral(":/images/change-year.png"), 17,
                      tr("auf aktuelles Jahr wechseln"));
        return;
    }
    if (ArchiveFileInfo().hasArchiveFiles())
        actionPicture(scene, nullptr, m_position, 280, QStringLiteral(":/images/hist.png"), 19,
                      tr("Finanz-Datei selektieren"));
    actionPicture(scene, nullptr, m_position, 360, QStringLiteral(":/images/info.png"), 16, tr("Info"));
}

QString FinancePaintable::cut(const QString &text, int n)
{
    return text.length() > n ? text.left(n) : text;
}

void FinancePaintable::band(PictureScene *scene, const QPoint &pos, const QString &name)
{
    scene->addBand(QRectF(pos.x() + 2, pos.y() + 7, 732, 16), name);
}

void FinancePaintable::marker(PictureScene *scene, const QPoint &pos, const QColor &colour)
{
    scene->addFilledRect(QRectF(pos.x() - 20, pos.y() + 7, 20, 14), colour);
}

ImageItem *FinancePaintable::drillDownArrow(PictureScene *scene, FinanceBase *record, const QPointF &pos, int id,
                                            const QVariant &colour)
{
    ImageItem *arrow = scene->addImage(record, 15, QStringLiteral(":/images/down-arrow.png"), pos,
                                       tr("anzeigen"));
    arrow->setData(1, id);
    arrow->setData(2, record->getTypeCode());
    arrow->setData(3, colour);
    return arrow;
}

void FinancePaintable::titleBox(PictureScene *scene, const QPoint &pos, const QString &name, const QFont &font,
                                const QColor &colour)
{
    scene->addFilledRect(QRectF(pos.x(), pos.y(), 420, 40), colour);
    titleText(scene, pos, name, font);
}

void FinancePaintable::titleText(PictureScene *scene, const QPoint &pos, const QString &name, const QFont &font)
{
    scene->addWrappedText(name, QPoint(pos.x() + 5, pos.y() + 5), font, scene->textColour());
}

ImageItem *FinancePaintable::actionPicture(PictureScene *scene, FinanceBase *record, const QPoint &pos, int dx,
                                           const QString &resource, int kind, const QString &toolTip,
                                           const QString &data)
{
    ImageItem *item = scene->addImage(record, kind, resource, QPointF(pos.x() + dx, pos.y() + 3), toolTip);
    if (!data.isEmpty())
        item->setData(1, data);
    return item;
}

void FinancePaintable::text(PictureScene *scene, const QString &text, const QPoint &pos, const QFont &font,
                            const QString &name)
{
    if (name.isEmpty())
        scene->addWrappedText(text, pos, font, scene->textColour());
    else
        scene->addText(text, pos, font, scene->textColour(), name);
}
