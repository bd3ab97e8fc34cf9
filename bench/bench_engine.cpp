#include "engine/kv.h"

#include <benchmark/benchmark.h>

// Creation loads the default model, runs the check and builds the SRC curve.
static void BM_CreateEngine(benchmark::State& state) {
    for (auto _ : state) {
        kv::KV kv(KV_SAMPLE_DIR);
        benchmark::DoNotOptimize(kv.KolvanID());
    }
}
BENCHMARK(BM_CreateEngine)->Unit(benchmark::kMillisecond);

// A model change: catalogue load (several store opens) and one check.
static void BM_LoadModelByID(benchmark::State& state) {
    kv::KV kv(KV_SAMPLE_DIR);
    bool flip = false;
    for (auto _ : state) {
        kv.setKolvanID(flip ? 100100 : 150310);
        flip = !flip;
    }
}
BENCHMARK(BM_LoadModelByID)->Unit(benchmark::kMicrosecond);
