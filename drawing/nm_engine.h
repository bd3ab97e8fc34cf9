// What the N-M diagram asks of the engine, behind one small interface so the
// diagram can also be driven by scripted capacities in tests (degenerate
// catalogue data the sample catalogue does not have). The program uses
// NMEngineKv over gKv; member names are those of the engine.
#pragma once

#include "engine/kvtypes.h"
#include "model/records.h"

#include <cstdint>

namespace kv {
class KV;
}

namespace drawing {

class NMEngine {
public:
    virtual ~NMEngine() = default;

    // The column's base (product, bolts, route, mode, Fc) and its SRC section.
    virtual void setBaseInputs(const model::ColumnDataTbl& col) = 0;
    virtual void setSrcInputs(const model::ColumnDataTbl& col) = 0;

    virtual void setDirection(int16_t v) = 0;
    virtual void setCondition(int16_t v) = 0;
    virtual void setVerticalLoad(double v) = 0;
    virtual void setDesignRoot(int16_t v) = 0;
    virtual void setsrcWall(int16_t v) = 0;
    virtual void setcN(double v) = 0;
    virtual void setrN(double v) = 0;
    virtual void setcolN(double v) = 0;
    virtual void setRuika() = 0;

    virtual double Nu() = 0;
    virtual double Nu_() = 0;
    virtual double Tu_() = 0;
    virtual double Tu() = 0;
    virtual double Tu1() = 0;
    virtual double Mu() = 0;
    virtual double MuMax() = 0;
    virtual kv::KvDataTblC KvData() = 0;

    virtual double srcNmax() = 0;
    virtual double srcNmin() = 0;
    virtual double srcMmax() = 0;
    virtual double srcMu() = 0;
    virtual double srcTCrit() = 0;
    // Share ratios of the SRC base for the current inputs and Condition.
    virtual double srcMRatio0() = 0;
    virtual double srcMRatio90() = 0;
    virtual double srcNRatio() = 0;
    virtual double cNmax() = 0;
    virtual double cM() = 0;
    virtual double rNmax() = 0;
    virtual double rMmax() = 0;
    virtual double colNmax() = 0;
    virtual double colMmax() = 0;
    virtual double colM() = 0;
};

// The real engine; holds a reference only.
class NMEngineKv final : public NMEngine {
public:
    explicit NMEngineKv(kv::KV& kv) : kv_(kv) {}

    void setBaseInputs(const model::ColumnDataTbl& col) override;
    void setSrcInputs(const model::ColumnDataTbl& col) override;
    void setDirection(int16_t v) override;
    void setCondition(int16_t v) override;
    void setVerticalLoad(double v) override;
    void setDesignRoot(int16_t v) override;
    void setsrcWall(int16_t v) override;
    void setcN(double v) override;
    void setrN(double v) override;
    void setcolN(double v) override;
    void setRuika() override;
    double Nu() override;
    double Nu_() override;
    double Tu_() override;
    double Tu() override;
    double Tu1() override;
    double Mu() override;
    double MuMax() override;
    kv::KvDataTblC KvData() override;
    double srcNmax() override;
    double srcNmin() override;
    double srcMmax() override;
    double srcMu() override;
    double srcTCrit() override;
    double srcMRatio0() override;
    double srcMRatio90() override;
    double srcNRatio() override;
    double cNmax() override;
    double cM() override;
    double rNmax() override;
    double rMmax() override;
    double colNmax() override;
    double colMmax() override;
    double colM() override;

private:
    kv::KV& kv_;
};

// gKv behind the interface; fails when the engine has not been created.
NMEngineKv GlobalNMEngine();

}  // namespace drawing
