// An engine for the N-M file whose curves are known by hand: straight-line
// moments between fixed ends, per load state and direction. It can be told
// to fail after a number of moment reads.
#pragma once

#include "drawing/nm_engine.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace nmfiletest {

class ScriptedNM final : public drawing::NMEngine {
public:
    kv::KvDataTblC data;
    std::vector<std::string> log;
    int failAfterReads = -1;  // moment reads before a failure; -1 never

    ScriptedNM()
    {
        const double x[] = {650, 650, 100, 200, 300, 400};
        const double y[] = {700, 600, 110, 210, 310, 410};
        for (int k = 1; k <= 6; ++k) {
            data.KvLen(0, k) = x[k - 1];
            data.KvLen(1, k) = y[k - 1];
        }
    }

    void setBaseInputs(const model::ColumnDataTbl&) override { log.push_back("base"); }
    void setSrcInputs(const model::ColumnDataTbl&) override { log.push_back("src"); }
    void setDirection(int16_t v) override { dir_ = v; }
    void setCondition(int16_t v) override
    {
        if (v < 0 || v > 2) throw std::logic_error("load state " + std::to_string(v));
        state_ = v;
    }
    void setVerticalLoad(double v) override { n_ = v; }
    void setDesignRoot(int16_t v) override { root_ = v; }
    void setsrcWall(int16_t v) override { wall_ = v; }
    void setcN(double v) override { cn_ = v; }
    void setrN(double) override {}
    void setcolN(double) override {}
    void setRuika() override { log.push_back("setRuika"); }

    double Nu_() override { return 900 - 300 * state_ + 100 * dir_; }
    double Tu_() override { return 180 - 60 * state_ + 20 * dir_; }
    double Mu() override { return read(n_ / 10 + 80 - 30 * state_ + 5 * dir_); }
    kv::KvDataTblC KvData() override { return data; }

    double srcNmax() override { return 3000 - 1000 * state_; }
    double srcNmin() override { return -600 + 200 * state_; }
    double srcMu() override { return read(n_ / 20 + 200 - 100 * state_); }
    double colNmax() override { return 1200 - 400 * state_; }
    double colMmax() override { return 90 - 30 * state_; }
    double rNmax() override { return 500 - 100 * state_; }
    double rMmax() override { return 50 - 10 * state_; }
    double cNmax() override { return 1600 - 400 * state_; }
    double cM() override { return read(cn_ / 100 + 20); }
    // The header's values are right only at the short-term state.
    double srcMRatio0() override { return state_ == 1 ? 0.25 : 0.999; }
    double srcMRatio90() override { return state_ == 1 ? 0.5 : 0.999; }
    double srcNRatio() override { return state_ == 1 ? 0.1234 : 0.999; }
    double srcTCrit() override
    {
        if (wall_ == 1 && root_ == 3) return 99999999999;
        return (state_ == 1 ? 1500.256 : 9000) + root_;
    }

    // Not read by the file.
    double Nu() override { return 0; }
    double Tu() override { return 0; }
    double Tu1() override { return 0; }
    double MuMax() override { return 0; }
    double srcMmax() override { return 0; }
    double colM() override { return 0; }

private:
    double read(double v)
    {
        if (failAfterReads == 0) throw std::runtime_error("engine failure");
        if (failAfterReads > 0) --failAfterReads;
        return v;
    }

    int16_t state_ = 0, dir_ = 0, root_ = 0, wall_ = 0;
    double n_ = 0, cn_ = 0;
};

}  // namespace nmfiletest
