// Characteristic points of the N-M curve: point sets worked out by hand for
// sample-catalogue bases and for every series on scripted capacities, the
// cut, move and marker rules and the undefined formulas.
#include "drawing/nm_points.h"
#include "model/adapter.h"
#include "model/base_data.h"
#include "nm_fixture.h"
#include "platform/text/vberror.h"

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace drawing;
using nmtest::FakeNM;
using nmtest::NMGlobals;

namespace {

struct Capacities {
    double Nu, Nc, Nt, Tu1;
};
using Row = std::array<double, 7>;

void ExpectRowsNear(const NMPointArray& a, const std::vector<double>& row0, const char* what) {
    for (long i = 0; i <= 6; ++i) {
        EXPECT_NEAR(a(0, i), row0[static_cast<size_t>(i)], 1e-9 * (1 + std::fabs(row0[static_cast<size_t>(i)])))
            << what << " point " << i;
        EXPECT_EQ(a(1, i), 0) << what << " second row " << i;
    }
}

// ---- the sample catalogue ----

// Point sets of sample bases worked out from their catalogue lengths (cm),
// with the engine's capacities of the state. T = AbN·Tu1. The tension ends
// of these bases lie exactly at -Tu_, so none is cut.
struct SampleCase {
    int32_t id;
    int cond, dir;
    int last;  // the last point whose moment is asked for
    std::function<Row(const Capacities&)> N;
};

const SampleCase kSampleCases[] = {
    // Series 2, L1 40, L3 30: (L1 + L3)/2/L1 = 0.875, two bolts a side.
    {100100, 0, 0, 4,
     [](const Capacities& k) {
         const double T = 2 * k.Tu1;
         return Row{k.Nu, 0.875 * k.Nu, 0.875 * k.Nu - T, k.Nu / 4 - T, -T, -2 * T, 0};
     }},
    // Long-term: the curve starts at Nu_ = 1120 below 0.875·Nu = 1323, where
    // the moment is 0 (not below), so the point stays.
    {100100, 2, 0, 4,
     [](const Capacities& k) {
         const double T = 2 * k.Tu1;
         return Row{k.Nc, 0.875 * k.Nu, 0.875 * k.Nu - T, k.Nu / 4 - T, -T, -2 * T, 0};
     }},
    // Series 0, L1 45, L3 33: 78/90 = 13/15; long-term, Nu_ below Nu, no
    // moment at points 1 and 2, the mark after point 4 all the same.
    {100210, 2, 0, 4,
     [](const Capacities& k) {
         const double T = 2 * k.Tu1;
         return Row{k.Nc, 13.0 / 15 * k.Nu, 13.0 / 15 * k.Nu - T, k.Nu / 4 - T, -T, -2 * T, 0};
     }},
    // Series 0 with its X and Y lengths: L1 64, L3 52 gives 116/128 = 0.90625;
    // L1 54, L3 42 gives 96/108 = 8/9.
    {100240, 1, 0, 4,
     [](const Capacities& k) {
         const double T = 2 * k.Tu1;
         return Row{k.Nu, 0.90625 * k.Nu, 0.90625 * k.Nu - T, k.Nu / 4 - T, -T, -2 * T, 0};
     }},
    {100240, 1, 1, 4,
     [](const Capacities& k) {
         const double T = 2 * k.Tu1;
         return Row{k.Nu, 8.0 / 9 * k.Nu, 8.0 / 9 * k.Nu - T, k.Nu / 4 - T, -T, -2 * T, 0};
     }},
    // Series 1, AbV 0, L1 44, L3 33: 77/88 = 0.875.
    {110110, 2, 0, 3,
     [](const Capacities& k) {
         const double T = 2 * k.Tu1;
         return Row{k.Nu, 0.875 * k.Nu, 0.875 * k.Nu - T, -T, -2 * T, 0, 0};
     }},
    // Series 1, AbV 1, L1 58, L3 46, L5 28: (58 + 46)/116 = 26/29 and
    // (58 + 28)/116 = 43/58; AbN + 2 = 4 and 2·AbN + 4 = 8 bolts.
    {110120, 0, 0, 5,
     [](const Capacities& k) {
         const double a = 26.0 / 29 * k.Nu, b = 43.0 / 58 * k.Nu;
         return Row{k.Nu, a, a - 2 * k.Tu1, b - 2 * k.Tu1, b - 4 * k.Tu1, -4 * k.Tu1, -8 * k.Tu1};
     }},
    // Series 4, AbV 1, L1 56, L3 44, L5 26: 100/112 = 25/28 and 82/112 = 41/56.
    {150320, 1, 0, 5,
     [](const Capacities& k) {
         const double a = 25.0 / 28 * k.Nu, b = 41.0 / 56 * k.Nu;
         return Row{k.Nu, a, a - 2 * k.Tu1, b - 2 * k.Tu1, b - 4 * k.Tu1, -4 * k.Tu1, -8 * k.Tu1};
     }},
    // Series 5, AbV 1, two bolts, L1 72, L3 58, L5 38: e = (2·58 + 2·38)/(2·4)
    // = 24, D = 36 + 24 = 60, r = (60/72)^(2/3) = (5/6)^(2/3); T5 = 4·Tu1.
    {160110, 0, 0, 3,
     [](const Capacities& k) {
         const double n1 = std::cbrt(25.0 / 36) * k.Nu;
         return Row{k.Nu, n1, n1 - 4 * k.Tu1, -4 * k.Tu1, -8 * k.Tu1, 0, 0};
     }},
    // Three bolts, L1 86, L3 70, L5 46: e = (3·70 + 2·46)/(2·5) = 30.2,
    // D = 43 + 30.2 = 73.2, r = (73.2/86)^(2/3) ≈ 0.8981; T5 = 5·Tu1.
    {160120, 2, 0, 3,
     [](const Capacities& k) {
         const double n1 = std::cbrt(73.2 * 73.2 / (86.0 * 86.0)) * k.Nu;
         return Row{k.Nu, n1, n1 - 5 * k.Tu1, -5 * k.Tu1, -10 * k.Tu1, 0, 0};
     }},
    // Series 6, AbV 0, L1 36, L3 26: r = (18 + 13)/36 = 31/36, its root √31/6
    // when ultimate; T6 = 2·Tu1.
    {170110, 0, 0, 3,
     [](const Capacities& k) {
         const double n1 = std::sqrt(31.0) / 6 * k.Nu;
         return Row{k.Nu, n1, n1 - 2 * k.Tu1, -2 * k.Tu1, -4 * k.Tu1, 0, 0};
     }},
    {170110, 1, 1, 3,
     [](const Capacities& k) {
         const double n1 = 31.0 / 36 * k.Nu;
         return Row{k.Nu, n1, n1 - 2 * k.Tu1, -2 * k.Tu1, -4 * k.Tu1, 0, 0};
     }},
    // Series 6, AbV 1, C 54, L1 50, L3 40, L5 20: W² = 54² - (54√2 - 50)²
    // = 5400√2 - 5416, W ≈ 47.125; Dn = W/√2 - 15; r = 1 - (1/√2 - 15/W)²
    // ≈ 0.8488, its root when ultimate; T6 = 4·Tu1.
    {170120, 0, 0, 3,
     [](const Capacities& k) {
         const double w = std::sqrt(5400 * std::sqrt(2.0) - 5416);
         const double n1 = std::sqrt(1 - std::pow(1 / std::sqrt(2.0) - 15 / w, 2)) * k.Nu;
         return Row{k.Nu, n1, n1 - 4 * k.Tu1, -4 * k.Tu1, -8 * k.Tu1, 0, 0};
     }},
};

TEST(CurvePointsSample, HandWorkedPointSets) {
    NMGlobals globals;
    kv::KV& engine = nmtest::SampleEngine();
    engine.setSIFlag(true);
    for (const SampleCase& c : kSampleCases) {
        SCOPED_TRACE("base " + std::to_string(c.id) + " state " + std::to_string(c.cond) + " dir " +
                     std::to_string(c.dir));
        model::KvBaseTbl& kvb = model::gKvBase(1);
        model::LoadKvBaseData(engine, c.id, 1, kvb);
        model::ColumnDataTbl& col = model::gColumns(1);
        col.KolvanID = c.id;
        col.AbNum = 1;
        col.KvV = kvb.KvV;
        col.Fc = 24;

        model::KvEngineRef ref(engine);
        model::SetKvBaseInputs(ref, col);
        engine.setDirection(static_cast<int16_t>(c.dir));
        engine.setCondition(static_cast<int16_t>(c.cond));
        const Capacities k{engine.Nu(), engine.Nu_(), engine.Tu_(), engine.Tu1()};

        NMPointArray N, M;
        int16_t iCol = 1;
        int16_t d16 = static_cast<int16_t>(c.dir);
        NMEngineKv e(engine);
        CalcNMCurvePoints(e, static_cast<int16_t>(c.cond), N, M, iCol, d16);
        const Row n = c.N(k);
        ExpectRowsNear(N, {n.begin(), n.end()}, "N");
        EXPECT_EQ(engine.Direction(), c.dir);
        EXPECT_EQ(engine.Condition(), c.cond);
        // The moments are the engine's at the points; the point after them
        // carries the mark.
        for (int i = 1; i <= c.last; ++i) {
            engine.setVerticalLoad(n[static_cast<size_t>(i)]);
            EXPECT_NEAR(M(0, i), engine.Mu(), 1e-9 * (1 + std::fabs(M(0, i)))) << "point " << i;
        }
        EXPECT_EQ(M(0, 0), 0);
        EXPECT_EQ(M(0, c.last + 1), 0.02);
        for (int i = c.last + 2; i <= 6; ++i) EXPECT_EQ(M(0, i), 0) << "point " << i;
    }
}

// ---- scripted capacities ----

class CurvePointsScripted : public ::testing::Test {
protected:
    void SetUp() override {
        kv.nu.fill(1000);
        kv.nuC.fill(1200);
        kv.tuC.fill(150);
        kv.tu1.fill(40);
        kv.data.KvLen(0, 1) = 400;  // L1 40 cm
        kv.data.KvLen(0, 3) = 300;  // L3 30 cm
        kv.data.KvLen(0, 5) = 200;  // L5 20 cm
        kv.data.KvLenC_SV(0) = 500; // C 50 cm
        kv.mu = [](int, double N) { return 100 - N * N / 20000; };
        base().AbN = 2;
        base().KvV = 0;
        base().AbV = 0;
    }
    model::KvBaseTbl& base() { return model::gKvBase(1); }
    void run(int16_t cond = 1) {
        int16_t iCol = 1, dir = 0;
        CalcNMCurvePoints(kv, cond, N, M, iCol, dir);
    }
    NMGlobals globals;
    FakeNM kv;
    NMPointArray N, M;
};

TEST_F(CurvePointsScripted, SeriesZeroWorkedExample) {
    // T = 2 x 40 = 80; (40 + 30) x 1000 / 2 / 40 = 875; -2T = -160 is cut to -150.
    run();
    ExpectRowsNear(N, {1000, 875, 795, 170, -80, -150, 0}, "N");
    const auto mu = [](double n) { return 100 - n * n / 20000; };
    // All interior moments are positive: the tension end gets the mark 0.02.
    ExpectRowsNear(M, {0, mu(875), mu(795), mu(170), mu(-80), 0.02, 0}, "M");
}

TEST_F(CurvePointsScripted, CompressionEndIsTheSmallerOfNuAndTheCurveEnd) {
    kv.nu.fill(1300);
    run();
    EXPECT_EQ(N(0, 0), 1200);
    EXPECT_DOUBLE_EQ(N(0, 1), 70 * 1300 / 2.0 / 40);
}

TEST_F(CurvePointsScripted, NegativeMomentMovesThePointToTheNearerEnd) {
    // Negative at the first point (compression) and at -T (tension).
    kv.mu = [](int, double N) { return (N > 850 || (N < 0 && N > -100)) ? -5.0 : 50.0; };
    run();
    ExpectRowsNear(N, {1000, 1200, 795, 170, -150, -150, 0}, "N");
    // Only the first zero after a moment above 0.01 is marked: point 4, not 5.
    ExpectRowsNear(M, {0, 0, 50, 50, 0.02, 0, 0}, "M");
}

TEST_F(CurvePointsScripted, MarkerNeedsAMomentAboveTheThreshold) {
    kv.mu = [](int, double) { return 0.01; };  // not above 0.01
    run();
    ExpectRowsNear(M, {0, 0.01, 0.01, 0.01, 0.01, 0, 0}, "M");
}

TEST_F(CurvePointsScripted, SecondRowIsClearedWhateverTheCallerPutThere) {
    N.fill(9);
    M.fill(9);
    base().KvV = 7;
    run();
    ExpectRowsNear(N, {0, 0, 0, 0, 0, 0, 0}, "N");
    ExpectRowsNear(M, {0, 0, 0, 0, 0, 0, 0}, "M");
}

TEST_F(CurvePointsScripted, SeriesWithoutAPointSetLeaveEverythingZero) {
    for (const auto& [series, abv] : std::initializer_list<std::pair<int, int>>{{1, 2}, {3, 2}, {4, 2}, {7, 0}, {-1, 0}}) {
        base().KvV = static_cast<int16_t>(series);
        base().AbV = static_cast<int16_t>(abv);
        kv.N = 12345;
        run();
        ExpectRowsNear(N, {0, 0, 0, 0, 0, 0, 0}, "N");
        ExpectRowsNear(M, {0, 0, 0, 0, 0, 0, 0}, "M");
        EXPECT_EQ(kv.N, 12345) << "no moment asked for series " << series;
    }
}

// Every point set worked out by hand, on capacities that differ by load state:
//   state 0: Nu 1000, Nu_ 1200, Tu_ 150, Tu1 40
//   state 1: Nu  800, Nu_  900, Tu_ 100, Tu1 30
//   state 2: Nu  600, Nu_  500, Tu_  60, Tu1 20 (the curve ends below Nu)
// with L1 40, L3 30, L5 20, C 50 cm and two bolts a side. Mu is 30 at every
// N, so the interior points carry 30 and the point after them the mark 0.02.
TEST_F(CurvePointsScripted, HandWorkedPointSetsOfEverySeries) {
    kv.nu = {1000, 800, 600};
    kv.nuC = {1200, 900, 500};
    kv.tuC = {150, 100, 60};
    kv.tu1 = {40, 30, 20};
    kv.mu = [](int, double) { return 30.0; };
    using Row = std::array<double, 7>;
    const Row m4 = {0, 30, 30, 30, 30, 0.02, 0};  // moments at points 1 to 4
    const Row m5 = {0, 30, 30, 30, 30, 30, 0.02};
    const Row m3 = {0, 30, 30, 30, 0.02, 0, 0};
    // Series 5: r = ((L1/2 + e)/L1)^(2/3).
    const double r50 = std::cbrt(49.0) / 4;          // e = L3/2 = 15: (35/40)^(2/3) = ∛49/4
    const double r51 = std::cbrt(169.0 / 256);       // e = (2·30 + 2·20)/(2·4) = 12.5: (32.5/40)^(2/3)
    const double r52 = 1 / std::cbrt(4.0);           // e = 0: (20/40)^(2/3)
    // Series 6, AbV 1: W² = C² - (√2·C - L1)² = 2500 - (6600 - 4000√2), W ≈ 39.457;
    // Dn = √2·W/2 - (L5 + L3)/4 = W/√2 - 12.5; r = 1 - (Dn/W)² ≈ 0.84766.
    const double w = std::sqrt(4000 * std::sqrt(2.0) - 4100);
    const double r61 = 1 - std::pow(1 / std::sqrt(2.0) - 12.5 / w, 2);
    struct Case {
        int KvV, AbV, cond;
        Row N, M;
    };
    const Case cases[] = {
        // Series 0 and 2, any arrangement: (L1 + L3)/2/L1 = 70/80 = 0.875, T = 2·Tu1.
        // State 1: 0.875·800 = 700, 700 - 60, 800/4 - 60 = 140, -60, -120 cut to -100.
        {2, 0, 1, {800, 700, 640, 140, -60, -100, 0}, m4},
        // State 0: 875, 875 - 80, 250 - 80 = 170, -80, -160 cut to -150.
        {2, 3, 0, {1000, 875, 795, 170, -80, -150, 0}, m4},
        // State 2 starts at Nu_ = 500: 0.875·600 = 525, 485, 150 - 40 = 110, -40, -80 cut to -60.
        {0, 0, 2, {500, 525, 485, 110, -40, -60, 0}, m4},
        // Series 1, 3, 4 with AbV 1: a = 0.875·Nu, b = (40 + 20)/80·Nu = 0.75·Nu.
        // State 1: 700, 700 - 60, 600 - 60, 600 - 4·30, -4·30, -8·30 = -240 cut to -100.
        {1, 1, 1, {800, 700, 640, 540, 480, -120, -100}, m5},
        // State 0: 875, 795, 750 - 80, 750 - 160, -160, -320 cut to -150.
        {4, 1, 0, {1000, 875, 795, 670, 590, -160, -150}, m5},
        // AbV 0, state 2: 525, 525 - 40, -40, -80 cut to -60.
        {3, 0, 2, {500, 525, 485, -40, -60, 0, 0}, m3},
        // Series 5, AbV 0, state 1: T5 = 2·30; -120 cut to -100.
        {5, 0, 1, {800, 800 * r50, 800 * r50 - 60, -60, -100, 0, 0}, m3},
        // AbV 1, state 2: T5 = 4·20 = 80; -160 cut to -60.
        {5, 1, 2, {500, 600 * r51, 600 * r51 - 80, -80, -60, 0, 0}, m3},
        // Another AbV, state 1: T5 = 4·30 = 120; -240 cut to -100.
        {5, 2, 1, {800, 800 * r52, 800 * r52 - 120, -120, -100, 0, 0}, m3},
        // Series 6, AbV 0: r = (20 + 15)/40 = 0.875, its root when ultimate;
        // T6 = 2·Tu1 and the end -2·T6 is not cut.
        {6, 0, 0, {1000, 1000 * std::sqrt(0.875), 1000 * std::sqrt(0.875) - 80, -80, -160, 0, 0}, m3},
        {6, 0, 1, {800, 700, 640, -60, -120, 0, 0}, m3},
        // AbV 1, T6 = 4·Tu1. State 0: √r·1000 ≈ 920.69, -160, -320 beyond Tu_ 150 kept.
        {6, 1, 0, {1000, 1000 * std::sqrt(r61), 1000 * std::sqrt(r61) - 160, -160, -320, 0, 0}, m3},
        // State 2: r·600 ≈ 508.60 above Nu_ 500; -160 beyond Tu_ 60 kept.
        {6, 1, 2, {500, 600 * r61, 600 * r61 - 80, -80, -160, 0, 0}, m3},
    };
    for (const Case& c : cases) {
        base().KvV = static_cast<int16_t>(c.KvV);
        base().AbV = static_cast<int16_t>(c.AbV);
        run(static_cast<int16_t>(c.cond));
        SCOPED_TRACE("series " + std::to_string(c.KvV) + " AbV " + std::to_string(c.AbV) +
                     " state " + std::to_string(c.cond));
        ExpectRowsNear(N, {c.N.begin(), c.N.end()}, "N");
        ExpectRowsNear(M, {c.M.begin(), c.M.end()}, "M");
    }
}

TEST_F(CurvePointsScripted, SeriesSixKeepsItsTensionEndAndUsesTheRootWhenUltimate) {
    base().KvV = 6;
    run(0);
    // T6 = 80: -160 lies beyond -Tu_ = -150 and stays.
    EXPECT_EQ(N(0, 4), -160);
    EXPECT_DOUBLE_EQ(N(0, 1), std::sqrt(35.0 / 40) * 1000);
    run(2);
    EXPECT_DOUBLE_EQ(N(0, 1), 35.0 / 40 * 1000);
}

TEST_F(CurvePointsScripted, SeriesSixInAnUnknownStateStillAsksForTheMomentsAtZero) {
    base().KvV = 6;
    kv.mu = [](int, double N) { return N == 0 ? -1.0 : 5.0; };
    // The fake refuses states outside 0..2, so use an arrangement outside 0..1.
    base().AbV = 4;
    run(1);
    ExpectRowsNear(N, {0, -150, -150, -150, 0, 0, 0}, "N");
    ExpectRowsNear(M, {0, 0, 0, 0, 0, 0, 0}, "M");
}

TEST_F(CurvePointsScripted, UndefinedFormulasFailInsteadOfGivingNaN) {
    struct Case {
        const char* what;
        int KvV, AbV;
        double L1mm, L3mm, Cmm;
    };
    const Case cases[] = {
        {"plate length 0, series 0", 0, 0, 0, 300, 500},
        {"plate length 0, series 4", 4, 1, 0, 300, 500},
        {"negative base under 2/3", 5, 0, 400, -1000, 500},
        {"plate length 0, series 5", 5, 1, 0, 300, 500},
        {"root of a negative number", 6, 1, 400, 300, 100},
        {"plate length 0, series 6", 6, 0, 0, 300, 500},
    };
    for (const Case& c : cases) {
        base().KvV = static_cast<int16_t>(c.KvV);
        base().AbV = static_cast<int16_t>(c.AbV);
        kv.data.KvLen(0, 1) = c.L1mm;
        kv.data.KvLen(0, 3) = c.L3mm;
        kv.data.KvLenC_SV(0) = c.Cmm;
        EXPECT_THROW(run(1), vb::Error) << c.what;
    }
    // Series 6 in the ultimate state with a ratio below 0: W = 10, Dn large.
    base().KvV = 6;
    base().AbV = 1;
    kv.data.KvLen(0, 1) = 400;
    kv.data.KvLen(0, 3) = 3000;
    kv.data.KvLenC_SV(0) = 500;
    EXPECT_THROW(run(0), vb::Error);
}

TEST_F(CurvePointsScripted, ColumnAndDirectionOf999AreWrittenBack) {
    model::gColumns.redim(2);
    model::gKvBase.redim(2);
    model::gCurCol = 2;
    model::gKvBase(2) = base();
    model::gKvBase(2).RotateMode = model::kTrue;
    model::gColumns(2).KolvanID = 4242;
    model::gDispMode = 1;
    kv.data.KvLen(1, 1) = 400;
    kv.data.KvLen(1, 3) = 300;
    int16_t iCol = 999, dir = 999;
    CalcNMCurvePoints(kv, 1, N, M, iCol, dir);
    EXPECT_EQ(iCol, 2);
    EXPECT_EQ(dir, 1);
    EXPECT_EQ(kv.direction, 1);
    EXPECT_EQ(kv.log[2], "base 4242");
    EXPECT_DOUBLE_EQ(N(0, 1), 875);
}

}  // namespace

