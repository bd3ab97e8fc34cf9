// Shared set-up of the N-M diagram tests: the program-wide values the diagram
// reads, saved and restored around each test, and a scripted engine.
#pragma once

#include "drawing/globals.h"
#include "drawing/nm_engine.h"
#include "engine/kv.h"
#include "model/globals.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace nmtest {

// Every global the diagram reads or writes, restored after the test.
class NMGlobals {
public:
    NMGlobals()
        : cond_(model::gCond), columns_(model::gColumns), bases_(model::gKvBase),
          results_(model::gResults), curCol_(model::gCurCol), dispMode_(model::gDispMode),
          show_(model::gNMCurveShow), colorDraw_(model::gColorDraw),
          si_(model::gSIDisp), unit_(model::gUnitFactor), fcLimit_(model::gFcUpperLimit),
          chart_(drawing::gNMChart) {
        model::gCond = model::ProjectCondTbl{};
        model::gCond.SMode = model::kTrue;
        model::gCond.UltJadge = model::kTrue;
        model::gCond.DesignRootX = 1;
        model::gCond.DesignRootY = 1;
        model::gColumns.redim(1);
        model::gKvBase.redim(1);
        model::gResults.redim(1);
        model::gCurCol = 1;
        model::gDispMode = 0;
        model::gNMCurveShow(0) = true;
        model::gNMCurveShow(1) = true;
        model::gNMCurveShow(2) = false;
        model::gNMCurveShow(3) = false;
        model::gColorDraw = true;
        model::gSIDisp = true;
        model::gUnitFactor = 1;
        model::gFcUpperLimit = 60;
        drawing::gNMChart = drawing::FigureFrameTbl{};
    }
    ~NMGlobals() {
        model::gCond = cond_;
        model::gColumns = columns_;
        model::gKvBase = bases_;
        model::gResults = results_;
        model::gCurCol = curCol_;
        model::gDispMode = dispMode_;
        model::gNMCurveShow = show_;
        model::gColorDraw = colorDraw_;
        model::gSIDisp = si_;
        model::gUnitFactor = unit_;
        model::gFcUpperLimit = fcLimit_;
        drawing::gNMChart = chart_;
    }
    NMGlobals(const NMGlobals&) = delete;
    NMGlobals& operator=(const NMGlobals&) = delete;

private:
    model::ProjectCondTbl cond_;
    model::ColumnArray<model::ColumnDataTbl> columns_;
    model::ColumnArray<model::KvBaseTbl> bases_;
    model::ColumnArray<model::ColumnResultTbl> results_;
    int16_t curCol_, dispMode_;
    vb::Array<bool, 0, 3> show_;
    bool colorDraw_, si_;
    double unit_, fcLimit_;
    drawing::FigureFrameTbl chart_;
};

// Capacities per load state (0 ultimate, 1 short, 2 long) and curves as
// functions; a load state outside 0..2 is refused, as the real engine would
// compute nonsense for it.
class FakeNM final : public drawing::NMEngine {
public:
    std::vector<std::string> log;
    std::array<double, 3> nu{}, nuC{}, tuC{}, tu{}, tu1{}, muMax{};
    // Moment capacity at an axial force in a load state.
    std::function<double(int, double)> mu = [](int, double) { return 0.0; };
    kv::KvDataTblC data;
    std::array<double, 3> srcMax{}, srcMin{}, srcMmaxV{}, cNmaxV{}, rNmaxV{}, rMmaxV{}, colNmaxV{},
        colMmaxV{};
    double tCrit = 0;
    std::function<double(int, double)> srcMuF = [](int, double) { return 0.0; };
    std::function<double(int, double)> cMF = [](int, double) { return 0.0; };
    std::function<double(int, double)> colMF = [](int, double) { return 0.0; };
    int16_t condition = 0, direction = 0;
    double N = 0, cn = 0, coln = 0;

    void setBaseInputs(const model::ColumnDataTbl& c) override {
        log.push_back("base " + std::to_string(c.KolvanID));
    }
    void setSrcInputs(const model::ColumnDataTbl&) override { log.push_back("src"); }
    void setDirection(int16_t v) override {
        direction = v;
        log.push_back("Direction=" + std::to_string(v));
    }
    void setCondition(int16_t v) override {
        condition = v;
        log.push_back("Condition=" + std::to_string(v));
    }
    void setVerticalLoad(double v) override { N = v; }
    void setDesignRoot(int16_t v) override { log.push_back("DesignRoot=" + std::to_string(v)); }
    void setsrcWall(int16_t v) override { log.push_back("srcWall=" + std::to_string(v)); }
    void setcN(double v) override { cn = v; }
    void setrN(double) override {}
    void setcolN(double v) override { coln = v; }
    void setRuika() override { log.push_back("setRuika"); }
    double Nu() override { return at(nu); }
    double Nu_() override { return at(nuC); }
    double Tu_() override { return at(tuC); }
    double Tu() override { return at(tu); }
    double Tu1() override { return at(tu1); }
    double Mu() override { return mu(state(), N); }
    double MuMax() override { return at(muMax); }
    kv::KvDataTblC KvData() override { return data; }
    double srcNmax() override { return at(srcMax); }
    double srcNmin() override { return at(srcMin); }
    double srcMmax() override { return at(srcMmaxV); }
    double srcMu() override { return srcMuF(state(), N); }
    double srcTCrit() override { return tCrit; }
    double srcMRatio0() override { return 0; }
    double srcMRatio90() override { return 0; }
    double srcNRatio() override { return 0; }
    double cNmax() override { return at(cNmaxV); }
    double cM() override { return cMF(state(), cn); }
    double rNmax() override { return at(rNmaxV); }
    double rMmax() override { return at(rMmaxV); }
    double colNmax() override { return at(colNmaxV); }
    double colMmax() override { return at(colMmaxV); }
    double colM() override { return colMF(state(), coln); }

private:
    int state() const {
        if (condition < 0 || condition > 2)
            throw std::logic_error("fake engine: load state " + std::to_string(condition));
        return condition;
    }
    double at(const std::array<double, 3>& a) const { return a[static_cast<size_t>(state())]; }
};

// The sample catalogue's engine, made once per test program.
inline kv::KV& SampleEngine() {
    static kv::KV engine(KV_SAMPLE_DIR);
    return engine;
}

}  // namespace nmtest
