// Whatever refills the stress and result table, an open in-cell editor shows
// its cell as the project holds it, or is closed; it is never left over a
// cell that no longer takes entry.
#include "entry_fixture.h"

#include "model/format.h"
#include "model/stress.h"
#include "tests/platform/ui/scripted_ui.h"

#include <QComboBox>
#include <QRadioButton>
#include <QSignalSpy>

#include <optional>

namespace {

using namespace mainwintest;
using namespace model;

class EditorRefill : public Entry {
protected:
    // The text a stress cell shows for the current column's record, none
    // for a cell without a stress.
    std::optional<QString> recordText(int r, int c) const
    {
        BuildCurrentDesignStresses();
        for (int16_t comp = 1; comp <= 6; ++comp) {
            for (int16_t d = 1; d <= 7; ++d) {
                int16_t grid = 0;
                long row = 0, col = 0;
                bool found = false;
                w->msub_GetCellPos(comp, d, grid, row, col, found);
                if (!found || row != r || col != c) continue;
                if (gShortLoadKind == 2 && d == 5) return QString();
                return QString::fromStdString(FormatValue(gResults(gCurCol).DesignStress(comp, d) * gUnitFactor, 2));
            }
        }
        return std::nullopt;
    }
    bool takesEntry(int r, int c) const
    {
        if (r != 4 && r != 5 && r != 10) return false;
        if (g->CellBackColor(r, c) != frmMain::kOpenColor) return false;
        if (c >= 4 && c <= 11) return gCond.ShortCalcMode != 0;
        if (c >= 12) return gCond.UltCalcMode != 0;
        return c == 2 || c == 3;
    }
    // Closed, or open over a cell that takes entry, showing that cell as the
    // record has it.
    void expectEditorTrue(const char* path) const
    {
        const zDLFlex8_Vendra& e = *w->mobjFlexInput1;
        if (e.inputMode() == 0) {
            EXPECT_FALSE(editorOpen()) << path;
            return;
        }
        const int r = e.editRow(), c = e.editCol();
        EXPECT_TRUE(takesEntry(r, c)) << path << ": editor over " << r << "," << c;
        const std::optional<QString> record = recordText(r, c);
        ASSERT_TRUE(record) << path;
        EXPECT_EQ(g->TextMatrix(r, c), *record) << path;
        EXPECT_EQ(w->txtInput1->text(), *record) << path;
    }
    void setLongTermN(int16_t column, double shown)
    {
        for (auto [i, j] : {std::pair{1, 1}, {4, 1}, {1, 2}, {4, 2}}) gColumns(column).LoadTbl(i, j) = shown / gUnitFactor;
    }
    void addSecondColumn()
    {
        w->msub_AddColumn(1);
        w->msub_SelectListRow(1);
        setLongTermN(2, 345);
        gColumns(2).LoadTbl(2, 1) = 67 / gUnitFactor;
    }
};

TEST_F(EditorRefill, ProjectShownAgain)
{
    go(4, 2);
    ASSERT_TRUE(editorOpen());
    setLongTermN(1, 600);
    w->msub_ShowProject();
    QApplication::processEvents();
    expectEditorTrue("project shown");
    if (editorOpen()) {
        EXPECT_EQ(w->txtInput1->text(), "600.00");
    }
}

TEST_F(EditorRefill, ColumnSelected)
{
    addSecondColumn();
    go(4, 2);
    ASSERT_TRUE(editorOpen());
    w->msub_SelectListRow(2);
    expectEditorTrue("column 2 selected over N");
    EXPECT_EQ(w->txtInput1->text(), "345.00");

    // Making the column current again with a result cell current opens
    // nothing over that cell.
    for (auto [r, c] : {std::pair{13, 18}, {9, 2}, {4, 3}}) {
        go(r, c);
        w->msub_SelectColumn(true);
        expectEditorTrue("column made current again");
        EXPECT_EQ(w->mobjFlexInput1->inputMode(), 0) << r << "," << c;
    }
}

// The ultimate stresses were by hand and are derived again: the cell the
// editor was on is locked now.
TEST_F(EditorRefill, RouteOrModeChanged)
{
    struct Case {
        const char* path;
        int16_t kind;  // 0 ultimate, 1 short-term
        int r, c;
        std::function<void(frmMain&)> change;
    } cases[] = {
        {"route 2 chosen", 0, 4, 14, [](frmMain& m) { m.cmbDRoot->setCurrentIndex(2); }},
        {"ultimate mode toggled", 0, 5, 16, [](frmMain& m) { m.sbStatusBar_PanelDblClick(3); }},
        {"short-term mode toggled", 1, 10, 8, [](frmMain& m) { m.sbStatusBar_PanelDblClick(2); }},
        {"short-term mode set", 1, 4, 4, [](frmMain& m) { m.setCalcMode(1, 0, 999); }},
    };
    for (const Case& k : cases) {
        w->cmbDRoot->setCurrentIndex(3);  // by hand
        w->setCalcMode(k.kind, 1, 999);
        go(13, 18);
        go(k.r, k.c);
        ASSERT_TRUE(editorOpen()) << k.path;
        k.change(*w);
        QApplication::processEvents();
        ASSERT_EQ(k.kind == 0 ? gCond.UltCalcMode : gCond.ShortCalcMode, 0) << k.path;
        expectEditorTrue(k.path);
        EXPECT_FALSE(editorOpen()) << k.path;
    }
}

TEST_F(EditorRefill, StructureSwitched)
{
    go(5, 2);
    ASSERT_TRUE(editorOpen());
    type("20");
    ASSERT_EQ(g->TextMatrix(5, 2), "20.00");
    go(5, 2);
    ASSERT_EQ(w->txtInput1->text(), "20.00");
    gDataChanged = false;  // no save question
    w->optStruc[1]->setChecked(true);
    QApplication::processEvents();
    ASSERT_EQ(gCond.SMode, kFalse);
    expectEditorTrue("switched to SRC");
    EXPECT_NE(w->txtInput1->text(), "20.00");
    gDataChanged = false;
}

TEST_F(EditorRefill, DialogClosedWithOk)
{
    ui::testing::ScriptedUi u;
    ui::testing::ScopedUi scope(u);
    addSecondColumn();
    w->mShowStressInputDialog = [this] {
        setLongTermN(gCurCol, 1305);
        return true;
    };
    go(4, 2);
    ASSERT_TRUE(editorOpen());
    w->cmdInput_Click();
    expectEditorTrue("stress input dialog");
    EXPECT_EQ(w->txtInput1->text(), "1305.00");

    // The options dialog applies its settings through the table refresh.
    w->mShowOptionsDialog = [this] {
        setLongTermN(gCurCol, -195);
        w->refleshTable();
    };
    w->mnuToolsOptions_Click();
    expectEditorTrue("options dialog");
    EXPECT_EQ(w->txtInput1->text(), "-195.00");

    w->mShowSelectKvDialog = [] { gSpecDialogOK = true; };
    w->msub_EditColumnSpec();
    expectEditorTrue("column dialog");
    EXPECT_TRUE(u.messages.empty());
}

// Enter on an editor the refill left alone stores nothing stale.
TEST_F(EditorRefill, EnterAfterARefillStoresNothing)
{
    go(4, 2);
    ASSERT_TRUE(editorOpen());
    setLongTermN(1, 600);
    w->msub_ShowProject();
    QApplication::processEvents();
    if (!editorOpen()) go(4, 2);
    QSignalSpy validate(w->mobjFlexInput1.get(), &zDLFlex8_Vendra::Validate);
    QTest::keyClick(w->txtInput1, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(validate.count(), 0);
    EXPECT_DOUBLE_EQ(gColumns(1).LoadTbl(1, 1) * gUnitFactor, 600);
}

}  // namespace
