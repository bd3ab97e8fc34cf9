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
#include "model/rebar_handover.h"
#include "model/texts.h"
#include "platform/qt/picture_box.h"
#include "platform/text/vb.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace mainwintest;
using namespace model;

constexpr int32_t kModel = 150310;  // its second bolt has no KvData row
// How the user is told which model lacks its data.
const char* const kModelNamed = "柱脚形式（番号 150310）";
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
        EXPECT_NE(u.messages[0].text.find(kModelNamed), std::string::npos) << how << ": " << u.messages[0].text;
        EXPECT_EQ(u.messages[0].text.find("KvData"), std::string::npos) << how << ": " << u.messages[0].text;
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
    EXPECT_NE(u.messages[0].text.find(kModelNamed), std::string::npos) << u.messages[0].text;
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
    EXPECT_NE(printed.find(kModelNamed), std::string::npos) << printed;
    EXPECT_EQ(printed.find("SELECT"), std::string::npos) << printed;
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

// An SRC project: a check that fails leaves nothing in the detail panel of the
// column shown before or of the column's own earlier results. The panel shows
// the current column's records, and every text that comes of a check (the
// bending and axial shares, the limit forces, the rank line) is empty.
class SrcCheckFailure : public Entry {
protected:
    static constexpr int32_t kCross = 1000500;  // SRX-700: checks
    static constexpr int32_t kTee = 1000510;    // SRT-700: no KvData row

    void SetUp() override
    {
        Entry::SetUp();
        scope_ = std::make_unique<ui::testing::ScopedUi>(u);
        w->mDrawTarget = &picture;
        gCond.SMode = kFalse;
        gCond.ColCount = 2;
        gCond.DesignRootX = gCond.DesignRootY = 3;
        gColumns.redim(2);
        gKvBase.redim(2);
        gResults.redim(2);
        // Two columns that differ in every text the panel shows.
        ColumnDataTbl cross = gColumnDefaultSrc;
        cross.ColName = "SC1";
        cross.KolvanID = kCross;
        cross.ColV = 3;
        ColumnDataTbl tee = gColumnDefaultSrc;
        tee.ColName = "ST2";
        tee.KolvanID = kTee;
        tee.ColV = 4;
        tee.Fc = cross.Fc + 6;
        tee.cD(0) = 1000;
        tee.cD(1) = 950;
        tee.RBarVal = "D25";
        tee.RBarMat = "SD390";
        tee.RtN(0) = 6;
        tee.RtN(1) = 7;
        const double spec[] = {420, 4400, 5000, 0.009};
        for (long d = 0; d <= 1; ++d)
            for (long k = 0; k <= 3; ++k) tee.SrcColSpec(d, k) = spec[k] + d;
        gColumns(1) = cross;
        gColumns(2) = tee;
        for (int16_t i = 1; i <= 2; ++i) {
            gKvBase(i).AbNum = gColumns(i).AbNum;
            LoadKvBaseData(gColumns(i).KolvanID, gColumns(i).AbNum, gKvBase(i));
        }
        RebuildColumnRebar();
        w->msub_ShowProject();
        ASSERT_TRUE(u.messages.empty()) << u.messages[0].text;
        // From here the catalogue lacks the second column's model, as one
        // older than the project's may.
        const std::filesystem::path catalogue(KV_NO_KVDATA_CATALOGUE);
        gDataFilePath = catalogue.parent_path().string();
        gDataFileName = "\\" + catalogue.filename().string();
        gKv->setDataFilePath(gDataFilePath);
        gKv->setDataFileName(gDataFileName);
        ASSERT_EQ(gCurCol, 1);
        // Column 1 shows its results, rank line included.
        for (const QLabel* l : w->lblKvSpec) ASSERT_FALSE(l->text().isEmpty());
        ASSERT_FALSE(w->lblColSpec[8]->isHidden());
        ASSERT_FALSE(w->lblColSpec[8]->text().isEmpty());
        gDataChanged = false;
    }
    void TearDown() override
    {
        w->mDrawTarget = w->pctNM;
        scope_.reset();
        Entry::TearDown();
    }
    // Every text of the panel, in one list.
    std::vector<std::string> panel() const
    {
        std::vector<std::string> s{w->txtColName->text().toStdString(), w->lblCol->text().toStdString(),
                                   w->lblKv->text().toStdString()};
        for (const QLabel* l : w->lblColSpec) s.push_back(l->text().toStdString());
        for (const QLabel* l : w->lblKvSpec) s.push_back(l->text().toStdString());
        return s;
    }
    // The panel as the current column's records alone give it.
    std::vector<std::string> recordsOnly() const
    {
        int16_t c = gCurCol;
        const ColumnDataTbl& col = gColumns(c);
        const int16_t r = col.KvRotate == 1 ? 1 : 0;
        std::string main, second, material;
        std::vector<std::string> s{vb::Trim(col.ColName.value()), GetColumnSectionText(c, main, second, material),
                                   GetKvNameByIndex(c)};
        std::string props[7];
        c = gCurCol;
        GetSectionPropertyTexts(c, props);
        s.insert(s.end(), std::begin(props), std::end(props));
        s.push_back("RC:" + vb::Str(col.cD(r)) + "×" + vb::Str(col.cD(1 - r)) + "(Fc" + FormatFc(col.Fc) + ")" +
                    "   鉄筋:" + vb::Trim(col.RBarVal.value()) + "(" + vb::Trim(col.RBarMat.value()) + ")  本数" +
                    vb::Str(col.RtN(r)) + "×" + vb::Str(col.RtN(1 - r)));
        s.push_back("");  // the rank line
        s.insert(s.end(), 4, "");
        return s;
    }

    ui::testing::ScriptedUi u;
    drawing::RecordingPicture picture;

private:
    std::unique_ptr<ui::testing::ScopedUi> scope_;
};

TEST_F(SrcCheckFailure, DetailPanelShowsNothingOfAnEarlierColumnOrResult)
{
    struct Case {
        const char* how;
        bool otherColumn;  // else column 1 is turned to the model that fails
        std::function<void()> act;
    } cases[] = {
        {"column selected in the list", true,
         [this] {
             w->grdList->setRow(2);
             QApplication::processEvents();
         }},
        {"refresh button", false,
         [this] {
             gAutoRefresh = false;
             w->cmdFlgReflesh->setVisible(true);
             w->cmdFlgReflesh->click();
             QApplication::processEvents();
             gAutoRefresh = true;
         }},
        {"stress input dialog", false,
         [this] {
             w->mShowStressInputDialog = [] {
                 gColumns(gCurCol).LoadTbl(3, 1) = 4 / gUnitFactor;
                 return true;
             };
             w->cmdInput->setEnabled(true);
             w->cmdInput->click();
         }},
        {"stress entered in the table", false,
         [this] {
             go(13, 18);
             go(5, 2);
             ASSERT_TRUE(editorOpen());
             type("7");
         }},
    };
    const ColumnDataTbl column1 = gColumns(1);
    const KvBaseTbl base1 = gKvBase(1);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.how);
        gColumns(1) = column1;
        gKvBase(1) = base1;
        w->msub_SelectListRow(1);
        w->msub_SelectColumn(true);
        ASSERT_EQ(gCurCol, 1);
        const std::vector<std::string> before = panel();
        ASSERT_FALSE(before.back().empty());
        u.messages.clear();
        if (!k.otherColumn) {
            gColumns(1).KolvanID = kTee;
            gColumns(1).ColV = 4;
            gKvBase(1) = gKvBase(2);
        }
        picture.ops.clear();

        k.act();

        ASSERT_EQ(u.messages.size(), 1u);
        EXPECT_NE(u.messages[0].text.find("1000510"), std::string::npos) << u.messages[0].text;
        EXPECT_EQ(gCurCol, k.otherColumn ? 2 : 1);
        const std::vector<std::string> shown = panel();
        EXPECT_EQ(shown, recordsOnly());
        EXPECT_TRUE(w->lblColSpec[8]->isHidden());
        if (k.otherColumn) {
            // The two columns differ in every text: none of column 1's stays.
            for (std::size_t i = 0; i < before.size(); ++i) {
                if (!before[i].empty()) {
                    EXPECT_NE(shown[i], before[i]) << i;
                }
            }
        }
        // The list row and the drawing box are of the failed check too.
        EXPECT_EQ(w->grdList->TextMatrix(gCurCol, 1).toStdString(), shown[0]);
        EXPECT_EQ(w->grdList->TextMatrix(gCurCol, 3).toStdString(), shown[2]);
        EXPECT_EQ(w->grdList->TextMatrix(gCurCol, 4), frmMain::kUncheckedMark);
        EXPECT_EQ(w->grdList->TextMatrix(gCurCol, 5), "");
        ASSERT_FALSE(picture.ops.empty());
        bool cleared = false;
        std::string printed;
        for (const drawing::DrawOp& op : picture.ops) {
            if (op.kind == "Cls") {
                cleared = true;
                printed.clear();
            } else if (cleared) {
                EXPECT_EQ(op.kind, "Print") << op.str();
                printed += op.text;
            }
        }
        EXPECT_TRUE(cleared);
        EXPECT_NE(printed.find("図を表示できません"), std::string::npos) << printed;
    }
}

}  // namespace
