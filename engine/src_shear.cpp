// SRC shear resistance, share ratios and column rank.
#include "engine/kverror.h"
#include "engine/smode.h"
#include "engine/src.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

namespace kv {

namespace {

// The check reports a shear it could not evaluate as -9999.99 / -99999.99.
bool QuApplicable(double qu) { return qu > -9999.9; }

// The steel base's shear under the probe loads; a probe always checks, also
// when the new moment is within the property's change threshold.
void Probe(KvState& s, double N, double M) {
    s.VerticalLoad = N;
    s.MomentLoad = M;
    CalcBaseCheck(s);
}

// What the steel base and column carry (Qs).
double SteelShear(KvState& s, double mu, double N0, double M0) {
    if (N0 < 0) {
        // The bars take the tension first; the base gets the rest.
        const double colM0 = CalcColM(s, 0);
        Probe(s, N0 < -s.rNmax ? N0 + s.rNmax : 0, M0);
        const double m = std::min({colM0, s.Mu, std::fabs(M0)});
        Probe(s, s.VerticalLoad, m);
        return QuApplicable(s.Qu) ? s.Qu : 0;
    }

    const double Qf = mu * std::min({N0, s.colNmax, s.Nu_});
    if (std::fabs(M0) < 1e-10) return Qf;

    // Scale a load that fails the base's bending until it passes.
    if (s.JadgeM == 0) {
        for (int k = 2;; ++k) {
            if (k > kMaxShearScale)
                Fail(vb::kErrInvalidCall, "SRC shear: the steel base fails in bending even at 1/" +
                                              std::to_string(kMaxShearScale) + " of the load");
            Probe(s, N0 / k, std::fabs(M0) / k);
            if (s.JadgeM == -1) break;
        }
    }
    const double q1 = QuApplicable(s.Qu) ? SrcDiv(s.Qu, s.smode.BaseLoadRatio, "load ratio of the steel base") : 0;

    // Where the load ray meets the steel column's interaction line.
    const std::array<std::array<double, 2>, 2> A{{
        {SrcDiv(s.colNmax, s.colMmax, "moment capacity of the steel column"), 1},
        {std::fabs(N0) / std::fabs(M0), -1},
    }};
    std::array<double, 2> x{};
    double q2 = 0;
    if (Solve2x2(A, {s.colNmax, 0}, x)) {
        Probe(s, x[1], x[0]);
        if (s.JadgeQ != 0 && QuApplicable(s.Qu)) q2 = s.Qu;
    }
    const double q[] = {Qf, q1, q2};
    return ArrayMax(q);
}

double SrcQuOnce(KvState& s) {
    const double mu = s.Condition == 0 ? 0.5 : 0.4;  // friction

    CalcRebarM(s, 0);
    const double N0 = s.VerticalLoad;
    const double M0 = s.MomentLoad;
    const double Qs = SteelShear(s, mu, N0, M0);
    Probe(s, N0, M0);

    double D = 0, B = 0, rD = 0, nq = 0;
    if (s.Direction == 0) {
        D = s.cDx;
        B = s.cDy;
        rD = s.rDx;
        nq = s.RqNx - 4.0 * s.RTabaneX;
    } else if (s.Direction == 1) {
        D = s.cDy;
        B = s.cDx;
        rD = s.rDy;
        nq = s.RqNy - 4.0 * s.RTabaneY;
    }
    const double b = s.KvData.KvLen(s.Direction, 2);
    const double de = (D - (D - rD) / 2) / 10;
    const double j = (7.0 / 8.0) * de;

    double alpha = 0;
    switch (s.Condition) {
    case 1: case 2: alpha = 4; break;
    case 0: alpha = 2; break;
    default: return 0;  // no state, no resistance
    }
    const double fs = ConcShearStress(s);

    const double bars = 0.5 * nq * s.RBarArea * s.RBarMatF;
    if (N0 >= 0) return ((B - b) / 10) * alpha * j * fs / 1000 + Qs + bars;
    return Qs + bars;  // no concrete in tension
}

// Share of the steel base in the tension, by state.
double BaseShare(int condition, double longTerm) {
    switch (condition) {
    case 0: return 0.75;
    case 1: return 1;
    case 2: return longTerm;
    default: return 0;
    }
}

double PerimeterBarsTension(const KvState& s) {
    return (2.0 * s.RtNx + 2.0 * (s.RtNy - 2)) * s.RBarArea * s.RBarMatF;
}

}  // namespace

double ConcShearStress(const KvState& s) {
    const double c1 = s.SIFlag ? 0.5 : 5;
    const double c2 = s.SIFlag ? 2.25 : 22.5;
    double fs = 0;
    switch (s.Condition) {
    case 1: fs = std::min(s.Fc / 20, 1.5 * (s.Fc / 100 + c1)); break;
    case 2: fs = std::min(s.Fc / 20, 1.5 * (s.Fc / 100 + c1)) / 1.5; break;
    case 0: fs = std::min(0.15 * s.Fc, 4.5 * s.Fc / 100 + c2); break;
    default: return 0;
    }
    return s.SIFlag ? fs * 100 : fs;
}

double CalcSrcQu(KvState& s) {
    // The probes move the loads; a failure leaves the engine as it was.
    KvState before = s;
    double qu = 0;
    try {
        qu = SrcQuOnce(s);
    } catch (...) {
        s = std::move(before);
        throw;
    }
    s.srcQJadgeCode = qu >= std::fabs(s.ShearLoad) ? -1 : 0;
    return qu;
}

double CalcSrcNRatio(KvState& s) {
    // Long-term 1.5 here, unlike the limit force and the bending share.
    const double Tk = BaseShare(s.Condition, 1.5) * s.Tu;
    const double Tr = PerimeterBarsTension(s);
    return SrcDiv(Tk, Tk + Tr, "axial share ratio without tensile capacity");
}

double CalcSrcMRatio(KvState& s, int direction) {
    const double Md = BaseShare(s.Condition, 0.5 / 0.75) * s.Tu / 2 * s.KvData.KvLen(direction, 3) / 10;
    double nt = 0, rD = 0;
    if (direction == 0) {
        nt = s.RtNx + 2.0 * s.RTabaneX;
        rD = s.rDx;
    } else if (direction == 1) {
        nt = s.RtNy + 2.0 * s.RTabaneY;
        rD = s.rDy;
    }
    const double Mr = nt * s.RBarArea * s.RBarMatF * rD / 10;
    return SrcDiv(Md, Md + Mr, "bending share ratio without bending capacity");
}

std::string GetColRank(KvState& s) {
    if (s.srcWall != 0) return "耐震壁付き";
    if (s.DesignRoot != 3) return "";
    const double T = CalcSrcTCrit(s);
    const double N = s.VerticalLoad;
    if (N >= -T / 2) return "FA";
    if (N < -T) return "";
    const double ratio = CalcSrcNRatio(s);
    if (ratio >= 0.2) return "FB";
    if (ratio >= 0.15) return "FD";
    return "";
}

bool Solve2x2(const std::array<std::array<double, 2>, 2>& A, const std::array<double, 2>& b,
              std::array<double, 2>& x) {
    const double det = A[0][0] * A[1][1] - A[1][0] * A[0][1];
    if (std::fabs(det) < 1e-30) {
        x = {0, 0};
        return false;
    }
    x[0] = (A[1][1] * b[0] - A[0][1] * b[1]) / det;
    x[1] = (A[0][0] * b[1] - A[1][0] * b[0]) / det;
    return true;
}

double ArrayMax(std::span<const double> v) {
    double m = -1e300;
    for (double e : v)
        if (e > m) m = e;
    return m;
}

double ArrayMin(std::span<const double> v) {
    double m = 1e300;
    for (double e : v)
        if (e < m) m = e;
    return m;
}

}  // namespace kv
