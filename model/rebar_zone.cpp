#include "model/rebar_zone.h"

#include "engine/kv.h"
#include "model/catalogue.h"
#include "model/column_check.h"
#include "model/file_util.h"
#include "model/direction.h"
#include "model/globals.h"
#include "model/rebar_tables.h"
#include "model/texts.h"
#include "platform/store/store.h"
#include "platform/text/vb.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <stdexcept>
#include <utility>

namespace model {

namespace {

KvEngineRef EngineRef()
{
    if (!gKv) throw std::logic_error("the engine is not created");
    return KvEngineRef(*gKv);
}

void CheckColumnIndex(int16_t iCol)
{
    if (iCol < 1 || iCol > gColumns.ubound()) vb::ThrowSubscript(iCol, 1, gColumns.ubound());
}

// One catalogue rebar set (1..4) as the fields it fills.
struct RebarSet {
    double rcX = 0, rcY = 0;
    std::string barSize, barMat;
    int16_t barNX = 0, barNY = 0;
    std::string hoopSize, hoopMat;
    int16_t hoopNX = 0, hoopNY = 0;
    double hoopPitch = 0;
    double tLength = 0;
};

std::string KvDataWhere(int32_t kolvanId, double abD)
{
    return " From KvData WHERE ((KvData.ID)=" + std::to_string(kolvanId) + " AND ((KvData.AbD) =" + vb::CStr(abD) +
           "))";
}

std::string SetSelect()
{
    std::string sql;
    for (int n = 1; n <= 4; ++n) {
        const std::string d = std::to_string(n);
        sql += (n == 1 ? "SELECT DISTINCTROW " : ",") + ("KvData.RcX" + d + ", KvData.RcY" + d + ", KvData.DBarSize" +
                                                         d + ", KvData.DBarMat" + d + " ");
        sql += ",KvData.DBarNX" + d + ", KvData.DBarNY" + d + ", KvData.DBarAllCount" + d + " ";
        sql += ",KvData.HoopSize" + d + ", KvData.HoopMat" + d + ", KvData.HoopNX" + d + ", KvData.HoopNY" + d +
               ", KvData.HoopPitch" + d + " ";
    }
    return sql;
}

int16_t Int16At(const store::Recordset& rs, int pos) { return vb::CInt(rs.number(pos)); }

// Set n (1..4) of the current row of the sets' query, by position (12
// fields per set).
RebarSet SetAt(const store::Recordset& rs, int n)
{
    RebarSet s;
    const int b = 12 * (n - 1);
    s.rcX = rs.number(b + 0);
    s.rcY = rs.number(b + 1);
    s.barSize = rs.text(b + 2);
    s.barMat = rs.text(b + 3);
    s.barNX = Int16At(rs, b + 4);
    s.barNY = Int16At(rs, b + 5);
    // b + 6 is the total bar count: selected, not used.
    s.hoopSize = rs.text(b + 7);
    s.hoopMat = rs.text(b + 8);
    s.hoopNX = Int16At(rs, b + 9);
    s.hoopNY = Int16At(rs, b + 10);
    s.hoopPitch = rs.number(b + 11);
    return s;
}

// The four sets of a model's KvData row, by position, with the anchorage
// length in each. A display looks at the sets of every column: they are read
// once for as long as the catalogue's connection is kept.
const std::array<RebarSet, 4>& ReadRebarSets(int32_t kolvanId, double abD)
{
    static uint64_t keptFor = 0;
    static std::map<std::pair<int32_t, double>, std::array<RebarSet, 4>> kept;
    store::Database db = OpenCatalogue();
    const uint64_t connection = KeptCatalogueNumber();
    if (connection != keptFor || connection == 0) {
        kept.clear();
        keptFor = connection;
    }
    const std::pair<int32_t, double> key{kolvanId, abD};
    if (const auto it = kept.find(key); it != kept.end()) return it->second;
    store::Recordset rs = db.openRecordset(SetSelect() + ",KvData.TLengthO " + KvDataWhere(kolvanId, abD));
    std::array<RebarSet, 4> sets;
    for (int n = 1; n <= 4; ++n) {
        sets[n - 1] = SetAt(rs, n);
        sets[n - 1].tLength = rs.number(48);
    }
    rs.close();
    db.close();
    return kept[key] = sets;
}

// Reads set n of the model's KvData row by column name. Everything is read
// before anything is stored.
RebarSet ReadRebarSetByName(int32_t kolvanId, double abD, int n)
{
    store::Database db = OpenCatalogue();
    const std::string where = KvDataWhere(kolvanId, abD);
    RebarSet s;
    {
        store::Recordset rs = db.openRecordset(SetSelect() + where);
        const std::string d = std::to_string(n);
        s.rcX = rs.number("RcX" + d);
        s.rcY = rs.number("RcY" + d);
        s.barSize = rs.text("DBarSize" + d);
        s.barMat = rs.text("DBarMat" + d);
        s.barNX = CatalogueInt16(rs, "DBarNX" + d);
        s.barNY = CatalogueInt16(rs, "DBarNY" + d);
        s.hoopSize = rs.text("HoopSize" + d);
        s.hoopMat = rs.text("HoopMat" + d);
        s.hoopNX = CatalogueInt16(rs, "HoopNX" + d);
        s.hoopNY = CatalogueInt16(rs, "HoopNY" + d);
        s.hoopPitch = rs.number("HoopPitch" + d);
        rs.close();
    }
    {
        store::Recordset rs = db.openRecordset("SELECT DISTINCTROW KvData.TLengthO" + where);
        s.tLength = rs.number("TLengthO");
        rs.close();
    }
    db.close();
    return s;
}

void StoreRebarSet(ColumnDataTbl& col, const RebarSet& s)
{
    const long x = col.KvRotate != 0 ? 1 : 0;
    const long y = 1 - x;
    col.cD(x) = s.rcX;
    col.cD(y) = s.rcY;
    col.RBarVal = s.barSize;
    col.RBarMat = s.barMat;
    col.RmN(x) = s.barNX;
    col.RmN(y) = s.barNY;
    col.HoopSize = s.hoopSize;
    col.HoopMat = s.hoopMat;
    col.HoopN(x) = s.hoopNX;
    col.HoopN(y) = s.hoopNY;
    col.HoopPitch = s.hoopPitch;
    col.rD(0) = s.tLength;
}

std::string RemoveD(const std::string& s)
{
    std::string r;
    for (char c : s)
        if (c != 'D') r += c;
    return r;
}

}  // namespace


int16_t CalcRebarZone(IKvEngine& kv, int16_t iCol, int16_t dir, double N, double M)
{
    CheckColumnIndex(iCol);
    const ColumnDataTbl& col = gColumns(iCol);
    const KvBaseTbl& kvb = gKvBase(iCol);

    kv.setDirection(EngineDirection(kvb, col, dir));
    kv.setKolvanID(col.KolvanID);
    kv.setAbNum(col.AbNum);

    double alpha = 0.4;
    switch (kvb.KvV) {
    case 0:
    case 2:
        alpha = 0.5;
        break;
    case 1:
    case 4:
    case 6:
        alpha = kv.NAlpha();
        break;
    default:
        break;
    }

    kv.setCondition(0);
    const double t = -alpha * kv.Tu();
    kv.setVerticalLoad(t);
    const double mu = kv.Mu();

    if (std::fabs(t) < 0.0001) return N < -0.0001 ? 2 : 1;
    if (std::fabs(M) < 0.001) return N < 0 ? 2 : 1;
    // Mu = 0 leaves the ray along the axial axis: t / Mu is then its
    // infinite limit, which the comparison below takes as it stands.
    return t / mu > N / std::fabs(M) ? 2 : 1;
}

void SetCaseRebarZone(IKvEngine& kv, int16_t iCol, int16_t dir, int16_t c)
{
    CheckColumnIndex(iCol);
    if (dir != 0 && dir != 1) throw std::out_of_range("SetCaseRebarZone: direction must be 0 or 1");
    if (c != 1 && c != 2) throw std::out_of_range("SetCaseRebarZone: case must be 1 or 2");
    const int16_t route = gCond.DesignRootX;
    const long k = (route == 1 || route == 11) ? 3 + c : 5 + c;
    const ColumnResultTbl& res = gResults(iCol);
    const long row = 3L * dir;
    const double n = res.DesignStress(row + 1, k);
    const double m = std::fabs(res.DesignStress(row + 2, k));

    int16_t zone = 2;
    if (!(std::fabs(n) < 0.0001 && std::fabs(m) < 0.0001)) zone = CalcRebarZone(kv, iCol, dir, n, m);
    gColumns(iCol).RebarZone(dir, c) = zone;
}

int16_t GetGoverningRebarZone(IKvEngine& kv, int16_t iCol)
{
    for (int16_t d = 0; d <= 1; ++d) {
        SetCaseRebarZone(kv, iCol, d, 1);
        SetCaseRebarZone(kv, iCol, d, 2);
    }
    return MaxRebarZone(gColumns(iCol));
}

int16_t GetGoverningRebarZone(int16_t iCol)
{
    KvEngineRef kv = EngineRef();
    return GetGoverningRebarZone(kv, iCol);
}

int16_t MaxRebarZone(const ColumnDataTbl& col)
{
    int16_t z = 0;
    for (long d = 0; d <= 1; ++d)
        for (long c = 1; c <= 2; ++c) z = std::max(z, col.RebarZone(d, c));
    return z;
}

int16_t GetColumnRebarZone(int16_t iCol)
{
    CheckColumnIndex(iCol);
    return MaxRebarZone(gColumns(iCol));
}

int16_t LoadRebarZoneDetails(IKvEngine& kv, int16_t iCol, int16_t centre)
{
    const int16_t zone = GetGoverningRebarZone(kv, iCol);
    const KvBaseTbl& kvb = gKvBase(iCol);
    if (kvb.KvV == 0) return zone;
    ColumnDataTbl& col = gColumns(iCol);
    const int n = zone + 2 * centre;
    if (n < 1 || n > 4) throw std::out_of_range("LoadRebarZoneDetails: no rebar set " + std::to_string(n));
    StoreRebarSet(col, ReadRebarSets(col.KolvanID, kvb.AbD)[static_cast<std::size_t>(n - 1)]);
    return zone;
}

int16_t LoadRebarZoneDetails(int16_t iCol, int16_t centre)
{
    KvEngineRef kv = EngineRef();
    return LoadRebarZoneDetails(kv, iCol, centre);
}

bool FollowZoneWithPedestal(ColumnDataTbl& col, const KvBaseTbl& kvb)
{
    if (gCond.SMode == kFalse || kvb.KvV == 0) return false;
    const int16_t zone = MaxRebarZone(col);
    const int16_t centre = col.CenColWall(0);
    if ((zone != 1 && zone != 2) || (centre != 0 && centre != 1)) return false;
    const std::array<RebarSet, 4>& sets = ReadRebarSets(col.KolvanID, kvb.AbD);
    const RebarSet& own = sets[zone - 1 + 2 * centre];
    const RebarSet& other = sets[2 - zone + 2 * centre];
    ColumnDataTbl asOther = col;
    StoreRebarSet(asOther, other);
    if (!(asOther == col)) return false;
    ColumnDataTbl asOwn = col;
    StoreRebarSet(asOwn, own);
    if (asOwn == col) return false;
    col = asOwn;
    return true;
}

void LoadSrcRebarDefaults(ColumnDataTbl& col, const KvBaseTbl& kvb, int16_t flag)
{
    if (kvb.KvV == 0) return;
    const int16_t zone = MaxRebarZone(col);
    int n = 4;
    if (zone == 1)
        n = flag == 0 ? 1 : 3;
    else
        n = flag == 0 ? 2 : 4;
    StoreRebarSet(col, ReadRebarSetByName(col.KolvanID, kvb.AbD, n));
}

std::string MainBarKey(const std::string& barSize, const std::string& barGrade)
{
    return "D" + vb::Trim(RemoveD(barSize)) + "(" + vb::Trim(barGrade) + ")";
}

bool ApplyDefaultArrangement(ColumnDataTbl& col, const KvBaseTbl& kvb)
{
    double fc = col.Fc;
    if (fc > 100) fc /= 10;
    const std::string name = GetKvDisplayName(kvb);
    const std::string key = MainBarKey(col.RBarVal.value(), col.RBarMat.value());
    const int16_t pattern = col.CenColWall(0);
    if (pattern < 0 || pattern > 255) return false;

    int32_t count = 0;
    RebarArrangeRows rows;
    FindArrangement(CatalogueFile(), name, static_cast<uint8_t>(pattern), fc, col.cD(0), col.cD(1), key, count,
                    rows);
    if (count < 1) return false;

    const int16_t zone = MaxRebarZone(col);
    const RebarArrangeTbl& row = rows(1);
    bool applied = false;
    for (long v = 1; v <= 4; ++v) {
        const RebarArrangeVariantTbl& a = row.Variants(v);
        if (a.Pattern != pattern + 1 || a.Zone != zone) continue;
        col.RmN(0) = a.DBarNX;
        col.RmN(1) = a.DBarNY;
        col.HoopSize = text::Left(a.HoopSize.value(), 4);
        col.HoopMat = text::Left(a.HoopMat.value(), 8);
        col.HoopN(0) = a.HoopNX;
        col.HoopN(1) = a.HoopNY;
        col.HoopPitch = a.HoopPitch;
        col.CenColWall(1) = a.NG;
        applied = true;
        break;
    }
    col.rD(0) = row.DLength;
    return applied;
}

std::string GetSrcColumnRank(IKvEngine& kv, int16_t iCol, int16_t dir)
{
    if (gCond.SMode != kFalse) return "";
    CheckColumnIndex(iCol);
    if (dir != 0 && dir != 1) throw std::out_of_range("GetSrcColumnRank: direction must be 0 or 1");
    kv.setDesignRoot(dir == 0 ? gCond.DesignRootX : gCond.DesignRootY);
    const ColumnResultTbl& res = gResults(iCol);
    const long row = 3L * dir + 1;
    const double n = std::min({0.0, res.DesignStress(row, 6), res.DesignStress(row, 7)});
    kv.setsrcWall(gColumns(iCol).CenColWall(dir));
    kv.setVerticalLoad(gUnitFactor * n);
    return kv.ColRank();
}

std::string GetSrcColumnRank(int16_t iCol, int16_t dir)
{
    if (gCond.SMode != kFalse) return "";
    KvEngineRef kv = EngineRef();
    return GetSrcColumnRank(kv, iCol, dir);
}

void LoadAllRebarZoneDetails()
{
    KvEngineRef engine(*gKv);
    for (int32_t i = 1; i <= gCond.ColCount; ++i) {
        Tolerating([&engine, i] {
            SetKvBaseInputs(engine, gColumns(i));
            LoadRebarZoneDetails(engine, static_cast<int16_t>(i), gColumns(i).CenColWall(0));
        });
    }
}

}  // namespace model
