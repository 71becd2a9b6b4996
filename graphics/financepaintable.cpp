#include "financepaintable.h"

#include "financebase.h"
#include "imageitem.h"
#include "picturescene.h"

#include "textitem.h"

#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>

namespace {

// Where the pictures sit in the year file's title box.
const int ArchivesDx = 280;
const int ChangeYearDx = 360;
const int InfoDx = 360;

} // namespace

FinancePaintable::FinancePaintable(const QString &title, const QPoint &position)
    : m_title(title), m_position(position)
{
}

FinancePaintable::~FinancePaintable() = default;

void FinancePaintable::paintEntry(int, PictureScene *, const QFont &, const QColor &)
{
}

void FinancePaintable::paintButton(int recordId, PictureScene *scene, const QFont &font, const QColor &colour)
{
    if (!scene)
        return;
    const bool pastYear = recordId != 0;
    // The status (a past year's warning, both years of a later one) must stay
    // readable left of the box's first picture.
    const int firstPictureDx = pastYear ? ChangeYearDx : m_archivesSelectable ? ArchivesDx : InfoDx;
    titleBox(scene, m_position, m_title, font, colour, firstPictureDx - 5);
    if (pastYear) {
        // A past year's data: only the way to the current year is offered.
        actionPicture(scene, nullptr, m_position, ChangeYearDx, QStringLiteral(":/images/change-year.png"),
                      PictureKind::ChangeYear, tr("auf aktuelles Jahr wechseln"));
        return;
    }
    if (m_archivesSelectable)
        actionPicture(scene, nullptr, m_position, ArchivesDx, QStringLiteral(":/images/hist.png"),
                      PictureKind::ChooseYearFile, tr("Finanz-Datei selektieren"));
    actionPicture(scene, nullptr, m_position, InfoDx, QStringLiteral(":/images/info.png"), PictureKind::HelpPage,
                  tr("Info"));
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
    ImageItem *arrow = scene->addImage(record, PictureKind::DrillDown, QStringLiteral(":/images/down-arrow.png"), pos,
                                       tr("anzeigen"));
    arrow->setData(ImageItem::DrillDownId, id);
    arrow->setData(ImageItem::DrillDownClass, record->getTypeCode());
    arrow->setData(ImageItem::DrillDownColour, colour);
    return arrow;
}

void FinancePaintable::titleBox(PictureScene *scene, const QPoint &pos, const QString &name, const QFont &font,
                                const QColor &colour, int textEnd)
{
    scene->addFilledRect(QRectF(pos.x(), pos.y(), 420, 40), colour);
    titleText(scene, pos, name, font, textEnd);
}

void FinancePaintable::titleText(PictureScene *scene, const QPoint &pos, const QString &name, const QFont &font,
                                 int textEnd)
{
    QFont fitted = font;
    if (textEnd > 0) {
        if (fitted.pixelSize() <= 0)
            fitted.setPixelSize(QFontInfo(font).pixelSize());
        // The text starts a margin inside its item; 10 pixels is still legible.
        const qreal room = textEnd - 5 - 2 * TextItem::Margin;
        while (fitted.pixelSize() > 10 && QFontMetricsF(fitted).horizontalAdvance(name) > room)
            fitted.setPixelSize(fitted.pixelSize() - 1);
    }
    scene->addWrappedText(name, QPoint(pos.x() + 5, pos.y() + 5), fitted, scene->textColour());
}

ImageItem *FinancePaintable::actionPicture(PictureScene *scene, FinanceBase *record, const QPoint &pos, int dx,
                                           const QString &resource, PictureKind kind, const QString &toolTip,
                                           const QString &data)
{
    ImageItem *item = scene->addImage(record, kind, resource, QPointF(pos.x() + dx, pos.y() + 3), toolTip);
    if (!data.isEmpty())
        item->setData(ImageItem::ActionText, data);
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

void FinancePaintable::columnText(PictureScene *scene, const QString &text, const QPoint &pos, int width,
                                  const QFont &font, const QString &name)
{
    FinancePaintable::text(scene, fitToColumn(text, font, width), pos, font, name);
}

QString FinancePaintable::fitToColumn(const QString &text, const QFont &font, int width)
{
    // A report repeats its names and remarks on many rows, in one font.
    static QFont lastFont;
    static QHash<QString, QString> fitted;
    if (!(font == lastFont) || fitted.size() >= 100000) {
        lastFont = font;
        fitted.clear();
    }
    const QString key = QString::number(width) + QLatin1Char('|') + text;
    auto found = fitted.constFind(key);
    if (found == fitted.cend()) {
        // The item draws its text a margin in from each side; two pixels
        // more leave room for the slant of an italic last letter.
        const qreal room = width - 2 * TextItem::Margin - 2;
        found = fitted.insert(key, QFontMetricsF(font).elidedText(text, Qt::ElideRight, room));
    }
    return found.value();
}
