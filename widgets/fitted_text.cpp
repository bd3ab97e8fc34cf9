#include "widgets/fitted_text.h"

#include "platform/qt/fit_text.h"

#include <QFontMetricsF>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>

#include <algorithm>
#include <cmath>

void FittedLabel::paintEvent(QPaintEvent* event)
{
    const QRect box = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    if (textFormat() == Qt::RichText || wordWrap() || QFontMetricsF(font(), this).horizontalAdvance(text()) <= box.width()) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event);
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    vbqt::drawFittedText(p, box, int(alignment()), text());
}

void FitLineEditFont(QLineEdit& box, int baseStretch)
{
    // A line edit scrolls once the text, its caret and the face's widest
    // overhangs on either side need more than the room inside its 2-pixel
    // side margins.
    const QMargins margins = box.textMargins();
    const int frame = box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &box) : 0;
    const int room = box.contentsRect().width() - 2 * frame - margins.left() - margins.right() - 2 * 2;
    const QString text = box.text();
    auto needed = [&](const QFont& f) {
        const QFontMetricsF m(f, &box);
        return std::max(0.0, -m.minLeftBearing()) + std::ceil(m.horizontalAdvance(text)) + 1 +
               std::max(0.0, -m.minRightBearing());
    };
    QFont f = box.font();
    f.setStretch(baseStretch);
    const double natural = needed(f);
    if (natural > room && room > 0) {
        // Stretch is a whole percentage and glyph widths round: step down
        // from the estimate until the text really fits.
        for (int stretch = std::clamp(static_cast<int>(100.0 * room / natural), 1, 99); stretch >= 1; --stretch) {
            f.setStretch(stretch);
            if (needed(f) <= room) break;
        }
    }
    if (f != box.font()) box.setFont(f);
}

void KeepLineEditTextWhole(QLineEdit& box)
{
    const int stretch = box.font().stretch();
    QObject::connect(&box, &QLineEdit::textChanged, &box, [&box, stretch] { FitLineEditFont(box, stretch); });
    FitLineEditFont(box, stretch);
}
