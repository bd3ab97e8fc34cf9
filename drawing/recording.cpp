#include "drawing/recording.h"

#include "platform/qt/print_control.h"
#include "platform/text/utf8.h"
#include "platform/text/vberror.h"

#include <sstream>

namespace drawing {

std::string DrawOp::str() const {
    std::ostringstream s;
    s << kind << '(';
    for (size_t i = 0; i < args.size(); ++i) s << (i ? ", " : "") << args[i];
    s << ") color=" << color << " width=" << width << " style=" << style << " fill=" << fillColor
      << '/' << fillStyle << (filled ? " filled" : "");
    if (!text.empty()) s << " text=\"" << text << "\" size=" << fontSize;
    if (fontScale != 1) s << " scale=" << fontScale;
    return s.str();
}

namespace {
[[noreturn]] void invalidValue() {
    throw vb::Error(380, "Invalid property value");
}
}  // namespace

// ---- picture ----

void RecordingPicture::check() const {
    if (failDraws) throw RecordingFailure();
}

void RecordingPicture::setFillStyle(int16_t v) {
    if (v < 0 || v > 7) invalidValue();
    fillStyle_ = v;
}

void RecordingPicture::setDrawWidth(int16_t v) {
    if (v < 1) invalidValue();
    width_ = v;
}

void RecordingPicture::setDrawStyle(int16_t v) {
    if (v < 0 || v > 6) invalidValue();
    style_ = v;
}

DrawOp RecordingPicture::op(const std::string& kind, int32_t color) const {
    DrawOp o;
    o.kind = kind;
    o.color = color;
    o.width = width_;
    o.style = style_;
    o.fillColor = fill_;
    o.fillStyle = fillStyle_;
    o.fontSize = font_.Size;
    return o;
}

void RecordingPicture::Cls() {
    check();
    ops.push_back(op("Cls", back_));
    x_ = 0;
    y_ = 0;
}

void RecordingPicture::PSet(vbqt::VbPoint p, std::optional<int32_t> color) {
    check();
    const float x = p.step ? x_ + p.x : p.x;
    const float y = p.step ? y_ + p.y : p.y;
    DrawOp o = op("PSet", color.value_or(fore_));
    o.args = {x, y};
    ops.push_back(o);
    x_ = x;
    y_ = y;
}

void RecordingPicture::Line(std::optional<vbqt::VbPoint> from, vbqt::VbPoint to,
                            std::optional<int32_t> color, vbqt::LineForm form) {
    check();
    float ax = x_, ay = y_;
    if (from) {
        ax = from->step ? x_ + from->x : from->x;
        ay = from->step ? y_ + from->y : from->y;
    }
    const float bx = to.step ? ax + to.x : to.x;
    const float by = to.step ? ay + to.y : to.y;
    const char* kind = form == vbqt::LineForm::Line  ? "Line"
                       : form == vbqt::LineForm::Box ? "Box"
                                                     : "BoxFill";
    DrawOp o = op(kind, color.value_or(fore_));
    o.args = {ax, ay, bx, by};
    o.filled = form == vbqt::LineForm::BoxFill;
    ops.push_back(o);
    x_ = bx;
    y_ = by;
}

void RecordingPicture::Circle(vbqt::VbPoint centre, float radius, std::optional<int32_t> color,
                              std::optional<float> start, std::optional<float> end) {
    check();
    const float cx = centre.step ? x_ + centre.x : centre.x;
    const float cy = centre.step ? y_ + centre.y : centre.y;
    const bool arc = start && end;
    DrawOp o = op(arc ? "Arc" : "Circle", color.value_or(fore_));
    o.args = {cx, cy, radius};
    if (arc) {
        o.args.push_back(*start);
        o.args.push_back(*end);
    }
    o.filled = !arc && fillStyle_ != 1;
    ops.push_back(o);
    x_ = cx;
    y_ = cy;
}

void RecordingPicture::Print(const std::string& text) {
    check();
    DrawOp o = op("Print", fore_);
    o.args = {x_, y_};
    o.text = text;
    ops.push_back(o);
    y_ += TextHeight(text);
    x_ = 0;
}

float RecordingPicture::TextWidth(const std::string& text) const {
    const double per = charWidth ? *charWidth : font_.Size * 10;
    return static_cast<float>(per * static_cast<double>(text::CharCount(text)));
}

float RecordingPicture::TextHeight(const std::string&) const {
    return static_cast<float>(textHeight ? *textHeight : font_.Size * 20);
}

// ---- page ----

void RecordingPage::check() const {
    if (failDraws) throw RecordingFailure();
}

void RecordingPage::setCurrentX(const std::string& value) {
    x_ = vbqt::parseTwips(value, unitsPerMm_);
}

void RecordingPage::setCurrentY(const std::string& value) {
    y_ = vbqt::parseTwips(value, unitsPerMm_);
}

DrawOp RecordingPage::op(const std::string& kind) const {
    DrawOp o;
    o.kind = kind;
    o.color = pen_;
    o.width = penWidth_;
    o.style = penStyle_;
    o.fillColor = brush_;
    o.fillStyle = brushStyle_;
    o.fontSize = font_.Size;
    return o;
}

void RecordingPage::DrawLine(double x1, double y1, double x2, double y2) {
    check();
    DrawOp o = op("Line");
    o.args = {x1, y1, x2, y2};
    ops.push_back(o);
}

void RecordingPage::DrawRectangle(double x1, double y1, double x2, double y2) {
    check();
    DrawOp o = op("Rectangle");
    o.args = {x1, y1, x2, y2};
    o.filled = brushStyle_ != 1;
    ops.push_back(o);
}

void RecordingPage::DrawCircle(double x, double y, double radius, std::optional<double> start,
                               std::optional<double> end) {
    check();
    const bool arc = start && end;
    DrawOp o = op(arc ? "Arc" : "Circle");
    o.args = {x, y, radius};
    if (arc) {
        o.args.push_back(*start);
        o.args.push_back(*end);
    }
    o.filled = !arc && brushStyle_ != 1;
    ops.push_back(o);
}

void RecordingPage::setText(const std::string& text) {
    check();
    DrawOp o = op("Text");
    o.color = text_;
    o.args = {x_, y_};
    o.text = text;
    o.fontName = font_.Name;
    o.fontScale = font_.Scale;
    ops.push_back(o);
    x_ += TextWidth(text);
}

double RecordingPage::TextWidth(const std::string& text) const {
    const double per = charWidth ? *charWidth : font_.Size * 10;
    return per * static_cast<double>(text::CharCount(text)) * font_.Scale;
}

double RecordingPage::TextHeight(const std::string&) const {
    return textHeight ? *textHeight : font_.Size * 20;
}

void RecordingPage::NewPage() {
    check();
    ops.push_back(op("NewPage"));
    ++pageCount;
}

void RecordingPage::DrawPicture(const QImage& picture, double x1, double y1, double x2, double y2) {
    check();
    DrawOp o = op("Picture");
    o.args = {x1, y1, x2, y2, static_cast<double>(picture.width()), static_cast<double>(picture.height())};
    ops.push_back(o);
}

void RecordingPage::StartDoc() {
    check();
    ops.push_back(op("StartDoc"));
    pageCount = 1;
}

void RecordingPage::EndDoc() {
    check();
    ops.push_back(op("EndDoc"));
}

}  // namespace drawing
