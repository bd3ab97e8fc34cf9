#include "drawing/print_out.h"

#include "drawing/state_guard.h"
#include "platform/text/vberror.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace drawing {

namespace {

// The picture's box call moves its current point; rectangles must not.
void KeepCurrentPoint(StateGuard& g, PictureTarget& p) {
    const float cx = p.CurrentX();
    const float cy = p.CurrentY();
    g.onExit([&p, cx, cy] {
        p.setCurrentX(cx);
        p.setCurrentY(cy);
    });
}

// The picture keeps these as 16-bit values.
int16_t toInteger(int32_t v) {
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        throw vb::Overflow();
    return static_cast<int16_t>(v);
}

std::optional<int32_t> pictureColor(int32_t c) {
    if (c == -1) return std::nullopt;
    return c;
}

vbqt::VbPoint at(double x, double y, bool step = false) {
    return {static_cast<float>(x), static_cast<float>(y), step};
}

}  // namespace

PictureTarget& clsPrintOut::pic() const {
    if (!picture_) throw DrawingError("clsPrintOut: no picture box is bound");
    return *picture_;
}

PageTarget& clsPrintOut::vsp() const {
    if (!page_) throw DrawingError("clsPrintOut: no print control is bound");
    return *page_;
}

void clsPrintOut::setprpVsPrinter(PageTarget* v) {
    if (!v) {
        page_ = nullptr;
        tpmX_ = tpmY_ = 1.0;
        return;
    }
    double x = 0;
    double y = 0;
    {
        const double x0 = v->CurrentX();
        const double y0 = v->CurrentY();
        StateGuard g;
        g.onExit([v, x0, y0] {
            v->setCurrentX(x0);
            v->setCurrentY(y0);
        });
        v->setCurrentX(std::string("1mm"));
        v->setCurrentY(std::string("1mm"));
        x = v->CurrentX();
        y = v->CurrentY();
        g.restore();
    }
    // Every page coordinate is divided by these; a control that cannot say
    // how long a millimetre is stays unbound.
    if (!(x > 0) || !(y > 0) || !std::isfinite(x) || !std::isfinite(y))
        throw DrawingError("clsPrintOut: the print control reports no length for 1mm");
    page_ = v;
    tpmX_ = x;
    tpmY_ = y;
}

std::string clsPrintOut::FontName() const {
    return onPaper() ? vsp().Font().Name : pic().FontName();
}

void clsPrintOut::setFontName(const std::string& v) {
    if (onPaper()) {
        StdFont f = vsp().Font();
        f.Name = v;
        vsp().setFont(f);
    } else {
        pic().setFontName(v);
    }
}

double clsPrintOut::FontSize() const {
    return onPaper() ? vsp().Font().Size : pic().FontSize();
}

void clsPrintOut::setFontSize(double v) {
    if (onPaper()) {
        StdFont f = vsp().Font();
        f.Size = v;
        vsp().setFont(f);
    } else {
        pic().setFontSize(v);
    }
}

int32_t clsPrintOut::ForeColor() const {
    return onPaper() ? vsp().TextColor() : pic().ForeColor();
}

void clsPrintOut::setForeColor(int32_t v) {
    if (onPaper()) vsp().setTextColor(v);
    else pic().setForeColor(v);
}

double clsPrintOut::CurrentX() const {
    return onPaper() ? vsp().CurrentX() / tpmX_ : pic().CurrentX();
}

void clsPrintOut::setCurrentX(double v) {
    if (onPaper()) vsp().setCurrentX(TwipsX(v));
    else pic().setCurrentX(static_cast<float>(v));
    curX_ = v;
}

double clsPrintOut::CurrentY() const {
    return onPaper() ? vsp().CurrentY() / tpmY_ - kPaperYOffsetMm : pic().CurrentY();
}

void clsPrintOut::setCurrentY(double v) {
    if (onPaper()) vsp().setCurrentY(TwipsY(v));
    else pic().setCurrentY(static_cast<float>(v));
    curY_ = v;
}

int32_t clsPrintOut::DrawWidth() const {
    return onPaper() ? vsp().PenWidth() : pic().DrawWidth();
}

void clsPrintOut::setDrawWidth(int32_t v) {
    if (onPaper()) vsp().setPenWidth(v);
    else pic().setDrawWidth(toInteger(v));
}

int32_t clsPrintOut::BackColor() const {
    return onPaper() ? vsp().BackColor() : pic().BackColor();
}

void clsPrintOut::setBackColor(int32_t v) {
    if (onPaper()) vsp().setBackColor(v);
    else pic().setBackColor(v);
}

int32_t clsPrintOut::FillColor() const {
    return onPaper() ? vsp().BrushColor() : pic().FillColor();
}

void clsPrintOut::setFillColor(int32_t v) {
    if (onPaper()) vsp().setBrushColor(v);
    else pic().setFillColor(v);
}

int32_t clsPrintOut::FillStyle() const {
    return onPaper() ? vsp().BrushStyle() : pic().FillStyle();
}

void clsPrintOut::setFillStyle(int32_t v) {
    if (onPaper()) vsp().setBrushStyle(v);
    else pic().setFillStyle(toInteger(v));
}

StdFont clsPrintOut::Font() const {
    return onPaper() ? vsp().Font() : pic().Font();
}

void clsPrintOut::setFont(const StdFont& v) {
    if (onPaper()) vsp().setFont(v);
    else pic().setFontName(v.Name);
}

double clsPrintOut::ScaleWidth() const {
    return onPaper() ? 0.0 : pic().ScaleWidth();
}

double clsPrintOut::ScaleHeight() const {
    return onPaper() ? 0.0 : pic().ScaleHeight();
}

int32_t clsPrintOut::DrawStyle() const {
    return onPaper() ? 0 : pic().DrawStyle();
}

void clsPrintOut::setDrawStyle(int32_t v) {
    if (onPaper()) vsp().setPenStyle(v);
    else pic().setDrawStyle(toInteger(v));
}

int32_t clsPrintOut::PaperSize() const {
    return onPaper() ? vsp().PaperSize() : 0;
}

void clsPrintOut::setPaperSize(int32_t v) {
    if (onPaper()) vsp().setPaperSize(v);
}

int32_t clsPrintOut::Orientation() const {
    return onPaper() ? vsp().Orientation() : 0;
}

void clsPrintOut::setOrientation(int32_t v) {
    if (onPaper()) vsp().setOrientation(v);
}

void clsPrintOut::Cls() {
    if (!onPaper()) pic().Cls();
}

void clsPrintOut::NewPage() {
    if (onPaper()) vsp().NewPage();
}

namespace {

// Paper: a call with its own colour draws with that pen and sets the old one back.
void penFor(StateGuard& g, PageTarget& v, int32_t color) {
    if (color == -1) return;
    const int32_t old = v.PenColor();
    g.onExit([&v, old] { v.setPenColor(old); });
    v.setPenColor(color);
}

void brushStyleFor(StateGuard& g, PageTarget& v, int32_t style) {
    const int32_t old = v.BrushStyle();
    g.onExit([&v, old] { v.setBrushStyle(old); });
    v.setBrushStyle(style);
}

}  // namespace

void clsPrintOut::lineTo(double x1, double y1, double x2, double y2, bool fromCurrent,
                         int32_t color) {
    if (fromCurrent) {
        x1 = curX_;
        y1 = curY_;
    }
    PageTarget& v = vsp();
    if (clipped() && !clipSegment(x1, y1, x2, y2)) return;
    StateGuard g;
    penFor(g, v, color);
    v.DrawLine(TwipsX(x1), TwipsY(y1), TwipsX(x2), TwipsY(y2));
    g.restore();
}

void clsPrintOut::setPaperClip(double x1, double y1, double x2, double y2) {
    clip_ = true;
    clipL_ = std::min(x1, x2);
    clipR_ = std::max(x1, x2);
    clipT_ = std::min(y1, y2);
    clipB_ = std::max(y1, y2);
}

bool clsPrintOut::clipSegment(double& x1, double& y1, double& x2, double& y2) const {
    // Liang-Barsky: the part of the segment whose parameter lies inside all
    // four edges.
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double t0 = 0;
    double t1 = 1;
    const auto edge = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    if (!edge(-dx, x1 - clipL_) || !edge(dx, clipR_ - x1) || !edge(-dy, y1 - clipT_) ||
        !edge(dy, clipB_ - y1))
        return false;
    const double ax = x1 + t0 * dx, ay = y1 + t0 * dy;
    const double bx = x1 + t1 * dx, by = y1 + t1 * dy;
    x1 = ax;
    y1 = ay;
    x2 = bx;
    y2 = by;
    return true;
}

void clsPrintOut::Draw_Line(double vdblX1, double vdblY1, double vdblX2, double vdblY2,
                            int32_t vlngColor) {
    const bool fromCurrent = vdblX1 == kLineFromCurrent;
    if (onPaper()) {
        lineTo(vdblX1, vdblY1, vdblX2, vdblY2, fromCurrent, vlngColor);
    } else if (fromCurrent) {
        pic().Line(std::nullopt, at(vdblX2, vdblY2), pictureColor(vlngColor), vbqt::LineForm::Line);
    } else {
        pic().Line(at(vdblX1, vdblY1), at(vdblX2, vdblY2), pictureColor(vlngColor),
                   vbqt::LineForm::Line);
    }
    curX_ = vdblX2;
    curY_ = vdblY2;
}

void clsPrintOut::Draw_LineStepStep(double vdblX1, double vdblY1, double vdblX2, double vdblY2,
                                    int32_t vlngColor) {
    const bool fromCurrent = vdblX1 == kLineFromCurrent;
    const double ax = fromCurrent ? curX_ : curX_ + vdblX1;
    const double ay = fromCurrent ? curY_ : curY_ + vdblY1;
    const double bx = ax + vdblX2;
    const double by = ay + vdblY2;
    if (onPaper()) {
        lineTo(ax, ay, bx, by, false, vlngColor);
    } else if (fromCurrent) {
        pic().Line(std::nullopt, at(vdblX2, vdblY2, true), pictureColor(vlngColor),
                   vbqt::LineForm::Line);
    } else {
        pic().Line(at(vdblX1, vdblY1, true), at(vdblX2, vdblY2, true), pictureColor(vlngColor),
                   vbqt::LineForm::Line);
    }
    curX_ = bx;
    curY_ = by;
}

void clsPrintOut::Draw_PsetStep(double vdblX, double vdblY, int32_t vlngColor) {
    if (onPaper()) {
        Draw_LineStepStep(vdblX, vdblY, 0, 0, vlngColor);
        return;
    }
    pic().PSet(at(vdblX, vdblY, true), pictureColor(vlngColor));
    curX_ += vdblX;
    curY_ += vdblY;
}

void clsPrintOut::Draw_Rectangle(double vdblX1, double vdblY1, double vdblX2, double vdblY2,
                                 int32_t vlngColor) {
    if (onPaper()) {
        if (clipped() && (std::min(vdblX1, vdblX2) < clipL_ || std::max(vdblX1, vdblX2) > clipR_ ||
                          std::min(vdblY1, vdblY2) < clipT_ || std::max(vdblY1, vdblY2) > clipB_)) {
            // Its four sides, each cut to the clip.
            const double cx = curX_, cy = curY_;
            lineTo(vdblX1, vdblY1, vdblX2, vdblY1, false, vlngColor);
            lineTo(vdblX2, vdblY1, vdblX2, vdblY2, false, vlngColor);
            lineTo(vdblX2, vdblY2, vdblX1, vdblY2, false, vlngColor);
            lineTo(vdblX1, vdblY2, vdblX1, vdblY1, false, vlngColor);
            curX_ = cx;
            curY_ = cy;
            return;
        }
        PageTarget& v = vsp();
        StateGuard g;
        brushStyleFor(g, v, 1);
        penFor(g, v, vlngColor);
        v.DrawRectangle(TwipsX(vdblX1), TwipsY(vdblY1), TwipsX(vdblX2), TwipsY(vdblY2));
        g.restore();
        return;
    }
    PictureTarget& p = pic();
    StateGuard g;
    KeepCurrentPoint(g, p);
    p.Line(at(vdblX1, vdblY1), at(vdblX2, vdblY2), pictureColor(vlngColor), vbqt::LineForm::Box);
    g.restore();
}

void clsPrintOut::Draw_RectangleStep(double vdblX1, double vdblY1, double vdblX2, double vdblY2,
                                     int32_t vlngColor) {
    if (onPaper()) {
        Draw_Rectangle(vdblX1, vdblY1, vdblX1 + vdblX2, vdblY1 + vdblY2, vlngColor);
        return;
    }
    PictureTarget& p = pic();
    StateGuard g;
    KeepCurrentPoint(g, p);
    p.Line(at(vdblX1, vdblY1), at(vdblX2, vdblY2, true), pictureColor(vlngColor),
           vbqt::LineForm::Box);
    g.restore();
}

void clsPrintOut::Draw_RectangleBF(double vdblX1, double vdblY1, double vdblX2, double vdblY2,
                                   int32_t vlngColor) {
    if (onPaper()) {
        if (clipped()) {
            const double l = std::max(std::min(vdblX1, vdblX2), clipL_);
            const double r = std::min(std::max(vdblX1, vdblX2), clipR_);
            const double t = std::max(std::min(vdblY1, vdblY2), clipT_);
            const double b = std::min(std::max(vdblY1, vdblY2), clipB_);
            if (l > r || t > b) return;
            vdblX1 = l;
            vdblX2 = r;
            vdblY1 = t;
            vdblY2 = b;
        }
        PageTarget& v = vsp();
        StateGuard g;
        brushStyleFor(g, v, 0);
        if (vlngColor != -1) {
            const int32_t pen = v.PenColor();
            const int32_t brush = v.BrushColor();
            g.onExit([&v, pen, brush] {
                v.setBrushColor(brush);
                v.setPenColor(pen);
            });
            v.setPenColor(vlngColor);
            v.setBrushColor(vlngColor);
        }
        v.DrawRectangle(TwipsX(vdblX1), TwipsY(vdblY1), TwipsX(vdblX2), TwipsY(vdblY2));
        g.restore();
        return;
    }
    PictureTarget& p = pic();
    StateGuard g;
    KeepCurrentPoint(g, p);
    p.Line(at(vdblX1, vdblY1), at(vdblX2, vdblY2), pictureColor(vlngColor),
           vbqt::LineForm::BoxFill);
    g.restore();
}

void clsPrintOut::Draw_Circle(double vdblX, double vdblY, double vdblR, int32_t vlngColor,
                              double vdblSt, double vdblEd) {
    const bool full = vdblSt == kFullCircle;
    if (clipped() && (vdblX - vdblR < clipL_ || vdblX + vdblR > clipR_ || vdblY - vdblR < clipT_ ||
                      vdblY + vdblR > clipB_)) {
        // A circle that leaves the clip is drawn as short chords, each cut.
        constexpr double kPi = 3.14159265358979323846;
        const double a0 = full ? 0 : vdblSt;
        double a1 = full ? 2 * kPi : vdblEd;
        if (a1 < a0) a1 += 2 * kPi;
        const int n = std::max(8, static_cast<int>(std::ceil((a1 - a0) / (2 * kPi) * 72)));
        for (int i = 0; i < n; ++i) {
            const double s = a0 + (a1 - a0) * i / n;
            const double e = a0 + (a1 - a0) * (i + 1) / n;
            // Angles run counter-clockwise with y downwards on the surface.
            lineTo(vdblX + vdblR * std::cos(s), vdblY - vdblR * std::sin(s), vdblX + vdblR * std::cos(e),
                   vdblY - vdblR * std::sin(e), false, vlngColor);
        }
        curX_ = vdblX;
        curY_ = vdblY;
        return;
    }
    if (onPaper()) {
        PageTarget& v = vsp();
        StateGuard g;
        // Circles on paper are never filled.
        brushStyleFor(g, v, 1);
        penFor(g, v, vlngColor);
        if (full)
            v.DrawCircle(TwipsX(vdblX), TwipsY(vdblY), TwipsLength(vdblR), std::nullopt,
                         std::nullopt);
        else
            v.DrawCircle(TwipsX(vdblX), TwipsY(vdblY), TwipsLength(vdblR), vdblSt, vdblEd);
        g.restore();
    } else if (full) {
        pic().Circle(at(vdblX, vdblY), static_cast<float>(vdblR), pictureColor(vlngColor),
                     std::nullopt, std::nullopt);
    } else {
        pic().Circle(at(vdblX, vdblY), static_cast<float>(vdblR), pictureColor(vlngColor),
                     static_cast<float>(vdblSt), static_cast<float>(vdblEd));
    }
    curX_ = vdblX;
    curY_ = vdblY;
}

void clsPrintOut::Draw_Circle_Step(double vdblX, double vdblY, double vdblR, int32_t vlngColor,
                                   double vdblSt, double vdblEd) {
    Draw_Circle(curX_ + vdblX, curY_ + vdblY, vdblR, vlngColor, vdblSt, vdblEd);
}

void clsPrintOut::DPrint(const std::string& vstrValue) {
    if (onPaper()) {
        if (clipped()) {
            const double x = CurrentX(), y = CurrentY();
            if (x < clipL_ || x > clipR_ || y < clipT_ || y > clipB_) return;
        }
        vsp().setText(vstrValue);
    } else {
        pic().Print(vstrValue);
    }
}

double clsPrintOut::TextWidth(const std::string& vstrValue) const {
    return onPaper() ? vsp().TextWidth(vstrValue) / tpmX_ : pic().TextWidth(vstrValue);
}

double clsPrintOut::TextHeight(const std::string& vstrValue) const {
    return onPaper() ? vsp().TextHeight(vstrValue) / tpmY_ : pic().TextHeight(vstrValue);
}

void clsPrintOut::DPrintFitted(const std::string& vstrValue, double width) {
    if (!onPaper()) return DPrint(vstrValue);
    const double natural = TextWidth(vstrValue);
    if (!(natural > width) || !(width > 0)) return DPrint(vstrValue);
    PageTarget& v = vsp();
    const StdFont old = v.Font();
    StdFont f = old;
    f.Scale = old.Scale * width / natural;
    StateGuard g;
    g.onExit([&v, old] { v.setFont(old); });
    v.setFont(f);
    DPrint(vstrValue);
    g.restore();
}

void clsPrintOut::DPrintCC(const std::string& vstrValue) {
    double w = 0;
    double h = 0;
    if (onPaper()) {
        w = vsp().TextWidth(vstrValue) / tpmX_;
        h = vsp().TextHeight(vstrValue) / tpmY_;
    } else {
        w = pic().TextWidth(vstrValue);
        h = pic().TextHeight(vstrValue);
    }
    setCurrentX(CurrentX() - w / 2);
    setCurrentY(CurrentY() - h / 2);
    DPrint(vstrValue);
}

void clsPrintOut::DPrintRU(const std::string& vstrValue) {
    const double w = onPaper() ? vsp().TextWidth(vstrValue) / tpmX_ : pic().TextWidth(vstrValue);
    setCurrentX(CurrentX() - w);
    DPrint(vstrValue);
}

}  // namespace drawing
