#pragma once

#include "financebase.h"
#include "picturekind.h"

#include <QCoreApplication>
#include <QPoint>
#include <QString>
#include <QVariant>

class ImageItem;
class PictureScene;
class QColor;
class QFont;

// Draws a record on a picture scene, either as one list row (paintEntry) or
// as a 420 x 40 title box with its action pictures (paintButton). One
// renderer class per record class; a record creates its renderer, calls it
// once and deletes it, so renderers keep no state between drawings.
//
// The base class itself draws the title box of the year file in the main
// menu, with the change-of-year or the history and info pictures.
class FinancePaintable
{
    Q_DECLARE_TR_FUNCTIONS(FinancePaintable)
public:
    FinancePaintable() = default;
    FinancePaintable(const QString &title, const QPoint &position);
    virtual ~FinancePaintable();

    // Draws the record as one list row at the renderer's position. colour
    // is the record's chart colour, shown as a marker beside the row.
    virtual void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour);
    // Draws the record as a title box filled with colour, with its action
    // pictures. recordId 0 is the pseudo-record heading a page. In the base
    // class a recordId other than 0 means the open file holds a past year.
    virtual void paintButton(int recordId, PictureScene *scene, const QFont &font, const QColor &colour);

    QString title() const { return m_title; }
    // Whether the year file's title box offers the choice of an archived year.
    void setArchivesSelectable(bool selectable) { m_archivesSelectable = selectable; }
    QPoint position() const { return m_position; }

    // The first n characters of text.
    static QString cut(const QString &text, int n);

protected:
    // Grey band under every second row of a list.
    static void band(PictureScene *scene, const QPoint &pos, const QString &name = QString());
    // The chart colour of the row, left of it.
    static void marker(PictureScene *scene, const QPoint &pos, const QColor &colour);
    // The down arrow of a list row that opens its drill-down; the click
    // handler reads the id, the record's class code and the row's colour
    // (the drill-down keys of ImageItem).
    static ImageItem *drillDownArrow(PictureScene *scene, FinanceBase *record, const QPointF &pos, int id,
                                     const QVariant &colour);
    // 420 x 40 box in colour with the name in it (see titleText).
    static void titleBox(PictureScene *scene, const QPoint &pos, const QString &name, const QFont &font,
                         const QColor &colour, int textEnd = 0);
    // The name from (pos.x + 5, pos.y + 5). With textEnd > 0 a name that
    // would reach beyond pos.x + textEnd is set smaller until it ends there,
    // so that no picture of the box covers it.
    static void titleText(PictureScene *scene, const QPoint &pos, const QString &name, const QFont &font,
                          int textEnd = 0);
    // A clickable picture at (pos.x + dx, pos.y + 3), with its text under
    // its action text when data is not empty.
    static ImageItem *actionPicture(PictureScene *scene, FinanceBase *record, const QPoint &pos, int dx,
                                    const QString &resource, PictureKind kind, const QString &toolTip,
                                    const QString &data = QString());
    // A text in the scene colour.
    static void text(PictureScene *scene, const QString &text, const QPoint &pos, const QFont &font,
                     const QString &name = QString());
    // A text in a list column that is width pixels wide: a text too long
    // for it ends in "…" before the next column begins.
    static void columnText(PictureScene *scene, const QString &text, const QPoint &pos, int width,
                           const QFont &font, const QString &name = QString());
    // The part of text that fits into a column width pixels wide, with "…"
    // where it was cut.
    static QString fitToColumn(const QString &text, const QFont &font, int width);

    QString m_title;
    QPoint m_position;
    bool m_archivesSelectable = false;
};

// The renderer of one record class: it draws the record it was made for.
template <typename Record>
class RecordPaintable : public FinancePaintable
{
public:
    RecordPaintable(const QPoint &position, Record *record)
        : FinancePaintable(QString(), position), m_record(record)
    {
    }

protected:
    Record *m_record;
};
