// One-line texts that must be read whole in a box of fixed width (grid cells,
// short labels): a text wider than its box is condensed horizontally rather
// than cut, so no digit or sign goes missing; a text that fits is left as it
// is.
#pragma once

#include <QRectF>
#include <QString>

class QPainter;

namespace vbqt {

// As QPainter::drawText with a rectangle and alignment flags, for one line:
// a text wider than the box is drawn condensed horizontally to the box's
// width, its height unchanged.
void drawFittedText(QPainter& p, const QRectF& box, int flags, const QString& text);

}  // namespace vbqt
