#pragma once

#include "picturekind.h"

#include <QGraphicsPixmapItem>
#include <QObject>
#include <QSizeF>
#include <QString>

class FinanceBase;
class PictureScene;

// A clickable picture. It carries a kind (what a click on it means), the id
// and class code of the record it stands for (0 and FinanceBaseCode without
// a record) and, through QGraphicsItem::setData under the keys of DataKey,
// what the click handler reads.
//
// Clicks: a mouse press on the item emits PictureScene::imagePressed(kind,
// item) of the scene it was added to (setPictureScene, or else the scene
// it is in). The main window connects that signal to its dispatcher with a
// queued connection, so the action runs after the press has been handled:
// an action may clear the scene and thereby delete the very item pressed.
// The item does not grab the mouse (the scene drops release events), so
// every press reaches the picture under the mouse.
//
// The pixmap is scaled to a display size fixed by the kind.
class ImageItem : public QObject, public QGraphicsPixmapItem
{
    Q_OBJECT
public:
    // The keys of setData()/data(); each key holds one thing.
    enum DataKey {
        ActionText = 1,      // which dialog or action: "Einzahlen", "RecipientSettings", ...
        DrillDownClass = 2,  // class code of the list row a drill-down arrow opens
        DrillDownColour = 3, // its colour, a QColor or a colour name
        DrillDownId = 4      // its record id
    };

    ImageItem(FinanceBase *record, PictureKind kind, const QPixmap &pixmap, QGraphicsItem *parent = nullptr);

    // Width x height the pictures of a kind are shown at.
    static QSize displaySize(PictureKind kind);

    PictureKind kind() const { return m_kind; }
    int recordId() const { return m_recordId; }
    int recordType() const { return m_recordType; }
    // The record it was drawn for. Report lines are deleted right after
    // drawing, so a click handler looks the record up again by recordId()
    // and recordType() rather than following this pointer.
    FinanceBase *record() const { return m_record; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    PictureScene *pictureScene() const { return m_scene; }
    void setPictureScene(PictureScene *scene) { m_scene = scene; }

public slots:
    // A size of height sizeHint with the proportions of size.
    QSizeF AdjustSize(QSizeF size, qreal sizeHint);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;

private:
    PictureKind m_kind;
    int m_recordId = 0;
    int m_recordType;
    QString m_name;
    FinanceBase *m_record;
    PictureScene *m_scene = nullptr;
};
