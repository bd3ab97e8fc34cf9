#include "model/rebar_handover.h"

#include "model/globals.h"
#include "model/project_file.h"
#include "platform/text/cp932.h"
#include "rebar_fixture.h"
#include "tests/platform/ui/scripted_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace model;
using model::testing::RebarProject;
using model::testing::TempFolder;
using ui::testing::ScopedUi;
using ui::testing::ScriptedUi;

namespace {

std::string ReadBytes(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(RebarRecord, BuiltFromColumnAndBase)
{
    ColumnDataTbl col;
    col.ColName = "  1C1 ";
    col.Fc = 240;
    col.CenColWall(0) = 1;
    col.RebarZone(1, 2) = 2;
    col.cD(0) = 650;
    col.cD(1) = 700;
    col.RmN(0) = 4;
    col.RmN(1) = 5;
    col.RBarVal = "D22";
    col.HoopSize = "13";
    col.HoopPitch = 100;
    col.rD(0) = 880;
    col.KvRotate = 1;
    col.KvDir = 3;
    KvBaseTbl kvb;
    kvb.KvV = 4;
    kvb.KvName = "ＷＲ２００－カ";  // full width
    kvb.AbD = 24;
    kvb.AbV = 1;
    kvb.RotateMode = kTrue;
    for (long k = 1; k <= 6; ++k) {
        kvb.KvLen(0, k) = k;
        kvb.KvLen(1, k) = 100 + k;
    }
    kvb.HenshinE(0) = 5;
    kvb.HenshinE(1) = -5;

    FendralTbl r;
    r.ID = 77;
    r.Flag = 3;
    r.Text1 = "keep";
    r.Blocks(2).Name = "kept";
    BuildFendralRecord(r, col, kvb);
    EXPECT_EQ(r.ColName, "1C1");
    EXPECT_EQ(r.ModelName, "WR200-ｶ");
    EXPECT_EQ(r.ProductCode, 13);
    EXPECT_EQ(r.SeriesCode, 2);
    EXPECT_EQ(r.Fc, 24);
    EXPECT_EQ(r.WallCode, 2);
    EXPECT_EQ(r.RebarZone, 2);
    EXPECT_EQ(r.cDx, 650);
    EXPECT_EQ(r.cDy, 700);
    EXPECT_EQ(r.RmNx, 4);
    EXPECT_EQ(r.RmNy, 5);
    EXPECT_EQ(r.BarDia, 22);
    EXPECT_EQ(r.HoopDia, 13);
    EXPECT_EQ(r.HoopPitch, 100);
    EXPECT_EQ(r.rDx, 880);
    EXPECT_EQ(r.DefaultExtra, 50);
    EXPECT_EQ(r.AbD, 24);
    EXPECT_EQ(r.AbV, 1);
    EXPECT_EQ(r.RotateMode, kTrue);
    EXPECT_EQ(r.KvLen(6), 6);  // the X dimensions
    EXPECT_EQ(r.HenshinE(1), -5);
    EXPECT_EQ(r.Rotation, 1);
    EXPECT_EQ(r.BaseDir, 3);
    EXPECT_EQ(r.ID, 77);
    EXPECT_EQ(r.Flag, 3);
    EXPECT_EQ(r.Text1, "keep");
    EXPECT_EQ(r.Blocks(2).Name, "kept");
    // The column's own texts are untouched.
    EXPECT_EQ(col.RBarVal.value(), "D22 ");

    struct Case {
        const char* bar;
        double fc;
        double dia, fcOut;
    };
    const Case cases[] = {{"D6", 24, 6, 24}, {"x", 100, 0, 100}, {"", 100.5, 0, 10.05}, {"DD10", 18, 10, 18}};
    for (const Case& c : cases) {
        col.RBarVal = c.bar;
        col.Fc = c.fc;
        BuildFendralRecord(r, col, kvb);
        EXPECT_EQ(r.BarDia, c.dia) << c.bar;
        EXPECT_DOUBLE_EQ(r.Fc, c.fcOut) << c.fc;
    }
}

TEST(RebarRecord, ProductCodeBySeries)
{
    struct Case {
        int16_t kvV;
        int16_t code;
    };
    const Case cases[] = {{1, 8}, {5, 8}, {4, 13}, {0, 99}, {2, 99}, {3, 99}, {6, 99}};
    for (const Case& c : cases) {
        FendralTbl r;
        r.ProductCode = 99;
        KvBaseTbl kvb;
        kvb.KvV = c.kvV;
        BuildFendralRecord(r, ColumnDataTbl{}, kvb);
        EXPECT_EQ(r.ProductCode, c.code) << c.kvV;
    }
}

TEST(RebarRecord, TransferFileNames)
{
    EXPECT_EQ(TransferFileName("A.kud"), "A.kud2");
    EXPECT_EQ(TransferFileName("C:\\P\\B.x.kud"), "B.x.kud2");
    EXPECT_EQ(TransferFileName("/home/u/my project/B.x.kud"), "B.x.kud2");
    EXPECT_EQ(TransferFileName("/P/plain"), "plain.kud2");
}

TEST(RebarRecord, TransferFile)
{
    TempFolder t;
    const RebarSettingTbl saved = gRebarSetting;
    gRebarSetting = {"C:\\K\\data.mdb", "C:\\T\\", "RebarTemp.Tmp"};
    ASSERT_TRUE(WriteTransferFile(t.dir() + "RebarSetting.txt"));
    EXPECT_EQ(ReadBytes(t.dir() + "RebarSetting.txt"),
              text::ToCp932("受け渡しファイル") + "\r\n1.00\r\nC:\\K\\data.mdb\r\nC:\\T\\\r\nRebarTemp.Tmp\r\n-+-\r\n");
    EXPECT_FALSE(WriteTransferFile(t.dir() + "no such folder/RebarSetting.txt"));
    gRebarSetting = saved;
}

using RebarList = RebarProject;

TEST_F(RebarList, FollowsTheColumns)
{
    RebuildColumnRebar();
    EXPECT_EQ(ListNames(), "C1#1 C2#2 C3#3 ");

    // Carried data of record 2 must stay with column C2.
    FendralTbl r;
    gFendral.Get_Data(2, r, 1);
    r.Blocks(1).Name = "C2 block";
    gFendral.Set_Data(2, r, 1);

    // Insert before C2: a fresh record with a new ID, nothing of C2's.
    ColumnDataTbl inserted = gColumns(1);
    inserted.ColName = "N";
    InsertColumnRebar(2, inserted, gKvBase(1));
    EXPECT_EQ(ListNames(), "C1#1 N#4 C2#2 C3#3 ");
    gFendral.Get_Data(2, r, 1);
    EXPECT_EQ(r.Blocks(1).Name, "");
    gFendral.Get_Data(3, r, 1);
    EXPECT_EQ(r.Blocks(1).Name, "C2 block");

    InsertColumnRebar(5, inserted, gKvBase(1));  // after the last
    EXPECT_EQ(ListNames(), "C1#1 N#4 C2#2 C3#3 N#5 ");
    DeleteColumnRebar(2);
    EXPECT_EQ(ListNames(), "C1#1 C2#2 C3#3 N#5 ");
    SwapColumnRebar(1, 2);
    EXPECT_EQ(ListNames(), "C2#2 C1#1 C3#3 N#5 ");
    RenameColumnRebar(4, "  M  ");
    EXPECT_EQ(ListNames(), "C2#2 C1#1 C3#3 M#5 ");
}

TEST_F(RebarList, UpdateKeepsCarriedData)
{
    RebuildColumnRebar();
    FendralTbl r;
    gFendral.Get_Data(1, r, 1);
    r.Text1 = "t1";
    r.Text2 = "t2";
    r.Pair(1) = 9;
    r.Blocks(4).Extra = 12;
    r.ProductCode = 99;
    gFendral.Set_Data(1, r, 1);
    gFendral.Set_DataFlag(r.ID, 4);

    for (int16_t kvV : {0, 2, 3, 6}) {
        gKvBase(1).KvV = kvV;
        gColumns(1).ColName = "Z";
        UpdateColumnRebar(1, gColumns(1), gKvBase(1));
        FendralTbl u;
        gFendral.Get_Data(1, u, 1);
        EXPECT_EQ(u.ColName, "Z");
        EXPECT_EQ(u.ID, 1);
        EXPECT_EQ(u.Flag, 4);
        EXPECT_EQ(u.Text1, "t1");
        EXPECT_EQ(u.Text2, "t2");
        EXPECT_EQ(u.Pair(1), 9);
        EXPECT_EQ(u.Blocks(4).Extra, 12);
        EXPECT_EQ(u.ProductCode, 99) << kvV;
    }
}

TEST_F(RebarList, CompanionRoundTrip)
{
    TempFolder t;
    const std::string project = t.dir() + "B.x.kud";
    RebuildColumnRebar();
    FendralTbl r;
    gFendral.Get_Data(3, r, 1);
    r.Text1 = "set by the rebar program";
    gFendral.Set_Data(3, r, 1);
    const clsFendral written = gFendral;
    WriteFileAtomically(RebarCompanionPath(project), gFendral.FileBytes());
    ASSERT_TRUE(std::filesystem::exists(t.dir() + "B.x.kud2"));

    ScriptedUi u;
    ScopedUi scope(u);
    gFendral = clsFendral();
    LoadRebarCompanion(project, false);
    FendralTbl back;
    gFendral.Get_Data(3, back, 1);
    EXPECT_EQ(back.Text1, "set by the rebar program");
    EXPECT_EQ(gFendral.GetCount(), 3);
    EXPECT_TRUE(u.messages.empty());

    // An old project ignores the companion, and leaves it on disk.
    LoadRebarCompanion(project, true);
    gFendral.Get_Data(3, back, 1);
    EXPECT_EQ(back.Text1, "");
    EXPECT_TRUE(std::filesystem::exists(t.dir() + "B.x.kud2"));

    // No companion: a fresh list.
    gFendral = written;
    LoadRebarCompanion(t.dir() + "other.kud", false);
    EXPECT_EQ(ListNames(), "C1#1 C2#2 C3#3 ");
    gFendral.Get_Data(3, back, 1);
    EXPECT_EQ(back.Text1, "");
}

TEST_F(RebarList, OldCompanionIsRefreshedFromTheProject)
{
    TempFolder t;
    RebuildColumnRebar();
    // Records whose base and orientation fields differ from the project's.
    clsFendral stale = gFendral;
    for (int32_t i = 1; i <= 3; ++i) {
        FendralTbl r;
        stale.Get_Data(i, r, 1);
        r.AbD = 99;
        r.Rotation = 0;
        r.BaseDir = 0;
        stale.Set_Data(i, r, 1);
    }
    stale.Data_Write(t.dir(), "", "P.kud2");
    std::string bytes = ReadBytes(t.dir() + "P.kud2");

    struct Case {
        const char* version;
        double abD;
        int16_t rotation;
    };
    const Case cases[] = {{"1.02", 24, 1}, {"1.03", 99, 1}, {"1.04", 99, 0}};
    for (const Case& c : cases) {
        std::string v = bytes;
        v.replace(v.find("1.04"), 4, c.version);
        std::ofstream(t.dir() + "P.kud2", std::ios::binary) << v;
        gFendral = clsFendral();
        LoadRebarCompanion(t.dir() + "P.kud", false);
        ASSERT_EQ(gFendral.GetCount(), 3);
        FendralTbl r;
        gFendral.Get_Data(2, r, 1);
        EXPECT_EQ(r.AbD, c.abD) << c.version;
        EXPECT_EQ(r.Rotation, c.rotation) << c.version;
        EXPECT_EQ(r.BaseDir, c.rotation ? 2 : 0) << c.version;
    }
}

TEST_F(RebarList, CompanionOfAnotherSizeIsReconciled)
{
    TempFolder t;
    ScriptedUi u;
    ScopedUi scope(u);
    MakeColumns(2);
    RebuildColumnRebar();
    gFendral.Data_Write(t.dir(), "", "P.kud2");

    // Fewer records than columns, in an old version that needs the refresh.
    MakeColumns(4);
    std::string v = ReadBytes(t.dir() + "P.kud2");
    v.replace(v.find("1.04"), 4, "1.02");
    std::ofstream(t.dir() + "P.kud2", std::ios::binary) << v;
    LoadRebarCompanion(t.dir() + "P.kud", false);
    EXPECT_EQ(ListNames(), "C1#1 C2#2 C3#3 C4#4 ");
    ASSERT_EQ(u.messages.size(), 1u);

    // More records than columns: the extra ones are dropped.
    gFendral.Data_Write(t.dir(), "", "P.kud2");
    MakeColumns(1);
    LoadRebarCompanion(t.dir() + "P.kud", false);
    EXPECT_EQ(ListNames(), "C1#1 ");
    EXPECT_EQ(u.messages.size(), 2u);

    // An unreadable companion: a fresh list, and the user is told.
    std::ofstream(t.dir() + "P.kud2", std::ios::binary) << "title\r\n1.04\r\n5\r\nbad\r\n";
    LoadRebarCompanion(t.dir() + "P.kud", false);
    EXPECT_EQ(ListNames(), "C1#1 ");
    EXPECT_EQ(u.messages.size(), 3u);
}

}  // namespace
