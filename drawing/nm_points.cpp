#include "drawing/nm_points.h"

#include "engine/kverror.h"
#include "model/direction.h"
#include "model/globals.h"

#include <cmath>

namespace drawing {

namespace {

// (D / L1) ^ (2 / 3); a negative base has no real power.
double PowTwoThirds(double x) {
    if (x < 0.0 || std::isnan(x))
        kv::Fail(vb::kErrInvalidCall,
                 "Invalid procedure call or argument (negative base under the power 2/3)");
    return std::pow(x, 2.0 / 3.0);
}

}  // namespace

void CalcNMCurvePoints(NMEngine& kv, int16_t condition, NMPointArray& N, NMPointArray& M,
                       int16_t& iCol, int16_t& dir) {
    using kv::Div;
    using kv::Sqrt;
    if (iCol == 999) iCol = model::gCurCol;
    if (dir == 999) dir = model::GetKvDirection(iCol);
    N.fill(0);
    M.fill(0);

    const model::ColumnDataTbl& col = model::gColumns(iCol);
    const model::KvBaseTbl& kvb = model::gKvBase(iCol);

    kv.setDirection(dir);
    kv.setCondition(condition);
    kv.setBaseInputs(col);
    const double Tu1 = kv.Tu1();
    const double Nu = kv.Nu();
    const double Nc = kv.Nu_();
    const double Nt = kv.Tu_();
    const kv::KvDataTblC data = kv.KvData();
    const double L1 = data.KvLen(dir, 1) / 10;
    const double L3 = data.KvLen(dir, 3) / 10;
    const double AbN = kvb.AbN;
    const int16_t AbV = kvb.AbV;
    const int16_t KvV = kvb.KvV;
    const double T = AbN * Tu1;
    const double n0 = Nu > Nc ? Nc : Nu;
    const auto limited = [Nt](double n) { return std::fabs(n) > Nt ? -Nt : n; };

    int first = 0;  // interior points whose moments are evaluated
    int last = -1;
    int end = -1;   // the tension-end point
    if (KvV == 0 || KvV == 2) {
        const double n1 = Div((L1 + L3) * Nu / 2, L1);
        N(0, 0) = n0;
        N(0, 1) = n1;
        N(0, 2) = n1 - T;
        N(0, 3) = Nu / 4 - T;
        N(0, 4) = -T;
        N(0, 5) = limited(-2 * T);
        first = 1, last = 4, end = 5;
    } else if ((KvV == 1 || KvV == 3 || KvV == 4) && AbV == 1) {
        const double L5 = kv.KvData().KvLen(dir, 5) / 10;
        const double n1 = Div((L1 + L3) / 2, L1) * Nu;
        const double n3 = Div((L1 + L5) / 2, L1) * Nu;
        N(0, 0) = n0;
        N(0, 1) = n1;
        N(0, 2) = n1 - T;
        N(0, 3) = n3 - T;
        N(0, 4) = n3 - (AbN + 2) * Tu1;
        N(0, 5) = -(AbN + 2) * Tu1;
        N(0, 6) = limited(-(2 * AbN + 4) * Tu1);
        first = 1, last = 5, end = 6;
    } else if ((KvV == 1 || KvV == 3 || KvV == 4) && AbV == 0) {
        const double n1 = Div((L1 + L3) / 2, L1) * Nu;
        N(0, 0) = n0;
        N(0, 1) = n1;
        N(0, 2) = n1 - T;
        N(0, 3) = -T;
        N(0, 4) = limited(-2 * T);
        first = 1, last = 3, end = 4;
    } else if (KvV == 5) {
        double e = 0;
        double T5 = (AbN + 2) * Tu1;
        if (AbV == 0) {
            e = L3 / 2;
            T5 = AbN * Tu1;
        } else if (AbV == 1) {
            const double L5 = kv.KvData().KvLen(dir, 5) / 10;
            e = Div(AbN * L3 + 2 * L5, 2 * (AbN + 2));
        }
        const double D = L1 / 2 + e;
        const double r = PowTwoThirds(Div(D, L1));
        N(0, 0) = n0;
        N(0, 1) = r * Nu;
        N(0, 2) = r * Nu - T5;
        N(0, 3) = -T5;
        N(0, 4) = limited(-2 * T5);
        first = 1, last = 3, end = 4;
    } else if (KvV == 6) {
        first = 1, last = 3, end = 4;
        if ((AbV == 0 || AbV == 1) && condition >= 0 && condition <= 2) {
            double T6 = 0;
            double r = 0;
            if (AbV == 0) {
                T6 = AbN * Tu1;
                r = Div(L1 / 2 + L3 / 2, L1);
            } else {
                T6 = (AbN + 2) * Tu1;
                const kv::KvDataTblC again = kv.KvData();
                const double L5 = again.KvLen(dir, 5) / 10;
                const double C = again.KvLenC_SV(dir) / 10;
                const double a = std::sqrt(2.0) * C - L1;
                const double W = Sqrt(C * C - a * a);
                const double Dn = std::sqrt(2.0) * W / 2 - (L5 + L3) / 4;
                const double q = Div(Dn, W);
                r = 1 - q * q;
            }
            if (condition == 0) r = Sqrt(r);
            N(0, 0) = n0;
            N(0, 1) = r * Nu;
            N(0, 2) = r * Nu - T6;
            N(0, 3) = -T6;
            N(0, 4) = -2 * T6;  // not cut at the tension end
        }
    }

    for (int k = first; k <= last && last >= 0; ++k) {
        kv.setVerticalLoad(N(0, k));
        M(0, k) = kv.Mu();
        if (M(0, k) < 0) {
            // Beyond the curve: the point moves to the nearer end.
            M(0, k) = 0;
            N(0, k) = N(0, k) > 0 ? Nc : -Nt;
        }
    }
    if (end >= 0) M(0, end) = 0;

    // A zero moment right after a positive one is marked 0.02 so that the
    // diagram still counts that point (its tests are "> 0.01").
    for (int i = 0; i <= 5; ++i) {
        if (M(0, i) > 0.01 && std::fabs(M(0, i + 1)) < 0.001) {
            M(0, i + 1) = 0.02;
            break;
        }
    }
}

void CalcNMCurvePoints(int16_t condition, NMPointArray& N, NMPointArray& M, int16_t& iCol,
                       int16_t& dir) {
    NMEngineKv kv = GlobalNMEngine();
    CalcNMCurvePoints(kv, condition, N, M, iCol, dir);
}

}  // namespace drawing
