// The column check from records to gResults: one column, and whole projects.
#include "engine/kv.h"
#include "model/column_check.h"
#include "model/globals.h"
#include "mixed_project.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace model;

void SetUpProject(bool sMode, int16_t count)
{
    gSIDisp = true;
    gUnitFactor = 9.80665;
    gFcUpperLimit = 60;
    gDataFilePath = KV_SAMPLE_DIR;
    gDataFileName = "\\data.mdb";
    gCond = MakeCondDefault(true, 0, "", "");
    gCond.SMode = sMode ? kTrue : kFalse;
    gCond.ColCount = count;
    if (!gKv) {
        gKv = std::make_unique<kv::KV>(KV_SAMPLE_DIR);
        gKv->setSIFlag(true);
        gKv->setSIFactor(9.80665);
    }
    const ColumnDataTbl sCol = MakeColumnDefault(1, true, 21);
    const ColumnDataTbl col = sMode ? sCol : MakeColumnDefaultSrc(sCol, true);
    gColumns.redim(count);
    gResults.redim(count);
    gKvBase.redim(count);
    for (int16_t i = 1; i <= count; ++i) {
        gColumns(i) = col;
        // Loads vary per column so that every check recomputes.
        for (long k = 1; k <= 8; ++k) {
            gResults(i).DesignStress(1, k) = 20 + i % 17 + k;
            gResults(i).DesignStress(2, k) = 5 + i % 7;
            gResults(i).DesignStress(3, k) = 2 + k;
            gResults(i).DesignStress(4, k) = 15 + i % 13 + k;
            gResults(i).DesignStress(5, k) = 4 + i % 5;
            gResults(i).DesignStress(6, k) = 1 + k;
        }
    }
}

void CheckProject(benchmark::State& state, bool sMode)
{
    const auto count = static_cast<int16_t>(state.range(0));
    SetUpProject(sMode, count);
    for (auto _ : state) {
        for (int16_t i = 1; i <= count; ++i) {
            CalcColumnByIndex(i, 0);
            CalcColumnByIndex(i, 1);
        }
        benchmark::DoNotOptimize(gResults(count).Mu(1, 7));
    }
}

void BM_OneColumnBothDirections(benchmark::State& state)
{
    SetUpProject(true, 2);
    int16_t i = 1;
    for (auto _ : state) {
        // Alternate columns so the engine cannot skip unchanged inputs.
        CalcColumnByIndex(i, 0);
        CalcColumnByIndex(i, 1);
        i = static_cast<int16_t>(3 - i);
    }
}
BENCHMARK(BM_OneColumnBothDirections);

void BM_SProject(benchmark::State& state) { CheckProject(state, true); }
BENCHMARK(BM_SProject)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_SrcProject(benchmark::State& state) { CheckProject(state, false); }
BENCHMARK(BM_SrcProject)->Arg(200)->Unit(benchmark::kMillisecond);

// One S column, both directions and all cases, on a base of the given series
// that takes its pedestal widths from the catalogue (B2 = 0).
void BM_SColumnCatalogueWidths(benchmark::State& state)
{
    const auto series = static_cast<int16_t>(state.range(0));
    const int32_t id = series == 1 ? 110110 : series == 4 ? 150310 : 160110;
    SetUpProject(true, 2);
    for (int i = 1; i <= 2; ++i) gColumns(i) = benchdata::MixedColumn(id, series, 0, i, gKvBase(i));
    int16_t i = 1;
    for (auto _ : state) {
        CalcColumnByIndex(i, 0);
        CalcColumnByIndex(i, 1);
        i = static_cast<int16_t>(3 - i);
    }
}
BENCHMARK(BM_SColumnCatalogueWidths)->Arg(1)->Arg(4)->Arg(5)->Unit(benchmark::kMicrosecond);

// A recheck of 1,000 S columns of eight models with catalogue widths.
void BM_MixedSProject(benchmark::State& state)
{
    SetUpProject(true, 1);
    const auto count = static_cast<int16_t>(state.range(0));
    benchdata::MakeMixedProject(count);
    for (auto _ : state) {
        for (int16_t i = 1; i <= count; ++i) {
            CalcColumnByIndex(i, 0);
            CalcColumnByIndex(i, 1);
        }
        benchmark::DoNotOptimize(gResults(count).Mu(1, 7));
    }
}
BENCHMARK(BM_MixedSProject)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
