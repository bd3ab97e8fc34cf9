// A check of the current column that fails (here: the catalogue lacks the
// KvData row of the column's model and bolt) is told once, the program stays
// up, the entry stays stored as shown, and the table, the column list and the
// drawing box no longer show the last results as if they were current.
#include "entry_fixture.h"

#include "drawing/recording.h"
#include "engine/kv.h"
#include "model/base_data.h"
#include "model/column_check.h"
#include "model/format.h"
#include "platform/qt/picture_box.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include <filesystem>
#include <functional>
#include <string>

namespace {

using namespace mainwintest;
using namespace model;

constexpr int32_t kModel = 150310;  // its second bolt has no KvData row
const int kDataCols[] = {2, 3, 4, 6, 8, 10, 12, 14, 16, 18};

class CheckFailure : public Entry {
protected:
    void SetUp() override
    {
        Entry::SetUp();
        scope_ = std::make_unique<ui::testing::ScopedUi>(u);
        const std::filesystem::path catalogue(KV_NO_KVDATA_CATALOGUE);
        gDataFilePath = catalogue.parent_path().string();
        gDataFileName = "\\" + catalogue.filename().string();
        gKv->setDataFilePath(gDataFilePath);
        gKv->setDataFileName(gDataFileName);
        useModel(1, 1);
        w->msub_SelectColumn(true);
        ASSERT_TRUE(hasVerdicts());
        ASSERT_TRUE(u.messages.empty());
        // From here the column names the bolt whose row the catalogue lacks,
        // as a project made on a fuller catalogue does; the table still shows
        // the results of the first bolt.
        gColumns(1).AbNum = 2;
        gDataChanged = false;
    }
    void TearDown() override
    {
        scope_.reset();
        Entry::TearDown();
    }
    void useModel(int16_t column, int16_t bolt)
    {
        gColumns(column).KolvanID = kModel;
        gColumns(column).AbNum = 1;
        gKvBase(column).AbNum = 1;
        LoadKvBaseData(kModel, 1, gKvBase(column));
        gColumns(column).AbNum = bolt;
    }
    bool hasVerdicts() const
    {
        for (int c : kDataCols)
            for (int r : {8, 13}) {
                const QString t = g->TextMatrix(r, c).trimmed();
                if (t == "OK" || t == "NG" || t == "OK*") return true;
            }
        return false;
    }
    // One message naming the cause; no result of the column reads as
    // computed; the column list marks the column too.
    void expectTold(const char* how)
    {
        ASSERT_EQ(u.messages.size(), 1u) << how;
        EXPECT_NE(u.messages[0].text.find("KvData"), std::string::npos) << how << ": " << u.messages[0].text;
        EXPECT_EQ(u.messages[0].kind, ui::MessageKind::Critical) << how;
        EXPECT_FALSE(hasVerdicts()) << how;
        for (int c : kDataCols) {
            for (int r : {6, 7, 9, 11, 12}) EXPECT_EQ(g->TextMatrix(r, c), "") << how << " " << r << "," << c;
            for (int r : {8, 13}) EXPECT_EQ(g->TextMatrix(r, c).trimmed(), "ｴﾗｰ") << how << " " << r << "," << c;
        }
        EXPECT_EQ(w->grdList->TextMatrix(gCurCol, 4), "ｴﾗｰ") << how;
        EXPECT_EQ(w->grdList->TextMatrix(gCurCol, 5), "") << how;
        EXPECT_FALSE(w->mblnGridQuiet) << how;
        EXPECT_TRUE(w->isVisible()) << how;
    }

    ui::testing::ScriptedUi u;

private:
    std::unique_ptr<ui::testing::ScopedUi> scope_;
};

// Enter, an arrow key and the focus leaving the editor all commit the entry.
TEST_F(CheckFailure, EnteringAStress)
{
    struct Case {
        const char* how;
        std::function<void(frmMain&)> leave;
    } cases[] = {
        {"Enter", [](frmMain& m) { QTest::keyClick(m.txtInput1, Qt::Key_Return); }},
        {"arrow key", [](frmMain& m) { QTest::keyClick(m.txtInput1, Qt::Key_Up); }},
        {"focus loss", [](frmMain& m) { m.txtBukken->setFocus(Qt::MouseFocusReason); }},
    };
    double typed = 7;
    for (const Case& k : cases) {
        u.messages.clear();
        gDataChanged = false;
        go(13, 18);
        go(5, 2);
        ASSERT_TRUE(editorOpen()) << k.how;
        w->txtInput1->selectAll();
        QTest::keyClicks(w->txtInput1, QByteArray::number(typed).constData());
        k.leave(*w);
        QApplication::processEvents();

        expectTold(k.how);
        // The entry is the project's, and the cell shows it as stored.
        EXPECT_DOUBLE_EQ(gColumns(1).LoadTbl(2, 1) * gUnitFactor, typed) << k.how;
        EXPECT_EQ(g->TextMatrix(5, 2).toStdString(), FormatValue(typed, 2)) << k.how;
        EXPECT_TRUE(gDataChanged) << k.how;
        EXPECT_TRUE(gAutoRefresh) << k.how;
        typed += 1;
    }
}

TEST_F(CheckFailure, RefreshButton)
{
    gAutoRefresh = false;
    w->cmdFlgReflesh->setVisible(true);
    w->cmdFlgReflesh->click();
    QApplication::processEvents();
    expectTold("refresh button");
    EXPECT_FALSE(gAutoRefresh);
    EXPECT_FALSE(gDataChanged);
}

TEST_F(CheckFailure, StressInputDialogClosedWithOk)
{
    w->mShowStressInputDialog = [] {
        gColumns(gCurCol).LoadTbl(3, 1) = 4 / gUnitFactor;
        return true;
    };
    w->cmdInput->setEnabled(true);
    w->cmdInput->click();
    expectTold("stress input dialog");
    EXPECT_EQ(g->TextMatrix(10, 2).toStdString(), FormatValue(4.0, 2));
    // Confirmed stresses are kept even though the check failed: leaving asks.
    EXPECT_TRUE(gDataChanged);
}

// The column chosen in the list is shown from its own records, with no
// results, rather than leaving the former column's stresses under the editor.
TEST_F(CheckFailure, SelectingTheColumn)
{
    gColumns(1).AbNum = 1;
    w->msub_AddColumn(1);
    gColumns(2).ColName = "2C1";
    gColumns(2).LoadTbl(2, 1) = 33 / gUnitFactor;
    gColumns(2).AbNum = 2;
    w->msub_SelectListRow(1);
    ASSERT_TRUE(hasVerdicts());
    u.messages.clear();
    gDataChanged = false;

    w->grdList->setRow(2);
    QApplication::processEvents();
    EXPECT_EQ(gCurCol, 2);
    expectTold("column selected");
    EXPECT_EQ(w->txtColName->text(), "2C1");
    EXPECT_EQ(g->TextMatrix(5, 2).toStdString(), FormatValue(33.0, 2));
    EXPECT_FALSE(gDataChanged);
    if (w->mobjFlexInput1->inputMode() != 0) {
        EXPECT_EQ(w->txtInput1->text(), g->TextMatrix(w->mobjFlexInput1->editRow(), w->mobjFlexInput1->editCol()));
    }

    // Back on the column that can be checked, everything is shown again.
    u.messages.clear();
    w->grdList->setRow(1);
    QApplication::processEvents();
    EXPECT_TRUE(u.messages.empty());
    EXPECT_TRUE(hasVerdicts());
    EXPECT_NE(w->grdList->TextMatrix(1, 4), "ｴﾗｰ");
}

// A condition that concerns every column (here the symmetry) stops at the
// column that cannot be checked; the list is still brought up to date, that
// column marked and the others with their new verdicts.
TEST_F(CheckFailure, WholeProjectDisplayMarksTheColumnThatFails)
{
    gColumns(1).AbNum = 1;
    w->msub_AddColumn(1);
    w->msub_AddColumn(1);
    gColumns(2).AbNum = 2;
    w->msub_SelectListRow(1);
    for (int i = 1; i <= 3; ++i) w->grdList->setTextMatrix(i, 4, "old");
    u.messages.clear();

    w->chkSymmetry->setChecked(!w->chkSymmetry->isChecked());
    QApplication::processEvents();
    ASSERT_EQ(u.messages.size(), 1u);
    EXPECT_NE(u.messages[0].text.find("KvData"), std::string::npos);
    EXPECT_EQ(w->grdList->TextMatrix(2, 4), frmMain::kUncheckedMark);
    for (int i : {1, 3}) {
        EXPECT_EQ(w->grdList->TextMatrix(i, 4).toStdString(), w->msub_GetColumnJudge(static_cast<int16_t>(i))) << i;
    }
    EXPECT_EQ(gCurCol, 1);
    EXPECT_TRUE(hasVerdicts());
}

// Handlers the action raises itself fail for the same reason as the action:
// the user is told once.
TEST_F(CheckFailure, OneActionTellsItsReasonOnce)
{
    EXPECT_FALSE(w->UserOperation([this] {
        w->cmbDRoot->setCurrentIndex(w->cmbDRoot->currentIndex() == 2 ? 1 : 2);
        w->cmdFlgReflesh_Click();
        CheckColumn(gCurCol);
    }));
    EXPECT_EQ(u.messages.size(), 1u);
    EXPECT_FALSE(hasVerdicts());
}

// A figure that cannot be drawn leaves nothing of the former drawing: the box
// is cleared and says why.
TEST_F(CheckFailure, FailingFigureClearsTheBox)
{
    drawing::RecordingPicture picture;
    w->mDrawTarget = &picture;
    w->mnuDispNMY_Click();
    ASSERT_FALSE(picture.ops.empty());
    ASSERT_EQ(u.messages.size(), 0u);

    gColumns(1).AbNum = 2;
    picture.ops.clear();
    w->mnuDispNMX_Click();
    ASSERT_FALSE(picture.ops.empty());
    EXPECT_EQ(picture.ops.front().kind, "Cls");
    std::string printed;
    for (const drawing::DrawOp& op : picture.ops) {
        EXPECT_EQ(op.kind == "Cls" || op.kind == "Print", true) << op.str();
        printed += op.text;
    }
    EXPECT_NE(printed.find("図を表示できません"), std::string::npos) << printed;
    EXPECT_NE(printed.find("KvData"), std::string::npos) << printed;
    EXPECT_EQ(gDispMode, 0);
    w->mDrawTarget = w->pctNM;
}

// What the user sees after a failed entry, with the real drawing box.
TEST_F(CheckFailure, Screenshot)
{
    go(13, 18);
    go(5, 2);
    ASSERT_TRUE(editorOpen());
    w->txtInput1->selectAll();
    QTest::keyClicks(w->txtInput1, "-1305");
    QTest::keyClick(w->txtInput1, Qt::Key_Return);
    QApplication::processEvents();
    expectTold("screenshot");
    std::filesystem::create_directories(KV_TEST_OUT_DIR);
    ASSERT_TRUE(w->grab().save(QStringLiteral(KV_TEST_OUT_DIR "/main_window_check_failed.png")));
}

}  // namespace
