#include "platform/store/store.h"

#include <benchmark/benchmark.h>

// A catalogue load opens the store up to four times, so the open itself and one
// keyed look-up are what a model change costs.
static void BM_OpenAndKeyedSelect(benchmark::State& state) {
    for (auto _ : state) {
        auto db = store::Database::open(KV_SAMPLE_CATALOGUE, ";pwd=qmv41");
        auto rs = db.openRecordset(
            "SELECT DISTINCTROW [KvData].[L1] FROM [KvData] WHERE (([KvData].[ID]= 150310 ) and ([KvData].[AbD]= 24 ))");
        benchmark::DoNotOptimize(rs.eof() ? 0.0 : rs.number(0));
    }
}
BENCHMARK(BM_OpenAndKeyedSelect);

static void BM_KeyedSelectOnOpenStore(benchmark::State& state) {
    auto db = store::Database::open(KV_SAMPLE_CATALOGUE, ";pwd=qmv41");
    for (auto _ : state) {
        auto rs = db.openRecordset("SELECT DISTINCTROW 柱脚.形式名,柱脚.KvV From 柱脚 WHERE ((柱脚.ID)= 100100)");
        benchmark::DoNotOptimize(rs.text(0));
    }
}
BENCHMARK(BM_KeyedSelectOnOpenStore);
