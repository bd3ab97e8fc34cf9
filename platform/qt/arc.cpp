#include "platform/qt/arc.h"

#include <cmath>

namespace vbqt {

namespace {
constexpr double kTwoPi = 6.283185307179586;
// Callers compute a full turn in single precision (6.2831855); that must still
// read as a full turn, not as a sliver.
constexpr double kTurnTolerance = 1e-5;

double normalised(double a) {
    double r = std::fmod(a, kTwoPi);
    if (r < 0) r += kTwoPi;
    if (r >= kTwoPi - kTurnTolerance * 1e-3) r = 0;
    return r;
}
}  // namespace

ArcSweep arcSweep(double start, double end) {
    ArcSweep out;
    if (!std::isfinite(start) || !std::isfinite(end)) return out;
    const double s = normalised(start);
    double span = normalised(end) - s;
    if (span < 0) span += kTwoPi;
    const double raw = std::fabs(end - start);
    const bool wholeTurns =
        std::fabs(raw - kTwoPi * std::round(raw / kTwoPi)) <= kTurnTolerance;
    if (wholeTurns || span <= 1e-12) return out;
    out.startDeg = s * 180.0 / M_PI;
    out.spanDeg = span * 180.0 / M_PI;
    out.full = false;
    return out;
}

}  // namespace vbqt
