#include "drawing/nm_engine.h"

#include "engine/kv.h"
#include "model/adapter.h"
#include "model/globals.h"

#include <stdexcept>

namespace drawing {

void NMEngineKv::setBaseInputs(const model::ColumnDataTbl& col) {
    model::KvEngineRef ref(kv_);
    model::SetKvBaseInputs(ref, col);
}

void NMEngineKv::setSrcInputs(const model::ColumnDataTbl& col) {
    model::KvEngineRef ref(kv_);
    model::SetKvSrcInputs(ref, col);
}

void NMEngineKv::setDirection(int16_t v) { kv_.setDirection(v); }
void NMEngineKv::setCondition(int16_t v) { kv_.setCondition(v); }
void NMEngineKv::setVerticalLoad(double v) { kv_.setVerticalLoad(v); }
void NMEngineKv::setDesignRoot(int16_t v) { kv_.setDesignRoot(v); }
void NMEngineKv::setsrcWall(int16_t v) { kv_.setsrcWall(v); }
void NMEngineKv::setcN(double v) { kv_.setcN(v); }
void NMEngineKv::setrN(double v) { kv_.setrN(v); }
void NMEngineKv::setcolN(double v) { kv_.setcolN(v); }
void NMEngineKv::setRuika() { kv_.setRuika(); }
double NMEngineKv::Nu() { return kv_.Nu(); }
double NMEngineKv::Nu_() { return kv_.Nu_(); }
double NMEngineKv::Tu_() { return kv_.Tu_(); }
double NMEngineKv::Tu() { return kv_.Tu(); }
double NMEngineKv::Tu1() { return kv_.Tu1(); }
double NMEngineKv::Mu() { return kv_.Mu(); }
double NMEngineKv::MuMax() { return kv_.MuMax(); }
kv::KvDataTblC NMEngineKv::KvData() { return kv_.KvData(); }
double NMEngineKv::srcNmax() { return kv_.srcNmax(); }
double NMEngineKv::srcNmin() { return kv_.srcNmin(); }
double NMEngineKv::srcMmax() { return kv_.srcMmax(); }
double NMEngineKv::srcMu() { return kv_.srcMu(); }
double NMEngineKv::srcTCrit() { return kv_.srcTCrit(); }
double NMEngineKv::srcMRatio0() { return kv_.srcMRatio0(); }
double NMEngineKv::srcMRatio90() { return kv_.srcMRatio90(); }
double NMEngineKv::srcNRatio() { return kv_.srcNRatio(); }
double NMEngineKv::cNmax() { return kv_.cNmax(); }
double NMEngineKv::cM() { return kv_.cM(); }
double NMEngineKv::rNmax() { return kv_.rNmax(); }
double NMEngineKv::rMmax() { return kv_.rMmax(); }
double NMEngineKv::colNmax() { return kv_.colNmax(); }
double NMEngineKv::colMmax() { return kv_.colMmax(); }
double NMEngineKv::colM() { return kv_.colM(); }

NMEngineKv GlobalNMEngine() {
    if (!model::gKv) throw std::logic_error("N-M diagram: the engine has not been created");
    return NMEngineKv(*model::gKv);
}

}  // namespace drawing
