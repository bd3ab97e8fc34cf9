#include "model/column_check.h"

#include "engine/kv.h"
#include "model/globals.h"
#include "recording_kv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace model;
using model::testing::RecordingKv;

namespace {

using Log = std::vector<std::string>;

class ColumnCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedCond = gCond;
        savedSI = gSIDisp;
        savedU = gUnitFactor;
        savedLimit = gFcUpperLimit;
        gCond = MakeCondDefault(true, 0, "", "");
        gCond.SMode = kTrue;
        gCond.UltJadge = kTrue;
        gCond.DesignRootX = 1;
        gCond.DesignRootY = 2;
        gSIDisp = true;
        gUnitFactor = 1;
        gFcUpperLimit = 60;

        col.KolvanID = 150310;
        col.KvV = 4;
        col.AbNum = 1;
        col.Fc = 21;
        col.SlabFc = 18;
        col.SlabQ_d2 = 200;
        col.SlabQ_B1X = 300;
        col.SlabQ_B1Y = 400;
        for (long d = 0; d <= 1; ++d) {
            col.LumoQuCond(d, 1) = 1;
            col.LumoQuCond(d, 2) = 2;
            col.CenColWall(d) = static_cast<int16_t>(d);
            for (long k = 1; k <= 7; ++k) col.FShear(k, d) = static_cast<int16_t>(k % 4);
        }
        // Case k: N = 10k (X) or 20k (Y), M = k, Q = 100 + k.
        for (long k = 1; k <= 8; ++k) {
            res.DesignStress(1, k) = 10.0 * k;
            res.DesignStress(2, k) = k;
            res.DesignStress(3, k) = 100.0 + k;
            res.DesignStress(4, k) = 20.0 * k;
            res.DesignStress(5, k) = k;
            res.DesignStress(6, k) = 100.0 + k;
        }
    }
    void TearDown() override
    {
        gCond = savedCond;
        gSIDisp = savedSI;
        gUnitFactor = savedU;
        gFcUpperLimit = savedLimit;
    }

    ProjectCondTbl savedCond;
    bool savedSI = false;
    double savedU = 0, savedLimit = 0;
    ColumnDataTbl col;
    ColumnResultTbl res;
    KvBaseTbl kvb;
    RecordingKv kv;
};

const Log kSReads = {"Mu?", "JadgeM?", "Zone?", "Qu?", "Qu0?", "Qu1?", "Qu2?", "JadgeQ?"};
const Log kSrcReads = {"setRuika", "srcMu?", "srcMJadge?", "srcQu?", "srcQJadge?"};

Log Join(std::initializer_list<Log> parts)
{
    Log all;
    for (const Log& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST_F(ColumnCheck, SteelSendsAndReadsInTheEngineOrder)
{
    CalcColumnCheck(kv, col, res, kvb, 0);
    const Log expected = Join({
        {"SlabFc=18", "SlabQ_d2=200", "KolvanID=150310", "AbNum=1", "DesignRoot=1", "SMode=1", "Fc=21",
         "SlabQ_B1X=300", "SlabQ_B1Y=400", "SlabQ_B2X=0", "SlabQ_B2Y=0", "SlabQ_d2=200", "Direction=0"},
        {"FShear=1", "LumoQuCond=1", "Condition=2", "VerticalLoad=10", "MomentLoad=1", "ShearLoad=101"},
        kSReads,
        {"FShear=2", "FShear=3"},
        {"FShear=0", "LumoQuCond=1", "Condition=1", "VerticalLoad=40", "MomentLoad=4", "ShearLoad=104"},
        kSReads,
        {"FShear=1", "LumoQuCond=2", "Condition=1", "VerticalLoad=50", "MomentLoad=5", "ShearLoad=105"},
        kSReads,
        {"FShear=2", "LumoQuCond=1", "Condition=0", "VerticalLoad=60", "ShearLoad=106", "MomentLoad=6"},
        kSReads,
        {"FShear=3", "LumoQuCond=2", "Condition=0", "VerticalLoad=70", "ShearLoad=107", "MomentLoad=7"},
        kSReads,
    });
    EXPECT_EQ(kv.log, expected);
}

TEST_F(ColumnCheck, SteelWithoutUltimateMomentSendsTheCapacityJustRead)
{
    gCond.UltJadge = kFalse;
    kv.mu = 33.5;
    CalcColumnCheck(kv, col, res, kvb, 1);
    const Log ultimate = Join({
        {"FShear=2", "LumoQuCond=1", "Condition=0", "VerticalLoad=120", "ShearLoad=106", "Mu?", "MomentLoad=33.5"},
        kSReads,
        {"FShear=3", "LumoQuCond=2", "Condition=0", "VerticalLoad=140", "ShearLoad=107", "Mu?", "MomentLoad=33.5"},
        kSReads,
    });
    ASSERT_GE(kv.log.size(), ultimate.size());
    EXPECT_EQ(Log(kv.log.end() - static_cast<long>(ultimate.size()), kv.log.end()), ultimate);
}

TEST_F(ColumnCheck, SrcSendsSectionRouteWallAndRebuildsTheCurvePerCase)
{
    gCond.SMode = kFalse;
    gCond.UltJadge = kFalse;
    kvb.RotateMode = kTrue;
    col.Fc = 80;  // no cap in SRC mode
    RecordingKv src;
    SetKvSrcInputs(src, col);

    CalcColumnCheck(kv, col, res, kvb, 1);
    const Log expected = Join({
        {"SlabFc=18", "SlabQ_d2=200", "KolvanID=150310", "AbNum=1", "DesignRoot=1", "SMode=0", "Fc=80"},
        src.log,
        {"SlabQ_B1X=300", "SlabQ_B1Y=400", "SlabQ_B2X=0", "SlabQ_B2Y=0", "SlabQ_d2=200", "Direction=1",
         "DesignRoot=2", "srcWall=1"},
        {"FShear=1", "LumoQuCond=1", "Condition=2", "VerticalLoad=20", "MomentLoad=1", "ShearLoad=101",
         "Direction=1"},
        kSrcReads,
        {"FShear=2", "FShear=3"},
        {"FShear=0", "LumoQuCond=1", "Condition=1", "VerticalLoad=80", "MomentLoad=4", "ShearLoad=104",
         "Direction=1"},
        kSrcReads,
        {"FShear=1", "LumoQuCond=2", "Condition=1", "VerticalLoad=100", "MomentLoad=5", "ShearLoad=105",
         "Direction=1"},
        kSrcReads,
        // The moment comes from the curve of the previous case (third setRuika, then fourth).
        {"FShear=2", "LumoQuCond=1", "Condition=0", "VerticalLoad=120", "ShearLoad=106", "srcMu?",
         "MomentLoad=103", "Direction=1"},
        kSrcReads,
        {"FShear=3", "LumoQuCond=2", "Condition=0", "VerticalLoad=140", "ShearLoad=107", "srcMu?",
         "MomentLoad=104", "Direction=1"},
        kSrcReads,
    });
    EXPECT_EQ(kv.log, expected);
}

TEST_F(ColumnCheck, EngineDirectionFollowsBaseSymmetryAndTurn)
{
    struct Case {
        int16_t rotateMode, kvRotate, d, engine;
    };
    const Case cases[] = {
        {kFalse, 0, 0, 0}, {kFalse, 0, 1, 0}, {kFalse, 1, 1, 0}, {kTrue, 0, 0, 0},
        {kTrue, 0, 1, 1},  {kTrue, 1, 0, 1},  {kTrue, 1, 1, 0},
    };
    for (const Case& c : cases) {
        kvb.RotateMode = c.rotateMode;
        col.KvRotate = c.kvRotate;
        kv.log.clear();
        CalcColumnCheck(kv, col, res, kvb, c.d);
        const auto it = std::find_if(kv.log.begin(), kv.log.end(),
                                     [](const std::string& s) { return s.rfind("Direction=", 0) == 0; });
        ASSERT_NE(it, kv.log.end());
        EXPECT_EQ(*it, "Direction=" + std::to_string(c.engine))
            << "RotateMode " << c.rotateMode << " KvRotate " << c.kvRotate << " d " << c.d;
    }
}

TEST_F(ColumnCheck, SteelResultsFillCheckedSlotsOfTheirDirectionOnly)
{
    CalcColumnCheck(kv, col, res, kvb, 1);
    for (long k : {1, 4, 5, 6, 7}) {
        EXPECT_EQ(res.Mu(1, k), 12.5);
        EXPECT_EQ(res.JadgeM(1, k), -1);
        EXPECT_EQ(res.Zone(1, k).value(), "B  ");
        EXPECT_EQ(res.Qu(1, k), 3.25);
        EXPECT_EQ(res.Qu0(1, k), 1.5);
        EXPECT_EQ(res.Qu1(1, k), 2.5);
        EXPECT_EQ(res.JadgeQ(1, k), 0);
    }
    for (long k : {2, 3, 8}) {
        EXPECT_EQ(res.Mu(1, k), 0);
        EXPECT_EQ(res.Qu(1, k), 0);
        EXPECT_EQ(res.JadgeM(1, k), 0);
    }
    for (long k = 1; k <= 8; ++k) EXPECT_EQ(res.Mu(0, k), 0);
}

TEST_F(ColumnCheck, SrcResultsConvertVerdictsAndKeepShearParts)
{
    gCond.SMode = kFalse;
    res.Qu0(0, 4) = -5;
    kv.srcMJadgeValue = 0;
    kv.srcQJadgeValue = 2;
    CalcColumnCheck(kv, col, res, kvb, 0);
    EXPECT_EQ(res.Zone(0, 4).value(), "-  ");
    EXPECT_EQ(res.Mu(0, 4), 102);
    EXPECT_EQ(res.Qu(0, 4), 7.75);
    EXPECT_EQ(res.JadgeM(0, 4), 0);
    EXPECT_EQ(res.JadgeQ(0, 4), 2);
    EXPECT_EQ(res.Qu0(0, 4), -5);
    EXPECT_EQ(res.Qu1(0, 7), 0);
}

TEST_F(ColumnCheck, StressesAreSentInDisplayUnits)
{
    gUnitFactor = 9.80665;
    res.DesignStress(1, 1) = 10;
    CalcColumnCheck(kv, col, res, kvb, 0);
    EXPECT_NE(std::find(kv.log.begin(), kv.log.end(), "VerticalLoad=98.0665"), kv.log.end());
}

TEST_F(ColumnCheck, ByIndexRejectsIndicesOutsideTheProject)
{
    const int16_t savedCount = gCond.ColCount;
    gCond.ColCount = 2;
    EXPECT_THROW(CalcColumnByIndex(0, 0), std::out_of_range);
    EXPECT_THROW(CalcColumnByIndex(3, 0), std::out_of_range);
    EXPECT_THROW(CalcColumnByIndex(999, 0), std::out_of_range);
    gCond.ColCount = savedCount;
}

// With the real engine and the sample catalogue.
class ColumnCheckKv : public ColumnCheck {
protected:
    void SetUp() override
    {
        ColumnCheck::SetUp();
        engine = std::make_unique<kv::KV>(KV_SAMPLE_DIR);
        engine->setSIFlag(true);
        engine->setSIFactor(9.80665);
    }
    std::unique_ptr<kv::KV> engine;
};

TEST_F(ColumnCheckKv, ShortTermCapacityAgreesWithTheEngine)
{
    // Model QX350E: series 0, plate 600 x 600, column 50 mm off centre in X.
    const double f = 9.80665;
    gUnitFactor = f;
    col.KolvanID = 100230;
    col.KvV = 0;
    col.SlabQ_B1X = 200;
    col.SlabQ_B1Y = 200;
    col.SlabQ_d2 = 0;
    col.FShear.fill(0);
    res.DesignStress.fill(0);
    res.DesignStress(1, 4) = 500 / f;
    KvEngineRef ref(*engine);
    CalcColumnCheck(ref, col, res, kvb, 0);

    const double nu = 0.675 * (21 / f * 100) / 1000 * 60 * 60;
    const double T = 2 * (2.8 * (0.75 * (3.0 * 3.0 / 4 * 3.141592)));
    const double n = 500 / f;
    const double muX = ((1 - std::pow((T + n) / (nu / 2), 2)) * (T + n) * 60 / 2 + T * 46 / 2) / 100 - n * 50 / 1000;
    EXPECT_NEAR(res.Mu(0, 4), muX * f, 1e-9);
    EXPECT_EQ(res.Zone(0, 4).value(), "A  ");
    EXPECT_EQ(res.JadgeM(0, 4), -1);
    EXPECT_EQ(res.JadgeQ(0, 4), -1);
}

TEST_F(ColumnCheckKv, LongTermResultDoesNotDependOnThePreviousCheck)
{
    // No axial force: the long-term shear is the catalogue minimum, which
    // depends on LumoQuCond for this series.
    gUnitFactor = 9.80665;
    col.FShear.fill(0);
    res.DesignStress(1, 1) = 0;
    res.DesignStress(2, 1) = 0;
    res.DesignStress(3, 1) = 30;
    ColumnResultTbl fresh = res;
    {
        kv::KV first(KV_SAMPLE_DIR);
        first.setSIFlag(true);
        first.setSIFactor(9.80665);
        KvEngineRef ref(first);
        CalcColumnCheck(ref, col, fresh, kvb, 0);
    }
    // The engine last held the right-hand condition of another check.
    engine->setLumoQuCond(2);
    KvEngineRef ref(*engine);
    CalcColumnCheck(ref, col, res, kvb, 0);
    EXPECT_GT(fresh.Qu(0, 1), 0);
    EXPECT_EQ(res.Qu(0, 1), fresh.Qu(0, 1));
    EXPECT_EQ(res, fresh);
}

}  // namespace

TEST_F(ColumnCheckKv, SrcVerdictTurnsAtTheReportedCapacity)
{
    // The SRC default column on model SRX-700: the verdict and the capacity
    // the check stores must agree, in both directions.
    gCond.SMode = kFalse;
    gUnitFactor = 1;
    gSIDisp = false;
    engine->setSIFlag(false);
    engine->setSIFactor(1);
    ColumnDataTbl src = MakeColumnDefaultSrc(col, false);
    src.FShear.fill(0);
    KvEngineRef ref(*engine);
    for (int16_t d = 0; d <= 1; ++d) {
        const long row = d == 0 ? 0 : 3;
        res.DesignStress.fill(0);
        res.DesignStress(row + 1, 4) = 100;
        res.DesignStress(row + 2, 4) = 1;
        CalcColumnCheck(ref, src, res, kvb, d);
        const double mu = res.Mu(d, 4);
        ASSERT_GT(mu, 1) << d;
        EXPECT_EQ(res.Zone(d, 4).value(), "-  ");
        EXPECT_EQ(res.JadgeM(d, 4), -1) << d;
        for (double f : {0.99, 1.01}) {
            res.DesignStress(row + 2, 4) = f * mu;
            CalcColumnCheck(ref, src, res, kvb, d);
            EXPECT_EQ(res.Mu(d, 4), mu) << d;
            EXPECT_EQ(res.JadgeM(d, 4), f < 1 ? -1 : 0) << d << " " << f;
        }
    }
}
