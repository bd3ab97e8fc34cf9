// The column list and its editing commands, and the whole-project display.
#include "window_fixture.h"

#include "drawing/recording.h"
#include "model/base_data.h"
#include "model/column_check.h"
#include "model/fendral.h"
#include "model/rebar_handover.h"
#include "model/stress.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace mainwintest;
using namespace model;

// A project of five S columns "A".."E" with loads, strengths and base names
// of their own, so that every record and list text tells its column.
class ColumnList : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        w->mDrawTarget = &picture;
        gCond.ColCount = 5;
        gColumns.redim(5);
        gKvBase.redim(5);
        gResults.redim(5);
        for (int16_t i = 1; i <= 5; ++i) {
            ColumnDataTbl& col = gColumns(i);
            col = gColumnDefault;
            col.ColName = std::string(1, static_cast<char>('A' + i - 1));
            col.Fc = 20 + i;
            col.LoadTbl(1, 1) = col.LoadTbl(4, 1) = 10.0 * i;
            col.LoadTbl(2, 1) = 2.0 * i;
            gKvBase(i).AbNum = col.AbNum;
            LoadKvBaseData(col.KolvanID, col.AbNum, gKvBase(i));
            gKvBase(i).KvName = "BASE-" + std::string(1, static_cast<char>('A' + i - 1));
        }
        RebuildColumnRebar();
        w->msub_ShowProject();
        gDataChanged = false;
        for (int16_t i = 1; i <= 5; ++i) {
            const std::string name = Name(i);
            kvb[name] = gKvBase(i);
            results[name] = gResults(i);
            for (int c = 1; c <= 6; ++c) rowTexts[name].push_back(w->grdList->TextMatrix(i, c).toStdString());
        }
        ids = RebarIds();
    }

    static std::string Name(long i) { return vb::Trim(gColumns(i).ColName.value()); }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> n;
        for (long i = 1; i <= gCond.ColCount; ++i) n.push_back(Name(i));
        return n;
    }
    static std::vector<int32_t> RebarIds()
    {
        std::vector<int32_t> v;
        for (int32_t i = 1; i <= gFendral.GetCount(); ++i) {
            FendralTbl rec;
            gFendral.Get_Data(i, rec, 1);
            v.push_back(rec.ID);
        }
        return v;
    }
    // Every container, the list and the rebar list in step with the names.
    void ExpectInStep(const std::vector<std::string>& names, long current)
    {
        ASSERT_EQ(Names(), names);
        const auto n = static_cast<long>(names.size());
        EXPECT_EQ(gCond.ColCount, n);
        EXPECT_EQ(gKvBase.ubound(), n);
        EXPECT_EQ(gResults.ubound(), n);
        EXPECT_EQ(w->grdList->Rows(), n + 1);
        EXPECT_EQ(gCurCol, current);
        EXPECT_EQ(w->grdList->Row(), current);
        EXPECT_EQ(w->mlngPendingRow, current);
        ASSERT_EQ(gFendral.GetCount(), n);
        const std::vector<int32_t> now = RebarIds();
        EXPECT_EQ(std::set<int32_t>(now.begin(), now.end()).size(), now.size()) << "rebar IDs unique";
        for (long i = 1; i <= n; ++i) {
            FendralTbl rec;
            gFendral.Get_Data(static_cast<int32_t>(i), rec, 1);
            EXPECT_EQ(vb::Trim(rec.ColName), names[i - 1]) << "rebar record " << i;
            EXPECT_EQ(w->grdList->TextMatrix(i, 0).toStdString(), std::to_string(i));
            EXPECT_EQ(w->grdList->TextMatrix(i, 1).toStdString(), names[i - 1]);
            const auto known = rowTexts.find(names[i - 1]);
            if (known != rowTexts.end() && names[i - 1] != "1C1") {
                EXPECT_EQ(gKvBase(i), kvb[names[i - 1]]) << i;
                EXPECT_TRUE(gResults(i) == results[names[i - 1]]) << i;
                for (int c = 2; c <= 6; ++c)
                    EXPECT_EQ(w->grdList->TextMatrix(i, c).toStdString(), known->second[c - 1]) << i << "," << c;
            }
        }
        EXPECT_TRUE(gDataChanged);
    }
    void ExpectEnabled(bool del, bool up, bool down)
    {
        EXPECT_EQ(w->mnuEditDElCol->isEnabled(), del);
        EXPECT_EQ(w->mnuEditMoveColLeft->isEnabled(), up);
        EXPECT_EQ(w->mnuEditMoveColRight->isEnabled(), down);
        EXPECT_TRUE(w->mnuEditAddCol->isEnabled());
        EXPECT_TRUE(w->mnuEditCopyCol->isEnabled());
    }
    // The results a fresh check of column i gives.
    static ColumnResultTbl Recomputed(int16_t i)
    {
        const ColumnResultTbl shown = gResults(i);
        BuildDesignStresses(i);
        CalcColumnByIndex(i, 0);
        CalcColumnByIndex(i, 1);
        const ColumnResultTbl fresh = gResults(i);
        gResults(i) = shown;
        return fresh;
    }
    bool IsFreshId(int32_t id) const { return std::find(ids.begin(), ids.end(), id) == ids.end(); }
    int32_t RebarId(int32_t position) const
    {
        FendralTbl rec;
        gFendral.Get_Data(position, rec, 1);
        return rec.ID;
    }

    drawing::RecordingPicture picture;
    std::map<std::string, KvBaseTbl> kvb;
    std::map<std::string, ColumnResultTbl> results;
    std::map<std::string, std::vector<std::string>> rowTexts;
    std::vector<int32_t> ids;
};

TEST_F(ColumnList, DisplayFillsEveryRowAndSelectsTheFirst)
{
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "D", "E"}));
    const QStringList headers = {"No.", "柱名", "柱サイズ", "ベース型式", "判定", "配筋ｿﾞｰﾝ", "Fc"};
    const int widths[] = {405, 1005, 2505, 1995, 615, 900, 405};
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(w->grdList->TextMatrix(0, c), headers[c]);
        EXPECT_EQ(w->grdList->ColWidth(c), widths[c]);
    }
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(rowTexts[Name(i)][2], "BASE-" + Name(i));
        EXPECT_EQ(rowTexts[Name(i)][5], std::to_string(20 + i));
        EXPECT_EQ(rowTexts[Name(i)][3], w->msub_GetColumnJudge(static_cast<int16_t>(i)));
    }
    EXPECT_EQ(gCurCol, 1);
    ExpectEnabled(true, false, true);
}

TEST_F(ColumnList, AddAfterTheLastRowAppendsADefaultColumnComputedAtOnce)
{
    w->msub_SelectListRow(5);
    ExpectEnabled(true, true, false);
    w->mnuEditAddCol->trigger();
    ExpectInStep({"A", "B", "C", "D", "E", "1C1"}, 6);
    EXPECT_EQ(gColumns(6).Fc, gCond.Fc);
    EXPECT_TRUE(gResults(6) == Recomputed(6));
    EXPECT_TRUE(IsFreshId(RebarId(6)));
    EXPECT_EQ(w->grdList->TextMatrix(6, 4).toStdString(), w->msub_GetColumnJudge(6));
    ExpectEnabled(true, true, false);
}

TEST_F(ColumnList, AddAfterRowTwoMovesTheRestDown)
{
    w->msub_SelectListRow(2);
    w->msub_AddColumn(0);
    ExpectInStep({"A", "B", "1C1", "C", "D", "E"}, 3);
    EXPECT_TRUE(gResults(3) == Recomputed(3));
    EXPECT_TRUE(IsFreshId(RebarId(3)));
    ExpectEnabled(true, true, true);
}

TEST_F(ColumnList, CopyPutsAnIdenticalColumnBelowWithCopiedResults)
{
    w->msub_SelectListRow(2);
    w->mnuEditCopyCol->trigger();
    ExpectInStep({"A", "B", "B", "C", "D", "E"}, 3);
    EXPECT_EQ(gColumns(3), gColumns(2));
    EXPECT_TRUE(gResults(3) == gResults(2));
    EXPECT_TRUE(IsFreshId(RebarId(3)));
    EXPECT_FALSE(IsFreshId(RebarId(2)));
}

TEST_F(ColumnList, DeleteTakesTheFollowerOrTheNewLast)
{
    w->msub_SelectListRow(5);
    w->mnuEditDElCol->trigger();
    ExpectInStep({"A", "B", "C", "D"}, 4);
    ExpectEnabled(true, true, false);

    gDataChanged = false;
    w->msub_SelectListRow(2);
    w->msub_DeleteColumn();
    ExpectInStep({"A", "C", "D"}, 2);
    ExpectEnabled(true, true, true);
}

TEST_F(ColumnList, DeletingDownToOneDisablesAndAddingEnablesAgain)
{
    for (int k = 0; k < 4; ++k) w->msub_DeleteColumn();
    ExpectInStep({"E"}, 1);
    ExpectEnabled(false, false, false);
    // The last column stays, whoever asks.
    w->msub_DeleteColumn();
    EXPECT_EQ(Names(), std::vector<std::string>{"E"});

    w->msub_AddColumn(0);
    ExpectInStep({"E", "1C1"}, 2);
    EXPECT_TRUE(w->mnuEditDElCol->isEnabled());
    EXPECT_TRUE(w->mnuEditMoveColLeft->isEnabled());
}

TEST_F(ColumnList, MoveExchangesTwoColumnsAndTheirRowsButNotTheNumbers)
{
    w->msub_SelectListRow(3);
    int selections = 0;
    QObject::connect(w->grdList, &qtgrid::FlexGrid::RowColChange, [&] { ++selections; });
    w->mnuEditMoveColLeft->trigger();
    ExpectInStep({"A", "C", "B", "D", "E"}, 2);
    EXPECT_EQ(selections, 1);

    w->msub_SelectListRow(2);
    w->mnuEditMoveColRight->trigger();
    w->mnuEditMoveColRight->trigger();
    ExpectInStep({"A", "B", "D", "C", "E"}, 4);

    // Past the ends nothing moves, even when asked directly.
    w->msub_SelectListRow(1);
    gDataChanged = false;
    w->msub_MoveColumn(0);
    w->msub_SelectListRow(5);
    w->msub_MoveColumn(1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "D", "C", "E"}));
    EXPECT_FALSE(gDataChanged);
}

TEST_F(ColumnList, MoveDoesNotRefillTheTables)
{
    w->msub_SelectListRow(3);
    w->grdView1->setTextMatrix(4, 2, "marker");
    w->msub_MoveColumn(1);
    EXPECT_EQ(w->grdView1->TextMatrix(4, 2), "marker");
    EXPECT_EQ(gCurCol, 4);
}

TEST_F(ColumnList, AddingBeyondTheLargestCountIsRefusedWithAMessage)
{
    ui::testing::ScriptedUi script;
    ui::testing::ScopedUi installed(script);
    gCond.ColCount = 32767;
    w->msub_AddColumn(0);
    EXPECT_EQ(gCond.ColCount, 32767);
    gCond.ColCount = 5;
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "D", "E"}));
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_FALSE(gDataChanged);
}

TEST_F(ColumnList, ClickingARowShowsItsColumnAndPutsTheCursorOnTheFirstInput)
{
    w->grdList->setRow(4);
    EXPECT_EQ(gCurCol, 4);
    EXPECT_EQ(w->txtColName->text(), "D");
    EXPECT_EQ(w->lblKv->text(), "BASE-D");
    EXPECT_EQ(w->grdView1->Row(), 4);
    EXPECT_EQ(w->grdView1->Col(), 2);
    ExpectEnabled(true, true, true);
    EXPECT_FALSE(gDataChanged);
}

// ---- Project display ----

class ProjectDisplay : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        w->mDrawTarget = &picture;
    }
    drawing::RecordingPicture picture;
};

TEST_F(ProjectDisplay, RouteTable)
{
    struct Case {
        bool sMode;
        int16_t stored;
        const char* shown;
        int16_t code;
        int16_t ultMode;
    } cases[] = {
        {true, 1, "ルート 1-2", 12, 0},  {true, 11, "ルート 1-1", 11, 1}, {true, 12, "ルート 1-2", 12, 0},
        {true, 2, "ルート 2", 2, 0},     {true, 21, "ルート 2", 2, 0},    {true, 22, "ルート 2", 2, 0},
        {true, 23, "ルート 2", 2, 0},    {true, 3, "ルート 3", 3, 1},     {false, 1, "ルート 1", 1, 1},
        {false, 2, "ルート 2-1", 21, 0}, {false, 21, "ルート 2-1", 21, 0}, {false, 22, "ルート 2-2", 22, 0},
        {false, 23, "ルート 2-3", 23, 0}, {false, 3, "ルート 3", 3, 1},
    };
    for (const Case& c : cases) {
        gCond.SMode = c.sMode ? kTrue : kFalse;
        gColumns(1) = c.sMode ? gColumnDefault : gColumnDefaultSrc;
        gCond.DesignRootX = gCond.DesignRootY = c.stored;
        gCond.UltCalcMode = 1 - c.ultMode;
        w->msub_ShowProject();
        const std::string label = (c.sMode ? "S " : "SRC ") + std::to_string(c.stored);
        EXPECT_EQ(w->cmbDRoot->currentText().toStdString(), c.shown) << label;
        EXPECT_EQ(w->cmbDRoot->count(), c.sMode ? 4 : 5) << label;
        EXPECT_EQ(gCond.DesignRootX, c.code) << label;
        EXPECT_EQ(gCond.DesignRootY, c.code) << label;
        EXPECT_EQ(gCond.UltCalcMode, c.ultMode) << label;
        EXPECT_EQ(w->sbPanels[2]->text(), c.ultMode ? "終局マニュアル" : "終局自動計算") << label;
        EXPECT_EQ(w->optStruc[c.sMode ? 0 : 1]->isChecked(), true) << label;
    }
}

TEST_F(ProjectDisplay, CurvesByStructureAndTheSteelColumnFlagUntouched)
{
    for (bool sMode : {true, false}) {
        gCond.SMode = sMode ? kTrue : kFalse;
        gColumns(1) = sMode ? gColumnDefault : gColumnDefaultSrc;
        gNMCurveShow(0) = !sMode;
        gNMCurveShow(1) = false;
        gNMCurveShow(2) = true;
        gNMCurveShow(3) = true;
        w->msub_ShowProject();
        EXPECT_EQ(gNMCurveShow(0), sMode);
        EXPECT_TRUE(gNMCurveShow(1));
        EXPECT_FALSE(gNMCurveShow(2));
        EXPECT_TRUE(gNMCurveShow(3));
        EXPECT_EQ(w->mnuDrawRCCol0->isVisible(), sMode);
        EXPECT_EQ(w->mnuDrawRCCol->isVisible(), sMode);
    }
}

TEST_F(ProjectDisplay, OneColumnAndCaption)
{
    gFileName = "untitled.kud";
    w->msub_SelectListRow(1);
    w->msub_ShowProject();
    EXPECT_EQ(w->windowTitle(), "柱脚検討 -\"untitled.kud\"");
    EXPECT_EQ(w->grdList->Rows(), 2);
    EXPECT_FALSE(w->mnuEditDElCol->isEnabled());
    EXPECT_FALSE(w->mnuEditMoveColLeft->isEnabled());
    EXPECT_FALSE(w->mnuEditMoveColRight->isEnabled());
}

TEST_F(ProjectDisplay, NeverChangesStoredData)
{
    const std::string name50 = "物件名が五十文字になるまで続く長い名前ABCDEFGHIJKLMNOPQRSTUVWXYZ01234";
    ASSERT_EQ(text::CharCount(name50), 50u);
    gCond.Bukken = name50;
    gCond.SMode = kTrue;
    gCond.DesignRootX = gCond.DesignRootY = 2;
    gCond.GammaX = gCond.GammaY = 1.80;
    const std::string col50 = std::string(50, 'N');
    gColumns(1).ColName = col50;
    const ProjectCondTbl before = gCond;
    w->msub_ShowProject();
    w->msub_ShowProject();
    EXPECT_EQ(gCond.Bukken.value(), name50);
    EXPECT_EQ(w->txtBukken->text().toStdString(), name50);
    EXPECT_EQ(gCond.GammaX, 1.80);
    EXPECT_EQ(gCond.GammaY, 1.80);
    EXPECT_EQ(w->txtGamma->text(), "1.80");
    EXPECT_TRUE(gCond == before);
    // The current row is rewritten by the detail panel with the whole name.
    EXPECT_EQ(w->grdList->TextMatrix(1, 1).toStdString(), col50);
}

TEST_F(ProjectDisplay, ChoosingARouteSetsItsGammaAndMarksTheProject)
{
    gCond.SMode = kTrue;
    gCond.DesignRootX = gCond.DesignRootY = 2;
    gCond.GammaX = gCond.GammaY = 1.80;
    w->msub_ShowProject();
    gDataChanged = false;
    w->cmbDRoot->setCurrentIndex(1);  // ルート 1-2
    EXPECT_EQ(gCond.DesignRootX, 12);
    EXPECT_EQ(gCond.DesignRootY, 12);
    EXPECT_EQ(gCond.GammaX, 1.67);
    EXPECT_EQ(w->txtGamma->text(), "1.67");
    EXPECT_EQ(gCond.UltCalcMode, 0);
    EXPECT_TRUE(gDataChanged);
    w->cmbDRoot->setCurrentIndex(3);  // ルート 3
    EXPECT_EQ(gCond.UltCalcMode, 1);
    EXPECT_TRUE(w->txtGamma->isHidden());
}

}  // namespace
