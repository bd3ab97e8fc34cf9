// Stresses typed into the table through its in-cell editor, and the refills
// that follow.
#include "entry_fixture.h"

#include "model/column_check.h"
#include "model/format.h"
#include "model/stress.h"
#include "widgets/zDLFlex8_Vendra.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

using namespace mainwintest;
using namespace model;

TEST_F(Entry, LongTermAxialForceGoesToBothDirectionsAndRecalculates)
{
    ASSERT_GT(gUnitFactor, 1.0);  // SI display: the typed value is divided
    go(4, 2);
    ASSERT_TRUE(editorOpen());
    type("10");
    const ColumnDataTbl& col = gColumns(gCurCol);
    for (auto [i, j] : {std::pair{1, 1}, {4, 1}, {1, 2}, {4, 2}}) EXPECT_EQ(col.LoadTbl(i, j), 10 / gUnitFactor);
    EXPECT_TRUE(gDataChanged);
    EXPECT_EQ(g->TextMatrix(4, 2), "10.00");
    EXPECT_EQ(g->TextMatrix(4, 3), "10.00");

    const ColumnResultTbl shown = gResults(gCurCol);
    BuildCurrentDesignStresses();
    CalcColumnByIndex(gCurCol, 0);
    CalcColumnByIndex(gCurCol, 1);
    EXPECT_TRUE(shown == gResults(gCurCol));
    const ColumnResultTbl& r = gResults(gCurCol);
    EXPECT_EQ(g->TextMatrix(6, 2).toStdString(), FormatValue(r.Mu(0, 1), 2));
    EXPECT_EQ(g->TextMatrix(13, 3).toStdString(), "  " + GetJadgeText(r.JadgeQ(1, 1)));
}

TEST_F(Entry, SameTextAgainRaisesNothing)
{
    QSignalSpy validate(w->mobjFlexInput1.get(), &zDLFlex8_Vendra::Validate);
    go(5, 2);
    ASSERT_TRUE(editorOpen());
    const QByteArray same = g->TextMatrix(5, 2).toUtf8();
    type(same.constData());
    EXPECT_EQ(validate.count(), 0);
    EXPECT_FALSE(gDataChanged);
}

TEST_F(Entry, EditorOpensOnlyOnOpenCellsOfTheMode)
{
    g->setCellBackColor(5, 6, frmMain::kOpenColor);
    struct Case {
        int r, c;
        int16_t shortMode;
        bool open;
    } cases[] = {
        {5, 6, 0, false}, {5, 6, 1, true},   // short-term cell by mode
        {4, 3, 1, false},                    // dark grey
        {6, 2, 1, false}, {9, 3, 1, false},  // result rows
        {10, 3, 0, true},
        {5, 12, 1, false},                   // ultimate cell: locked colour
    };
    for (const auto& c : cases) {
        gCond.ShortCalcMode = c.shortMode;
        go(13, 18);
        go(c.r, c.c);
        EXPECT_EQ(editorOpen(), c.open) << c.r << "," << c.c << " mode " << c.shortMode;
    }
}

TEST_F(Entry, SnowKeepsCaseFiveCellsEmptyAfterEveryRefill)
{
    gShortLoadKind = 2;
    auto caseFiveEmpty = [&] {
        for (int c : {6, 10})
            for (int r : {4, 5, 10}) EXPECT_EQ(g->TextMatrix(r, c), "") << r << "," << c;
    };
    w->refleshTable();
    caseFiveEmpty();
    go(5, 2);
    type("3");
    caseFiveEmpty();
    EXPECT_EQ(g->TextMatrix(4, 4), "0.00");
}

TEST_F(Entry, CommitRefillsResultsWhileAutoRefreshIsOff)
{
    gAutoRefresh = false;
    for (int r : {6, 7, 11}) g->setTextMatrix(r, 2, "x");
    go(5, 2);
    type("4");
    EXPECT_NE(g->TextMatrix(6, 2), "x");
    EXPECT_FALSE(gAutoRefresh);

    // Changes that wait for the button: the fill alone keeps the rows.
    for (int r : {6, 7, 11}) g->setTextMatrix(r, 3, "x");
    g->setTextMatrix(5, 3, "x");
    CalcColumnByIndex(gCurCol, 1);
    w->msub_FillResultTable(1);
    EXPECT_EQ(g->TextMatrix(6, 3), "x");
    w->cmdFlgReflesh_Click();
    EXPECT_NE(g->TextMatrix(6, 3), "x");
    EXPECT_EQ(g->TextMatrix(5, 3), "0.00");
    EXPECT_FALSE(gAutoRefresh);
}

TEST_F(Entry, RefreshButtonDoesNothingWhileAutoRefreshIsOn)
{
    g->setTextMatrix(6, 2, "x");
    w->cmdFlgReflesh_Click();
    EXPECT_EQ(g->TextMatrix(6, 2), "x");
}

TEST_F(Entry, SelectingAColumnKeepsTheChangedMark)
{
    gCond.ColCount = 2;
    gColumns.redimPreserve(2);
    gKvBase.redimPreserve(2);
    gResults.redimPreserve(2);
    gColumns(2) = gColumns(1);
    gColumns(2).LoadTbl(2, 1) = 3;
    gKvBase(2) = gKvBase(1);
    for (bool changed : {false, true}) {
        gDataChanged = changed;
        w->msub_SelectListRow(2);
        EXPECT_EQ(gCurCol, 2);
        EXPECT_EQ(g->TextMatrix(5, 2).toStdString(), FormatValue(3 * gUnitFactor, 2));
        w->msub_SelectListRow(1);
        EXPECT_EQ(gCurCol, 1);
        EXPECT_EQ(gDataChanged, changed);
    }
}

TEST_F(Entry, UnusableUnitFactorStoresNothing)
{
    for (double factor : {0.0, -1.0, std::numeric_limits<double>::infinity(), std::nan("")}) {
        gUnitFactor = factor;
        const LoadTable before = gColumns(gCurCol).LoadTbl;
        g->setTextMatrix(6, 2, "x");
        go(13, 18);
        go(4, 2);
        ASSERT_TRUE(editorOpen());
        type("7");
        EXPECT_TRUE(gColumns(gCurCol).LoadTbl == before) << factor;
        EXPECT_FALSE(gDataChanged) << factor;
        EXPECT_EQ(g->TextMatrix(6, 2), "x") << factor;  // nothing recalculated
    }
}

}  // namespace
