// The section table on the sample catalogue: the group builder as plain
// code (titles, marks, row texts and their rules, layout), the block and the
// page furniture on a recording page, the legend page with it through the
// driver, and sample PDFs of an S and an SRC project.
#include "drawing/rc_section.h"
#include "model/column_check.h"
#include "model/direction.h"
#include "model/globals.h"
#include "model/rebar_zone.h"
#include "model/stress.h"
#include "model/texts.h"
#include "platform/text/vb.h"
#include "reports/section_table.h"
#include "reports/stress_table.h"
#include "tests/reports/page_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <string>
#include <vector>

namespace {

using namespace model;
using namespace reports;
using namespace reporttest;
using drawing::DrawOp;

class SectionTable : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        RegisterSectionTablePages();
    }
    // The whole report of the project's columns on a recording page.
    bool PrintAll(ReportChoices ch = {})
    {
        page = drawing::RecordingPage(1.0);
        if (ch.columns.empty())
            for (int16_t i = 1; i <= gCond.ColCount; ++i) ch.columns.push_back(i);
        return psub_Print(page, 1, ch);
    }
    // One block on a fresh page, as the driver's surface has it.
    void PrintBlock(int16_t col, int slot, int pageNo = 3)
    {
        page = drawing::RecordingPage(1.0);
        drawing::clsPrintOut po;
        po.setprpMode(1);
        po.setprpVsPrinter(&page);
        SetupReportPage(po);
        page.ops.clear();
        PrintSectionColumnBlock(po, col, pageNo, slot);
    }
    DrawOp TextAt(double x, double y) const
    {
        for (const DrawOp& op : page.ops)
            if (op.kind == "Text" && op.args[0] == x && op.args[1] - kPaperY == y) return op;
        return {};
    }
    int16_t ultJadge_ = kTrue;

    // The ops of page n (1-based) of the recording.
    std::vector<DrawOp> PageOps(int n) const
    {
        std::vector<DrawOp> out;
        int at = 1;
        for (const DrawOp& op : page.ops) {
            if (op.kind == "NewPage") {
                ++at;
                continue;
            }
            if (at == n) out.push_back(op);
        }
        return out;
    }
};

// A page box at (x1, y1)-(x2, y2) in surface millimetres, within rounding.
bool IsBox(const std::vector<double>& args, double x1, double y1, double x2, double y2)
{
    const double want[] = {x1, y1 + kPaperY, x2, y2 + kPaperY};
    for (std::size_t i = 0; i < 4; ++i)
        if (args.size() != 4 || std::fabs(args[i] - want[i]) > 1e-9) return false;
    return true;
}

// ---- The group builder, without a page ----

// A design table and results whose every cell tells where it came from.
struct Source {
    DesignTable des{};
    ColumnResultTbl res{};
    Source()
    {
        for (long r = 1; r <= 6; ++r)
            for (long k = 1; k <= 8; ++k) des(r, k) = 10 * r + k + 0.25;
        for (long d = 0; d <= 1; ++d)
            for (long k = 1; k <= 7; ++k) {
                res.Mu(d, k) = 100 + 10 * d + k;
                res.Qu(d, k) = 200 + 10 * d + k;
                res.JadgeM(d, k) = -1;
                res.JadgeQ(d, k) = -1;
                res.Zone(d, k) = d == 0 ? "C1" : "D";
            }
    }
};

TEST_F(SectionTable, GroupTitlesAndMarksFollowThePrintedKind)
{
    struct Case {
        int16_t kind;
        std::vector<std::string> titles;
        std::vector<int> cases;  // the design case each group shows
    } cases[] = {
        {0, {"長期時", "短期時(地震)Ｌ", "短期時(地震)Ｒ", "終局時Ｌ", "終局時Ｒ"}, {1, 4, 5, 6, 7}},
        {1, {"長期時", "短期時(暴風)Ｌ", "短期時(暴風)Ｒ", "終局時Ｌ", "終局時Ｒ"}, {1, 4, 5, 6, 7}},
        {2, {"長期時", "短期時", "終局時Ｌ", "終局時Ｒ"}, {1, 4, 6, 7}},
    };
    gUnitFactor = 1;
    const Source src;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        gPrintShortKind = c.kind;
        const SectionGroups g = BuildSectionGroups(src.des, src.res);
        ASSERT_EQ(g.size(), c.titles.size() + 1);
        EXPECT_TRUE(g[0].Title.empty() && g[0].RowCount == 0);
        for (std::size_t i = 1; i < g.size(); ++i) {
            EXPECT_EQ(g[i].Title, c.titles[i - 1]);
            const int k = c.cases[i - 1];
            EXPECT_EQ(g[i].Marks[1], k == 1 ? "l" : (k <= 5 ? "s" : ""));
            EXPECT_EQ(g[i].Marks[2], k <= 5 ? "a" : "u");
            EXPECT_TRUE(g[i].Marks[0].empty());
            EXPECT_EQ(g[i].RowCount, 10);
            // The axial force rows show the group's case: 10 (X) or 40 (Y) + case + 0.25.
            EXPECT_EQ(g[i].Text1[1], NumberCell(10 + k + 0.25));
            EXPECT_EQ(g[i].Text2[1], NumberCell(40 + k + 0.25));
            for (int r = 0; r <= 10; ++r) {
                EXPECT_EQ(g[i].RowKind[static_cast<std::size_t>(r)], r);
                EXPECT_TRUE(g[i].Text3[static_cast<std::size_t>(r)].empty());
                EXPECT_TRUE(g[i].Text4[static_cast<std::size_t>(r)].empty());
            }
        }
    }
}

TEST_F(SectionTable, RowTitles)
{
    const std::vector<std::string> longTerm{"Nl", "Ml", "Mal", "Ml/Mal", "判定", "ゾーン", "Ql", "Qal", "Ql/Qal", "判定"};
    const std::vector<std::string> shortTerm{"Ns", "Ms", "Mas", "Ms/Mas", "判定", "ゾーン", "Qs", "Qas", "Qs/Qas", "判定"};
    const std::vector<std::string> ultimate{"N", "M", "Mu", "M/Mu", "判定", "ゾーン", "Q", "Qu", "Q/Qu", "判定"};
    for (int kind = 1; kind <= 10; ++kind) {
        const auto i = static_cast<std::size_t>(kind - 1);
        EXPECT_EQ(GetTableRowTitle(kind, "l", "a"), longTerm[i]);
        EXPECT_EQ(GetTableRowTitle(kind, "s", "a"), shortTerm[i]);
        EXPECT_EQ(GetTableRowTitle(kind, "", "u"), ultimate[i]);
    }
    for (int kind : {0, 11, -1}) EXPECT_EQ(GetTableRowTitle(kind, "l", "a"), "");
}

TEST_F(SectionTable, RowTextsAndTheShearRowRules)
{
    gUnitFactor = 2;
    gPrintShortKind = 0;
    Source src;
    // X of each case: long NG, short L OK*, short R OK, ultimate L NG, ultimate R OK*.
    src.res.JadgeM(0, 1) = 0;
    src.res.JadgeM(0, 4) = 1;
    src.res.JadgeM(0, 6) = 0;
    src.res.JadgeM(0, 7) = 1;
    src.res.JadgeQ(0, 5) = 0;
    src.res.Mu(1, 1) = 0;  // a zero strength: ratio 0
    const std::string skip = "    -  *";
    const auto rows = [&](int group, int dir) {
        gCond.UltJadge = ultJadge_;
        const SectionGroups g = BuildSectionGroups(src.des, src.res);
        const auto& t = dir == 0 ? g[static_cast<std::size_t>(group)].Text1 : g[static_cast<std::size_t>(group)].Text2;
        return std::vector<std::string>(t.begin() + 1, t.end());
    };
    const auto values = [&](int d, int k, const std::string& verdictM, const std::string& q8,
                            const std::string& q9, const std::string& q10) {
        const double n = src.des(1 + 3 * d, k), m = src.des(2 + 3 * d, k), q = src.des(3 + 3 * d, k);
        return std::vector<std::string>{NumberCell(2 * n), NumberCell(2 * m), NumberCell(src.res.Mu(d, k)),
                                        NumberCell(SafeRatio(2 * m, src.res.Mu(d, k))), verdictM,
                                        d == 0 ? "    C1 " : "    D  ", NumberCell(2 * q), q8, q9, q10};
    };
    const auto cap = [&](int d, int k) { return NumberCell(src.res.Qu(d, k)); };
    const auto ratio = [&](int d, int k) { return NumberCell(SafeRatio(2 * src.des(3 + 3 * d, k), src.res.Qu(d, k))); };

    ultJadge_ = kTrue;
    // A moment NG or OK* hides the shear of the long and short groups.
    EXPECT_EQ(rows(1, 0), values(0, 1, "    NG ", skip, skip, skip));
    EXPECT_EQ(rows(2, 0), values(0, 4, "    OK*", skip, skip, skip));
    EXPECT_EQ(rows(3, 0), values(0, 5, "    OK ", cap(0, 5), ratio(0, 5), "    NG "));
    // Ultimate: the ratio always; capacity and verdict unless the moment is NG.
    EXPECT_EQ(rows(4, 0), values(0, 6, "    NG ", skip, ratio(0, 6), skip));
    EXPECT_EQ(rows(5, 0), values(0, 7, "    OK*", cap(0, 7), ratio(0, 7), "    OK "));
    // A zero strength gives a ratio of 0.
    EXPECT_EQ(rows(1, 1)[3], "     0.00");
    // Without the ultimate judgement no moment verdict and every shear row.
    ultJadge_ = kFalse;
    EXPECT_EQ(rows(4, 0), values(0, 6, "    -", cap(0, 6), ratio(0, 6), "    OK "));
    EXPECT_EQ(rows(5, 0), values(0, 7, "    -", cap(0, 7), ratio(0, 7), "    OK "));
    EXPECT_EQ(rows(1, 0), values(0, 1, "    NG ", skip, skip, skip));
}

TEST_F(SectionTable, CellForms)
{
    gUnitFactor = 1;
    struct Case {
        double v;
        const char* text;
    } cases[] = {{0, "     0.00"},        {-12.3, "   -12.30"},     {3.14159, "     3.14"}, {999999.994, "999999.99"},
                 {1000000, "1000000.00"}, {-99999.99, "-99999.99"}, {-100000, "-100000.00"}};
    for (const Case& c : cases) EXPECT_EQ(FormatStress(c.v), c.text) << c.v;
    gUnitFactor = 9.80665;
    EXPECT_EQ(FormatStress(10), "    98.07");
    EXPECT_EQ(RatioOrZero(-3, 2), 1.5);
    EXPECT_EQ(RatioOrZero(3, 0), 0);
}

TEST_F(SectionTable, LayoutFromY46InStepsOf3Point65)
{
    const Source src;
    gPrintShortKind = 0;
    SectionGroups g = BuildSectionGroups(src.des, src.res);
    // Added up step by step, as the layout goes: equal to the nominal
    // positions within rounding.
    EXPECT_NEAR(LayoutSectionGroups(g), 246.75, 1e-9);
    EXPECT_EQ(g[1].TitlePos.x, 10);
    EXPECT_EQ(g[1].TitlePos.y, 46);
    EXPECT_EQ(g[1].RowPos[1].x, 13);
    EXPECT_DOUBLE_EQ(g[1].RowPos[1].y, 49.65);
    EXPECT_DOUBLE_EQ(g[2].TitlePos.y, 86.15);
    EXPECT_NEAR(g[5].RowPos[10].y, 243.1, 1e-9);
    gPrintShortKind = 2;
    g = BuildSectionGroups(src.des, src.res);
    EXPECT_NEAR(LayoutSectionGroups(g), 206.6, 1e-9);
}

// ---- The pages ----

TEST_F(SectionTable, SevenColumnsGiveTheLegendAndTwoNumberedPages)
{
    SProject(7);
    gPrintShortKind = 1;
    ReportChoices ch;
    ch.pageNumberText = "4";
    ASSERT_TRUE(PrintAll(ch));
    ASSERT_EQ(page.pageCount, 3);
    const std::vector<DrawOp> legend = PageOps(1), first = PageOps(2), second = PageOps(3);
    const auto texts = [](const std::vector<DrawOp>& ops) { return TextsOf(ops); };
    const auto count = [&](const std::vector<DrawOp>& ops, const std::string& t) {
        const auto v = texts(ops);
        return std::count_if(v.begin(), v.end(), [&t](const PageText& p) { return p.text == t; });
    };
    EXPECT_EQ(count(legend, "柱脚の断面算定結果"), 1);
    EXPECT_EQ(count(legend, "- 4 -"), 1);
    for (const auto& [ops, number, names] :
         {std::tuple{first, "- 5 -", std::vector<std::string>{"C1", "C2", "C3", "C4", "C5", "C6"}},
          {second, "- 6 -", std::vector<std::string>{"C7"}}}) {
        // The furniture once a page, each block once.
        EXPECT_EQ(count(ops, "暴風時柱脚断面算定表"), 1);
        EXPECT_EQ(count(ops, "符号"), 1);
        EXPECT_EQ(count(ops, "短期時(暴風)Ｒ"), 1);
        EXPECT_EQ(count(ops, number), 1);
        EXPECT_EQ(count(ops, "設計担当：設計者  2023/03/15"), 1);
        EXPECT_EQ(count(ops, "X方向"), static_cast<long>(names.size()));
        for (std::size_t s = 0; s < names.size(); ++s) {
            const double xOff = 27.0 * static_cast<double>(s);
            bool named = false;
            for (const PageText& t : texts(ops)) named = named || (t.text == names[s] && t.x == xOff + 36 && t.y == 9);
            EXPECT_TRUE(named) << names[s];
        }
        // Lines stop at the last slot used and at yEnd; the frame of the title column.
        const double lastRight = 34 + 27.0 * static_cast<double>(names.size());
        double maxX = 0, maxY = 0;
        int frames = 0;
        for (const DrawOp& op : ops) {
            if (op.kind == "Line") {
                maxX = std::max({maxX, op.args[0], op.args[2]});
                maxY = std::max({maxY, op.args[1], op.args[3]});
                EXPECT_EQ(op.width, 3);
            }
            if (op.kind == "Rectangle" && IsBox(op.args, 8, 8, 34, 246.75)) ++frames;
        }
        EXPECT_DOUBLE_EQ(maxX, lastRight);
        EXPECT_NEAR(maxY, 246.75 + kPaperY, 1e-9);
        EXPECT_EQ(frames, 1);
        for (const DrawOp& op : ops)
            if (op.kind == "Text") {
                EXPECT_EQ(op.fontName, "ＭＳ 明朝") << op.text;
            }
        // Footer ends near 172.
        for (const PageText& t : texts(ops))
            if (t.y == 279) {
                EXPECT_DOUBLE_EQ(t.x, 172 - (3 + 5) * 2.7);
            }
    }
}

TEST_F(SectionTable, SBlockInItsSlot)
{
    SProject(2);
    gColumns(2).ColName = "  C2  ";
    gColumns(2).KvDir = 1;
    gColumns(2).RmN(0) = 5;
    gColumns(2).RmN(1) = 4;
    gColumns(2).RBarMat = "SD345";
    gColumns(2).HoopSize = "D13";
    gDispMode = 0;
    PrintBlock(1, 1);
    const std::vector<PageText> slot1 = Texts();
    PrintBlock(2, 2);
    const double x = 27;
    EXPECT_EQ(One(x + 36, 9), "C2");
    EXPECT_EQ(One(x + 36, 13.5), "ｺﾙｳﾞｧﾝ");
    EXPECT_EQ(One(x + 36, 16.5), GetKvNameByIndex(2));
    std::string main, second, material;
    int16_t c = 2;
    GetColumnSectionText(c, main, second, material);
    EXPECT_EQ(One(x + 35, 20.5), main);
    EXPECT_EQ(One(x + 35, second.empty() ? 22.9 : 25.3), material);
    EXPECT_EQ(One(x + 38, 38.5), "21N/mm");
    EXPECT_EQ(One(x + 46, 38.0), "2");
    // The zone band: numeral, then the three rebar lines in the engine's order.
    const int16_t zone = GetColumnRebarZone(2);
    ASSERT_TRUE(zone >= 1 && zone <= 3);
    EXPECT_EQ(One(x + 35, 33), std::vector<std::string>({"Ⅰ", "Ⅱ", "Ⅲ"})[static_cast<std::size_t>(zone - 1)]);
    c = 2;
    const int16_t a = GetKvDirection(c);
    EXPECT_EQ(One(x + 38.5, 31), std::string("主筋 : 14(") + (a == 0 ? "5x4" : "4x5") + ")-D16(SD345)");
    EXPECT_EQ(One(x + 38.5, 33), "HOOP : 　 -D13(SD295)@150");
    EXPECT_EQ(One(x + 38.5, 35), "主筋定着長さ : 220mm");
    for (double y : {31.0, 33.0, 35.0}) EXPECT_EQ(TextAt(x + 38.5, y).fontSize, 4.5);
    EXPECT_EQ(TextAt(x + 35, 33).fontSize, 6);
    // The two squares in the pen's colour, the lines in black.
    std::vector<std::vector<double>> squares;
    for (const DrawOp& op : page.ops)
        if (op.kind == "Rectangle") squares.push_back(op.args);
    EXPECT_EQ(squares, (std::vector<std::vector<double>>{{x + 34.5, 32.5 + kPaperY, x + 37.5, 35.5 + kPaperY},
                                                         {x + 44.5, 33 + kPaperY, x + 46, 34.5 + kPaperY}}));
    EXPECT_EQ(One(x + 37, 42.5), "X方向");
    EXPECT_EQ(One(x + 52, 42.5), "Y方向");
    // Values at xOff + 33 and + 46.5, as built.
    DesignTable des{};
    for (int16_t k = 1; k <= 6; ++k) BuildDesignStressTable(des, gColumns(2).LoadTbl, k);
    const SectionGroups g = BuildSectionGroups(des, gResults(2));
    for (std::size_t i = 1; i < g.size(); ++i)
        for (std::size_t r = 1; r <= 10; ++r) {
            EXPECT_EQ(One(x + 33, g[i].RowPos[r].y), g[i].Text1[r]);
            EXPECT_EQ(One(x + 46.5, g[i].RowPos[r].y), g[i].Text2[r]);
        }
    // Slot 2 has no furniture: no title, no row titles, no page number.
    for (const PageText& t : Texts()) EXPECT_GE(t.x, x + 33) << t;
    // Slot 1 has them.
    EXPECT_NE(std::find(slot1.begin(), slot1.end(), PageText{"地震時柱脚断面算定表", 10, 5, 7.8}), slot1.end());
    EXPECT_TRUE(std::any_of(slot1.begin(), slot1.end(), [](const PageText& t) {
        return t.text == "Ml/Mal" && t.x == 21 && std::fabs(t.y - (46 + 4 * 3.65)) < 1e-9;
    }));
    EXPECT_NE(std::find(slot1.begin(), slot1.end(), PageText{"配筋ゾーン", 10, 30.5, 7.8}), slot1.end());
    EXPECT_NE(std::find(slot1.begin(), slot1.end(), PageText{"- 3 -", 95, 278, 7.8}), slot1.end());
}

TEST_F(SectionTable, SrcBlockFollowsTheBaseTurn)
{
    SrcProject(1);
    ColumnDataTbl& c = gColumns(1);
    c.cD(0) = 800;
    c.cD(1) = 900;
    c.RtN(0) = 8;
    c.RtN(1) = 6;
    struct Case {
        int16_t kvDir;
        int16_t bundled0, bundled1;
        const char *rc, *count;
    } cases[] = {{0, 0, 0, "RC: 800× 900", "本数 8× 6"},
                 {1, 0, 1, "RC: 900× 800", "本数 6(*)× 8  (*):束ね有り"},
                 {3, 1, 0, "RC: 900× 800", "本数 6× 8(*)  (*):束ね有り"},
                 {2, 1, 1, "RC: 800× 900", "本数 8(*)× 6(*)  (*):束ね有り"}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.kvDir);
        c.KvDir = k.kvDir;
        c.RTabane(0) = k.bundled0;
        c.RTabane(1) = k.bundled1;
        PrintBlock(1, 1);
        EXPECT_EQ(One(35, 20.5), k.rc);
        EXPECT_EQ(One(35, 22.7), "鉄筋:D22(SD345)");
        EXPECT_EQ(One(35, 24.9), k.count);
        std::string main, second, material;
        int16_t i = 1;
        GetColumnSectionText(i, main, second, material);
        EXPECT_EQ(One(35, 27.1), main);
        EXPECT_EQ(One(35, 29.3), second);
        EXPECT_EQ(One(35, 31.5), material);
        // No zone band in SRC: no line at 29.5, no squares, no band title.
        for (const DrawOp& op : page.ops) {
            if (op.kind == "Rectangle") {
                EXPECT_EQ(op.args[0], 8);  // the frame only
            }
            if (op.kind == "Line") {
                EXPECT_NE(op.args[1], 29.5 + kPaperY);
            }
        }
        EXPECT_FALSE(Contains("配筋ゾーン"));
        EXPECT_EQ(One(10, 38.5), "コンクリート強度");
    }
}

TEST_F(SectionTable, ConcreteStrengthAndItsRaisedTwo)
{
    struct Case {
        bool si;
        double fc;
        const char* text;
        double two;
    } cases[] = {{true, 22.5, "22.5N/mm", 48.8}, {true, 24, "24N/mm", 46}, {true, 24.05, "24N/mm", 46},
                 {false, 240, "240kgf/cm", 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SProject(2);
        if (!c.si) OldUnits();
        gColumns(2).Fc = c.fc;
        PrintBlock(2, 2);
        EXPECT_EQ(One(27 + 38, 38.5), c.text);
        EXPECT_EQ(One(27 + c.two, 38.0), "2");
        EXPECT_EQ(TextAt(27 + c.two, 38.0).fontSize, 6);
        gSIDisp = true;
        gUnitFactor = gCond.GFactor;
        gKv->setSIFlag(true);
    }
}

TEST_F(SectionTable, SnowTableAndNegativePageNumber)
{
    SProject(1);
    gPrintShortKind = 2;
    PrintBlock(1, 1, -1);
    EXPECT_EQ(One(10, 5), "積雪時柱脚断面算定表");
    EXPECT_EQ(One(95, 278), "--1 -");
    EXPECT_TRUE(Contains("短期時"));
    bool frame = false;
    for (const DrawOp& op : page.ops)
        frame = frame || (op.kind == "Rectangle" && IsBox(op.args, 8, 8, 34, 206.6));
    EXPECT_TRUE(frame);
    gPrNoHeader = gPrNoFooter = true;
    gPrPageNumber = false;
    PrintBlock(1, 1);
    for (const PageText& t : Texts()) EXPECT_TRUE(t.y != 1 && t.y != 278 && t.y != 279) << t;
}

TEST_F(SectionTable, SamplePdfs)
{
    struct Sample {
        const char* file;
        bool src;
        int columns;
    } samples[] = {{"section_table_s", false, 7}, {"section_table_src", true, 2}};
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.file);
        if (s.src) {
            SrcProject(s.columns);
            gColumns(2).KvDir = 1;
            gColumns(2).RTabane(1) = 1;
        } else {
            SProject(s.columns);
            gColumns(3).Fc = 22.5;
            gColumns(4).LoadTbl(2, 2) = 400;
        }
        vbqt::PrintControl pc;
        ReportChoices ch;
        for (int16_t i = 1; i <= gCond.ColCount; ++i) ch.columns.push_back(i);
        gPrintShortKind = 0;
        ASSERT_TRUE(psub_Print(pc, 1, ch));
        const PdfSample sample(pc, s.file);
        ASSERT_TRUE(sample.written);
        EXPECT_TRUE(sample.converted);
        EXPECT_TRUE(sample.Has("柱脚の断面算定結果"));
        EXPECT_TRUE(sample.Has("記号の説明"));
        EXPECT_TRUE(sample.Has("地震時柱脚断面算定表"));
    }
}

}  // namespace
