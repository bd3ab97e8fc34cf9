// Shear capacity of the base: the bending gate, the ray to the N-M curve, the
// zones with their compressive force and bolt shear, and the combinations.
#include "engine/kverror.h"
#include "engine/smode.h"
#include "test_smode_base.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kv {
namespace {

using test::MakeBase;

// The check's state at the moment it asks for the shear: Mu at N is known.
double Shear(KvState& s, double N, double M) {
    double nl;
    std::string z;
    s.Mu = CalcMuAtN(s, N, nl, z);
    return CalcQu(s, N, M, s.Condition, s.Zone);
}

// Rays from tests/engine/smode_reference.py (RAY_CASES, compared by CTest):
// one load per zone label, ultimate and service states where the bolt term
// differs; bolts with β 0.95, so that √(1 - t²) governs in some zones.
// x is where the ray leaves the curve (ratio = N / x); Qu0 friction, Qu1 bolts.
struct RayRow {
    int kind, abv, state;
    double N, M, x;
    const char* zone;
    double qu0, qu1;
};
const RayRow kRays[] = {
        {0, 0, 0, 471.0, 0.1, 495.16120999999987, "A  ", 235.5, 0.0},
        {0, 0, 0, 396.0, 12.4, 433.5246099999998, "B  ", 199.18182161180493, 0.0},
        {0, 0, 2, 149.0, 0.1, 183.05611, "C ", 66.96451768280228, 0.0},
        {0, 0, 0, 297.0, 21.0, 366.9056099999999, "C1 ", 166.80983269184685, 0.0},
        {0, 0, 0, 50.0, 25.9, 57.70061000000003, "C2 ", 44.60071340666934, 0.0},
        {0, 0, 0, -25.0, 0.3, -85.10291000000004, "D  ", 0.0, 0.0},
        {1, 0, 0, -25.0, 0.3, -86.30020999999999, "(0)", 0.0, 19.0},
        {1, 0, 0, 297.0, 21.0, 366.9056099999999, "(1)", 166.80983269184685, 19.0},
        {1, 0, 1, 297.0, 9.3, 325.1434099999998, "(2)", 119.5091104260926, 11.4},
        {1, 0, 0, 396.0, 12.4, 433.5246099999998, "(2)", 199.18182161180493, 38.0},
        {1, 0, 0, 471.0, 0.1, 495.16120999999987, "(3)", 235.5, 38.0},
        {1, 1, 0, -25.0, 0.6, -164.61381, "(0)", 0.0, 38.0},
        {1, 1, 0, 198.0, 38.9, 215.68440999999993, "(1)", 140.52969197170998, 38.0},
        {1, 1, 1, 149.0, 19.5, 210.44180999999998, "(2)", 73.68670354898856, 22.8},
        {1, 1, 0, 198.0, 25.9, 280.6674099999998, "(2)", 122.364894840673, 56.89706487954071},
        {1, 1, 0, 297.0, 21.0, 366.9056099999999, "(3)", 166.80983269184685, 56.99999999999999},
        {1, 1, 1, 297.0, 9.3, 325.1434099999998, "(4)", 119.5091104260926, 34.199999999999996},
        {1, 1, 0, 396.0, 12.4, 433.5246099999998, "(4)", 199.18182161180493, 76.0},
        {1, 1, 0, 471.0, 0.1, 495.16120999999987, "(5)", 235.5, 76.0},
        {2, 0, 2, 130.0, 0.1, 160.11111, "C ", 59.346223786719115, 0.0},
        {2, 0, 1, 33.0, 18.3, 37.63981000000001, "C2 ", 25.098714566306253, 0.0},
        {3, 1, 1, -20.0, 0.5, -123.01571000000006, "(0)", 0.0, 22.8},
        {3, 1, 0, 489.0, 0.1, 514.4335099999998, "(5)", 244.5, 76.0},
        {4, 0, 1, -19.0, 0.2, -65.09691000000011, "(0)", 0.0, 11.4},
        {4, 1, 1, 149.0, 29.2, 162.07500999999996, "(1)", 84.55363027970816, 22.8},
        {5, 0, 0, -25.0, 0.3, -86.31151000000001, "(0)", 0.0, 38.0},
        {5, 0, 0, 396.0, 23.5, 403.99990999999966, "(1)", 220.17155719267365, 38.0},
        {5, 0, 1, 294.0, 11.6, 323.21680999999967, "(2)", 122.65454771552521, 22.8},
        {5, 0, 0, 396.0, 15.7, 435.98031000000003, "(2)", 206.68185759412498, 74.93627643103997},
        {5, 0, 0, 471.0, 0.2, 495.0207099999998, "(3)", 235.5, 76.0},
        {5, 1, 0, -25.0, 0.6, -164.78450999999993, "(0)", 0.0, 38.0},
        {5, 1, 0, 297.0, 38.7, 310.34340999999984, "(1)", 191.79384879028044, 38.0},
        {5, 1, 0, 396.0, 23.5, 409.3298099999996, "(2)", 204.86077165655257, 76.0},
        {5, 1, 1, 349.0, 0.1, 366.81720999999993, "(3)", 139.6, 45.6},
        {6, 0, 0, -23.0, 0.2, -76.4989100000001, "(0)", 0.0, 0.0},
        {6, 0, 0, 374.0, 27.0, 381.4450099999999, "(1)", 206.60964176723664, 0.0},
        {6, 0, 1, 294.0, 9.2, 321.1592099999997, "(2)", 118.29092779720557, 0.0},
        {6, 0, 0, 374.0, 18.0, 405.6438099999998, "(2)", 202.4091305704929, 0.0},
        {6, 0, 0, 445.0, 0.2, 467.6288099999997, "(3)", 222.5, 0.0},
        {6, 1, 0, -23.0, 0.5, -139.13951000000003, "(0)", 0.0, 0.0},
        {6, 1, 0, 281.0, 24.9, 338.4885099999997, "(1)", 173.70644473279168, 0.0},
        {6, 1, 1, 294.0, 12.0, 300.6474099999998, "(2)", 124.04307799388523, 0.0},
        {6, 1, 0, 374.0, 13.4, 423.80231000000003, "(2)", 191.95115249625394, 0.0},
        {6, 1, 0, 445.0, 0.2, 467.6899099999996, "(3)", 222.5, 0.0},
};

TEST(CalcQu, ZonesFrictionAndBoltShearAlongTheRay) {
    for (const auto& r : kRays) {
        KvState s = MakeBase(r.kind, r.abv, r.state);
        s.BoltQu.beta = 0.95;
        Shear(s, r.N, r.M);
        const std::string where = "kind " + std::to_string(r.kind) + " AbV " + std::to_string(r.abv) + " state " +
                                  std::to_string(r.state) + " N " + std::to_string(r.N);
        EXPECT_EQ(s.Zone, r.zone) << where;
        EXPECT_NEAR(s.smode.BaseLoadRatio, r.N / r.x, 1e-12) << where;
        EXPECT_NEAR(s.Qu0, r.qu0, 1e-9 * std::max(1.0, r.qu0)) << where;
        EXPECT_NEAR(s.Qu1, r.qu1, 1e-9 * std::max(1.0, r.qu1)) << where;
    }
}

TEST(CalcQu, NoAxialForceTakesTheMomentRatio) {
    // Kind 0, ultimate, N = 0: x = 0 in zone C2 (Nu/4 - 2·Tu1 = 78.7 > 0 > -2·Tu1),
    // ρ = 0.5, C = ρ·|0 + 2·22.6194624| = 22.6194624, friction 0.5·C.
    KvState s = MakeBase(0, 0, 0);
    double nl;
    std::string z;
    const double mu = CalcMuAtN(s, 0, nl, z);
    EXPECT_NEAR(Shear(s, 0, 0.5 * mu), 11.3097312, 1e-12);
    EXPECT_EQ(s.Zone, "C2 ");
    EXPECT_EQ(s.smode.BaseLoadRatio, 0.5);
    // Long-term: the same zone reads "C " and friction is 0.4·C.
    KvState l = MakeBase(0, 0, 2);
    const double mul = CalcMuAtN(l, 0, nl, z);
    EXPECT_NEAR(Shear(l, 0, 0.5 * mul), 0.4 * 0.5 * 2 * 11.3097312, 1e-12);
    EXPECT_EQ(l.Zone, "C ");
}

TEST(CalcQu, PureAxialLoads) {
    // Compression: x = Nu, ρ = N/Nu, top zone, C = N.
    KvState c = MakeBase(0, 0, 1);
    EXPECT_NEAR(Shear(c, 100, 0), 40, 1e-12);
    EXPECT_EQ(c.Zone, "A  ");
    EXPECT_NEAR(c.smode.BaseLoadRatio, 100 / c.Nu, 1e-15);
    // Beyond Nu the ratio stops at 1, so the friction does too.
    KvState over = MakeBase(0, 0, 1);
    EXPECT_NEAR(Shear(over, 2 * over.Nu, 0), 0.4 * over.Nu, 1e-9);
    EXPECT_EQ(over.smode.BaseLoadRatio, 1);
    // Tension: x = -2·Tt, ρ = |N|/(2·Tt), no friction; bolts (two rows, ultimate):
    // t = ρ, r = min(β, √(1 - ρ²)) = 0.5, term (n + 2)·r = 2, Qu1 = 2·98.0665/9.80665.
    KvState t = MakeBase(1, 1, 0);
    EXPECT_EQ(Shear(t, -50, 0), 0);
    EXPECT_EQ(t.Zone, "(0)");
    EXPECT_NEAR(t.smode.BaseLoadRatio, 50 / (8 * t.Tu1), 1e-15);
    EXPECT_NEAR(t.Qu1, 20, 1e-12);
    KvState far = MakeBase(1, 1, 0);
    Shear(far, -1000, 0);
    EXPECT_EQ(far.smode.BaseLoadRatio, 1);
}

TEST(CalcQu, OuterRowOfThreeBoltsAddsTwoInnerShares) {
    KvState s = MakeBase(1, 1, 0);
    s.KvData.AbN = 3;
    Shear(s, -50, 0);  // term 5·0.5 + 2β = 3.5
    EXPECT_NEAR(s.Qu1, 35, 1e-12);
}

TEST(CalcQu, TensionEndExactlyOnTheLowestBound) {
    // Tu1 = 5·4 = 20 tf: x = -2·4·20 = -160 = -2(n + 2)·Tu1, so Nr sits on the bound:
    // label "(0)", no friction and no bolt share.
    KvState s = MakeBase(1, 1, 0);
    s.KvData.AbA = 4;
    s.Tu1 = CalcTu1(s);
    Shear(s, -50, 0);
    EXPECT_EQ(s.Zone, "(0)");
    EXPECT_EQ(s.Qu0, 0);
    EXPECT_EQ(s.Qu1, 0);
}

TEST(CalcQu, BendingGateAtOnePercent) {
    KvState s = MakeBase(1, 0, 0);
    double nl;
    std::string z;
    const double mu = CalcMuAtN(s, 100, nl, z);
    EXPECT_GT(Shear(s, 100, 1.01 * mu), 0) << "exactly 1 % above still has a resistance";
    s.Qu0 = s.Qu1 = s.Qu2 = 7;
    s.smode.BaseLoadRatio = 7;
    EXPECT_EQ(Shear(s, 100, 1.012 * mu), -9999.99);
    EXPECT_EQ(s.Zone, "");
    EXPECT_EQ(s.Qu0, 0);
    EXPECT_EQ(s.Qu1, 0);
    EXPECT_EQ(s.Qu2, 0);
    EXPECT_EQ(s.smode.BaseLoadRatio, 0);
}

// The catalogue minimum of the friction: set 2 (u1, a1, L1) when LumoQuCond is
// 2 for kinds 4 and 6, always for kind 5, set 1 otherwise; none for other kinds.
TEST(CalcQu, CatalogueMinimumOfFriction) {
    struct Row {
        int kind, state, cond;
        double qu0;
    } rows[] = {
        {4, 0, 2, 50}, {4, 0, 1, 60}, {4, 1, 2, 30}, {4, 2, 1, 20}, {6, 1, 1, 40},
        {6, 2, 2, 10}, {5, 0, 1, 50}, {5, 2, 1, 10}, {1, 0, 2, 0},  {0, 0, 2, 0},
    };
    for (const auto& r : rows) {
        KvState s = MakeBase(r.kind, 0, r.state);
        s.LumoQu = {10, 20, 30, 40, 50, 60};  // L1, l2, a1, a2, u1, u2
        s.LumoQuCond = static_cast<int16_t>(r.cond);
        Shear(s, -10, 0);  // tension: no friction of its own
        EXPECT_EQ(s.Qu0, r.qu0) << r.kind << " " << r.state << " " << r.cond;
    }
}

// Slab part with the fixture's widths: B1 200, B2X 600, d2 300, plate 40, so
// d1 = 260; Qs = √(600·300/(200·260))·18·200·260/1000 kN.
double SlabQs() { return std::sqrt(600.0 * 300 / (200.0 * 260)) * 18 * 200 * 260 / 1000; }

TEST(CalcQu, CombinationByKindAndShearMethods) {
    const double f = 9.80665;
    const double qu2 = 0.9 * SlabQs() / f;
    // Kind 1 in zone (1) at N = 0 with ρ = 0.2: C = 0.2·4·Tu1, Qu0 = 0.5·C = 9.05;
    // bolts (3n - 2)·β = 2, Qu1 = 2·98.0665/f = 20.
    const double qu0 = 0.5 * 0.2 * 4 * 22.6194624;
    struct Row {
        int kind;
        int16_t fshear;
        double qu;
    } rows[] = {
        {1, 0, qu0}, {1, 1, 20}, {1, 2, qu0 + qu2}, {1, 3, 20 + qu2},
        {0, 3, qu0 / 2},  // kind 0 ignores both bits (zone C2: C = 0.2·2·Tu1)
    };
    for (const auto& r : rows) {
        KvState s = MakeBase(r.kind, r.kind == 1 ? 1 : 0, 0);
        s.FShear = r.fshear;
        double nl;
        std::string z;
        const double mu = CalcMuAtN(s, 0, nl, z);
        EXPECT_NEAR(Shear(s, 0, 0.2 * mu), r.qu, 1e-9) << r.kind << " " << r.fshear;
    }
}

TEST(CalcQu, KindFourLosesTheSlabMarginAtTheCatalogueMinimum) {
    const double f = 9.80665;
    const double qs = 0.9 * SlabQs() / f;
    // m = min(600 - 200, 700 - 200) = 400; P = 0.1·18·400·7/8·(300 + 50)/1000 kN.
    const double p = 1.0 / 10 * 18 * 400 * 7 / 8 * 350 / 1000 / f;
    KvState s = MakeBase(4, 0, 0);
    s.LumoQu = {10, 20, 30, 40, 50, 60};
    s.LumoQuCond = 2;
    s.FShear = 2;
    EXPECT_NEAR(Shear(s, -10, 0), 50 + qs - p, 1e-9);
    EXPECT_NEAR(s.Qu2, qs - p, 1e-9);
    // Friction above the minimum keeps the slab part whole.
    KvState big = MakeBase(4, 0, 0);
    big.LumoQu = {1, 1, 1, 1, 1, 1};
    big.FShear = 2;
    EXPECT_NEAR(Shear(big, 100, 0), 50 + qs, 1e-9);
    EXPECT_NEAR(big.Qu2, qs, 1e-9);
    // Without bit 1 only the friction counts.
    big.FShear = 1;
    EXPECT_NEAR(Shear(big, 100, 0), 50, 1e-9);
}

TEST(CalcQu, KindSixEmbeddedTakesTheCatalogueSlabValueAlone) {
    KvState s = MakeBase(6, 0, 1);
    s.LumoQu = {10, 20, 30, 40, 50, 60};
    s.FShear = 2;
    EXPECT_EQ(Shear(s, 300, 0), 30);  // a1 of set 2, whatever the friction
    EXPECT_GT(s.Qu0, 30);
    s.FShear = 1;
    EXPECT_EQ(Shear(s, 300, 0), s.Qu0);
}

TEST(CalcQu, StateOutsideTheTableFailsWhereBoltsAreCounted) {
    KvState s = MakeBase(1, 1, 0);
    s.Condition = 3;
    std::string z;
    s.Mu = 10;
    try {
        CalcQu(s, 100, 0, 3, z);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), vb::kErrSubscript);
    }
}

// Results do not depend on what was checked before.
TEST(CalcBaseCheckShear, NoStateLeaksBetweenCases) {
    const auto run = [](KvState& s, double n, double m, int16_t cond, int16_t fshear) {
        s.VerticalLoad = n;
        s.MomentLoad = m;
        s.Condition = cond;
        s.FShear = fshear;
        CalcBaseCheck(s);
    };
    KvState fresh = MakeBase(1, 1, 1);
    run(fresh, 1500, 150, 1, 3);
    KvState used = MakeBase(1, 1, 1);
    run(used, -400, 1000, 0, 1);  // fails in bending
    run(used, 2000, 50, 0, 2);
    run(used, 1500, 150, 1, 3);
    EXPECT_EQ(used.Qu, fresh.Qu);
    EXPECT_EQ(used.Qu0, fresh.Qu0);
    EXPECT_EQ(used.Qu1, fresh.Qu1);
    EXPECT_EQ(used.Qu2, fresh.Qu2);
    EXPECT_EQ(used.Zone, fresh.Zone);
    EXPECT_EQ(used.JadgeM, fresh.JadgeM);
    EXPECT_EQ(used.JadgeQ, fresh.JadgeQ);
    EXPECT_EQ(used.smode.BaseLoadRatio, fresh.smode.BaseLoadRatio);
}

}  // namespace
}  // namespace kv
