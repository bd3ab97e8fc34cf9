#include "model/rebar_zone.h"

#include "model/globals.h"
#include "model/rebar_handover.h"
#include "platform/store/store.h"
#include "recording_kv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

using namespace model;
using model::testing::RecordingKv;

namespace {

bool Logged(const RecordingKv& kv, const std::string& entry)
{
    return std::find(kv.log.begin(), kv.log.end(), entry) != kv.log.end();
}

class RebarZone : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = {gCond, gUnitFactor, gDataFilePath, gDataFileName};
        gCond = MakeCondDefault(true, 0, "", "");
        gCond.SMode = kTrue;
        gCond.ColCount = 1;
        gCond.DesignRootX = 12;
        gCond.DesignRootY = 11;
        gUnitFactor = 1;
        gColumns.redim(1);
        gKvBase.redim(1);
        gResults.redim(1);
        gColumns(1).KolvanID = 9000090;
        gColumns(1).AbNum = 1;
        gKvBase(1).KvV = 1;
        gKvBase(1).AbD = 24;
        const std::filesystem::path test(KV_TEST_CATALOGUE);
        gDataFilePath = test.parent_path().string();
        gDataFileName = "/" + test.filename().string();
        kv.tu = 40;
        kv.mu = 10;
        kv.nAlpha = 0.5;  // t = -20, the ray has slope t / Mu = -2
    }
    void TearDown() override
    {
        gCond = saved.cond;
        gUnitFactor = saved.unit;
        gDataFilePath = saved.path;
        gDataFileName = saved.name;
        gColumns.redim(0);
        gKvBase.redim(0);
        gResults.redim(0);
    }
    void SetCase(long k, double nx, double mx, double ny, double my)
    {
        gResults(1).DesignStress(1, k) = nx;
        gResults(1).DesignStress(2, k) = mx;
        gResults(1).DesignStress(4, k) = ny;
        gResults(1).DesignStress(5, k) = my;
    }

    struct Saved {
        ProjectCondTbl cond;
        double unit;
        std::string path, name;
    } saved;
    RecordingKv kv;
};

TEST_F(RebarZone, StressPointAgainstTheRay)
{
    struct Case {
        double n, m;
        int16_t zone;
    };
    const Case cases[] = {
        {-20, 10, 1},    // on the ray
        {-25, 10, 2},    // more tension for the same moment
        {-15, 10, 1},    {50, 10, 1},
        {-1, 0.0005, 2},  // pure tension
        {1, 0.0005, 1},   // compression
        {0, 0.0005, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(CalcRebarZone(kv, 1, 0, c.n, c.m), c.zone) << c.n << " " << c.m;
}

TEST_F(RebarZone, BaseWithoutTension)
{
    kv.tu = 0;
    EXPECT_EQ(CalcRebarZone(kv, 1, 0, -0.001, 5), 2);
    EXPECT_EQ(CalcRebarZone(kv, 1, 0, -0.00005, 5), 1);
    EXPECT_EQ(CalcRebarZone(kv, 1, 0, 10, 5), 1);
}

TEST_F(RebarZone, NoMomentCapacityGivesTheLimit)
{
    kv.mu = 0;
    EXPECT_EQ(CalcRebarZone(kv, 1, 0, -1000, 0.01), 1);
    EXPECT_EQ(CalcRebarZone(kv, 1, 0, 5, 1), 1);
}

TEST_F(RebarZone, AlphaBySeries)
{
    kv.nAlpha = 0.3;
    struct Case {
        int16_t kvV;
        const char* load;
    };
    const Case cases[] = {{0, "VerticalLoad=-20"}, {2, "VerticalLoad=-20"}, {1, "VerticalLoad=-12"},
                          {4, "VerticalLoad=-12"}, {6, "VerticalLoad=-12"}, {3, "VerticalLoad=-16"},
                          {5, "VerticalLoad=-16"}, {7, "VerticalLoad=-16"}};
    for (const Case& c : cases) {
        kv.log.clear();
        gKvBase(1).KvV = c.kvV;
        CalcRebarZone(kv, 1, 0, 1, 1);
        EXPECT_TRUE(Logged(kv, c.load)) << c.kvV;
        EXPECT_TRUE(Logged(kv, "Condition=0"));
        EXPECT_TRUE(Logged(kv, "KolvanID=9000090"));
        EXPECT_EQ(Logged(kv, "NAlpha?"), c.kvV == 1 || c.kvV == 4 || c.kvV == 6) << c.kvV;
    }
}

TEST_F(RebarZone, EngineDirection)
{
    struct Case {
        int16_t rotateMode, kvRotate, dir;
        const char* sent;
    };
    const Case cases[] = {{kFalse, 0, 1, "Direction=0"}, {kFalse, 1, 1, "Direction=0"},
                          {kTrue, 0, 1, "Direction=1"},  {kTrue, 1, 1, "Direction=0"},
                          {kTrue, 1, 0, "Direction=1"}};
    for (const Case& c : cases) {
        kv.log.clear();
        gKvBase(1).RotateMode = c.rotateMode;
        gColumns(1).KvRotate = c.kvRotate;
        CalcRebarZone(kv, 1, c.dir, 1, 1);
        EXPECT_TRUE(Logged(kv, c.sent)) << c.rotateMode << c.kvRotate << c.dir;
    }
}

TEST_F(RebarZone, RouteOfXPicksTheCasesForBothDirections)
{
    // Short-term cases 4 and 5 are zero (zone II without the engine); the
    // ultimate cases 6 and 7 compress (zone I).
    SetCase(4, 0, 0, 0, 0);
    SetCase(5, 0.00005, -0.00005, 0, 0);
    SetCase(6, 100, -1, 100, 1);
    SetCase(7, 100, 1, 100, -1);
    gCond.DesignRootX = 12;
    EXPECT_EQ(GetGoverningRebarZone(kv, 1), 1);
    for (long d = 0; d <= 1; ++d)
        for (long c = 1; c <= 2; ++c) EXPECT_EQ(gColumns(1).RebarZone(d, c), 1);

    for (int16_t route : {int16_t(11), int16_t(1)}) {
        kv.log.clear();
        gCond.DesignRootX = route;
        EXPECT_EQ(GetGoverningRebarZone(kv, 1), 2);
        EXPECT_TRUE(kv.log.empty());  // no engine for a zero stress point
        for (long d = 0; d <= 1; ++d)
            for (long c = 1; c <= 2; ++c) EXPECT_EQ(gColumns(1).RebarZone(d, c), 2);
    }
}

TEST_F(RebarZone, StoredMaximum)
{
    ColumnDataTbl col;
    EXPECT_EQ(MaxRebarZone(col), 0);
    col.RebarZone(1, 2) = 2;
    col.RebarZone(0, 1) = 1;
    EXPECT_EQ(MaxRebarZone(col), 2);
    gColumns(1) = col;
    EXPECT_EQ(GetColumnRebarZone(1), 2);
}

TEST_F(RebarZone, PedestalFromTheCatalogue)
{
    // All stresses zero: zone II. Centre column: set 4; turned: X and Y exchanged.
    gColumns(1).KvRotate = 1;
    EXPECT_EQ(LoadRebarZoneDetails(kv, 1, 1), 2);
    const ColumnDataTbl& c = gColumns(1);
    EXPECT_EQ(c.cD(1), 540);
    EXPECT_EQ(c.cD(0), 640);
    EXPECT_EQ(c.RBarVal.value(), "25  ");
    EXPECT_EQ(c.RBarMat.value(), "SD490   ");
    EXPECT_EQ(c.RmN(1), 5);
    EXPECT_EQ(c.RmN(0), 9);
    EXPECT_EQ(c.HoopSize.value(), "19  ");
    EXPECT_EQ(c.HoopMat.value(), "H490    ");
    EXPECT_EQ(c.HoopN(1), 14);
    EXPECT_EQ(c.HoopN(0), 24);
    EXPECT_EQ(c.HoopPitch, 104);
    EXPECT_EQ(c.rD(0), 777);

    // Not turned, not a centre column: set 2 as it stands.
    gColumns(1).KvRotate = 0;
    EXPECT_EQ(LoadRebarZoneDetails(kv, 1, 0), 2);
    EXPECT_EQ(c.cD(0), 520);
    EXPECT_EQ(c.cD(1), 620);
    EXPECT_EQ(c.RmN(0), 3);
    EXPECT_EQ(c.HoopN(1), 22);
}

TEST_F(RebarZone, PedestalUnchangedForSeriesZeroOrMissingRow)
{
    gKvBase(1).KvV = 0;
    const ColumnDataTbl before = gColumns(1);
    EXPECT_EQ(LoadRebarZoneDetails(kv, 1, 0), 2);
    ColumnDataTbl after = gColumns(1);
    after.RebarZone = before.RebarZone;
    EXPECT_EQ(after, before);

    gKvBase(1).KvV = 1;
    gKvBase(1).AbD = 99;  // no KvData row
    const ColumnDataTbl zoned = gColumns(1);
    EXPECT_THROW(LoadRebarZoneDetails(kv, 1, 0), store::StoreError);
    EXPECT_EQ(gColumns(1), zoned);
}

TEST_F(RebarZone, DialogRecordUsesTheStoredZones)
{
    struct Case {
        int16_t zone, flag;
        double cdx;
    };
    const Case cases[] = {{0, 0, 520}, {0, 1, 540}, {1, 0, 510}, {1, 1, 530}, {2, 0, 520}, {2, 1, 540}};
    for (const Case& c : cases) {
        ColumnDataTbl col = gColumns(1);
        col.RebarZone(0, 1) = c.zone;
        LoadSrcRebarDefaults(col, gKvBase(1), c.flag);
        EXPECT_EQ(col.cD(0), c.cdx) << c.zone << " " << c.flag;
        EXPECT_EQ(col.rD(0), 777);
    }
}

// A record's pedestal as the catalogue set (zone + 2 * centre) fills it.
ColumnDataTbl WithSet(ColumnDataTbl col, int16_t zone, int16_t centre)
{
    col.RebarZone(0, 1) = zone;
    LoadSrcRebarDefaults(col, gKvBase(1), centre);
    return col;
}

void StoreZone(ColumnDataTbl& col, int16_t zone)
{
    for (long d = 0; d <= 1; ++d)
        for (long c = 1; c <= 2; ++c) col.RebarZone(d, c) = zone;
}

TEST_F(RebarZone, PedestalOfTheOtherZoneFollowsTheStoredZone)
{
    struct Case {
        const char* what;
        int16_t rotate, centre, from, to;
        bool smode = true;
        int16_t kvV = 1;
        bool byHand = false;  // one value of the pedestal chosen by hand
        bool replaced;
    };
    const Case cases[] = {
        {"set 1 in zone 2", 0, 0, 1, 2, true, 1, false, true},
        {"set 2 in zone 1", 0, 0, 2, 1, true, 1, false, true},
        {"turned centre column, set 3 in zone 2", 1, 1, 1, 2, true, 1, false, true},
        {"the zone's own set", 0, 0, 2, 2, true, 1, false, false},
        {"a size chosen by hand", 0, 0, 1, 2, true, 1, true, false},
        {"SRC mode", 0, 0, 1, 2, false, 1, false, false},
        {"series 0", 0, 0, 1, 2, true, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gCond.SMode = c.smode ? kTrue : kFalse;
        gColumns(1).KvRotate = c.rotate;
        gColumns(1).CenColWall(0) = c.centre;
        ColumnDataTbl col = WithSet(gColumns(1), c.from, c.centre);
        if (c.byHand) col.cD(0) = 700;
        StoreZone(col, c.to);
        gKvBase(1).KvV = c.kvV;
        const ColumnDataTbl before = col;
        EXPECT_EQ(FollowZoneWithPedestal(col, gKvBase(1)), c.replaced);
        gKvBase(1).KvV = 1;
        ColumnDataTbl expected = c.replaced ? WithSet(before, c.to, c.centre) : before;
        StoreZone(expected, c.to);
        EXPECT_EQ(col, expected);
    }
    // Not turned, set 2: 520 x 620; turned, set 4: 640 x 540.
    gCond.SMode = kTrue;
    gColumns(1).KvRotate = 1;
    gColumns(1).CenColWall(0) = 1;
    ColumnDataTbl turned = WithSet(gColumns(1), 1, 1);
    StoreZone(turned, 2);
    ASSERT_TRUE(FollowZoneWithPedestal(turned, gKvBase(1)));
    EXPECT_EQ(turned.cD(0), 640);
    EXPECT_EQ(turned.cD(1), 540);
    EXPECT_EQ(turned.RmN(0), 9);
}

// The zone a path stores carries the pedestal and the base-rebar record with
// it; a record whose zone is the column's, of a pedestal that stays, keeps
// every value it holds.
TEST_F(RebarZone, StoringTheZoneRebuildsOnlyARecordThatNoLongerFits)
{
    const clsFendral savedList = gFendral;
    gColumns(1).ColName = "C1";
    SetCase(6, 100, -1, 100, 1);
    SetCase(7, 100, 1, 100, -1);
    ASSERT_EQ(LoadRebarZoneDetails(kv, 1, 0), 1);
    RebuildColumnRebar();
    FendralTbl rec;
    gFendral.Get_Data(1, rec, 1);
    rec.ColName = "as the list had it";
    rec.Text1 = "carried";
    rec.RmNx = 7;  // as the rebar-setting program may give it
    gFendral.Set_Data(1, rec, 1);

    // The same zone: nothing to follow, the record as it was.
    EXPECT_EQ(StoreColumnZone(kv, 1), 1);
    FendralTbl same;
    gFendral.Get_Data(1, same, 1);
    EXPECT_EQ(same.ColName, "as the list had it");
    EXPECT_EQ(same.RmNx, 7);
    EXPECT_EQ(same.cDx, 510);

    // Zone 2: the pedestal of set 2, and the record rebuilt from the column
    // with what the rebar-setting program set kept.
    SetCase(6, 0, 0, 0, 0);
    EXPECT_EQ(StoreColumnZone(kv, 1), 2);
    EXPECT_EQ(gColumns(1).cD(0), 520);
    FendralTbl moved;
    gFendral.Get_Data(1, moved, 1);
    EXPECT_EQ(moved.RebarZone, 2);
    EXPECT_EQ(moved.cDx, 520);
    EXPECT_EQ(moved.cDy, 620);
    EXPECT_EQ(moved.RmNx, 3);
    EXPECT_EQ(moved.ColName, "C1");
    EXPECT_EQ(moved.Text1, "carried");
    EXPECT_EQ(moved.ID, rec.ID);

    // A record whose zone alone is stale is rebuilt as well.
    moved.RebarZone = 1;
    gFendral.Set_Data(1, moved, 1);
    StoreColumnZone(kv, 1);
    gFendral.Get_Data(1, moved, 1);
    EXPECT_EQ(moved.RebarZone, 2);
    gFendral = savedList;
}

TEST_F(RebarZone, DefaultArrangement)
{
    gDataFilePath = KV_SAMPLE_DIR;
    gDataFileName = "/data.mdb";
    KvBaseTbl kvb;
    kvb.KvV = 4;
    kvb.KvName = "WP200-4";
    ColumnDataTbl col;
    col.Fc = 210;  // kgf/cm², looked up as 21
    col.cD(0) = 650;
    col.cD(1) = 650;
    col.RBarVal = "D19";
    col.RBarMat = "SD345";
    for (long d = 0; d <= 1; ++d)
        for (long c = 1; c <= 2; ++c) col.RebarZone(d, c) = 2;

    ColumnDataTbl a = col;
    ASSERT_TRUE(ApplyDefaultArrangement(a, kvb));
    EXPECT_EQ(a.RmN(0), 5);
    EXPECT_EQ(a.RmN(1), 5);
    EXPECT_EQ(a.HoopSize.value(), "10  ");
    EXPECT_EQ(a.HoopMat.value(), "SD295   ");
    EXPECT_EQ(a.HoopN(0), 3);
    EXPECT_EQ(a.HoopPitch, 100);
    EXPECT_EQ(a.CenColWall(1), 1);
    EXPECT_EQ(a.rD(0), 760);

    // A strength between the table's finds nothing: the record stays.
    ColumnDataTbl b = col;
    b.Fc = 22.5;
    const ColumnDataTbl unchanged = b;
    EXPECT_FALSE(ApplyDefaultArrangement(b, kvb));
    EXPECT_EQ(b, unchanged);

    // A row but no variant of the zone: only the anchorage length changes.
    ColumnDataTbl z = col;
    for (long d = 0; d <= 1; ++d)
        for (long c = 1; c <= 2; ++c) z.RebarZone(d, c) = 0;
    ColumnDataTbl expected = z;
    expected.rD(0) = 760;
    EXPECT_FALSE(ApplyDefaultArrangement(z, kvb));
    EXPECT_EQ(z, expected);
}

TEST(RebarKey, MainBarKeyWithOrWithoutTheD)
{
    struct Case {
        const char *size, *grade, *key;
    } cases[] = {
        {"D19", "SD345", "D19(SD345)"},
        {"25  ", "SD390   ", "D25(SD390)"},  // as stored: fixed width, no "D"
        {" D22 ", " SD345", "D22(SD345)"},
    };
    for (const Case& c : cases) EXPECT_EQ(MainBarKey(c.size, c.grade), c.key) << c.size;
}

TEST_F(RebarZone, SrcColumnRank)
{
    EXPECT_EQ(GetSrcColumnRank(kv, 1, 0), "");
    EXPECT_TRUE(kv.log.empty());

    gCond.SMode = kFalse;
    gCond.DesignRootX = 21;
    gCond.DesignRootY = 23;
    gUnitFactor = 2;
    gColumns(1).CenColWall(1) = 1;
    SetCase(6, 5, 0, -3, 0);
    SetCase(7, 7, 0, -5, 0);
    EXPECT_EQ(GetSrcColumnRank(kv, 1, 0), "FA");
    EXPECT_EQ(kv.log, (std::vector<std::string>{"DesignRoot=21", "srcWall=0", "VerticalLoad=0", "ColRank?"}));
    kv.log.clear();
    GetSrcColumnRank(kv, 1, 1);
    EXPECT_EQ(kv.log, (std::vector<std::string>{"DesignRoot=23", "srcWall=1", "VerticalLoad=-10", "ColRank?"}));
}

}  // namespace
