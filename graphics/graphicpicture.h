#pragma once

#include <QColor>
#include <QGraphicsPixmapItem>
#include <QString>

class PictureScene;

// One slice of a pie chart of 200 x 200 pixels. Angles are in 1/16 degree;
// chart angle 0 is 12 o'clock and slices run counter-clockwise. The slice is
// painted; it holds no pixmap, as a chart may have thousands of slices.
class GraphicPicture : public QGraphicsPixmapItem
{
public:
    // startDegrees and spanDegrees lose their fraction.
    GraphicPicture(PictureScene *scene, double startDegrees, double spanDegrees, const QColor &colour);

    PictureScene *pictureScene() const { return m_scene; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    int startAngle() const { return m_startAngle; }
    int spanAngle() const { return m_spanAngle; }
    QColor brushColour() const { return m_brushColour; }
    QColor penColour() const { return m_penColour; }

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    PictureScene *m_scene;
    QString m_name;
    int m_startAngle;
    int m_spanAngle;
    bool m_penOn = true;
    bool m_brushOn = true;
    int m_penWidth = 1;
    QColor m_penColour = Qt::white;
    QColor m_brushColour;
};
