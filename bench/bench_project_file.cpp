// A project of 1,000 columns: its file bytes both ways, and opening (read,
// finish, check every column twice) and saving it as the commands do.
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/project_file.h"
#include "model/rebar_handover.h"
#include "mixed_project.h"

#include <QSettings>
#include <QString>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {

using namespace model;
namespace fs = std::filesystem;

constexpr int kColumns = 1000;

fs::path Folder()
{
    static const fs::path dir = [] {
        const fs::path d = fs::temp_directory_path() / ("kv_bench_" + std::to_string(::getpid()));
        fs::create_directories(d / "settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString((d / "settings").string()));
        return d;
    }();
    return dir;
}

void MakeProject()
{
    if (gKv && gCond.ColCount == kColumns) return;
    StartProgram(KV_SAMPLE_DIR, "");
    gCond.ColCount = kColumns;
    gColumns.redimPreserve(kColumns);
    gKvBase.redimPreserve(kColumns);
    gResults.redimPreserve(kColumns);
    for (int i = 2; i <= kColumns; ++i) {
        gColumns(i) = gColumns(1);
        gColumns(i).ColName = "C" + std::to_string(i);
        for (long k = 1; k <= 8; ++k) gColumns(i).LoadTbl(1, k) = 10 + i % 23 + k;
        gKvBase(i) = gKvBase(1);
    }
    RebuildColumnRebar();
    gFileDir = Folder().string() + "/";
    gFileName = "bench.kud";
}

void BM_EncodeDecode(benchmark::State& state)
{
    MakeProject();
    for (auto _ : state) {
        const std::string bytes = EncodeProjectFile(gCond, gColumns, gKvBase);
        ProjectFileData d = ReadProjectBytes(bytes, 0, *gKv);
        benchmark::DoNotOptimize(d.columns(kColumns).LoadTbl(1, 1));
    }
}
BENCHMARK(BM_EncodeDecode)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state)
{
    MakeProject();
    for (auto _ : state) WriteProjectFile();
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_Open(benchmark::State& state)
{
    MakeProject();
    WriteProjectFile();
    for (auto _ : state) {
        std::string dir = gFileDir;
        std::string name = gFileName;
        LoadProjectFile(dir, name);
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

// Opening a project of 1,000 S columns of eight models with catalogue widths.
void BM_OpenMixed(benchmark::State& state)
{
    MakeProject();
    benchdata::MakeMixedProject(kColumns);
    RebuildColumnRebar();
    gFileDir = Folder().string() + "/";
    gFileName = "mixed.kud";
    WriteProjectFile();
    for (auto _ : state) {
        std::string dir = gFileDir;
        std::string name = gFileName;
        LoadProjectFile(dir, name);
    }
}
BENCHMARK(BM_OpenMixed)->Unit(benchmark::kMillisecond);

}  // namespace
