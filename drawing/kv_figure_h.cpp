#include "drawing/kv_figure_h.h"

#include "drawing/globals.h"
#include "drawing/kit.h"
#include "drawing/kv_figure_common.h"
#include "drawing/state_guard.h"
#include "model/globals.h"
#include "platform/qt/ole_color.h"

namespace drawing {

namespace {

constexpr const char* kName = "DrawKvFigureH";

double deg(double d) {
    return d * kPi / 180;
}

}  // namespace

void DrawKvFigureH(clsPrintOut& po, const FigureFrameTbl& frame, int16_t& iCol, int16_t& dir) {
    ResolveFigureColumn(iCol, kName);
    ResolveFigureDirection(dir, iCol);
    const model::KvBaseTbl& kvb = model::gKvBase(iCol);
    const int16_t d = static_cast<int16_t>(dir & 1);

    if (po.prpMode() == 2) {
        po.setBackColor(vbqt::SystemColor(0));
        po.Cls();
    }
    const FigureFrameTbl f = ShiftedFrame(frame, 2, 0);

    StateGuard g;
    const double fontSize = po.FontSize();
    g.onExit([&po, fontSize] { po.setFontSize(fontSize); });
    po.setForeColor(vbqt::RGB(0, 0, 0));
    const bool paper = po.prpMode() == 1;
    po.setFontSize(paper ? 6 : 11);
    const int32_t pen = paper ? 3 : 2;

    SwappedDraw sw(po, f, d);

    // Centre lines.
    po.setDrawWidth(1);
    sw.line(0, -8, 0, 8);
    sw.line(-11, 0, 11, 0);

    po.setDrawWidth(pen);
    // H section.
    sw.line(-5, -4.5, -5, 4.5);
    sw.line(5, -4.5, 5, 4.5);
    sw.line(-3.5, -4.5, -3.5, -1.5);
    sw.line(3.5, -1.5, 3.5, -4.5);
    sw.line(-3.5, 4.5, -3.5, 1.5);
    sw.line(3.5, 1.5, 3.5, 4.5);
    sw.line(-2.5, -0.5, 2.5, -0.5);
    sw.line(-2.5, 0.5, 2.5, 0.5);
    sw.arc(-2.5, -1.5, 1, deg(180), deg(270));
    sw.arc(2.5, -1.5, 1, deg(270), deg(360));
    sw.arc(-2.5, 1.5, 1, deg(90), deg(180));
    sw.arc(2.5, 1.5, 1, deg(0), deg(90));
    // Bolts.
    sw.circle(-7, -2.5, 0.8);
    sw.circle(-7, 2.5, 0.8);
    sw.circle(7, 2.5, 0.8);
    sw.circle(7, -2.5, 0.8);
    // Plate.
    sw.arc(-7, -4, 2, deg(90), deg(180));
    sw.arc(-7, 4, 2, deg(180), deg(270));
    sw.arc(7, 4, 2, deg(270), deg(360));
    sw.arc(7, -4, 2, deg(0), deg(90));
    sw.line(-9, -4, -9, 4);
    sw.line(-7, 6, 7, 6);
    sw.line(9, 4, 9, -4);
    sw.line(7, -6, -7, -6);
    // Lobed outline: lobes about the bolts, notches between them, band edges.
    sw.arc(-7, -2.5, 2, deg(90), deg(236.52));
    sw.arc(-7, 2.5, 2, deg(123.48), deg(270));
    sw.arc(7, 2.5, 2, deg(270), deg(360));
    sw.arc(7, 2.5, 2, deg(0), deg(56.52));
    sw.arc(7, -2.5, 2, deg(303.48), deg(360));
    sw.arc(7, -2.5, 2, deg(0), deg(90));
    sw.arc(-8.658, 0, 1, deg(303.48), deg(360));
    sw.arc(-8.658, 0, 1, deg(0), deg(56.52));
    sw.arc(8.658, 0, 1, deg(123.48), deg(236.52));
    sw.line(-7, -4.5, 7, -4.5);
    sw.line(7, 4.5, -7, 4.5);

    // Labels, never transposed; s keeps them beside the transposed lines.
    const double s = d == 1 ? 3 : 0;
    const auto label = [&](long k) { return PlainText(kvb.KvLen(d, k)); };
    const auto at = [&](double x, double y, const std::string& text) {
        PrintAt(po, f.X0 + x * f.ScaleX, f.Y0 + y * f.ScaleY, text);
    };
    const auto turnedAt = [&](double x, double y, const std::string& text) {
        PrintTextAt(po, text, 90, static_cast<float>(f.X0 + x * f.ScaleX),
                    static_cast<float>(f.Y0 + y * f.ScaleY), 6);
    };
    at(-1.5, 8 + s, label(3));
    at(-1.5, 10.5 + s, label(1));
    if (gNTFlag) {
        // The vertical pitch stands where the screen puts it on paper too:
        // lifted further it ran into the plate length beside it.
        at(11 - s, 0.25, label(4));
        at(13.5 - s, -2.25, label(2));
    } else {
        turnedAt(11 - s, 1.5, label(4));
        turnedAt(13.5 - s, 1.5, label(2));
    }

    // Dimension lines without texts of their own.
    po.setDrawWidth(1);
    sw.line(-7, 2.5, -7, 10.5);
    sw.line(7, 10.5, 7, 2.5);
    sw.line(-7, 10, 7, 10);
    sw.arrow(-7, 10, -1, 0);
    sw.arrow(7, 10, 1, 0);
    sw.line(-9, 4, -9, 13);
    sw.line(9, 13, 9, 4);
    sw.line(-9, 12.5, 9, 12.5);
    sw.arrow(-9, 12.5, -1, 0);
    sw.arrow(9, 12.5, 1, 0);
    sw.line(7, -2.5, 13.5, -2.5);
    sw.line(13.5, 2.5, 7, 2.5);
    sw.line(13, -2.5, 13, 2.5);
    sw.arrow(13, -2.5, 0, -1);
    sw.arrow(13, 2.5, 0, 1);
    sw.line(7, -6, 16, -6);
    sw.line(16, 6, 7, 6);
    sw.line(15.5, -6, 15.5, 6);
    sw.arrow(15.5, -6, 0, -1);
    sw.arrow(15.5, 6, 0, 1);

    // Arrows on the caller's origin.
    DrawFigureAxisArrows(po, frame);
    g.restore();
}

}  // namespace drawing
