#include "platform/qt/picture_box.h"

#include "platform/qt/arc.h"
#include "platform/qt/font_map.h"
#include "platform/qt/ole_color.h"
#include "platform/qt/styles.h"
#include "platform/qt/twips.h"
#include "platform/text/vberror.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>

#include <cmath>

namespace vbqt {

namespace {

[[noreturn]] void invalidValue() {
    throw vb::Error(380, "Invalid property value");
}

QPainter::RenderHints hints() {
    return QPainter::Antialiasing | QPainter::TextAntialiasing;
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    fitImage();
}

double PictureBox::twipsPerPixelX() const {
    return tppX_ > 0 ? tppX_ : vbqt::TwipsPerPixelX(*this);
}

double PictureBox::twipsPerPixelY() const {
    return tppY_ > 0 ? tppY_ : vbqt::TwipsPerPixelY(*this);
}

void PictureBox::setTwipsPerPixel(double x, double y) {
    if (!(x > 0) || !(y > 0)) invalidValue();
    tppX_ = x;
    tppY_ = y;
    fitImage();
}

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    Cls();
}

void PictureBox::setBackColor(int32_t v) {
    backColor_ = v;
    Cls();
}

void PictureBox::setFillStyle(int16_t v) {
    if (v < 0 || v > 7) invalidValue();
    fillStyle_ = v;
}

void PictureBox::setDrawWidth(int16_t v) {
    if (v < 1) invalidValue();
    drawWidth_ = v;
}

void PictureBox::setDrawStyle(int16_t v) {
    if (v < 0 || v > 6) invalidValue();
    drawStyle_ = v;
}

void PictureBox::setFontSize(double v) {
    if (!(v > 0) || v > 2160) invalidValue();
    font_.Size = v;
}

void PictureBox::setFont(const StdFont& v) {
    if (!(v.Size > 0)) invalidValue();
    font_ = v;
}

float PictureBox::ScaleWidth() const {
    return static_cast<float>(width() * twipsPerPixelX());
}

float PictureBox::ScaleHeight() const {
    return static_cast<float>(height() * twipsPerPixelY());
}

void PictureBox::fitImage() {
    // The image's resolution follows the twips scale, so that font points
    // turn into the same twips as on the screen.
    const QSize want = size().expandedTo(QSize(1, 1));
    const int dpmX = static_cast<int>(std::lround(1440.0 / twipsPerPixelX() / 0.0254));
    const int dpmY = static_cast<int>(std::lround(1440.0 / twipsPerPixelY() / 0.0254));
    if (image_.size() == want && image_.dotsPerMeterX() == dpmX && image_.dotsPerMeterY() == dpmY)
        return;
    QImage next(want, QImage::Format_RGB32);
    next.fill(oleToQColor(backColor_));
    next.setDotsPerMeterX(dpmX);
    next.setDotsPerMeterY(dpmY);
    if (!image_.isNull()) {
        QPainter p(&next);
        p.drawImage(0, 0, image_);
    }
    image_ = next;
}

// Pixel centres: coordinate i of a pixel row lands in the middle of pixel i,
// so one-pixel lines stay crisp with antialiasing on.
QPointF PictureBox::toPixel(float x, float y) const {
    return {x / twipsPerPixelX() + 0.5, y / twipsPerPixelY() + 0.5};
}

QPointF PictureBox::resolve(VbPoint p) const {
    if (p.step) return {curX_ + p.x, curY_ + p.y};
    return {p.x, p.y};
}

QPen PictureBox::pen(int32_t color) const {
    QPen p(oleToQColor(color));
    p.setWidthF(drawWidth_);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    // Broken styles only apply to one-pixel pens, as on the original control.
    p.setStyle(drawWidth_ == 1 || drawStyle_ == 5 ? penStyleOf(drawStyle_) : Qt::SolidLine);
    return p;
}

QFont PictureBox::qfont() const {
    return toQFont(font_);
}

void PictureBox::Cls() {
    fitImage();
    image_.fill(oleToQColor(backColor_));
    if (!picture_.isNull()) {
        QPainter p(&image_);
        p.drawImage(0, 0, picture_);
    }
    curX_ = 0;
    curY_ = 0;
    update();
}

void PictureBox::PSet(VbPoint p, std::optional<int32_t> color) {
    fitImage();
    const QPointF at = resolve(p);
    {
        QPainter painter(&image_);
        painter.setRenderHints(hints());
        QPen pn = pen(color.value_or(foreColor_));
        pn.setStyle(Qt::SolidLine);
        painter.setPen(pn);
        painter.drawPoint(toPixel(static_cast<float>(at.x()), static_cast<float>(at.y())));
    }
    curX_ = static_cast<float>(at.x());
    curY_ = static_cast<float>(at.y());
    update();
}

void PictureBox::Line(std::optional<VbPoint> from, VbPoint to, std::optional<int32_t> color,
                      LineForm form) {
    fitImage();
    const QPointF a = from ? resolve(*from) : QPointF(curX_, curY_);
    const QPointF b = to.step ? a + QPointF(to.x, to.y) : QPointF(to.x, to.y);
    const QPointF pa = toPixel(static_cast<float>(a.x()), static_cast<float>(a.y()));
    const QPointF pb = toPixel(static_cast<float>(b.x()), static_cast<float>(b.y()));
    const int32_t c = color.value_or(foreColor_);
    {
        QPainter painter(&image_);
        painter.setRenderHints(hints());
        painter.setPen(pen(c));
        if (form == LineForm::Line) {
            painter.drawLine(pa, pb);
        } else {
            if (form == LineForm::BoxFill) {
                QPen pn = pen(c);
                pn.setStyle(Qt::SolidLine);
                painter.setPen(pn);
                painter.setBrush(oleToQColor(c));
            }
            painter.drawRect(QRectF(pa, pb).normalized());
        }
    }
    curX_ = static_cast<float>(b.x());
    curY_ = static_cast<float>(b.y());
    update();
}

void PictureBox::Circle(VbPoint centre, float radius, std::optional<int32_t> color,
                        std::optional<float> start, std::optional<float> end) {
    fitImage();
    const QPointF c = resolve(centre);
    const QPointF pc = toPixel(static_cast<float>(c.x()), static_cast<float>(c.y()));
    const double r = std::fabs(radius) / twipsPerPixelX();
    const QRectF box(pc.x() - r, pc.y() - r, 2 * r, 2 * r);
    const ArcSweep sweep =
        start && end ? arcSweep(*start, *end) : ArcSweep{};
    {
        QPainter painter(&image_);
        painter.setRenderHints(hints());
        painter.setPen(pen(color.value_or(foreColor_)));
        if (sweep.full) {
            if (fillStyle_ != 1)
                painter.setBrush(QBrush(oleToQColor(fillColor_), brushStyleOf(fillStyle_)));
            painter.drawEllipse(box);
        } else {
            QPainterPath path;
            path.arcMoveTo(box, sweep.startDeg);
            path.arcTo(box, sweep.startDeg, sweep.spanDeg);
            painter.drawPath(path);
        }
    }
    curX_ = static_cast<float>(c.x());
    curY_ = static_cast<float>(c.y());
    update();
}

void PictureBox::Print(const std::string& text) {
    fitImage();
    const QString s = QString::fromStdString(text);
    const QFont f = qfont();
    {
        QPainter painter(&image_);
        painter.setRenderHints(hints());
        painter.setFont(f);
        painter.setPen(oleToQColor(foreColor_));
        // The cell's top is the current y; the baseline is the em's ascent below it.
        const double em = emPixels(f);
        painter.drawText(QPointF(curX_ / twipsPerPixelX(), curY_ / twipsPerPixelY() + emAscent(f) * em),
                         s);
    }
    curY_ += TextHeight(text);
    curX_ = 0;
    update();
}

float PictureBox::TextWidth(const std::string& text) const {
    const QFontMetricsF m(qfont(), &image_);
    return static_cast<float>(m.horizontalAdvance(QString::fromStdString(text)) * twipsPerPixelX());
}

float PictureBox::TextHeight(const std::string& text) const {
    (void)text;
    return static_cast<float>(emPixels(qfont()) * twipsPerPixelY());
}

// The em as the painter sizes the font on the image: points at its resolution.
double PictureBox::emPixels(const QFont& f) const {
    return f.pointSizeF() * image_.logicalDpiY() / 72.0;
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), oleToQColor(backColor_));
    p.drawImage(0, 0, image_);
}

void PictureBox::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    fitImage();
    emit resized();
}

}  // namespace vbqt
