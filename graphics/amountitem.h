#pragma once

#include <QGraphicsTextItem>
#include <QString>

class PictureScene;

// A number in a box of boxWidth x 20 pixels, drawn right-aligned in the
// scene's text colour, so that the amounts of a column line up on their
// right edge (x + boxWidth - 1) and never wrap.
class AmountItem : public QGraphicsTextItem
{
    Q_OBJECT
public:
    explicit AmountItem(PictureScene *scene, QGraphicsItem *parent = nullptr);

    PictureScene *pictureScene() const { return m_scene; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    int boxWidth() const { return m_boxWidth; }
    void setBoxWidth(int width);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    PictureScene *m_scene;
    QString m_name;
    int m_boxWidth = 90;
};
