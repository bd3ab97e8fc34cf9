// A fake engine that logs every property write and read in order, as
// "Name=value" and "Name?", so tests can compare the exact send sequence.
#pragma once

#include "model/adapter.h"

#include <sstream>
#include <string>
#include <vector>

namespace model::testing {

class RecordingKv final : public IKvEngine {
public:
    std::vector<std::string> log;
    // Values the reads return.
    double mu = 12.5;
    double tu = 40;
    double nAlpha = 0.4;
    std::string colRank = "FA";
    int16_t jadgeM = -1;
    std::string zone = "B";
    double qu = 3.25, qu0 = 1.5, qu1 = 2.5, qu2 = 0;
    int16_t jadgeQ = 0;
    double srcQuValue = 7.75;
    double srcMJadgeValue = -1, srcQJadgeValue = 2;
    // srcMu is 100 + the number of setRuika calls so far: shows which curve it comes from.
    int ruikaCount = 0;

    void setKolvanID(int32_t v) override { put("KolvanID", v); }
    void setAbNum(int16_t v) override { put("AbNum", v); }
    void setDesignRoot(int16_t v) override { put("DesignRoot", v); }
    void setSMode(bool v) override { put("SMode", v); }
    void setFc(double v) override { put("Fc", v); }
    void setcDx(double v) override { put("cDx", v); }
    void setcDy(double v) override { put("cDy", v); }
    void setColAx(double v) override { put("ColAx", v); }
    void setColAy(double v) override { put("ColAy", v); }
    void setColMat(const std::string& v) override { put("ColMat", v); }
    void setColZx(double v) override { put("ColZx", v); }
    void setColZy(double v) override { put("ColZy", v); }
    void setColZpx(double v) override { put("ColZpx", v); }
    void setColZpy(double v) override { put("ColZpy", v); }
    void setspcx(double v) override { put("spcx", v); }
    void setspcy(double v) override { put("spcy", v); }
    void setRBarMat(const std::string& v) override { put("RBarMat", v); }
    void setRBarVal(const std::string& v) override { put("RBarVal", v); }
    void setrDx(double v) override { put("rDx", v); }
    void setrDy(double v) override { put("rDy", v); }
    void setRmNx(int16_t v) override { put("RmNx", v); }
    void setRmNy(int16_t v) override { put("RmNy", v); }
    void setRtNx(int16_t v) override { put("RtNx", v); }
    void setRtNy(int16_t v) override { put("RtNy", v); }
    void setRqNx(int16_t v) override { put("RqNx", v); }
    void setRqNy(int16_t v) override { put("RqNy", v); }
    void setRTabaneX(int16_t v) override { put("RTabaneX", v); }
    void setRTabaneY(int16_t v) override { put("RTabaneY", v); }
    void setSlabFc(double v) override { put("SlabFc", v); }
    void setSlabQ_B1X(double v) override { put("SlabQ_B1X", v); }
    void setSlabQ_B1Y(double v) override { put("SlabQ_B1Y", v); }
    void setSlabQ_B2X(double v) override { put("SlabQ_B2X", v); }
    void setSlabQ_B2Y(double v) override { put("SlabQ_B2Y", v); }
    void setSlabQ_d2(double v) override { put("SlabQ_d2", v); }
    void setDirection(int16_t v) override { put("Direction", v); }
    void setsrcWall(int16_t v) override { put("srcWall", v); }
    void setFShear(int16_t v) override { put("FShear", v); }
    void setLumoQuCond(int16_t v) override { put("LumoQuCond", v); }
    void setCondition(int16_t v) override { put("Condition", v); }
    void setVerticalLoad(double v) override { put("VerticalLoad", v); }
    void setMomentLoad(double v) override { put("MomentLoad", v); }
    void setShearLoad(double v) override { put("ShearLoad", v); }

    double Mu() override { return get("Mu", mu); }
    double Tu() override { return get("Tu", tu); }
    double NAlpha() override { return get("NAlpha", nAlpha); }
    int16_t JadgeM() override { return get("JadgeM", jadgeM); }
    std::string Zone() override { return get("Zone", zone); }
    double Qu() override { return get("Qu", qu); }
    double Qu0() override { return get("Qu0", qu0); }
    double Qu1() override { return get("Qu1", qu1); }
    double Qu2() override { return get("Qu2", qu2); }
    int16_t JadgeQ() override { return get("JadgeQ", jadgeQ); }
    void setRuika() override
    {
        ++ruikaCount;
        log.push_back("setRuika");
    }
    double srcMu() override { return get("srcMu", 100.0 + ruikaCount); }
    double srcMJadge() override { return get("srcMJadge", srcMJadgeValue); }
    double srcQu() override { return get("srcQu", srcQuValue); }
    double srcQJadge() override { return get("srcQJadge", srcQJadgeValue); }
    std::string ColRank() override { return get("ColRank", colRank); }

private:
    template <typename T>
    void put(const char* name, const T& v)
    {
        std::ostringstream s;
        s << name << '=' << v;
        log.push_back(s.str());
    }
    template <typename T>
    T get(const char* name, T v)
    {
        log.push_back(std::string(name) + "?");
        return v;
    }
};

}  // namespace model::testing
