#include "platform/qt/fit_text.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace vbqt {

void drawFittedText(QPainter& p, const QRectF& box, int flags, const QString& text)
{
    const double natural = QFontMetricsF(p.font(), p.device()).horizontalAdvance(text);
    if (!(natural > box.width())) {
        p.drawText(box, flags, text);
        return;
    }
    // The condensed text fills the box exactly; it needs no clip of its own.
    const double s = std::max(box.width(), 1.0) / natural;
    p.save();
    p.translate(box.left(), 0);
    p.scale(s, 1.0);
    p.drawText(QRectF(0, box.top(), natural, box.height()), flags | Qt::TextDontClip, text);
    p.restore();
}

}  // namespace vbqt
