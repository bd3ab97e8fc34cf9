// The N-M relation file of 1,000 columns on the sample catalogue: steel
// columns with the dialog's default choices (six divisions), and SRC columns
// with all five curves.
#include "engine/kv.h"
#include "exchange/nm_file.h"
#include "model/base_data.h"
#include "model/globals.h"
#include "model/project_commands.h"

#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <string>

namespace {

class Project {
public:
    Project(int columns, bool sMode)
    {
        using namespace model;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
        StartProgram(KV_SAMPLE_DIR, "");
        if (!sMode) {
            gCond.SMode = kFalse;
            gCond.DesignRootX = gCond.DesignRootY = 3;
            gColumns(1) = gColumnDefaultSrc;
            LoadKvBaseData(gColumns(1).KolvanID, gColumns(1).AbNum, gKvBase(1));
        }
        const ColumnDataTbl c = gColumns(1);
        const KvBaseTbl b = gKvBase(1);
        gCond.ColCount = static_cast<int16_t>(columns);
        gColumns.redim(columns);
        gKvBase.redim(columns);
        gResults.redim(columns);
        for (int i = 1; i <= columns; ++i) {
            gColumns(i) = c;
            gColumns(i).ColName = "C" + std::to_string(i);
            gKvBase(i) = b;
        }
    }
    ~Project() { model::gKv.reset(); }

private:
    QTemporaryDir settings_;
};

void Run(benchmark::State& state, bool sMode)
{
    Project project(1000, sMode);
    QTemporaryDir out;
    exchange::NMFileChoices c;
    c.lvwColumn.assign(1000, true);
    c.chkDrawNMMode = {true, true, false};
    c.chkDrawNMObj = sMode ? std::array<bool, 5>{} : std::array<bool, 5>{true, true, true, true, true};
    c.txtDevNum = "6";
    c.path = out.filePath("nm.csv").toStdString();
    for (auto _ : state) exchange::WriteNMFile(c);
    state.counters["columns/s"] = benchmark::Counter(1000.0 * static_cast<double>(state.iterations()),
                                                     benchmark::Counter::kIsRate);
}

void BM_NMFile1000SteelColumns(benchmark::State& state) { Run(state, true); }
void BM_NMFile1000SrcColumnsAllCurves(benchmark::State& state) { Run(state, false); }

BENCHMARK(BM_NMFile1000SteelColumns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NMFile1000SrcColumnsAllCurves)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
