// The steel-base check as the program drives it through the engine object.
#include "engine/kv.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kv {
namespace {

// Model QX350E of the sample catalogue: series 0, plate 600 x 600, outer bolt
// rows 460 apart, two 30 mm bolts a side, column 50 mm off centre in X only.
TEST(SModeThroughKV, PerColumnCallSequenceXThenY) {
    KV kv(KV_SAMPLE_DIR);
    kv.setSIFlag(true);
    kv.setSIFactor(9.80665);
    kv.setSMode(true);
    kv.setKolvanID(100230);
    kv.setAbNum(1);
    kv.setFc(21);
    kv.setSlabFc(18);
    kv.setSlabQ_d2(0);
    kv.setSlabQ_B1X(200);
    kv.setSlabQ_B1Y(200);
    kv.setSlabQ_B2X(0);
    kv.setSlabQ_B2Y(0);
    kv.setDirection(0);
    kv.setFShear(0);
    kv.setLumoQuCond(1);
    kv.setCondition(1);
    kv.setVerticalLoad(500);
    kv.setMomentLoad(0);
    kv.setShearLoad(0);

    const double f = 9.80665;
    const double nu = 0.675 * (21 / f * 100) / 1000 * 60 * 60;   // short-term bearing
    const double tu1 = 2.8 * (0.75 * (3.0 * 3.0 / 4 * 3.141592));  // AbF·AbAe, series 0
    const double T = 2 * tu1;
    // N = 500/f lies in zone C2 (between -T and Nu/4 - T); the moment is lowered
    // by N·50/1000 for the eccentric column.
    const double n = 500 / f;
    const double muX = ((1 - std::pow((T + n) / (nu / 2), 2)) * (T + n) * 60 / 2 + T * 46 / 2) / 100 - n * 50 / 1000;
    EXPECT_NEAR(kv.Nu(), nu * f, 1e-9);
    EXPECT_NEAR(kv.Tu1(), tu1 * f, 1e-9);
    EXPECT_NEAR(kv.Mu(), muX * f, 1e-9);
    EXPECT_EQ(kv.Zone(), "A  ");  // no moment: the ray is the N axis up to Nu
    EXPECT_EQ(kv.JadgeM(), -1);
    EXPECT_EQ(kv.JadgeQ(), -1);
    EXPECT_LT(kv.Nu_(), kv.Nu());
    EXPECT_LT(kv.Tu_(), kv.Tu());

    kv.setDirection(1);
    kv.setFShear(0);
    kv.setCondition(1);
    kv.setVerticalLoad(0);
    kv.setMomentLoad(100);
    kv.setShearLoad(10);
    const double muY = ((1 - std::pow(T / (nu / 2), 2)) * T * 60 / 2 + T * 46 / 2) / 100;
    EXPECT_NEAR(kv.Mu(), muY * f, 1e-9);
    EXPECT_EQ(kv.Zone(), "C2 ");
    EXPECT_EQ(kv.JadgeM(), -1);
    EXPECT_EQ(kv.Nu_(), kv.Nu());
    EXPECT_EQ(kv.Tu_(), kv.Tu());
    // Friction at N = 0: C = ρ·2·Tu1 with ρ = M/Mu; 0.4·C in kN.
    EXPECT_NEAR(kv.Qu(), 0.4 * (100 / f) / muY * T * f, 1e-9);
    EXPECT_EQ(kv.JadgeQ(), -1);

    kv.setMomentLoad(muY * f * 1.005);
    EXPECT_EQ(kv.JadgeM(), 0);
}

}  // namespace
}  // namespace kv
