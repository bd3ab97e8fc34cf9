// The program started headless on the import test catalogue (the sample, the
// test-only rows and the import's own rows) in a settings folder of its own,
// with a scripted user interface, and helpers that write import files.
#pragma once

#include "engine/kv.h"
#include "exchange/import_file.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/startup.h"
#include "platform/store/store.h"
#include "platform/text/cp932.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QSettings>
#include <QString>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace importtest {

using namespace model;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

inline int32_t IdOf(const std::string& name)
{
    auto db = store::Database::open(KV_IMPORT_CATALOGUE, ";pwd=qmv41");
    auto rs = db.openRecordset("SELECT 柱脚.ID FROM 柱脚 WHERE ((柱脚.形式名)=" + store::Quote(name) + ")");
    if (rs.eof()) throw std::runtime_error("no model " + name + " in the import catalogue");
    return static_cast<int32_t>(rs.integer(0));
}

// Lines in code page 932, each ended by CR LF.
inline std::string Cp932Text(const Lines& lines)
{
    std::string out;
    for (const std::string& l : lines) out += text::ToCp932(l) + "\r\n";
    return out;
}

// The base choice as a test scripts it: the columns it was asked for and the
// answers it gives (none left: skip).
struct ScriptedChooser {
    std::vector<int32_t> asked;
    std::deque<std::pair<int32_t, int16_t>> picks;
    exchange::ImportBaseChooser hook()
    {
        return [this](int32_t n) {
            asked.push_back(n);
            std::pair<int32_t, int16_t> p{0, 0};
            if (!picks.empty()) {
                p = picks.front();
                picks.pop_front();
            }
            gColumns(n).KolvanID = p.first;
            gColumns(n).AbNum = p.second;
        };
    }
};

// The base choice answered for every column asked with `model`, variant 1.
inline exchange::ImportBaseChooser Choosing(const std::string& model)
{
    return [id = IdOf(model)](int32_t n) {
        gColumns(n).KolvanID = id;
        gColumns(n).AbNum = 1;
    };
}

// A header with one X axis and `ny` Y axes named 1..ny, for small files.
inline Lines Axes(int ny = 1)
{
    Lines l{"AXIS,1," + std::to_string(ny), "BPANX,A"};
    std::string y = "BPANY";
    for (int i = 1; i <= ny; ++i) y += "," + std::to_string(i);
    l.push_back(y);
    return l;
}

// A file of one 300 x 300 column on KS300A-30, `after` following the
// model's line.
inline Lines ColumnOnKs300A(const Lines& after)
{
    Lines l = Axes();
    l.insert(l.end(), {"CAXIS,1,1", "MCON,24", "MCST,BCR295,295,0", "CSIZE,B,300,300,12,12,0", "KVNAME,KS300A-30"});
    l.insert(l.end(), after.begin(), after.end());
    return l;
}

// Starts the program in a settings folder of its own under `dir` (made
// anew), on the import catalogue: the sample's rows and those of the test
// files, shown in SI units.
inline void StartOnImportCatalogue(const fs::path& dir)
{
    fs::remove_all(dir);
    fs::create_directories(dir / "settings");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((dir / "settings").string()));
    {
        const fs::path catalogue(KV_IMPORT_CATALOGUE);
        QSettings s = AppSettings();
        s.beginGroup(QString::fromLatin1(kSettingsGroup));
        s.setValue("DataFilePath", QString::fromStdString(catalogue.parent_path().string()));
        s.setValue("DataFileName", QString::fromStdString("\\" + catalogue.filename().string()));
        s.setValue("DispSIFlag", "True");
    }
    StartProgram(KV_SAMPLE_DIR, "");
}

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("kv import " + std::to_string(::getpid()));
        scope_ = std::make_unique<ui::testing::ScopedUi>(script);
        StartOnImportCatalogue(dir);
        gShortLoadKind = 0;
        gDispMode = 0;
        gDataChanged = false;
    }
    void TearDown() override
    {
        scope_.reset();
        gKv.reset();
        gShortLoadKind = 0;
        fs::remove_all(dir);
    }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return (dir / name).string();
    }
    std::string Write(const std::string& name, const Lines& lines) { return Write(name, Cp932Text(lines)); }

    // The parser alone on a file, read and decoded as the command reads it.
    void Parse(const std::string& name, const Lines& lines, ScriptedChooser* chooser = nullptr)
    {
        const std::string path = Write(name, lines);
        const Lines decoded = exchange::DecodeImportLines(exchange::ReadImportBytes(path));
        exchange::ImportColumnBaseLines(decoded, dir.string() + "/", name,
                                        chooser ? chooser->hook() : exchange::ImportBaseChooser());
    }

    fs::path dir;
    ui::testing::ScriptedUi script;

private:
    std::unique_ptr<ui::testing::ScopedUi> scope_;
};

// The two-column file with most keywords: SI units, the first block ends
// with BRUYR followed by two empty lines.
inline Lines TwoColumnFile()
{
    return {
        "APP,1.2,構造計算X",
        "TITLE,テスト物件",
        "NAME,設計 一郎",
        "DATE,2010.4.1",
        "UNIT,1",
        "AXIS,2,3",
        "BPANX,X1,X2",
        "BPANY,Y1,Y2,Y3",
        "ROOT,1-2,3",
        "BPGAM,2.5,1.5",
        "BRBET,0.8,0.9",
        "LS,1,0.7,0.35",
        "LW,2,3",
        "CAXIS,2,3",
        "CNAME,C1",
        "MCON,24",
        "MCST,BCR295,295,0",
        "CSIZE,B,300,300,12,12,0",
        "KVNAME,KS300A-30",
        "CENTER,0,-1",
        "FLEN,800",
        "BPLL,98.0665,19.6133,9.80665,29.41995,4.903325",
        "BPLX,9.80665,0,0,0,0",
        "BPEXL,1,2,3,4,5",
        "BPEXR,6,7,8,9,10",
        "BPEYL,11,12,13,14,15",
        "BPEYR,16,17,18,19,20",
        "BPWXL,1,1,1,1,1",
        "BPWXR,2,2,2,2,2",
        "BPWYL,3,3,3,3,3",
        "BPWYR,4,4,4,4,4",
        "BPLS,5,5,5,5,5",
        "BPUXL,21,22,23,24,25",
        "BPUXR,26,27,28,29,30",
        "BPUYL,31,32,33,34,35",
        "BPUYR,36,37,38,39,40",
        "BRLL,9.80665,0,0,0,0",
        "BRUYR,1,2,3,4,5",
        "",
        "",
        "CAXIS,1,1",
        "CNAME,C2",
        "MCST,BCR295,295,0",
        "CSIZE,B,250,250,9,9,0",
        "BPNAME,QX250A-27",
        "BPLX,98.0665,0,0,0,0",
        "BPSX,9.80665,0,0,0,0",
        "BPSY,19.6133,0,0,0,0",
        "BRUYR,9.80665,0,0,0,0",
    };
}

}  // namespace importtest
