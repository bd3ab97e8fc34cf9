#include "drawing/nm_curves.h"

#include "drawing/globals.h"
#include "drawing/nm_diagram.h"
#include "engine/kverror.h"
#include "model/globals.h"
#include "platform/qt/ole_color.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace drawing {

using model::gNMCurveShow;
using vbqt::RGB;

double NMChartX(double M) { return gNMChart.X0 + M * gNMChart.ScaleX; }
double NMChartY(double N) { return gNMChart.Y0 - N * gNMChart.ScaleY; }

namespace {

constexpr int32_t kBlack = 0;
constexpr int32_t kWhite = RGB(255, 255, 255);

void moveTo(clsPrintOut& po, double M, double N) {
    po.setCurrentX(NMChartX(M));
    po.setCurrentY(NMChartY(N));
}

void lineTo(clsPrintOut& po, double M, double N, int32_t color) {
    po.Draw_Line(kLineFromCurrent, 0, NMChartX(M), NMChartY(N), color);
}

void line(clsPrintOut& po, double M1, double N1, double M2, double N2, int32_t color) {
    po.Draw_Line(NMChartX(M1), NMChartY(N1), NMChartX(M2), NMChartY(N2), color);
}

void printAt(clsPrintOut& po, double M, double N, const std::string& text) {
    moveTo(po, M, N);
    po.DPrint(text);
}

// A white box outlined in black, corners as chart points.
void whiteBox(clsPrintOut& po, double M1, double N1, double M2, double N2) {
    po.Draw_RectangleBF(NMChartX(M1), NMChartY(N1), NMChartX(M2), NMChartY(N2), kWhite);
    po.Draw_Rectangle(NMChartX(M1), NMChartY(N1), NMChartX(M2), NMChartY(N2), kBlack);
}

// A closed polygon through chart points, in the current pen.
void polygon(clsPrintOut& po, std::initializer_list<std::pair<double, double>> pts) {
    auto it = pts.begin();
    moveTo(po, it->first, it->second);
    for (++it; it != pts.end(); ++it) lineTo(po, it->first, it->second, -1);
    lineTo(po, pts.begin()->first, pts.begin()->second, -1);
}

const char* const kCurveLabels[3] = {"終局耐力", "短期許容耐力", "長期許容耐力"};
const char* const kZoneNames[5] = {"A", "B", "C1", "C2", "D"};

}  // namespace

void DrawNMSweep(clsPrintOut& po, double nStart, double nEnd, double sign,
                 const std::function<double(double)>& m, int32_t color) {
    const double step = (nStart - nEnd) / kNMSweepSteps;
    // No range (or no number): nothing to sample, and a zero step would never end.
    if (!(step > 0) || !std::isfinite(step)) return;
    moveTo(po, 0, nStart);
    for (int i = 0; i <= kNMSweepSteps; ++i) {
        const double N = nStart - i * step;
        lineTo(po, sign * m(N), N, color);
    }
    lineTo(po, 0, nEnd, color);
}

void DrawNMCurvesS(NMEngine& kv, clsPrintOut& po, int16_t iCol, int16_t dir,
                   const NMStateColors& c, int32_t w, int16_t firstState, const NMPointArray& Nlo,
                   const NMPointArray& Mlo, const NMPointArray& Nhi, const NMPointArray& Mhi,
                   std::vector<NMBox>* zoneMarks) {
    const model::ColumnDataTbl& col = model::gColumns(iCol);
    const model::KvBaseTbl& kvb = model::gKvBase(iCol);
    const double MaxM = gNMChart.MaxM;
    const double MinN = gNMChart.MinN;

    // The steel column's own strength: allowable diamonds, plastic hexagon.
    if (gNMCurveShow(3)) {
        int16_t ic = iCol;
        int16_t d = 999;
        const double A = GetColumnSectionValue(0, ic, d);
        d = 999;
        const double Z = GetColumnSectionValue(1, ic, d);
        d = 999;
        const double Zp = GetColumnSectionValue(2, ic, d);
        const double F = col.ColF;
        const double u = model::gUnitFactor;
        for (int j = 0; j <= 2; ++j) {
            if (!gNMCurveShow(j)) continue;
            po.setDrawWidth(1);
            po.setForeColor(c[j]);
            if (j == 2 || j == 1) {
                const double f = j == 2 ? 2.0 / 3.0 : 1.0;
                const double Ny = A * F * f * u;
                const double My = Z * F * f / 100 * u;
                polygon(po, {{0, Ny}, {My, 0}, {0, -Ny}, {-My, 0}});
            } else {
                const double Ny = A * F * u;
                const double Mp = Zp * F / 100 * u;
                const double k = col.ColV == 0 ? 0.25 : col.ColV == 1 ? 0.2 : col.ColV == 2 ? 0.125 : 0;
                polygon(po, {{0, Ny}, {Mp, k * Ny}, {Mp, -k * Ny}, {0, -Ny}, {-Mp, -k * Ny},
                             {-Mp, k * Ny}});
            }
        }
    }

    int n = 0;
    double alpha = 0;
    switch (kvb.KvV) {
    case 0:
    case 2:
        n = 5;
        alpha = 0.5;
        break;
    case 1:
    case 4:
        n = kvb.AbV == 0 ? 4 : kvb.AbV == 1 ? 6 : 0;
        alpha = kvb.NAlpha;
        break;
    case 5:
    case 6:
        n = 4;
        alpha = kvb.NAlpha;
        break;
    default:
        break;
    }

    // Zone boundaries: dotted rays from the origin.
    for (int i = 1; i <= n - 1; ++i) {
        if (!(Mlo(0, i) > 0.01)) continue;
        po.setDrawStyle(2);
        po.setDrawWidth(1);
        line(po, Mlo(0, i), Nlo(0, i), Mlo(1, i), Nlo(1, i), kBlack);
        line(po, -Mlo(0, i), Nlo(0, i), -Mlo(1, i), Nlo(1, i), kBlack);
    }

    // Zone names between the rays, on the last state's (the smallest) curve.
    for (int i = 1; i <= n; ++i) {
        po.setForeColor(kBlack);
        const std::string name = (kvb.KvV == 0 || kvb.KvV == 2) ? std::string(kZoneNames[i - 1])
                                                                : "(" + std::to_string(n - i) + ")";
        const double mid = 0.7 * (Mhi(0, i - 1) + Mhi(0, i)) / 2;
        const double N = 0.7 * (Nhi(0, i - 1) + Nhi(0, i)) / 2;
        if (Mlo(0, i) > 0.01) printAt(po, mid - MaxM / 24, N, name);
        if (Mlo(0, i) > 0.01) printAt(po, -mid - MaxM / 24, N, name);
    }

    // The base's capacity curves, sampled from the engine and mirrored.
    kv.setDirection(dir);
    for (int16_t j = 0; j <= 2; ++j) {
        if (!gNMCurveShow(j)) continue;
        kv.setCondition(j);
        po.setDrawWidth(w);
        po.setForeColor(c[j]);
        const double Nc = kv.Nu_();
        const double Nt = kv.Tu_();
        po.setDrawStyle(0);
        if (!((Nc + Nt) / kNMSweepSteps > 0)) continue;  // a curve without range
        kv.setVerticalLoad(0.8 * Nc);
        const double m = kv.Mu();
        printAt(po, -m, 0.8 * Nc, kCurveLabels[j]);
        const auto mu = [&kv](double N) {
            kv.setVerticalLoad(N);
            return kv.Mu();
        };
        DrawNMSweep(po, Nc, -Nt, 1, mu, c[j]);
        DrawNMSweep(po, Nc, -Nt, -1, mu, c[j]);
    }

    // Rebar zones I and II: the ray at the zone boundary force and its marks.
    if (kvb.KvV != 0) {
        kv.setCondition(firstState);
        const double Nz = -alpha * kv.Tu();
        kv.setVerticalLoad(Nz);
        const double Mz = kv.Mu();
        if (Mz == 0)
            kv::Fail(vb::kErrDivByZero,
                     "N-M diagram: the base has no moment capacity at the rebar zone boundary");
        double R = kv::Div(MaxM, Mz);
        po.setForeColor(kBlack);
        po.setDrawWidth(w);
        line(po, 0, 0, Mz, Nz, kBlack);
        line(po, 0, 0, -Mz, Nz, kBlack);
        po.setDrawWidth(1);
        line(po, 0, 0, R * Mz, R * Nz, kBlack);
        line(po, 0, 0, -R * Mz, R * Nz, kBlack);
        if (R > 2.3) R = 2.3;
        const double r = (Mz * R - 0.15 * MaxM) / Mz;

        const double n1a = (r - 0.25) * Nz - 0.1 * MinN;
        const double n1b = (r - 0.25) * Nz;
        whiteBox(po, Mz * r, n1a, Mz * r + 0.12 * MaxM, n1b);
        whiteBox(po, -Mz * r, n1a, -Mz * r - 0.12 * MaxM, n1b);
        const double t1 = (r - 0.25) * Nz - 0.08 * MinN;
        printAt(po, Mz * r + 0.025 * MaxM, t1, "Ⅰ");
        printAt(po, -Mz * r - 0.095 * MaxM, t1, "Ⅰ");

        const double n2a = (r + 0.15) * Nz;
        const double n2b = (r + 0.15) * Nz + 0.1 * MinN;
        whiteBox(po, Mz * r - 0.15 * MaxM, n2a, Mz * r - 0.03 * MaxM, n2b);
        whiteBox(po, -Mz * r + 0.15 * MaxM, n2a, -Mz * r + 0.03 * MaxM, n2b);
        const double t2 = (r + 0.15) * Nz + 0.02 * MinN;
        printAt(po, Mz * r - 0.125 * MaxM, t2, "Ⅱ");
        printAt(po, -Mz * r + 0.055 * MaxM, t2, "Ⅱ");

        if (zoneMarks) {
            const auto mark = [&po](double M, double N, const std::string& t) {
                const double x = NMChartX(M), y = NMChartY(N);
                return NMBox{x, y, x + po.TextWidth(t), y + po.TextHeight(t)};
            };
            *zoneMarks = {mark(Mz * r + 0.025 * MaxM, t1, "Ⅰ"), mark(-Mz * r - 0.095 * MaxM, t1, "Ⅰ"),
                          mark(Mz * r - 0.125 * MaxM, t2, "Ⅱ"), mark(-Mz * r + 0.055 * MaxM, t2, "Ⅱ")};
        }
    }
}

void DrawNMCurvesSrc(NMEngine& kv, clsPrintOut& po, int16_t dir, const NMStateColors& c,
                     int32_t w) {
    const double MaxN = gNMChart.MaxN;
    kv.setDirection(dir);
    for (int16_t j = 0; j <= 2; ++j) {
        if (!gNMCurveShow(j)) continue;
        const int32_t cj = c[j];
        kv.setCondition(j);
        kv.setRuika();
        po.setForeColor(cj);
        po.setDrawWidth(w);

        // Superposed curve, thick.
        const double Nmax = kv.srcNmax();
        const double Nmin = kv.srcNmin();
        const auto src = [&kv](double N) {
            kv.setVerticalLoad(N);
            return kv.srcMu();
        };
        DrawNMSweep(po, Nmax, Nmin, -1, src, cj);
        DrawNMSweep(po, Nmax, Nmin, 1, src, cj);

        // The column base itself, thin.
        po.setDrawWidth(1);
        const double Nc = kv.Nu_();
        const double Nt = kv.Tu_();
        const auto base = [&kv](double N) {
            kv.setVerticalLoad(N);
            return kv.Mu();
        };
        DrawNMSweep(po, Nc, -Nt, -1, base, cj);
        DrawNMSweep(po, Nc, -Nt, 1, base, cj);

        // Concrete: no tension, so it closes at the origin.
        const double Ncc = kv.cNmax();
        const auto conc = [&kv](double N) {
            kv.setcN(N);
            return kv.cM();
        };
        DrawNMSweep(po, Ncc, 0, -1, conc, cj);
        DrawNMSweep(po, Ncc, 0, 1, conc, cj);

        // Steel column part, its tension end cut at the chart's bottom edge.
        const double Ns = kv.colNmax();
        const double Ms = kv.colMmax();
        for (const double sign : {1.0, -1.0}) {
            moveTo(po, 0, Ns);
            if (j == 0) {
                lineTo(po, sign * Ms, Ns / 8, cj);
                lineTo(po, sign * Ms, -Ns / 8, cj);
            } else {
                lineTo(po, sign * Ms, 0, cj);
            }
            if (Ns < MaxN) {
                lineTo(po, 0, -Ns, cj);
            } else {
                kv.setcolN(-MaxN);
                lineTo(po, sign * kv.colM(), -MaxN, cj);
            }
        }

        // Rebar part: a diamond, drawn whole.
        const double Nr = kv.rNmax();
        const double Mr = kv.rMmax();
        for (const double sign : {1.0, -1.0}) {
            moveTo(po, 0, Nr);
            lineTo(po, sign * Mr, 0, cj);
            lineTo(po, 0, -Nr, cj);
        }
    }
}

}  // namespace drawing
