// One N-M diagram from the project records to drawn primitives on the
// recording picture: a steel column with its three states (about 600 engine
// checks) and an SRC column with one state and with all three (setRuika and
// about 400 checks per state). The main window redraws after every entry.
#include "drawing/globals.h"
#include "drawing/nm_diagram.h"
#include "drawing/recording.h"
#include "engine/kv.h"
#include "model/base_data.h"
#include "model/globals.h"

#include <benchmark/benchmark.h>

namespace {

kv::KV& Engine() {
    static kv::KV engine(KV_SAMPLE_DIR);
    return engine;
}

void SetUp(bool steel, int states) {
    kv::KV& engine = Engine();
    engine.setSIFlag(true);
    model::gSIDisp = true;
    model::gUnitFactor = 9.80665;
    model::gFcUpperLimit = 60;
    model::gCond = model::ProjectCondTbl{};
    model::gCond.SMode = steel ? model::kTrue : model::kFalse;
    model::gCond.UltJadge = model::kTrue;
    model::gCond.DesignRootX = 3;
    model::gColumns.redim(1);
    model::gKvBase.redim(1);
    model::gResults.redim(1);
    model::gCurCol = 1;
    model::gDispMode = 0;
    model::ColumnDataTbl col = model::MakeColumnDefault(1, true, 24);
    if (!steel) col = model::MakeColumnDefaultSrc(col, true);
    model::gColumns(1) = col;
    model::LoadKvBaseData(engine, col.KolvanID, col.AbNum, model::gKvBase(1));
    model::gColumns(1).KvV = model::gKvBase(1).KvV;
    for (int j = 0; j <= 2; ++j) model::gNMCurveShow(j) = j < states;
    if (states == 1) {
        model::gNMCurveShow(0) = false;
        model::gNMCurveShow(1) = true;
        model::gNMCurveShow(2) = false;
    }
    model::gNMCurveShow(3) = steel;
}

void Diagram(benchmark::State& state, bool steel, int states) {
    SetUp(steel, states);
    drawing::NMEngineKv kv(Engine());
    drawing::RecordingPicture pic;
    pic.setFontSize(11);
    drawing::clsPrintOut po;
    po.setprpMode(2);
    po.setprpPicture(&pic);
    for (auto _ : state) {
        pic.ops.clear();
        int16_t iCol = 1, dir = 999;
        drawing::DrawNMDiagram(kv, po, iCol, dir);
        benchmark::DoNotOptimize(pic.ops.data());
    }
    state.counters["primitives"] = static_cast<double>(pic.ops.size());
}

}  // namespace

BENCHMARK_CAPTURE(Diagram, steel_three_states, true, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Diagram, src_one_state, false, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Diagram, src_three_states, false, 3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
