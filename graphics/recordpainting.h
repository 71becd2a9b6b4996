#pragma once

class FinanceBase;
class PictureScene;
class QColor;
class QFont;
class QPoint;

// Draws a record through the renderer of its class. The records know
// nothing of drawing; this is the one place that pairs each record class
// with its renderer. A class without a row or box form draws nothing.
namespace RecordPainting {

// The record as one row of a list.
void paintEntry(FinanceBase *record, const QPoint &pos, PictureScene *scene, const QFont &font,
                const QColor &colour);
// The record as a selectable title box with its action pictures.
void paintButton(FinanceBase *record, const QPoint &pos, PictureScene *scene, const QFont &font,
                 const QColor &colour);

} // namespace RecordPainting
