#include "model/records.h"

#include <chrono>
#include <ctime>

namespace model {

ProjectCondTbl MakeCondDefault(bool siDisp, double bukkenDate, std::string_view importDir,
                               std::string_view importFile)
{
    ProjectCondTbl c;
    c.ColCount = 1;
    c.Bukken = "某物件";
    c.ShortCalcMode = 0;
    c.UltCalcMode = 0;
    c.GammaX = 2.0;
    c.Fc = siDisp ? 21 : 210;
    c.Version = "Version 5.03";
    c.GFactor = 9.80665;
    c.DevNum = 6;
    c.UltJadge = kTrue;
    c.SMode = kTrue;
    c.ImportApp = "";
    c.Tantou = "設計係員";
    c.BukkenDate = bukkenDate;
    c.ImportDir = importDir;
    c.ImportFile = importFile;
    c.DesignRootX = 3;
    c.DesignRootY = 3;
    c.GammaY = 2.0;
    c.SCondition = 0;
    c.Alpha1 = 0.7;
    c.Alpha2 = 0.35;
    c.Lw1 = 0;
    c.Lw2 = 0;
    c.FcSrc = siDisp ? 24 : 240;
    c.AxisCountX = 0;
    c.AxisCountY = 0;
    c.SymmetryX = kTrue;
    c.SymmetryY = kTrue;
    c.UltMQMode = kTrue;
    c.BrBeta1 = 1.0;
    c.BrBeta2 = 1.0;
    return c;
}

ColumnDataTbl MakeColumnDefault(int16_t kvSeries, bool siDisp, double condFc)
{
    ColumnDataTbl c;
    c.ColName = "1C1";
    if (kvSeries == 0) {
        c.KolvanID = 100100;
        c.KvV = 2;
    } else if (kvSeries == 1 || kvSeries == 4 || kvSeries == 6) {
        c.KolvanID = 150310;
        c.KvV = 4;
    }
    c.AbNum = 1;
    c.KvRotate = 0;
    c.KvDir = 0;
    c.ColV = 0;
    c.ColSize = 200;
    c.ColT = 9;
    c.ColMatCode = 0;
    c.ColF = 3.0;
    const double spec[] = {45.32, 392, 465, 392, 465};
    for (long k = 0; k <= 4; ++k) c.ColSpec(k) = spec[k];
    c.ColXYDiffer = kFalse;
    // RBarMat stays unassigned (NUL-filled), as the start-up always left it.
    c.RBarVal = "16";
    c.RmN(0) = 5;
    c.RmN(1) = 5;
    c.rD(0) = 220;
    c.rD(1) = 0;
    c.cD(0) = 550;
    c.cD(1) = 550;
    c.AxisXNo = 1;
    c.AxisYNo = 1;
    c.AxisXName = "X1";
    c.AxisYName = "Y1";
    c.Fc = condFc;
    c.CSizeKind = "RB";
    c.LumoQuCond.fill(1);
    c.RebarZone.fill(2);
    c.HoopSize = "13";
    c.HoopMat = "SD295";
    c.HoopN(0) = 1;
    c.HoopN(1) = 1;
    c.HoopPitch = 150;
    c.SlabFc = siDisp ? 18 : 180;
    c.SlabQ_d2 = 200;
    return c;
}

ColumnDataTbl MakeColumnDefaultSrc(const ColumnDataTbl& sTemplate, bool siDisp)
{
    ColumnDataTbl c = sTemplate;
    c.cD(0) = 900;
    c.cD(1) = 900;
    c.cD2(0) = 450;
    c.cD2(1) = 450;
    const double spec[] = {384, 4001, 4501, 0.0077};
    const double hdim[] = {600, 250, 12, 25};
    for (long d = 0; d <= 1; ++d) {
        for (long k = 0; k <= 3; ++k) c.SrcColSpec(d, k) = spec[k];
        for (long k = 1; k <= 4; ++k) c.SrcHDim(d, k) = hdim[k - 1];
        c.SrcDim5(d) = 300;
        c.RtN(d) = 8;
        c.RmN(d) = 0;
        c.RqN(d) = 12;
        c.RTensN(d) = 0;
        c.rD(d) = 769;
        c.RTabane(d) = 0;
    }
    c.ColV = 3;
    c.KolvanID = 1000500;
    c.RBarMat = "SD345";
    c.RBarVal = "D22";
    c.ColMatCode = 10;
    c.ColXYDiffer = kTrue;
    c.Fc = siDisp ? 24 : 240;
    return c;
}

double OleDateOf(std::chrono::year_month_day date)
{
    using namespace std::chrono;
    // Day 0 of the OLE Automation calendar is 30 December 1899.
    constexpr year_month_day epoch{year{1899}, December, day{30}};
    return static_cast<double>((sys_days{date} - sys_days{epoch}).count());
}

double OleDateOfTime(std::time_t t)
{
    std::tm local{};
    localtime_r(&t, &local);
    using namespace std::chrono;
    return OleDateOf(year_month_day{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                                    day{static_cast<unsigned>(local.tm_mday)}});
}

double TodayOleDate() { return OleDateOfTime(std::time(nullptr)); }

}  // namespace model
