#include "drawing/kv_figure_tube.h"

#include "drawing/globals.h"
#include "drawing/kit.h"
#include "drawing/kv_figure_common.h"
#include "drawing/state_guard.h"
#include "model/format.h"
#include "model/globals.h"
#include "platform/qt/ole_color.h"

#include <cmath>

namespace drawing {

namespace {

constexpr const char* kName = "DrawKvFigureTube";

struct Contour {
    double h;  // half size
    double r;  // corner radius
};

// A rounded square centred on (c, c): edges left, bottom, right, top, then
// the corner arcs; `hollow` turns the (-, -) corner inward.
void roundedSquare(RotatedDraw& rd, double c, Contour k, bool hollow) {
    const double h = k.h;
    const double q = k.h - k.r;
    rd.line(c - h, c - q, c - h, c + q);
    rd.line(c - q, c + h, c + q, c + h);
    rd.line(c + h, c + q, c + h, c - q);
    rd.line(c + q, c - h, c - q, c - h);
    if (hollow) rd.arc(c - h, c - h, 1.5, 3 * kPi / 2, kTwoPi);
    else rd.arc(c - q, c - q, k.r, kPi / 2, kPi);
    rd.arc(c - q, c + q, k.r, kPi, 3 * kPi / 2);
    rd.arc(c + q, c + q, k.r, 3 * kPi / 2, kTwoPi);
    rd.arc(c + q, c - q, k.r, 0, kPi / 2);
}

// Marks of series 5 around a box column, mirrored into every corner and side.
void series5Marks(SwappedDraw& sw) {
    const double k = 4 + 0.5 / std::sqrt(2.0);
    for (int sx : {1, -1})
        for (int sy : {1, -1}) {
            sw.line(4.5 * sx, 4 * sy, 4.8 * sx, 4.8 * sy);
            sw.line(4 * sx, 4.5 * sy, 4.8 * sx, 4.8 * sy);
            sw.line(4.8 * sx, 4.8 * sy, k * sx, k * sy);
        }
    // Right and left sides, then bottom and top with x and y exchanged.
    for (bool across : {false, true})
        for (int side : {1, -1})
            for (int m : {1, -1}) {
                const auto seg = [&](double x1, double y1, double x2, double y2) {
                    x1 *= side;
                    x2 *= side;
                    y1 *= m;
                    y2 *= m;
                    if (across) sw.line(y1, x1, y2, x2);
                    else sw.line(x1, y1, x2, y2);
                };
                seg(4.5, 2.75, 5, 2.25);
                seg(4.5, 2.25, 5, 2.25);
                seg(5, 2.25, 4.5, 0);
            }
}

// A dimension along x at height y, from x1 over len, its extension lines
// starting at height ext.
void horizontalDimension(clsPrintOut& po, const FigureFrameTbl& f, int16_t a, double y, double x1,
                         double len, double ext) {
    SwappedDraw d(po, f, a);
    const double x2 = x1 + len;
    d.line(x1, ext, x1, y + 0.5);
    d.arrow(x1, y, -1, 0);
    d.line(x1, y, x2, y);
    d.arrow(x2, y, 1, 0);
    d.line(x2, y + 0.5, x2, ext);
}

void verticalDimension(clsPrintOut& po, const FigureFrameTbl& f, int16_t a, double x, double y1,
                       double len, double ext) {
    SwappedDraw d(po, f, a);
    const double y2 = y1 + len;
    d.line(ext, y1, x + 0.5, y1);
    d.arrow(x, y1, 0, -1);
    d.line(x, y1, x, y2);
    d.arrow(x, y2, 0, 1);
    d.line(x + 0.5, y2, ext, y2);
}

}  // namespace

TubeLayout CalcTubeLayout(const model::ColumnDataTbl& col, const model::KvBaseTbl& kvb,
                          int16_t dir) {
    TubeLayout L;
    L.dir = dir;
    L.a = static_cast<int16_t>(dir % 2);
    L.a1 = static_cast<int16_t>(1 - L.a);
    L.boxAsym = col.ColV == 0 && kvb.RotateMode != 0;
    L.eccentric = kvb.HenshinE(0) > 1 && kvb.HenshinE(1) > 1;
    L.e = L.eccentric ? 1 : 0;
    L.t = kvb.HenshinE(L.a1) > 0.01 ? 0.6 : 0;

    struct Sizes {
        double W, H, Px, Py, Qx, Qy;
    };
    Sizes z{0, 0, 0, 0, 0, 0};
    if (kvb.AbV == 1) {
        z = kvb.KvV == 6 ? Sizes{14, 14, 11, 11, 6.5, 6.5} : Sizes{14, 14, 12, 12, 9, 9};
    } else if (kvb.AbV == 0) {
        if (L.boxAsym) z = {13, 16, 10, 13, 10, 13};
        else if (kvb.KvV == 6) z = {14, 14, 10, 10, 10, 10};
        else z = {14, 14, 11, 11, 11, 11};
    }
    L.W = z.W;
    L.H = z.H;
    L.Px = z.Px;
    L.Py = z.Py;
    L.Qx = z.Qx;
    L.Qy = z.Qy;
    if (L.boxAsym && kvb.AbV == 0) L.s[static_cast<size_t>(L.a)] = 1;
    if (L.boxAsym) {
        if (dir == 1) L.gy = -2 * L.sa();
        else if (dir == 2) L.gx = -2 * L.sa();
    }
    return L;
}

void DrawKvFigureTube(clsPrintOut& po, const FigureFrameTbl& frame, int16_t& iCol, int16_t& dir) {
    ResolveFigureColumn(iCol, kName);
    ResolveFigureDirection(dir, iCol);
    CheckQuarterTurns(dir, kName);
    const model::ColumnDataTbl& col = model::gColumns(iCol);
    const model::KvBaseTbl& kvb = model::gKvBase(iCol);
    const FigureFrameTbl f = frame;
    const double SX = f.ScaleX;
    const double SY = f.ScaleY;

    if (po.prpMode() == 2) {
        po.setBackColor(vbqt::SystemColor(0));
        po.Cls();
    }
    const TubeLayout L = CalcTubeLayout(col, kvb, dir);
    const double s0 = L.s[0];
    const double s1 = L.s[1];
    const double sa = L.sa();
    const double sa1 = L.sa1();

    StateGuard g;
    const double fontSize = po.FontSize();
    g.onExit([&po, fontSize] { po.setFontSize(fontSize); });
    po.setForeColor(vbqt::RGB(0, 0, 0));
    const bool paper = po.prpMode() == 1;
    po.setFontSize(paper ? 6 * SX : 11);
    const int32_t pen = paper ? 3 : 2;
    po.setDrawWidth(pen);

    RotatedDraw rd(po, f, -1, dir * kPi / 2);
    SwappedDraw sw(po, f, L.a);

    // Offset of the column on an asymmetric base under a box.
    if (L.boxAsym) {
        const std::string text = model::FormatValue(kvb.HenshinE(0), -1);
        if (L.a == 1) {
            if (gNTFlag) PrintAt(po, f.X0 - 0.5 * SX, f.Y0 - (L.t + 2 - L.gy / 2) * SX, text);
            else PrintTextAt(po, text, 90, static_cast<float>(f.X0),
                             static_cast<float>(f.Y0 - (L.t + 0.5) * SX), 6);
        } else {
            PrintAt(po, f.X0 - (s0 + 1.6 - L.gx / 2) * SX, f.Y0 - 0.7 * SX, text);
        }
        po.setDrawWidth(1);
        sw.line(0, -6, 0, 6);
        SwappedDraw marks(po, ShiftedFrame(f, L.gx / 2, L.gy / 2), L.a);
        marks.line(-2.5, 2, 2.5 + sa, 2);
        marks.arrow(sa, 2, -1, 0);
        marks.arrow(0, 2, 1, 0);
        po.setDrawWidth(pen);
    } else if (L.eccentric) {
        const double e = L.e;
        po.setDrawWidth(1);
        rd.line(-e, -L.H / 2 - 2, -e, -L.H / 2 + 12);
        rd.line(-L.W / 2 - 2, -e, -L.W / 2 + 12, -e);
        struct Start {
            double xA, yA, xB, yB;
        };
        static constexpr Start kStarts[4] = {{0, 0, 0, 0}, {0, 4.2, 0, 1}, {1, 4.2, 4.2, 1},
                                             {1, 0, 4.2, 0}};
        // The table's e is 1 here (eccentric).
        const Start st = kStarts[dir];
        SwappedDraw top(po, ShiftedFrame(f, st.xA, st.yA), 0);
        const double y = -L.H / 2 - 1.5;
        top.line(-e - 2, y, 2, y);
        top.arrow(0, y, -1, 0);
        top.arrow(-e, y, 1, 0);
        SwappedDraw left(po, ShiftedFrame(f, st.xB, st.yB), 0);
        const double x = -L.W / 2 - 1.5;
        left.line(x, -e - 2, x, 2);
        left.arrow(x, 0, 0, -1);
        left.arrow(x, -e, 0, 1);
        po.setDrawWidth(pen);
        PrintAt(po, f.X0 + 0.5 * SX, f.Y0 - (L.W / 2 + 4 - st.yA) * SY,
                model::FormatValue(kvb.HenshinE(L.a1), -1));
        PrintAt(po, f.X0 - (L.H / 2 + 4 - st.xB) * SX, f.Y0 + 0.5 * SY,
                model::FormatValue(kvb.HenshinE(L.a), -1));
    }

    // Centre lines of the base.
    po.setDrawWidth(1);
    rd.line(sa, -L.H / 2 - 2, sa, L.H / 2 + 2);
    rd.line(-L.W / 2 - 2 - sa, 0, L.W / 2 + 2 + sa, 0);
    po.setDrawWidth(pen);

    // Column section.
    if (col.ColV == 1) {
        sw.circle(0, 0, 4.5);
        sw.circle(0, 0, 4);
    } else if (col.ColV == 0) {
        const Contour outer = kvb.KvV == 4 ? Contour{4.5, 2}
                              : kvb.KvV == 6 ? Contour{4, 2}
                                             : Contour{4.5, 0.5};
        const Contour inner = kvb.KvV == 6 ? Contour{3.5, 1.5} : Contour{4, 1.5};
        roundedSquare(rd, -L.e, outer, false);
        roundedSquare(rd, -L.e, inner, L.eccentric && kvb.KvV != 6);
        if (kvb.KvV == 5) series5Marks(sw);
    }

    if (kvb.AbV == 0 || kvb.AbV == 1) PlotTubeBasePlate(po, f, kvb, L);

    // Dimension texts.
    const auto len = [&](long n) { return StrText(kvb.KvLen(L.a, n)); };
    const auto textAt = [&](double x, double y, const std::string& s) {
        PrintAt(po, f.X0 + x * SX, f.Y0 + y * SX, s);
    };
    const auto turnedAt = [&](double x, double y, const std::string& s) {
        PrintTextAt(po, s, 90, static_cast<float>(f.X0 + x * SX), static_cast<float>(f.Y0 + y * SX),
                    6);
    };
    textAt(L.gx - 1.5 + s0, L.gy + 12, len(3));
    textAt(L.gx - 1.5 + s0, L.gy + 15, len(1));
    if (gNTFlag) textAt(L.gx + s0 + 12, L.gy - 2.25, len(4));
    else turnedAt(12, s1 + 1.5, len(4));
    if (gNTFlag) textAt(L.gx + s0 + 15, L.gy + 0.25, len(2));
    else turnedAt(15, s1 + 1.5, len(2));
    if (kvb.AbV == 1) {
        textAt(-1.5, 9, len(5));
        if (gNTFlag) textAt(9, 0.25, len(6));
        else turnedAt(9, s1 + 1.5, len(6));
    }

    // Dimension lines; the pen stays 1 from here on.
    po.setDrawWidth(1);
    const FigureFrameTbl fg = ShiftedFrame(f, L.gx, L.gy);
    horizontalDimension(po, fg, L.a, 14, -(L.Px / 2 - sa), L.Px, L.Qy / 2);
    if (kvb.AbV == 1) horizontalDimension(po, f, L.a, 11, -(L.Qx / 2 - sa), L.Qx, L.Py / 2);
    horizontalDimension(po, fg, L.a, 17, -(L.W / 2 - sa), L.W, L.Qy / 2);
    verticalDimension(po, fg, L.a, 14, -L.Py / 2 + sa1, L.Py, L.Qx / 2 + sa);
    if (kvb.AbV == 1) verticalDimension(po, f, L.a, 11, -L.Qy / 2 + s1, L.Qy, L.Px / 2 + s0);
    verticalDimension(po, fg, L.a, 17, -L.H / 2 + sa1, L.H, L.Qx / 2 + sa);

    DrawFigureAxisArrows(po, f);
    g.restore();
}

}  // namespace drawing
