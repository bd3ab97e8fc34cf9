// Import of a generated 1,000-column analysis file on the sample catalogue:
// decoding and parsing alone, and the whole headless command (parse, checks,
// rebar zones twice, base-rebar list).
#include "exchange/import_command.h"
#include "exchange/import_file.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "platform/text/cp932.h"
#include "platform/ui/ui.h"

#include <QSettings>
#include <QString>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using namespace model;
namespace fs = std::filesystem;

constexpr int kColumns = 1000;

// Answers everything with the file the benchmark wrote.
class BenchUi final : public ui::UserInterface {
public:
    std::string file;
    void message(const std::string& text, const std::string&, ui::MessageKind) override { last = text; }
    ui::Answer question(const std::string&, const std::string&, ui::Buttons, std::optional<ui::Answer>) override
    {
        return ui::Answer::No;
    }
    std::optional<std::string> chooseFile(const ui::FileRequest&) override { return file; }
    std::string last;
};

fs::path Folder()
{
    static const fs::path dir = [] {
        const fs::path d = fs::temp_directory_path() / ("kv_bench_import_" + std::to_string(::getpid()));
        fs::create_directories(d / "settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString((d / "settings").string()));
        return d;
    }();
    return dir;
}

// Every load line for each column; models of the sample catalogue in turn.
std::string MakeFile()
{
    const char* const blocks[][3] = {
        {"MCST,BCR295,295,0", "CSIZE,B,300,300,12,12,0", "KVNAME,KS300A-30"},
        {"MCST,BCR295,295,0", "CSIZE,B,250,250,9,9,0", "BPNAME,QX250A-27"},
        {"MCST,SS400,235,0", "CSIZE,HX,400,200,8,13,0", "BPNAME,H400-1-24"},
        {"MCST,STKR400,235,0", "CSIZE,B,200,200,9,9,0", "BPNAME,WP200-4"},
    };
    const char* const loads[] = {"BPLL", "BPLX", "BPLY", "BPEXL", "BPEXR", "BPEYL", "BPEYR", "BPWXL", "BPWXR",
                                 "BPWYL", "BPWYR", "BPLS", "BPSX", "BPSY", "BPUXL", "BPUXR", "BPUYL", "BPUYR"};
    std::string text = "APP,1.0,解析プログラム\r\nTITLE,ベンチマーク物件\r\nUNIT,1\r\nAXIS,40,25\r\nBPANX";
    for (int i = 1; i <= 40; ++i) text += ",X" + std::to_string(i);
    text += "\r\nBPANY";
    for (int i = 1; i <= 25; ++i) text += ",Y" + std::to_string(i);
    text += "\r\nROOT,3,3\r\n";
    for (int c = 0; c < kColumns; ++c) {
        const auto& b = blocks[c % 4];
        text += "CAXIS," + std::to_string(c % 40 + 1) + "," + std::to_string(c / 40 + 1) + "\r\n";
        text += "CNAME,柱" + std::to_string(c + 1) + "\r\nMCON,24\r\n";
        text += std::string(b[0]) + "\r\n" + b[1] + "\r\n" + b[2] + "\r\nCENTER,0,-1\r\n";
        for (const char* l : loads) {
            const double n = 500 + c % 37;
            text += std::string(l) + "," + std::to_string(n) + "," + std::to_string(n / 5) + ",80,120,60\r\n";
        }
        text += "BRUYR,100,20,10,30,15\r\n";
    }
    return text::ToCp932(text);
}

const std::string& FilePath()
{
    static const std::string path = [] {
        const std::string p = (Folder() / "bench_import.txt").string();
        std::ofstream(p, std::ios::binary) << MakeFile();
        return p;
    }();
    return path;
}

void Start()
{
    Folder();
    if (!gKv) StartProgram(KV_SAMPLE_DIR, "");
}

void BM_ParseFile(benchmark::State& state)
{
    Start();
    const std::string path = FilePath();
    for (auto _ : state) {
        const auto lines = exchange::DecodeImportLines(exchange::ReadImportBytes(path));
        exchange::ImportColumnBaseLines(lines, Folder().string() + "/", "bench_import.txt", {});
        if (gCond.ColCount != kColumns) state.SkipWithError("columns were dropped");
    }
}
BENCHMARK(BM_ParseFile)->Unit(benchmark::kMillisecond);

void BM_ImportCommand(benchmark::State& state)
{
    Start();
    BenchUi u;
    u.file = FilePath();
    ui::SetCurrent(&u);
    MainWindowHost host;
    ProjectCommands commands(host);
    exchange::ImportCommand command(host, commands);
    for (auto _ : state) {
        gDataChanged = false;
        command.msub_ImportAnalysisFile();
        if (gCond.ColCount != kColumns || !u.last.empty()) state.SkipWithError(("import failed: " + u.last).c_str());
    }
    ui::SetCurrent(nullptr);
}
BENCHMARK(BM_ImportCommand)->Unit(benchmark::kMillisecond);

}  // namespace
