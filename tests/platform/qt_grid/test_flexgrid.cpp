// The grid control: merged headers, hidden rows and columns, scrolling by
// whole rows with its notification, geometry, mouse and keys.
#include "glyph_ink.h"
#include "grid_layouts.h"
#include "mainwin/frmMain.h"
#include "platform/qt/grid/vbkeys.h"

#include <QDir>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

using qtgrid::FlexGrid;

struct Range {
    int r1, c1, r2, c2;
    bool operator==(const Range&) const = default;
};

Range Merged(const FlexGrid& g, int r, int c)
{
    Range x{};
    g.GetMergedRange(r, c, x.r1, x.c1, x.r2, x.c2);
    return x;
}

// The main window's stress and result table, laid out by the window. It is
// shown in a plain window: showing the main window loads the whole program.
struct StressTable : ::testing::Test {
    frmMain w;
    FlexGrid& g = *w.grdView1;
    QWidget host;
    void SetUp() override { w.msub_InitResultTable(); }
    void show(int width, int height)
    {
        g.setParent(&host);
        host.resize(width + 40, height + 40);
        host.show();
        g.resize(width, height);
    }
};

TEST_F(StressTable, HeadersMergeAsLaidOut)
{
    struct Case {
        int r, c;
        Range expected;
    } cases[] = {
        {0, 0, {0, 0, 3, 1}},    // empty corner block
        {2, 1, {0, 0, 3, 1}},
        {0, 2, {0, 2, 0, 3}},    // 長期
        {0, 7, {0, 4, 0, 11}},   // 短期
        {0, 12, {0, 12, 0, 19}}, // 終局
        {1, 2, {1, 2, 3, 2}},    // X over the header rows
        {2, 3, {1, 3, 3, 3}},
        {1, 4, {1, 4, 1, 7}},
        {2, 4, {2, 4, 2, 5}},    // one L per visible column
        {3, 4, {3, 4, 3, 4}},    // row 3 does not merge across
        {5, 0, {5, 0, 8, 0}},    // moment label
        {10, 0, {10, 0, 13, 0}},
        {9, 0, {9, 0, 9, 1}},    // zone label across both label columns
        {4, 1, {4, 1, 4, 1}},    // 応力 and " 応力 " stay apart
        {5, 1, {5, 1, 5, 1}},
        {4, 2, {4, 2, 4, 2}},    // data cells never merge
    };
    for (const auto& c : cases) EXPECT_EQ(Merged(g, c.r, c.c), c.expected) << c.r << "," << c.c;
}

TEST_F(StressTable, HiddenColumnsTakeNoRoomAndShowInThePicture)
{
    show(560, 400);
    for (int c = 5; c <= 19; c += 2) EXPECT_FALSE(g.ColIsVisible(c)) << c;
    for (int c : {2, 3, 4, 6, 8, 10, 12, 14, 16, 18}) EXPECT_TRUE(g.ColIsVisible(c)) << c;
    EXPECT_FALSE(g.RowIsVisible(3));
    EXPECT_EQ(g.CellLeft(4, 6), g.CellLeft(4, 4) + 600);
    EXPECT_EQ(g.CellTop(4, 2), g.CellTop(2, 2) + g.RowHeight(2));
    EXPECT_EQ(g.CellWidth(0, 4), 4 * 600);  // 短期 over four visible columns
    EXPECT_EQ(g.CellHeight(1, 2), 2 * g.RowHeight(1));

    const QImage img = g.viewport()->grab().toImage();
    QDir().mkpath(KV_TEST_OUT);
    ASSERT_TRUE(img.save(QStringLiteral(KV_TEST_OUT "/stress_table.png")));
    const int px = g.TwipsToPixelsX(600);
    const QRgb line = qtgrid::OleToColor(qtgrid::kSysButtonFace, g.palette()).darker(140).rgb();
    const int yRow0 = g.TwipsToPixelsY(g.CellTop(0, 4)) + 2;
    const int yRow2 = g.TwipsToPixelsY(g.CellTop(2, 4)) + 2;
    const int xEnd4 = 5 * px - 1;  // last pixel of column 4
    EXPECT_NE(img.pixel(xEnd4, yRow0), line) << "短期 is one cell";
    EXPECT_EQ(img.pixel(xEnd4, yRow2), line) << "L is one cell per column";
    // Ten visible data columns after the two label columns, then nothing.
    const int yData = g.TwipsToPixelsY(g.CellTop(6, 2)) + 5;
    const QRgb locked = qtgrid::OleToColor(qtgrid::kSysActiveBorder, g.palette()).rgb();
    EXPECT_EQ(img.pixel(12 * px - 5, yData), locked);
    EXPECT_NE(img.pixel(12 * px + 5, yData), locked);
}

// A value wider than its 600-twip cell is condensed, never cut: every glyph
// of it is inked inside the cell. A value that fits is drawn at its width.
TEST_F(StressTable, WideValuesAreCondensedWholeInsideTheirCells)
{
    show(900, 400);
    struct Case {
        int c;
        QString text;
        bool fits;
    } cases[] = {
        {2, "-99999.99", false}, {10, "-1305.00", false}, {4, "1338.19", false},
        {6, "999999.99", false}, {8, "0.00", true},
    };
    for (const Case& k : cases) g.setTextMatrix(4, k.c, k.text);
    const QImage img = inkread::Render(*g.viewport());
    const int line = g.GridLineWidth();
    for (const Case& k : cases) {
        const QRect cellPx(g.TwipsToPixelsX(g.CellLeft(4, k.c)), g.TwipsToPixelsY(g.CellTop(4, k.c)),
                           g.TwipsToPixelsX(g.CellWidth(4, k.c)) - line, g.TwipsToPixelsY(g.CellHeight(4, k.c)) - line);
        const inkread::Ink ink = inkread::InkIn(img, cellPx);
        EXPECT_EQ(ink.runs, k.text.size()) << k.text.toStdString();
        const QRect inner(cellPx.topLeft() * inkread::kZoom, cellPx.size() * inkread::kZoom);
        EXPECT_TRUE(inner.adjusted(inkread::kZoom, 0, -inkread::kZoom, 0).contains(ink.box)) << k.text.toStdString();
        const inkread::Ink plain = inkread::PlainInk(k.text, g.font());
        ASSERT_EQ(plain.runs, k.text.size()) << "the glyphs of the plain text stand apart";
        if (k.fits)
            EXPECT_NEAR(ink.box.width(), plain.box.width(), inkread::kZoom) << k.text.toStdString();
        else
            EXPECT_LT(ink.box.width(), plain.box.width()) << k.text.toStdString();
    }
}

// The rows a reader sees from TopRow down, hidden ones skipped.
int ExpectedBottom(const FlexGrid& g)
{
    const int rowPx = g.TwipsToPixelsY(300);
    int band = 0;
    for (int r = 0; r < g.FixedRows(); ++r)
        if (!g.RowHidden(r)) band += rowPx;
    int y = band, last = g.TopRow();
    for (int r = g.TopRow(); r < g.Rows() && y < g.viewport()->height(); ++r) {
        if (g.RowHidden(r)) continue;
        last = r;
        y += rowPx;
    }
    return last;
}

struct InputGrid : ::testing::Test {
    FlexGrid g;
    void SetUp() override
    {
        gridtest::LayoutStressInput(g, false);
        for (int r = 0; r < 32; ++r) g.setRowHeight(r, 300);
        g.resize(300, 250);
        g.show();
    }
};

TEST_F(InputGrid, ScrollingReportsRowsAndOldAndNewValues)
{
    QSignalSpy spy(&g, &FlexGrid::AfterScroll);
    EXPECT_EQ(g.TopRow(), 2);
    EXPECT_EQ(g.BottomRow(), ExpectedBottom(g));
    g.setTopRow(10);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0], (QList<QVariant>{2, 2, 10, 2}));
    EXPECT_EQ(g.BottomRow(), ExpectedBottom(g));
    EXPECT_FALSE(g.RowIsVisible(5));  // scrolled away under the header
    EXPECT_TRUE(g.RowIsVisible(1));
    EXPECT_TRUE(g.RowIsVisible(10));
    EXPECT_FALSE(g.RowIsVisible(g.BottomRow() + 1));

    g.verticalScrollBar()->setValue(12);  // the user drags the bar
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[1], (QList<QVariant>{10, 2, 12, 2}));

    g.setTopRow(100);  // clamped: the last row ends the view
    EXPECT_EQ(g.BottomRow(), 31);
    EXPECT_LT(g.TopRow(), 31);
    g.setTopRow(g.TopRow());
    EXPECT_EQ(spy.count(), 3);  // no change, no notification
}

TEST_F(InputGrid, HiddenRowsAreSkippedWhenCountingTheView)
{
    for (int r = 11; r <= 19; ++r) g.setRowHidden(r, true);
    g.setTopRow(8);
    EXPECT_EQ(g.BottomRow(), ExpectedBottom(g));
    EXPECT_GE(g.BottomRow(), 20);
    EXPECT_EQ(g.CellTop(20, 2), g.CellTop(10, 2) + 300);
}

TEST_F(InputGrid, ShowCellScrollsOnceAndGeometryFollows)
{
    QSignalSpy spy(&g, &FlexGrid::AfterScroll);
    g.ShowCell(30, 3);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(g.BottomRow(), ExpectedBottom(g));
    EXPECT_GE(g.BottomRow(), 30);
    const int top = g.CellTop(30, 3) + g.CellHeight(30, 3);
    EXPECT_LE(top, static_cast<int>(g.viewport()->height() * g.TwipsPerPixelY()));
    g.ShowCell(30, 3);
    EXPECT_EQ(spy.count(), 1);
    g.ShowCell(2, 2);
    EXPECT_EQ(g.TopRow(), 2);
    EXPECT_EQ(g.CellTop(2, 2), 300);  // right under the one shown header row
}

TEST_F(InputGrid, MergedTitlesFollowTheColumnBefore)
{
    EXPECT_EQ(Merged(g, 3, 0), (Range{2, 0, 4, 0}));
    EXPECT_EQ(Merged(g, 3, 1), (Range{3, 1, 3, 1}));
}

TEST_F(InputGrid, MouseClickMovesCurrentCellUnlessCancelled)
{
    QSignalSpy enter(&g, &FlexGrid::EnterCell);
    QSignalSpy click(&g, &FlexGrid::Click);
    const QPoint at(g.TwipsToPixelsX(g.CellLeft(4, 3)) + 5, g.TwipsToPixelsY(g.CellTop(4, 3)) + 5);
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(g.Row(), 4);
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(g.MouseRow(), 4);
    EXPECT_EQ(g.MouseCol(), 3);
    EXPECT_EQ(enter.count(), 1);
    EXPECT_EQ(click.count(), 1);

    auto c = QObject::connect(&g, &FlexGrid::BeforeMouseDown, [](int, int, float, float, bool* cancel) { *cancel = true; });
    const QPoint other(g.TwipsToPixelsX(g.CellLeft(5, 2)) + 5, g.TwipsToPixelsY(g.CellTop(5, 2)) + 5);
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, other);
    EXPECT_EQ(g.Row(), 4);
    QObject::disconnect(c);
    // Headers do not become current.
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(g.Row(), 4);
    EXPECT_EQ(g.Col(), 3);
}

TEST_F(InputGrid, ListBoxRowsByCtrlAndShift)
{
    g.setSelectionMode(qtgrid::flexSelectionListBox);
    auto rowPoint = [&](int r) {
        return QPoint(g.TwipsToPixelsX(g.CellLeft(r, 2)) + 5, g.TwipsToPixelsY(g.CellTop(r, 2)) + 5);
    };
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, rowPoint(3));
    QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::ControlModifier, rowPoint(5));
    ASSERT_EQ(g.SelectedRows(), 2);
    EXPECT_EQ(g.SelectedRow(0), 3);
    EXPECT_EQ(g.SelectedRow(1), 5);
    QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::ShiftModifier, rowPoint(7));
    ASSERT_EQ(g.SelectedRows(), 3);
    EXPECT_EQ(g.SelectedRow(2), 7);
    QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::ControlModifier, rowPoint(6));
    EXPECT_EQ(g.SelectedRows(), 2);
    g.setSelectionMode(qtgrid::flexSelectionFree);
    EXPECT_EQ(g.SelectedRows(), 0);
}

// Setting the row from code selects it in list-box mode from the first data
// row on; a fixed row does not become selected.
TEST_F(InputGrid, ListBoxRowFromCodeStartsAtTheFirstDataRow)
{
    g.setSelectionMode(qtgrid::flexSelectionListBox);
    ASSERT_EQ(g.FixedRows(), 2);
    const std::function<void(int)> byCode[] = {[&](int r) { g.setRow(r); },
                                               [&](int r) { g.Select(r, 2); }};
    for (const auto& set : byCode) {
        set(4);
        set(2);
        ASSERT_EQ(g.SelectedRows(), 1);
        EXPECT_EQ(g.SelectedRow(0), 2);
        set(1);
        ASSERT_EQ(g.SelectedRows(), 1);
        EXPECT_EQ(g.SelectedRow(0), 2);
    }
}

TEST_F(StressTable, ArrowsSkipHiddenAndAHandlerCanTakeTheKey)
{
    show(560, 400);
    g.setFocus();
    g.Select(4, 4);
    QTest::keyClick(&g, Qt::Key_Right);
    EXPECT_EQ(g.Col(), 6);
    QList<int> codes;
    auto c = QObject::connect(&g, &FlexGrid::KeyDown, [&](int* code, int*) {
        codes << *code;
        if (*code == qtgrid::vbKeyLeft) *code = 0;
    });
    QTest::keyClick(&g, Qt::Key_Left);
    EXPECT_EQ(g.Col(), 6);
    QTest::keyClick(&g, Qt::Key_Down);
    EXPECT_EQ(g.Row(), 5);
    QTest::keyClick(&g, Qt::Key_Up);
    QTest::keyClick(&g, Qt::Key_Up);  // row 3 is a hidden header row: stays
    EXPECT_EQ(g.Row(), 4);
    QObject::disconnect(c);
    EXPECT_EQ(codes, (QList<int>{37, 40, 38, 38}));
}

}  // namespace

TEST(FlexGridRows, AddItemAndRemoveItemMoveTheRowsBelow)
{
    FlexGrid g;
    g.setCols(3);
    g.setRows(4);
    for (int r = 1; r < 4; ++r) {
        g.setTextMatrix(r, 0, QString::number(r));
        g.setCellBackColor(r, 1, 0x100u + r);
    }
    g.setRowHeight(2, 600);
    g.AddItem(QStringLiteral("a\tb\tc\td"), 2);  // texts beyond the last column are dropped
    ASSERT_EQ(g.Rows(), 5);
    const QStringList col0 = {"1", "a", "2", "3"};
    for (int r = 1; r < 5; ++r) EXPECT_EQ(g.TextMatrix(r, 0), col0[r - 1]) << r;
    EXPECT_EQ(g.TextMatrix(2, 2), "c");
    EXPECT_EQ(g.CellBackColor(3, 1), 0x102u);
    EXPECT_EQ(g.RowHeight(3), 600);
    EXPECT_NE(g.RowHeight(2), 600);

    g.AddItem(QStringLiteral("end"));
    EXPECT_EQ(g.Rows(), 6);
    EXPECT_EQ(g.TextMatrix(5, 0), "end");
    g.AddItem(QString(), 99);  // past the end appends
    EXPECT_EQ(g.Rows(), 7);

    g.RemoveItem(2);
    ASSERT_EQ(g.Rows(), 6);
    EXPECT_EQ(g.TextMatrix(2, 0), "2");
    EXPECT_EQ(g.CellBackColor(2, 1), 0x102u);
    EXPECT_EQ(g.RowHeight(2), 600);
    g.RemoveItem(-1);
    g.RemoveItem(6);
    EXPECT_EQ(g.Rows(), 6);
}

TEST(FlexGridRows, ByRowTheCurrentRowIsShownSelected)
{
    FlexGrid g;
    g.setCols(3);
    g.setRows(4);
    g.setFixedCols(0);
    g.setSelectionMode(qtgrid::flexSelectionByRow);
    g.resize(300, 120);
    g.setRow(2);
    const QImage img = g.grab().toImage();
    const QColor highlight = g.palette().color(QPalette::Highlight);
    int highlighted = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) highlighted += img.pixelColor(x, y) == highlight;
    EXPECT_GT(highlighted, 0);
    g.setSelectionMode(qtgrid::flexSelectionFree);
    const QImage freeImg = g.grab().toImage();
    int stillHighlighted = 0;
    for (int y = 0; y < freeImg.height(); ++y)
        for (int x = 0; x < freeImg.width(); ++x) stillHighlighted += freeImg.pixelColor(x, y) == highlight;
    EXPECT_EQ(stillHighlighted, 0);
}
