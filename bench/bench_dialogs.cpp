// The column and base dialog on the sample catalogue: its opening on a box
// column (the whole load and its cascade of lists) and one size chosen in it
// (thickness list, model list, model; 200 and 300 both have a model of the
// column's series), one model choice and one pedestal size; the SRC column
// dialog's type change and ratio refresh; the shear dialog's load; the stress
// input dialog's opening.
#include "dialogs/dlgInput.h"
#include "dialogs/frmSRCInput.h"
#include "dialogs/frmSelectKV.h"
#include "dialogs/frmShear.h"
#include "model/base_data.h"
#include "engine/kv.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSettings>
#include <QSignalBlocker>
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

// One model choice: the model, its bolts and direction, the pedestal chain
// (lists, defaults, sizes, bar, arrangement) and both previews. KS300A and
// K35-2 both have arrangement rows in the sample.
void BM_SelectKvModelChoice(benchmark::State& state)
{
    SampleProgram program;
    frmSelectKV dialog;
    QComboBox* models = dialog.cmbKV;
    {
        const QSignalBlocker quiet(models);
        models->addItem("KS300A");
        models->addItem("K35-2");
    }
    const int a = models->count() - 2;
    bool toB = true;
    for (auto _ : state) {
        models->setCurrentIndex(toB ? a + 1 : a);
        toB = !toB;
        benchmark::DoNotOptimize(dialog.WorkColumn().cD(0));
    }
}
BENCHMARK(BM_SelectKvModelChoice)->Unit(benchmark::kMicrosecond);

// One pedestal size choice on the sample's default base (in rebar zone I,
// where its tables allow two sizes of the default bar): the arrangement check
// and both previews.
void BM_SelectKvPedestalSize(benchmark::State& state)
{
    SampleProgram program;
    model::gColumns(model::gCurCol).RebarZone.fill(1);
    frmSelectKV dialog;
    QComboBox* sizes = dialog.cmbLenA;
    if (sizes->count() < 2) {
        state.SkipWithError("the default base lists fewer than two pedestal sizes");
        return;
    }
    bool toB = true;
    for (auto _ : state) {
        sizes->setCurrentIndex(toB ? 1 : 0);
        toB = !toB;
        benchmark::DoNotOptimize(dialog.WorkColumn().cD(0));
    }
}
BENCHMARK(BM_SelectKvPedestalSize)->Unit(benchmark::kMicrosecond);

// The SRC column dialog on an SRC project of the sample: a type change (model
// list, model, figure) and one refresh of the ratios (refresh group R).
class SrcProgram : public SampleProgram {
public:
    SrcProgram()
    {
        model::gCond.SMode = model::kFalse;
        model::gCond.DesignRootX = model::gCond.DesignRootY = 3;
        model::gColumns(model::gCurCol) = model::gColumnDefaultSrc;
        model::LoadKvBaseData(model::gColumnDefaultSrc.KolvanID, model::gColumnDefaultSrc.AbNum,
                              model::gKvBase(model::gCurCol));
    }
};

void BM_SrcInputTypeChange(benchmark::State& state)
{
    SrcProgram program;
    frmSRCInput dialog;
    bool toT = true;
    for (auto _ : state) {
        dialog.optSrcKvType[toT ? 1 : 0]->setChecked(true);
        toT = !toT;
        benchmark::DoNotOptimize(dialog.WorkColumn().ColV);
    }
}
BENCHMARK(BM_SrcInputTypeChange)->Unit(benchmark::kMicrosecond);

void BM_SrcInputRefresh(benchmark::State& state)
{
    SrcProgram program;
    frmSRCInput dialog;
    for (auto _ : state) {
        dialog.RefreshGroupR();
        benchmark::DoNotOptimize(dialog.WorkColumn().RqN(0));
    }
}
BENCHMARK(BM_SrcInputRefresh)->Unit(benchmark::kMicrosecond);

// The shear dialog on the sample's first column (a series-4 base): its load
// (inputs, results, strength list, picture) and one method toggle.
void BM_ShearLoadAndToggle(benchmark::State& state)
{
    SampleProgram program;
    model::gShearDir = 0;
    model::gShearCase = 4;
    for (auto _ : state) {
        frmShear dialog;
        dialog.chkSlab->click();
        benchmark::DoNotOptimize(dialog.WorkResult().Qu(0, 4));
    }
}
BENCHMARK(BM_ShearLoadAndToggle)->Unit(benchmark::kMicrosecond);

// The stress input dialog's opening: its controls and editor, the grid with
// every block shown (seismic L/R, both modes by hand) and its 59 cells filled.
void BM_OpenStressInput(benchmark::State& state)
{
    SampleProgram program;
    if (!model::gzDLGetSys) model::gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
    model::gShortLoadKind = 0;
    model::gCond.SymmetryX = model::gCond.SymmetryY = model::kFalse;
    model::gCond.ShortCalcMode = 1;
    model::gCond.UltCalcMode = 1;
    for (auto _ : state) {
        dlgInput dialog;
        benchmark::DoNotOptimize(dialog.CellMap().Cells().size());
    }
}
BENCHMARK(BM_OpenStressInput)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
