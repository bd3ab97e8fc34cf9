// Grid in-cell editor: opening, committing, reverting and following the grid.
#include "editor_fixture.h"

#include "../platform/qt_grid/glyph_ink.h"
#include "platform/qt/font_map.h"
#include "../platform/qt_grid/grid_layouts.h"

#include <QScrollBar>

namespace {

struct Flex8 : EditorFixture {
    QSignalSpy* validate = nullptr;
    void SetUp() override
    {
        EditorFixture::SetUp();
        validate = new QSignalSpy(editor.get(), &zDLFlex8_Vendra::Validate);
    }
    void TearDown() override
    {
        delete validate;
        EditorFixture::TearDown();
    }
};

TEST(Flex8Creation, NeedsTheSystemMetrics)
{
    auto saved = model::gzDLGetSys;
    model::gzDLGetSys.reset();
    EXPECT_THROW(zDLFlex8_Vendra{}, std::runtime_error);
    model::gzDLGetSys = saved;
}

TEST_F(Flex8, OpensOverTheCellWithItsText)
{
    plainGrid(6, 6);
    showWindow();
    open(2, 3);
    EXPECT_EQ(editor->inputMode(), 3);
    EXPECT_TRUE(editorShown());
    EXPECT_TRUE(editorFocused());
    EXPECT_EQ(txtInput1->text(), "23");
    EXPECT_EQ(txtInput1->selectedText(), "23");
    EXPECT_EQ(fraInput1->parentWidget(), grid->viewport());
    EXPECT_EQ(fraInput1->x(), grid->TwipsToPixelsX(grid->CellLeft(2, 3)));
    EXPECT_EQ(fraInput1->y(), grid->TwipsToPixelsY(grid->CellTop(2, 3)));
    EXPECT_EQ(filter.textBox()->Text(), "23");  // the filter guards the box
}

// In a 600-twip cell a value wider than the box is shown whole, condensed,
// rather than scrolled to its last digits; a short one keeps the box's face.
TEST_F(Flex8, WideValuesShowWholeInTheEditor)
{
    window.setFont(QFont(vbqt::mapVbFontName(QStringLiteral("ＭＳ Ｐゴシック")), 9));  // the windows' face
    plainGrid(3, 6);
    for (int c = 1; c < 6; ++c) grid->setColWidth(c, 600);
    const QString texts[] = {"-99999.99", "-1305.00", "1338.19", "999999.99", "0.00"};
    for (int c = 1; c < 6; ++c) grid->setTextMatrix(1, c, texts[c - 1]);
    showWindow();
    const QFont face = txtInput1->font();
    // The glyphs the box shows whole; no selection and no caret in the
    // picture, so that only the glyphs are ink.
    const auto glyphsShown = [&] {
        txtInput1->deselect();
        txtInput1->setReadOnly(true);
        const QImage img = inkread::Render(*txtInput1);
        txtInput1->setReadOnly(false);
        const inkread::Ink ink = inkread::InkIn(img, txtInput1->rect());
        const bool inside = img.rect().adjusted(1, 0, -1, 0).contains(ink.box);
        return inside ? ink.runs : -1;
    };
    for (int c = 1; c < 6; ++c) {
        const QString& text = texts[c - 1];
        open(1, c);
        ASSERT_EQ(txtInput1->text(), text);
        EXPECT_EQ(glyphsShown(), text.size()) << text.toStdString();
        EXPECT_EQ(txtInput1->font() == face, text == "0.00") << text.toStdString();
    }
    // A value being typed stays whole too.
    txtInput1->selectAll();
    QTest::keyClicks(txtInput1, "-99999.125");
    ASSERT_EQ(txtInput1->text(), "-99999.125");
    EXPECT_EQ(glyphsShown(), 10);
}

TEST_F(Flex8, TypingAndEnterCommitWithGeneralNumberText)
{
    plainGrid(6, 6);
    editor->setprpMoveMode(4);
    showWindow();
    open(1, 1);
    QTest::keyClicks(txtInput1, "12.50");
    QTest::keyClick(txtInput1, Qt::Key_Return);
    ASSERT_EQ(validate->count(), 1);
    const auto args = validate->at(0);
    EXPECT_EQ(args[0].toInt(), 1);
    EXPECT_EQ(args[1].toInt(), 1);
    EXPECT_EQ(args[2].typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(args[2].toDouble(), 12.5);
    EXPECT_TRUE(args[3].toBool());
    EXPECT_EQ(grid->TextMatrix(1, 1), "12.5");
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(editor->editCol(), 2);
    EXPECT_TRUE(editorFocused());
    EXPECT_EQ(log, (QStringList{"validate 1,1=12.5", "enter 1,2"}));
}

TEST_F(Flex8, EqualNumbersRaiseNothing)
{
    plainGrid(6, 6);
    grid->setTextMatrix(1, 1, "1.5");
    grid->setTextMatrix(1, 2, "2.000");
    showWindow();
    for (bool comma : {false, true}) {
        filter.setprpComma(comma);
        open(1, 1);
        QTest::keyClicks(txtInput1, "1.50");
        editor->RaiseValidate();
        open(1, 2);
        QTest::keyClicks(txtInput1, "2");
        editor->RaiseValidate();
    }
    EXPECT_EQ(validate->count(), 0);
    EXPECT_EQ(grid->TextMatrix(1, 1), "1.5");
    EXPECT_EQ(grid->TextMatrix(1, 2), "2.000");
}

TEST_F(Flex8, EmptyEntryAndDotMarks)
{
    plainGrid(6, 6);
    grid->setTextMatrix(1, 2, ".");
    showWindow();
    filter.setprpAllowEmpty(true);
    filter.setprpDotMark(true);
    open(1, 1);
    QTest::keyClick(txtInput1, Qt::Key_Backspace);
    editor->RaiseValidate();
    ASSERT_EQ(validate->count(), 1);
    EXPECT_EQ(validate->at(0)[2].typeId(), QMetaType::QString);
    EXPECT_EQ(validate->at(0)[2].toString(), "");
    EXPECT_EQ(grid->TextMatrix(1, 1), "");
    open(1, 2);
    QTest::keyClick(txtInput1, Qt::Key_Period);  // "." over "." is still raised
    editor->RaiseValidate();
    ASSERT_EQ(validate->count(), 2);
    EXPECT_EQ(validate->at(1)[2].toString(), ".");
    EXPECT_EQ(grid->TextMatrix(1, 2), ".");
}

TEST_F(Flex8, InvalidEntryShowsTheCellAgain)
{
    plainGrid(6, 6);
    showWindow();
    open(1, 1);
    txtInput1->setText("150000");  // pasted: the filter judges it on commit
    editor->RaiseValidate();
    EXPECT_EQ(validate->count(), 0);
    EXPECT_EQ(grid->TextMatrix(1, 1), "11");
    EXPECT_EQ(txtInput1->text(), "11");
    EXPECT_EQ(editor->inputMode(), 3);
}

TEST_F(Flex8, EscRestoresAndStaysOpen)
{
    plainGrid(6, 6);
    showWindow();
    open(2, 2);
    QTest::keyClicks(txtInput1, "99");
    QTest::keyClick(txtInput1, Qt::Key_Escape);
    EXPECT_EQ(txtInput1->text(), "22");
    EXPECT_EQ(txtInput1->selectedText(), "22");
    EXPECT_EQ(editor->inputMode(), 3);
    EXPECT_TRUE(editorShown());
    EXPECT_EQ(validate->count(), 0);
}

TEST_F(Flex8, ClickOnAnotherCellCommitsToTheOldCellFirst)
{
    plainGrid(6, 6);
    showWindow();
    open(1, 1);
    log.clear();
    QTest::keyClicks(txtInput1, "5");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellPoint(3, 3));
    QApplication::processEvents();
    EXPECT_EQ(log, (QStringList{"validate 1,1=5", "enter 3,3"}));
    EXPECT_EQ(grid->TextMatrix(1, 1), "5");
    EXPECT_EQ(editor->editRow(), 3);
    EXPECT_TRUE(editorFocused());
    EXPECT_EQ(txtInput1->text(), "33");
}

TEST_F(Flex8, FocusLeavingForAnotherControlCommits)
{
    plainGrid(6, 6);
    showWindow();
    open(1, 1);
    QTest::keyClicks(txtInput1, "8");
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(validate->count(), 1);
    EXPECT_EQ(grid->TextMatrix(1, 1), "8");
}

TEST_F(Flex8, ResetDropsAPendingEntry)
{
    plainGrid(6, 6);
    showWindow();
    open(1, 1);
    QTest::keyClicks(txtInput1, "77");
    editor->Input_Reset(true);
    EXPECT_EQ(validate->count(), 0);
    EXPECT_EQ(grid->TextMatrix(1, 1), "11");
    EXPECT_FALSE(editorShown());
    EXPECT_EQ(editor->inputMode(), 0);
    EXPECT_TRUE(grid->hasFocus());
}

TEST_F(Flex8, LockedEditorNeverCommits)
{
    plainGrid(6, 6);
    showWindow();
    grid->setFocus();
    grid->Select(2, 2);
    editor->Input_Reset(true);
    editor->Input_TextLocked();
    EXPECT_TRUE(editorShown());
    EXPECT_TRUE(txtInput1->isReadOnly());
    QTest::keyClicks(txtInput1, "4");
    EXPECT_EQ(txtInput1->text(), "22");
    txtInput1->setText("4");
    editor->RaiseValidate();
    other->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(validate->count(), 0);
    EXPECT_EQ(grid->TextMatrix(2, 2), "22");
}

TEST_F(Flex8, EditTextOnlyWhileOpen)
{
    plainGrid(6, 6);
    showWindow();
    editor->EditText("9");
    EXPECT_EQ(grid->TextMatrix(grid->Row(), grid->Col()), "11");
    open(2, 2);
    editor->EditText("9");
    EXPECT_EQ(grid->TextMatrix(2, 2), "9");
    EXPECT_EQ(txtInput1->text(), "9");
    EXPECT_EQ(validate->count(), 0);
    EXPECT_EQ(editor->oldText(), "22");
}

TEST_F(Flex8, HiddenCellOpensWithoutShowingAndRowModeClosesIt)
{
    plainGrid(6, 6);
    grid->setColHidden(3, true);
    showWindow(560, 400);
    open(4, 3);  // a hidden column
    EXPECT_EQ(editor->inputMode(), 3);
    EXPECT_FALSE(editorShown());
    open(4, 2);
    EXPECT_TRUE(editorShown());
    grid->setSelectionMode(qtgrid::flexSelectionListBox);
    editor->Input_Text(&filter);
    EXPECT_EQ(editor->inputMode(), 0);
    EXPECT_FALSE(editorShown());
}

TEST_F(Flex8, MergedCellStartsAtTheFirstCellOfTheRange)
{
    plainGrid(6, 6);
    grid->setMergeCells(qtgrid::flexMergeFree);
    grid->setMergeRow(2, true);
    grid->setTextMatrix(2, 2, "A");
    grid->setTextMatrix(2, 3, "A");
    showWindow();
    open(2, 3);
    EXPECT_EQ(fraInput1->x(), grid->TwipsToPixelsX(grid->CellLeft(2, 2)));
    EXPECT_EQ(fraInput1->width(), grid->TwipsToPixelsX(grid->CellWidth(2, 3) - grid->TwipsPerPixelX()));
}

struct Flex8Scroll : Flex8 {
    void layout(int height)
    {
        gridtest::LayoutStressInput(*grid, false);
        for (int r = 0; r < 32; ++r) grid->setRowHeight(r, 300);
        showWindow(360, height);
    }
};

TEST_F(Flex8Scroll, LastRowHiddenBeforeResizeShownAfter)
{
    layout(900);  // every row fits: the last row is BottomRow
    ASSERT_EQ(grid->BottomRow(), 31);
    zDLFlex8_Vendra fresh;  // never resized
    fresh.setprpFlex(grid);
    auto* frame = new QFrame(&window);
    auto* box = new QLineEdit(frame);
    fresh.setprpInputContainer(frame);
    fresh.setprpInputTextBox(box);
    editor->setprpFlex(nullptr);
    grid->Select(31, 2);
    fresh.Input_Text(&filter);
    EXPECT_TRUE(frame->isVisible());
    grid->setColWidth(3, 700);  // a layout notification
    EXPECT_FALSE(frame->isVisible());
    fresh.Resize();
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(Flex8Scroll, ScrolledOutCommitsAndTheEditorComesBack)
{
    layout(260);
    open(3, 2);
    QTest::keyClicks(txtInput1, "6");
    grid->setTopRow(12);
    QApplication::processEvents();
    ASSERT_EQ(validate->count(), 1);
    EXPECT_EQ(grid->TextMatrix(3, 2), "6");
    EXPECT_FALSE(editorShown());
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(editor->inputMode(), 3);
    grid->setTopRow(2);
    QApplication::processEvents();
    EXPECT_TRUE(editorShown());
    EXPECT_TRUE(editorFocused());
    EXPECT_EQ(validate->count(), 1);
}

TEST_F(Flex8Scroll, ScrollBarDragGoesOnWhileTheFocusMoves)
{
    layout(260);
    open(3, 2);
    QTest::keyClicks(txtInput1, "6");
    QScrollBar* bar = grid->verticalScrollBar();
    ASSERT_GT(bar->maximum(), bar->minimum() + 5);
    const QPoint handle(bar->width() / 2, bar->width() + 4);
    QTest::mousePress(bar, Qt::LeftButton, {}, handle);
    for (int dy = 10; dy <= 80; dy += 10) QTest::mouseMove(bar, handle + QPoint(0, dy));
    const int midway = bar->value();
    EXPECT_GT(midway, bar->minimum());
    EXPECT_EQ(validate->count(), 1);  // committed when the cell left the view
    EXPECT_TRUE(grid->hasFocus());
    QTest::mouseMove(bar, handle + QPoint(0, 120));
    EXPECT_GT(bar->value(), midway);  // the drag is still on
    QTest::mouseRelease(bar, Qt::LeftButton, {}, handle + QPoint(0, 120));
}

}  // namespace
