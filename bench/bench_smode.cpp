// One steel-base check: concentric, eccentric (with both axial-limit walks),
// and the N-M sweep a diagram draws.
#include "engine/smode.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

kv::KvState Base(double eccentricity) {
    kv::KvState s;
    auto& k = s.KvData;
    k.ID = 100230;
    k.KvV = 1;
    k.AbV = 1;
    k.AbN = 2;
    k.AbD = 30;
    k.AbF = 5.0;
    k.AbA = 7.068582;
    k.AbAe = 0.77 * 7.068582;
    const double x[6] = {600, 600, 460, 460, 240, 240};
    for (int i = 1; i <= 6; ++i) {
        k.KvLen(0, i) = x[i - 1];
        k.KvLen(1, i) = x[i - 1];
    }
    k.KvT(2) = 36;
    k.HenshinE(0) = eccentricity;
    s.BoltQu.beta = 0.5;
    s.BoltQu.bQ.fill(100);
    s.SlabQ_B2X = 800;
    s.SlabQ_B2Y = 800;
    s.SlabQ_d2 = 350;
    s.SMode = true;
    s.Condition = 1;
    s.VerticalLoad = 800;
    s.MomentLoad = 150;
    s.ShearLoad = 100;
    s.FShear = 3;
    return s;
}

void BM_CheckConcentric(benchmark::State& state) {
    kv::KvState s = Base(0);
    for (auto _ : state) {
        kv::CalcBaseCheck(s);
        benchmark::DoNotOptimize(s.Mu);
    }
}
BENCHMARK(BM_CheckConcentric);

void BM_CheckEccentric(benchmark::State& state) {
    kv::KvState s = Base(50);
    for (auto _ : state) {
        kv::CalcBaseCheck(s);
        benchmark::DoNotOptimize(s.Mu);
    }
}
BENCHMARK(BM_CheckEccentric);

// 100 axial forces from Nu_ down to -Tu_, a check at each, as a diagram does.
void BM_SweepNM(benchmark::State& state) {
    kv::KvState s = Base(50);
    kv::CalcBaseCheck(s);
    const double top = s.Nu_;
    const double bottom = -s.Tu_;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) {
            s.VerticalLoad = top + (bottom - top) * i / 99;
            kv::CalcBaseCheck(s);
            benchmark::DoNotOptimize(s.Mu);
        }
    }
}
BENCHMARK(BM_SweepNM);

}  // namespace
