// A project with a column that cannot be checked, as the window shows it:
// opened like any other, the column marked and the reason told once, and
// saved again to the same bytes.
#include "window_fixture.h"

#include "model/base_data.h"
#include "model/column_check.h"
#include "platform/qt/grid/flexgrid.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using namespace mainwintest;
using namespace model;

constexpr int32_t kSrcT = 1000510;  // SRT-700
constexpr double kHuge = 99999.99;  // tf, the largest the stress table takes

std::string ReadBytes(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class UncheckedProject : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        scope_ = std::make_unique<ui::testing::ScopedUi>(u);
        dir = std::filesystem::temp_directory_path() / ("kv unchecked " + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        gFileName = "untitled.kud";
        w->msub_ShowProject();
        gDataChanged = false;
    }
    void TearDown() override
    {
        scope_.reset();
        std::filesystem::remove_all(dir);
        WindowTest::TearDown();
    }
    std::string SaveAs(const char* name)
    {
        const std::string path = (dir / name).string();
        if (std::filesystem::exists(path)) u.answers.push_back(ui::Answer::Yes);
        u.files.push_back(path);
        EXPECT_FALSE(w->Commands().msub_SaveProjectAs());
        return path;
    }
    std::string Texts() const
    {
        std::string all;
        for (const auto& m : u.messages) all += m.text + "\n";
        return all;
    }
    bool Told(const std::string& what) const { return Texts().find(what) != std::string::npos; }

    ui::testing::ScriptedUi u;
    std::filesystem::path dir;

private:
    std::unique_ptr<ui::testing::ScopedUi> scope_;
};

TEST_F(UncheckedProject, OpensWithTheColumnMarkedAndSavesToTheSameBytes)
{
    // The user switches to SRC and makes three columns, the first a T base
    // under stresses at the table's limit.
    w->optStruc[1]->setChecked(true);
    ASSERT_EQ(gCond.SMode, kFalse);
    w->msub_AddColumn(1);
    w->msub_AddColumn(1);
    ColumnDataTbl& c = gColumns(1);
    c.KolvanID = kSrcT;
    c.ColV = 4;
    LoadKvBaseData(kSrcT, c.AbNum, gKvBase(1));
    for (long r = 1; r <= 6; ++r)
        for (long k = 1; k <= 6; ++k) c.LoadTbl(r, k) = r % 3 == 1 ? kHuge : (k % 2 ? kHuge : -kHuge);
    u.messages.clear();
    EXPECT_FALSE(w->UserOperation([this] { w->msub_ShowProject(); }));
    ASSERT_EQ(u.messages.size(), 1u) << Texts();
    ASSERT_TRUE(Told("柱「1C1」の検討ができませんでした")) << Texts();
    const std::string reason = u.messages[0].text;

    const std::string first = SaveAs("src t.kud");
    const std::string projectBytes = ReadBytes(first);
    const std::string listBytes = ReadBytes(first + "2");

    // Opened from the menu: no refused file; the column is marked, told once.
    gColumns(1).ColName = "elsewhere";
    u.messages.clear();
    u.files.push_back(first);
    w->mnuFileOpen->trigger();
    QApplication::processEvents();
    ASSERT_EQ(u.messages.size(), 1u) << Texts();
    EXPECT_FALSE(Told("ファイルを読み込めませんでした")) << Texts();
    EXPECT_EQ(u.messages[0].text, reason);
    EXPECT_EQ(gFileName, "src t.kud");
    EXPECT_EQ(w->windowTitle().toStdString(), "柱脚検討 -\"src t.kud\"");
    EXPECT_EQ(gCond.ColCount, 3);
    EXPECT_EQ(gCurCol, 1);
    EXPECT_EQ(w->txtColName->text(), "1C1");
    EXPECT_EQ(w->grdList->Row(), 1);
    EXPECT_EQ(w->grdList->TextMatrix(1, 4), frmMain::kUncheckedMark);
    for (int i : {2, 3}) {
        const QString v = w->grdList->TextMatrix(i, 4);
        EXPECT_EQ(v.toStdString(), w->msub_GetColumnJudge(static_cast<int16_t>(i))) << i;
        EXPECT_NE(v, frmMain::kUncheckedMark) << i;
    }
    for (int col : {2, 3, 4}) {
        for (int r : {8, 13}) EXPECT_EQ(g->TextMatrix(r, col).trimmed(), "ｴﾗｰ") << r << "," << col;
    }
    EXPECT_FALSE(gDataChanged);
    EXPECT_FALSE(w->Commands().mblnLoading);
    EXPECT_FALSE(w->mblnShowingProject);
    std::filesystem::create_directories(KV_TEST_OUT_DIR);
    ASSERT_TRUE(w->grab().save(QStringLiteral(KV_TEST_OUT_DIR "/main_window_unchecked_project_opened.png")));

    // Saved again: the same bytes, project and base-rebar list.
    u.messages.clear();
    const std::string second = SaveAs("again.kud");
    EXPECT_TRUE(u.messages.empty()) << Texts();
    EXPECT_TRUE(ReadBytes(second) == projectBytes);
    EXPECT_TRUE(ReadBytes(second + "2") == listBytes);

    // Selecting a column that checks shows it; back on the marked one, told again.
    u.messages.clear();
    w->grdList->setRow(2);
    QApplication::processEvents();
    EXPECT_TRUE(u.messages.empty()) << Texts();
    w->grdList->setRow(1);
    QApplication::processEvents();
    EXPECT_EQ(u.messages.size(), 1u) << Texts();

    // The structure switch leaves the project for a new one without a word.
    u.messages.clear();
    gDataChanged = false;
    w->optStruc[0]->setChecked(true);
    QApplication::processEvents();
    EXPECT_TRUE(u.messages.empty()) << Texts();
    EXPECT_EQ(gCond.SMode, kTrue);
    EXPECT_EQ(gCond.ColCount, 1);
    EXPECT_NE(w->grdList->TextMatrix(1, 4), frmMain::kUncheckedMark);
}

}  // namespace
