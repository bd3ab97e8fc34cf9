// SRC component strengths: concrete, main bars and steel column, each as a
// moment capacity at a given axial force, plus the bar and steel tables.
#include "engine/src.h"

#include "engine/kverror.h"
#include "platform/text/vb.h"

#include <cmath>
#include <string_view>
#include <utility>

namespace kv {

double SrcDiv(double a, double b, const char* what) {
    if (b == 0.0) Fail(vb::kErrDivByZero, std::string("Division by zero in the SRC check: ") + what);
    const double q = a / b;
    if (!std::isfinite(q)) Fail(vb::kErrOverflow, std::string("Overflow in the SRC check: ") + what);
    return q;
}

double SrcSqrt(double x, const char* what) {
    if (!(x >= 0.0)) Fail(vb::kErrInvalidCall, std::string("No real solution in the SRC check: ") + what);
    return std::sqrt(x);
}

void ConcStressFactor(KvState& s, double Fc, double c) {
    switch (s.Condition) {
    case 2: s.fcd = (1.0 / 3.0) * (1 - 15 * c) * Fc; break;
    case 1: s.fcd = (2.0 / 3.0) * (1 - 15 * c) * Fc; break;
    case 0: s.fcd = (0.85 - 2.5 * c) * Fc; break;
    default: break;
    }
}

namespace {

constexpr const char* kPlateFit = "the base plate does not fit in the concrete section";

// Larger root of p·x² + q·x + r = 0.
double LargerRoot(double p, double q, double r) {
    return SrcDiv(-q + SrcSqrt(q * q - 4 * p * r, kPlateFit), 2 * p, kPlateFit);
}

// Linear stress block (allowable states).
double ConcMLinear(double N, double D, double B, double a, double b, double f, double cNmax) {
    if (N < 0) return 0;
    if (N < (D - a) * B * f / 4) {
        const double xn = SrcDiv(2 * N, B * f, kPlateFit);
        return (D / 2 - xn / 3) * N;
    }
    if (N < ((D + a) * B / 4 - SrcDiv(a * a * b, D + a, kPlateFit)) * f) {
        const double p = B - b;
        const double q = (D - a) * b - 2 * SrcDiv(N, f, kPlateFit);
        const double r = -(D - a) * (D - a) * b / 4;
        const double xn = LargerRoot(p, q, r);
        const double u = xn - (D - a) / 2;
        return ((D / 2 - xn / 3) * xn * B - SrcDiv(u * u * b * (D + 2 * a - 2 * xn), 6 * xn, kPlateFit)) * f / 2;
    }
    if (N < cNmax / 2) {
        const double xn = LargerRoot(B, -2 * (SrcDiv(N, f, kPlateFit) + a * b), a * b * D);
        return ((D / 2 - xn / 3) * xn * B / 2 - SrcDiv(a * a * a * b, 12 * xn, kPlateFit)) * f;
    }
    if (N <= cNmax) {
        // At N = cNmax the factor is 0, also for a section without strength.
        const double ratio = N == cNmax ? 1.0 : SrcDiv(N, cNmax, "concrete axial capacity");
        return SrcDiv((B * D * D * D - b * a * a * a) * (1 - ratio) * f, 6 * D, "concrete section depth");
    }
    return 0;
}

// Rectangular stress block (ultimate state).
double ConcMUltimate(double N, double D, double B, double a, double b, double f, double cNmax) {
    if (N > cNmax) return 0;
    if (N > ((D + a) / 2 * B - a * b) * f) {
        const double xn = SrcDiv(SrcDiv(N, f, kPlateFit) + a * b, B, kPlateFit);
        return (B * f / 2) * (D - xn) * xn;
    }
    if (N > (D - a) / 2 * B * f) {
        const double xn = SrcDiv(SrcDiv(N, f, kPlateFit) - (D - a) * b / 2, B - b, kPlateFit);
        return (D - a) * (D + a) * B * f / 8 - (xn - (D - a) / 2) * (B - b) * (xn - (D + a) / 2) * f / 2;
    }
    if (0 <= N) {
        // N = 0 carries no moment even when the concrete has no strength.
        const double x = N == 0 ? 0.0 : SrcDiv(N, B * f, kPlateFit);
        return (D - x) * N / 2;
    }
    return 0;
}

}  // namespace

double CalcConcM(KvState& s, double N) {
    double D = 0, B = 0, c = 0;
    if (s.Direction == 0) {
        D = s.cDx / 10;
        B = s.cDy / 10;
        c = s.spcx;
    } else if (s.Direction == 1) {
        D = s.cDy / 10;
        B = s.cDx / 10;
        c = s.spcy;
    }
    // Plate region, which carries no concrete (another direction fails here).
    const double a = s.KvData.KvLen(s.Direction, 1) / 10;
    const double b = s.KvData.KvLen(s.Direction, 2) / 10;
    ConcStressFactor(s, s.Fc, c);
    const double f = s.SIFlag ? s.fcd / 10 : s.fcd / 1000;
    s.cNmax = (D * B - a * b) * f;

    double M = 0;
    if (s.Condition == 1 || s.Condition == 2)
        M = ConcMLinear(N, D, B, a, b, f, s.cNmax);
    else if (s.Condition == 0)
        M = ConcMUltimate(N, D, B, a, b, f, s.cNmax);
    return M / 100;
}

double CalcRebarM(KvState& s, double N) {
    const double A = s.RBarArea;
    const double Fr = s.RBarMatF;
    double nt = 0, nm = 0, rD = 0;
    if (s.Direction == 0) {
        nt = s.RtNx + 2.0 * s.RTabaneX;
        nm = s.RmNx;
        rD = s.rDx / 10;
    } else if (s.Direction == 1) {
        nt = s.RtNy + 2.0 * s.RTabaneY;
        nm = s.RmNy;
        rD = s.rDy / 10;
    }

    if (s.Condition == 1 || s.Condition == 2) {
        const double ft = s.Condition == 2 ? (2.0 / 3.0) * Fr : Fr;
        s.rNmax = (2 * nt + nm) * A * ft;
        s.rMmax = rD * nt * A * ft / 100;
        if (-s.rNmax < N && N <= s.rNmax) return (1 - std::fabs(N) / s.rNmax) * s.rMmax;
        return 0;
    }
    if (s.Condition == 0) {
        s.rNmax = (2 * nt + nm) * A * Fr * 1.1;
        const double Nm = nm * A * Fr * 1.1;  // side bars
        s.rMmax = rD * nt * A * Fr / 100 * 1.1;
        if (-Nm < N && N <= Nm) return s.rMmax;
        if (Nm < N && N <= s.rNmax) return (1 - (N - Nm) / (s.rNmax - Nm)) * s.rMmax;
        if (-s.rNmax < N && N <= -Nm) return (1 + (N + Nm) / (s.rNmax - Nm)) * s.rMmax;
        return 0;
    }
    s.rNmax = 0;
    s.rMmax = 0;
    return 0;
}

double CalcColM(KvState& s, double N) {
    const double Fs = s.ColMatF;
    double A = 0, Z = 0, Zp = 0;
    if (s.Direction == 0) {
        A = s.ColAx;
        Z = s.ColZx;
        Zp = s.ColZpx;
    } else if (s.Direction == 1) {
        A = s.ColAy;
        Z = s.ColZy;
        Zp = s.ColZpy;
    }

    if (s.Condition == 1 || s.Condition == 2) {
        const double fs = s.Condition == 2 ? (2.0 / 3.0) * Fs : Fs;
        s.colNmax = fs * A;
        s.colMmax = fs * Z / 100;
        if (-s.colNmax < N && N <= s.colNmax) return (1 - std::fabs(N) / s.colNmax) * s.colMmax;
        return 0;
    }
    if (s.Condition == 0) {
        s.colNmax = Fs * A * 1.1;
        s.colMmax = Fs * Zp / 100 * 1.1;
        double k = 0;
        switch (s.ColV) {
        case 0: k = 0.25; break;
        case 1: k = 0.2; break;
        case 2: case 3: case 4: case 5: case 6: case 7: k = 0.125; break;
        default: break;
        }
        const double Nr = k * s.colNmax;
        if (-Nr < N && N <= Nr) return s.colMmax;
        if (Nr < N && N <= s.colNmax) return (1 - (N - Nr) / (s.colNmax - Nr)) * s.colMmax;
        if (-s.colNmax < N && N <= -Nr) return (1 + (N + Nr) / (s.colNmax - Nr)) * s.colMmax;
        return 0;
    }
    s.colNmax = 0;
    s.colMmax = 0;
    return 0;
}

double GetBarArea(const std::string& size) {
    static constexpr std::pair<std::string_view, double> kAreas[] = {
        {"D6", 0.3167}, {"D10", 0.7133}, {"D13", 1.267}, {"D16", 1.986}, {"D19", 2.865},
        {"D22", 3.871}, {"D25", 5.067},  {"D29", 6.424}, {"D32", 7.942}, {"D35", 9.566},
        {"D38", 11.40}, {"D41", 13.40},  {"D51", 20.27},
    };
    const std::string key = vb::UCase(vb::Trim(size));
    for (const auto& [name, area] : kAreas)
        if (key == name) return area;
    return 0;
}

double GetSteelF(const KvState& s, const std::string& grade) {
    struct Row {
        std::string_view grade;
        double si, old;
    };
    static constexpr Row kRows[] = {
        {"SD295", 29.5, 3.0},  {"BCR295", 29.5, 3.0}, {"SD345", 34.5, 3.5},  {"SD390", 39, 4.0},
        {"SD490", 49, 5.0},    {"SM490", 32.5, 3.3},  {"SN490", 32.5, 3.3},  {"SNR490", 32.5, 3.3},
        {"BCP325", 32.5, 3.3}, {"SS400", 23.5, 2.4},  {"SN400", 23.5, 2.4},  {"SNR400", 23.5, 2.4},
        {"BCP235", 23.5, 2.4}, {"STK400", 23.5, 2.4}, {"STKR400", 23.5, 2.4},
    };
    const std::string key = vb::UCase(vb::Trim(grade));
    for (const auto& r : kRows)
        if (key == r.grade) return s.SIFlag ? r.si : r.old;
    return 0;
}

}  // namespace kv
