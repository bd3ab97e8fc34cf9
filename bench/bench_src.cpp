#include "engine/kv.h"

#include <benchmark/benchmark.h>

// One superposed-curve build with the default 140 divisions: about one full
// steel-base check per steel grid force. The eccentric base also runs the
// axial-limit searches in every check.
static void BuildCurve(benchmark::State& state, int32_t id) {
    kv::KV kv(KV_SAMPLE_DIR);
    kv.setKolvanID(id);
    kv.setVerticalLoad(300);
    for (auto _ : state) {
        kv.setRuika();
        benchmark::DoNotOptimize(kv.srcMmax());
    }
}
BENCHMARK_CAPTURE(BuildCurve, concentric, 100100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildCurve, eccentric, 100230)->Unit(benchmark::kMillisecond);

// The SRC shear with a moment the base fails, so the load is scaled down.
static void SrcShear(benchmark::State& state, int32_t id) {
    kv::KV kv(KV_SAMPLE_DIR);
    kv.setKolvanID(id);
    kv.setRuika();
    kv.setVerticalLoad(100);
    kv.setMomentLoad(4 * kv.Mu());
    for (auto _ : state) benchmark::DoNotOptimize(kv.srcQu());
}
BENCHMARK_CAPTURE(SrcShear, concentric, 100100)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SrcShear, eccentric, 100230)->Unit(benchmark::kMicrosecond);
