// Slab embedment shear: widths and depth from the inputs or the catalogue,
// the resistance, the margin value and the catalogue value of kind 6.
#include "engine/kverror.h"
#include "engine/smode.h"
#include "platform/store/store.h"
#include "test_smode_base.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace kv {
namespace {

using test::MakeBase;

const double kF = 9.80665;

// Qs = √(B2·d2/(B1·d1))·Fc·B1·d1/1000 (kN with N/mm² and mm).
double Qs(double b1, double b2, double d2, double d1, double fc) {
    return std::sqrt(b2 * d2 / (b1 * d1)) * fc * b1 * d1 / 1000;
}

TEST(CalcSlabQ, GivenWidthsAndDepth) {
    // Fixture: B1 200/200, B2 600/700, d2 300, plate 40, slab Fc 18.
    const double share[] = {0.9, 2.0 / 3, 1.0 / 3};
    const double k[] = {1.0 / 10, 2.0 / 30, 1.0 / 30};
    for (int st = 0; st < 3; ++st) {
        KvState s = MakeBase(1, 0, st);
        EXPECT_NEAR(CalcSlabQ(s), share[st] * Qs(200, 600, 300, 260, 18) / kF, 1e-12) << st;
        EXPECT_EQ(s.SlabQ_d1, 260);
        // m = min(600 - 200, 700 - 200) = 400
        EXPECT_NEAR(s.SlabP(st), k[st] * 18 * 400 * 7 / 8 * 350 / 1000 / kF, 1e-12) << st;
    }
    // Direction 1 uses the Y widths in the resistance; the margin uses both always.
    KvState y = MakeBase(4, 0, 0);
    y.Direction = 1;
    EXPECT_NEAR(CalcSlabQ(y), 0.9 * Qs(200, 700, 300, 260, 18) / kF, 1e-12);
    KvState x = MakeBase(4, 0, 0);
    x.SlabQ_B1Y = 150;
    EXPECT_NEAR(CalcSlabQ(x), 0.9 * Qs(200, 600, 300, 260, 18) / kF, 1e-12);
    EXPECT_NEAR(x.SlabP(0), 0.1 * 18 * 400 * 7 / 8 * 350 / 1000 / kF, 1e-12);
    x.SlabQ_B1Y = 350;  // now Y gives the smaller margin: 700 - 350
    CalcSlabQ(x);
    EXPECT_NEAR(x.SlabP(0), 0.1 * 18 * 350 * 7 / 8 * 350 / 1000 / kF, 1e-12);
    // Old units: kgf/cm² and mm give hundredths of tf.
    KvState old = MakeBase(5, 0, 1);
    old.SIFlag = false;
    old.SlabFc = 180;
    EXPECT_NEAR(CalcSlabQ(old), 2.0 / 3 * Qs(200, 600, 300, 260, 180) / 100, 1e-12);
}

TEST(CalcSlabQ, DefaultDepthByKind) {
    KvState k4 = MakeBase(4, 0, 0);
    k4.SlabQ_d2 = 0;
    k4.KvData.L_C = 270;
    CalcSlabQ(k4);
    EXPECT_EQ(k4.SlabQ_d2, 270);
    EXPECT_EQ(k4.SlabQ_d1, 230);
    for (int kind : {1, 5}) {
        KvState s = MakeBase(kind, 0, 0);
        s.SlabQ_d2 = 0.005;
        s.KvData.L1 = 270;
        CalcSlabQ(s);
        EXPECT_EQ(s.SlabQ_d2, 320) << kind;  // 5 mm rounding of 320
        s.SlabQ_d2 = 0;
        s.KvData.L1 = 284.3;  // 334.3 rounds up to 335
        CalcSlabQ(s);
        EXPECT_EQ(s.SlabQ_d2, 335) << kind;
    }
}

TEST(CalcSlabQ, DepthAboveThePlateCountsOneMillimetre) {
    KvState s = MakeBase(1, 0, 0);
    s.SlabQ_d2 = 30;  // plate 40
    EXPECT_NEAR(CalcSlabQ(s), 0.9 * Qs(200, 600, 30, 1, 18) / kF, 1e-12);
    EXPECT_EQ(s.SlabQ_d1, 1);
}

TEST(CalcSlabQ, KindSixAndOtherKinds) {
    for (bool si : {true, false}) {
        for (int st = 0; st < 3; ++st) {
            KvState s = MakeBase(6, 0, st);
            s.SIFlag = si;
            s.LumoQu = {10, 20, 30, 40, 50, 60};
            s.LumoQuCond = 1;
            EXPECT_EQ(CalcSlabQ(s), (st == 0 ? 50 : st == 1 ? 30 : 10));
        }
    }
    for (int kind : {0, 2, 3}) {
        KvState s = MakeBase(kind, 0, 0);
        s.SlabQ_d2 = 0;
        EXPECT_EQ(CalcSlabQ(s), 0);
        EXPECT_EQ(s.SlabQ_d2, 0);
        EXPECT_EQ(s.SlabQ_d1, 0);
    }
}

TEST(CalcSlabQ, InputsThatAllowNoResistanceFail) {
    struct Row {
        const char* what;
        void (*spoil)(KvState&);
    } rows[] = {
        {"depth equal to the plate", [](KvState& s) { s.SlabQ_d2 = 40; }},
        {"negative pedestal width", [](KvState& s) { s.SlabQ_B2X = -600; }},
        {"negative column width", [](KvState& s) { s.SlabQ_B1X = -200; }},
        {"both widths negative", [](KvState& s) { s.SlabQ_B1X = -200; s.SlabQ_B2X = -600; }},
        {"negative depth", [](KvState& s) { s.SlabQ_d2 = -300; }},
        {"state outside the table", [](KvState& s) { s.Condition = 3; }},
    };
    for (const auto& r : rows) {
        KvState s = MakeBase(1, 0, 0);
        r.spoil(s);
        EXPECT_THROW(CalcSlabQ(s), Error) << r.what;
    }
}

// Pedestal widths from the test catalogue: model 9000011 has, for bolt 27,
// RcX 0, 1, 750, 700 and RcY 500, 700, 0, 0; for bolt 30 only sizes 0 and 1.
class SlabCatalogue : public ::testing::Test {
protected:
    KvState Base(double abD, int direction) {
        KvState s = MakeBase(1, 0, 0);
        const std::filesystem::path file(KV_TEST_CATALOGUE);
        s.DataFilePath = file.parent_path().string();
        s.DataFileName = "\\" + file.filename().string();
        s.KvData.ID = 9000011;
        s.KvData.AbD = abD;
        s.Direction = static_cast<int16_t>(direction);
        s.SlabQ_B2X = 0;
        s.SlabQ_B2Y = 0;
        return s;
    }
};

TEST_F(SlabCatalogue, SmallestSizeAboveOneMillimetreByDirection) {
    KvState x = Base(27, 0);
    CalcSlabQ(x);
    EXPECT_EQ(x.SlabQ_B2X, 500);  // direction 0 looks along the Y sizes
    EXPECT_EQ(x.SlabQ_B2Y, 700);  // 0, 1, 750, 700 give 700
    KvState y = Base(27, 1);
    CalcSlabQ(y);
    EXPECT_EQ(y.SlabQ_B2X, 700);
    EXPECT_EQ(y.SlabQ_B2Y, 500);
    EXPECT_NEAR(CalcSlabQ(y), 0.9 * Qs(200, 500, 300, 260, 18) / kF, 1e-12);
}

TEST_F(SlabCatalogue, OneMissingWidthReplacesBoth) {
    KvState s = Base(27, 0);
    s.SlabQ_B2X = 600;
    CalcSlabQ(s);
    EXPECT_EQ(s.SlabQ_B2X, 500);
    EXPECT_EQ(s.SlabQ_B2Y, 700);
}

TEST_F(SlabCatalogue, NoUsableSizeGivesTheWideDefault) {
    KvState s = Base(30, 0);
    CalcSlabQ(s);
    EXPECT_EQ(s.SlabQ_B2X, 100000);
    EXPECT_EQ(s.SlabQ_B2Y, 100000);
}

TEST_F(SlabCatalogue, MissingRowFails) {
    KvState s = Base(99, 0);
    try {
        CalcSlabQ(s);
        ADD_FAILURE();
    } catch (const store::StoreError& e) {
        EXPECT_EQ(e.number(), store::kErrNoCurrentRecord);
    }
}

}  // namespace
}  // namespace kv
