// SRC curve and shear through the engine object, on the sample catalogue:
// ZF200 (100100, concentric) and QX350E (100230, 50 mm off centre).
#include "engine/kv.h"
#include "engine/kverror.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

namespace {

constexpr int32_t kConcentric = 100100;
constexpr int32_t kEccentric = 100230;

// Everything the steel-base check reports, plus the loads.
struct SResults {
    double VerticalLoad, MomentLoad, Mu, Nu, Nu_, Nl, MuMax, Tu, Tu_, Tu1, Qu, Qu0, Qu1, Qu2, SlabQ_d1;
    std::string Zone;
    int JadgeM, JadgeQ;
    bool operator==(const SResults&) const = default;
};

SResults Snapshot(const kv::KV& k) {
    return {k.VerticalLoad(), k.MomentLoad(), k.Mu(),  k.Nu(),  k.Nu_(), k.Nl(),  k.MuMax(),    k.Tu(),
            k.Tu_(),          k.Tu1(),        k.Qu(),  k.Qu0(), k.Qu1(), k.Qu2(), k.SlabQ_d1(), k.Zone(),
            k.JadgeM(),       k.JadgeQ()};
}

void Select(kv::KV& k, int32_t id, int condition) {
    k.setKolvanID(id);
    k.setFc(24);
    k.setCondition(static_cast<int16_t>(condition));
}

// Index of the curve's compression end (the last point).
int LastPoint(const kv::KvState& s) {
    for (int i = 1; i <= 150; ++i)
        if (s.RuikaN(i) == s.srcNmax) return i;
    return -1;
}

class SrcCurveKv : public ::testing::TestWithParam<std::tuple<int32_t, int>> {};

TEST_P(SrcCurveKv, ShapeAndEnds) {
    const auto [id, condition] = GetParam();
    kv::KV k(KV_SAMPLE_DIR);
    Select(k, id, condition);
    k.setRuika();
    const kv::KvState& s = k.state();

    // The ends: steel limited by the base, plus concrete in compression and bars.
    EXPECT_DOUBLE_EQ(s.srcNmax, std::min(k.Nu_(), k.colNmax()) + k.cNmax() + k.rNmax());
    EXPECT_DOUBLE_EQ(s.srcNmin, -(std::min(k.Tu_(), k.colNmax()) + k.rNmax()));

    const int last = LastPoint(s);
    ASSERT_GT(last, 1);
    EXPECT_LE(last, k.Devide() + 2);  // at most Devide + 3 points
    EXPECT_EQ(s.RuikaN(0), s.srcNmin);
    EXPECT_EQ(s.RuikaM(0), 0);
    EXPECT_EQ(s.RuikaM(last), 0);
    const double dN = (s.srcNmax - s.srcNmin) / k.Devide();
    double top = 0;
    for (int i = 1; i < last; ++i) {
        if (i > 1) {
            EXPECT_NEAR(s.RuikaN(i) - s.RuikaN(i - 1), dN, 1e-9 * dN) << i;
        }
        EXPECT_GE(s.RuikaM(i), 0) << i;
        top = std::max(top, s.RuikaM(i));
    }
    EXPECT_GE(s.RuikaN(1), s.srcNmin - 1e-9);
    EXPECT_LE(s.RuikaN(last - 1), s.srcNmax + 1e-9);
    for (int i = last + 1; i <= 150; ++i) ASSERT_EQ(s.RuikaN(i), 0) << i;
    EXPECT_EQ(s.srcMmax, top);
    EXPECT_GT(top, 0);

    // Read-out: a grid force gives its point, the ends give 0.
    const int mid = last / 2;
    k.setVerticalLoad(s.RuikaN(mid));
    EXPECT_DOUBLE_EQ(k.srcMu(), s.RuikaM(mid));
    k.setVerticalLoad(s.srcNmax);
    EXPECT_EQ(k.srcMu(), 0);
}

INSTANTIATE_TEST_SUITE_P(Bases, SrcCurveKv,
                         ::testing::Combine(::testing::Values(kConcentric, kEccentric), ::testing::Values(0, 1, 2)));

TEST(SrcCurveKvOnly, ConcreteAloneGivesTheConcretePart) {
    // Unknown grades: no steel column, no bars; the curve is the concrete part.
    kv::KV k(KV_SAMPLE_DIR);
    Select(k, kConcentric, 1);
    k.setColMat("none");
    k.setRBarMat("none");
    k.setRuika();
    const kv::KvState& s = k.state();
    const int last = LastPoint(s);
    ASSERT_GT(last, 100);
    EXPECT_EQ(s.srcNmin, 0);
    for (int i = 1; i < last; ++i) {
        k.setcN(s.RuikaN(i));
        EXPECT_DOUBLE_EQ(s.RuikaM(i), std::max(0.0, k.cM())) << i;
    }
}

TEST(SrcCurveKvOnly, FewerDivisionsFewerPoints) {
    kv::KV k(KV_SAMPLE_DIR);
    k.setDevide(10);
    k.setRuika();
    EXPECT_LE(LastPoint(k.state()), 12);
    k.setDevide(148);
    k.setRuika();
    EXPECT_LE(LastPoint(k.state()), 150);
}

TEST(SrcCurveKvOnly, DevideOutsideItsRangeIsRefused) {
    kv::KV k(KV_SAMPLE_DIR);
    k.setVerticalLoad(50);
    const kv::KvState before = k.state();
    for (int16_t d : {0, -1, 149}) {
        k.setDevide(d);
        EXPECT_THROW(k.setRuika(), kv::Error) << d;
        EXPECT_EQ(k.state().RuikaN, before.RuikaN);
        EXPECT_EQ(k.state().srcNmax, before.srcNmax);
        EXPECT_EQ(k.VerticalLoad(), 50);
    }
}

// S-mode results of the load case survive setRuika, srcQu and srcQJadge,
// also when the probes sit within the change threshold or the case fails.
class SrcKeepsLoadCase : public ::testing::TestWithParam<std::tuple<int32_t, int, double, double>> {};

TEST_P(SrcKeepsLoadCase, SResultsUnchanged) {
    const auto [id, condition, N, Mfactor] = GetParam();
    kv::KV k(KV_SAMPLE_DIR);
    Select(k, id, condition);
    k.setVerticalLoad(N);
    k.setMomentLoad(Mfactor * std::max(k.Mu(), 1.0));
    k.setShearLoad(40);
    const SResults before = Snapshot(k);
    k.setRuika();
    EXPECT_EQ(Snapshot(k), before);
    const double qu = k.srcQu();
    EXPECT_EQ(Snapshot(k), before);
    EXPECT_EQ(k.srcQJadge(), qu >= 40 ? -1.0 : 0.0);
    EXPECT_EQ(Snapshot(k), before);
    EXPECT_TRUE(std::isfinite(qu));
    EXPECT_GT(qu, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, SrcKeepsLoadCase,
                         ::testing::Combine(::testing::Values(kConcentric, kEccentric), ::testing::Values(0, 1, 2),
                                            ::testing::Values(300.0, -50.0), ::testing::Values(0.0, 0.5, 3.0)));

// Section and plate of the concrete shear term: 900 x 900 column, rows 800
// apart: de = (900 - 50)/10 = 85 cm, j = 74.375 cm.
double ConcreteShear(const kv::KV& k, double alpha, double fs) {
    return ((900 - k.KvData().KvLen(0, 2)) / 10) * alpha * 74.375 * fs / 1000;
}

TEST(SrcShearKv, ConcreteTermFc24) {
    // No load: no friction; no shear bars: the concrete term alone.
    struct Case {
        int condition;
        double alpha, fs;
    } cases[] = {{1, 4, 111}, {2, 4, 74}, {0, 2, 333}};
    for (const auto& c : cases) {
        kv::KV k(KV_SAMPLE_DIR);
        Select(k, kConcentric, c.condition);
        k.setRqNx(0);
        k.setRuika();
        EXPECT_NEAR(k.srcQu(), ConcreteShear(k, c.alpha, c.fs), 1e-9) << c.condition;
    }
}

TEST(SrcShearKv, CompressionWithoutMomentUsesFriction) {
    const double bars = 0.5 * 12 * 3.871 * 29.5;
    for (int condition : {0, 1}) {
        kv::KV k(KV_SAMPLE_DIR);
        Select(k, kConcentric, condition);
        k.setRuika();
        for (double N : {100.0, 5000.0}) {
            k.setVerticalLoad(N);
            const double mu = condition == 0 ? 0.5 : 0.4;
            const double friction = mu * std::min({N, k.colNmax(), k.Nu_()});
            const double conc = ConcreteShear(k, condition == 0 ? 2 : 4, condition == 0 ? 333 : 111);
            EXPECT_NEAR(k.srcQu(), conc + friction + bars, 1e-9) << condition << " " << N;
        }
    }
}

TEST(SrcShearKv, TensionGoesToBarsFirstThenBase) {
    const double bars = 0.5 * 12 * 3.871 * 29.5;
    kv::KV k(KV_SAMPLE_DIR);
    Select(k, kConcentric, 1);
    k.setRuika();
    const double rNmax = k.rNmax();
    k.setcolN(0);
    const double colM0 = k.colM();
    for (double beyond : {0.0, 30.0}) {
        // The base sees what the bars cannot carry, at the smallest moment.
        kv::KV ref(KV_SAMPLE_DIR);
        Select(ref, kConcentric, 1);
        ref.setVerticalLoad(-beyond);
        ref.setMomentLoad(std::min({colM0, ref.Mu(), 5.0}));
        k.setVerticalLoad(beyond == 0 ? -rNmax / 2 : -(rNmax + beyond));
        k.setMomentLoad(5);
        EXPECT_NEAR(k.srcQu(), ref.Qu() + bars, 1e-9) << beyond;  // no concrete term
    }
}

TEST(SrcShearKv, BaseFailingBeyondItsTensionEndAddsNoShear) {
    // The probe lands beyond the base's tension end: its shear is not
    // applicable and counts 0, not -99999.99.
    const double bars = 0.5 * 12 * 3.871 * 29.5;
    kv::KV k(KV_SAMPLE_DIR);
    Select(k, kEccentric, 1);
    k.setRuika();
    k.setVerticalLoad(-(k.rNmax() + k.Tu_() + 50));
    k.setMomentLoad(10);
    EXPECT_NEAR(k.srcQu(), bars, 1e-9);
}

TEST(SrcShearKv, FailingMomentIsScaledUntilTheBasePasses) {
    for (int32_t id : {kConcentric, kEccentric}) {
        kv::KV k(KV_SAMPLE_DIR);
        Select(k, id, 1);
        k.setRuika();
        const double N0 = 100;
        k.setVerticalLoad(N0);
        const double M0 = 4 * k.Mu();
        k.setMomentLoad(M0);
        ASSERT_EQ(k.JadgeM(), 0);

        // Reference: the first 1/k of the load that passes, then the point on
        // the steel column's interaction line.
        kv::KV ref(KV_SAMPLE_DIR);
        Select(ref, id, 1);
        int scale = 2;
        for (;; ++scale) {
            ref.setVerticalLoad(N0 / scale);
            ref.setMomentLoad(M0 / scale);
            if (ref.JadgeM() == -1) break;
        }
        EXPECT_GE(scale, 4);
        const double q1 = ref.Qu() / ref.state().smode.BaseLoadRatio;
        const double a = k.colNmax() / k.colMmax(), c = N0 / M0;
        const double Mstar = k.colNmax() / (a + c), Nstar = c * Mstar;
        ref.setVerticalLoad(Nstar);
        ref.setMomentLoad(Mstar);
        const double q2 = ref.JadgeQ() != 0 ? ref.Qu() : 0;
        const double qf = 0.4 * std::min({N0, k.colNmax(), k.Nu_()});
        const double expected = ConcreteShear(k, 4, 111) + std::max({qf, q1, q2}) + 0.5 * 12 * 3.871 * 29.5;
        EXPECT_NEAR(k.srcQu(), expected, 1e-6 * expected) << id;
    }
}

}  // namespace
