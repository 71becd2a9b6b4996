#include "textitem.h"

#include "picturescene.h"

TextItem::TextItem(QGraphicsItem *parent, PictureScene *scene)
    : QGraphicsTextItem(parent), m_scene(scene)
{
    if (scene && !parent)
        scene->addItem(this);
    setFlag(QGraphicsItem::ItemIsMovable, false);
    setFlag(QGraphicsItem::ItemIsSelectable, false);
}
