#include "model/globals.h"
#include "model/stress.h"

#include <gtest/gtest.h>

using namespace model;

namespace {

// Project settings as a new project has them; each test changes what it needs.
class DesignStress : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedCond = gCond;
        savedKind = gShortLoadKind;
        gCond = MakeCondDefault(true, 0, "", "");
        gCond.SymmetryX = kFalse;
        gCond.SymmetryY = kFalse;
        gShortLoadKind = 0;
        // A sentinel shows every cell a run leaves alone.
        des.fill(-777);
    }
    void TearDown() override
    {
        gCond = savedCond;
        gShortLoadKind = savedKind;
    }
    void build(int16_t k) { BuildDesignStressTable(des, load, k); }

    ProjectCondTbl savedCond;
    int16_t savedKind = 0;
    LoadTable load{};
    DesignTable des{};
};

}  // namespace

TEST_F(DesignStress, SymmetryActsOnTotalsOnly)
{
    gCond.SymmetryX = kTrue;
    load(2, 1) = 2;
    load(2, 3) = 10;
    load(2, 4) = 7;
    build(2);
    EXPECT_EQ(des(2, 1), 2);
    EXPECT_EQ(des(2, 2), 10);
    EXPECT_EQ(des(2, 3), 7);
    EXPECT_EQ(des(2, 4), 12);
    EXPECT_EQ(des(2, 5), -8);
    EXPECT_EQ(des(2, 6), 2 + 2.0 * 10);
    EXPECT_EQ(des(2, 7), 2 - 2.0 * 10);
    EXPECT_EQ(des(2, 8), -777);
    EXPECT_EQ(des(1, 1), -777);  // other rows untouched
}

TEST_F(DesignStress, HeavySnowAddsItsShares)
{
    gCond.SCondition = 2;
    load(1, 1) = 10;
    load(1, 11) = 4;
    load(1, 3) = 5;
    load(1, 4) = -5;
    build(1);
    EXPECT_DOUBLE_EQ(des(1, 1), 12.8);
    EXPECT_EQ(des(1, 1), 0.7 * 4 + 10.0);
    EXPECT_EQ(des(1, 4), 0.35 * 4 + 10.0 + 5.0);
    EXPECT_DOUBLE_EQ(des(1, 4), 16.4);
    EXPECT_EQ(des(1, 5), 0.35 * 4 + 10.0 + -5.0);
    EXPECT_DOUBLE_EQ(des(1, 5), 6.4);
    EXPECT_EQ(des(1, 6), 0.35 * 4 + 10.0 + 2.0 * 5);
    EXPECT_EQ(des(1, 7), 0.35 * 4 + 10.0 + 2.0 * -5);
}

TEST_F(DesignStress, ShortLoadKindChoosesTheLoadAlone)
{
    // Row 5 (M_Y) reads the Y columns: E 5/6, W 9/10, SN 12, LT 2.
    load(5, 2) = 1;
    load(5, 5) = 3;
    load(5, 6) = 4;
    load(5, 9) = 5;
    load(5, 10) = 6;
    load(5, 12) = 7;
    struct Case {
        int16_t kind;
        double c2, c3, c4, c5;
    } const cases[] = {
        {0, 3, 4, 1 + 3, 1 + 4},
        {1, 5, 6, 1 + 5, 1 + 6},
        {2, 7, 0, 7 + 1, 0},
        {3, -777, -777, -777, -777},
    };
    for (const Case& c : cases) {
        des.fill(-777);
        gShortLoadKind = c.kind;
        build(5);
        EXPECT_EQ(des(5, 2), c.c2) << c.kind;
        EXPECT_EQ(des(5, 3), c.c3) << c.kind;
        EXPECT_EQ(des(5, 4), c.c4) << c.kind;
        EXPECT_EQ(des(5, 5), c.c5) << c.kind;
        // The ultimate totals stay seismic whatever the kind.
        EXPECT_EQ(des(5, 6), 1 + 2.0 * 3) << c.kind;
        EXPECT_EQ(des(5, 7), 1 + 2.0 * 4) << c.kind;
    }
}

TEST_F(DesignStress, SnowKindInHeavySnowUsesTheFullSnowLoad)
{
    gCond.SCondition = 2;
    gShortLoadKind = 2;
    load(3, 1) = 10;
    load(3, 11) = 4;
    build(3);
    EXPECT_EQ(des(3, 2), 4);
    EXPECT_EQ(des(3, 3), 0);
    EXPECT_EQ(des(3, 4), 14);
    EXPECT_EQ(des(3, 5), 0);
}

TEST_F(DesignStress, UltimateWithoutLongTermMomentAndShear)
{
    gCond.UltMQMode = kFalse;
    for (int16_t k = 1; k <= 3; ++k) {
        load(k, 1) = 10;
        load(k, 3) = 5;
        build(k);
    }
    EXPECT_EQ(des(1, 6), 20);
    EXPECT_EQ(des(2, 6), 10);
    EXPECT_EQ(des(3, 6), 10);

    gCond.SCondition = 2;
    load(2, 11) = 4;
    build(2);
    EXPECT_EQ(des(2, 6), 0.35 * 4 + 2.0 * 5);
}

TEST_F(DesignStress, HandEnteredTotals)
{
    gCond.ShortCalcMode = 1;
    gCond.UltCalcMode = 1;
    gCond.SymmetryX = kTrue;
    gCond.GammaY = 3;
    for (long j = 1; j <= 20; ++j) {
        load(1, j) = j;
        load(4, j) = 100 + j;
    }
    build(1);
    build(4);
    EXPECT_EQ(des(1, 4), 13);
    EXPECT_EQ(des(1, 5), 14);
    EXPECT_EQ(des(1, 6), 15);
    EXPECT_EQ(des(1, 7), 16);
    EXPECT_EQ(des(4, 4), 119);
    EXPECT_EQ(des(4, 5), 120);
    EXPECT_EQ(des(4, 6), 117);
    EXPECT_EQ(des(4, 7), 118);
}

TEST_F(DesignStress, UnknownModesAndRowsWriteNothing)
{
    load(1, 1) = 1;
    gCond.ShortCalcMode = 2;
    gCond.UltCalcMode = 5;
    build(1);
    EXPECT_EQ(des(1, 1), 1);
    for (long c = 4; c <= 8; ++c) EXPECT_EQ(des(1, c), -777) << c;

    const DesignTable before = des;
    build(0);
    build(7);
    EXPECT_TRUE(des == before);
}

TEST_F(DesignStress, DriversFillAllSixRowsOfTheColumn)
{
    const auto savedColumns = gColumns;
    const auto savedResults = gResults;
    const int16_t savedCur = gCurCol;
    gColumns.redim(2);
    gResults.redim(2);
    for (long k = 1; k <= 6; ++k) gColumns(2).LoadTbl(k, k <= 3 ? 1 : 2) = k;
    gCurCol = 2;
    BuildCurrentDesignStresses();
    for (long k = 1; k <= 6; ++k) EXPECT_EQ(gResults(2).DesignStress(k, 1), k);
    EXPECT_EQ(gResults(1).DesignStress(1, 1), 0);
    gColumns(1).LoadTbl(4, 2) = 9;
    BuildDesignStresses(1);
    EXPECT_EQ(gResults(1).DesignStress(4, 1), 9);
    gColumns = savedColumns;
    gResults = savedResults;
    gCurCol = savedCur;
}

TEST(ImportedStresses, MapToTheirLoadColumns)
{
    LoadTable dst{};
    dst.fill(-1);
    OldStressTable src{};
    for (long i = 1; i <= 6; ++i)
        for (long c = 1; c <= 6; ++c) src(i, c) = 10 * i + c;
    MapImportedStresses(dst, src);
    EXPECT_EQ(dst(2, 3), 22);
    EXPECT_EQ(dst(2, 4), -22);
    EXPECT_EQ(dst(5, 19), 53);
    EXPECT_EQ(dst(5, 13), -1);
    const long colsX[] = {1, 3, 13, 14, 15, 16};
    const long colsY[] = {2, 5, 19, 20, 17, 18};
    int written = 0;
    for (long i = 1; i <= 8; ++i) {
        for (long j = 1; j <= 20; ++j) {
            if (dst(i, j) != -1) ++written;
        }
    }
    EXPECT_EQ(written, 42);
    for (long i = 1; i <= 6; ++i) {
        const long* cols = i <= 3 ? colsX : colsY;
        for (long c = 1; c <= 6; ++c) EXPECT_EQ(dst(i, cols[c - 1]), 10 * i + c) << i << "," << c;
        EXPECT_EQ(dst(i, i <= 3 ? 4 : 6), -(10 * i + 2));
    }

    ClearStressTable(dst);
    for (long i = 1; i <= 8; ++i)
        for (long j = 1; j <= 20; ++j) ASSERT_EQ(dst(i, j), 0);
}
