// Grid editor keys: moves by mode, wrapping, refusals, edges, caret mode,
// row selection and Delete, header tool tips.
#include "editor_fixture.h"

namespace {

struct MoveCase {
    const char* name;
    int mode;
    int row, col;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    int hiddenRow, hiddenCol;  // -1: none
    int endRow, endCol;
    int afterKeyCode;  // -1: no AfterKeyMove
};

struct Keys : EditorFixture, ::testing::WithParamInterface<MoveCase> {};

TEST_P(Keys, MoveByMode)
{
    const MoveCase& tc = GetParam();
    plainGrid(6, 6);
    if (tc.hiddenRow >= 0) grid->setRowHidden(tc.hiddenRow, true);
    if (tc.hiddenCol >= 0) grid->setColHidden(tc.hiddenCol, true);
    editor->setprpMoveMode(tc.mode);
    showWindow();
    open(tc.row, tc.col);
    QSignalSpy after(editor.get(), &zDLFlex8_Vendra::AfterKeyMove);
    QTest::keyClick(txtInput1, tc.key, tc.mods);
    QApplication::processEvents();
    EXPECT_EQ(grid->Row(), tc.endRow);
    EXPECT_EQ(grid->Col(), tc.endCol);
    EXPECT_EQ(editor->editRow(), tc.endRow);
    EXPECT_EQ(editor->editCol(), tc.endCol);
    if (tc.afterKeyCode < 0) {
        EXPECT_EQ(after.count(), 0);
    } else {
        ASSERT_EQ(after.count(), 1);
        EXPECT_EQ(after[0], (QList<QVariant>{tc.endRow, tc.endCol, tc.afterKeyCode, 0}));
        EXPECT_EQ(txtInput1->selectedText(), txtInput1->text());
    }
    EXPECT_TRUE(editorFocused());
}

constexpr auto None = Qt::NoModifier;

INSTANTIATE_TEST_SUITE_P(
    Flex8, Keys,
    ::testing::Values(
        MoveCase{"m4_enter_right", 4, 1, 1, Qt::Key_Return, None, -1, -1, 1, 2, -1},
        MoveCase{"m4_keypad_enter", 4, 1, 1, Qt::Key_Enter, Qt::KeypadModifier, -1, -1, 1, 2, -1},
        MoveCase{"m4_enter_wraps_to_next_row", 4, 1, 5, Qt::Key_Return, None, -1, -1, 2, 1, -1},
        MoveCase{"m4_wrap_skips_hidden_row", 4, 1, 5, Qt::Key_Return, None, 2, -1, 3, 1, -1},
        MoveCase{"m4_enter_last_cell", 4, 5, 5, Qt::Key_Return, None, -1, -1, 5, 5, 13},
        MoveCase{"m4_shift_enter_left_wraps", 4, 2, 1, Qt::Key_Return, Qt::ShiftModifier, -1, -1, 1, 5, -1},
        MoveCase{"m4_skips_hidden_column", 4, 1, 2, Qt::Key_Return, None, -1, 3, 1, 4, -1},
        MoveCase{"m3_enter_down", 3, 1, 1, Qt::Key_Return, None, -1, -1, 2, 1, -1},
        MoveCase{"m3_enter_wraps_to_next_column", 3, 5, 1, Qt::Key_Return, None, -1, -1, 1, 2, -1},
        MoveCase{"m3_up_wraps_to_previous_column", 3, 1, 2, Qt::Key_Up, None, -1, -1, 5, 1, -1},
        MoveCase{"m3_up_wrap_skips_hidden_last_row", 3, 1, 2, Qt::Key_Up, None, 5, -1, 4, 1, -1},
        MoveCase{"m1_enter_stops_at_edge", 1, 5, 1, Qt::Key_Return, None, -1, -1, 5, 1, 13},
        MoveCase{"m1_shift_enter_up", 1, 3, 1, Qt::Key_Return, Qt::ShiftModifier, -1, -1, 2, 1, -1},
        MoveCase{"m2_right_stops_at_edge", 2, 1, 5, Qt::Key_Right, None, -1, -1, 1, 5, 39},
        MoveCase{"m0_enter_no_move", 0, 2, 2, Qt::Key_Return, None, -1, -1, 2, 2, -1},
        MoveCase{"m0_arrows_move", 0, 2, 2, Qt::Key_Down, None, -1, -1, 3, 2, -1},
        MoveCase{"shift_arrow_never_moves", 4, 2, 2, Qt::Key_Right, Qt::ShiftModifier, -1, -1, 2, 2, -1},
        MoveCase{"ctrl_enter_never_moves", 4, 2, 2, Qt::Key_Return, Qt::ControlModifier, -1, -1, 2, 2, -1}),
    [](const auto& info) { return std::string(info.param.name); });

struct KeysMore : EditorFixture {};

TEST_F(KeysMore, MoveCommitsTheEntryFirst)
{
    plainGrid(6, 6);
    editor->setprpMoveMode(3);
    showWindow();
    open(1, 1);
    log.clear();
    QTest::keyClicks(txtInput1, "7");
    QTest::keyClick(txtInput1, Qt::Key_Return);
    EXPECT_EQ(log, (QStringList{"validate 1,1=7", "enter 2,1"}));
}

TEST_F(KeysMore, EdgeCommitsAndSelectsAll)
{
    plainGrid(6, 6);
    editor->setprpMoveMode(4);
    showWindow();
    open(5, 5);
    QTest::keyClicks(txtInput1, "3");
    QTest::keyClick(txtInput1, Qt::Key_Return);
    EXPECT_EQ(grid->TextMatrix(5, 5), "3");
    EXPECT_EQ(txtInput1->selectedText(), "3");
}

TEST_F(KeysMore, RefusedCandidateMakesTheWalkGoOn)
{
    plainGrid(6, 6);
    editor->setprpMoveMode(4);
    showWindow();
    QList<QPoint> asked;
    QObject::connect(editor.get(), &zDLFlex8_Vendra::BeforeKeyMove, [&](int r, int c, bool* allow) {
        asked << QPoint(c, r);
        if (c == 2) *allow = false;
    });
    open(1, 1);
    QTest::keyClick(txtInput1, Qt::Key_Return);
    EXPECT_EQ(asked, (QList<QPoint>{{2, 1}, {3, 1}}));
    EXPECT_EQ(grid->Col(), 3);
}

TEST_F(KeysMore, OwnerRefusingEverythingEndsAtTheEdge)
{
    plainGrid(4, 4);
    editor->setprpMoveMode(4);
    showWindow();
    QObject::connect(editor.get(), &zDLFlex8_Vendra::BeforeKeyMove, [](int, int, bool* allow) { *allow = false; });
    QSignalSpy after(editor.get(), &zDLFlex8_Vendra::AfterKeyMove);
    open(1, 1);
    QTest::keyClick(txtInput1, Qt::Key_Return);
    EXPECT_EQ(after.count(), 1);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), 1);
}

TEST_F(KeysMore, InsertTogglesCaretModeForLeftAndRight)
{
    plainGrid(6, 6);
    editor->setprpMoveMode(4);
    grid->setTextMatrix(2, 2, "123");
    showWindow();
    open(2, 2);
    QTest::keyClick(txtInput1, Qt::Key_Insert);  // caret to the end
    EXPECT_TRUE(editor->caretMode());
    QTest::keyClick(txtInput1, Qt::Key_Left);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(txtInput1->cursorPosition(), 2);
    QTest::keyClick(txtInput1, Qt::Key_Insert);  // whole text again
    EXPECT_EQ(txtInput1->selectedText(), "123");
    QTest::keyClick(txtInput1, Qt::Key_Right);
    EXPECT_EQ(grid->Col(), 3);
    // Up and Down move even with the caret inside.
    QTest::keyClick(txtInput1, Qt::Key_Insert);
    QTest::keyClick(txtInput1, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 3);
}

TEST_F(KeysMore, DeleteInRowModeReportsRowsAndReachesTheGrid)
{
    plainGrid(8, 4);
    editor->setprpMultiSelect(true);
    showWindow();
    open(2, 2);
    // A click on a row header switches to row mode and closes the editor.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(4, grid->TwipsToPixelsY(grid->CellTop(3, 0)) + 4));
    EXPECT_EQ(grid->SelectionMode(), qtgrid::flexSelectionListBox);
    EXPECT_FALSE(editorShown());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, cellPoint(6, 1));
    QApplication::processEvents();
    QVector<int> rows;
    int count = -1;
    QObject::connect(editor.get(), &zDLFlex8_Vendra::DeleteSelectRows, [&](QVector<int>* r, int n, bool* reflect) {
        rows = *r;
        count = n;
        EXPECT_FALSE(*reflect);
    });
    int seenByGrid = 0;
    QObject::connect(grid, &qtgrid::FlexGrid::KeyDown, [&](int* code, int*) { seenByGrid = *code; });
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(rows, (QVector<int>{0, 3, 6}));
    EXPECT_EQ(seenByGrid, 46);
    // A plain click on a data cell goes back to cell mode.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellPoint(4, 2));
    EXPECT_EQ(grid->SelectionMode(), qtgrid::flexSelectionFree);
    EXPECT_EQ(grid->SelectedRows(), 0);
}

TEST_F(KeysMore, SelectModeOnlyWithMultiSelect)
{
    plainGrid(6, 6);
    showWindow();
    open(2, 2);
    editor->Set_SelectMode(2);
    EXPECT_EQ(grid->SelectionMode(), qtgrid::flexSelectionFree);
    editor->setprpMultiSelect(true);
    editor->Set_SelectMode(2);
    EXPECT_EQ(grid->SelectionMode(), qtgrid::flexSelectionListBox);
    EXPECT_EQ(editor->inputMode(), 0);
    editor->Set_SelectMode(1);
    QApplication::processEvents();
    EXPECT_EQ(grid->SelectionMode(), qtgrid::flexSelectionFree);
    EXPECT_EQ(editor->inputMode(), 3);  // the owner reopened it on the same cell
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Col(), 2);
}

TEST_F(KeysMore, HeaderToolTipsAndTheirClearing)
{
    plainGrid(6, 6);
    editor->setprpToolTip_MultiSelect(true);
    editor->setprpToolTip_Sort(true);
    showWindow();
    QTest::mouseMove(grid->viewport(), QPoint(4, grid->TwipsToPixelsY(grid->CellTop(3, 0)) + 4));
    EXPECT_EQ(grid->ToolTipText(),
              QString::fromUtf8("ドラッグまたはCtl、Shitｷｰを押しながらクリックすると複数選択ができます。"));
    QTest::mouseMove(grid->viewport(), cellPoint(0, 2));
    EXPECT_EQ(grid->ToolTipText(), QString::fromUtf8("項目をクリックすると並べ替えを行います。"));
    QTest::mouseMove(grid->viewport(), cellPoint(3, 3));
    EXPECT_EQ(grid->ToolTipText(), "");
}

TEST_F(KeysMore, HiddenQueries)
{
    plainGrid(6, 6);
    grid->setRowHidden(2, true);
    grid->setColWidth(3, 0);
    EXPECT_EQ(editor->Get_RowHidden(2), -1);
    EXPECT_EQ(editor->Get_RowHidden(1), 0);
    EXPECT_EQ(editor->Get_ColHidden(3), -1);
}

}  // namespace
