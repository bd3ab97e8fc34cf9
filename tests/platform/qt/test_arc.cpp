#include "platform/qt/arc.h"

#include <gtest/gtest.h>

#include <cmath>

using vbqt::arcSweep;

namespace {
constexpr double kPi = 3.14159265358979;
const double kTwoPiSingle = static_cast<float>(2 * kPi);
}  // namespace

TEST(ArcSweep, CounterClockwiseFromStartToEnd) {
    struct Case {
        double st, ed;
        double startDeg, spanDeg;
    };
    const Case cases[] = {
        {0, kPi / 2, 0, 90},
        {kPi / 2, kPi, 90, 90},
        // End below start wraps through 0.
        {3 * kPi / 2, kPi / 2, 270, 180},
        {kPi, 0.5 * kPi, 180, 270},
        // Negative angles are taken modulo a turn, never handed on.
        {-kPi / 2, 0, 270, 90},
        {-kPi, -kPi / 2, 180, 90},
        // An end at 2π in single precision still ends at 0.
        {3 * kPi / 2, kTwoPiSingle, 270, 90},
        {kPi, 2 * kPi, 180, 180},
    };
    for (const Case& c : cases) {
        const auto s = arcSweep(c.st, c.ed);
        EXPECT_FALSE(s.full) << c.st << ".." << c.ed;
        EXPECT_NEAR(s.startDeg, c.startDeg, 1e-4) << c.st << ".." << c.ed;
        EXPECT_NEAR(s.spanDeg, c.spanDeg, 1e-4) << c.st << ".." << c.ed;
    }
}

TEST(ArcSweep, EqualEndsOrAWholeTurnAreTheFullCircle) {
    EXPECT_TRUE(arcSweep(0, kTwoPiSingle).full);
    EXPECT_TRUE(arcSweep(0, 2 * kPi).full);
    EXPECT_TRUE(arcSweep(1.0, 1.0).full);
    EXPECT_TRUE(arcSweep(NAN, 1.0).full);
    EXPECT_FALSE(arcSweep(0, 0.001).full);
}
