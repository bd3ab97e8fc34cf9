#include "model/base_data.h"

#include "catalogue_globals.h"
#include "engine/kv.h"
#include "model/globals.h"
#include "platform/text/vb.h"

#include <gtest/gtest.h>

#include <memory>

using namespace model;

class BaseData : public ::testing::Test {
protected:
    void SetUp() override
    {
        gCond.SMode = kTrue;
        engine = std::make_unique<kv::KV>(KV_SAMPLE_DIR);
    }
    modeltest::CatalogueGlobals globals;
    std::unique_ptr<kv::KV> engine;
};

TEST_F(BaseData, CopiesTheEngineRecordAndKeepsTheProjectOnlyFields)
{
    KvBaseTbl kvb;
    kvb.AbNum = 3;
    kvb.PartsWeight = 12.5;
    kvb.bb_SV = 7;
    kvb.Tu(1) = 4;
    kvb.RotateMode = kTrue;
    LoadKvBaseData(*engine, 110120, 2, kvb);

    EXPECT_EQ(engine->KolvanID(), 110120);
    EXPECT_EQ(engine->AbNum(), 2);
    const kv::KvDataTblC d = engine->KvData();
    EXPECT_EQ(kvb.ID, 110120);
    EXPECT_EQ(kvb.KvName.value(), "KS300A" + std::string(44, ' '));
    EXPECT_EQ(kvb.KvV, 1);
    EXPECT_EQ(kvb.KvLen, d.KvLen);
    EXPECT_EQ(kvb.KvT, d.KvT);
    EXPECT_EQ(kvb.AbD, 30);
    EXPECT_EQ(kvb.L1, d.L1);
    EXPECT_EQ(kvb.L_C, d.L_C);
    EXPECT_EQ(kvb.ColSize, d.ColSize);
    EXPECT_EQ(kvb.EXYMode(0).value().size(), 5u);
    EXPECT_EQ(vb::Trim(kvb.EXYMode(0).value()), vb::Trim(engine->EXYMode0()));
    EXPECT_EQ(vb::Trim(kvb.EXYMode(1).value()), vb::Trim(engine->EXYMode1()));
    // Symmetric base: orientation does not matter.
    EXPECT_EQ(kvb.RotateMode, kFalse);
    // Fields the project keeps for itself.
    EXPECT_EQ(kvb.AbNum, 3);
    EXPECT_EQ(kvb.PartsWeight, 12.5);
    EXPECT_EQ(kvb.bb_SV, 7);
    EXPECT_EQ(kvb.Tu(1), 4);
}

TEST_F(BaseData, RotateModeFollowsTheBaseShapeInSteelProjectsOnly)
{
    KvBaseTbl kvb;
    LoadKvBaseData(*engine, 100230, 1, kvb);  // column 50 mm off centre
    EXPECT_EQ(kvb.RotateMode, kTrue);
    LoadKvBaseData(*engine, 110110, 1, kvb);
    EXPECT_EQ(kvb.RotateMode, kFalse);
    gCond.SMode = kFalse;
    LoadKvBaseData(*engine, 110110, 1, kvb);
    EXPECT_EQ(kvb.RotateMode, kTrue);
}

TEST_F(BaseData, UnknownProductIsThrownAndTheRecordKept)
{
    KvBaseTbl kvb;
    LoadKvBaseData(*engine, 110110, 1, kvb);
    const KvBaseTbl before = kvb;
    EXPECT_ANY_THROW(LoadKvBaseData(*engine, 424242, 1, kvb));
    EXPECT_EQ(kvb, before);
}

class BaseGeometry : public ::testing::Test {
protected:
    void SetUp() override
    {
        gCond.SMode = kTrue;
        kvb.ID = 9000011;  // pedestal sizes per bolt diameter in the test store
        kvb.KvV = 1;
        kvb.AbD = 24;
        kvb.L1 = 300;
        kvb.L_C = 432.5;
        kvb.KvT(2) = 40;
        col.ColV = 0;
        col.ColSize = 350;
    }
    modeltest::CatalogueGlobals globals;
    KvBaseTbl kvb;
    ColumnDataTbl col;
};

TEST_F(BaseGeometry, EmbedmentDepthBySeries)
{
    struct Case {
        int16_t series;
        double l1;
        double d2;
    };
    const Case cases[] = {
        {1, 300, 350}, {1, 312, 400}, {1, 359, 400}, {1, 360, 450}, {1, 309, 350},
        {1, 340, 400}, {5, 300, 350}, {4, 300, 432.5}, {6, 999, 432.5},
    };
    for (const Case& c : cases) {
        kvb.KvV = c.series;
        kvb.L1 = c.l1;
        ASSERT_TRUE(SetColumnBaseGeometry(col, kvb));
        EXPECT_EQ(col.SlabQ_d2, c.d2) << c.series << " " << c.l1;
        EXPECT_EQ(col.SlabQ_d1, c.d2 - 40) << c.series << " " << c.l1;
    }
}

TEST_F(BaseGeometry, PedestalWidthsTakeTheSmallestRealSize)
{
    struct Case {
        double abD;
        int16_t rotate;
        double b2x, b2y;
    };
    const Case cases[] = {
        {24, 0, 700, 650},  // X 0, 800, 650, 0 / Y 0, 700, 900, 0
        {24, 1, 650, 700},  {24, 2, 700, 650}, {24, 3, 650, 700},
        {27, 0, 500, 700},  // Y 500, 700, 0, 0 / X 0, 1, 750, 700
        {30, 0, 99999, 99999},
    };
    for (const Case& c : cases) {
        kvb.AbD = c.abD;
        col.KvRotate = c.rotate;
        ASSERT_TRUE(SetColumnBaseGeometry(col, kvb));
        EXPECT_EQ(col.SlabQ_B2X, c.b2x) << c.abD << " " << c.rotate;
        EXPECT_EQ(col.SlabQ_B2Y, c.b2y) << c.abD << " " << c.rotate;
    }
    // Any other orientation code leaves the widths.
    col.KvRotate = 5;
    col.SlabQ_B2X = 1;
    col.SlabQ_B2Y = 2;
    ASSERT_TRUE(SetColumnBaseGeometry(col, kvb));
    EXPECT_EQ(col.SlabQ_B2X, 1);
    EXPECT_EQ(col.SlabQ_B2Y, 2);
}

TEST_F(BaseGeometry, ColumnWidthBySectionAndOrientation)
{
    SetColumnBaseGeometry(col, kvb);
    EXPECT_EQ(col.SlabQ_B1X, 350);
    EXPECT_EQ(col.SlabQ_B1Y, 350);

    col.ColV = 2;
    col.HDim(1) = 400;
    col.HDim(2) = 200;
    col.KvRotate = 0;
    SetColumnBaseGeometry(col, kvb);
    EXPECT_EQ(col.SlabQ_B1X, 200);
    EXPECT_EQ(col.SlabQ_B1Y, 400);
    col.KvRotate = 1;
    SetColumnBaseGeometry(col, kvb);
    EXPECT_EQ(col.SlabQ_B1X, 400);
    EXPECT_EQ(col.SlabQ_B1Y, 200);
    col.KvRotate = 3;  // turned for B2, but B1 of an H section is left
    SetColumnBaseGeometry(col, kvb);
    EXPECT_EQ(col.SlabQ_B1X, 400);
    EXPECT_EQ(col.SlabQ_B1Y, 200);
    EXPECT_EQ(col.SlabQ_B2X, 650);

    col.ColV = 5;
    col.SlabQ_B1X = 11;
    SetColumnBaseGeometry(col, kvb);
    EXPECT_EQ(col.SlabQ_B1X, 11);
}

TEST_F(BaseGeometry, OtherSeriesAndSrcProjectsLeaveTheColumn)
{
    const ColumnDataTbl before = col;
    for (int16_t series : {0, 2, 3}) {
        kvb.KvV = series;
        EXPECT_TRUE(SetColumnBaseGeometry(col, kvb));
        EXPECT_EQ(col, before) << series;
    }
    kvb.KvV = 1;
    gCond.SMode = kFalse;
    EXPECT_TRUE(SetColumnBaseGeometry(col, kvb));
    EXPECT_EQ(col, before);
}

TEST_F(BaseGeometry, MissingPedestalRowKeepsTheWidths)
{
    kvb.AbD = 99;
    col.SlabQ_B2X = 610;
    col.SlabQ_B2Y = 620;
    EXPECT_FALSE(SetColumnBaseGeometry(col, kvb));
    EXPECT_EQ(col.SlabQ_B2X, 610);
    EXPECT_EQ(col.SlabQ_B2Y, 620);
    EXPECT_EQ(col.SlabQ_d2, 350);  // the parts that need no row are set
}
