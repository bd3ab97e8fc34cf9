#include "model/adapter.h"

#include "engine/kv.h"
#include "model/direction.h"
#include "model/sections.h"
#include "model/globals.h"

#include <exception>

namespace model {

void KvEngineRef::setKolvanID(int32_t v) { kv_.setKolvanID(v); }
void KvEngineRef::setAbNum(int16_t v) { kv_.setAbNum(v); }
void KvEngineRef::setDesignRoot(int16_t v) { kv_.setDesignRoot(v); }
void KvEngineRef::setSMode(bool v) { kv_.setSMode(v); }
void KvEngineRef::setFc(double v) { kv_.setFc(v); }
void KvEngineRef::setcDx(double v) { kv_.setcDx(v); }
void KvEngineRef::setcDy(double v) { kv_.setcDy(v); }
void KvEngineRef::setColAx(double v) { kv_.setColAx(v); }
void KvEngineRef::setColAy(double v) { kv_.setColAy(v); }
void KvEngineRef::setColMat(const std::string& v) { kv_.setColMat(v); }
void KvEngineRef::setColZx(double v) { kv_.setColZx(v); }
void KvEngineRef::setColZy(double v) { kv_.setColZy(v); }
void KvEngineRef::setColZpx(double v) { kv_.setColZpx(v); }
void KvEngineRef::setColZpy(double v) { kv_.setColZpy(v); }
void KvEngineRef::setspcx(double v) { kv_.setspcx(v); }
void KvEngineRef::setspcy(double v) { kv_.setspcy(v); }
void KvEngineRef::setRBarMat(const std::string& v) { kv_.setRBarMat(v); }
void KvEngineRef::setRBarVal(const std::string& v) { kv_.setRBarVal(v); }
void KvEngineRef::setrDx(double v) { kv_.setrDx(v); }
void KvEngineRef::setrDy(double v) { kv_.setrDy(v); }
void KvEngineRef::setRmNx(int16_t v) { kv_.setRmNx(v); }
void KvEngineRef::setRmNy(int16_t v) { kv_.setRmNy(v); }
void KvEngineRef::setRtNx(int16_t v) { kv_.setRtNx(v); }
void KvEngineRef::setRtNy(int16_t v) { kv_.setRtNy(v); }
void KvEngineRef::setRqNx(int16_t v) { kv_.setRqNx(v); }
void KvEngineRef::setRqNy(int16_t v) { kv_.setRqNy(v); }
void KvEngineRef::setRTabaneX(int16_t v) { kv_.setRTabaneX(v); }
void KvEngineRef::setRTabaneY(int16_t v) { kv_.setRTabaneY(v); }
void KvEngineRef::setSlabFc(double v) { kv_.setSlabFc(v); }
void KvEngineRef::setSlabQ_B1X(double v) { kv_.setSlabQ_B1X(v); }
void KvEngineRef::setSlabQ_B1Y(double v) { kv_.setSlabQ_B1Y(v); }
void KvEngineRef::setSlabQ_B2X(double v) { kv_.setSlabQ_B2X(v); }
void KvEngineRef::setSlabQ_B2Y(double v) { kv_.setSlabQ_B2Y(v); }
void KvEngineRef::setSlabQ_d2(double v) { kv_.setSlabQ_d2(v); }
void KvEngineRef::setDirection(int16_t v) { kv_.setDirection(v); }
void KvEngineRef::setsrcWall(int16_t v) { kv_.setsrcWall(v); }
void KvEngineRef::setFShear(int16_t v) { kv_.setFShear(v); }
void KvEngineRef::setLumoQuCond(int16_t v) { kv_.setLumoQuCond(v); }
void KvEngineRef::setCondition(int16_t v) { kv_.setCondition(v); }
void KvEngineRef::setVerticalLoad(double v) { kv_.setVerticalLoad(v); }
void KvEngineRef::setMomentLoad(double v) { kv_.setMomentLoad(v); }
void KvEngineRef::setShearLoad(double v) { kv_.setShearLoad(v); }
double KvEngineRef::Mu() { return kv_.Mu(); }
double KvEngineRef::Tu() { return kv_.Tu(); }
double KvEngineRef::NAlpha() { return kv_.KvData().NAlpha; }
int16_t KvEngineRef::JadgeM() { return kv_.JadgeM(); }
std::string KvEngineRef::Zone() { return kv_.Zone(); }
double KvEngineRef::Qu() { return kv_.Qu(); }
double KvEngineRef::Qu0() { return kv_.Qu0(); }
double KvEngineRef::Qu1() { return kv_.Qu1(); }
double KvEngineRef::Qu2() { return kv_.Qu2(); }
int16_t KvEngineRef::JadgeQ() { return kv_.JadgeQ(); }
void KvEngineRef::setRuika() { kv_.setRuika(); }
double KvEngineRef::srcMu() { return kv_.srcMu(); }
double KvEngineRef::srcMJadge() { return kv_.srcMJadge(); }
double KvEngineRef::srcQu() { return kv_.srcQu(); }
double KvEngineRef::srcQJadge() { return kv_.srcQJadge(); }
std::string KvEngineRef::ColRank() { return kv_.ColRank(); }

double CappedFc(const ColumnDataTbl& col)
{
    const double fc = col.Fc;
    if (gCond.SMode == kFalse) return fc;
    // Series 6 carries no upper limit of its own.
    if (col.KvV == 6) return fc;
    const double threshold = gFcUpperLimit + (gSIDisp ? 0.1 : 1.0);
    return fc > threshold ? gFcUpperLimit : fc;
}

void SetKvBaseInputs(IKvEngine& kv, const ColumnDataTbl& col)
{
    try {
        kv.setKolvanID(col.KolvanID);
    } catch (...) {
        // The engine may still hold a failed load of this model with another
        // column's bolt, which the same ID loads again: the column's own
        // bolt goes first then. A model that fails with it fails here.
        kv.setAbNum(col.AbNum);
        kv.setKolvanID(col.KolvanID);
    }
    kv.setAbNum(col.AbNum);
    kv.setDesignRoot(gCond.DesignRootX);
    kv.setSMode(gCond.SMode != kFalse);
    kv.setFc(CappedFc(col));
}

void SetKvSrcInputs(IKvEngine& kv, const ColumnDataTbl& col)
{
    kv.setcDx(col.cD(0));
    kv.setcDy(col.cD(1));
    kv.setColAx(col.SrcColSpec(0, 0));
    kv.setColAy(col.SrcColSpec(1, 0));
    kv.setColMat(GetSteelMaterialName(col.ColMatCode));
    kv.setColZx(col.SrcColSpec(0, 1));
    kv.setColZy(col.SrcColSpec(1, 1));
    kv.setColZpx(col.SrcColSpec(0, 2));
    kv.setColZpy(col.SrcColSpec(1, 2));
    kv.setspcx(col.SrcColSpec(0, 3));
    kv.setspcy(col.SrcColSpec(1, 3));
    kv.setRBarMat(col.RBarMat.value());
    kv.setRBarVal(col.RBarVal.value());
    kv.setrDx(col.rD(0));
    kv.setrDy(col.rD(1));
    kv.setRmNx(col.RmN(0));
    kv.setRmNy(col.RmN(1));
    kv.setRtNx(col.RtN(0));
    kv.setRtNy(col.RtN(1));
    kv.setRqNx(col.RqN(0));
    kv.setRqNy(col.RqN(1));
    kv.setRTabaneX(col.RTabane(0));
    kv.setRTabaneY(col.RTabane(1));
}

void ClearEngineLoads(IKvEngine& kv)
{
    for (void (IKvEngine::*set)(double) : {&IKvEngine::setVerticalLoad, &IKvEngine::setMomentLoad,
                                            &IKvEngine::setShearLoad}) {
        try {
            (kv.*set)(0);
        } catch (const std::exception&) {
        }
    }
}

int16_t SlabWidthField(const ColumnDataTbl& col, int16_t engineDir)
{
    return col.KvRotate == 1 ? static_cast<int16_t>(1 - engineDir) : engineDir;
}

void SetKvSlabInputs(IKvEngine& kv, const ColumnDataTbl& col)
{
    const bool turned = col.KvRotate == 1;
    kv.setSlabQ_B1X(turned ? col.SlabQ_B1Y : col.SlabQ_B1X);
    kv.setSlabQ_B1Y(turned ? col.SlabQ_B1X : col.SlabQ_B1Y);
    kv.setSlabQ_B2X(turned ? col.SlabQ_B2Y : col.SlabQ_B2X);
    kv.setSlabQ_B2Y(turned ? col.SlabQ_B2X : col.SlabQ_B2Y);
    kv.setSlabQ_d2(col.SlabQ_d2);
}

}  // namespace model
