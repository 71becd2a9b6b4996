#pragma once

#include <QGraphicsTextItem>
#include <QString>

class PictureScene;

// Plain text on a picture scene. The item name is the tag by which groups
// of items are erased again (PictureScene::eraseNamedItems).
class TextItem : public QGraphicsTextItem
{
    Q_OBJECT
public:
    // Adds itself to the scene (unless it hangs below a parent item, which
    // is in its scene already). Neither movable nor selectable.
    TextItem(QGraphicsItem *parent, PictureScene *scene);

    PictureScene *pictureScene() const { return m_scene; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }

signals:
    void lostFocus(TextItem *item);
    void selectedChange(QGraphicsItem *item);

private:
    PictureScene *m_scene;
    QString m_name;
};
