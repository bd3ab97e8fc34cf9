#include "drawing/kv_figure_src.h"

#include "drawing/kit.h"
#include "drawing/kv_figure_common.h"
#include "drawing/state_guard.h"
#include "model/globals.h"
#include "platform/qt/ole_color.h"

#include <array>
#include <string>
#include <vector>

namespace drawing {

namespace {

using Points = std::vector<std::pair<double, double>>;

constexpr int32_t kSteel = vbqt::RGB(251, 143, 168);
constexpr int32_t kWhite = vbqt::RGB(255, 255, 255);
constexpr double kHalfPi = kPi / 2;
constexpr double k3HalfPi = 3 * kPi / 2;

enum class Kind { Cross, T, L, H };

struct KindConstants {
    const char* name;
    double W, H;         // column outline of Mode 0
    double a, b, r;      // plate half sizes and corner radius
    double bx1, bx2, by; // bolts at (bx1, +-by) and (bx2, +-by)
    double boltR;
    double v, h;         // steel centre lines
    double o1, o2;       // dimension offsets
    bool turnAnchors;    // dimension anchors follow the turned bolts
};

KindConstants constantsOf(Kind k) {
    switch (k) {
    case Kind::Cross: return {"DrawKvFigureSrcX", 20, 20, 7, 7, 1.5, -5.5, 5.5, 5.5, 0.7, 9, 9, 7, 10, false};
    case Kind::T: return {"DrawKvFigureSrcT", 20, 20, 7, 7, 1.5, -5.5, 5.5, 5.5, 0.8, 9, 9, 7, 10, false};
    case Kind::L: return {"DrawKvFigureSrcL", 22, 22, 7, 8, 1.5, -4, 5.5, 6.5, 0.8, 10, 8, 7, 10, true};
    case Kind::H: default: return {"DrawKvFigureSrcH", 24, 17, 9, 4.5, 0.8, -4.5, 4.5, 2.5, 0.8, 6.5, 11, 8, 11, true};
    }
}

// Steel section, inner contour, bolt holes and plate outline of each kind,
// drawn in the order of the figure: steel (filled first when `fill`), pen 1
// centre lines, then the figure pen.
struct Geometry {
    clsPrintOut& po;
    const FigureFrameTbl& f;
    RotatedDraw& rd;  // turned by dir, mirrored for kind 6
    const KindConstants& c;
    bool fill;
    int32_t pen;

    void centreLines() {
        po.setDrawWidth(1);
        rd.line(0, -c.v, 0, c.v);
        rd.line(-c.h, 0, c.h, 0);
        po.setDrawWidth(pen);
    }
    void steel(const std::vector<std::array<double, 4>>& boxes, const Points& outline) {
        if (fill)
            for (const auto& b : boxes) rd.box(b[0], b[1], b[2], b[3], kSteel);
        rd.poly(outline);
    }
    void bolts(const std::vector<std::pair<double, double>>& at) {
        for (const auto& [x, y] : at) rd.circle(x, y, c.boltR);
    }
    void plateEdges(double ex, double ey) {
        // Corners ex / ey in from the ends of each side.
        rd.line(-c.a, -ey, -c.a, ey);
        rd.line(-ex, c.b, ex, c.b);
        rd.line(c.a, ey, c.a, -ey);
        rd.line(ex, -c.b, -ex, -c.b);
    }

    void cross() {
        for (int k = 0; k < 4; ++k) {
            RotatedDraw arm(po, f, -1, k * kHalfPi);
            if (fill) {
                arm.box(0, -0.25, -5, 0.25, kSteel);
                arm.box(-6, 2.5, -5, -2.5, kSteel);
            }
            arm.poly({{-0.25, 0.25}, {-5, 0.25}, {-5, 2.5}, {-6, 2.5}, {-6, -2.5}, {-5, -2.5},
                      {-5, -0.25}, {-0.25, -0.25}});
        }
        centreLines();
        for (int k = 0; k < 4; ++k) {
            RotatedDraw q(po, f, -1, k * kHalfPi);
            q.poly({{-5.5, -4}, {-6.2, -4}, {-6.2, 4}, {-5.5, 4}});
            q.arc(-5.5, 5.5, 1.5, 0, kHalfPi);
        }
        for (int k = 0; k < 4; ++k) {
            RotatedDraw q(po, f, -1, k * kHalfPi);
            q.poly({{-4.4, -2.925}, {-4.4, -1.5}, {-1.5, -1.5}, {-1.5, -4.4}, {-2.925, -4.4}});
            q.arc(-5.5, -5.5, 2.8, 5.1177, 5.8779);
            q.line(-6.2, -3.5, -7, -3.5);
            q.line(-6.2, 3.5, -7, 3.5);
        }
        bolts({{-5.5, -5.5}, {-5.5, 5.5}, {5.5, 5.5}, {5.5, -5.5}});
        rd.arc(-5.5, -5.5, 1.5, kHalfPi, kPi);
        rd.arc(-5.5, 5.5, 1.5, kPi, k3HalfPi);
        rd.arc(5.5, 5.5, 1.5, k3HalfPi, kTwoPi);
        rd.arc(5.5, -5.5, 1.5, 0, kHalfPi);
        plateEdges(5.5, 5.5);
    }

    void tee() {
        steel({{-3.75, 6.5, -2.75, 1.5},
               {3.75, 6.5, 2.75, 1.5},
               {-2.5, -5.75, 2.5, -6.75},
               {-2.75, 4.25, 2.75, 3.75},
               {-0.25, 4.25, 0.25, -5.75}},
              {{-3.75, 6.5}, {-3.75, 1.5}, {-2.75, 1.5}, {-2.75, 3.75}, {-0.25, 3.75},
               {-0.25, -5.75}, {-2.5, -5.75}, {-2.5, -6.75}, {2.5, -6.75}, {2.5, -5.75},
               {0.25, -5.75}, {0.25, 3.75}, {2.75, 3.75}, {2.75, 1.5}, {3.75, 1.5}, {3.75, 6.5},
               {2.75, 6.5}, {2.75, 4.25}, {-2.75, 4.25}, {-2.75, 6.5}, {-3.75, 6.5}});
        centreLines();
        rd.line(-4, -7, -4, 7);
        rd.line(4, -7, 4, 7);
        bolts({{-5.5, -5.5}, {-5.5, 5.5}, {5.5, 5.5}, {5.5, -5.5}});
        rd.arc(-5.5, -5.5, 1.5, kHalfPi, 3.6757);
        rd.arc(-5.5, 5.5, 1.5, 2.6107, k3HalfPi);
        rd.arc(5.5, 5.5, 1.5, k3HalfPi, 6.8173);
        rd.arc(5.5, -5.5, 1.5, 5.7523, 7.8540);
        plateEdges(5.5, 5.5);
        // Side waists.
        rd.arc(-5.741, 0, 1.5, 5.7523, 6.8173);
        rd.arc(5.741, 0, 1.5, 2.6107, 3.6757);
        rd.line(-6.792, -4.738, -4.449, -0.762);
        rd.line(-6.792, 4.738, -4.449, 0.762);
        rd.line(6.792, -4.738, 4.449, -0.762);
        rd.line(6.792, 4.738, 4.449, 0.762);
    }

    void ell() {
        steel({{-6.75, 6.5, -5.75, 1.5},
               {3.75, 6.5, 2.75, 1.5},
               {-6.75, -4.5, -1.75, -3.5},
               {-5.75, 3.75, 2.75, 4.25},
               {-4.5, -3.5, -4, 3.75}},
              {{-6.75, 6.5}, {-6.75, 1.5}, {-5.75, 1.5}, {-5.75, 3.75}, {-4.5, 3.75},
               {-4.5, -3.5}, {-6.75, -3.5}, {-6.75, -4.5}, {-1.75, -4.5}, {-1.75, -3.5},
               {-4, -3.5}, {-4, 3.75}, {2.75, 3.75}, {2.75, 1.5}, {3.75, 1.5}, {3.75, 6.5},
               {2.75, 6.5}, {2.75, 4.25}, {-5.75, 4.25}, {-5.75, 6.5}, {-6.75, 6.5}});
        centreLines();
        rd.line(-7, -5, -1.462, -5);
        rd.arc(-1.462, -7, 2, k3HalfPi, 5.1648);
        rd.line(-0.585, -5.202, 4.843, -7.848);
        rd.arc(5.5, -6.5, 1.5, 5.8308, 8.3064);
        rd.line(6.848, -5.843, 4.202, -0.415);
        rd.arc(6, 0.462, 2, 2.6892, kPi);
        rd.line(4, 0.462, 4, 8);
        rd.line(2.5, 8, 2.5, 6);
        rd.arc(1.5, 6, 1, 0, kHalfPi);
        rd.line(1.5, 5, -4.5, 5);
        rd.arc(-4.5, 6, 1, kHalfPi, kPi);
        rd.line(-5.5, 8, -5.5, 6);
        bolts({{-4, -6.5}, {-4, 6.5}, {5.5, 6.5}, {5.5, -6.5}});
        rd.arc(-5.5, -6.5, 1.5, kHalfPi, kPi);
        rd.arc(-5.5, 6.5, 1.5, kPi, k3HalfPi);
        rd.arc(5.5, 6.5, 1.5, k3HalfPi, 6.7356);
        plateEdges(5.5, 6.5);
        // Further contour.
        rd.line(-7, -5, -5.2, -7.4);
        rd.arc(-4, -6.5, 1.5, 0.6440, 2.4976);
        rd.line(-2.8, -7.4, -1.991, -6.322);
        rd.arc(-0.391, -7.522, 2, 3.7856, 5.2370);
        rd.arc(6.225, 0, 2, 2.6892, 3.5940);
        rd.line(4.427, 0.876, 6.848, 5.843);
        rd.line(2, -6.462, 5.462, -3);
    }

    void ach() {
        steel({{-8, -3, -7, 3}, {8, -3, 7, 3}, {7, 0.25, -7, -0.25}},
              {{-8, 3}, {-8, -3}, {-7, -3}, {-7, -0.25}, {7, -0.25}, {7, -3}, {8, -3}, {8, 3},
               {7, 3}, {7, 0.25}, {-7, 0.25}, {-7, 3}, {-8, 3}});
        centreLines();
        rd.line(-8.2, -4.5, -8.2, 4.5);
        rd.line(-8.2, 3.8, -6.7, 3.8);
        rd.line(-6.7, 4.5, -6.7, 1.3);
        rd.arc(-5.9, 1.3, 0.8, kHalfPi, kPi);
        rd.line(-5.9, 0.5, 5.9, 0.5);
        rd.arc(5.9, 1.3, 0.8, 0, kHalfPi);
        rd.line(6.7, 1.3, 6.7, 4.5);
        rd.line(6.7, 3.8, 8.2, 3.8);
        rd.line(8.2, 4.5, 8.2, -4.5);
        rd.line(8.2, -3.8, 6.7, -3.8);
        rd.line(6.7, -4.5, 6.7, -1.3);
        rd.arc(5.9, -1.3, 0.8, k3HalfPi, kTwoPi);
        rd.line(5.9, -0.5, -5.9, -0.5);
        rd.arc(-5.9, -1.3, 0.8, kPi, k3HalfPi);
        rd.line(-6.7, -1.3, -6.7, -4.5);
        rd.line(-6.7, -3.8, -8.2, -3.8);
        bolts({{-4.5, -2.5}, {4.5, -2.5}, {-4.5, 2.5}, {4.5, 2.5}});
        rd.arc(-8.2, -3.7, 0.8, kHalfPi, kPi);
        rd.arc(-8.2, 3.7, 0.8, kPi, k3HalfPi);
        rd.arc(8.2, 3.7, 0.8, k3HalfPi, kTwoPi);
        rd.arc(8.2, -3.7, 0.8, 0, kHalfPi);
        rd.line(-9, -3.7, -9, 3.7);
        rd.line(-8.2, 4.5, 8.2, 4.5);
        rd.line(9, -3.7, 9, 3.7);
        rd.line(-8.2, -4.5, 8.2, -4.5);
        // Edge notches.
        rd.arc(-4.7, 2.5, 2, k3HalfPi, 5.5166);
        rd.arc(0, 1.942, 1, 0.7665, 2.3750);
        rd.arc(4.7, 2.5, 2, 3.9081, k3HalfPi);
        rd.arc(4.7, -2.5, 2, kHalfPi, 2.3750);
        rd.arc(0, -1.942, 1, 3.9081, 5.5166);
        rd.arc(-4.7, -2.5, 2, 0.7665, kHalfPi);
        rd.line(-3.259, 3.887, -0.721, 1.249);
        rd.line(3.259, 3.887, 0.721, 1.249);
        rd.line(3.259, -3.887, 0.721, -1.249);
        rd.line(-3.259, -3.887, -0.721, -1.249);
    }
};

struct Anchors {
    PositionTbl lowerLeft, lowerRight, upperRight;
};

// Of the points turned by the angle, the one in each of three quadrants.
Anchors pickAnchors(const std::array<PositionTbl, 4>& pts, double angle, bool turn) {
    Anchors out{};
    for (PositionTbl p : pts) {
        if (turn) p = RotatePoint(p, angle);
        if (p.xx < 0 && p.YY > 0) out.lowerLeft = p;
        if (p.xx > 0 && p.YY > 0) out.lowerRight = p;
        if (p.xx > 0 && p.YY < 0) out.upperRight = p;
    }
    return out;
}

void drawSrc(clsPrintOut& po, const FigureFrameTbl& frame, Kind kind, int16_t lKind,
             int16_t& iCol, int16_t& dir, int16_t nBarX, int16_t nBarY) {
    const KindConstants c = constantsOf(kind);
    if (iCol == 999) iCol = model::gCurCol;
    // The arrays are read for the labels and for the column's own direction.
    if (frame.Mode == 1 || dir == 999) ResolveFigureColumn(iCol, c.name);
    ResolveFigureDirection(dir, iCol);
    CheckQuarterTurns(dir, c.name);
    if (kind == Kind::L && lKind != 5 && lKind != 6)
        throw FigureError(std::string(c.name) + ": kind " + std::to_string(lKind) +
                          " is neither 5 nor 6");

    if (po.prpMode() == 2) {
        po.setBackColor(vbqt::RGB(196, 222, 196));
        po.Cls();
    }
    const FigureFrameTbl f = ShiftedFrame(frame, 2, 0);
    const double angle = dir * kHalfPi;
    const int16_t mirror = kind == Kind::L && lKind == 6 ? 1 : -1;
    const double s = kind == Kind::L && lKind == 6 ? -1 : 1;

    const Anchors bolt = pickAnchors({PositionTbl{c.bx1 * s, c.by}, PositionTbl{c.bx1 * s, -c.by},
                                      PositionTbl{c.bx2 * s, c.by}, PositionTbl{c.bx2 * s, -c.by}},
                                     angle, c.turnAnchors);
    const Anchors plate = pickAnchors({PositionTbl{-c.a * s, c.b}, PositionTbl{-c.a * s, -c.b},
                                       PositionTbl{c.a * s, c.b}, PositionTbl{c.a * s, -c.b}},
                                      angle, c.turnAnchors);

    StateGuard g;
    const double fontSize = po.FontSize();
    g.onExit([&po, fontSize] { po.setFontSize(fontSize); });
    po.setForeColor(vbqt::RGB(0, 0, 0));
    const bool paper = po.prpMode() == 1;
    const int32_t pen = paper ? 3 : 2;
    RotatedDraw rd(po, f, mirror, angle);
    if (!paper) {
        po.setFontSize(11);
        po.setDrawWidth(pen);
        if (frame.Mode == 0) {
            DrawTubeSectionSymbol(po, f, -1, angle, static_cast<float>(c.W),
                                  static_cast<float>(c.H), nBarX, nBarY);
            po.setDrawWidth(1);
            rd.line(0, -(c.H / 2 + 1), 0, c.H / 2 + 1);
            rd.line(-(c.W / 2 + 1), 0, c.W / 2 + 1, 0);
            po.setDrawWidth(pen);
        }
        po.setDrawWidth(1);
        const double px = c.a - c.r;
        const double py = c.b - c.r;
        for (const auto& [x, y] : {std::pair{-px, -py}, {-px, py}, {px, py}, {px, -py}})
            rd.disc(x, y, c.r, kWhite);
        rd.box(-px, -c.b, px, c.b, kWhite);
        rd.box(-c.a, -py, c.a, py, kWhite);
        po.setDrawWidth(pen);
    } else {
        po.setFontSize(6);
        po.setDrawWidth(pen);
    }

    Geometry geo{po, f, rd, c, po.prpMode() == 2, pen};
    switch (kind) {
    case Kind::Cross: geo.cross(); break;
    case Kind::T: geo.tee(); break;
    case Kind::L: geo.ell(); break;
    case Kind::H: geo.ach(); break;
    }

    if (frame.Mode == 1) {
        const model::KvBaseTbl& kvb = model::gKvBase(iCol);
        const long d = dir & 1;
        const auto label = [&](long k) { return PlainText(kvb.KvLen(d, k)); };
        DrawDimensionLine(po, f, 0, label(3), 0, bolt.lowerLeft.xx, bolt.lowerLeft.YY,
                          bolt.lowerRight.xx, bolt.lowerRight.YY, c.o1);
        DrawDimensionLine(po, f, 0, label(1), 0, plate.lowerLeft.xx, bolt.lowerLeft.YY,
                          plate.lowerRight.xx, bolt.lowerRight.YY, c.o2);
        DrawDimensionLine(po, f, 1, label(4), -1, bolt.upperRight.xx, bolt.upperRight.YY,
                          bolt.lowerRight.xx, bolt.lowerRight.YY, c.o1);
        DrawDimensionLine(po, f, 1, label(2), 1, bolt.upperRight.xx, plate.upperRight.YY,
                          bolt.lowerRight.xx, plate.lowerRight.YY, c.o2);
    } else if (frame.Mode == 0) {
        double W = c.W;
        double H = c.H;
        if (dir % 2 == 1) SwapDouble(W, H);
        DrawDimensionLine(po, f, 0, "", 0, -(W / 2 - 1.9), 0, W / 2 - 1.9, 0, H / 2 + 4);
        DrawDimensionLine(po, f, 0, "", 0, -W / 2, H / 2, W / 2, H / 2, 7);
        DrawDimensionLine(po, f, 1, "", 0, 0, -(H / 2 - 1.9), 0, H / 2 - 1.9, W / 2 + 4);
        DrawDimensionLine(po, f, 1, "", 0, W / 2, -H / 2, W / 2, H / 2, 7);
        po.setDrawWidth(pen);
    }

    DrawAxisSymbol(po, f);
    g.restore();
}

}  // namespace

void DrawKvFigureSrcX(clsPrintOut& po, const FigureFrameTbl& frame, int16_t& iCol, int16_t& dir,
                      int16_t nBarX, int16_t nBarY) {
    drawSrc(po, frame, Kind::Cross, 0, iCol, dir, nBarX, nBarY);
}

void DrawKvFigureSrcT(clsPrintOut& po, const FigureFrameTbl& frame, int16_t& iCol, int16_t& dir,
                      int16_t nBarX, int16_t nBarY) {
    drawSrc(po, frame, Kind::T, 0, iCol, dir, nBarX, nBarY);
}

void DrawKvFigureSrcH(clsPrintOut& po, const FigureFrameTbl& frame, int16_t& iCol, int16_t& dir,
                      int16_t nBarX, int16_t nBarY) {
    drawSrc(po, frame, Kind::H, 0, iCol, dir, nBarX, nBarY);
}

void DrawKvFigureSrcL(clsPrintOut& po, const FigureFrameTbl& frame, int16_t kind, int16_t& iCol,
                      int16_t& dir, int16_t nBarX, int16_t nBarY) {
    drawSrc(po, frame, Kind::L, kind, iCol, dir, nBarX, nBarY);
}

}  // namespace drawing
