// Characteristic points of the N-M curve: the formulas per series on the
// sample catalogue's engine, and the cut, move and marker rules and the
// undefined formulas on scripted capacities.
#include "drawing/nm_points.h"
#include "model/adapter.h"
#include "model/base_data.h"
#include "nm_fixture.h"
#include "platform/text/vberror.h"

#include <cmath>
#include <tuple>

using namespace drawing;
using nmtest::FakeNM;
using nmtest::NMGlobals;

namespace {

struct Capacities {
    double Nu, Nc, Nt, Tu1;
};

// The point table of a series, written out from the catalogue formulas.
std::vector<double> ExpectedN(int KvV, int AbV, int AbN, int cond, const Capacities& k, double L1,
                              double L3, double L5, double C) {
    const double n0 = std::min(k.Nu, k.Nc);
    const double T = AbN * k.Tu1;
    const auto cut = [&](double n) { return std::fabs(n) > k.Nt ? -k.Nt : n; };
    if (KvV == 0 || KvV == 2) {
        const double n1 = (L1 + L3) * k.Nu / 2 / L1;
        return {n0, n1, n1 - T, k.Nu / 4 - T, -T, cut(-2 * T), 0};
    }
    if ((KvV == 1 || KvV == 3 || KvV == 4) && AbV == 1) {
        const double a = (L1 + L3) / 2 / L1 * k.Nu;
        const double b = (L1 + L5) / 2 / L1 * k.Nu;
        return {n0, a, a - T, b - T, b - (AbN + 2) * k.Tu1, -(AbN + 2) * k.Tu1,
                cut(-(2 * AbN + 4) * k.Tu1)};
    }
    if ((KvV == 1 || KvV == 3 || KvV == 4) && AbV == 0) {
        const double a = (L1 + L3) / 2 / L1 * k.Nu;
        return {n0, a, a - T, -T, cut(-2 * T), 0, 0};
    }
    if (KvV == 5) {
        const double e = AbV == 0 ? L3 / 2 : AbV == 1 ? (AbN * L3 + 2 * L5) / (2 * (AbN + 2)) : 0;
        const double T5 = AbV == 0 ? AbN * k.Tu1 : (AbN + 2) * k.Tu1;
        const double r = std::pow((L1 / 2 + e) / L1, 2.0 / 3.0);
        return {n0, r * k.Nu, r * k.Nu - T5, -T5, cut(-2 * T5), 0, 0};
    }
    if (KvV == 6 && (AbV == 0 || AbV == 1)) {
        double T6 = AbN * k.Tu1;
        double r = (L1 / 2 + L3 / 2) / L1;
        if (AbV == 1) {
            T6 = (AbN + 2) * k.Tu1;
            const double W = std::sqrt(C * C - std::pow(std::sqrt(2.0) * C - L1, 2));
            const double Dn = std::sqrt(2.0) * W / 2 - (L5 + L3) / 4;
            r = 1 - (Dn / W) * (Dn / W);
        }
        if (cond == 0) r = std::sqrt(r);
        return {n0, r * k.Nu, r * k.Nu - T6, -T6, -2 * T6, 0, 0};
    }
    return {0, 0, 0, 0, 0, 0, 0};
}

// Interior points and the tension end of a series' set.
std::pair<int, int> Interior(int KvV, int AbV) {
    if (KvV == 0 || KvV == 2) return {1, 4};
    if (KvV == 1 || KvV == 3 || KvV == 4) return AbV == 1 ? std::pair{1, 5} : AbV == 0 ? std::pair{1, 3} : std::pair{0, -1};
    if (KvV == 5 || KvV == 6) return {1, 3};
    return {0, -1};
}

void ExpectRowsNear(const NMPointArray& a, const std::vector<double>& row0, const char* what) {
    for (long i = 0; i <= 6; ++i) {
        EXPECT_NEAR(a(0, i), row0[static_cast<size_t>(i)], 1e-9 * (1 + std::fabs(row0[static_cast<size_t>(i)])))
            << what << " point " << i;
        EXPECT_EQ(a(1, i), 0) << what << " second row " << i;
    }
}

// ---- the sample catalogue ----

class CurvePointsSample : public ::testing::TestWithParam<std::tuple<int32_t, int, int>> {
protected:
    NMGlobals globals;
};

TEST_P(CurvePointsSample, FollowTheSeriesTable) {
    const auto [id, cond, dir] = GetParam();
    kv::KV& engine = nmtest::SampleEngine();
    engine.setSIFlag(true);
    model::KvBaseTbl& kvb = model::gKvBase(1);
    model::LoadKvBaseData(engine, id, 1, kvb);
    model::ColumnDataTbl& col = model::gColumns(1);
    col.KolvanID = id;
    col.AbNum = 1;
    col.KvV = kvb.KvV;
    col.Fc = 24;

    // The capacities and dimensions the routine reads, from the engine in
    // the same state.
    model::KvEngineRef ref(engine);
    model::SetKvBaseInputs(ref, col);
    engine.setDirection(static_cast<int16_t>(dir));
    engine.setCondition(static_cast<int16_t>(cond));
    const Capacities k{engine.Nu(), engine.Nu_(), engine.Tu_(), engine.Tu1()};
    const kv::KvDataTblC d = engine.KvData();
    std::vector<double> n =
        ExpectedN(kvb.KvV, kvb.AbV, kvb.AbN, cond, k, d.KvLen(dir, 1) / 10, d.KvLen(dir, 3) / 10,
                  d.KvLen(dir, 5) / 10, d.KvLenC_SV(dir) / 10);
    std::vector<double> m(7, 0.0);
    const auto [first, last] = Interior(kvb.KvV, kvb.AbV);
    for (int i = first; i <= last; ++i) {
        engine.setVerticalLoad(n[static_cast<size_t>(i)]);
        m[static_cast<size_t>(i)] = engine.Mu();
        if (m[static_cast<size_t>(i)] < 0) {
            m[static_cast<size_t>(i)] = 0;
            n[static_cast<size_t>(i)] = n[static_cast<size_t>(i)] > 0 ? k.Nc : -k.Nt;
        }
    }
    for (size_t i = 0; i + 1 < 7; ++i)
        if (m[i] > 0.01 && std::fabs(m[i + 1]) < 0.001) {
            m[i + 1] = 0.02;
            break;
        }

    NMPointArray N, M;
    int16_t iCol = 1;
    int16_t d16 = static_cast<int16_t>(dir);
    NMEngineKv e(engine);
    CalcNMCurvePoints(e, static_cast<int16_t>(cond), N, M, iCol, d16);
    ExpectRowsNear(N, n, "N");
    ExpectRowsNear(M, m, "M");
    // A complete curve of the sample has its zones: the tension end is marked.
    EXPECT_GT(N(0, 0), 0);
    EXPECT_EQ(engine.Direction(), dir);
    EXPECT_EQ(engine.Condition(), cond);
}

INSTANTIATE_TEST_SUITE_P(
    Series, CurvePointsSample,
    ::testing::Combine(::testing::Values(100100, 100210, 100240, 110110, 110120, 150310, 150320,
                                         160110, 160120, 170110, 170120),
                       ::testing::Values(0, 1, 2), ::testing::Values(0, 1)));

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

TEST_F(CurvePointsScripted, EveryScriptedSeriesFollowsItsTable) {
    struct Case {
        int KvV, AbV, cond;
    };
    const Case cases[] = {{2, 0, 1}, {2, 3, 0}, {1, 1, 1}, {3, 0, 2}, {4, 1, 0}, {5, 0, 1},
                          {5, 1, 2}, {5, 2, 1}, {6, 0, 0}, {6, 0, 1}, {6, 1, 0}, {6, 1, 2}};
    kv.mu = [](int, double) { return 30.0; };
    for (const Case& c : cases) {
        base().KvV = static_cast<int16_t>(c.KvV);
        base().AbV = static_cast<int16_t>(c.AbV);
        run(static_cast<int16_t>(c.cond));
        const std::vector<double> n =
            ExpectedN(c.KvV, c.AbV, 2, c.cond, {1000, 1200, 150, 40}, 40, 30, 20, 50);
        SCOPED_TRACE("series " + std::to_string(c.KvV) + " AbV " + std::to_string(c.AbV) +
                     " state " + std::to_string(c.cond));
        ExpectRowsNear(N, n, "N");
        const auto [first, last] = Interior(c.KvV, c.AbV);
        for (int i = first; i <= last; ++i) EXPECT_EQ(M(0, i), 30);
        EXPECT_EQ(M(0, last + 1), 0.02);
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
