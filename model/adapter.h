// Sends a column's data to the engine. The engine keeps its inputs between
// calls, so every user sends the column it works on before asking anything.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <string>

namespace kv {
class KV;
}

namespace model {

// The engine properties the column check drives. Exists so that the order of
// the sends, which is behaviour (each changed input recomputes), can be seen
// by a recording fake in tests; the program uses KvEngineRef over gKv.
class IKvEngine {
public:
    virtual ~IKvEngine() = default;

    virtual void setKolvanID(int32_t v) = 0;
    virtual void setAbNum(int16_t v) = 0;
    virtual void setDesignRoot(int16_t v) = 0;
    virtual void setSMode(bool v) = 0;
    virtual void setFc(double v) = 0;

    virtual void setcDx(double v) = 0;
    virtual void setcDy(double v) = 0;
    virtual void setColAx(double v) = 0;
    virtual void setColAy(double v) = 0;
    virtual void setColMat(const std::string& v) = 0;
    virtual void setColZx(double v) = 0;
    virtual void setColZy(double v) = 0;
    virtual void setColZpx(double v) = 0;
    virtual void setColZpy(double v) = 0;
    virtual void setspcx(double v) = 0;
    virtual void setspcy(double v) = 0;
    virtual void setRBarMat(const std::string& v) = 0;
    virtual void setRBarVal(const std::string& v) = 0;
    virtual void setrDx(double v) = 0;
    virtual void setrDy(double v) = 0;
    virtual void setRmNx(int16_t v) = 0;
    virtual void setRmNy(int16_t v) = 0;
    virtual void setRtNx(int16_t v) = 0;
    virtual void setRtNy(int16_t v) = 0;
    virtual void setRqNx(int16_t v) = 0;
    virtual void setRqNy(int16_t v) = 0;
    virtual void setRTabaneX(int16_t v) = 0;
    virtual void setRTabaneY(int16_t v) = 0;

    virtual void setSlabFc(double v) = 0;
    virtual void setSlabQ_B1X(double v) = 0;
    virtual void setSlabQ_B1Y(double v) = 0;
    virtual void setSlabQ_B2X(double v) = 0;
    virtual void setSlabQ_B2Y(double v) = 0;
    virtual void setSlabQ_d2(double v) = 0;

    virtual void setDirection(int16_t v) = 0;
    virtual void setsrcWall(int16_t v) = 0;
    virtual void setFShear(int16_t v) = 0;
    virtual void setLumoQuCond(int16_t v) = 0;
    virtual void setCondition(int16_t v) = 0;
    virtual void setVerticalLoad(double v) = 0;
    virtual void setMomentLoad(double v) = 0;
    virtual void setShearLoad(double v) = 0;

    virtual double Mu() = 0;
    virtual double Tu() = 0;
    // NAlpha of the catalogue record the engine holds.
    virtual double NAlpha() = 0;
    virtual int16_t JadgeM() = 0;
    virtual std::string Zone() = 0;
    virtual double Qu() = 0;
    virtual double Qu0() = 0;
    virtual double Qu1() = 0;
    virtual double Qu2() = 0;
    virtual int16_t JadgeQ() = 0;

    virtual void setRuika() = 0;
    virtual double srcMu() = 0;
    virtual double srcMJadge() = 0;
    virtual double srcQu() = 0;
    virtual double srcQJadge() = 0;
    virtual std::string ColRank() = 0;
};

// The real engine behind the interface; holds a reference only.
class KvEngineRef final : public IKvEngine {
public:
    explicit KvEngineRef(kv::KV& kv) : kv_(kv) {}

    void setKolvanID(int32_t v) override;
    void setAbNum(int16_t v) override;
    void setDesignRoot(int16_t v) override;
    void setSMode(bool v) override;
    void setFc(double v) override;
    void setcDx(double v) override;
    void setcDy(double v) override;
    void setColAx(double v) override;
    void setColAy(double v) override;
    void setColMat(const std::string& v) override;
    void setColZx(double v) override;
    void setColZy(double v) override;
    void setColZpx(double v) override;
    void setColZpy(double v) override;
    void setspcx(double v) override;
    void setspcy(double v) override;
    void setRBarMat(const std::string& v) override;
    void setRBarVal(const std::string& v) override;
    void setrDx(double v) override;
    void setrDy(double v) override;
    void setRmNx(int16_t v) override;
    void setRmNy(int16_t v) override;
    void setRtNx(int16_t v) override;
    void setRtNy(int16_t v) override;
    void setRqNx(int16_t v) override;
    void setRqNy(int16_t v) override;
    void setRTabaneX(int16_t v) override;
    void setRTabaneY(int16_t v) override;
    void setSlabFc(double v) override;
    void setSlabQ_B1X(double v) override;
    void setSlabQ_B1Y(double v) override;
    void setSlabQ_B2X(double v) override;
    void setSlabQ_B2Y(double v) override;
    void setSlabQ_d2(double v) override;
    void setDirection(int16_t v) override;
    void setsrcWall(int16_t v) override;
    void setFShear(int16_t v) override;
    void setLumoQuCond(int16_t v) override;
    void setCondition(int16_t v) override;
    void setVerticalLoad(double v) override;
    void setMomentLoad(double v) override;
    void setShearLoad(double v) override;
    double Mu() override;
    double Tu() override;
    double NAlpha() override;
    int16_t JadgeM() override;
    std::string Zone() override;
    double Qu() override;
    double Qu0() override;
    double Qu1() override;
    double Qu2() override;
    int16_t JadgeQ() override;
    void setRuika() override;
    double srcMu() override;
    double srcMJadge() override;
    double srcQu() override;
    double srcQJadge() override;
    std::string ColRank() override;

private:
    kv::KV& kv_;
};

// The Fc the engine gets for a column: capped at gFcUpperLimit in S mode
// unless the column's own series is 6; a value within 0.1 (SI) or 1.0 above
// the limit passes.
double CappedFc(const ColumnDataTbl& col);

// Base selection, design route (X), structure mode and capped Fc.
void SetKvBaseInputs(IKvEngine& kv, const ColumnDataTbl& col);
// SRC section and rebar data.
void SetKvSrcInputs(IKvEngine& kv, const ColumnDataTbl& col);
// Sets the engine's loads to nothing. A check that failed leaves its loads
// in the engine, and every input sent next is checked against them; a load
// it refuses even now is left as it is.
void ClearEngineLoads(IKvEngine& kv);

// The column's slab-width field (0 X, 1 Y) that reaches the engine as its
// direction engineDir: a turned base has X and Y exchanged.
int16_t SlabWidthField(const ColumnDataTbl& col, int16_t engineDir);
// Slab widths (X and Y exchanged for a base turned by 90 degrees), then d2.
void SetKvSlabInputs(IKvEngine& kv, const ColumnDataTbl& col);

}  // namespace model
