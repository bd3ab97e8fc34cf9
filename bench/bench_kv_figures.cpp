// One base figure or RC section a run on the recording picture.
#include "drawing/kv_figure_h.h"
#include "drawing/kv_figure_src.h"
#include "drawing/kv_figure_tube.h"
#include "drawing/rc_section.h"
#include "drawing/recording.h"
#include "model/globals.h"

#include <benchmark/benchmark.h>

using namespace drawing;

namespace {

struct Setup {
    RecordingPicture pic;
    clsPrintOut po;
    FigureFrameTbl f;
    explicit Setup(int16_t colV) {
        po.setprpMode(2);
        po.setprpPicture(&pic);
        f.ScaleX = f.ScaleY = 100;
        f.X0 = f.Y0 = 2000;
        f.Mode = 1;
        model::gColumns.redim(1);
        model::gKvBase.redim(1);
        model::gCurCol = 1;
        model::ColumnDataTbl& c = model::gColumns(1);
        model::KvBaseTbl& b = model::gKvBase(1);
        c.ColV = colV;
        c.RmN(0) = c.RmN(1) = 5;
        c.HoopN(0) = c.HoopN(1) = 2;
        b.KvV = 1;
        b.AbV = 1;
        b.AbN = 3;
        b.RotateMode = -1;
    }
};

template <typename F>
void run(benchmark::State& state, int16_t colV, F draw) {
    Setup s(colV);
    for (auto _ : state) {
        s.pic.ops.clear();
        int16_t i = 1, d = 1;
        draw(s.po, s.f, i, d);
        benchmark::DoNotOptimize(s.pic.ops.data());
    }
}

void BM_Tube(benchmark::State& st) { run(st, 0, [](auto& po, auto& f, auto& i, auto& d) { DrawKvFigureTube(po, f, i, d); }); }
void BM_H(benchmark::State& st) { run(st, 2, [](auto& po, auto& f, auto& i, auto& d) { DrawKvFigureH(po, f, i, d); }); }
void BM_SrcL(benchmark::State& st) { run(st, 6, [](auto& po, auto& f, auto& i, auto& d) { DrawKvFigureSrcL(po, f, 6, i, d, 3, 3); }); }
void BM_RcSection(benchmark::State& st) { run(st, 0, [](auto& po, auto& f, auto& i, auto& d) { DrawRcColumnSection(po, f, i, d); }); }
BENCHMARK(BM_Tube);
BENCHMARK(BM_H);
BENCHMARK(BM_SrcL);
BENCHMARK(BM_RcSection);

}  // namespace

BENCHMARK_MAIN();
