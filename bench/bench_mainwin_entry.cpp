// One stress committed in the main window's table: from the editor's
// Validate to the refilled stress and result rows, on the sample catalogue.
#include "engine/kv.h"
#include "mainwin/frmMain.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "bench/qt_benchmark_main.h"

#include <memory>

namespace {

void BM_CommitLongTermMoment(benchmark::State& state)
{
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    model::StartProgram(KV_SAMPLE_DIR, "");
    if (!model::gzDLGetSys) model::gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
    frmMain w;
    w.setIndexArray();
    w.msub_SetUpTable();
    w.msub_SelectColumn(true);
    double value = 1;
    for (auto _ : state) {
        value = value >= 50 ? 1 : value + 1;  // a new value every time
        w.mobjFlexInput1_Validate(5, 2, QVariant(value), true);
        benchmark::DoNotOptimize(model::gResults(model::gCurCol).Mu(0, 1));
    }
    model::gKv.reset();
}
BENCHMARK(BM_CommitLongTermMoment)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
