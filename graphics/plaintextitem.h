#pragma once

#include <QColor>
#include <QFont>
#include <QGraphicsItem>
#include <QString>

class PictureScene;

// What TextItem and AmountItem have in common: a plain text in a font and
// colour, the scene the item was made for and the item name (tag) by which
// groups of items are erased again (PictureScene::eraseNamedItems).
//
// A report puts tens of thousands of these on a scene, so they hold no text
// document: the text is measured when the item's size is asked for and
// drawn with the painter. Neither movable nor selectable, and mouse presses
// pass through to the pictures below.
class PlainTextItem : public QGraphicsItem
{
public:
    explicit PlainTextItem(PictureScene *scene, QGraphicsItem *parent = nullptr);

    PictureScene *pictureScene() const { return m_scene; }
    const QString &name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }

    const QString &toPlainText() const { return m_text; }
    void setPlainText(const QString &text);
    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    QColor defaultTextColor() const { return m_colour; }
    void setDefaultTextColor(const QColor &colour);

protected:
    // An item that starts out with its text, font and colour.
    PlainTextItem(PictureScene *scene, const QString &text, const QFont &font, const QColor &colour,
                  QGraphicsItem *parent = nullptr);

    // Text or font changed; the size the item reports may change with them.
    virtual void contentChanged() { update(); }

private:
    PictureScene *m_scene;
    QString m_name;
    QString m_text;
    QFont m_font;
    QColor m_colour = Qt::black;
};
