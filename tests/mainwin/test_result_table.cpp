// The stress and result table: its layout, the fill of the result rows and a
// picture of the filled table.
#include "window_fixture.h"

#include "model/column_check.h"
#include "model/format.h"

#include <QDir>
#include <QImage>

namespace {

using namespace mainwintest;
using namespace model;

struct Range {
    int r1, c1, r2, c2;
    bool operator==(const Range&) const = default;
};

Range Merged(const qtgrid::FlexGrid& g, int r, int c)
{
    Range x{};
    g.GetMergedRange(r, c, x.r1, x.c1, x.r2, x.c2);
    return x;
}

using TableLayout = WindowTest;

TEST_F(TableLayout, HeadersMergeIntoBlocks)
{
    struct Case {
        int r, c;
        Range expected;
    } cases[] = {
        {0, 0, {0, 0, 3, 1}},    // one empty corner block
        {3, 1, {0, 0, 3, 1}},
        {0, 2, {0, 2, 0, 3}},    // 長期
        {0, 7, {0, 4, 0, 11}},   // 短期
        {0, 19, {0, 12, 0, 19}}, // 終局
        {1, 2, {1, 2, 3, 2}},    // X over the header rows
        {1, 16, {1, 16, 1, 19}},
        {2, 6, {2, 6, 2, 7}},    // one R per visible column
        {5, 0, {5, 0, 8, 0}},    // moment label
        {10, 0, {10, 0, 13, 0}},
        {9, 0, {9, 0, 9, 1}},    // zone label across both label columns
        {4, 1, {4, 1, 4, 1}},    // 応力 and " 応力 " stay apart
        {5, 1, {5, 1, 5, 1}},
        {6, 12, {6, 12, 6, 12}}, // data cells never merge
    };
    for (const auto& c : cases) EXPECT_EQ(Merged(*g, c.r, c.c), c.expected) << c.r << "," << c.c;
    EXPECT_EQ(g->TextMatrix(5, 1), QStringLiteral(" 応力 "));
    EXPECT_EQ(g->TextMatrix(5, 0), QStringLiteral("曲げﾓｰﾒﾝﾄ"));
}

TEST_F(TableLayout, VisibleColumnsAndColours)
{
    EXPECT_EQ(g->Rows(), 14);
    EXPECT_EQ(g->Cols(), 20);
    QList<int> visible;
    for (int c = 2; c < 20; ++c)
        if (!g->ColHidden(c)) visible << c;
    EXPECT_EQ(visible, (QList<int>{2, 3, 4, 6, 8, 10, 12, 14, 16, 18}));
    EXPECT_TRUE(g->RowHidden(3));
    for (int c = 0; c < 20; ++c) EXPECT_EQ(g->ColWidth(c), 600) << c;

    EXPECT_EQ(g->CellBackColor(4, 3), 0x404040u);
    for (int r : {4, 5, 10}) EXPECT_EQ(g->CellBackColor(r, 2), 0x80000005u) << r;
    EXPECT_EQ(g->CellBackColor(5, 3), 0x80000005u);
    EXPECT_EQ(g->CellBackColor(10, 3), 0x80000005u);
    EXPECT_EQ(g->CellBackColor(5, 7), 0x80000005u);  // hidden stress cell
    for (int c = 2; c < 20; ++c)
        for (int r : {6, 7, 8, 9, 11, 12, 13}) EXPECT_EQ(g->CellBackColor(r, c), 0x8000000Au) << r << "," << c;
}

TEST_F(TableLayout, FormatAgainRestoresColoursAndHiddenSet)
{
    for (int r : {4, 5, 10})
        for (int c : {2, 3}) g->setCellBackColor(r, c, 0x8000000Au);
    g->setColHidden(7, false);
    g->setRowHidden(3, false);
    w->msub_FormatResultTable();
    EXPECT_EQ(g->CellBackColor(4, 2), 0x80000005u);
    EXPECT_EQ(g->CellBackColor(4, 3), 0x404040u);
    EXPECT_EQ(g->CellBackColor(10, 3), 0x80000005u);
    for (int c = 5; c <= 19; c += 2) EXPECT_TRUE(g->ColHidden(c)) << c;
    EXPECT_TRUE(g->RowHidden(3));
}

// ---- Fill of the result rows ----

class ResultFill : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        gUnitFactor = 2.0;
        gCond.UltJadge = kTrue;
        ColumnResultTbl& r = gResults(gCurCol);
        r = ColumnResultTbl{};
        for (long d = 0; d <= 1; ++d)
            for (long k = 1; k <= 8; ++k) {
                r.Zone(d, k) = "A";
                r.Mu(d, k) = 12.5;
                r.Qu(d, k) = 10;
                r.JadgeM(d, k) = -1;
                r.JadgeQ(d, k) = -1;
            }
        for (long k = 1; k <= 8; ++k) {
            r.DesignStress(2, k) = 2.5;  // X: ratio 5 / 12.5
            r.DesignStress(3, k) = 1;    // X: ratio 2 / 10
            r.DesignStress(5, k) = -5;   // Y: ratio 10 / 12.5
            r.DesignStress(6, k) = 2.5;  // Y: ratio 5 / 10
        }
        for (int r2 = 6; r2 <= 13; ++r2)
            for (int c = 2; c < 20; ++c) g->setTextMatrix(r2, c, "x");
    }
    void TearDown() override
    {
        gUnitFactor = 1.0;
        WindowTest::TearDown();
    }
    QStringList Column(int c) const
    {
        QStringList s;
        for (int r : {9, 6, 7, 8, 11, 12, 13}) s << g->TextMatrix(r, c);
        return s;
    }
    ColumnResultTbl& res() { return gResults(gCurCol); }
};

TEST_F(ResultFill, TextsOfEachCase)
{
    res().Zone(0, 1) = "-";
    res().JadgeQ(0, 1) = 1;
    res().JadgeM(0, 4) = 0;  // moment NG hides the shear
    res().JadgeQ(0, 4) = 1;
    res().Mu(0, 5) = 0;      // no capacity
    res().JadgeM(0, 5) = 1;
    res().JadgeQ(0, 5) = 0;
    res().JadgeM(1, 7) = 1;
    w->msub_FillResultTable(0);
    w->msub_FillResultTable(1);
    struct Case {
        int col;
        QStringList texts;  // zone, Mu, ratio, verdict, Qu, ratio, verdict
    } cases[] = {
        {2, {"  -  ", "12.50", "0.40", "  OK ", "10.00", "0.20", "  OK*"}},
        {4, {"  A  ", "12.50", "0.40", "  NG ", " -   *", " -   *", " -   *"}},
        {6, {"  A  ", "0.00", "0.00", "  OK*", "10.00", "0.20", "  NG "}},
        {12, {"  A  ", "12.50", "0.40", "  OK ", "10.00", "0.20", "  OK "}},
        {3, {"  A  ", "12.50", "0.80", "  OK ", "10.00", "0.50", "  OK "}},
        {18, {"  A  ", "12.50", "0.80", "  OK*", "10.00", "0.50", "  OK "}},
    };
    for (const auto& c : cases) EXPECT_EQ(Column(c.col), c.texts) << c.col;
    // Stress rows and hidden columns are not written.
    EXPECT_EQ(g->TextMatrix(5, 2), "");
    EXPECT_EQ(g->TextMatrix(6, 5), "x");
    EXPECT_FALSE(w->mblnGridQuiet);
    EXPECT_TRUE(g->Redraw());
}

TEST_F(ResultFill, SnowLeavesTheRightShortTermColumnEmpty)
{
    gShortLoadKind = 2;
    w->msub_FillResultTable(0);
    w->msub_FillResultTable(1);
    for (int c : {6, 10}) EXPECT_EQ(Column(c), QStringList(7, QString())) << c;
    EXPECT_EQ(g->TextMatrix(6, 4), "12.50");
    EXPECT_EQ(g->TextMatrix(6, 8), "12.50");
}

TEST_F(ResultFill, UnjudgedUltimateShowsShearWithoutMomentVerdict)
{
    gCond.UltJadge = kFalse;
    res().JadgeM(0, 6) = 0;  // no moment verdict, so no " -   *" either
    res().JadgeQ(0, 6) = 0;
    res().JadgeM(0, 4) = 0;
    w->msub_FillResultTable(0);
    EXPECT_EQ(Column(12), (QStringList{"  A  ", "12.50", "0.40", "", "10.00", "0.20", "  NG "}));
    // The shear ratio is the new one, not what the cell showed before.
    EXPECT_EQ(Column(14), (QStringList{"  A  ", "12.50", "0.40", "", "10.00", "0.20", "  OK "}));
    EXPECT_EQ(g->TextMatrix(11, 4), " -   *");
}

TEST_F(ResultFill, AutoRefreshOffChangesNothing)
{
    gAutoRefresh = false;
    g->setRedraw(false);
    w->mblnGridQuiet = true;
    w->msub_FillResultTable(0);
    EXPECT_EQ(Column(2), QStringList(7, "x"));
    EXPECT_FALSE(g->Redraw());
    EXPECT_TRUE(w->mblnGridQuiet);
}

// ---- The default S project, checked and shown ----

TEST_F(TableLayout, DefaultProjectFilledPicture)
{
    w->msub_FillStressInputCells();
    for (int16_t d = 0; d <= 1; ++d) {
        CalcColumnByIndex(gCurCol, d);
        w->msub_FillResultTable(d);
    }
    // The stress cells show the design stresses in the display unit.
    const ColumnResultTbl& res = gResults(gCurCol);
    EXPECT_EQ(g->TextMatrix(4, 2).toStdString(), FormatValue(res.DesignStress(1, 1) * gUnitFactor, 2));
    EXPECT_EQ(g->TextMatrix(5, 8).toStdString(), FormatValue(res.DesignStress(5, 4) * gUnitFactor, 2));
    EXPECT_EQ(g->TextMatrix(13, 2).toStdString(), "  " + GetJadgeText(res.JadgeQ(0, 1)));
    EXPECT_FALSE(g->TextMatrix(6, 18).isEmpty());

    int width = 0, height = 0;
    for (int c = 0; c < g->Cols(); ++c)
        if (!g->ColHidden(c)) width += g->TwipsToPixelsX(g->ColWidth(c));
    for (int r = 0; r < g->Rows(); ++r)
        if (!g->RowHidden(r)) height += g->TwipsToPixelsY(g->RowHeight(r));
    const int frame = 2 * g->frameWidth();
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->resize(width + frame + 12, height + frame + 12);
    w->show();
    const QImage img = g->grab().toImage();
    QDir().mkpath(KV_TEST_OUT_DIR);
    ASSERT_TRUE(img.save(QStringLiteral(KV_TEST_OUT_DIR "/result_table.png")));
}

}  // namespace
