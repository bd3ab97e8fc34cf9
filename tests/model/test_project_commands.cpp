#include "model/project_commands.h"

#include "tests/model/project_fixture.h"

#include "engine/kv.h"
#include "model/fendral.h"
#include "model/globals.h"
#include "model/project_file.h"
#include "model/rebar_handover.h"
#include "platform/text/vb.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace model;
using ui::Answer;
namespace fs = std::filesystem;

namespace {

using namespace modeltest;

TEST_F(ProjectCommandsTest, StartWithoutCommandLineGivesOneDefaultColumn)
{
    EXPECT_EQ(gCond, gCondDefault);
    EXPECT_EQ(gCond.ColCount, 1);
    EXPECT_EQ(gColumns.ubound(), 1);
    EXPECT_EQ(vb::Trim(gColumns(1).ColName.value()), "1C1");
    EXPECT_EQ(gCurCol, 1);
    EXPECT_EQ(gFendral.GetCount(), 1);
    EXPECT_EQ(gFileName, "untitled.kud");
}

TEST_F(ProjectCommandsTest, SaveAsThenOpenGivesTheSameProject)
{
    MakeColumns(3);
    gColumns(2).LoadTbl(1, 4) = 55;
    gCond.Bukken = "東棟";
    NormaliseRoute(gCond);  // as the window shows it
    const std::string path = SaveAs("p 1.kud");
    EXPECT_EQ(gFileName, "p 1.kud");
    EXPECT_EQ(gFileDir, dir.string() + "/");
    EXPECT_FALSE(gDataChanged);
    EXPECT_EQ(host.caption, "柱脚検討 -\"p 1.kud\"");
    EXPECT_EQ(fs::file_size(path), kProjectRecordSize + 3 * (kColumnRecordSize + kKvBaseRecordSize));
    EXPECT_TRUE(fs::exists(dir / "p 1.kud2"));  // the base-rebar list goes with it

    const ProjectCondTbl cond = gCond;
    const auto columns = gColumns;
    const auto bases = gKvBase;
    const clsFendral list = gFendral;
    gCond.ColCount = 1;
    gColumns.redim(1);

    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    u.files.push_back(path);
    cmds.msub_OpenProject();
    EXPECT_TRUE(u.messages.empty()) << u.messages[0].text;
    EXPECT_EQ(EncodeProjectRecord(gCond), EncodeProjectRecord(cond));
    EXPECT_EQ(gColumns.ubound(), 3);
    for (long i = 1; i <= 3; ++i) {
        EXPECT_EQ(gColumns(i), columns(i)) << i;
        EXPECT_EQ(gKvBase(i), bases(i)) << i;
    }
    ASSERT_EQ(gFendral.GetCount(), 3);
    for (int32_t i = 1; i <= 3; ++i) {
        FendralTbl a, b;
        gFendral.Get_Data(i, a, 1);
        list.Get_Data(i, b, 1);
        EXPECT_EQ(a, b) << i;
    }
    EXPECT_FALSE(cmds.mblnLoading);
    EXPECT_FALSE(gDataChanged);
    EXPECT_EQ(gDispMode, 0);
    EXPECT_GT(gResults(2).Mu(0, 4), 0);  // checked on the way in
}

TEST_F(ProjectCommandsTest, SaveOfAnUntitledProjectCancelled)
{
    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    gDataChanged = true;
    cmds.msub_SaveProject();
    ASSERT_EQ(u.fileRequests.size(), 1u);
    EXPECT_EQ(u.fileRequests[0].fileName, "untitled.kud");
    EXPECT_EQ(u.fileRequests[0].filter, "Kolvan検討ﾃﾞｰﾀﾌｧｲﾙ (*.kud)|*.kud");
    EXPECT_EQ(gFileName, "untitled.kud");
    EXPECT_TRUE(gDataChanged);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // settings only
}

TEST_F(ProjectCommandsTest, NewAfterYesAndCancelledSaveDoesNothing)
{
    MakeColumns(2);
    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    u.answers = {Answer::Yes};
    cmds.msub_NewProject();
    ASSERT_EQ(u.questions.size(), 1u);
    EXPECT_EQ(u.questions[0], kAskSave);
    EXPECT_FALSE(u.questionDefaults[0]);  // the first button, Yes
    EXPECT_EQ(gCond.ColCount, 2);
    EXPECT_TRUE(gDataChanged);
}

TEST_F(ProjectCommandsTest, OverwriteQuestionNoThenCancelKeepsEverything)
{
    WriteBytes(dir / "old.kud", "old");
    gFileDir = "/before/";
    gFileName = "before.kud";
    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    u.files = {PathOf("old.kud")};
    u.answers = {Answer::No};
    EXPECT_TRUE(cmds.msub_SaveProjectAs());
    ASSERT_EQ(u.questions.size(), 1u);
    EXPECT_EQ(u.questions[0], kAskOverwrite);
    EXPECT_EQ(u.questionDefaults[0], Answer::No);
    ASSERT_EQ(u.fileRequests.size(), 2u);
    EXPECT_EQ(u.fileRequests[0].initDir, "/before/");
    // The repeated dialog opens on the declined file: its name and its folder.
    EXPECT_EQ(u.fileRequests[1].fileName, "old.kud");
    EXPECT_EQ(u.fileRequests[1].initDir, dir.string() + "/");
    EXPECT_EQ(ReadBytes(dir / "old.kud"), "old");
    EXPECT_EQ(gFileDir, "/before/");
    EXPECT_EQ(gFileName, "before.kud");
}

TEST_F(ProjectCommandsTest, OverwriteCancelStopsTheAskingCommand)
{
    WriteBytes(dir / "old.kud", "old");
    MakeColumns(2);
    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    u.answers = {Answer::Yes, Answer::Cancel};
    u.files = {PathOf("old.kud")};
    cmds.msub_NewProject();
    EXPECT_EQ(ReadBytes(dir / "old.kud"), "old");
    EXPECT_EQ(gCond.ColCount, 2);

    u.answers = {Answer::Yes};
    u.files = {PathOf("old.kud")};
    EXPECT_FALSE(cmds.msub_SaveProjectAs());
    EXPECT_NE(ReadBytes(dir / "old.kud"), "old");
}

TEST_F(ProjectCommandsTest, SaveWritesDirectlyUnlessExactlyUntitled)
{
    gFileDir = dir.string() + "/";
    gFileName = "UNTITLED.KUD";
    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    cmds.msub_SaveProject();
    EXPECT_TRUE(u.fileRequests.empty());
    EXPECT_TRUE(fs::exists(dir / "UNTITLED.KUD"));
}

TEST_F(ProjectCommandsTest, NewBuildsTheModesTemplateAndAFreshList)
{
    MakeColumns(3);
    gDataChanged = false;
    gCondDefault.SMode = kFalse;
    cmds.msub_NewProject();
    EXPECT_EQ(gCond.ColCount, 1);
    EXPECT_EQ(gColumns(1), gColumnDefaultSrc);
    EXPECT_EQ(gCond.UltCalcMode, 1);
    EXPECT_EQ(gCond.DesignRootX, 3);
    EXPECT_EQ(gCond.DesignRootY, 3);
    EXPECT_EQ(gFendral.GetCount(), 1);
    EXPECT_EQ(gFileName, "untitled.kud");
    EXPECT_EQ(host.caption, "柱脚検討 -\"untitled.kud\"");
    EXPECT_FALSE(gDataChanged);
}

TEST_F(ProjectCommandsTest, OpenNormalisesTheRouteCodes)
{
    struct Case {
        int16_t sMode, x, y;
        int16_t code, ult;
    };
    const Case cases[] = {
        {kTrue, 12, 2, 12, 0}, {kTrue, 1, 1, 11, 1},  {kTrue, 22, 3, 2, 0},   {kTrue, 3, 2, 3, 1},
        {kFalse, 2, 2, 21, 0}, {kFalse, 1, 2, 1, 1},  {kFalse, 12, 12, 1, 1}, {kFalse, 3, 22, 3, 1},
    };
    for (const Case& c : cases) {
        gCond.SMode = c.sMode;
        gColumns(1) = c.sMode ? gColumnDefault : gColumnDefaultSrc;
        gCond.DesignRootX = c.x;
        gCond.DesignRootY = c.y;
        const std::string path = SaveAs("route.kud");
        ui::testing::ScriptedUi u;
        ui::testing::ScopedUi scope(u);
        u.files.push_back(path);
        cmds.msub_OpenProject();
        EXPECT_EQ(gCond.DesignRootX, c.code) << c.sMode << " " << c.x;
        EXPECT_EQ(gCond.DesignRootY, c.code) << c.sMode << " " << c.x;
        EXPECT_EQ(gCond.UltCalcMode, c.ult) << c.sMode << " " << c.x;
    }
}

TEST_F(ProjectCommandsTest, CancelledOpenLeavesTheLoadingFlagClear)
{
    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    cmds.msub_OpenProject();
    ASSERT_EQ(u.fileRequests.size(), 1u);
    EXPECT_FALSE(u.fileRequests[0].save);
    EXPECT_EQ(u.fileRequests[0].fileName, "");
    EXPECT_FALSE(cmds.mblnLoading);
}

TEST_F(ProjectCommandsTest, BadFileIsReportedAndNothingIsLost)
{
    MakeColumns(2);
    const std::string path = SaveAs("good.kud");
    const std::string good = ReadBytes(path);
    WriteBytes(dir / "cut.kud", good.substr(0, good.size() - 100));
    const ProjectCondTbl cond = gCond;
    const auto columns = gColumns;

    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    u.files.push_back(PathOf("cut.kud"));
    cmds.msub_OpenProject();
    ASSERT_EQ(u.messages.size(), 1u);
    EXPECT_EQ(u.messages[0].title, "データロード時のエラー");
    EXPECT_EQ(gCond, cond);
    EXPECT_EQ(gColumns(2), columns(2));
    EXPECT_EQ(gFileName, "good.kud");
    EXPECT_FALSE(cmds.mblnLoading);
}

TEST_F(ProjectCommandsTest, SaveFailureIsReportedAndTheNamesStay)
{
    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    u.files.push_back(PathOf("no such folder/p.kud"));
    gDataChanged = true;
    EXPECT_TRUE(cmds.msub_SaveProjectAs());
    ASSERT_EQ(u.messages.size(), 1u);
    EXPECT_EQ(gFileName, "untitled.kud");
    EXPECT_TRUE(gDataChanged);
}

// The project and its base-rebar list are saved as one: when either cannot be
// written, both old files stay as they were and no temporary file is left.
TEST_F(ProjectCommandsTest, SaveKeepsBothFilesWhenTheListCannotBeWritten)
{
    MakeColumns(2);
    const std::string path = SaveAs("p.kud");
    const std::string project = ReadBytes(path);
    gColumns(2).LoadTbl(1, 1) = 77;
    gCond.Version = "Version 5.01";
    gDataChanged = true;

    struct Case {
        const char* what;
        std::function<void()> spoil, mend;
        const char* named;
    };
    const fs::path list = dir / "p.kud2";
    const std::string listBytes = ReadBytes(list);
    const Case cases[] = {
        {"a folder where the list goes",
         [&] {
             fs::remove(list);
             fs::create_directory(list);
         },
         [&] {
             fs::remove(list);
             WriteBytes(list, listBytes);
         },
         "p.kud2"},
        {"a link that loops", [&] {
             fs::remove(list);
             fs::create_symlink("p.kud2", list);
         },
         [&] {
             fs::remove(list);
             WriteBytes(list, listBytes);
         },
         "p.kud2"},
    };
    for (const Case& c : cases) {
        c.spoil();
        ui::testing::ScriptedUi u;
        ui::testing::ScopedUi scope(u);
        cmds.msub_SaveProject();
        ASSERT_EQ(u.messages.size(), 1u) << c.what;
        EXPECT_EQ(u.messages[0].title, "データ保存時のエラー");
        EXPECT_NE(u.messages[0].text.find(c.named), std::string::npos) << u.messages[0].text;
        EXPECT_EQ(ReadBytes(path), project) << c.what;
        EXPECT_EQ(vb::Trim(gCond.Version.value()), "Version 5.01") << c.what;
        EXPECT_TRUE(gDataChanged) << c.what;
        c.mend();
        EXPECT_EQ(ReadBytes(list), listBytes) << c.what;
        for (const auto& e : fs::directory_iterator(dir))
            EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
    }

    // Mended, the same save writes both.
    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    cmds.msub_SaveProject();
    EXPECT_TRUE(u.messages.empty());
    EXPECT_NE(ReadBytes(path), project);
    EXPECT_FALSE(gDataChanged);
}

TEST_F(ProjectCommandsTest, ProjectNamedLikeItsOwnListIsRefused)
{
    for (const char* name : {"p.kud2", "q.KUD2x"}) {
        const bool same = std::string(name) == "p.kud2";
        gDataChanged = true;
        ui::testing::ScriptedUi u;
        ui::testing::ScopedUi scope(u);
        u.files.push_back(PathOf(name));
        EXPECT_EQ(cmds.msub_SaveProjectAs(), same) << name;
        EXPECT_EQ(u.messages.size(), same ? 1u : 0u) << name;
        if (same) {
            EXPECT_FALSE(fs::exists(dir / name));
            EXPECT_EQ(gFileName, "untitled.kud");
            EXPECT_TRUE(gDataChanged);
        } else {
            // Any other name has a companion of its own.
            EXPECT_TRUE(fs::exists(dir / name));
            EXPECT_TRUE(fs::exists(dir / "q.kud2"));
        }
    }
}

TEST_F(ProjectCommandsTest, ColumnListExportLeavesTheProjectAsItIs)
{
    MakeColumns(2);
    gColumns(2).RebarZone(0, 1) = 1;  // stale: the export works out its own
    gColumns(2).LoadTbl(1, 4) = 300;
    gFileName = "a.b.kud";
    gDataChanged = false;
    const auto columns = gColumns;
    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    u.files = {PathOf("list.csv")};
    cmds.msub_WriteColumnListCsv();
    ASSERT_EQ(u.fileRequests.size(), 1u);
    EXPECT_EQ(u.fileRequests[0].fileName, "a.csv");
    EXPECT_EQ(u.fileRequests[0].filter, "csvﾌｧｲﾙ (*.csv)|*.csv");
    const std::string csv = ReadBytes(dir / "list.csv");
    EXPECT_NE(csv.find("\r\n2,\"C2\",\"WP200-4\","), std::string::npos);
    for (long i = 1; i <= 2; ++i) EXPECT_EQ(gColumns(i), columns(i)) << i;
    EXPECT_FALSE(gDataChanged);
    EXPECT_EQ(gFileName, "a.b.kud");

    // An existing file: No asks again from the default name, Cancel writes nothing.
    u.files = {PathOf("list.csv"), PathOf("list.csv")};
    u.answers = {Answer::No, Answer::Cancel};
    u.fileRequests.clear();
    WriteBytes(dir / "list.csv", "keep");
    cmds.msub_WriteColumnListCsv();
    EXPECT_EQ(u.questions.size(), 2u);
    EXPECT_EQ(u.questionDefaults.back(), Answer::No);
    ASSERT_EQ(u.fileRequests.size(), 2u);
    EXPECT_EQ(u.fileRequests[1].fileName, "a.csv");
    EXPECT_EQ(ReadBytes(dir / "list.csv"), "keep");
}

// Files of earlier versions: the writer's bytes with another version text.
class LoadFinishing : public ProjectCommandsTest {
protected:
    std::string SaveWithVersion(const char* name, const char* version)
    {
        const std::string path = SaveAs(name);
        std::string b = ReadBytes(path);
        std::string v(version);
        v.resize(50, ' ');
        b.replace(72, 50, v);
        WriteBytes(path, b);
        return path;
    }
    void Open(const std::string& path, std::deque<Answer> answers = {})
    {
        ui::testing::ScriptedUi u;
        ui::testing::ScopedUi scope(u);
        u.files.push_back(path);
        u.answers = std::move(answers);
        cmds.msub_OpenProject();
        questions = u.questions;
        messages = u.messages.size();
    }
    std::vector<std::string> questions;
    std::size_t messages = 0;
};

TEST_F(LoadFinishing, BeforeVersion505TheCompanionIsIgnoredButKept)
{
    MakeColumns(2);
    const std::string path = SaveWithVersion("v504.kud", "Version 5.04");
    FendralTbl rec;
    gFendral.Get_Data(1, rec, 1);
    rec.Text1 = "edited";
    gFendral.Set_Data(1, rec, 1);
    gFendral.Data_Write(dir.string() + "/", "", "v504.kud2");
    const std::string companion = ReadBytes(dir / "v504.kud2");

    Open(path);
    EXPECT_EQ(ReadBytes(dir / "v504.kud2"), companion);
    gFendral.Get_Data(1, rec, 1);
    EXPECT_NE(rec.Text1, "edited");
    EXPECT_EQ(gFendral.GetCount(), 2);
}

TEST_F(LoadFinishing, BracingTableClearedBefore506InSteelProjectsOnly)
{
    struct Case {
        const char* version;
        int16_t sMode;
        bool cleared;
    };
    for (const Case& c : {Case{"Version 5.05", kTrue, true}, Case{"Version 5.06", kTrue, false},
                          Case{"Version 5.05", kFalse, false}}) {
        gCond.SMode = c.sMode;
        gColumns(1) = c.sMode ? gColumnDefault : gColumnDefaultSrc;
        gColumns(1).LoadTblBR(2, 3) = 4;
        gCond.BrBeta1 = 0.5;
        gCond.BrBeta2 = 0.25;
        Open(SaveWithVersion("br.kud", c.version));
        EXPECT_EQ(gColumns(1).LoadTblBR(2, 3), c.cleared ? 0 : 4) << c.version << c.sMode;
        EXPECT_EQ(gCond.BrBeta1, c.cleared ? 1.0 : 0.5) << c.version << c.sMode;
        EXPECT_EQ(gCond.BrBeta2, c.cleared ? 1.0 : 0.25) << c.version << c.sMode;
    }
}

TEST_F(LoadFinishing, SeriesGradeQuestionChangesGradeAndStrength)
{
    MakeColumns(3);
    for (long i = 1; i <= 3; ++i) {
        gColumns(i).ColMatCode = 2;
        gColumns(i).ColF = 3.3;
        gColumns(i).ColName = "K" + std::to_string(i);
    }
    ASSERT_EQ(gColumns(1).KvV, 4);
    Open(SaveAs("grade.kud"), {Answer::Yes, Answer::No, Answer::Yes});
    ASSERT_EQ(questions.size(), 3u);
    EXPECT_EQ(questions[1],
              "コルヴァン・ルモシリーズはF値325N/mm2の柱に適用できません。\r　　           　(柱名称 : K2)\r\r"
              "　柱材質を変更しますか？BCP325 ⇒ BCP235");
    EXPECT_EQ(gColumns(1).ColMatCode, 1);
    EXPECT_EQ(gColumns(1).ColF, 2.4);
    EXPECT_EQ(gColumns(2).ColMatCode, 2);
    EXPECT_EQ(gColumns(2).ColF, 3.3);
    EXPECT_EQ(gColumns(3).ColMatCode, 1);
    // Open clears the flag after the load, as the command does.
    EXPECT_FALSE(gDataChanged);
}

TEST_F(ProjectCommandsTest, CommandLineProjectAndAnUnreadableOne)
{
    MakeColumns(2);
    const std::string path = SaveAs("cli.kud");
    gKv.reset();
    StartProgram(KV_SAMPLE_DIR, "\"" + path + "\"");
    EXPECT_EQ(gCond.ColCount, 2);
    EXPECT_EQ(gFileName, "cli.kud");
    EXPECT_EQ(gFendral.GetCount(), 2);

    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    gKv.reset();
    StartProgram(KV_SAMPLE_DIR, PathOf("missing.kud"));
    EXPECT_EQ(u.messages.size(), 1u);
    EXPECT_EQ(gCond.ColCount, 1);
    EXPECT_EQ(gFendral.GetCount(), 1);
}

}  // namespace
