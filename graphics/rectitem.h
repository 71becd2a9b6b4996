#pragma once

#include <QGraphicsRectItem>
#include <QRectF>
#include <QString>

class PictureScene;

// A rectangle with an item name (bands, markers, bars, title boxes).
class RectItem : public QGraphicsRectItem
{
public:
    RectItem(PictureScene *scene, const QRectF &rect, QGraphicsItem *parent = nullptr);

    PictureScene *pictureScene() const { return m_scene; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    QRectF itemRect() const { return m_rect; }

private:
    PictureScene *m_scene;
    QString m_name;
    QRectF m_rect;
};
