#pragma once

#include "imageitem.h"

#include <QColor>
#include <QFont>
#include <QGraphicsScene>
#include <QList>
#include <QPoint>
#include <QRectF>
#include <QString>

class AmountItem;
class FinanceBase;
class RectItem;
class TextItem;

// One of the main window's three drawing areas. Everything the program
// shows is built from the primitives below; items carry a name (tag) so
// that groups of them can be erased without redrawing the rest.
//
// Coordinates are scene pixels, origin top left; a list row ends at x = 766.
// Texts, amounts and rules are drawn in textColour().
class PictureScene : public QGraphicsScene
{
    Q_OBJECT
public:
    explicit PictureScene(int sceneId, QObject *parent = nullptr);
    ~PictureScene() override;

    // Right edge of a list row.
    static constexpr int RowEnd = 766;
    // Where reports and card lists start.
    static QPoint reportStart() { return QPoint(35, 10); }
    static QPoint cardStart() { return QPoint(15, 10); }

    // State kept between two drawings.
    int sceneId() const { return m_sceneId; }
    QWidget *owner() const { return m_owner; }
    void setOwner(QWidget *owner) { m_owner = owner; }
    int detailTop() const { return m_detailTop; }
    void setDetailTop(int y) { m_detailTop = y; }
    bool bandToggle() const { return m_bandToggle; }
    void setBandToggle(bool on) { m_bandToggle = on; }
    QColor textColour() const { return m_textColour; }
    void setTextColour(const QColor &colour) { m_textColour = colour; }
    int paletteIndex() const { return m_paletteIndex; }
    void setPaletteIndex(int index) { m_paletteIndex = index; }

    // The scene's own fonts 0 (application default) to 5.
    QFont sceneFont(int index) const;

    // Chart palette: 19 colours; few entries get well-separated ones.
    static constexpr int PaletteSize = 19;
    static QColor paletteColour(int index);
    // The colour at paletteIndex; advances the index by 4 for count 1..4,
    // 3 for 5..6, 2 for 7..10 and 1 otherwise.
    QColor nextPaletteColour(int count);

    // The area all items cover, as QGraphicsScene::itemsBoundingRect gives it,
    // but without first sorting every item by stacking order, which on a
    // report of a hundred thousand items takes far longer than the union.
    QRectF itemsBoundingRect() const;

    // Deletes every item and puts the origin anchor back.
    void clearScene();
    // A tiny invisible rectangle at (0, 0), so a drawing keeps its place in the view.
    void addOriginAnchor();
    // Deletes the ImageItems, TextItems, AmountItems and RectItems named name.
    void eraseNamedItems(const QString &name);
    // Deletes every item but the ImageItems (keepImages) and TextItems
    // (keepTexts) named name.
    void keepNamedItems(const QString &name, bool keepImages, bool keepTexts);

    // --- Drawing primitives. Texts and amount texts that are empty draw nothing.
    // The rule under a list row (when draw is true).
    void addRowLine(bool draw, const QPoint &pos);
    TextItem *addStaticText(const QString &text, const QFont &font, const QPoint &pos);
    TextItem *addText(const QString &text, const QPoint &pos, const QFont &font, const QColor &colour,
                      const QString &name = QString());
    // Wraps at width when width > 0.
    TextItem *addWrappedText(const QString &text, const QPoint &pos, const QFont &font, const QColor &colour,
                             int width = 0);
    // A caption right-aligned with the amounts of addAmount at pos.x + 40.
    AmountItem *addAmountText(const QString &text, const QPoint &pos, const QFont &font,
                              const QString &name = QString());
    // Two decimals, a point, no grouping: "-7.00", "0.00", "1234.50".
    AmountItem *addAmount(double value, const QPoint &pos, const QFont &font, const QString &name = QString());
    static QString formatAmount(double value);
    RectItem *addRect(const QRectF &rect, const QColor &brushColour, const QColor &penColour,
                      const QString &name = QString());
    RectItem *addFilledRect(const QRectF &rect, const QColor &brushColour, const QString &name = QString());
    // Grey band on every second call (driven by bandToggle); null when skipped.
    RectItem *addBand(const QRectF &rect, const QString &name = QString());
    // A bar in colour with a 5-pixel cap at its right end in capColour.
    void addCappedBar(const QRectF &rect, const QColor &colour, const QColor &capColour);

    // A clickable picture from a resource, scaled by kind, at pos; it stands
    // for record (may be null). Tooltip and name are set when not empty.
    ImageItem *addImage(FinanceBase *record, PictureKind kind, const QString &resource, const QPointF &pos,
                        const QString &toolTip = QString(), const QString &name = QString());

    // Rows of texts at pos.x, pos.x + dxN (same y), then addRowLine(line, pos).
    void addTextRow(const QString &t1, const QString &t2, const QString &t3, const QString &t4,
                    const QString &t5, const QPoint &pos, int dx2, int dx3, int dx4, int dx5,
                    const QFont &font, bool line);
    // Texts at x, x + dx2, x + dx3; the amount caption at x + 600.
    void addTextRowWithAmount(const QString &t1, const QString &t2, const QString &t3,
                              const QString &amount, const QPoint &pos, int dx2, int dx3,
                              const QFont &font, bool line);
    // Texts at x, x + dx2; amount captions at x + 492 and x + 600.
    void addTwoTextsTwoAmounts(const QString &t1, const QString &t2, const QString &a1,
                               const QString &a2, const QPoint &pos, int dx2, const QFont &font, bool line);
    // Text at x; amount captions at x + 270, 382, 492 and 600.
    void addTextFourAmounts(const QString &t1, const QString &a1, const QString &a2, const QString &a3,
                            const QString &a4, const QPoint &pos, const QFont &font, bool line);
    // Texts at x, x + dx2, x + dx3; the numbers by addAmount at x + dxFirst and
    // x + dxSecond, each only when its offset is > 0. No row line.
    void addTextsAndNumbers(const QString &t1, const QString &t2, const QString &t3, double first,
                            double second, const QPoint &pos, int dx2, int dx3, int dxFirst,
                            int dxSecond, const QFont &font);

    // --- Charts, 200 pixels high with their top at pos.y.
    void drawPercentScale(const QPoint &pos);
    // One bar per positive value (value against its reference, clipped at
    // 100 %), then a grey bar of all positive values against totalReference.
    void drawBarChart(const QString &title, const QPoint &pos, double totalReference,
                      const QList<double> &values, const QList<double> &references,
                      const QList<QColor> &colours);
    // Slices of the positive values from 12 o'clock, last entry first.
    void drawPieChart(const QString &title, const QPoint &pos, const QList<double> &values,
                      const QList<QColor> &colours);

signals:
    // A picture was pressed; see imageitem.h.
    void imagePressed(PictureKind kind, ImageItem *item);

protected:
    // Release events never reach the items.
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    void deleteItems(const QList<QGraphicsItem *> &doomed);

    QWidget *m_owner = nullptr;
    int m_sceneId;
    int m_detailTop = 0;
    bool m_bandToggle = false;
    QColor m_textColour;
    int m_paletteIndex = 0;
    QList<QFont> m_fonts;
};
