#include "drawing/nm_diagram.h"

#include "drawing/globals.h"
#include "drawing/nm_curves.h"
#include "drawing/nm_points.h"
#include "engine/kverror.h"
#include "model/direction.h"
#include "model/format.h"
#include "model/globals.h"
#include "platform/qt/ole_color.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace drawing {

using model::gNMCurveShow;
using vbqt::RGB;

namespace {

constexpr int32_t kBlack = 0;
constexpr int32_t kWhite = RGB(255, 255, 255);
// More ticks than any chart can show: the step does not fit the extent.
constexpr double kMaxTicks = 100000;

// Grid loop: a single-precision counter from `start`, advanced by adding
// `step` while it has not passed `limit` (a tick that rounds past it is not
// drawn). A step that cannot make progress fails instead of looping.
template <typename F>
void ForTicks(double start, double limit, double step, F&& f) {
    const float s = static_cast<float>(step);
    const float lim = static_cast<float>(limit);
    float v = static_cast<float>(start);
    if (!(s != 0.0f) || !std::isfinite(s) || !std::isfinite(lim) || !std::isfinite(v) ||
        (static_cast<double>(lim) - v) / s > kMaxTicks)
        kv::Fail(vb::kErrInvalidCall, "N-M chart: the grid step does not fit the chart's extent");
    while (s > 0 ? v <= lim : v >= lim) {
        f(v);
        const float next = v + s;
        if (next == v) kv::Fail(vb::kErrInvalidCall, "N-M chart: the grid step is too small");
        v = next;
    }
}

std::string Label(float v) { return model::FormatValue(v, -1); }

std::vector<NMTickLabel>& TickLabels() {
    static std::vector<NMTickLabel> labels;
    return labels;
}

std::vector<NMTickLabel>& AxisTitles() {
    static std::vector<NMTickLabel> titles;
    return titles;
}

// Keeps a tick label at the current point; it is printed after the curves.
void PrintTick(clsPrintOut& po, const std::string& text) {
    TickLabels().push_back({text, po.CurrentX(), po.CurrentY()});
}

}  // namespace

const std::vector<NMTickLabel>& NMTickLabels() { return TickLabels(); }

void DrawNMAxisValues(clsPrintOut& po, const std::vector<NMBox>& keepClear) {
    std::vector<NMTickLabel> shown;
    const auto keep = [&](const NMTickLabel& t) {
        const double r = t.x + po.TextWidth(t.text);
        const double b = t.y + po.TextHeight(t.text);
        for (const NMBox& k : keepClear)
            if (t.x < k.right && k.left < r && t.y < k.bottom && k.top < b) return;
        shown.push_back(t);
    };
    for (const NMTickLabel& t : TickLabels()) keep(t);
    for (const NMTickLabel& t : AxisTitles()) keep(t);
    const auto print = [&po](const std::string& text, double x, double y) {
        po.setCurrentX(x);
        po.setCurrentY(y);
        po.DPrint(text);
    };
    const int32_t fore = po.ForeColor();
    // First a rim of the chart's ground round every value, a pixel (on paper
    // a tenth of a millimetre) wide: a curve running through a value must not
    // hide one of its strokes, as a minus under a curve reads as a positive
    // number. All rims come before the values, so no rim cuts into a value.
    const bool paper = po.prpMode() == 1;
    const double rim = paper ? 0.1 : 15;
    po.setForeColor(paper ? kWhite : po.BackColor());
    for (const NMTickLabel& t : shown)
        for (const double dx : {-rim, 0.0, rim})
            for (const double dy : {-rim, 0.0, rim})
                if (dx != 0 || dy != 0) print(t.text, t.x + dx, t.y + dy);
    po.setForeColor(kBlack);
    for (const NMTickLabel& t : shown) print(t.text, t.x, t.y);
    po.setForeColor(fore);
}

void DrawNMAxes(clsPrintOut& po, int16_t& iCol) {
    if (iCol == 999) iCol = model::gCurCol;
    TickLabels().clear();
    AxisTitles().clear();
    const FigureFrameTbl& f = gNMChart;
    const bool paper = po.prpMode() == 1;
    const int32_t w = paper ? 3 : 1;
    const int32_t axis = paper ? 3 : 2;
    const double s = paper ? 3.5 : static_cast<double>(static_cast<float>(18 * po.Font().Size));
    po.setForeColor(kBlack);

    const double top = f.Y0 + f.MinN * f.ScaleY;
    const double bottom = f.Y0 + f.MaxN * f.ScaleY;
    const double left = f.X0 - f.MaxM * f.ScaleX;
    const double right = f.X0 + f.MaxM * f.ScaleX;
    const auto vertical = [&](double m) {
        const double x = f.X0 + m * f.ScaleX;
        po.Draw_Line(x, bottom, x, top, -1);
    };
    const auto horizontal = [&](double v) {
        const double y = f.Y0 + v * f.ScaleY;
        po.Draw_Line(left, y, right, y, -1);
    };

    po.setDrawWidth(axis);
    po.Draw_Line(f.X0, bottom, f.X0, top, -1);

    po.setDrawWidth(w);
    // The end of the label left of the one being placed, on the positive side.
    double lastEnd = f.X0 + 0.3 * s + po.TextWidth("0");
    const auto mTick = [&](float m) {
        const std::string label = Label(m);
        const double width = po.TextWidth(label);
        double x = f.X0 + 0.3 * s + m * f.ScaleX;
        bool shown = true;
        if (m > 0 && x + width > right) {
            // A label that would cross the right edge stands left of its
            // line instead, unless it would meet the label before it there.
            x = f.X0 + m * f.ScaleX - 0.3 * s - width;
            shown = x > lastEnd + 0.3 * s;
        }
        if (shown) {
            po.setCurrentX(x);
            po.setCurrentY(f.Y0 - s);
            PrintTick(po, label);
            if (m > 0) lastEnd = x + width;
        }
        vertical(m);
    };
    ForTicks(f.StepM, f.MaxM, f.StepM, mTick);
    ForTicks(-f.StepM, -f.MaxM, -f.StepM, mTick);

    if (paper) {
        po.setDrawWidth(1);
        ForTicks(-f.StepM / 5, -f.MaxM, -f.StepM / 5, [&](float m) { vertical(m); });
        ForTicks(f.StepM / 5, f.MaxM, f.StepM / 5, [&](float m) { vertical(m); });
    }

    po.setDrawWidth(axis);
    po.setCurrentX(f.X0 + 0.3 * s);
    po.setCurrentY(f.Y0 - s);
    PrintTick(po, "0");
    po.Draw_Line(left, f.Y0, right, f.Y0, -1);

    po.setDrawWidth(w);
    // Tension side, below the M axis: labels always.
    ForTicks(f.StepN, f.MaxN, f.StepN, [&](float v) {
        po.setCurrentX(f.X0 + 0.3 * s);
        po.setCurrentY(f.Y0 + v * f.ScaleY - s);
        PrintTick(po, Label(-v));
        horizontal(v);
    });
    // Compression side: a label that would start above the top edge is left out.
    ForTicks(-f.StepN, f.MinN, -f.StepN, [&](float v) {
        po.setCurrentX(f.X0 + 0.3 * s);
        po.setCurrentY(f.Y0 + v * f.ScaleY - s);
        if (po.CurrentY() > top) PrintTick(po, Label(-v));
        horizontal(v);
    });

    if (paper) {
        po.setDrawWidth(1);
        ForTicks(f.StepN / 5, f.MaxN, f.StepN / 5, [&](float v) { horizontal(v); });
        ForTicks(-f.StepN / 5, f.MinN, -f.StepN / 5, [&](float v) { horizontal(v); });
    }

    AxisTitles().push_back(
        {model::gSIDisp ? "M(kN･m)" : "M(tf･m)", f.X0 + f.MaxM / 2 * 1.2 * f.ScaleX, f.Y0 + 1});
    AxisTitles().push_back({model::gSIDisp ? "N(kN)" : "N(tf)",
                            f.X0 - f.MaxM * 4 * 10 / 155 * f.ScaleX,
                            f.Y0 + 0.95 * f.MinN * f.ScaleY});

    // A base whose orientation matters names the shown direction.
    if (model::gKvBase(iCol).RotateMode != 0) {
        const double x1 = f.X0 - 0.95 * f.MaxM * f.ScaleX;
        const double y1 = f.Y0 + 0.95 * f.MinN * f.ScaleY;
        const double x2 = f.X0 - 0.82 * f.MaxM * f.ScaleX;
        const double y2 = f.Y0 + 0.85 * f.MinN * f.ScaleY;
        po.Draw_RectangleBF(x1, y1, x2, y2, kWhite);
        po.Draw_Rectangle(x1, y1, x2, y2, kBlack);
        const char* letter = model::gDispMode == 0 ? "X" : model::gDispMode == 1 ? "Y" : "";
        if (*letter) {
            po.setCurrentX(f.X0 - 0.92 * f.MaxM * f.ScaleX);
            po.setCurrentY(f.Y0 + 0.93 * f.MinN * f.ScaleY);
            po.DPrint(letter);
        }
    }
}

double GetColumnSectionValue(int16_t kind, int16_t& iCol, int16_t& dir) {
    if (iCol == 999) iCol = model::gCurCol;
    if (dir == 999) dir = model::GetKvDirection(iCol);
    const model::ColumnDataTbl& col = model::gColumns(iCol);
    const auto& table = std::fabs(col.ColSpecUser(0)) > 0.001 ? col.ColSpecUser : col.ColSpec;
    switch (kind) {
    case 0:
        return table(0);
    case 1:
        return dir == 0 ? table(1) : dir == 1 ? table(3) : 0;
    case 2:
        return dir == 0 ? table(2) : dir == 1 ? table(4) : 0;
    default:
        return 0;
    }
}

namespace {

enum class Marker { Square, Circle, Triangle, Cross };

// Markers are offsets from the current point, y downwards on both surfaces.
void DrawMarker(clsPrintOut& po, Marker kind, double u, int32_t c) {
    switch (kind) {
    case Marker::Square:
        po.Draw_LineStepStep(-u, -u, 2 * u, 0, c);
        po.Draw_LineStepStep(0, 0, 0, 2 * u, c);
        po.Draw_LineStepStep(0, 0, -2 * u, 0, c);
        po.Draw_LineStepStep(0, 0, 0, -2 * u, c);
        break;
    case Marker::Circle:
        po.Draw_Circle_Step(0, 0, u, c, kFullCircle);
        break;
    case Marker::Triangle: {
        const double h = 1.5 * u * std::sqrt(3.0) / 2;
        po.Draw_LineStepStep(0, -1.5 * u, -h, 2.25 * u, c);
        po.Draw_LineStepStep(0, 0, 2 * h, 0, c);
        po.Draw_LineStepStep(0, 0, -h, -2.25 * u, c);
        break;
    }
    case Marker::Cross:
        po.Draw_LineStepStep(-1.5 * u, 1.5 * u, 3 * u, -3 * u, c);
        po.Draw_LineStepStep(0, 3 * u, -3 * u, -3 * u, c);
        break;
    }
}

// The step of a table: the first with fewer than `fewer` steps over `extent`.
double FirstStep(const vb::Array<double, 1, 10>& steps, double extent, double fewer,
                 const char* axis) {
    for (long i = 1; i <= 10; ++i)
        if (steps(i) > 0 && extent / steps(i) < fewer) return steps(i);
    kv::Fail(vb::kErrInvalidCall,
             std::string("N-M chart: no tick step fits the ") + axis + " extent");
}

}  // namespace

void DrawNMDiagram(NMEngine& kv, clsPrintOut& po, int16_t& iCol, int16_t& dir) {
    using model::gCond;
    if (model::gDispMode == 4 || model::gDispMode == 5) return;
    if (iCol == 999) iCol = model::gCurCol;

    const bool paper = po.prpMode() == 1;
    const int32_t w = paper ? 3 : 2;
    struct ClipEnd {
        clsPrintOut& po;
        ~ClipEnd() { po.clearPaperClip(); }
    } clipEnd{po};
    const model::ColumnDataTbl& col = model::gColumns(iCol);
    kv.setBaseInputs(col);
    NMStateColors c{0, 0, 0};
    if (model::gColorDraw) c = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0)};
    if (dir == 999) dir = model::GetKvDirection(iCol);

    int16_t first = -1;
    int16_t last = -1;
    for (int16_t j = 0; j <= 2; ++j) {
        if (!gNMCurveShow(j)) continue;
        if (first < 0) first = j;
        last = j;
    }
    // With no state shown the chart is still scaled, by the largest curve.
    const bool anyShown = first >= 0;
    const int16_t extentState = anyShown ? first : 0;

    const bool sMode = gCond.SMode != 0;
    double Nc = 0;
    double Nt = 0;
    double Mm = 0;
    NMPointArray Nlo, Mlo, Nhi, Mhi;
    int16_t route = gCond.DesignRootX;
    int16_t wall = 0;
    if (sMode) {
        kv.setCondition(extentState);
        kv.setDirection(dir);
        Nc = kv.Nu_();
        Nt = kv.Tu_();
        kv.setVerticalLoad(0);
        Mm = kv.MuMax();
        if (anyShown) {
            CalcNMCurvePoints(kv, first, Nlo, Mlo, iCol, dir);
            CalcNMCurvePoints(kv, last, Nhi, Mhi, iCol, dir);
        }
    } else {
        kv.setCondition(extentState);
        kv.setDirection(dir);
        kv.setSrcInputs(col);
        if (model::gDispMode == 0) route = gCond.DesignRootX;
        else if (model::gDispMode == 1) route = gCond.DesignRootY;
        kv.setDesignRoot(route);
        wall = col.CenColWall(model::gDispMode);
        kv.setsrcWall(wall);
        kv.setcN(1);
        kv.setrN(0);
        kv.setcolN(0);
        kv.setRuika();
        Nc = std::max({kv.srcNmax(), kv.colNmax(), kv.Nu_()});
        Nt = -kv.srcNmin();
        Mm = kv.srcMmax();
    }

    // Scaling. Extents without size have no scale: fail before drawing.
    if (!(Nc + Nt > 0) || !std::isfinite(Nc + Nt))
        kv::Fail(vb::kErrDivByZero, "N-M chart: the curve has no axial-force range");
    if (!(Mm > 0) || !std::isfinite(Mm))
        kv::Fail(vb::kErrDivByZero, "N-M chart: the curve has no moment range");
    const double s = (Nc + Nt) / 107;
    const double MaxM = Mm * 188 / 158;
    const double MaxN = 10 * s + Nt;
    const double MinN = MaxN - 127 * s;
    const double StepM = FirstStep(model::gAxisStepsA, MaxM, 5, "moment");
    const double StepN = FirstStep(model::gAxisStepsB, MaxN - MinN, 7, "axial-force");
    FigureFrameTbl& f = gNMChart;
    f.MaxM = MaxM;
    f.MaxN = MaxN;
    f.MinN = MinN;
    f.StepM = StepM;
    f.StepN = StepN;
    double u = 1;
    if (paper) {
        f.ScaleX = f.AreaWidth / MaxM / 2;
        f.ScaleY = f.AreaHeight / (MaxN - MinN);
        f.X0 = f.AreaWidth / 2 + f.AreaLeft;
        f.Y0 = -MinN * f.ScaleY + f.AreaTop;
        po.setDrawWidth(3);
        u = 1;
        // Rays and markers that leave the chart stop at its frame, as the
        // picture box cuts them on screen.
        po.setPaperClip(f.AreaLeft, f.AreaTop, f.AreaLeft + f.AreaWidth, f.AreaTop + f.AreaHeight);
    } else {
        po.setBackColor(vbqt::SystemColor(vbqt::kWindowBackground));
        po.setScaleMode(1);
        f.ScaleX = po.ScaleWidth() / MaxM / 2;
        f.ScaleY = po.ScaleHeight() / (MaxN - MinN);
        f.Y0 = -MinN * f.ScaleY;
        f.X0 = po.ScaleWidth() / 2;
        po.Cls();
        po.setDrawWidth(3);
        u = MaxM / 45 * f.ScaleX;
    }
    const auto X = [&f](double M) { return f.X0 + M * f.ScaleX; };
    const auto Y = [&f](double v) { return f.Y0 + v * f.ScaleY; };  // v = -N

    // SRC limit axial force: the line at half of it (route 3 without a wall)
    // and the band beyond it. The colours are passed with the calls so that
    // paper, whose lines ignore ForeColor, shows them too.
    if (!sMode && anyShown) {
        po.setDrawWidth(2);
        if (wall == 0 && route == 3) {
            const int32_t olive = RGB(204, 204, 85);
            po.setForeColor(olive);
            const double y = Y(kv.srcTCrit() / 2);
            po.Draw_Line(X(-MaxM), y, X(MaxM), y, olive);
        }
        if (!(wall != 0 && route == 3)) {
            const int32_t grey = RGB(119, 119, 119);
            po.setForeColor(grey);
            po.Draw_RectangleBF(X(-MaxM), Y(kv.srcTCrit()), X(MaxM), Y(MaxN), grey);
        }
        po.setForeColor(kBlack);
    }

    if (paper) po.Draw_RectangleStep(f.AreaLeft, f.AreaTop, f.AreaWidth, f.AreaHeight, kBlack);
    else po.Draw_Rectangle(0, 0, po.ScaleWidth(), po.ScaleHeight(), kBlack);
    po.setForeColor(kBlack);
    DrawNMAxes(po, iCol);
    if (!anyShown) {
        DrawNMAxisValues(po);
        return;
    }

    // The axis values come after the curves and the rebar zone boxes, so that
    // no line or box hides part of a number; a value that would meet a zone
    // mark is left out.
    std::vector<NMBox> zoneMarks;
    if (sMode) DrawNMCurvesS(kv, po, iCol, dir, c, w, first, Nlo, Mlo, Nhi, Mhi, &zoneMarks);
    else DrawNMCurvesSrc(kv, po, dir, c, w);
    DrawNMAxisValues(po, zoneMarks);

    int n = 0;
    for (int j = 0; j <= 2; ++j)
        if (gNMCurveShow(j)) ++n;

    const bool symmetric = model::gKvBase(iCol).RotateMode == 0;
    double a = 0.3;
    double b = 0.6;
    if (paper) {
        a = symmetric ? 0.6 : 0.4;
        b = symmetric ? 0.3 : 0.5;
    }
    po.Draw_RectangleBF(X(a * MaxM), Y(0.95 * MinN), X((a + b) * MaxM), Y((0.95 - 0.07 * n) * MinN),
                        kWhite);
    po.Draw_Rectangle(X(a * MaxM), Y(0.95 * MinN), X((a + b) * MaxM), Y((0.95 - 0.07 * n) * MinN),
                      kBlack);

    const model::ColumnResultTbl& res = model::gResults(iCol);
    const double uf = model::gUnitFactor;
    const auto stressMarkers = [&](long d, const std::vector<long>& cases, Marker m, int32_t cj) {
        for (const long k : cases) {
            po.setCurrentX(X(res.DesignStress(3 * d + 2, k) * uf));
            po.setCurrentY(Y(-res.DesignStress(3 * d + 1, k) * uf));
            if (res.JadgeM(d, k) != 0) {
                po.Draw_PsetStep(0, 0, cj);
                DrawMarker(po, m, u, cj);
            } else {
                DrawMarker(po, Marker::Cross, u, cj);
            }
        }
    };

    static const char* const kLegend[3] = {"終局時応力", "短期時応力", "長期時応力"};
    int L = 0;
    po.setDrawWidth(w);
    for (int j = 2; j >= 0; --j) {
        if (!gNMCurveShow(j)) continue;
        // Design cases: long-term 1, short-term 4 and 5, ultimate 6 and 7.
        std::vector<long> cases = {1};
        Marker m = Marker::Square;
        if (j == 1) {
            cases = {4, 5};
            m = Marker::Circle;
        } else if (j == 0) {
            if (gCond.UltJadge == 0) continue;
            cases = {6, 7};
            m = Marker::Triangle;
        }
        const long d = model::gDispMode;
        stressMarkers(d, cases, m, c[j]);

        po.setCurrentX(X((a + 0.05) * MaxM));
        po.setCurrentY(Y((0.915 - 0.07 * L) * MinN));
        if (m != Marker::Square) po.Draw_PsetStep(0, 0, c[j]);
        DrawMarker(po, m, u, c[j]);
        po.setCurrentX(X((a + 0.1) * MaxM));
        po.setCurrentY(Y((0.935 - 0.07 * L) * MinN));
        po.DPrint(kLegend[j]);
        ++L;

        // A symmetric base shows the other direction's stresses in the same chart.
        if (symmetric) stressMarkers(model::gDispMode == 0 ? 1 : 0, cases, m, c[j]);
    }
}

void DrawNMDiagram(clsPrintOut& po, int16_t& iCol, int16_t& dir) {
    NMEngineKv kv = GlobalNMEngine();
    DrawNMDiagram(kv, po, iCol, dir);
}

}  // namespace drawing
