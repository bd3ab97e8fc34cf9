// Showing a whole project in the main window: 1,000 S columns of eight
// models, displayed directly and opened from a file through the project
// commands with the window as their host.
#include "bench/mixed_project.h"
#include "engine/kv.h"
#include "mainwin/frmMain.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/rebar_handover.h"
#include "platform/ui/ui.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QApplication>
#include <QComboBox>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "bench/qt_benchmark_main.h"

#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int kColumns = 1000;

// Chooses the one project file and says nothing.
class OpenOneFile final : public ui::UserInterface {
public:
    std::string path;
    void message(const std::string&, const std::string&, ui::MessageKind) override {}
    ui::Answer question(const std::string&, const std::string&, ui::Buttons, std::optional<ui::Answer>) override
    {
        return ui::Answer::No;
    }
    std::optional<std::string> chooseFile(const ui::FileRequest&) override { return path; }
};

struct Window {
    QTemporaryDir folder;
    std::unique_ptr<frmMain> w;
    Window()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
        model::StartProgram(KV_SAMPLE_DIR, "");
        if (!model::gzDLGetSys) model::gzDLGetSys = std::make_shared<zDLGetSys_Vendra>();
        w = std::make_unique<frmMain>();
        w->setIndexArray();
        w->msub_SetUpTable();
        benchdata::MakeMixedProject(kColumns);
        model::RebuildColumnRebar();
    }
    ~Window()
    {
        w.reset();
        model::gKv.reset();
    }
};

void BM_ShowProject1000(benchmark::State& state)
{
    Window win;
    for (auto _ : state) {
        win.w->msub_ShowProject();
        benchmark::DoNotOptimize(model::gResults(kColumns).Mu(0, 1));
    }
}
BENCHMARK(BM_ShowProject1000)->Unit(benchmark::kMillisecond);

void BM_OpenProject1000(benchmark::State& state)
{
    Window win;
    model::gFileDir = win.folder.path().toStdString() + "/";
    model::gFileName = "mixed.kud";
    model::WriteProjectFile();
    OpenOneFile ui;
    ui.path = model::gFileDir + model::gFileName;
    ui::SetCurrent(&ui);
    model::ProjectCommands commands(*win.w);
    for (auto _ : state) {
        model::gDataChanged = false;
        commands.msub_OpenProject();
        benchmark::DoNotOptimize(model::gResults(kColumns).Mu(0, 1));
    }
    ui::SetCurrent(nullptr);
}
BENCHMARK(BM_OpenProject1000)->Unit(benchmark::kMillisecond);

// Choosing a route: the route's gamma and mode, then the whole project shown.
void BM_ChooseRoute1000(benchmark::State& state)
{
    Window win;
    win.w->msub_ShowProject();
    int entry = 1;
    for (auto _ : state) {
        entry = entry == 1 ? 2 : 1;  // ルート 1-2 and ルート 2 in turn
        win.w->cmbDRoot->setCurrentIndex(entry);
        benchmark::DoNotOptimize(model::gResults(kColumns).Mu(0, 1));
    }
}
BENCHMARK(BM_ChooseRoute1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
