// The shear check page on the sample catalogue: its seven blocks, the state
// and direction texts, the judgement lines and their rule, the picture, the
// page number and footer, the caller's records left alone, and the style-2
// driver choosing its pages by the printed kind's verdicts.
#include "model/adapter.h"
#include "model/column_check.h"
#include "model/column_list_csv.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/stress.h"
#include "model/texts.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"
#include "reports/shear_page.h"
#include "tests/reports/page_fixture.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace model;
using namespace reports;
using namespace reporttest;
using drawing::DrawOp;

class ShearPage : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        RegisterShearPage();
        keptSource_ = ShearPicture();
        SetShearPictureSource({});
    }
    void TearDown() override
    {
        SetShearPictureSource(keptSource_);
        PageTest::TearDown();
    }
    // One column on the base with slab sizes; the method flags as given.
    void OnBase(int32_t base, int16_t flags = 0)
    {
        SProject(1, base);
        ColumnDataTbl& c = gColumns(1);
        c.SlabQ_B1X = 300;
        c.SlabQ_B1Y = 320;
        c.SlabQ_B2X = 700;
        c.SlabQ_B2Y = 720;
        c.SlabQ_d1 = 250;
        c.SlabQ_d2 = 450;
        c.SlabFc = 24;
        c.FShear.fill(flags);
    }
    // The page on a recording page whose texts are one unit wide a
    // character and two high, so that centred texts can be placed by hand.
    void Print(int16_t dir, int16_t designCase, int pageNo = 1, int16_t column = 1)
    {
        page = drawing::RecordingPage(1.0);
        page.charWidth = 1;
        page.textHeight = 2;
        drawing::clsPrintOut po;
        po.setprpMode(1);
        po.setprpVsPrinter(&page);
        PrintShearPageOfColumn(po, column, pageNo, dir, designCase);
    }
    // The results the page prints: the column checked on copies.
    static ColumnResultTbl Checked(int16_t i = 1)
    {
        ColumnResultTbl r = gResults(i);
        KvEngineRef engine(*gKv);
        SetKvBaseInputs(engine, gColumns(i));
        for (int16_t k = 1; k <= 6; ++k) BuildDesignStressTable(r.DesignStress, gColumns(i).LoadTbl, k);
        CalcColumnCheck(engine, gColumns(i), r, gKvBase(i), 0);
        CalcColumnCheck(engine, gColumns(i), r, gKvBase(i), 1);
        return r;
    }
    // A centred cell's text position: its middle less half its size.
    static std::pair<double, double> Centred(const std::string& text, double cx, double cy)
    {
        return {cx - text::CharCount(text) / 2.0, cy - 1};
    }
    bool HasCentred(const std::string& text, double cx, double cy) const
    {
        const auto [x, y] = Centred(text, cx, cy);
        return One(x, y) == text;
    }
    std::vector<std::vector<double>> Ops(const std::string& kind) const
    {
        std::vector<std::vector<double>> out;
        for (const DrawOp& op : page.ops)
            if (op.kind == kind) out.push_back(op.args);
        return out;
    }

private:
    ShearPictureSource keptSource_;
};

// The frame and the inner lines of a block, in page units (y 4.5 lower).
std::vector<std::vector<double>> GridOps(double x, double y, int cols, int rows, double w, double h, bool inner)
{
    const double Y = kPaperY;
    std::vector<std::vector<double>> out{{x, y + Y, x + cols * w, y + rows * h + Y}};
    if (!inner) return out;
    for (int i = 1; i < cols; ++i) out.push_back({x + i * w, y + Y, x + i * w, y + rows * h + Y});
    for (int j = 1; j < rows; ++j) out.push_back({x, y + j * h + Y, x + cols * w, y + j * h + Y});
    return out;
}

TEST_F(ShearPage, SevenBlocksOfASeries1Base)
{
    OnBase(kSeries1);
    gColumns(1).ColName = "C1";
    Print(0, 4);
    const ColumnResultTbl r = Checked();
    DesignTable des{};
    for (int16_t k = 1; k <= 6; ++k) BuildDesignStressTable(des, gColumns(1).LoadTbl, k);
    const double f = gUnitFactor;

    // Frames and lines, block by block; the methods block has no inner lines.
    std::vector<std::vector<double>> frames, lines;
    const auto add = [&](double y, int cols, int rows, double w, bool inner) {
        const auto g = GridOps(35, y, cols, rows, w, 4, inner);
        frames.push_back(g[0]);
        lines.insert(lines.end(), g.begin() + 1, g.end());
    };
    add(20, 1, 2, 35, true);
    add(32, 2, 2, 35, true);
    add(44, 3, 2, 35, true);
    add(56, 4, 2, 35, true);
    add(72, 3, 2, 35, true);
    add(88, 1, 3, 155, false);
    add(112, 3, 2, 35, true);
    EXPECT_EQ(Ops("Rectangle"), frames);
    EXPECT_EQ(Ops("Line"), lines);

    EXPECT_EQ(One(30, 15), "せん断耐力に関する検討");
    EXPECT_EQ(One(95, 1), "試験物件");
    struct Cell {
        std::string text;
        double cx, cy;
    } cells[] = {
        {"柱符号", 52.5, 22},
        {"C1", 52.5, 26},
        {"応力状態", 52.5, 34},
        {"短期時", 52.5, 38},
        {"応力方向", 87.5, 34},
        {"X方向L", 87.5, 38},
        {"コルヴァン型式", 52.5, 46},
        {GetKvDisplayName(gKvBase(1)), 52.5, 50},
        {"コンクリート強度", 87.5, 46},
        {"Fc" + vb::Str(gColumns(1).Fc), 87.5, 50},
        {"スラブのコンクリート強度", 122.5, 46},
        {"Fc 24", 122.5, 50},
        {"B1(mm)", 52.5, 58},
        {"300", 52.5, 62},
        {"B2(mm)", 87.5, 58},
        {"700", 87.5, 62},
        {"d1(mm)", 122.5, 58},
        {"250", 122.5, 62},
        {"d2(mm)", 157.5, 58},
        {"450", 157.5, 62},
        {"N(kN)", 52.5, 74},
        {FormatValue(des(1, 4) * f, 2), 52.5, 78},
        {"M(kN・m)", 87.5, 74},
        {FormatValue(des(2, 4) * f, 2), 87.5, 78},
        {"Q(kN)", 122.5, 74},
        {FormatValue(des(3, 4) * f, 2), 122.5, 78},
        {"Qa0(kN)", 52.5, 114},
        {FormatValue(r.Qu0(0, 4), 2), 52.5, 118},
        {"Qa1(kN)", 87.5, 114},
        {FormatValue(r.Qu1(0, 4), 2), 87.5, 118},
        {"Qa2(kN)", 122.5, 114},
        {FormatValue(r.Qu2(0, 4), 2), 122.5, 118},
    };
    for (const Cell& c : cells) EXPECT_TRUE(HasCentred(c.text, c.cx, c.cy)) << c.text;
    EXPECT_EQ(gColumns(1).Fc, 21);
    EXPECT_EQ(One(35, 68), "＜応力＞");
    EXPECT_EQ(One(35, 108), "＜許容せん断耐力＞");
    EXPECT_EQ(One(35.5, 88.5), "(1)コルヴァン下の圧縮反力による摩擦抵抗に期待する方法(Qa0)");
    EXPECT_EQ(One(35.5, 92.5),
              "(2)アンカーボルトの座金を全周隅肉溶接でコルヴァンに固定し、そのアンカーボルトのせん断耐力に期待する方法(Qa1)");
    EXPECT_EQ(One(35.5, 96.5), "(3)柱脚部を埋め込み、コンクリートの支圧抵抗に期待する方法(Qa2)");
    EXPECT_EQ(One(35, 128), "＜対処方法の判定＞");
    EXPECT_EQ(One(39, 132), "(1)のみの場合");
    EXPECT_TRUE(At(39, 144).empty());
    EXPECT_EQ(One(95, 278), "- 1 -");
    // The footer ends near 167 and carries the date.
    EXPECT_EQ(One(167 - (3 + 5) * 2.7, 279), "設計担当：設計者  2023/03/15");
    // No font name of its own: every text in the surface's font.
    for (const DrawOp& op : page.ops)
        if (op.kind == "Text") {
            EXPECT_EQ(op.fontSize, op.text == "試験物件" ? 10 : 7.8) << op.text;
        }
}

TEST_F(ShearPage, Series4And6HaveTwoWaysAndSeries6HasItsSlabConcrete)
{
    for (int32_t base : {kSeries4, kSeries6}) {
        SCOPED_TRACE(base);
        OnBase(base);
        Print(1, 6);
        const ColumnResultTbl r = Checked();
        const bool s6 = base == kSeries6;
        const std::string word = s6 ? "ソルヴェナス" : "コルヴァン";
        EXPECT_TRUE(HasCentred(word + "型式", 52.5, 46));
        EXPECT_TRUE(HasCentred(s6 ? "Fc18" : "Fc 24", 122.5, 50));
        EXPECT_TRUE(HasCentred("終局時", 52.5, 38));
        EXPECT_TRUE(HasCentred("Y方向L", 87.5, 38));
        // Rows (1) and (3) only, and two capacity columns.
        EXPECT_EQ(One(35.5, 88.5), "(1)" + word + "下の圧縮反力による摩擦抵抗に期待する方法(Qu0)");
        EXPECT_EQ(One(35.5, 92.5), "(3)柱脚部を埋め込み、コンクリートの支圧抵抗に期待する方法(Qu2)");
        EXPECT_TRUE(At(35.5, 96.5).empty());
        EXPECT_EQ(One(35, 108), "＜終局せん断耐力＞");
        EXPECT_TRUE(HasCentred("Qu0(kN)", 52.5, 114));
        EXPECT_TRUE(HasCentred("Qu2(kN)", 87.5, 114));
        EXPECT_TRUE(HasCentred(FormatValue(r.Qu2(1, 6), 2), 87.5, 118));
        EXPECT_EQ(Ops("Rectangle")[5], GridOps(35, 88, 1, 2, 155, 4, false)[0]);
        EXPECT_EQ(Ops("Rectangle")[6], GridOps(35, 112, 2, 2, 35, 4, true)[0]);
    }
}

TEST_F(ShearPage, StateAndDirectionTextsOfEveryCase)
{
    OnBase(kSeries1);
    struct Case {
        int16_t dir, k;
        const char *state, *direction, *symbol, *title;
    } cases[] = {
        {0, 1, "長期時", "X方向", "Qa", "＜許容せん断耐力＞"}, {1, 2, "", "Y方向", "Qa", "＜許容せん断耐力＞"},
        {0, 3, "", "X方向", "Qa", "＜許容せん断耐力＞"},       {1, 4, "短期時", "Y方向L", "Qa", "＜許容せん断耐力＞"},
        {0, 5, "短期時", "X方向R", "Qa", "＜許容せん断耐力＞"}, {0, 6, "終局時", "X方向L", "Qu", "＜終局せん断耐力＞"},
        {1, 7, "終局時", "Y方向R", "Qu", "＜終局せん断耐力＞"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.k);
        Print(c.dir, c.k);
        EXPECT_EQ(At(Centred(c.state, 52.5, 38).first, 37), std::vector<std::string>{c.state});
        EXPECT_TRUE(HasCentred(c.direction, 87.5, 38));
        EXPECT_EQ(One(35, 108), c.title);
        EXPECT_TRUE(HasCentred(std::string(c.symbol) + "0(kN)", 52.5, 114));
        EXPECT_EQ(One(41, 136), std::string(c.symbol) + " = " + c.symbol + "0 =");
    }
}

TEST_F(ShearPage, OldUnitsPrintTonForceTexts)
{
    OnBase(kSeries1);
    OldUnits();
    Print(0, 1);
    for (const auto& [text, cx, cy] : {std::tuple{"N(tf)", 52.5, 74.0}, {"M(tf・m)", 87.5, 74.0},
                                       {"Q(tf)", 122.5, 74.0}, {"Qa0(tf)", 52.5, 114.0}, {"Qa2(tf)", 122.5, 114.0}})
        EXPECT_TRUE(HasCentred(text, cx, cy)) << text;
    EXPECT_TRUE(HasCentred("Fc 210", 87.5, 50));
}

TEST_F(ShearPage, CompareLineSignAndVerdict)
{
    struct Case {
        double capacity, stress;
        const char *sign, *verdict, *stressText;
    } cases[] = {{10, -12, "<", "NG", "|-12.00| (kN)"},
                 {10, -10, "=", "OK", "|-10.00| (kN)"},
                 {10, 12, "<", "NG", "|12.00| (kN)"},
                 {10, 9.5, ">", "OK", "|9.50| (kN)"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stress);
        page = drawing::RecordingPage(1.0);
        page.charWidth = 1;
        drawing::clsPrintOut po;
        po.setprpMode(1);
        po.setprpVsPrinter(&page);
        PrintShearCompareLine(po, 39, 132, "(1)のみの場合", "Qa = Qa0 =", c.capacity, c.stress, "(kN)");
        const std::string capacity = "10.00(kN)";
        const std::vector<PageText> want{
            {"(1)のみの場合", 39, 132, 9},
            {"Qa = Qa0 =", 41, 136, 9},
            {capacity, 84.0 - capacity.size(), 136, 9},
            {c.sign, 86, 136, 9},
            {c.stressText, 109.0 - std::string(c.stressText).size(), 136, 9},
            {c.verdict, 119, 136, 9},
        };
        EXPECT_EQ(Texts(), want);
    }
}

TEST_F(ShearPage, SecondJudgementLineFollowsTheMethodFlags)
{
    struct Case {
        int32_t base;
        int16_t flags;
        const char *caption, *formula;
        int capacity;  // 0 none, 1 max(Qu0, Qu1), 2 Qu2, 3 Qu0 + Qu2, 4 max + Qu2
    } cases[] = {
        {kSeries1, 0, nullptr, nullptr, 0},
        {kSeries1, 1, "(1)と(2)の場合", "Qa = max(Qa0,Qa1) =", 1},
        {kSeries1, 2, "(1)と(3)の場合", "Qa = Qa0 + Qa2 =", 3},
        {kSeries6, 2, "(3)の場合", "Qa = Qa2 =", 2},
        {kSeries1, 3, "(1)と(2)、(3)の場合", "Qa = max(Qa0,Qa1)+Qa2 =", 4},
        {kSeries6, 3, "(1)と(2)、(3)の場合", "Qa = max(Qa0,Qa1)+Qa2 =", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.base) + " flags " + std::to_string(c.flags));
        OnBase(c.base, c.flags);
        Print(0, 4);
        if (!c.caption) {
            EXPECT_TRUE(At(39, 144).empty());
            continue;
        }
        const ColumnResultTbl r = Checked();
        const double q0 = r.Qu0(0, 4), q1 = r.Qu1(0, 4), q2 = r.Qu2(0, 4);
        const double capacity[] = {0, std::max(q0, q1), q2, q0 + q2, std::max(q0, q1) + q2};
        EXPECT_EQ(One(39, 144), c.caption);
        EXPECT_EQ(One(41, 148), c.formula);
        const std::string text = FormatValue(capacity[c.capacity], 2) + "(kN)";
        EXPECT_EQ(One(84.0 - text.size(), 148), text);
    }
}

TEST_F(ShearPage, FooterAndPageNumberOptions)
{
    OnBase(kSeries1);
    gCond.Tantou = "   ";
    Print(0, 1, -1);
    EXPECT_EQ(One(95, 278), "--1 -");
    for (const PageText& t : Texts()) EXPECT_NE(t.y, 279) << t;
    gCond.Tantou = "設計者";
    gPrNoFooter = gPrNoHeader = true;
    gPrPageNumber = false;
    gCond.Bukken = "";
    Print(0, 1);
    for (const PageText& t : Texts()) EXPECT_TRUE(t.y != 279 && t.y != 278 && t.y != 1) << t;
}

TEST_F(ShearPage, CallersRecordsStayAsTheyWere)
{
    OnBase(kSeries1, 3);
    // Results that differ from what the page computes.
    gResults(1).Qu0(0, 4) = 12345;
    gResults(1).DesignStress(3, 4) = 99;
    const ColumnDataTbl col = gColumns(1);
    const ColumnResultTbl res = gResults(1);
    const KvBaseTbl base = gKvBase(1);
    Print(0, 4);
    EXPECT_TRUE(gColumns(1) == col);
    EXPECT_TRUE(gResults(1) == res);
    EXPECT_TRUE(gKvBase(1) == base);
    // The page shows its own check, not the stored shares.
    EXPECT_FALSE(HasCentred("12345.00", 52.5, 118));
    page.failDraws = true;
    drawing::clsPrintOut po;
    po.setprpMode(1);
    po.setprpVsPrinter(&page);
    EXPECT_THROW(PrintShearPageOfColumn(po, 1, 1, 0, 4), drawing::RecordingFailure);
    EXPECT_TRUE(gColumns(1) == col);
    EXPECT_TRUE(gResults(1) == res);
    EXPECT_TRUE(gKvBase(1) == base);
}

TEST_F(ShearPage, PictureOfThePagesOwnColumnAndDirectionAtItsNaturalSize)
{
    OnBase(kSeries1);
    gColumns(1).KvDir = 3;
    gShearDir = 0;
    std::vector<std::tuple<int16_t, int16_t, int32_t>> asked;
    SetShearPictureSource([&asked](const KvBaseTbl& b, int16_t kvDir, int16_t dir) {
        asked.emplace_back(kvDir, dir, b.ID);
        QImage img(300, 200, QImage::Format_RGB32);
        img.setDotsPerMeterX(10000);  // 30 mm
        img.setDotsPerMeterY(10000);  // 20 mm
        return img;
    });
    Print(1, 5);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_tuple(int16_t{3}, int16_t{1}, gKvBase(1).ID));
    // Straight on the control: no 4.5 mm.
    EXPECT_EQ(Ops("Picture"), (std::vector<std::vector<double>>{{40, 160, 70, 180, 300, 200}}));
    // None where the source has none.
    SetShearPictureSource([](const KvBaseTbl&, int16_t, int16_t) { return QImage(); });
    Print(0, 1);
    EXPECT_TRUE(Ops("Picture").empty());
}

// ---- Style 2 through the driver ----

TEST_F(ShearPage, DriverPrintsThePagesOfThePrintedKindsNgAndOkStarCases)
{
    // Column 2 carries its shear with washers and slab as well (OK* where
    // friction alone would not do).
    SProject(3, kSeries1);
    for (int16_t i = 1; i <= 3; ++i) {
        ColumnDataTbl& c = gColumns(i);
        c.SlabQ_B1X = c.SlabQ_B1Y = 300;
        c.SlabQ_B2X = c.SlabQ_B2Y = 700;
        c.SlabQ_d2 = 450;
        c.SlabFc = 24;
        c.FShear.fill(i == 2 ? 3 : 0);
        for (long k = 1; k <= 20; ++k) c.LoadTbl(3, k) = c.LoadTbl(6, k) = 0.6 * i * k;
        // Wind shears the seismic ones do not come near.
        c.LoadTbl(3, 7) = c.LoadTbl(6, 9) = 40;
    }
    // The wind kind printed while the window shows the seismic one; the
    // short-term cases follow the kind.
    gCond.ShortCalcMode = 0;
    gPrintShortKind = 1;
    gShortLoadKind = 0;
    // The verdicts the pages follow: the printed kind's.
    std::vector<std::tuple<int16_t, int16_t, int16_t, int16_t>> verdicts;  // column, dir, case, verdict
    gShortLoadKind = 1;
    for (int16_t i = 1; i <= 3; ++i) {
        BuildDesignStresses(i);
        CalcColumnByIndex(i, 0);
        CalcColumnByIndex(i, 1);
        for (int16_t d = 0; d <= 1; ++d)
            for (int16_t k : {1, 4, 5, 6, 7}) verdicts.emplace_back(i, d, k, gResults(i).JadgeQ(d, k));
    }
    gShortLoadKind = 0;
    bool kindsDiffer = false;
    for (int16_t i = 1; i <= 3; ++i) {
        BuildDesignStresses(i);
        CalcColumnByIndex(i, 0);
        CalcColumnByIndex(i, 1);
        for (const auto& [c, d, k, v] : verdicts)
            if (c == i) kindsDiffer = kindsDiffer || (v == 0) != (gResults(i).JadgeQ(d, k) == 0);
    }
    // Otherwise the test could not tell the kinds apart.
    ASSERT_TRUE(kindsDiffer);
    const ColumnResultTbl shown = gResults(2);
    const auto count = [&](bool ng, bool okStar) {
        int n = 0;
        for (const auto& v : verdicts) n += (std::get<3>(v) == 0 && ng) || (std::get<3>(v) > 0 && okStar);
        return n;
    };
    ASSERT_GT(count(true, false), 0);
    ASSERT_GT(count(false, true), 0);

    std::vector<std::tuple<int16_t, int16_t, int16_t, int>> pages;
    PageTable().shearPage = [&pages](drawing::clsPrintOut&, int16_t column, int pageNo, int16_t d, int16_t k) {
        pages.emplace_back(column, d, k, pageNo);
    };
    struct Run {
        int noneNG, noneOK;
    } runs[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (const Run& run : runs) {
        SCOPED_TRACE(std::to_string(run.noneNG) + std::to_string(run.noneOK));
        pages.clear();
        page = drawing::RecordingPage(1.0);
        ReportChoices ch;
        ch.columns = {1, 2, 3};
        ch.noneNG = run.noneNG;
        ch.noneOK = run.noneOK;
        ch.pageNumberText = "5";
        ASSERT_TRUE(psub_Print(page, 2, ch));
        std::vector<std::tuple<int16_t, int16_t, int16_t, int>> want;
        for (const auto& [i, d, k, v] : verdicts)
            if ((v == 0 && !run.noneNG) || (v > 0 && !run.noneOK))
                want.emplace_back(i, d, k, 5 + static_cast<int>(want.size()));
        EXPECT_EQ(pages, want);
        EXPECT_EQ(page.pageCount, std::max<int>(1, static_cast<int>(want.size())));
        // The window keeps its own kind's results.
        EXPECT_TRUE(gResults(2) == shown);
    }
}

// One verdict for one check: a case's shear counts only where its moment is
// not NG. The list, the printed list and the CSV name the same verdict; the
// shear pages leave out a case whose moment failed, as the table does.
TEST_F(ShearPage, AMomentNgCaseHasNoShearVerdictAnywhere)
{
    SProject(3, kSeries1);
    for (int16_t i = 1; i <= 3; ++i) {
        ColumnDataTbl& c = gColumns(i);
        c.FShear.fill(0);
        c.LoadTbl(2, 3) = 0;
        for (long k = 1; k <= 20; ++k) c.LoadTbl(3, k) = c.LoadTbl(6, k) = 0;
    }
    // Column 1: the seismic X moment and shear both too large; column 2: the
    // seismic X shear alone; column 3 as it was.
    gColumns(1).LoadTbl(2, 3) = 400;
    gColumns(1).LoadTbl(3, 3) = 150;
    gColumns(2).LoadTbl(3, 3) = 60;
    gCond.ShortCalcMode = gCond.UltCalcMode = 0;
    gPrintShortKind = gShortLoadKind = 0;

    std::vector<std::tuple<int16_t, int16_t, int16_t>> pages;
    PageTable().shearPage = [&pages](drawing::clsPrintOut&, int16_t column, int, int16_t d, int16_t k) {
        pages.emplace_back(column, d, k);
    };
    for (const bool ultJadge : {true, false}) {
        SCOPED_TRACE(ultJadge ? "with the ultimate check" : "without the ultimate check");
        gCond.UltJadge = ultJadge ? kTrue : kFalse;
        std::vector<std::tuple<int16_t, int16_t, int16_t>> want;
        std::vector<std::string> verdicts;
        int momentAndShearNg = 0, shearNgAlone = 0;
        for (int16_t i = 1; i <= 3; ++i) {
            CheckColumn(i);
            const ColumnResultTbl& r = gResults(i);
            for (int16_t d = 0; d <= 1; ++d)
                for (int16_t k : {1, 4, 5, 6, 7}) {
                    const bool momentNg = (k <= 5 || ultJadge) && r.JadgeM(d, k) == 0;
                    momentAndShearNg += momentNg && r.JadgeQ(d, k) == 0;
                    shearNgAlone += !momentNg && r.JadgeQ(d, k) == 0;
                    if (!momentNg && r.JadgeQ(d, k) == 0) want.emplace_back(i, d, k);
                }
            verdicts.push_back(GetColumnJudgeText(r, ultJadge));
        }
        // Otherwise the table would not tell the rules apart.
        ASSERT_GT(momentAndShearNg, 0);
        ASSERT_GT(shearNgAlone, 0);
        EXPECT_EQ(verdicts, (std::vector<std::string>{ultJadge ? "NG(M)" : "NG(Q)", "NG(Q)", "OK"}));

        // The CSV.
        const std::string csv = BuildColumnListCsv([](long) { return int16_t{1}; });
        std::vector<std::string> csvVerdicts;
        std::size_t at = 0;
        for (int line = 0; (at = csv.find("\r\n", at)) != std::string::npos; ++line) {
            at += 2;
            if (line < 1 || at >= csv.size()) continue;
            std::string row = csv.substr(at, csv.find("\r\n", at) - at);
            for (int field = 0; field < 3; ++field) row = row.substr(row.find(',') + 1);
            csvVerdicts.push_back(row.substr(1, row.find(',') - 2));
        }
        EXPECT_EQ(csvVerdicts, verdicts);

        // The printed list.
        page = drawing::RecordingPage(1.0);
        ReportChoices list;
        list.columns = {1, 2, 3};
        ASSERT_TRUE(psub_Print(page, 3, list));
        std::vector<std::string> printed;
        for (const DrawOp& op : page.ops)
            if (op.kind == "Text" && (op.text == "OK" || op.text == "OK*" || op.text == "NG(M)" || op.text == "NG(Q)"))
                printed.push_back(op.text);
        EXPECT_EQ(printed, verdicts);

        // The shear pages of the NG cases.
        pages.clear();
        page = drawing::RecordingPage(1.0);
        ReportChoices shear;
        shear.columns = {1, 2, 3};
        shear.noneOK = 1;
        ASSERT_TRUE(psub_Print(page, 2, shear));
        EXPECT_EQ(pages, want);
    }
}

// ---- SRC columns ----

// The SRC check judges the shear against the capacity of the whole SRC base;
// it computes no friction, washer or slab share of the steel base.
class SrcShearPage : public ShearPage {
protected:
    // Column 1 fails in shear in X, column 2 in Y with a negative force;
    // column 2 has both shear methods on. Stale shares in the records.
    void Project()
    {
        SrcProject(2);
        for (int16_t i = 1; i <= 2; ++i) {
            ColumnDataTbl& c = gColumns(i);
            for (long k = 1; k <= 20; ++k) {
                if (i == 1) c.LoadTbl(3, k) = 300 + k;
                if (i == 2) c.LoadTbl(6, k) = -(250 + k);
            }
            c.FShear.fill(i == 2 ? 3 : 0);
            for (int16_t d = 0; d <= 1; ++d)
                for (long k = 1; k <= 8; ++k) {
                    gResults(i).Qu0(d, k) = 777;
                    gResults(i).Qu1(d, k) = 888;
                    gResults(i).Qu2(d, k) = 999;
                }
            // The window's results, as the driver finds them.
            BuildDesignStresses(i);
            CalcColumnByIndex(i, 0);
            CalcColumnByIndex(i, 1);
        }
    }
    // What the page of (column, d, k) shows of its capacities.
    struct Shown {
        std::vector<std::string> shares;  // the capacity row's cells before the last
        std::string total;                // the last cell
        std::string judged;               // the judgement line's capacity text
        std::string verdict;
        bool secondLine = false;
    };
    Shown Read() const
    {
        Shown s;
        // Series 1: three shares and the total, 35 mm a column from x 35.
        for (int i = 0; i < 4; ++i) {
            const double cx = 35 + 35 * (i + 0.5);
            for (const PageText& t : Texts())
                if (t.y == 117 && std::fabs(t.x + text::CharCount(t.text) / 2.0 - cx) < 1e-9) {
                    if (i < 3)
                        s.shares.push_back(t.text);
                    else
                        s.total = t.text;
                }
        }
        for (const PageText& t : Texts()) {
            if (t.y == 136 && std::fabs(t.x + text::CharCount(t.text) - 84) < 1e-9) s.judged = t.text;
            if (t.y == 136 && t.x == 119) s.verdict = t.text;
            if (t.y == 144) s.secondLine = true;
        }
        return s;
    }
};

TEST_F(SrcShearPage, DriverPagesPrintTheCapacityOfTheSrcVerdict)
{
    Project();
    // The real page of each chosen case on a page of its own.
    struct Printed {
        int16_t column, d, k;
        Shown shown;
    };
    std::vector<Printed> printed;
    PageTable().shearPage = [this, &printed](drawing::clsPrintOut&, int16_t column, int pageNo, int16_t d,
                                             int16_t k) {
        Print(d, k, pageNo, column);
        printed.push_back({column, d, k, Read()});
    };
    drawing::RecordingPage doc(1.0);
    ReportChoices ch;
    ch.columns = {1, 2};
    ASSERT_TRUE(psub_Print(doc, 2, ch));

    // Every NG case of both columns has its page, in X for column 1 and Y for 2.
    std::vector<std::tuple<int16_t, int16_t, int16_t>> want, got;
    for (int16_t i = 1; i <= 2; ++i) {
        const ColumnResultTbl r = Checked(i);
        for (int16_t d = 0; d <= 1; ++d)
            for (int16_t k : {1, 4, 5, 6, 7}) {
                // The SRC verdict is OK or NG, never OK*.
                EXPECT_TRUE(r.JadgeQ(d, k) == 0 || r.JadgeQ(d, k) == -1);
                if (r.JadgeQ(d, k) == 0) want.emplace_back(i, d, k);
            }
    }
    for (const Printed& p : printed) got.emplace_back(p.column, p.d, p.k);
    EXPECT_EQ(got, want);
    ASSERT_GE(want.size(), 6u);

    for (const Printed& p : printed) {
        SCOPED_TRACE(std::to_string(p.column) + " " + std::to_string(p.d) + " " + std::to_string(p.k));
        const ColumnResultTbl r = Checked(p.column);
        const std::string capacity = FormatValue(r.Qu(p.d, p.k), 2);
        ASSERT_GT(r.Qu(p.d, p.k), 0);
        // Not computed by the SRC check: marked, never a number.
        EXPECT_EQ(p.shown.shares, (std::vector<std::string>{"-", "-", "-"}));
        EXPECT_EQ(p.shown.total, capacity);
        EXPECT_EQ(p.shown.judged, capacity + "(kN)");
        EXPECT_EQ(p.shown.verdict, "NG");
        EXPECT_FALSE(p.shown.secondLine);
    }
}

TEST_F(SrcShearPage, AnOkCaseAndTheJudgementLine)
{
    Project();
    // Column 1 in Y carries its shear.
    const ColumnResultTbl r = Checked(1);
    for (int16_t k : {1, 4, 6}) {
        SCOPED_TRACE(k);
        ASSERT_EQ(r.JadgeQ(1, k), -1);
        Print(1, k);
        const std::string S = k >= 6 ? "Qu" : "Qa";
        const Shown shown = Read();
        const std::string capacity = FormatValue(r.Qu(1, k), 2);
        EXPECT_EQ(shown.shares, (std::vector<std::string>{"-", "-", "-"}));
        EXPECT_EQ(shown.total, capacity);
        EXPECT_TRUE(HasCentred(S + "(kN)", 35 + 35 * 3.5, 114));
        EXPECT_TRUE(HasCentred(S + "0(kN)", 52.5, 114));
        EXPECT_EQ(shown.judged, capacity + "(kN)");
        EXPECT_EQ(shown.verdict, "OK");
        EXPECT_EQ(One(39, 132), "SRC柱脚（鉄骨柱脚＋コンクリート＋鉄筋）の場合");
        EXPECT_EQ(One(41, 136), S + " =");
        EXPECT_EQ(Ops("Rectangle")[6], GridOps(35, 112, 4, 2, 35, 4, true)[0]);
    }
}

}  // namespace
