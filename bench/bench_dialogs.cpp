// The column and base dialog on the sample catalogue: its opening on a box
// column (the whole load and its cascade of lists) and one size chosen in it
// (thickness list, model list, model; 200 and 300 both have a model of the
// column's series).
#include "dialogs/frmSelectKV.h"
#include "engine/kv.h"
#include "model/globals.h"
#include "model/project_commands.h"

#include <QComboBox>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "bench/qt_benchmark_main.h"

namespace {

// The program started on the sample, its first column a BCR 200 x 9 box
// column on a series-4 base.
class SampleProgram {
public:
    SampleProgram()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
        model::StartProgram(KV_SAMPLE_DIR, "");
    }
    ~SampleProgram() { model::gKv.reset(); }

private:
    QTemporaryDir settings_;
};

void BM_OpenSelectKv(benchmark::State& state)
{
    SampleProgram program;
    for (auto _ : state) {
        frmSelectKV dialog;
        benchmark::DoNotOptimize(dialog.WorkBase().ID);
    }
}
BENCHMARK(BM_OpenSelectKv)->Unit(benchmark::kMillisecond);

void BM_SelectKvSizeChange(benchmark::State& state)
{
    SampleProgram program;
    frmSelectKV dialog;
    QComboBox* sizes = dialog.cmbColSize;
    const int a = sizes->findText("200");
    const int b = sizes->findText("300");
    bool toB = true;
    for (auto _ : state) {
        sizes->setCurrentIndex(toB ? b : a);
        toB = !toB;
        benchmark::DoNotOptimize(dialog.WorkColumn().KolvanID);
    }
}
BENCHMARK(BM_SelectKvSizeChange)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
