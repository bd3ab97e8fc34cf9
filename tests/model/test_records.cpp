#include "model/globals.h"
#include "model/records.h"

#include <gtest/gtest.h>

#include <string>

using namespace model;

namespace {

std::string Padded(const std::string& s, std::size_t chars)
{
    return s + std::string(chars - text::CharCount(s), ' ');
}

bool AllZero(const LoadTable& t)
{
    for (long i = 1; i <= 8; ++i)
        for (long j = 1; j <= 20; ++j)
            if (t(i, j) != 0) return false;
    return true;
}

}  // namespace

TEST(CondDefault, HoldsEveryDocumentedValue)
{
    const ProjectCondTbl c = MakeCondDefault(true, 45000, "", "");
    EXPECT_EQ(c.ColCount, 1);
    EXPECT_EQ(c.Bukken.value(), Padded("某物件", 50));
    EXPECT_EQ(c.ShortCalcMode, 0);
    EXPECT_EQ(c.UltCalcMode, 0);
    EXPECT_EQ(c.GammaX, 2.0);
    EXPECT_EQ(c.Fc, 21);
    EXPECT_EQ(c.Version.value(), Padded("Version 5.03", 50));
    EXPECT_EQ(c.GFactor, 9.80665);
    EXPECT_EQ(c.DevNum, 6);
    EXPECT_EQ(c.UltJadge, -1);
    EXPECT_EQ(c.SMode, -1);
    EXPECT_EQ(c.ImportApp.value(), std::string(50, ' '));
    EXPECT_EQ(c.Tantou.value(), Padded("設計係員", 50));
    EXPECT_EQ(c.BukkenDate, 45000);
    EXPECT_EQ(c.ImportDir.value(), std::string(150, ' '));
    EXPECT_EQ(c.ImportFile.value(), std::string(100, ' '));
    EXPECT_EQ(c.DesignRootX, 3);
    EXPECT_EQ(c.DesignRootY, 3);
    EXPECT_EQ(c.GammaY, 2.0);
    EXPECT_EQ(c.SCondition, 0);
    EXPECT_EQ(c.Alpha1, 0.7);
    EXPECT_EQ(c.Alpha2, 0.35);
    EXPECT_EQ(c.Lw1, 0);
    EXPECT_EQ(c.Lw2, 0);
    EXPECT_EQ(c.FcSrc, 24);
    EXPECT_EQ(c.AxisCountX, 0);
    EXPECT_EQ(c.AxisCountY, 0);
    EXPECT_EQ(c.SymmetryX, -1);
    EXPECT_EQ(c.SymmetryY, -1);
    EXPECT_EQ(c.UltMQMode, -1);
    EXPECT_EQ(c.BrBeta1, 1.0);
    EXPECT_EQ(c.BrBeta2, 1.0);
    for (long i = 1; i <= 1015; ++i) ASSERT_EQ(c.Reserve(i), 0) << i;

    const ProjectCondTbl old = MakeCondDefault(false, 45000, "", "");
    EXPECT_EQ(old.Fc, 210);
    EXPECT_EQ(old.FcSrc, 240);
}

TEST(ColumnDefault, SteelTemplate)
{
    const ColumnDataTbl c = MakeColumnDefault(1, true, 21);
    EXPECT_EQ(c.ColName.value(), Padded("1C1", 50));
    EXPECT_EQ(c.KolvanID, 150310);
    EXPECT_EQ(c.KvV, 4);
    EXPECT_EQ(c.AbNum, 1);
    EXPECT_EQ(c.KvRotate, 0);
    EXPECT_EQ(c.KvDir, 0);
    EXPECT_EQ(c.ColV, 0);
    EXPECT_EQ(c.ColSize, 200);
    EXPECT_EQ(c.ColT, 9);
    EXPECT_EQ(c.ColID, 0);
    EXPECT_EQ(c.ColMatCode, 0);
    EXPECT_EQ(c.ColF, 3.0);
    const double spec[] = {45.32, 392, 465, 392, 465};
    for (long k = 0; k <= 4; ++k) {
        EXPECT_EQ(c.ColSpec(k), spec[k]);
        EXPECT_EQ(c.ColSpecUser(k), 0);
    }
    EXPECT_EQ(c.ColXYDiffer, 0);
    EXPECT_EQ(c.RBarMat.value(), std::string(8, '\0'));  // never assigned
    EXPECT_EQ(c.RBarVal.value(), "16  ");
    EXPECT_EQ(c.RmN(0), 5);
    EXPECT_EQ(c.RmN(1), 5);
    EXPECT_EQ(c.rD(0), 220);
    EXPECT_EQ(c.rD(1), 0);
    EXPECT_EQ(c.cD(0), 550);
    EXPECT_EQ(c.cD(1), 550);
    EXPECT_EQ(c.cD2(0), 0);
    for (long d = 0; d <= 1; ++d) {
        EXPECT_EQ(c.RtN(d), 0);
        EXPECT_EQ(c.RqN(d), 0);
        EXPECT_EQ(c.HoopN(d), 1);
        EXPECT_EQ(c.SrcDim5(d), 0);
        for (long k = 0; k <= 3; ++k) EXPECT_EQ(c.SrcColSpec(d, k), 0);
        for (long k = 1; k <= 2; ++k) {
            EXPECT_EQ(c.LumoQuCond(d, k), 1);
            EXPECT_EQ(c.RebarZone(d, k), 2);
        }
    }
    EXPECT_EQ(c.AxisXNo, 1);
    EXPECT_EQ(c.AxisYNo, 1);
    EXPECT_EQ(c.AxisXName.value(), Padded("X1", 10));
    EXPECT_EQ(c.AxisYName.value(), Padded("Y1", 10));
    EXPECT_EQ(c.Fc, 21);
    EXPECT_EQ(c.CSizeKind.value(), "RB  ");
    EXPECT_EQ(c.HoopSize.value(), "13  ");
    EXPECT_EQ(c.HoopMat.value(), "SD295   ");
    EXPECT_EQ(c.HoopPitch, 150);
    EXPECT_EQ(c.SlabFc, 18);
    EXPECT_EQ(c.SlabQ_d1, 0);
    EXPECT_EQ(c.SlabQ_d2, 200);
    EXPECT_EQ(c.SlabQ_B1X, 0);
    EXPECT_EQ(c.SlabQ_B2Y, 0);
    EXPECT_TRUE(AllZero(c.LoadTbl));
    EXPECT_TRUE(AllZero(c.LoadTblBR));
    for (long i = 1; i <= 318; ++i) ASSERT_EQ(c.Reserve(i), 0);

    EXPECT_EQ(MakeColumnDefault(1, false, 210).SlabFc, 180);
    EXPECT_EQ(MakeColumnDefault(1, false, 210).Fc, 210);
}

TEST(ColumnDefault, SeriesPicksTheTemplateModel)
{
    struct Case {
        int16_t series;
        int32_t id;
        int16_t kvv;
    } const cases[] = {{0, 100100, 2}, {1, 150310, 4}, {4, 150310, 4}, {6, 150310, 4},
                       {2, 0, 0},      {3, 0, 0},      {5, 0, 0},      {-1, 0, 0}};
    for (const Case& c : cases) {
        const ColumnDataTbl s = MakeColumnDefault(c.series, true, 21);
        EXPECT_EQ(s.KolvanID, c.id) << c.series;
        EXPECT_EQ(s.KvV, c.kvv) << c.series;
        const ColumnDataTbl src = MakeColumnDefaultSrc(s, true);
        EXPECT_EQ(src.KolvanID, 1000500) << c.series;
        EXPECT_EQ(src.KvV, c.kvv) << c.series;
    }
}

TEST(ColumnDefault, SrcTemplateChangesOnlyItsOwnFields)
{
    ColumnDataTbl s = MakeColumnDefault(1, false, 210);
    const ColumnDataTbl c = MakeColumnDefaultSrc(s, false);
    EXPECT_EQ(c.ColV, 3);
    EXPECT_EQ(c.ColMatCode, 10);
    EXPECT_EQ(c.ColXYDiffer, -1);
    EXPECT_EQ(c.RBarMat.value(), "SD345   ");
    EXPECT_EQ(c.RBarVal.value(), "D22 ");
    EXPECT_EQ(c.Fc, 240);
    const double spec[] = {384, 4001, 4501, 0.0077};
    const double hdim[] = {600, 250, 12, 25};
    for (long d = 0; d <= 1; ++d) {
        for (long k = 0; k <= 3; ++k) EXPECT_EQ(c.SrcColSpec(d, k), spec[k]);
        for (long k = 1; k <= 4; ++k) EXPECT_EQ(c.SrcHDim(d, k), hdim[k - 1]);
        EXPECT_EQ(c.SrcDim5(d), 300);
        EXPECT_EQ(c.cD(d), 900);
        EXPECT_EQ(c.cD2(d), 450);
        EXPECT_EQ(c.rD(d), 769);
        EXPECT_EQ(c.RtN(d), 8);
        EXPECT_EQ(c.RmN(d), 0);
        EXPECT_EQ(c.RqN(d), 12);
        EXPECT_EQ(c.RTensN(d), 0);
        EXPECT_EQ(c.RTabane(d), 0);
    }
    // Everything else is the S template's.
    ColumnDataTbl back = c;
    back.ColV = s.ColV;
    back.ColMatCode = s.ColMatCode;
    back.ColXYDiffer = s.ColXYDiffer;
    back.RBarMat = s.RBarMat;
    back.RBarVal = s.RBarVal;
    back.Fc = s.Fc;
    back.KolvanID = s.KolvanID;
    back.SrcColSpec = s.SrcColSpec;
    back.SrcHDim = s.SrcHDim;
    back.SrcDim5 = s.SrcDim5;
    back.cD = s.cD;
    back.cD2 = s.cD2;
    back.rD = s.rD;
    back.RtN = s.RtN;
    back.RmN = s.RmN;
    back.RqN = s.RqN;
    EXPECT_EQ(back.RBarMat.value(), std::string(8, '\0'));
    EXPECT_TRUE(back == s);
    EXPECT_EQ(c.SlabQ_d2, 200);
    EXPECT_EQ(c.SlabFc, 180);
}

TEST(Records, UnassignedTextsAreNulUntilAssigned)
{
    KvBaseTbl b;
    EXPECT_EQ(b.KvName.value(), std::string(50, '\0'));
    EXPECT_EQ(b.EXYMode(1).value(), std::string(5, '\0'));
    ColumnResultTbl r;
    EXPECT_EQ(r.Zone(1, 8).value(), std::string(3, '\0'));
    // A copy keeps the NULs; the file form writes them as NUL bytes.
    const ColumnDataTbl c = MakeColumnDefault(1, true, 21);
    ColumnDataTbl copy = c;
    EXPECT_EQ(copy.RBarMat.toFile(), std::string(8, '\0'));
    copy.RBarMat.fromFile(c.RBarMat.toFile().data(), 8);
    EXPECT_EQ(copy.RBarMat.value(), std::string(8, '\0'));
    b.KvName = "";
    EXPECT_EQ(b.KvName.value(), std::string(50, ' '));
}

TEST(Records, LoadTableBoundsAreTheDocumentedOnes)
{
    ColumnDataTbl c;
    c.LoadTbl(8, 20) = 1;
    c.LoadTbl(1, 1) = 2;
    EXPECT_EQ(c.LoadTbl(8, 20), 1);
    EXPECT_THROW(c.LoadTbl(0, 1), vb::Error);
    EXPECT_THROW(c.LoadTbl(9, 1), vb::Error);
    EXPECT_THROW(c.LoadTbl(1, 21), vb::Error);
    EXPECT_THROW(c.FShear(0, 0), vb::Error);
    EXPECT_NO_THROW(c.FShear(7, 1));
    ColumnResultTbl r;
    EXPECT_NO_THROW(r.DesignStress(6, 8));
    EXPECT_THROW(r.DesignStress(7, 1), vb::Error);
    EXPECT_THROW(r.Mu(2, 1), vb::Error);
    EXPECT_THROW(r.JadgeM(0, 0), vb::Error);
}

TEST(ColumnArray, IsOneBasedAndResizable)
{
    ColumnArray<ColumnDataTbl> a;
    EXPECT_EQ(a.ubound(), 0);
    EXPECT_THROW(a(1), vb::Error);
    a.redim(2);
    a(2).ColV = 7;
    a.redimPreserve(3);
    EXPECT_EQ(a(2).ColV, 7);
    EXPECT_EQ(a(3).ColV, 0);
    EXPECT_THROW(a(0), vb::Error);
    EXPECT_THROW(a(4), vb::Error);
    a.redim(1);
    EXPECT_EQ(a(1).ColV, 0);
}

TEST(Globals, NeighbourValuesStartAsTheStartUpSetsThem)
{
    EXPECT_TRUE(gNMCurveShow(0));
    EXPECT_TRUE(gNMCurveShow(1));
    EXPECT_FALSE(gNMCurveShow(2));
    EXPECT_FALSE(gNMCurveShow(3));
    EXPECT_TRUE(gColorDraw);
    const double a[] = {5, 10, 25, 50, 100, 250, 500, 1000, 5000, 10000};
    const double b[] = {50, 100, 250, 500, 1000, 2500, 5000, 10000, 50000, 100000};
    for (long i = 1; i <= 10; ++i) {
        EXPECT_EQ(gAxisStepsA(i), a[i - 1]);
        EXPECT_EQ(gAxisStepsB(i), b[i - 1]);
    }
    EXPECT_EQ(gDispMode, 0);
    EXPECT_EQ(gShortLoadKind, 0);
    EXPECT_TRUE(gImportDir.empty());
    EXPECT_TRUE(gImportFile.empty());
    EXPECT_EQ(gCurCol, 1);
    EXPECT_FALSE(gDataChanged);
    EXPECT_EQ(gDataFileName, "\\data.mdb");
}

TEST(Records, TodayIsAnOleDate)
{
    // 2024-01-01 is OLE day 45292; any run of these tests is later.
    const double d = TodayOleDate();
    EXPECT_GT(d, 45292);
    EXPECT_EQ(d, static_cast<double>(static_cast<long>(d)));
}

TEST(Records, OleDateOfCalendarDates)
{
    using namespace std::chrono;
    EXPECT_EQ(OleDateOf(year{1899} / December / day{30}), 0);
    EXPECT_EQ(OleDateOf(year{1899} / December / day{29}), -1);
    EXPECT_EQ(OleDateOf(year{2010} / April / day{1}), 40269);
    // 1900 is no leap year here, unlike in some spreadsheet calendars.
    EXPECT_EQ(OleDateOf(year{1900} / March / day{1}), 61);
}
