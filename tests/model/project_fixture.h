// The program started headless in a folder of its own, with the commands of
// the main window and a host that records what they ask of the window.
#pragma once

#include "engine/kv.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/rebar_handover.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace modeltest {

using namespace model;
using ui::Answer;
namespace fs = std::filesystem;

const char* const kAskSave = "データが変更されています。\r\n      保存しますか？";
const char* const kAskOverwrite = "同名のファイルが存在します。\r\n     上書きしますか？";

inline std::string ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const fs::path& p, const std::string& b) { std::ofstream(p, std::ios::binary) << b; }

// Records what the commands ask of the window.
class RecordingHost : public MainWindowHost {
public:
    std::string caption;
    std::vector<int16_t> routes;
    int shown = 0;
    void setCaption(const std::string& c) override { caption = c; }
    void showRoute(int16_t e) override { routes.push_back(e); }
    void showProject() override { ++shown; }
};

class ProjectCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("kv cmd " + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString((dir / "settings").string()));
        StartProgram(KV_SAMPLE_DIR, "");
    }
    void TearDown() override
    {
        gKv.reset();
        fs::remove_all(dir);
    }
    std::string PathOf(const char* name) const { return (dir / name).string(); }

    // Adds columns to the default project so that files have some bulk.
    void MakeColumns(int n)
    {
        gCond.ColCount = static_cast<int16_t>(n);
        gColumns.redimPreserve(n);
        gKvBase.redimPreserve(n);
        gResults.redimPreserve(n);
        for (int i = 2; i <= n; ++i) {
            gColumns(i) = gColumns(1);
            gColumns(i).ColName = "C" + std::to_string(i);
            gKvBase(i) = gKvBase(1);
            AddColumnRebar(gColumns(i), gKvBase(i));
        }
        gDataChanged = true;
    }

    // Saves the project as `name` and returns its path.
    std::string SaveAs(const char* name)
    {
        ui::testing::ScriptedUi u;
        ui::testing::ScopedUi scope(u);
        u.files.push_back(PathOf(name));
        u.answers = {Answer::Yes};  // overwrite
        EXPECT_FALSE(cmds.msub_SaveProjectAs());
        return PathOf(name);
    }

    // Opens through the command; the messages it showed.
    std::vector<std::string> Open(const std::string& path)
    {
        ui::testing::ScriptedUi u;
        ui::testing::ScopedUi scope(u);
        u.files.push_back(path);
        cmds.msub_OpenProject();
        std::vector<std::string> texts;
        for (const auto& m : u.messages) texts.push_back(m.text);
        return texts;
    }

    fs::path dir;
    RecordingHost host;
    ProjectCommands cmds{host};
};

}  // namespace modeltest
