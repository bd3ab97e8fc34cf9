// The superposed N-M curve of an SRC base (steel base, steel column,
// concrete, bars), the moment capacity read off it and the limit axial force.
#include "engine/kverror.h"
#include "engine/smode.h"
#include "engine/src.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace kv {

namespace {

// Whole steps of dN in x, rounded down.
int Steps(double x, double dN) {
    const double n = std::floor(x / dN);
    if (!(std::fabs(n) <= 1e6)) Fail(vb::kErrOverflow, "Overflow in the SRC curve: too many axial-force steps");
    return static_cast<int>(n);
}

void BuildRuikaOnce(KvState& s) {
    const double kept = s.VerticalLoad;
    s.RuikaN.fill(0);
    s.RuikaM.fill(0);

    s.VerticalLoad = 0;
    CalcBaseCheck(s);
    CalcConcM(s, 1);
    CalcRebarM(s, 0);
    CalcColM(s, 0);

    const double nsPlus = std::min(s.Nu_, s.colNmax);
    const double nsMinus = std::min(s.Tu_, s.colNmax);
    s.srcNmax = nsPlus + s.cNmax + s.rNmax;
    s.srcNmin = -(nsMinus + s.rNmax);  // the concrete carries no tension

    const double range = s.srcNmax - s.srcNmin;
    if (range > 0) {
        RuikaGrid g;
        g.dN = range / s.Devide;
        g.nCs = Steps(nsPlus, g.dN);
        g.nTs = Steps(nsMinus, g.dN);
        g.nc = Steps(s.cNmax, g.dN);
        g.nr = Steps(s.rNmax, g.dN);

        // Each part once per grid force.
        std::vector<double> Ms, Mc, Mr;
        for (int m = -g.nTs; m <= g.nCs; ++m) {
            s.VerticalLoad = m * g.dN;
            CalcBaseCheck(s);
            const double base = s.Mu;
            Ms.push_back(std::min(base, CalcColM(s, m * g.dN)));
        }
        for (int j = 0; j <= g.nc; ++j) Mc.push_back(CalcConcM(s, j * g.dN));
        for (int r = -g.nr; r <= g.nr; ++r) Mr.push_back(CalcRebarM(s, r * g.dN));
        SuperposeRuika(s, g, Ms, Mc, Mr);
    } else {
        // Nothing carries any force: the curve is its two ends, both at zero moment.
        s.RuikaN(0) = s.srcNmin;
        s.RuikaN(1) = s.srcNmax;
        s.srcMmax = 0;
    }

    s.VerticalLoad = kept;
    CalcBaseCheck(s);
}

}  // namespace

void SuperposeRuika(KvState& s, const RuikaGrid& g, const std::vector<double>& Ms,
                    const std::vector<double>& Mc, const std::vector<double>& Mr) {
    const int nT = g.nTs + g.nr;
    const int nC = g.nCs + g.nc + g.nr;
    s.RuikaN(0) = s.srcNmin;
    for (int i = -nT; i <= nC; ++i) s.RuikaN(i + nT + 1) = i * g.dN;
    s.RuikaN(nT + nC + 2) = s.srcNmax;

    // Steel plus concrete: best split of each grid force between the two.
    const int kLo = -g.nTs, kHi = g.nCs + g.nc;
    std::vector<double> SC(static_cast<std::size_t>(std::max(0, kHi - kLo + 1)), 0.0);
    for (int k = kLo; k <= kHi; ++k) {
        double best = 0;
        for (int m = std::max(-g.nTs, k - g.nc); m <= std::min(g.nCs, k); ++m)
            best = std::max(best, Ms.at(static_cast<std::size_t>(m + g.nTs)) + Mc.at(static_cast<std::size_t>(k - m)));
        SC[static_cast<std::size_t>(k - kLo)] = best;
    }

    // Then the bars.
    for (int i = -nT; i <= nC; ++i) {
        double best = 0;
        for (int k = std::max(kLo, i - g.nr); k <= std::min(kHi, i + g.nr); ++k)
            best = std::max(best, SC[static_cast<std::size_t>(k - kLo)] + Mr.at(static_cast<std::size_t>(i - k + g.nr)));
        s.RuikaM(i + nT + 1) = best;
    }

    double top = 0;
    for (int i = 0; i <= nT + nC + 2; ++i) top = std::max(top, s.RuikaM(i));
    s.srcMmax = top;
}

void BuildRuika(KvState& s) {
    if (s.Devide < 1 || s.Devide > kMaxDevide)
        Fail(vb::kErrInvalidCall, "Devide must lie between 1 and " + std::to_string(kMaxDevide) + " (it is " +
                                      std::to_string(s.Devide) + ")");
    // The probes move the loads; a failure leaves the engine as it was.
    KvState before = s;
    try {
        BuildRuikaOnce(s);
    } catch (...) {
        s = std::move(before);
        throw;
    }
}

double CalcSrcMu(KvState& s, double N) {
    double mu = 0;
    if (!(N > s.srcNmax || N < s.srcNmin)) {
        long i = 1;
        while (s.RuikaN(i) < N) ++i;
        const double d = N - s.RuikaN(i - 1);
        if (std::fabs(d) < 0.001)
            mu = s.RuikaM(i - 1);
        else
            mu = s.RuikaM(i - 1) +
                 SrcDiv((s.RuikaM(i) - s.RuikaM(i - 1)) * d, s.RuikaN(i) - s.RuikaN(i - 1), "curve points");
    }
    const bool ok = std::fabs(s.MomentLoad) <= mu && s.VerticalLoad >= -CalcSrcTCrit(s);
    s.srcMJadgeCode = ok ? -1 : 0;
    return mu;
}

double CalcSrcMu(KvState& s) { return CalcSrcMu(s, s.VerticalLoad); }

double CalcSrcTCrit(KvState& s) {
    const double Tr = (2.0 * s.RtNx + 2.0 * (s.RtNy - 2)) * s.RBarArea * s.RBarMatF;  // grouped bars excluded
    double k = 0;
    switch (s.Condition) {
    case 0: k = 0.75; break;
    case 1: k = 1; break;
    case 2: k = 0.5 / 0.75; break;
    default: break;
    }
    const double Tk = k * s.Tu;
    switch (s.DesignRoot) {
    case 1: case 21: return 0.8 * (Tr + Tk);
    case 2: case 22: case 23: return 0.4 * (Tr + Tk);
    case 3: return s.srcWall != 0 ? 99999999999.0 : 0.8 * (Tr + Tk);
    default: return 0;
    }
}

}  // namespace kv
