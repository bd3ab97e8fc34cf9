// A committed design factor (gamma, alpha 1, alpha 2, the options dialog's
// gamma) leaves the screen as a fresh open of the saved project shows it.
#include "tests/mainwin/window_fixture.h"

#include "dialogs/frmOptions.h"
#include "drawing/recording.h"
#include "model/format.h"
#include "model/project_commands.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>
#include <unistd.h>

namespace {

using namespace model;
using ui::testing::ScopedUi;
using ui::testing::ScriptedUi;

// What the user reads: the stress and result table, the list's verdicts and
// zones, the factor boxes and the last drawing of the N-M diagram.
struct Screen {
    std::vector<std::string> table, list, boxes, diagram;
    bool operator==(const Screen&) const = default;
};

// Equal texts, the first few differences told by their place.
::testing::AssertionResult Same(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    if (a == b) return ::testing::AssertionSuccess();
    auto r = ::testing::AssertionFailure() << "sizes " << a.size() << " and " << b.size();
    int told = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()) && told < 8; ++i)
        if (a[i] != b[i]) r << "\n  [" << i << "] " << a[i] << " | " << b[i], ++told;
    return r;
}

class FactorRecheck : public mainwintest::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        w->mDrawTarget = &picture;
        ui_ = std::make_unique<ScopedUi>(script);
        path_ = (std::filesystem::temp_directory_path() / ("kv factor " + std::to_string(::getpid()) + ".kud")).string();
        gFileName = "untitled.kud";
        gCond.SMode = kTrue;
        gCond.DesignRootX = gCond.DesignRootY = 12;
        gCond.SCondition = 2;
        gCond.ShortCalcMode = gCond.UltCalcMode = 0;
        gCond.UltMQMode = kFalse;
        gCond.UltJadge = kTrue;
        gCond.GammaX = gCond.GammaY = 1.67;
        gCond.Alpha1 = 0.7;
        gCond.Alpha2 = 0.35;
        w->msub_ShowProject();
        w->msub_AddColumn(1);
        w->msub_AddColumn(1);
        // Three columns of growing stresses, with snow in both directions.
        for (int16_t i = 1; i <= 3; ++i) {
            ColumnDataTbl& col = gColumns(i);
            const double s = 0.6 + 0.2 * i;
            const auto set = [&](long row, long load, double v) { col.LoadTbl(row, load) = s * v / gUnitFactor; };
            set(1, 1, 1390), set(2, 1, -20), set(3, 1, 30);
            set(1, 3, 250), set(2, 3, -115), set(3, 3, 60);
            set(1, 11, 300), set(2, 11, -60), set(3, 11, 40);
            set(4, 2, 1200), set(5, 2, 15), set(6, 2, 20);
            set(4, 5, 200), set(5, 5, 90), set(6, 5, 45);
            set(4, 12, 250), set(5, 12, 50), set(6, 12, 30);
        }
        w->msub_ShowProject();
        w->show();
        w->activateWindow();
        QApplication::processEvents();
        w->msub_SelectListRow(2);
        gDataChanged = false;
    }
    void TearDown() override
    {
        ui_.reset();
        std::filesystem::remove(path_);
        WindowTest::TearDown();
    }

    Screen Snap() const
    {
        Screen s;
        for (int r = 0; r < g->Rows(); ++r)
            for (int c = 0; c < g->Cols(); ++c) s.table.push_back(g->TextMatrix(r, c).toStdString());
        for (int r = 1; r < w->grdList->Rows(); ++r)
            for (int c : {4, 5}) s.list.push_back(w->grdList->TextMatrix(r, c).toStdString());
        for (QLineEdit* box : {w->txtGamma, w->txtAlpha1, w->txtAlpha2}) s.boxes.push_back(box->text().toStdString());
        std::size_t from = 0;
        for (std::size_t i = 0; i < picture.ops.size(); ++i)
            if (picture.ops[i].kind == "Cls") from = i;
        for (std::size_t i = from; i < picture.ops.size(); ++i) s.diagram.push_back(picture.ops[i].str());
        return s;
    }

    // The project saved, then opened into the same window, column 2 chosen.
    Screen FreshOpen()
    {
        if (std::filesystem::exists(path_)) script.answers.push_back(ui::Answer::Yes);
        script.files.push_back(path_);
        EXPECT_FALSE(w->Commands().msub_SaveProjectAs());
        gCond.GammaX = gCond.GammaY = gCond.Alpha1 = gCond.Alpha2 = 9;
        picture.ops.clear();
        script.files.push_back(path_);
        w->Commands().msub_OpenProject();
        w->msub_SelectListRow(2);
        QApplication::processEvents();
        return Snap();
    }

    void Type(QLineEdit* box, const char* text, bool enter)
    {
        box->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(text));
        if (enter)
            QTest::keyClick(box, Qt::Key_Return);
        else
            w->txtBukken->setFocus(Qt::MouseFocusReason);  // the focus leaves the box
        QApplication::processEvents();
    }

    drawing::RecordingPicture picture;
    ScriptedUi script;
    std::unique_ptr<ScopedUi> ui_;
    std::string path_;
};

TEST_F(FactorRecheck, CommittedFactorShowsWhatAFreshOpenShows)
{
    struct Case {
        const char* name;
        std::function<void()> commit;
        bool autoRefresh;
    } cases[] = {
        {"gamma, Enter", [this] { Type(w->txtGamma, "2.5", true); }, true},
        {"gamma, focus leaving", [this] { Type(w->txtGamma, "2.5", false); }, true},
        {"alpha 1", [this] { Type(w->txtAlpha1, "1.6", true); }, true},
        {"alpha 2 of three decimals", [this] { Type(w->txtAlpha2, "1.425", false); }, true},
        {"options gamma",
         [this] {
             frmOptions dlg(*w);
             dlg.txtUltFactor->setText("2.5");
             dlg.cmdOK->click();
         },
         true},
        {"gamma without automatic refresh", [this] { Type(w->txtGamma, "2.5", true); }, false},
        {"alpha 2 without automatic refresh", [this] { Type(w->txtAlpha2, "1.425", true); },
         false},
    };
    bool first = true;
    for (const Case& c : cases) {
        // Each case on a project of its own.
        if (!first) SetUp();
        first = false;
        gAutoRefresh = c.autoRefresh;
        const Screen before = Snap();
        picture.ops.clear();
        c.commit();
        for (const auto& m : script.messages) ADD_FAILURE() << c.name << ": " << m.text;
        Screen after = Snap();
        EXPECT_TRUE(gDataChanged) << c.name;
        // The change matters: the verdict of some column is another one now.
        EXPECT_NE(after.list, before.list) << c.name;
        EXPECT_FALSE(after.diagram.empty()) << c.name << ": the diagram is drawn again";
        if (!c.autoRefresh) {
            // The result rows wait for the refresh button; the stresses are current.
            const int cols = g->Cols();
            for (int r : {6, 7, 8, 9, 11, 12, 13})
                for (int col = 2; col < cols; ++col)
                    EXPECT_EQ(after.table[r * cols + col], before.table[r * cols + col]) << c.name << " " << r << "," << col;
            EXPECT_NE(after.table, before.table) << c.name;
            w->cmdFlgReflesh_Click();
            after.table = Snap().table;
            gAutoRefresh = true;
        }
        const Screen fresh = FreshOpen();
        EXPECT_TRUE(Same(after.table, fresh.table)) << c.name;
        EXPECT_TRUE(Same(after.list, fresh.list)) << c.name;
        EXPECT_TRUE(Same(after.boxes, fresh.boxes)) << c.name;
        EXPECT_TRUE(Same(after.diagram, fresh.diagram)) << c.name;
        TearDown();
    }
    SetUp();  // for the fixture's own tear-down
}

// The boxes show a factor as it is stored and used.
TEST_F(FactorRecheck, BoxesShowTheStoredFactor)
{
    Type(w->txtAlpha2, "0.425", true);
    EXPECT_EQ(gCond.Alpha2, 0.425);
    EXPECT_EQ(w->txtAlpha2->text(), "0.425");
    // More decimals than a box shows are not kept.
    Type(w->txtGamma, "1.23456", true);
    EXPECT_EQ(gCond.GammaX, 1.2346);
    EXPECT_EQ(gCond.GammaY, 1.2346);
    EXPECT_EQ(w->txtGamma->text(), "1.2346");
    std::filesystem::create_directories(KV_TEST_OUT_DIR);
    w->txtBukken->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(w->grab().save(QStringLiteral(KV_TEST_OUT_DIR "/main_window_factors.png")));
    frmOptions dlg(*w);
    dlg.txtUltFactor->setText("2.34567");
    dlg.cmdOK->click();
    EXPECT_EQ(gCond.GammaX, 2.3457);
    EXPECT_EQ(w->txtGamma->text(), "2.3457");
    const Screen fresh = FreshOpen();
    EXPECT_EQ(fresh.boxes, (std::vector<std::string>{"2.3457", "0.70", "0.425"}));
}

}  // namespace
