// The hand-over with a stand-in rebar-setting program (fake_fendral).
#include "model/rebar_handover.h"
#include "model/catalogue.h"

#include "model/globals.h"
#include "model/rebar_zone.h"
#include "rebar_fixture.h"
#include "tests/platform/ui/scripted_ui.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace model;
using model::testing::RebarProject;
using model::testing::TempFolder;
using ui::testing::ScopedUi;
using ui::testing::ScriptedUi;
namespace fs = std::filesystem;

namespace {

class FendralTool : public RebarProject {
protected:
    void SetUp() override
    {
        RebarProject::SetUp();
        // The program folder has a blank in its name; the temporary folder is
        // the test's own.
        programDir = program.dir();
        fs::copy_file(FAKE_FENDRAL, programDir + "Fendral");
        savedTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
        hadTmp = std::getenv("TMPDIR") != nullptr;
        setenv("TMPDIR", temp.dir().c_str(), 1);
        setenv("FAKE_FENDRAL_LOG", (temp.dir() + "args.log").c_str(), 1);
        setenv("FAKE_FENDRAL_SLEEP_MS", "700", 1);
        RebuildColumnRebar();
        before = gFendral;
    }
    void TearDown() override
    {
        unsetenv("FAKE_FENDRAL_MODE");
        unsetenv("FAKE_FENDRAL_LOG");
        unsetenv("FAKE_FENDRAL_SLEEP_MS");
        if (hadTmp)
            setenv("TMPDIR", savedTmp.c_str(), 1);
        else
            unsetenv("TMPDIR");
        RebarProject::TearDown();
    }
    FendralToolResult Run(const char* mode)
    {
        setenv("FAKE_FENDRAL_MODE", mode, 1);
        return RunFendralTool(programDir, shell);
    }
    std::vector<std::string> Args() const
    {
        std::vector<std::string> a;
        std::ifstream in(temp.dir() + "args.log");
        for (std::string l; std::getline(in, l);) a.push_back(l);
        return a;
    }

    TempFolder program{"program dir"};
    TempFolder temp{"tmp"};
    std::string programDir, savedTmp;
    bool hadTmp = false;
    zDLShell shell;
    ScriptedUi u;
    ScopedUi scope{u};
    clsFendral before;
};

TEST_F(FendralTool, NormalRoundTrip)
{
    ASSERT_EQ(Run("normal"), FendralToolResult::Updated);
    EXPECT_TRUE(u.messages.empty());
    EXPECT_EQ(u.waits, 1);
    EXPECT_EQ(ListNames(), "C1#1 C2#2 C3#3 ");
    for (int32_t i = 1; i <= 3; ++i) {
        FendralTbl r, old;
        gFendral.Get_Data(i, r, 1);
        before.Get_Data(i, old, 1);
        EXPECT_EQ(r.Text1, "set");
        EXPECT_EQ(r.Blocks(1).Name, "B1");
        EXPECT_EQ(r.Blocks(1).Values(6), 6);
        r.Text1 = old.Text1;
        r.Blocks(1) = old.Blocks(1);
        EXPECT_EQ(r, old) << i;  // nothing else changed on the way
    }
    // One argument: "/" and the transfer file in the per-user temporary folder.
    const std::string folder = FendralTempFolder();
    EXPECT_EQ(folder.rfind(temp.dir(), 0), 0u);
    EXPECT_EQ(Args(), (std::vector<std::string>{"/" + folder + "RebarSetting.txt"}));
    EXPECT_EQ(gRebarSetting.TempPath, folder);
    EXPECT_EQ(gRebarSetting.TempFile, "RebarTemp.Tmp");
    EXPECT_EQ(gRebarSetting.DbPath, CatalogueFile());
    EXPECT_FALSE(fs::exists(programDir + "RebarSetting.txt"));  // the program folder is left alone
}

TEST_F(FendralTool, DeletedExchangeFileKeepsTheList)
{
    EXPECT_EQ(Run("delete"), FendralToolResult::Kept);
    EXPECT_EQ(gFendral, before);
    EXPECT_EQ(u.messages.size(), 1u);
}

TEST_F(FendralTool, FewerRecordsAreMadeUpFromTheColumns)
{
    EXPECT_EQ(Run("fewer"), FendralToolResult::Updated);
    EXPECT_EQ(gFendral.GetCount(), 3);
    FendralTbl r;
    gFendral.Get_Data(2, r, 1);
    EXPECT_EQ(r.Text1, "set");
    gFendral.Get_Data(3, r, 1);
    EXPECT_EQ(r.Text1, "");
    EXPECT_EQ(r.ColName, "C3");
    EXPECT_EQ(r.ID, 3);  // the highest ID read back was 2
    EXPECT_EQ(u.messages.size(), 1u);
}

TEST_F(FendralTool, FailingProgramLeavesTheListAsItWas)
{
    // The list is read back from the untouched exchange file.
    EXPECT_EQ(Run("fail"), FendralToolResult::Updated);
    EXPECT_EQ(gFendral.prpReadVersion(), "1.04");
    ASSERT_EQ(gFendral.GetCount(), before.GetCount());
    EXPECT_EQ(gFendral.MaxID(), before.MaxID());
    for (int32_t i = 1; i <= before.GetCount(); ++i) {
        FendralTbl a, b;
        gFendral.Get_Data(i, a, 1);
        before.Get_Data(i, b, 1);
        EXPECT_EQ(a, b) << i;
    }
}

TEST_F(FendralTool, SlowProgramIsWaitedFor)
{
    EXPECT_EQ(Run("slow"), FendralToolResult::Updated);
    EXPECT_EQ(u.waits, 1);
    EXPECT_GT(u.polls, 1);  // polled while it ran, not once at the end
    FendralTbl r;
    gFendral.Get_Data(1, r, 1);
    EXPECT_EQ(r.Text1, "set");
}

TEST_F(FendralTool, StartFailure)
{
    fs::permissions(programDir + "Fendral", fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace);
    EXPECT_EQ(Run("normal"), FendralToolResult::NotStarted);
    EXPECT_EQ(gFendral, before);
    ASSERT_EQ(u.messages.size(), 1u);
    EXPECT_EQ(u.messages[0].kind, ui::MessageKind::Critical);
    EXPECT_TRUE(Args().empty());
}

TEST_F(FendralTool, NothingWithoutTheProgramOrInSrcMode)
{
    fs::remove(programDir + "Fendral");
    EXPECT_EQ(Run("normal"), FendralToolResult::NotAvailable);
    EXPECT_TRUE(u.messages.empty());

    fs::copy_file(FAKE_FENDRAL, programDir + "Fendral");
    gCond.SMode = kFalse;
    EXPECT_EQ(Run("normal"), FendralToolResult::NotAvailable);
    EXPECT_EQ(gFendral, before);
    EXPECT_TRUE(Args().empty());
}

// An in-process runner, for the paths a real program cannot show.
class FakeRunner final : public IProcessRunner {
public:
    std::string program;
    std::vector<std::string> args;
    ProcessOutcome ShellWait(const std::string& p, const std::vector<std::string>& a, int32_t pollMs) override
    {
        program = p;
        args = a;
        EXPECT_EQ(pollMs, 200);
        // Leaves an exchange file that is no list.
        std::ofstream(gRebarSetting.TempPath + gRebarSetting.TempFile, std::ios::binary) << "x\r\n1.04\r\n2\r\n?\r\n";
        return {true, 0, ""};
    }
};

TEST_F(FendralTool, UnreadableAnswerKeepsTheList)
{
    FakeRunner runner;
    EXPECT_EQ(RunFendralTool(programDir, runner), FendralToolResult::Kept);
    EXPECT_EQ(runner.program, programDir + "Fendral");
    EXPECT_EQ(gFendral, before);
    EXPECT_EQ(u.messages.size(), 1u);
}

}  // namespace
