#include "model/adapter.h"
#include "model/globals.h"
#include "recording_kv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace model;
using model::testing::RecordingKv;

namespace {

class Adapter : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedCond = gCond;
        savedSI = gSIDisp;
        savedLimit = gFcUpperLimit;
        gCond = MakeCondDefault(true, 0, "", "");
        gCond.SMode = kTrue;
        gSIDisp = true;
        gFcUpperLimit = 24;
    }
    void TearDown() override
    {
        gCond = savedCond;
        gSIDisp = savedSI;
        gFcUpperLimit = savedLimit;
    }

    ProjectCondTbl savedCond;
    bool savedSI = false;
    double savedLimit = 0;
    RecordingKv kv;
};

struct FcCase {
    bool sMode;
    bool si;
    double limit;
    int16_t series;
    double fc;
    double sent;
};

TEST_F(Adapter, FcIsCappedOnlyAboveTheToleranceInSModeOutsideSeries6)
{
    const FcCase cases[] = {
        {true, true, 24, 4, 27, 24},        {true, true, 24, 4, 24.05, 24.05},
        {true, true, 24, 4, 24.1, 24.1},    {true, true, 24, 4, 24.2, 24},
        {true, false, 240, 4, 240.9, 240.9}, {true, false, 240, 4, 241.5, 240},
        {true, true, 24, 6, 60, 60},        {false, true, 24, 4, 60, 60},
        {false, false, 240, 2, 600, 600},
    };
    for (const FcCase& c : cases) {
        gCond.SMode = c.sMode ? kTrue : kFalse;
        gSIDisp = c.si;
        gFcUpperLimit = c.limit;
        ColumnDataTbl col;
        col.KvV = c.series;
        col.Fc = c.fc;
        EXPECT_EQ(CappedFc(col), c.sent) << "series " << c.series << " Fc " << c.fc << " SMode " << c.sMode;
    }
}

TEST_F(Adapter, BaseInputsInOrderWithTheCapOfTheSentColumnsOwnSeries)
{
    // The current column is of series 6 (never capped); the sent one is not.
    const auto savedColumns = gColumns;
    const int16_t savedCur = gCurCol;
    gColumns.redim(2);
    gColumns(1).KvV = 6;
    gCurCol = 1;
    gCond.DesignRootX = 2;
    gCond.DesignRootY = 3;

    ColumnDataTbl col;
    col.KolvanID = 150310;
    col.AbNum = 2;
    col.KvV = 4;
    col.Fc = 27;
    SetKvBaseInputs(kv, col);

    gColumns = savedColumns;
    gCurCol = savedCur;
    const std::vector<std::string> expected = {"KolvanID=150310", "AbNum=2", "DesignRoot=2", "SMode=1", "Fc=24"};
    EXPECT_EQ(kv.log, expected);
    EXPECT_EQ(col.Fc, 27);
}

TEST_F(Adapter, SrcInputsInTheirFixedOrder)
{
    ColumnDataTbl col;
    col.cD(0) = 900;
    col.cD(1) = 800;
    for (long k = 0; k <= 3; ++k) {
        col.SrcColSpec(0, k) = 10 + k;
        col.SrcColSpec(1, k) = 20 + k;
    }
    col.ColMatCode = 10;
    col.RBarMat = "SD345";
    col.RBarVal = "D22";
    col.rD(0) = 769;
    col.rD(1) = 700;
    col.RmN(0) = 1;
    col.RmN(1) = 2;
    col.RtN(0) = 3;
    col.RtN(1) = 4;
    col.RqN(0) = 5;
    col.RqN(1) = 6;
    col.RTabane(0) = 0;
    col.RTabane(1) = 1;
    SetKvSrcInputs(kv, col);
    // RBarMat and RBarVal go with their full widths, blanks included.
    const std::vector<std::string> expected = {
        "cDx=900",  "cDy=800",          "ColAx=10", "ColAy=20",  "ColMat=SN490",   "ColZx=11",
        "ColZy=21", "ColZpx=12",        "ColZpy=22", "spcx=13",  "spcy=23",        "RBarMat=SD345   ",
        "RBarVal=D22 ", "rDx=769",      "rDy=700",  "RmNx=1",    "RmNy=2",         "RtNx=3",
        "RtNy=4",   "RqNx=5",           "RqNy=6",   "RTabaneX=0", "RTabaneY=1"};
    EXPECT_EQ(kv.log, expected);
}

TEST_F(Adapter, SlabWidthsExchangeForATurnedBaseAndD2GoesLast)
{
    ColumnDataTbl col;
    col.SlabQ_B1X = 300;
    col.SlabQ_B1Y = 500;
    col.SlabQ_B2X = 700;
    col.SlabQ_B2Y = 650;
    col.SlabQ_d2 = 350;

    SetKvSlabInputs(kv, col);
    EXPECT_EQ(kv.log, (std::vector<std::string>{"SlabQ_B1X=300", "SlabQ_B1Y=500", "SlabQ_B2X=700",
                                                "SlabQ_B2Y=650", "SlabQ_d2=350"}));
    kv.log.clear();
    col.KvRotate = 1;
    SetKvSlabInputs(kv, col);
    EXPECT_EQ(kv.log, (std::vector<std::string>{"SlabQ_B1X=500", "SlabQ_B1Y=300", "SlabQ_B2X=650",
                                                "SlabQ_B2Y=700", "SlabQ_d2=350"}));
}

}  // namespace
