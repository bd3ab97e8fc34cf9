// The stress table of the calculation sheet on its own, on a recording page
// in millimetres with hand-set results: its ruling, labels, cells, the shear
// rule, the OK* notes, and the nine-character number cell.
#include "drawing/print_out.h"
#include "drawing/recording.h"
#include "model/globals.h"
#include "reports/report_common.h"
#include "reports/stress_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace model;
using namespace reports;
using drawing::DrawOp;
using drawing::RecordingPage;

constexpr double kPaperY = 4.5;  // the page logs every y this much lower
constexpr double kTol = 1e-9;

const double kLineX[12] = {20, 40, 55, 70, 85, 100, 115, 130, 145, 160, 175, 190};
const double kLineY[14] = {65, 69.5, 74, 78.5, 83.1, 87.7, 92.3, 96.9, 101.5, 106.1, 110.7, 115.3, 119.9, 124.5};

TEST(NumberCell, RightAlignsInNineCharactersKeepsWiderNumbersWholeAndMarksNonNumbers)
{
    const std::pair<double, const char*> cases[] = {
        {0, "     0.00"},
        {-0.001, "     0.00"},     // rounds to zero: no minus sign
        {1.005, "     1.01"},      // halves away from zero
        {-12.345, "   -12.35"},
        {-99999.99, "-99999.99"},  // the sign fills the field exactly
        {999999.994, "999999.99"},
        {999999.995, "1000000.00"},  // wider than the field: whole, for the page to condense
        {1234567.8, "1234567.80"},
        {-100000, "-100000.00"},     // never printed without its sign
        {-980664.9, "-980664.90"},
        {std::numeric_limits<double>::infinity(), "*********"},
        {-std::numeric_limits<double>::infinity(), "*********"},
        {std::numeric_limits<double>::quiet_NaN(), "*********"},
    };
    for (const auto& [v, want] : cases) EXPECT_EQ(NumberCell(v), want) << v;
}

TEST(StressTableLines, FollowTheRowHeights)
{
    const auto x = StressTableLineX();
    const auto y = StressTableLineY();
    for (std::size_t j = 0; j < 12; ++j) EXPECT_DOUBLE_EQ(x[j], kLineX[j]) << j;
    for (std::size_t k = 0; k < 14; ++k) EXPECT_NEAR(y[k], kLineY[k], kTol) << k;
}

class StressTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedCond_ = gCond;
        savedFactor_ = gUnitFactor;
        savedKind_ = gPrintShortKind;
        gCond = ProjectCondTbl{};
        gCond.ColCount = 2;
        gCond.SMode = kTrue;
        gCond.UltJadge = kTrue;
        gResults.redim(2);
        gUnitFactor = 2.0;
        gPrintShortKind = 0;
        Fill(gResults(2));
    }
    void TearDown() override
    {
        gCond = savedCond_;
        gUnitFactor = savedFactor_;
        gPrintShortKind = savedKind_;
        gResults.redim(0);
    }

    // One result per data column; the table prints column 2.
    static void Set(ColumnResultTbl& r, int16_t d, int16_t c, double n, double m, double q, double mu, double qu,
                    int16_t jm, int16_t jq, const char* zone)
    {
        r.DesignStress(1 + 3 * d, c) = n;
        r.DesignStress(2 + 3 * d, c) = m;
        r.DesignStress(3 + 3 * d, c) = q;
        r.Mu(d, c) = mu;
        r.Qu(d, c) = qu;
        r.JadgeM(d, c) = jm;
        r.JadgeQ(d, c) = jq;
        r.Zone(d, c) = zone;
    }
    static void Fill(ColumnResultTbl& r)
    {
        //          d  c   N         M        Q     Mu    Qu   JM  JQ  zone
        Set(r, 0, 1, 1.25, 3, 1, 12, 8, -1, -1, "A  ");      // long X: all OK
        Set(r, 1, 1, 2, 5, 1.5, 4, 9, 0, -1, "B  ");         // long Y: moment NG
        Set(r, 0, 4, 3, 1, 2, 0, 0, -1, 1, "C  ");           // short X L: zero capacities, shear OK*
        Set(r, 1, 4, 4, 2, 2.5, 10, 10, 1, 1, "D  ");        // short Y L: moment OK* hides shear
        Set(r, 0, 5, -49999.995, 600000, 3, 7, 6, -1, 0, "E  ");  // short X R: sign in the field, overflow
        Set(r, 1, 5, 5, 3, 1, 8, 4, -1, -1, "F  ");          // short Y R
        Set(r, 0, 6, 6, 4, 2, 9, 5, 0, 1, "G  ");            // ult X L: moment NG
        Set(r, 0, 7, 7, 5, 2, 10, 5, 1, 0, "H  ");           // ult X R: moment OK*, shear NG
        Set(r, 1, 6, 8, 6, 2, 20, 16, -1, -1, "I  ");        // ult Y L
        Set(r, 1, 7, 9, 7, 3, 28, 12, -1, -1, "-");          // ult Y R: SRC-like zone
    }

    void Print()
    {
        page = RecordingPage(1.0);
        drawing::clsPrintOut po;
        po.setprpMode(1);
        po.setprpVsPrinter(&page);
        po.setFontName(kReportFont);
        po.setFontSize(8);
        PrintStressTable(po, 2);
        endWidth = po.DrawWidth();
        endSize = po.FontSize();
    }
    // Texts printed at (x, y) in the table's own coordinates.
    std::vector<std::string> TextsAt(double x, double y) const
    {
        std::vector<std::string> out;
        for (const DrawOp& op : page.ops)
            if (op.kind == "Text" && std::fabs(op.args[0] - x) < kTol && std::fabs(op.args[1] - kPaperY - y) < 1e-6)
                out.push_back(op.text);
        return out;
    }
    const DrawOp* FindText(const std::string& text) const
    {
        for (const DrawOp& op : page.ops)
            if (op.kind == "Text" && op.text == text) return &op;
        return nullptr;
    }
    // The cell of data column j (1..10) in band k: its text and its x offset
    // from the column's left line (+1 or -1); empty when nothing is there.
    std::pair<std::string, int> Cell(int j, int k) const
    {
        for (int off : {1, -1}) {
            const auto t = TextsAt(kLineX[j] + off, kLineY[k] + 1);
            if (!t.empty()) return {t.size() == 1 ? t[0] : "(several)", off};
        }
        return {"", 0};
    }
    std::vector<std::string> Footnotes() const
    {
        std::vector<std::string> out;
        for (const DrawOp& op : page.ops)
            if (op.kind == "Text" && op.args[1] - kPaperY > 124.6)
                out.push_back(std::to_string(op.args[0]).substr(0, 4) + "@" +
                              std::to_string(op.args[1] - kPaperY).substr(0, 5) + " " + op.text);
        return out;
    }

    RecordingPage page{1.0};
    int32_t endWidth = 0;
    double endSize = 0;

private:
    ProjectCondTbl savedCond_;
    double savedFactor_ = 1;
    int16_t savedKind_ = 0;
};

TEST_F(StressTable, RulesTheGridInOrderWithThickAndThinLines)
{
    Print();
    struct Line {
        const char* kind;
        double x1, y1, x2, y2;
        int width;
    };
    const double* X = kLineX;
    const double* Y = kLineY;
    const std::vector<Line> want = {
        {"Rectangle", X[0], Y[3], X[11], Y[13], 3},
        {"Line", X[1], Y[0], X[11], Y[0], 3},
        {"Line", X[1], Y[0], X[1], Y[13], 3},
        {"Line", X[11], Y[0], X[11], Y[3], 3},
        {"Line", X[0], Y[4], X[11], Y[4], 3},
        {"Line", X[0], Y[8], X[11], Y[8], 3},
        {"Line", X[0], Y[9], X[11], Y[9], 3},
        {"Line", X[3], Y[0], X[3], Y[13], 3},
        {"Line", X[7], Y[0], X[7], Y[13], 3},
        {"Line", 30, Y[3], 30, Y[8], 1},
        {"Line", 30, Y[9], 30, Y[13], 1},
        {"Line", 30, Y[5], X[11], Y[5], 1},
        {"Line", 30, Y[6], X[11], Y[6], 1},
        {"Line", 30, Y[7], X[11], Y[7], 1},
        {"Line", 30, Y[10], X[11], Y[10], 1},
        {"Line", 30, Y[11], X[11], Y[11], 1},
        {"Line", 30, Y[12], X[11], Y[12], 1},
        {"Line", X[1], Y[1], X[11], Y[1], 1},
        {"Line", X[3], Y[2], X[11], Y[2], 1},
        {"Line", X[2], Y[1], X[2], Y[13], 1},
        {"Line", X[5], Y[1], X[5], Y[13], 1},
        {"Line", X[9], Y[1], X[9], Y[13], 1},
        {"Line", X[4], Y[2], X[4], Y[13], 1},
        {"Line", X[6], Y[2], X[6], Y[13], 1},
        {"Line", X[8], Y[2], X[8], Y[13], 1},
        {"Line", X[10], Y[2], X[10], Y[13], 1},
    };
    std::vector<const DrawOp*> got;
    for (const DrawOp& op : page.ops)
        if (op.kind == "Line" || op.kind == "Rectangle") got.push_back(&op);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        const DrawOp& op = *got[i];
        const Line& w = want[i];
        EXPECT_EQ(op.kind, w.kind) << i;
        EXPECT_EQ(op.width, w.width) << i;
        EXPECT_NEAR(op.args[0], w.x1, kTol) << i;
        EXPECT_NEAR(op.args[1], w.y1 + kPaperY, 1e-6) << i;
        EXPECT_NEAR(op.args[2], w.x2, kTol) << i;
        EXPECT_NEAR(op.args[3], w.y2 + kPaperY, 1e-6) << i;
    }
    EXPECT_EQ(got[0]->color, 0);          // the outline in black
    EXPECT_FALSE(got[0]->filled);
    EXPECT_EQ(endWidth, 1);
    EXPECT_EQ(endSize, 7);
}

TEST_F(StressTable, PrintsCaptionLabelsAndHeadersForEachShortTermKind)
{
    const std::pair<int16_t, const char*> titles[] = {
        {0, "短 期 (地 震 時)"}, {1, "短 期 (暴 風 時)"}, {2, "短 期 (積 雪 時)"}, {3, nullptr}};
    for (const auto& [kind, title] : titles) {
        gPrintShortKind = kind;
        Print();
        SCOPED_TRACE(kind);
        using T = std::vector<std::string>;
        EXPECT_EQ(TextsAt(87, 66), title ? T{title} : T{});
        EXPECT_EQ(TextsAt(20, 65.5), T{"応力算定表"});
        EXPECT_EQ(TextsAt(49, 66), T{"長　　期"});
        EXPECT_EQ(TextsAt(154, 66), T{"終　　局"});
        EXPECT_EQ(TextsAt(46, 72.8), T{"Ｘ"});
        EXPECT_EQ(TextsAt(61, 72.8), T{"Ｙ"});
        for (double x : {83.5, 143.5}) EXPECT_EQ(TextsAt(x, 70.5), T{"Ｘ"}) << x;
        for (double x : {113.5, 173.5}) EXPECT_EQ(TextsAt(x, 70.5), T{"Ｙ"}) << x;
        for (double x : {76, 106, 136, 166}) EXPECT_EQ(TextsAt(x, 75), T{"Ｌ"}) << x;
        for (double x : {91, 121, 151, 181}) EXPECT_EQ(TextsAt(x, 75), T{"Ｒ"}) << x;
    }
    struct Label {
        int band;
        double x;
        const char* text;
    };
    const Label labels[] = {
        {3, 20.6, "軸　力"}, {3, 30.6, "応　力"}, {4, 30.6, "応　力"}, {5, 20.6, "曲　げ"},
        {5, 30.6, "耐　力"}, {6, 21.4, "ﾓｰﾒﾝﾄ"}, {6, 30.6, "検定比"}, {7, 30.6, "判　定"},
        {8, 24.6, "ｿﾞ ｰ ﾝ"}, {9, 30.6, "応　力"}, {10, 20.6, "せん断"}, {10, 30.6, "耐　力"},
        {11, 20.6, "　力　"}, {11, 30.6, "検定比"}, {12, 30.6, "判　定"},
    };
    for (const Label& l : labels)
        EXPECT_EQ(TextsAt(l.x, kLineY[l.band] + 1), std::vector<std::string>{l.text}) << l.text << " " << l.band;
    // Nothing else in the label area: bands 4, 7, 9 and 12 have no left label.
    int left = 0;
    for (const DrawOp& op : page.ops)
        if (op.kind == "Text" && op.args[0] < 40 && op.args[1] - kPaperY > 78 && op.args[1] - kPaperY < 124.5) ++left;
    EXPECT_EQ(left, 15);
}

TEST_F(StressTable, PrintsEveryCellByItsColumnAndTheShearRule)
{
    Print();
    struct Want {
        int j, band;
        const char* text;
        int off = 1;
    };
    const Want want[] = {
        // long-term X: stresses times the unit factor, capacities as stored
        {1, 3, "     2.50"}, {1, 4, "     6.00"}, {1, 5, "    12.00"}, {1, 6, "     0.50"}, {1, 7, "    OK "},
        {1, 8, "    A  "}, {1, 9, "     2.00"}, {1, 10, "     8.00"}, {1, 11, "     0.25"}, {1, 12, "    OK "},
        // long-term Y, moment NG: shear force kept, the rest marked 2 mm left
        {2, 6, "     2.50"}, {2, 7, "    NG "}, {2, 9, "     3.00"},
        {2, 10, "    -  *", -1}, {2, 11, "    -  *", -1}, {2, 12, "    -  *", -1},
        // short-term X L: zero capacities read 0.00, shear OK*
        {3, 5, "     0.00"}, {3, 6, "     0.00"}, {3, 10, "     0.00"}, {3, 11, "     0.00"}, {3, 12, "    OK*"},
        // short-term Y L: a moment OK* is not OK, so the shear cells are marked
        {5, 7, "    OK*"}, {5, 10, "    -  *", -1}, {5, 12, "    -  *", -1},
        // short-term X R: the minus sign inside the field (the wider number below)
        {4, 3, "-99999.99"}, {4, 6, "171428.57"}, {4, 12, "    NG "},
        {6, 3, "    10.00"}, {6, 11, "     0.50"},
        // ultimate X L, moment NG judged: shear marked
        {7, 7, "    NG "}, {7, 9, "     4.00"}, {7, 10, "    -  *", -1}, {7, 11, "    -  *", -1},
        // ultimate X R, moment OK*: shear filled
        {8, 7, "    OK*"}, {8, 10, "     5.00"}, {8, 11, "     0.80"}, {8, 12, "    NG "},
        {9, 4, "    12.00"}, {9, 6, "     0.60"}, {9, 12, "    OK "},
        {10, 8, "    -  "}, {10, 11, "     0.50"},
    };
    for (const Want& w : want) {
        const auto [text, off] = Cell(w.j, w.band);
        EXPECT_EQ(text, w.text) << "column " << w.j << " band " << w.band;
        EXPECT_EQ(off, w.off) << "column " << w.j << " band " << w.band;
    }
    // Every one of the 100 cells is printed once.
    for (int j = 1; j <= 10; ++j)
        for (int k = 3; k <= 12; ++k)
            if (j != 4 || k != 4) EXPECT_NE(Cell(j, k).first, "") << j << " " << k;
    // The wider number is whole, condensed between its rule and a millimetre
    // short of the next one (the page gives 10 mm a character at 8 points);
    // the others keep their size.
    const DrawOp* wide = FindText("1200000.00");
    ASSERT_NE(wide, nullptr);
    EXPECT_NEAR(wide->args[0], kLineX[4] + 0.3, 1e-9);
    EXPECT_NEAR(wide->args[1] - kPaperY, kLineY[4] + 1, 1e-9);
    EXPECT_NEAR(wide->args[0] + 80 * 10 * wide->fontScale, kLineX[5] - 1, 1e-9);
    EXPECT_EQ(FindText("-99999.99")->fontScale, 1);
}

TEST_F(StressTable, UnjudgedUltimateStateDashesTheMomentVerdictAndFillsTheShear)
{
    gCond.UltJadge = kFalse;
    Print();
    for (int j : {7, 8, 9, 10}) EXPECT_EQ(Cell(j, 7), (std::pair<std::string, int>{"    -", 1})) << j;
    EXPECT_EQ(Cell(7, 10), (std::pair<std::string, int>{"     5.00", 1}));
    EXPECT_EQ(Cell(7, 12), (std::pair<std::string, int>{"    OK*", 1}));
    // Long- and short-term columns keep their rule.
    EXPECT_EQ(Cell(2, 10).second, -1);
    // Only the first note, although shear verdicts show OK*.
    EXPECT_EQ(Footnotes().size(), 1u);
}

TEST_F(StressTable, SnowLeavesTheShortTermRightColumnsEmpty)
{
    gPrintShortKind = 2;
    Print();
    for (int j : {4, 6})
        for (int k = 3; k <= 12; ++k) EXPECT_EQ(Cell(j, k).first, "") << j << " " << k;
    for (int j : {1, 2, 3, 5, 7, 8, 9, 10}) EXPECT_NE(Cell(j, 3).first, "") << j;
    // The ruling stays whole.
    int lines = 0;
    for (const DrawOp& op : page.ops) lines += op.kind == "Line" || op.kind == "Rectangle";
    EXPECT_EQ(lines, 26);
}

TEST_F(StressTable, NotesFollowTheOkStarVerdictsThatWerePrinted)
{
    const std::string first = "35.0@125.0 注)せん断力の判定が\"NG\"の場合は\"設計ﾊﾝﾄﾞﾌﾞｯｸ\"を参照して追加検討して下さい。";
    const std::string moment = "(ﾓｰﾒﾝﾄ判定)の場合のOK*：終局耐力±1%の応力で柱脚降伏しています。";
    const std::string shear =
        "(せん断判定)の場合のOK*：座金溶接によりアンカーボルトで、またはスラブ埋込みでせん断耐力を確保します。";
    const std::string src = "35.0@127.5 OK*：(ﾓｰﾒﾝﾄ)終局耐力±1%の応力で柱脚降伏しています。";
    struct Case {
        const char* what;
        bool sMode, ultJadge;
        int16_t ultMoment;     // JadgeM of ultimate X R
        int16_t shearVerdict;  // JadgeQ of short-term X L (printed) and Y L (marked)
        std::vector<std::string> notes;
    };
    const std::vector<Case> cases = {
        {"S, both", true, true, 1, 1, {first, "35.0@127.5 " + moment, "35.0@130.0 " + shear}},
        {"S, shear only", true, true, -1, 1, {first, "35.0@127.5 " + shear}},
        {"S, moment only", true, true, 1, -1, {first, "35.0@127.5 " + moment}},
        {"S, none", true, true, -1, -1, {first}},
        {"SRC, none", false, true, -1, -1, {first, src}},
        {"SRC, both", false, true, 1, 1, {first, src}},
        {"SRC unjudged", false, false, 1, 1, {first}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gCond.SMode = c.sMode ? kTrue : kFalse;
        gCond.UltJadge = c.ultJadge ? kTrue : kFalse;
        ColumnResultTbl& r = gResults(2);
        Fill(r);
        r.JadgeM(0, 7) = c.ultMoment;
        r.JadgeQ(0, 4) = c.shearVerdict;
        r.JadgeQ(0, 6) = 1;  // behind a moment NG: marked, sets nothing
        r.JadgeQ(1, 4) = 1;  // behind a short-term moment OK*: marked
        r.JadgeM(1, 1) = 1;  // a long-term OK* moment sets no moment flag
        Print();
        EXPECT_EQ(Footnotes(), c.notes);
        for (const DrawOp& op : page.ops) {
            if (op.kind == "Text" && op.args[1] - kPaperY > 124.6) {
                EXPECT_EQ(op.fontSize, 7) << op.text;
            }
        }
    }
}

}  // namespace
