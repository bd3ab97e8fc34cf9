// Pieces shared by the base figures and the reinforced-concrete section:
// resolving the column and direction arguments, number texts, and small
// drawing helpers on top of the kit for the three ways a figure element is
// drawn (turned with the base, mirrored about the diagonal, or fixed).
#pragma once

#include "drawing/figure_frame.h"
#include "drawing/print_out.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace drawing {

// A figure asked for a column or a direction it cannot draw.
class FigureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// 999 becomes gCurCol in the caller's variable; the column must then be in
// gColumns and gKvBase.
void ResolveFigureColumn(int16_t& iCol, const char* figure);
// 999 becomes GetKvDirection(iCol) in the caller's variable.
void ResolveFigureDirection(int16_t& dir, int16_t& iCol);
// Quarter turns 0..3.
void CheckQuarterTurns(int16_t dir, const char* figure);

// Trim(Str(v)): no leading blank and no zero before the point (".5").
std::string StrText(double v);
// The shortest plain form ("0.5", "412.5", "550").
std::string PlainText(double v);

// The frame with its origin moved by (dx, dy) figure units.
FigureFrameTbl ShiftedFrame(const FigureFrameTbl& f, double dx, double dy);

// Prints with the top left corner at the surface point (x, y).
void PrintAt(clsPrintOut& po, double x, double y, const std::string& text);
// The same, condensed on paper to `width` when the text is wider.
void PrintFittedAt(clsPrintOut& po, double x, double y, const std::string& text, double width);

// Arc angles (radians, counter-clockwise as seen, y down).
double PointAngle(double cx, double cy, double px, double py);
// The arc of centre c from the point p1 to p2 (or p2 to p1) that passes the
// direction `through`; returns (start, end) with start < end < start + 2π.
std::pair<double, double> ArcBetween(double cx, double cy, double p1x, double p1y, double p2x,
                                     double p2y, double through);

// Elements mirrored about the diagonal with the swap flag s (0 or 1),
// through DrawLineScaled and DrawArcScaled on the given frame. Coordinates
// are figure units before swapping; arcs take start < end (the end may pass
// 2π) and are handed to the kit as the swapped arc's angles.
class SwappedDraw {
public:
    SwappedDraw(clsPrintOut& po, const FigureFrameTbl& f, int16_t s) : po_(po), f_(f), s_(s) {}
    void line(double x1, double y1, double x2, double y2);
    void arc(double cx, double cy, double r, double st, double ed);
    void circle(double cx, double cy, double r);
    // Two strokes 1.5 back from the tip and 0.5 to each side; (dx, dy) is the
    // unit direction the arrow points to.
    void arrow(double tx, double ty, int dx, int dy);

private:
    clsPrintOut& po_;
    FigureFrameTbl f_;
    int16_t s_;
};

// Elements mirrored (m: 0 negates y, 1 negates x, other none) and turned by
// the angle a, through DrawLineRotated, DrawArcRotated and FillRotatedRect.
class RotatedDraw {
public:
    RotatedDraw(clsPrintOut& po, const FigureFrameTbl& f, int16_t m, double a)
        : po_(po), f_(f), m_(m), a_(a) {}
    void line(double x1, double y1, double x2, double y2);
    // A line from the current point on to (x, y).
    void lineOn(double x, double y);
    // One full line and continued lines through the points in order.
    void poly(const std::vector<std::pair<double, double>>& pts);
    void arc(double cx, double cy, double r, double st, double ed);
    void circle(double cx, double cy, double r);
    void disc(double cx, double cy, double r, int32_t colour);
    void box(double x1, double y1, double x2, double y2, int32_t colour);
    double angle() const { return a_; }
    int16_t mirror() const { return m_; }

private:
    clsPrintOut& po_;
    FigureFrameTbl f_;
    int16_t m_;
    double a_;
};

// The X / Y arrows of the tube, H and RC figures, on the given frame, with
// the pen set to 1 (left so).
void DrawFigureAxisArrows(clsPrintOut& po, const FigureFrameTbl& f);

}  // namespace drawing
