#include "model/column_check.h"

#include "engine/kv.h"
#include "model/direction.h"
#include "model/globals.h"
#include "model/stress.h"
#include "platform/text/vb.h"

#include <stdexcept>

namespace model {

namespace {

void ReadResults(IKvEngine& kv, ColumnResultTbl& res, int16_t d, long k, int16_t engineDir)
{
    if (gCond.SMode != kFalse) {
        res.Mu(d, k) = kv.Mu();
        res.JadgeM(d, k) = kv.JadgeM();
        res.Zone(d, k) = kv.Zone();
        res.Qu(d, k) = kv.Qu();
        res.Qu0(d, k) = kv.Qu0();
        res.Qu1(d, k) = kv.Qu1();
        res.Qu2(d, k) = kv.Qu2();
        res.JadgeQ(d, k) = kv.JadgeQ();
        return;
    }
    kv.setDirection(engineDir);
    kv.setRuika();
    res.Mu(d, k) = kv.srcMu();
    res.JadgeM(d, k) = vb::CInt(kv.srcMJadge());
    res.Qu(d, k) = kv.srcQu();
    res.Zone(d, k) = "-";
    res.JadgeQ(d, k) = vb::CInt(kv.srcQJadge());
}

}  // namespace

namespace {

void CheckDirection(IKvEngine& kv, const ColumnDataTbl& col, ColumnResultTbl& res, const KvBaseTbl& kvb, int16_t d)
{
    const bool sMode = gCond.SMode != kFalse;
    const double u = gUnitFactor;

    kv.setSlabFc(col.SlabFc);
    kv.setSlabQ_d2(col.SlabQ_d2);
    SetKvBaseInputs(kv, col);
    if (!sMode) SetKvSrcInputs(kv, col);

    SetKvSlabInputs(kv, col);
    const int16_t engineDir = EngineDirection(kvb, col, d);
    kv.setDirection(engineDir);
    if (!sMode) {
        kv.setDesignRoot(d == 0 ? gCond.DesignRootX : gCond.DesignRootY);
        kv.setsrcWall(col.CenColWall(d));
    }

    const long row = 3L * d;
    for (long k = 1; k <= 7; ++k) {
        kv.setFShear(col.FShear(k, d));
        const double n = u * res.DesignStress(row + 1, k);
        const double m = u * res.DesignStress(row + 2, k);
        const double q = u * res.DesignStress(row + 3, k);
        switch (k) {
        case 1:
            // The long-term shear minimum depends on LumoQuCond; send the
            // left-hand value so the result never depends on the previous check.
            kv.setLumoQuCond(col.LumoQuCond(d, 1));
            kv.setCondition(2);
            kv.setVerticalLoad(n);
            kv.setMomentLoad(m);
            kv.setShearLoad(q);
            break;
        case 4:
        case 5:
            kv.setLumoQuCond(col.LumoQuCond(d, k == 4 ? 1 : 2));
            kv.setCondition(1);
            kv.setVerticalLoad(n);
            kv.setMomentLoad(m);
            kv.setShearLoad(q);
            break;
        case 6:
        case 7:
            kv.setLumoQuCond(col.LumoQuCond(d, k == 6 ? 1 : 2));
            kv.setCondition(0);
            kv.setVerticalLoad(n);
            kv.setShearLoad(q);
            if (gCond.UltJadge != kFalse)
                kv.setMomentLoad(m);
            else
                // Without the ultimate moment check the column is loaded up to its
                // capacity (SRC: on the curve of the previous case's setRuika).
                kv.setMomentLoad(sMode ? kv.Mu() : kv.srcMu());
            break;
        default:
            continue;  // cases 2 and 3 are not checked
        }
        ReadResults(kv, res, d, k, engineDir);
    }
}

}  // namespace

void CalcColumnCheck(IKvEngine& kv, const ColumnDataTbl& col, ColumnResultTbl& res, const KvBaseTbl& kvb,
                     int16_t d)
{
    if (d != 0 && d != 1) throw std::out_of_range("CalcColumnCheck: direction must be 0 or 1");
    try {
        CheckDirection(kv, col, res, kvb, d);
    } catch (const std::exception&) {
        // From loads of nothing, the column fails only on its own data.
        ClearEngineLoads(kv);
        CheckDirection(kv, col, res, kvb, d);
    }
}

void CalcColumnByIndex(int16_t i, int16_t d)
{
    if (i < 1 || i > gCond.ColCount) throw std::out_of_range("CalcColumnByIndex: no such column");
    if (!gKv) throw std::logic_error("CalcColumnByIndex: the engine is not created");
    KvEngineRef kv(*gKv);
    CalcColumnCheck(kv, gColumns(i), gResults(i), gKvBase(i), d);
}

void CheckColumn(int32_t i)
{
    const auto c = static_cast<int16_t>(i);
    BuildDesignStresses(c);
    CalcColumnByIndex(c, 0);
    CalcColumnByIndex(c, 1);
}

}  // namespace model
