#include "drawing/rc_section.h"

#include "drawing/kit.h"
#include "drawing/kv_figure_common.h"
#include "drawing/state_guard.h"
#include "model/globals.h"
#include "model/rebar_zone.h"
#include "platform/qt/ole_color.h"
#include "platform/text/vb.h"

#include <cmath>
#include <vector>

namespace drawing {

namespace {

constexpr const char* kName = "DrawRcColumnSection";
constexpr double kTie = 0.3;  // tie bar thickness

struct Pt {
    double x;
    double y;
};

struct Layout {
    double A = 0;  // outline width before turning
    double B = 0;  // outline depth
    double boltR = 0.8;
    std::vector<Pt> bolts;
    bool h = false;  // H layout: figure origin two units right
};

Layout chooseLayout(const model::ColumnDataTbl& col, const model::KvBaseTbl& kvb) {
    Layout L;
    const auto corners = [&](double x, double y) {
        L.bolts = {{-x, -y}, {-x, y}, {x, y}, {x, -y}};
    };
    const bool asym = kvb.RotateMode != 0;
    if (kvb.AbV == 0) {
        if (asym && col.ColV == 0) {
            L.A = 19;
            L.B = 22;
            corners(5, 6.5);
        } else if (asym && col.ColV == 2) {
            L.A = 23;
            L.B = 16;
            L.h = true;
            corners(7, 2.5);
        } else if (!asym) {
            L.A = L.B = 20;
            if (kvb.KvV == 6) corners(5, 5);
            else corners(5.5, 5.5);
        } else {
            // Not a layout of the catalogue: the figure collapses on the origin.
            corners(0, 0);
        }
    } else if (kvb.AbV == 1) {
        L.A = L.B = 20;
        L.boltR = 0.5;
        const double u = kvb.KvV == 6 ? 5.5 : 6;
        const double v = kvb.KvV == 6 ? 3.25 : 4.5;
        L.bolts = {{-u, -v}, {-v, -u}, {-u, v}, {-v, u}, {u, v}, {v, u}, {u, -v}, {v, -u}};
        if (kvb.AbN == 3) {
            L.bolts.insert(L.bolts.end(), {{-u, 0}, {0, u}, {u, 0}, {0, -u}});
        }
    }
    return L;
}


std::string zoneNumeral(int16_t zone) {
    switch (zone) {
    case 1: return "Ⅰ";
    case 2: return "Ⅱ";
    case 3: return "Ⅲ";
    default: return "";
    }
}

}  // namespace

std::string RcMainBarCaption(const model::ColumnDataTbl& col, int16_t d) {
    const int16_t e = static_cast<int16_t>(1 - d);
    const int total = 2 * (col.RmN(0) + col.RmN(1)) - 4;
    return "主筋 : " + std::to_string(total) + "(" + std::to_string(col.RmN(d)) + "x" +
           std::to_string(col.RmN(e)) + ")-D" + text::FieldText(col.RBarVal) + "(" +
           text::FieldText(col.RBarMat) + ")";
}

std::string RcHoopCaption(const model::ColumnDataTbl& col) {
    std::string size = text::FieldText(col.HoopSize);
    if (!size.empty() && size.front() == 'D') size.erase(0, 1);
    return "HOOP : 　 -D" + size + "(" + text::FieldText(col.HoopMat) + ")@" +
           PlainText(col.HoopPitch);
}

std::string RcAnchorageCaption(const model::ColumnDataTbl& col) {
    return "主筋定着長さ : " + PlainText(col.rD(0)) + "mm";
}

void DrawRcColumnSection(clsPrintOut& po, const FigureFrameTbl& frame, int16_t& iCol,
                         int16_t& dir) {
    ResolveFigureColumn(iCol, kName);
    const model::ColumnDataTbl& col = model::gColumns(iCol);
    const model::KvBaseTbl& kvb = model::gKvBase(iCol);
    if (kvb.KvV == 0) return;
    ResolveFigureDirection(dir, iCol);
    CheckQuarterTurns(dir, kName);
    if (col.RmN(0) < 1 || col.RmN(1) < 1)
        throw FigureError(std::string(kName) + ": column " + std::to_string(iCol) +
                          " has a main bar count below 1 (" + std::to_string(col.RmN(0)) + ", " +
                          std::to_string(col.RmN(1)) + ")");

    if (po.prpMode() == 2) {
        po.setBackColor(vbqt::SystemColor(0));
        po.Cls();
    }
    const int16_t d = static_cast<int16_t>(dir % 2);
    const int16_t e = static_cast<int16_t>(1 - d);
    const int16_t zone = model::GetColumnRebarZone(iCol);
    const Layout L = chooseLayout(col, kvb);
    const double A = L.A;
    const double B = L.B;
    const FigureFrameTbl f = L.h ? ShiftedFrame(frame, 2, 0) : frame;

    StateGuard g;
    const double fontSize = po.FontSize();
    g.onExit([&po, fontSize] { po.setFontSize(fontSize); });
    po.setForeColor(vbqt::RGB(0, 0, 0));
    const bool paper = po.prpMode() == 1;
    const double figureFont = paper ? 6 * f.ScaleX : 11;
    po.setFontSize(figureFont);
    const int32_t pen = paper ? 3 : 2;
    po.setDrawWidth(1);

    RotatedDraw rd(po, f, -1, d * kPi / 2);

    // Centre lines.
    rd.line(0, -(B / 2 + 1), 0, B / 2 + 1);
    rd.line(-(A / 2 + 1), 0, A / 2 + 1, 0);

    // Hoop: outer and inner line, corner arcs centred at inset 3.5.
    for (const auto& [h, r] : {std::pair{1.5, 2.0}, std::pair{1.8, 1.7}}) {
        const double cx = A / 2 - 3.5;
        const double cy = B / 2 - 3.5;
        rd.line(-(A / 2 - h), -cy, -(A / 2 - h), cy);
        rd.arc(-cx, cy, r, kPi, 3 * kPi / 2);
        rd.line(-cx, B / 2 - h, cx, B / 2 - h);
        rd.arc(cx, cy, r, 3 * kPi / 2, kTwoPi);
        rd.line(A / 2 - h, cy, A / 2 - h, -cy);
        rd.arc(cx, -cy, r, 0, kPi / 2);
        rd.line(cx, -(B / 2 - h), -cx, -(B / 2 - h));
        rd.arc(-cx, -cy, r, kPi / 2, kPi);
    }

    // Bolts and outline.
    po.setDrawWidth(pen);
    for (const Pt& b : L.bolts) rd.circle(b.x, b.y, L.boltR);
    rd.line(-A / 2, -B / 2, -A / 2, B / 2);
    rd.line(-A / 2, B / 2, A / 2, B / 2);
    rd.line(A / 2, B / 2, A / 2, -B / 2);
    rd.line(A / 2, -B / 2, -A / 2, -B / 2);

    // Main bars: corners, then the faces; a tie that would run through a bar
    // moves to just below it.
    po.setDrawWidth(1);
    const double W = 3.5 - 1.4 / std::sqrt(2.0);
    rd.circle(-(A / 2 - W), -(B / 2 - W), 0.3);
    rd.circle(-(A / 2 - W), B / 2 - W, 0.3);
    rd.circle(A / 2 - W, B / 2 - W, 0.3);
    rd.circle(A / 2 - W, -(B / 2 - W), 0.3);
    double U = (B - 3) / 6;
    double V = (A - 3) / 6;
    const int nd = col.RmN(d);
    const int ne = col.RmN(e);
    // A single bar on a face leaves only the corner bars there.
    if (nd >= 2) {
        const double q = (B - 2 * W) / (nd - 1);
        for (int i = 1; i <= nd - 2; ++i) {
            const double y = -(B / 2 - W) + i * q;
            rd.circle(A / 2 - 2.1, y, 0.3);
            rd.circle(-(A / 2 - 2.1), y, 0.3);
            if (y > 0 && std::fabs(y - U) < kTie / 2 + 0.3) U = y - 0.55;
        }
    }
    if (ne >= 2) {
        const double q = (A - 2 * W) / (ne - 1);
        for (int j = 1; j <= ne - 2; ++j) {
            const double x = -(A / 2 - W) + j * q;
            rd.circle(x, B / 2 - 2.1, 0.3);
            rd.circle(x, -(B / 2 - 2.1), 0.3);
            if (x > 0 && std::fabs(x - V) < kTie / 2 + 0.3) V = x - 0.55;
        }
    }

    // Ties.
    if (col.HoopN(d) == 2) {
        for (double y : {-(U + kTie / 2), -(U - kTie / 2), U + kTie / 2, U - kTie / 2})
            rd.line(-(A / 2 - 1.8), y, A / 2 - 1.8, y);
    }
    if (col.HoopN(e) == 2) {
        for (double x : {-(V + kTie / 2), -(V - kTie / 2), V + kTie / 2, V - kTie / 2})
            rd.line(x, -(B / 2 - 1.8), x, B / 2 - 1.8);
    }

    // Sizes of the form, never turned: X horizontally, Y vertically.
    const double w = d == 0 ? A : B;
    const double h = d == 0 ? B : A;
    DrawDimensionLine(po, f, 0, PlainText(col.cD(0)), 0, -w / 2, h / 2, w / 2, h / 2, 3);
    DrawDimensionLine(po, f, 1, PlainText(col.cD(1)), 0, w / 2, -h / 2, w / 2, h / 2, 4);

    // Zone box.
    RotatedDraw fixed(po, f, -1, 0);
    fixed.box(-11, 16, -8, 19, vbqt::RGB(255, 255, 255));
    po.setDrawWidth(1);
    fixed.line(-11, 16, -11, 19);
    fixed.line(-11, 19, -8, 19);
    fixed.line(-8, 19, -8, 16);
    fixed.line(-8, 16, -11, 16);
    const auto at = [&](double x, double y, const std::string& text) {
        PrintAt(po, f.X0 + x * f.ScaleX, f.Y0 + y * f.ScaleY, text);
    };
    at(-10.5, 16.5, zoneNumeral(zone));

    // Captions with the hoop symbol in the blank of the hoop line.
    po.setFontSize(paper ? 5 * f.ScaleX : 9);
    at(-7, 16, RcMainBarCaption(col, d));
    at(-7, 18, RcHoopCaption(col));
    SwappedDraw symbol(po, f, 0);
    symbol.line(-0.8, 18, 0.7, 18);
    symbol.line(0.7, 18, 0.7, 19.5);
    symbol.line(0.7, 19.5, -0.8, 19.5);
    symbol.line(-0.8, 19.5, -0.8, 18);
    at(0, 20, RcAnchorageCaption(col));
    if (col.HoopN(d) == 2) {
        symbol.line(-0.8, 18.5, 0.7, 18.5);
        symbol.line(0.7, 19, -0.8, 19);
    }
    if (col.HoopN(e) == 2) {
        symbol.line(-0.3, 18, -0.3, 19.5);
        symbol.line(0.2, 19.5, 0.2, 18);
    }

    // Arrows on the caller's origin.
    po.setFontSize(figureFont);
    DrawFigureAxisArrows(po, frame);
    g.restore();
}

}  // namespace drawing
