#include "drawing/kv_figure_common.h"

#include "drawing/kit.h"
#include "model/direction.h"
#include "model/globals.h"
#include "platform/text/vb.h"

#include <cmath>

namespace drawing {

namespace {

double mod2Pi(double x) {
    double r = std::fmod(x, kTwoPi);
    if (r < 0) r += kTwoPi;
    return r;
}

// The kit's pair for an arc from st to ed (st < ed): a start in 0..2π and an
// end that is smaller than the start when the arc crosses angle 0.
std::pair<float, float> kitPair(double st, double ed) {
    const double sweep = ed - st;
    double s = mod2Pi(st);
    if (kTwoPi - s < 1e-9) s = 0;
    double e = s + sweep;
    if (e > kTwoPi + 1e-6) e -= kTwoPi;
    return {static_cast<float>(s), static_cast<float>(e)};
}

}  // namespace

void ResolveFigureColumn(int16_t& iCol, const char* figure) {
    if (iCol == 999) iCol = model::gCurCol;
    const long n = std::min(model::gColumns.ubound(), model::gKvBase.ubound());
    if (iCol < 1 || iCol > n)
        throw FigureError(std::string(figure) + ": column " + std::to_string(iCol) +
                          " is not in the project (1.." + std::to_string(n) + ")");
}

void ResolveFigureDirection(int16_t& dir, int16_t& iCol) {
    if (dir == 999) dir = model::GetKvDirection(iCol);
}

void CheckQuarterTurns(int16_t dir, const char* figure) {
    if (dir < 0 || dir > 3)
        throw FigureError(std::string(figure) + ": direction " + std::to_string(dir) +
                          " is not a quarter turn 0..3");
}

std::string StrText(double v) {
    return vb::Trim(vb::Str(v));
}

std::string PlainText(double v) {
    return vb::CStr(v);
}

FigureFrameTbl ShiftedFrame(const FigureFrameTbl& f, double dx, double dy) {
    FigureFrameTbl g = f;
    g.X0 = f.X0 + dx * f.ScaleX;
    g.Y0 = f.Y0 + dy * f.ScaleY;
    return g;
}

void PrintAt(clsPrintOut& po, double x, double y, const std::string& text) {
    po.setCurrentX(x);
    po.setCurrentY(y);
    po.DPrint(text);
}

void PrintFittedAt(clsPrintOut& po, double x, double y, const std::string& text, double width) {
    po.setCurrentX(x);
    po.setCurrentY(y);
    po.DPrintFitted(text, width);
}

double PointAngle(double cx, double cy, double px, double py) {
    return mod2Pi(std::atan2(-(py - cy), px - cx));
}

std::pair<double, double> ArcBetween(double cx, double cy, double p1x, double p1y, double p2x,
                                     double p2y, double through) {
    const double t1 = PointAngle(cx, cy, p1x, p1y);
    const double t2 = PointAngle(cx, cy, p2x, p2y);
    const double sweep12 = mod2Pi(t2 - t1);
    if (mod2Pi(through - t1) < sweep12) return {t1, t1 + sweep12};
    return {t2, t2 + mod2Pi(t1 - t2)};
}

// ---- swapped ----

void SwappedDraw::line(double x1, double y1, double x2, double y2) {
    DrawLineScaled(po_, 1, f_, s_, static_cast<float>(x1), static_cast<float>(y1),
                   static_cast<float>(x2), static_cast<float>(y2));
}

void SwappedDraw::arc(double cx, double cy, double r, double st, double ed) {
    auto [s1, e1] = kitPair(st, ed);
    // Mirrored about the diagonal, θ becomes 3π/2 − θ and the arc runs the
    // other way round.
    auto [s2, e2] = kitPair(3 * kPi / 2 - ed, 3 * kPi / 2 - st);
    po_.setCurrentX(f_.X0);
    po_.setCurrentY(f_.Y0);
    DrawArcScaled(po_, f_, s_, static_cast<float>(cx), static_cast<float>(cy),
                  static_cast<float>(r), s1, e1, s2, e2);
}

void SwappedDraw::circle(double cx, double cy, double r) {
    float st2 = kFullArc, ed2 = kFullArc;
    po_.setCurrentX(f_.X0);
    po_.setCurrentY(f_.Y0);
    DrawArcScaled(po_, f_, s_, static_cast<float>(cx), static_cast<float>(cy),
                  static_cast<float>(r), kFullArc, 0, st2, ed2);
}

void SwappedDraw::arrow(double tx, double ty, int dx, int dy) {
    // Back along the line by 1.5, to each side by 0.5.
    const double bx = tx - 1.5 * dx, by = ty - 1.5 * dy;
    const double sx = 0.5 * dy, sy = 0.5 * dx;
    line(tx, ty, bx + sx, by + sy);
    line(tx, ty, bx - sx, by - sy);
}

// ---- rotated ----

void RotatedDraw::line(double x1, double y1, double x2, double y2) {
    DrawLineRotated(po_, f_, m_, a_, static_cast<float>(x1), static_cast<float>(y1),
                    static_cast<float>(x2), static_cast<float>(y2));
}

void RotatedDraw::lineOn(double x, double y) {
    DrawLineRotated(po_, f_, m_, a_, static_cast<float>(x), static_cast<float>(y),
                    kContinueLine, 0);
}

void RotatedDraw::poly(const std::vector<std::pair<double, double>>& pts) {
    if (pts.size() < 2) return;
    line(pts[0].first, pts[0].second, pts[1].first, pts[1].second);
    for (size_t i = 2; i < pts.size(); ++i) lineOn(pts[i].first, pts[i].second);
}

void RotatedDraw::arc(double cx, double cy, double r, double st, double ed) {
    DrawArcRotated(po_, f_, m_, a_, static_cast<float>(cx), static_cast<float>(cy),
                   static_cast<float>(r), static_cast<float>(st), static_cast<float>(ed), 0, 0);
}

void RotatedDraw::circle(double cx, double cy, double r) {
    DrawArcRotated(po_, f_, m_, a_, static_cast<float>(cx), static_cast<float>(cy),
                   static_cast<float>(r), kFullArc, 0, 0, 0);
}

void RotatedDraw::disc(double cx, double cy, double r, int32_t colour) {
    DrawArcRotated(po_, f_, m_, a_, static_cast<float>(cx), static_cast<float>(cy),
                   static_cast<float>(r), kFullArc, 0, 1, colour);
}

void RotatedDraw::box(double x1, double y1, double x2, double y2, int32_t colour) {
    FillRotatedRect(po_, f_, m_, a_, x1, y1, x2, y2, colour);
}

void DrawFigureAxisArrows(clsPrintOut& po, const FigureFrameTbl& f) {
    po.setDrawWidth(1);
    SwappedDraw fixed(po, f, 0);
    fixed.line(-13, 21, -5, 21);
    fixed.line(-5, 21, -6.5, 20.5);
    fixed.line(-6.5, 21.5, -5, 21);
    PrintAt(po, f.X0 - 4.5 * f.ScaleX, f.Y0 + 20 * f.ScaleY, "X");
    fixed.line(-13, 21, -13, 13);
    fixed.line(-13, 13, -13.5, 14.5);
    fixed.line(-12.5, 14.5, -13, 13);
    PrintAt(po, f.X0 - 13.5 * f.ScaleX, f.Y0 + 10.5 * f.ScaleY, "Y");
}

}  // namespace drawing
