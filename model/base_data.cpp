#include "model/base_data.h"

#include "engine/kv.h"
#include "engine/loader.h"
#include "model/adapter.h"
#include "model/catalogue.h"
#include "model/globals.h"

#include <cmath>
#include <stdexcept>

namespace model {

namespace {

void SelectModel(kv::KV& engine, int32_t kvId, int16_t abNum)
{
    engine.setKolvanID(kvId);
    engine.setAbNum(abNum);
}

}  // namespace

void LoadKvBaseData(kv::KV& engine, int32_t kvId, int16_t abNum, KvBaseTbl& kvb)
{
    try {
        SelectModel(engine, kvId, abNum);
    } catch (const std::exception&) {
        // The engine checks its loads after a load: those of a column whose
        // check failed fail again on any model. The base data do not depend
        // on them; a load that fails still does.
        KvEngineRef ref(engine);
        ClearEngineLoads(ref);
        SelectModel(engine, kvId, abNum);
    }
    kvb.ID = kvId;
    kvb.KvName = engine.KvName();

    const kv::KvDataTblC d = engine.KvData();
    kvb.KvV = d.KvV;
    kvb.KvLen = d.KvLen;
    kvb.KvH = d.KvH;
    kvb.KvT = d.KvT;
    kvb.KvWeight = d.KvWeight;
    kvb.HenshinE = d.HenshinE;
    kvb.AbV = d.AbV;
    kvb.AbN = d.AbN;
    kvb.AbF = d.AbF;
    kvb.AbD = d.AbD;
    kvb.AbA = d.AbA;
    kvb.AbAe = d.AbAe;
    kvb.Kbs = d.Kbs;
    kvb.EXY = d.EXY;
    kvb.KbsSI = d.KbsSI;
    kvb.LenE = d.LenE;
    kvb.LenF = d.LenF;
    kvb.LenW = d.LenW;
    kvb.LenG = d.LenG;
    kvb.eAx1 = d.eAx1;
    kvb.eAx2 = d.eAx2;
    kvb.eAy1 = d.eAy1;
    kvb.eAy2 = d.eAy2;
    kvb.L_tf1 = d.L_tf1;
    kvb.L_lf = d.L_lf;
    kvb.L_tf2 = d.L_tf2;
    kvb.L_y1 = d.L_y1;
    kvb.L_y2 = d.L_y2;
    kvb.L_y3 = d.L_y3;
    kvb.L_l1 = d.L_l1;
    kvb.NAlpha = d.NAlpha;
    kvb.L1 = d.L1;
    kvb.L_C = d.L_C;
    kvb.ColSize = d.ColSize;

    kvb.EXYMode(0) = engine.EXYMode0();
    kvb.EXYMode(1) = engine.EXYMode1();

    // The engine's own flag is not taken: a base is symmetric when its first
    // two X dimensions and its two eccentricities agree.
    bool rotates = true;
    if (gCond.SMode != kFalse)
        rotates = std::fabs(kvb.KvLen(0, 1) - kvb.KvLen(0, 2)) > 0.01 ||
                  std::fabs(kvb.HenshinE(0) - kvb.HenshinE(1)) > 0.01;
    kvb.RotateMode = rotates ? kTrue : kFalse;
}

void LoadKvBaseData(int32_t kvId, int16_t abNum, KvBaseTbl& kvb)
{
    if (!gKv) throw std::logic_error("LoadKvBaseData: the engine has not been created");
    LoadKvBaseData(*gKv, kvId, abNum, kvb);
}

bool SetColumnBaseGeometry(ColumnDataTbl& col, const KvBaseTbl& kvb)
{
    return SetColumnBaseGeometry(col, kvb, gCond.SMode != kFalse);
}

bool SetColumnBaseGeometry(ColumnDataTbl& col, const KvBaseTbl& kvb, bool sMode)
{
    if (!sMode) return true;
    switch (kvb.KvV) {
    case 1:
    case 4:
    case 5:
    case 6: break;
    default: return true;
    }

    if (kvb.KvV == 4 || kvb.KvV == 6)
        col.SlabQ_d2 = kvb.L_C;
    else
        col.SlabQ_d2 = RoundUpTo5((kvb.L1 + 50) / 10) * 10;
    col.SlabQ_d1 = col.SlabQ_d2 - kvb.KvT(2);

    switch (col.ColV) {
    case 0:
    case 1:
        col.SlabQ_B1X = col.ColSize;
        col.SlabQ_B1Y = col.ColSize;
        break;
    case 2:
        if (col.KvRotate == 0) {
            col.SlabQ_B1X = col.HDim(2);
            col.SlabQ_B1Y = col.HDim(1);
        } else if (col.KvRotate == 1) {
            col.SlabQ_B1X = col.HDim(1);
            col.SlabQ_B1Y = col.HDim(2);
        }
        break;
    default: break;
    }

    auto db = OpenCatalogue();
    auto rs = db.openRecordset(
        "SELECT DISTINCTROW [KvData].[RcX1],[KvData].[RcY1],[KvData].[RcX2],[KvData].[RcY2],[KvData].[RcX3],"
        "[KvData].[RcY3],[KvData].[RcX4],[KvData].[RcY4] FROM [KvData] WHERE (([KvData].[ID]= " +
        QueryNumber(kvb.ID) + " ) and ([KvData].[AbD]= " + QueryNumber(kvb.AbD) + " ))");
    if (rs.eof()) return false;

    // Sizes of 1 or less mean no rebar set there; an empty size is one too.
    double minX = 99999;
    double minY = 99999;
    for (int n = 1; n <= 4; ++n) {
        const std::string sx = "RcX" + std::to_string(n);
        const std::string sy = "RcY" + std::to_string(n);
        const double x = rs.isNull(sx) ? 0 : rs.number(sx);
        const double y = rs.isNull(sy) ? 0 : rs.number(sy);
        if (x > 1 && x < minX) minX = x;
        if (y > 1 && y < minY) minY = y;
    }

    // The X width carries the X shear: an unturned base takes the Y size.
    if (col.KvRotate == 0 || col.KvRotate == 2) {
        col.SlabQ_B2X = minY;
        col.SlabQ_B2Y = minX;
    } else if (col.KvRotate == 1 || col.KvRotate == 3) {
        col.SlabQ_B2X = minX;
        col.SlabQ_B2Y = minY;
    }
    return true;
}

double RoundUpTo5(double x) { return kv::RoundHalf(x); }

}  // namespace model
