#include "engine/kverror.h"
#include "engine/smode.h"
#include "platform/text/vb.h"

#include <cmath>
#include <optional>

namespace kv {
namespace {

double Sgn(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }
double Sq(double x) { return x * x; }

// Zones of the shear curve: 0 above Nu, 1..n the ranges above each bound from
// the top, n + 1 the lowest range (Nr at or above `low`), n + 2 below it.
struct Zones {
    int count;  // bounds given
    int range;
};

Zones RangeOf(double Nr, double Nu, std::initializer_list<double> bounds, double low) {
    const int n = static_cast<int>(bounds.size());
    if (Nr > Nu) return {n, 0};
    int i = 1;
    for (double b : bounds) {
        if (Nr > b) return {n, i};
        ++i;
    }
    return {n, Nr >= low ? n + 1 : n + 2};
}

struct Labels {
    const char* upper;   // outside above Nu; nullptr for none
    const char* inside;  // one per range 1..n + 1, three characters each
    const char* lower;   // outside below the lowest bound; nullptr for none
};

// The label of a range; an outside range is labelled only where the ray met no
// capacity (|cap| < 0.0001) while the load itself lies on the curve's side.
std::string LabelOf(const Zones& z, const Labels& l, double cap, double N, double Nu, double low) {
    if (z.range == 0) return l.upper && std::fabs(cap) < 0.0001 && N < Nu ? l.upper : "";
    if (z.range == z.count + 2) return l.lower && std::fabs(cap) < 0.0001 && N > low ? l.lower : "";
    return std::string(l.inside + 3 * (z.range - 1), 3);
}

}  // namespace

double CalcQu(KvState& s, double N, double M, int16_t state, std::string& zone) {
    const auto& k = s.KvData;
    zone = "";
    const int d = s.Direction;
    const double D1 = k.KvLen(d, 1);
    const double D3 = k.KvLen(d, 3);
    const double D5 = k.KvLen(d, 5);
    const double e = k.HenshinE(d);
    const int n = k.AbN;
    const double Nu = s.Nu;
    const double Tu1 = s.Tu1;
    if (k.AbV != 0 && k.AbV != 1)
        Fail(kErrCatalogue, "Anchor-bolt arrangement " + std::to_string(k.AbV) + " of model " +
                                std::to_string(k.ID) + " is not supported");
    const double Tt = (k.AbV == 0 ? n : n + 2) * Tu1;

    const double Mstar = M + Sgn(M) * std::fabs(N) * e / 1000;
    const double Mcap = s.Mu + std::fabs(N) * e / 1000;

    // Bending governs: no shear resistance, and nothing of an earlier case may
    // stand beside the not-applicable result.
    if (vb::Int(std::fabs(Mstar) * 1000) / 1000 > vb::Int(1.01 * Mcap * 1000) / 1000) {
        s.Qu0 = 0;
        s.Qu1 = 0;
        s.Qu2 = 0;
        s.smode.BaseLoadRatio = 0;
        return -9999.99;
    }

    // Where the ray from the origin through the load leaves the capacity curve.
    double x = N;
    double rho;
    double cap = Mcap;
    if (std::fabs(N) < 0.001) {
        rho = Div(std::fabs(Mstar), Mcap);
    } else if (std::fabs(Mstar) < 0.001) {
        if (N >= 0) {
            x = Nu;
            rho = Div(std::fabs(N), Nu);
        } else {
            x = -2 * Tt;
            rho = Div(std::fabs(N), 2 * Tt);
        }
        if (rho > 1) rho = 1;
    } else {
        double nl = 0;
        std::string z;
        double step = 10 * Sgn(N);
        for (;;) {
            x += step;
            const double ray = std::fabs(Mstar) * x / N;
            cap = CalcMuAtN(s, x, nl, z) + std::fabs(x) * e / 1000;
            if (ray < cap) continue;
            x -= step;
            step /= 10;
            if (std::fabs(step) > 0.00009) continue;
            x += step;
            break;
        }
        rho = Div(N, x);
    }
    const double Nr = vb::Fix(x * 1000) / 1000;

    // Compressive force under the plate and the bolt term by zone.
    const double beta = s.BoltQu.beta;
    const auto r = [&](double t) {
        // A bolt whose tensile share reaches 1 has no shear left.
        const double rest = 1 - t * t;
        return std::min(beta, rest > 0 ? std::sqrt(rest) : 0.0);
    };
    double C = 0;
    std::optional<double> term;
    const bool ultimate = state == 0;
    const bool serviceState = state == 1 || state == 2;

    switch (k.KvV) {
    case 0:
    case 2: {
        const double l3 = Div(D1 + D3, 2 * D1);
        const double nT = n * Tu1;
        const double low = -2 * n * Tu1;
        const Zones z = RangeOf(Nr, Nu, {l3 * Nu, l3 * Nu - nT, Nu / 4 - nT, -nT}, low);
        zone = LabelOf(z, {"A  ", "A  B  C1 C2 D  ", "D  "}, cap, N, Nu, low);
        switch (z.range) {
        case 1: C = rho * x; break;
        case 2: C = rho * l3 * Nu; break;
        case 3: C = rho * (x + nT); break;
        case 4: C = rho * std::fabs(x + nT); break;
        default: break;
        }
        break;
    }
    case 1:
    case 3:
    case 4: {
        const double l3 = Div(D1 + D3, 2 * D1);
        const double nT = n * Tu1;
        if (k.AbV == 1) {
            const double l5 = Div(D1 + D5, 2 * D1);
            const double n2T = (n + 2) * Tu1;
            const double low = -2 * (n + 2) * Tu1;
            const Zones z = RangeOf(Nr, Nu, {l3 * Nu, l3 * Nu - nT, l5 * Nu - nT, l5 * Nu - n2T, -n2T}, low);
            zone = LabelOf(z, {"(5)", "(5)(4)(3)(2)(1)(0)", "(0)"}, cap, N, Nu, low);
            switch (z.range) {
            case 0: term = 0; break;
            case 1:
                C = rho * x;
                term = 4 * n * beta;
                break;
            case 2:
                C = rho * l3 * Nu;
                if (serviceState) term = 3 * n * beta;
                if (ultimate) term = 3 * n * beta + n * r(Div((l3 * Nu - x) * rho, n * Tu1));
                break;
            case 3:
                C = rho * (x + nT);
                term = 3 * n * beta;
                break;
            case 4:
                C = rho * l5 * Nu;
                if (serviceState) term = (3 * n - 2) * beta;
                if (ultimate) term = (3 * n - 2) * beta + 2 * r(Div((l5 * Nu - n * Tu1 - x) * rho, n * Tu1));
                break;
            case 5:
                C = rho * (x + n2T);
                term = (3 * n - 2) * beta;
                break;
            case 6:
                if (Nr > low) {
                    const double t = Div((-(n + 2) * Tu1 - x) * rho, (n + 2) * Tu1);
                    const double r0 = std::fabs(1 - t * t) < 0.000001 ? 0.0 : r(t);
                    term = (n + 2) * r0 + (n == 3 ? 2 * beta : 0.0);
                } else {
                    term = 0;
                }
                break;
            default: term = 0; break;
            }
        } else {
            // These terms are those of two bolts per side, as the catalogue's
            // single-row bases have.
            const double low = -4 * Tu1;
            const Zones z = RangeOf(Nr, Nu, {l3 * Nu, l3 * Nu - nT, -2 * Tu1}, low);
            zone = LabelOf(z, {"(3)", "(3)(2)(1)(0)", "(0)"}, cap, N, Nu, low);
            switch (z.range) {
            case 1:
                C = rho * x;
                term = 4 * beta;
                break;
            case 2:
                C = rho * l3 * Nu;
                if (serviceState) term = 2 * beta;
                if (ultimate) term = 2 * (beta + r(Div((l3 * Nu - x) * rho, n * Tu1)));
                break;
            case 3:
                C = rho * (x + nT);
                term = 2 * beta;
                break;
            case 4: term = 2 * r(Div((-2 * Tu1 - x) * rho, 2 * Tu1)); break;
            case 5: term = 0; break;
            default: break;
            }
        }
        break;
    }
    case 5: {
        const double g = k.AbV == 1 ? Div(n * D3 + 2 * D5, 2 * (n + 2)) : D3 / 2;
        const double a5 = Div(D1 / 2 + g, D1);
        if (a5 < 0) Fail(vb::kErrInvalidCall, "Invalid procedure call or argument (fractional power of a negative number)");
        const double k5 = std::pow(a5, 2.0 / 3.0);
        const double low = -2 * Tt;
        const Zones z = RangeOf(Nr, Nu, {k5 * Nu, k5 * Nu - Tt, -Tt}, low);
        zone = LabelOf(z, {"(3)", "(3)(2)(1)(0)", nullptr}, cap, N, Nu, low);
        const int nB = n == 2 ? 8 : (n == 3 ? 12 : 0);
        const int nC = n == 2 ? 4 : (n == 3 ? 7 : 0);
        switch (z.range) {
        case 0: term = 0; break;
        case 1:
            C = rho * x;
            term = nB * beta;
            break;
        case 2: {
            C = rho * k5 * Nu;
            if (serviceState) term = nC * beta;
            const double t = Div((k5 * Nu - x) * rho, Tt);
            if (ultimate && n == 2) term = 4 * (beta + r(t));
            if (ultimate && n == 3) term = 7 * beta + 5 * r(t);
            break;
        }
        case 3:
            C = rho * (x + Tt);
            term = nC * beta;
            break;
        case 4: {
            const double t = Div((-Tt - x) * rho, Tt);
            if (n == 2) term = 4 * r(t);
            if (n == 3) term = 2 * beta + 5 * r(t);
            break;
        }
        default: term = 0; break;
        }
        break;
    }
    case 6: {
        if (state < 0 || state > 2) break;
        double kk;
        if (k.AbV == 1) {
            const double g6 = (D5 / 10 + D3 / 10) / 4;
            const double c = k.KvLenC_SV(d) / 10;
            const double s6 = Sqrt(c * c - Sq(std::sqrt(2.0) * c - D1 / 10));
            const double hm = std::sqrt(2.0) * s6 / 2 - g6;
            kk = 1 - Sq(Div(hm, s6));
        } else {
            kk = Div(D1 + D3, 2 * D1);
        }
        const double k6 = ultimate ? Sqrt(kk) : kk;
        const double low = -2 * Tt;
        const Zones z = RangeOf(Nr, Nu, {k6 * Nu, k6 * Nu - Tt, -Tt}, low);
        zone = LabelOf(z, {nullptr, "(3)(2)(1)(0)", nullptr}, cap, N, Nu, low);
        switch (z.range) {
        case 1: C = rho * x; break;
        case 2: C = rho * k6 * Nu; break;
        case 3: C = rho * (x + Tt); break;
        default: break;
        }
        break;
    }
    default: break;
    }

    s.Qu0 = std::fabs(C) > 0.001 ? (ultimate ? 0.5 : 0.4) * C : 0;
    if (state == 2) {
        std::string bare;
        for (char ch : zone)
            if (ch != ' ') bare += ch;
        if (bare == "C1" || bare == "C2") zone = "C ";
    }

    // Catalogue minimum of the friction.
    double q = 0;
    const auto& lq = s.LumoQu;
    const bool set2 = k.KvV == 5 || ((k.KvV == 4 || k.KvV == 6) && s.LumoQuCond == 2);
    if (k.KvV == 4 || k.KvV == 5 || k.KvV == 6) {
        switch (state) {
        case 0: q = set2 ? lq.u1 : lq.u2; break;
        case 1: q = set2 ? lq.a1 : lq.a2; break;
        case 2: q = set2 ? lq.L1 : lq.l2; break;
        default: break;
        }
    }
    if (s.Qu0 < q) s.Qu0 = q;

    // The bolt table holds kN.
    s.Qu1 = term ? Div(*term * s.BoltQu.bQ(state), s.SIFactor) : 0;
    s.Qu2 = CalcSlabQ(s);

    const bool washers = (s.FShear & 1) != 0;
    const bool slab = (s.FShear & 2) != 0;
    double Qu = s.Qu0;
    switch (k.KvV) {
    case 1:
    case 5:
        if (washers && s.Qu1 > Qu) Qu = s.Qu1;
        if (slab) Qu = Qu + s.Qu2;
        break;
    case 4:
        if (std::fabs(s.Qu0 - q) < 0.001) s.Qu2 = s.Qu2 - s.SlabP(state);
        if (slab) Qu = s.Qu0 + s.Qu2;
        break;
    case 6:
        if (slab) Qu = s.Qu2;
        break;
    default: break;
    }

    s.smode.BaseLoadRatio = rho;
    return Qu;
}

}  // namespace kv
