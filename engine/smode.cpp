#include "engine/smode.h"

#include "engine/kverror.h"
#include "platform/text/vb.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

namespace kv {
namespace {

double Sq(double x) { return x * x; }

// Power as the original language takes it: a fractional power of a negative
// number is an invalid call, not a NaN.
double Pow(double x, double y) {
    if (x < 0.0 && y != std::floor(y))
        Fail(vb::kErrInvalidCall, "Invalid procedure call or argument (fractional power of a negative number)");
    const double r = std::pow(x, y);
    if (!std::isfinite(r)) Fail(vb::kErrOverflow, "Overflow");
    return r;
}

const double kSqrt2 = std::sqrt(2.0);

// The shape digit of a kind 6 model: the third character from the end of the
// trimmed name, counted in characters rather than bytes.
std::string ShapeDigit(const std::string& name) {
    const std::string t = vb::Trim(name);
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < t.size(); ++i)
        if ((static_cast<unsigned char>(t[i]) & 0xC0) != 0x80) starts.push_back(i);
    if (starts.size() < 3)
        Fail(vb::kErrInvalidCall, "Model name \"" + t + "\" is too short to carry the shape digit of its base");
    const std::size_t at = starts[starts.size() - 3];
    return t.substr(at, starts[starts.size() - 2] - at);
}

// The label of a zone. The searches ask the same zone over and over: an equal
// label is left as it is rather than written again.
inline void SetZone(std::string& zone, std::string_view label) {
    bool same = zone.size() == label.size();
    for (std::size_t i = 0; same && i < label.size(); ++i) same = zone[i] == label[i];
    if (!same) zone.assign(label);
}

// Kinds 0 and 2 outside the long-term state.
double ZoneMoment02(double N, double Nu, double D, double d1, double T, std::string& zone) {
    const double a = Div((D + d1) * Nu, 2 * D);
    if (N > Nu) {
        SetZone(zone, "");
        return 0;
    }
    if (N > a) {
        SetZone(zone, "A");
        return (1 - Div(N, Nu)) * D * N / 2;
    }
    if (N > a - T) {
        SetZone(zone, "B");
        return Div(Sq((D + d1) / 2) * Nu, 2 * D) - N * d1 / 2;
    }
    const double tn = T + N;
    if (N > Nu / 4 - T) {
        SetZone(zone, "C1");
        return (1 - Div(tn, Nu)) * tn * D / 2 + T * d1 / 2;
    }
    if (N > -T) {
        SetZone(zone, "C2");
        return (1 - Sq(Div(tn, Nu / 2))) * tn * D / 2 + T * d1 / 2;
    }
    if (N > -2 * T) {
        SetZone(zone, "D");
        return (2 * T + N) * d1 / 2;
    }
    SetZone(zone, "");
    return 0;
}

// Kinds 1, 3 and 4 with one bolt row per side.
double ZoneMoment134Row(double N, double Nu, double D, double d1, double T) {
    const double l1 = Div(D + d1, 2 * D);
    const double m1 = Div(D - d1, 2 * D);
    if (N > Nu) return 0;
    if (N > l1 * Nu) return (1 - Div(N, Nu)) * (D / 2) * N;
    if (N > l1 * Nu - T) return Div(Sq(D + d1) * Nu, 8 * D) - (d1 / 2) * N;
    if (N > m1 * Nu - T) {
        const double t = T + N;
        return (1 - Div(t, Nu)) * t * D / 2 + (d1 / 2) * T;
    }
    if (N > m1 * Nu - 2 * T) return Div(Sq(D - d1) * Nu, 8 * D) + (2 * T + N) * d1 / 2;
    if (N > -2 * T) {
        const double t = 2 * T + N;
        return (1 - Div(t, Nu)) * t * D / 2;
    }
    return 0;
}

// Kinds 1, 3 and 4 with the inner row of 2 bolts per side.
double ZoneMoment134TwoRows(double N, double Nu, double D, double d1, double d2, int n, double Tu1) {
    const double T = n * Tu1;
    const double l1 = Div(D + d1, 2 * D);
    const double l2 = Div(D + d2, 2 * D);
    const double m2 = Div(D - d2, 2 * D);
    const double m1 = Div(D - d1, 2 * D);
    const double Tn2 = (n + 2) * Tu1;
    const double Tn4 = (n + 4) * Tu1;
    const double T2n4 = (2 * n + 4) * Tu1;
    if (N > Nu) return 0;
    if (N > l1 * Nu) return (1 - Div(N, Nu)) * (D / 2) * N;
    if (N > l1 * Nu - T) return Div(Sq(D + d1) * Nu, 8 * D) - (d1 / 2) * N;
    if (N > l2 * Nu - T) {
        const double t = T + N;
        return (1 - Div(t, Nu)) * t * D / 2 + (d1 / 2) * T;
    }
    if (N > l2 * Nu - Tn2) return Div(Sq(D + d2) * Nu, 8 * D) + ((d1 - d2) / 2) * T - (d2 / 2) * N;
    if (N > m2 * Nu - Tn2) {
        const double t = Tn2 + N;
        return (1 - Div(t, Nu)) * t * D / 2 + ((n * d1 + 2 * d2) / 2) * Tu1;
    }
    if (N > m2 * Nu - Tn4) return Div(Sq(D - d2) * Nu, 8 * D) + (((n + 4) * d2 + n * d1) / 2) * Tu1 + (d2 / 2) * N;
    if (N > m1 * Nu - Tn4) {
        const double t = Tn4 + N;
        return (1 - Div(t, Nu)) * t * D / 2 + (d1 / 2) * T;
    }
    if (N > m1 * Nu - T2n4) return Div(Sq(D - d1) * Nu, 8 * D) + (n + 2) * d1 * Tu1 + (d1 / 2) * N;
    if (N > -T2n4) {
        const double t = T2n4 + N;
        return (1 - Div(t, Nu)) * t * D / 2;
    }
    return 0;
}

// (a/D)^(2/3) of one base: the shear's ray search asks for it at every point
// along the ray with the same a and D, and pow is most of the cost there. The
// last value is kept per thread, keyed by the exact bits of both inputs, so
// every result and every error stays what a fresh computation gives.
double ZoneFactor5(double a, double D) {
    struct Last {
        double a = 0, D = 0, k = 0;
        bool set = false;
    };
    thread_local Last last;
    if (last.set && std::memcmp(&last.a, &a, sizeof a) == 0 && std::memcmp(&last.D, &D, sizeof D) == 0)
        return last.k;
    const double k = Pow(Div(a, D), 2.0 / 3.0);
    last = {a, D, k, true};
    return k;
}

double ZoneMoment5(double N, double Nu, double D, double d1, double d2, int n, double Tu1, int abV) {
    double T = n * Tu1;
    double g = 0;
    if (abV == 1) {
        T = (n + 2) * Tu1;
        g = Div(n * d1 + 2 * d2, 2 * (n + 2));
    } else if (abV == 0) {
        g = d1 / 2;
    }
    const double a = D / 2 + g;
    const double b = D / 2 - g;
    const double ka = ZoneFactor5(a, D);
    const double kb = Div(1.5 * b, D);
    if (N > Nu) return 0;
    if (N > ka * Nu) return (1 - Pow(Div(N, Nu), 1.5)) * (D / 2) * N;
    if (N > ka * Nu - T) return ka * (a / 2) * Nu - N * g;
    const double t = T + N;
    if (N > Nu / 2.25 - T) return (1 - Pow(Div(t, Nu), 1.5)) * t * D / 2 + T * g;
    if (N > kb * Nu - T) return (1 - Div(t, 1.5 * Nu)) * t * D / 2 + T * g;
    if (N > kb * Nu - 2 * T) return Div(0.75 * Sq(b) * Nu, D) + (2 * T + N) * g;
    if (N > -2 * T) {
        const double t2 = 2 * T + N;
        return (1 - Div(t2, 1.5 * Nu)) * t2 * D / 2;
    }
    return 0;
}

// Kind 6 with the inner bolts: the octagon taken as the square of the same
// area, loaded across its diagonal.
double ZoneMoment6TwoRows(double N, double Nu, double D, double d1, double d2, double C, int n, double Tu1,
                          int state) {
    const double T = (n + 2) * Tu1;
    const double g = (d1 + d2) / 4;
    const double R = Sqrt(C * C - Sq(kSqrt2 * C - D));
    const double Dd = kSqrt2 * R;
    const double a = Dd / 2 + g;
    const double b = Dd / 2 - g;
    const auto P = [&](double x) { return Dd * Dd * Dd / 4 - Sq(Dd - x) * (2 * x + Dd) / 3; };
    const auto Q = [&](double x) { return Dd * Dd / 2 - Sq(Dd - x); };
    const auto G = [&](double x) { return Dd / 2 - Div(P(x), Q(x)); };
    const bool ultimate = state == 0;

    if (N > Nu) return 0;
    const double k = ultimate ? Sqrt(1 - Sq(Div(b, R))) : 1 - Sq(Div(b, R));
    if (N > k * Nu) {
        const double r = Div(N, Nu);
        const double x = Dd - Sqrt(1 - (ultimate ? Sq(r) : r)) * R;
        return G(x) * N;
    }
    if (N > k * Nu - T) {
        const double H = a - Div(P(a), Q(a));
        return k * H * Nu - N * g;
    }
    const double t = T + N;
    if (N > (ultimate ? Nu / kSqrt2 : Nu / 2) - T) {
        const double r = Div(t, Nu);
        const double x = Dd - Sqrt(1 - (ultimate ? Sq(r) : r)) * R;
        return G(x) * t + T * g;
    }
    if (N > -T) {
        const double x = ultimate ? Div(t * R, Nu) : Sqrt(Div(t, Nu)) * R;
        return (Dd / 2 - 2 * x / 3) * t + T * g;
    }
    if (N > -2 * T) return (2 * T + N) * g;
    return 0;
}

double ZoneMoment6Row(double N, double Nu, double D, double d1, int n, double Tu1, int state) {
    const double T = n * Tu1;
    const double g = d1 / 2;
    const double a = D / 2 + g;
    const bool ultimate = state == 0;
    if (N > Nu) return 0;
    const double bound = ultimate ? Sqrt(Div(a, D)) * Nu : Div(a, D) * Nu;
    if (N > bound) {
        const double r = Div(N, Nu);
        return (1 - (ultimate ? Sq(r) : r)) * D * N / 2;
    }
    if (N > bound - T) return (ultimate ? (a / 2) * Sqrt(Div(a, D)) * Nu : Div(a * a, 2 * D) * Nu) - N * g;
    if (N > -T) {
        const double t = T + N;
        const double r = Div(t, Nu);
        return (1 - (ultimate ? Sq(r) : r)) * t * D / 2 + T * g;
    }
    if (N > -2 * T) return (2 * T + N) * g;
    return 0;
}

// Every N-M curve of the base is zero below this axial force (the lowest
// tension end of all cascades), so a walk that passes it can never succeed.
double LowestCurveEnd(const KvState& s) { return -(2.0 * s.KvData.AbN + 4) * std::fabs(s.Tu1) - 1; }

[[noreturn]] void FailNoLimit(const char* which) {
    Fail(vb::kErrInvalidCall, std::string("The N-M curve of this base has no positive moment capacity; its ") + which +
                                  " end cannot be found");
}

}  // namespace

double CalcNu(const KvState& s) {
    const auto& k = s.KvData;
    double fc = s.Fc;
    if (!s.SMode) {
        if (s.SIFlag) {
            if (fc > 31) fc = 30;
        } else if (fc > 305) {
            fc = 300;
        }
    }
    double fc21 = 210;
    if (s.SIFlag) {
        fc = Div(fc, s.SIFactor) * 100;
        fc21 = Div(21, s.SIFactor) * 100;
    }
    if (s.Condition < 0 || s.Condition > 2) return 0;
    const int st = s.Condition;
    // Bearing coefficient by kind and state.
    static const double kPlain[3] = {0.9, 0.675, 0.45};
    static const double kKind3[3] = {0.935, 2.0 / 3.0 * 1.1, 1.0 / 3.0 * 1.1};
    static const double kKind5[3] = {0.9, 2.0 / 3.0, 1.0 / 3.0};
    static const double kKind6[3] = {0.85, 2.0 / 3.0, 1.0 / 3.0};
    double c = 0;
    switch (k.KvV) {
    case 0:
    case 1:
    case 2:
    case 4: c = kPlain[st]; break;
    case 3: c = kKind3[st]; break;
    case 5: c = kKind5[st]; break;
    case 6: c = kKind6[st]; break;
    default: return 0;
    }
    if (k.KvV == 2) fc = fc21;

    const auto rectangle = [&] { return c * fc / 1000 * (k.KvLen(0, 1) / 10) * (k.KvLen(0, 2) / 10); };
    if (k.KvV != 6) return rectangle();
    const std::string shape = ShapeDigit(s.KvName);
    if (shape == "4") return rectangle();
    if (shape == "8") {
        const double C = k.KvLenC_SV(0) / 10;
        const double A = k.KvLen(0, 1) / 10;
        return k.bb_SV * c * fc / 1000 * (C * C - Sq(kSqrt2 * C - A));
    }
    return 0;
}

double CalcTu1(const KvState& s) {
    const auto& k = s.KvData;
    if (k.KvV == 6) return k.Tu(s.Condition);
    switch (s.Condition) {
    case 0: return k.AbF * k.AbA;
    case 1: return k.AbF * k.AbAe;
    case 2: return k.AbF * k.AbAe * 2 / 3;
    default: return 0;
    }
}

double CalcMuAtN(const KvState& s, double N, double& Nl, std::string& zone) {
    const auto& k = s.KvData;
    Nl = s.Nu;
    const int d = s.Direction;
    const double D = k.KvLen(d, 1) / 10;
    const double d1 = k.KvLen(d, 3) / 10;
    const double d2 = k.KvLen(d, 5) / 10;
    const double e = k.HenshinE(d);
    const int n = k.AbN;
    const double Nu = s.Nu;
    const double Tu1 = s.Tu1;
    const int st = s.Condition;

    double M = 0;
    switch (k.KvV) {
    case 0:
    case 2:
        M = st == 2 ? CalcMuLongTerm(s, N, Nl) : ZoneMoment02(N, Nu, D, d1, n * Tu1, zone);
        break;
    case 1:
    case 3:
    case 4:
        if (k.AbV == 0)
            M = ZoneMoment134Row(N, Nu, D, d1, n * Tu1);
        else if (k.AbV == 1)
            M = ZoneMoment134TwoRows(N, Nu, D, d1, d2, n, Tu1);
        break;
    case 5: M = ZoneMoment5(N, Nu, D, d1, d2, n, Tu1, k.AbV); break;
    case 6:
        if (st < 0 || st > 2) break;
        if (k.AbV == 1)
            M = ZoneMoment6TwoRows(N, Nu, D, d1, d2, k.KvLenC_SV(d) / 10, n, Tu1, st);
        else if (k.AbV == 0)
            M = ZoneMoment6Row(N, Nu, D, d1, n, Tu1, st);
        break;
    default: break;
    }
    return M / 100 - std::fabs(N * e / 1000);
}

double CalcMuLongTerm(const KvState& s, double N, double& Nl) {
    const auto& k = s.KvData;
    const int d = s.Direction;
    double fc = k.KvV == 2 ? (s.SIFlag ? 0.021 : 0.21) : s.Fc / 1000;
    if (s.SIFlag) fc = Div(fc, s.SIFactor) * 100;
    const double fa = fc / 3;

    const double D = k.KvLen(d, 1) / 10;
    const double B = k.KvLen(d, 2) / 10;
    const double d1 = k.KvLen(d, 3) / 10;
    const int nb = k.AbV == 1 ? k.AbN + 2 : k.AbN;
    const double Tb = nb * s.Tu1;
    const double Nu = s.Nu;

    // The eccentricities count in whole millimetres here.
    const double ex = vb::CInt(k.HenshinE(d)) / 10.0;
    const double ey = vb::CInt(k.HenshinE(1 - d)) / 10.0;

    const double g = (D + d1) / 2;
    const double h = d1 / 2;
    const double A = B * D;
    const double r1 = Div(ey, B);
    const double r2 = Div(ex, D);

    const double kk = Div((2 * r1 + 1) * r2, 0.8225 - 2 * r1);
    const double s1 = Sqrt((2 * r1 + 1) * (2 * r2 + 1));
    const double s2 = Sqrt((2 * r1 + 1) * Div(D, g) * (Div(g, D) + 2 * r2));
    const double s3 = Sqrt((2 * r1 + 1) * Div(g, D) * (Div(g, D) + 2 * r2));
    const double P1 = 0.9 * kk * fc * A;
    const double P2 = P1 - Tb;
    const double P3 = fa * A * s1;

    bool plastic;
    if (s1 >= 1.35) {
        Nl = Nu;
        plastic = true;
    } else if (s2 >= 1.35) {
        Nl = P1 > P3 ? Nu : P3;
        plastic = N < P1;
    } else {
        Nl = P2 > P3 ? Nu : P3;
        plastic = N < P2;
    }

    if (plastic) {
        if (N > Nl) return 0;
        if (N > Div(Nu * g, D)) return (D * N / 2) * (1 - Div(N, Nu));
        if (N > Div(Nu * g, D) - Tb) return Div(Nu * Sq(g), 2 * D) - N * h;
        if (N > -Tb) return Tb * h + ((Tb + N) * D / 2) * (1 - Div(Tb + N, Nu));
        if (N > -2 * Tb) return (2 * Tb + N) * h;
        return 0;
    }
    const auto S = [&](double x) { return Sqrt(Sq(r2) * Sq(D) + Div(Sq(x), Sq(fa) * Sq(B) * (2 * r1 + 1))); };
    const double top = fa * A * s3;
    if (N > Nl) return 0;
    if (N > top) return (N / 2) * (D * (1 + r2) - S(N));
    if (N > top - Tb) return (g / 2) * fa * A * s3 - N * h;
    if (N > -Tb) return Tb * h + ((Tb + N) / 2) * (D * (1 + r2) - S(Tb + N));
    if (N > -2 * Tb) return (2 * Tb + N) * h;
    return 0;
}

// Walks down from the start in unit steps, then in steps down to 1e-6, and
// keeps the last point whose capacity was not positive.
double FindNuLimit(const KvState& s, double& Nl) {
    const auto& k = s.KvData;
    double x = s.Nu;
    if ((s.Condition == 2 && k.KvV == 0) || k.KvV == 2) x = Nl;
    if (std::fabs(k.HenshinE(s.Direction)) <= 0.001) return x;

    const double lowest = LowestCurveEnd(s);
    std::string zone;
    double t = 1;
    for (int level = 0; level <= 6; ++level) {
        for (;;) {
            x -= t;
            if (CalcMuAtN(s, x, Nl, zone) > 0) break;
            if (x < lowest) FailNoLimit("compression");
        }
        x += t;
        t /= 10;
    }
    return x;
}

// Walks up from -Tu with steps down to 1e-3; the level count is explicit
// because 1/10/10/10 is exactly 0.001 in doubles.
double FindTuLimit(const KvState& s, double Tu) {
    if (std::fabs(s.KvData.HenshinE(s.Direction)) <= 0.001) return Tu;
    double nl = 0;
    std::string zone;
    double x = -Tu;
    double t = 1;
    for (int level = 0; level <= 3; ++level) {
        for (;;) {
            x += t;
            if (CalcMuAtN(s, x, nl, zone) > 0) break;
            // Above the top of the curve the capacity stays zero or below.
            if (x > std::max(s.Nu, nl) + 1) FailNoLimit("tension");
        }
        x -= t;
        t /= 10;
    }
    return -x;
}

void CalcBaseCheck(KvState& s) {
    const auto& k = s.KvData;
    const double f = s.SIFlag ? s.SIFactor : 1.0;

    // Refused before anything is written, so no result is left half scaled.
    if (k.AbV != 0 && k.AbV != 1)
        Fail(kErrCatalogue, "Anchor-bolt arrangement " + std::to_string(k.AbV) + " of model " +
                                std::to_string(k.ID) + " is not supported");

    s.Nu = CalcNu(s);
    s.Tu1 = CalcTu1(s);

    const int bolts = k.AbV == 0 ? 2 * k.AbN : 2 * k.AbN + 4;
    if (bolts > INT16_MAX || bolts < INT16_MIN) Fail(vb::kErrOverflow, "Overflow");
    s.Tu = bolts * s.Tu1;

    const double N = Div(s.VerticalLoad, f);
    s.Mu = CalcMuAtN(s, N, s.Nl, s.Zone);
    const double atMax = (k.KvV == 5 || k.KvV == 6) ? Pow(0.4, 2.0 / 3.0) * s.Nu - s.Tu / 2 : (s.Nu - s.Tu) / 2;
    s.MuMax = CalcMuAtN(s, atMax, s.Nl, s.Zone);

    s.Qu = CalcQu(s, N, Div(s.MomentLoad, f), s.Condition, s.Zone);
    s.Nu_ = FindNuLimit(s, s.Nl);
    s.Tu_ = FindTuLimit(s, s.Tu);

    s.Mu *= f;
    const bool shearNA = !(s.Qu > -9999.9);
    if (!shearNA) {
        s.Qu *= f;
        s.Qu0 *= f;
        s.Qu1 *= f;
        s.Qu2 *= f;
    } else {
        s.Qu = std::floor(f) == 1 ? -9999.99 : -99999.99;
    }
    s.Nu *= f;
    s.Nu_ *= f;
    s.Nl *= f;
    s.MuMax *= f;
    s.Tu *= f;
    s.Tu_ *= f;
    s.Tu1 *= f;

    const double Nv = s.VerticalLoad;
    const double Mv = std::fabs(s.MomentLoad);
    const double Mu = std::fabs(s.Mu);
    if (Nv > s.Nu_ || Nv < -s.Tu_) {
        s.JadgeM = 0;
    } else if (Mu < 0.001) {
        // No capacity: only a load without moment strictly inside the curve passes.
        s.JadgeM = (-s.Tu_ < Nv && Nv < s.Nu_ && Mv < 0.001) ? -1 : 0;
    } else if (s.Condition != 0) {
        s.JadgeM = Mv > Mu ? 0 : -1;
    } else if (Mv > 1.01 * Mu) {
        s.JadgeM = 0;
    } else if (Mv > Mu) {
        s.JadgeM = 1;
    } else if (Mv > 0.99 * Mu) {
        s.JadgeM = 2;
    } else {
        s.JadgeM = -1;
    }

    // Judged on every check, so no verdict of an earlier case stays behind; a
    // base that fails in bending first has no shear resistance to pass.
    if (shearNA || std::fabs(s.ShearLoad) > std::fabs(s.Qu))
        s.JadgeQ = 0;
    else
        s.JadgeQ = s.FShear <= 0 ? -1 : 1;
}

}  // namespace kv
