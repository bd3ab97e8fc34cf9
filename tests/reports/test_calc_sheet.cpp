// The calculation sheet on the sample catalogue: every text of the page with
// its place and size, the figures and diagrams against direct calls of their
// routines, the options and the edge cases of the texts, the state the page
// leaves, and the three kinds of sample page as PDF and PNG.
#include "drawing/globals.h"
#include "drawing/kv_figure_common.h"
#include "drawing/kv_figure_h.h"
#include "drawing/kv_figure_src.h"
#include "drawing/kv_figure_tube.h"
#include "drawing/nm_diagram.h"
#include "drawing/rc_section.h"
#include "drawing/recording.h"
#include "engine/kv.h"
#include "model/base_data.h"
#include "model/column_check.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/rebar_zone.h"
#include "model/startup.h"
#include "model/stress.h"
#include "model/texts.h"
#include "platform/qt/print_control.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"
#include "reports/calc_sheet.h"
#include "reports/report_common.h"
#include "reports/report_drivers.h"
#include "reports/stress_table.h"
#include "tests/platform/ui/scripted_ui.h"
#include "tests/reports/page_fixture.h"

#include <QProcess>
#include <QSettings>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

using namespace model;
using namespace reports;
using drawing::DrawOp;
using drawing::RecordingPage;

using namespace reporttest;

constexpr int32_t kSrcBase = 1000500;  // SRX-700

bool SameOp(const DrawOp& a, const DrawOp& b)
{
    return a.kind == b.kind && a.args == b.args && a.text == b.text && a.fontSize == b.fontSize &&
           a.color == b.color && a.width == b.width && a.style == b.style && a.fontName == b.fontName &&
           a.fillColor == b.fillColor && a.fillStyle == b.fillStyle && a.filled == b.filled;
}

// Where `part` stands as one unbroken run in `ops`, from `from` on; npos if nowhere.
std::size_t FindRun(const std::vector<DrawOp>& ops, const std::vector<DrawOp>& part, std::size_t from = 0)
{
    if (part.empty()) return std::string::npos;
    for (std::size_t i = from; i + part.size() <= ops.size(); ++i) {
        bool all = true;
        for (std::size_t k = 0; k < part.size() && all; ++k) all = SameOp(ops[i + k], part[k]);
        if (all) return i;
    }
    return std::string::npos;
}

class CalcSheet : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        RegisterCalcSheetPage();
    }

    void Print(int16_t iCol, int pageNo = 3)
    {
        page = RecordingPage(1.0);
        drawing::clsPrintOut po;
        po.setprpMode(1);
        po.setprpVsPrinter(&page);
        PrintCalcSheetPage(po, iCol, pageNo);
    }
    // A fresh page target in millimetres with a surface on it, in the state
    // the sheet is in when it starts the figure.
    struct Direct {
        RecordingPage page{1.0};
        drawing::clsPrintOut po;
        Direct()
        {
            po.setprpMode(1);
            po.setprpVsPrinter(&page);
            po.setFontName(kReportFont);
            po.setFontSize(8);
            po.setForeColor(0);
            po.setDrawStyle(0);
            po.setDrawWidth(3);
        }
    };
    static drawing::FigureFrameTbl Frame(double x0, double scale)
    {
        drawing::FigureFrameTbl f = drawing::gNMChart;
        f.X0 = x0;
        f.Y0 = 30;
        f.ScaleX = f.ScaleY = scale;
        f.Mode = 1;
        return f;
    }
    // The ops of one N-M diagram in the given area, drawn directly.
    static std::vector<DrawOp> Diagram(int16_t iCol, int16_t disp, double left, double top, double width,
                                       double height)
    {
        Direct d;
        const int16_t keep = gDispMode;
        gDispMode = disp;
        drawing::gNMChart.AreaLeft = left;
        drawing::gNMChart.AreaTop = top;
        drawing::gNMChart.AreaWidth = width;
        drawing::gNMChart.AreaHeight = height;
        int16_t c = iCol;
        int16_t dir = 999;
        drawing::DrawNMDiagram(d.po, c, dir);
        gDispMode = keep;
        return d.page.ops;
    }
};

// Everything the sheet draws itself, in order, when the parts drawn by the
// figure, section, table and diagram routines are taken out; each part must
// stand whole and in order on the page.
std::vector<DrawOp> WithoutParts(const std::vector<DrawOp>& ops, const std::vector<std::vector<DrawOp>>& parts)
{
    std::vector<DrawOp> rest;
    std::size_t at = 0;
    for (const auto& part : parts) {
        const std::size_t i = FindRun(ops, part, at);
        EXPECT_NE(i, std::string::npos) << "a part is missing or broken, " << part.size() << " ops";
        if (i == std::string::npos) return {};
        rest.insert(rest.end(), ops.begin() + static_cast<long>(at), ops.begin() + static_cast<long>(i));
        at = i + part.size();
    }
    rest.insert(rest.end(), ops.begin() + static_cast<long>(at), ops.end());
    return rest;
}

TEST_F(CalcSheet, SColumnOnASymmetricBaseHasEveryTextInPlaceAndOneWideDiagram)
{
    SProject(1, 110110);  // KC200A: square, series 1, so the RC section is drawn
    ColumnDataTbl& col = gColumns(1);
    col.FShear(3, 1) = 1;
    col.FShear(6, 0) = 2;
    gCond.DesignRootX = 2;
    gCond.GammaX = 1.25;
    gCond.UltCalcMode = 0;
    gCond.UltMQMode = kFalse;
    gCond.SCondition = 2;
    gCond.Alpha1 = 1.4;
    gCond.Alpha2 = 0.35;
    gDispMode = 4;  // the main window shows the base figure
    ASSERT_EQ(gKvBase(1).RotateMode, kFalse);
    Print(1, 3);

    // The parts drawn by their own routines, on a second page.
    Direct d;
    int16_t c = 1, dir = col.KvDir;
    drawing::DrawKvFigureTube(d.po, Frame(136.5, 0.95), c, dir);
    const std::size_t figureOps = d.page.ops.size();
    c = 1;
    dir = col.KvDir;
    drawing::DrawRcColumnSection(d.po, Frame(170.5, 0.95), c, dir);
    ASSERT_GT(d.page.ops.size(), figureOps);  // the section is there
    PrintStressTable(d.po, 1);
    const std::vector<DrawOp> diagram = Diagram(1, 0, 20, 136, 170, 138);
    ASSERT_FALSE(diagram.empty());
    const std::vector<DrawOp> rest = WithoutParts(page.ops, {d.page.ops, diagram});

    std::array<std::string, 7> t;
    int16_t ic = 1;
    GetSectionPropertyTexts(ic, t);
    std::string main, second, material;
    const std::string section = GetColumnSectionText(ic, main, second, material);
    const std::vector<PageText> want = {
        {"", 0, -kPaperY, 6},
        {"試験物件", 95, 1, 10},
        {"柱脚仕様", 20, 6, 8},
        {"柱名称", 23, 11, 8},
        {"C1", 38, 11, 8},
        {"ｺﾝｸﾘｰﾄ強度", 80, 11, 8},
        {"21N/mm", 105, 11, 8},
        {"2", 113.5, 10.5, 6},
        {"柱諸元", 23, 20, 8},
        {section, 38, 18, 8},
        {t[0], 43, 22, 8},
        {t[1], 65, 22, 8},
        {t[2], 87, 22, 8},
        {"ｺﾙｳﾞｧﾝ", 23, 33, 8},
        {"設計条件", 22, 48, 8},
        {GetKvNameByIndex(1), 38, 31, 8},
        {GetKbsText(1), 38, 35, 8},
        {"設計ルート ： ルート2   γ＝1.25", 38, 41.5, 8},
        {"積雪の扱い ： 多雪    α１＝ 1.40    α２＝ 0.35", 38, 45, 8},
        {"(長期) ＝ Ｇ＋Ｐ＋(α１×Ｓ)", 41, 48.5, 8},
        {"(短期) ＝ Ｇ＋Ｐ＋(α２×Ｓ)＋Ｋ", 41, 52, 8},
        {"(終局) ＝ Ｇ＋Ｐ＋γ×Ｋ(軸力) ， γ×Ｋ(曲げ,せん断)", 41, 55.5, 8},
        {"・座金を全周隅肉溶接でコルヴァンに溶接してください。", 130, 52, 5},
        {"・コルヴァンをスラブの中に埋め込んでください。", 130, 54.2, 5},
        {" (B1:" + vb::CStr(col.SlabQ_B1X) + "  B2:" + vb::CStr(col.SlabQ_B2X) + "  d1:" + vb::CStr(col.SlabQ_d1) +
             "  d2:" + vb::CStr(col.SlabQ_d2) + ")",
         133, 56, 5},
        {"耐力検討", 20, 132.5, 8},
        {"- 3 -", 95, 278, 8},
        {"設計担当：設計者", 172 - 8 * 2.7, 279, 8},
        {"2023/03/15", 175, 279, 8},
    };
    const std::vector<PageText> got = TextsOf(rest);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].text, want[i].text) << i;
        EXPECT_NEAR(got[i].x, want[i].x, 1e-9) << want[i];
        EXPECT_NEAR(got[i].y, want[i].y, 1e-9) << want[i];
        EXPECT_EQ(got[i].size, want[i].size) << want[i];
    }
    for (const DrawOp& op : page.ops) {
        if (op.kind == "Text") {
            EXPECT_EQ(op.fontName, kReportFont) << op.text;
        }
    }
    // The box: outline in black, then the lines of the text part (R = 120).
    std::vector<std::vector<double>> box;
    for (const DrawOp& op : rest)
        if (op.kind == "Line" || op.kind == "Rectangle") box.push_back(op.args);
    const double Y = kPaperY;
    const std::vector<std::vector<double>> wantBox = {
        {20, 10 + Y, 190, 62 + Y}, {120, 10 + Y, 120, 62 + Y}, {35, 10 + Y, 35, 62 + Y},
        {20, 15 + Y, 120, 15 + Y}, {20, 29.5 + Y, 120, 29.5 + Y}, {20, 41 + Y, 120, 41 + Y},
        {75, 10 + Y, 75, 15 + Y},  {100, 10 + Y, 100, 15 + Y}};
    EXPECT_EQ(box, wantBox);
    EXPECT_EQ(gDispMode, 4);
}

TEST_F(CalcSheet, BaseThatDiffersInXAndYGetsTwoDiagramsAndTheTwoLineSlabText)
{
    SProject(1, kRectBase);
    ColumnDataTbl& col = gColumns(1);
    col.FShear(7, 1) = 2;
    gKvBase(1).KvV = 6;
    ASSERT_NE(gKvBase(1).RotateMode, kFalse);
    Print(1);
    const std::vector<DrawOp> x = Diagram(1, 0, 20, 136, 82.5, 138);
    const std::vector<DrawOp> y = Diagram(1, 1, 107.5, 136, 82.5, 138);
    const std::vector<DrawOp> rest = WithoutParts(page.ops, {x, y});
    EXPECT_FALSE(rest.empty());
    // No wide diagram.
    EXPECT_EQ(FindRun(page.ops, Diagram(1, 0, 20, 136, 170, 138)), std::string::npos);
    EXPECT_EQ(One(23, 33), "ｿﾙｳﾞｪﾅｽ");
    EXPECT_TRUE(At(130, 52).size() == 1 && At(130, 52)[0] == "・ソルヴェナスをスラブの中に埋め込んでください。");
    EXPECT_EQ(One(133, 53.8), " (B1(X):" + vb::CStr(col.SlabQ_B1X) + "  B2(X):" + vb::CStr(col.SlabQ_B2X));
    EXPECT_EQ(One(133.12, 55.6), "  B1(Y):" + vb::CStr(col.SlabQ_B1Y) + "  B2(Y):" + vb::CStr(col.SlabQ_B2Y) +
                                     "  d1:" + vb::CStr(col.SlabQ_d1) + "  d2:" + vb::CStr(col.SlabQ_d2) + ")");
}

TEST_F(CalcSheet, SrcColumnHasEveryTextInPlaceAndFourSingleCurveDiagrams)
{
    SrcProject(2);
    ColumnDataTbl& col = gColumns(1);
    col.KvDir = 1;
    col.cD(0) = 900;
    col.cD(1) = 800;
    col.RtN(0) = 8;
    col.RtN(1) = 6;
    col.RTabane(1) = 1;
    col.CenColWall(0) = 0;
    col.CenColWall(1) = 1;
    gCond.DesignRootX = 3;
    gCond.DesignRootY = 3;
    gCond.SCondition = 1;
    gPrintShortKind = 1;
    // The current column has no walls: the printed column's own flags count.
    gCurCol = 2;
    gNMCurveShow(0) = true;
    gNMCurveShow(1) = false;
    gNMCurveShow(2) = true;
    gNMCurveShow(3) = true;
    gDispMode = 5;
    Print(1, -2);
    EXPECT_EQ(gNMCurveShow(0), true);
    EXPECT_EQ(gNMCurveShow(1), false);
    EXPECT_EQ(gNMCurveShow(2), true);
    EXPECT_EQ(gNMCurveShow(3), true);
    EXPECT_EQ(gDispMode, 5);

    // The engine as the oracle of the values the page reads from it.
    KvEngineRef engine(*gKv);
    SetKvBaseInputs(engine, col);
    SetKvSrcInputs(engine, col);
    gKv->setCondition(1);
    const double r0 = gKv->srcMRatio0(), r90 = gKv->srcMRatio90(), rn = gKv->srcNRatio();
    gKv->setsrcWall(0);
    gKv->setDesignRoot(3);
    const double tX = -gKv->srcTCrit();
    ASSERT_GT(tX, -9e10);
    const std::string rankX = GetSrcColumnRank(1, 0), rankY = GetSrcColumnRank(1, 1);

    Direct d;
    d.po.setDrawWidth(3);
    int16_t c = 1, dir = 1;
    drawing::DrawKvFigureSrcX(d.po, Frame(160, 1.0), c, dir, 8, 6);
    PrintStressTable(d.po, 1);
    // The short-term pair with only the short-term curve, the ultimate pair
    // with only the ultimate curve; the column curve as printed.
    const auto curves = [](bool ult, bool shortTerm) {
        gNMCurveShow(0) = ult;
        gNMCurveShow(1) = shortTerm;
        gNMCurveShow(2) = false;
    };
    curves(false, true);
    const auto sx = Diagram(1, 0, 20, 135.5, 82.5, 65.5);
    const auto sy = Diagram(1, 1, 107.5, 135.5, 82.5, 65.5);
    curves(true, false);
    const auto ux = Diagram(1, 0, 20, 204.5, 82.5, 65.5);
    const auto uy = Diagram(1, 1, 107.5, 204.5, 82.5, 65.5);
    curves(true, true);
    // Two curves would differ from what the page drew.
    EXPECT_EQ(FindRun(page.ops, Diagram(1, 0, 20, 135.5, 82.5, 65.5)), std::string::npos);
    const std::vector<DrawOp> rest = WithoutParts(page.ops, {d.page.ops, sx, sy, ux, uy});

    std::array<std::string, 7> t;
    int16_t ic = 1;
    GetSectionPropertyTexts(ic, t);
    std::string main, second, material;
    const std::string section = GetColumnSectionText(ic, main, second, material);
    const double w8 = 80;  // the recording page's text width per character at 8 points
    const std::string rc1 = "RC: 800× 900";
    const std::string rc2 = "   鉄筋:D22(SD345)  本数";
    const std::vector<PageText> want = {
        {"", 0, -kPaperY, 6},
        {"試験物件", 95, 1, 10},
        {"柱脚仕様", 20, 6, 8},
        {"柱名称", 23, 11, 8},
        {"S1", 38, 11, 8},
        {"ｺﾝｸﾘｰﾄ強度", 80, 11, 8},
        {"24N/mm", 105, 11, 8},
        {"2", 113.5, 10.5, 6},
        {"柱諸元", 23, 20, 8},
        {rc1, 45, 15.5, 8},
        {rc2, 45 + w8 * 12, 15.5, 8},
        {" 6(*)× 8  (*):束ね有り", 45 + w8 * (12 + 20), 15.5, 8},
        {section, 45, 19, 8},
        {t[0], 47, 22.5, 8},
        {t[1], 67, 22.5, 8},
        {t[2], 87, 22.5, 8},
        {t[5], 107, 22.5, 8},
        {t[3], 67, 26, 8},
        {t[4], 87, 26, 8},
        {t[6], 107, 26, 8},
        {"ｺﾙｳﾞｧﾝ", 23, 33, 8},
        {"設計条件", 22, 48, 8},
        {GetKvNameByIndex(1), 45, 30, 8},
        {"曲げ負担率(≧0.10) (X) " + vb::Format(r0, "0.000") + "  (Y) " + vb::Format(r90, "0.000"), 75, 30, 8},
        {"軸力負担率(≧0.15)     " + vb::Format(rn, "0.000") + "  ", 75, 33.5, 8},
        {"限界軸力 (kN)   (X) " + vb::Format(tX, "#######.## ") + "  (Y)なし", 75, 37, 8},
        {"設計ルート ： ルート3", 38, 41.5, 8},
        {"積雪の扱い ： 一般", 38, 45, 8},
        {"(長期) ＝ Ｇ＋Ｐ", 41, 48.5, 8},
        {"(短期) ＝ Ｇ＋Ｐ＋Ｗ", 41, 52, 8},
        {" ( 柱脚で決まる柱ランク (X)" + rankX + "  (Y)" + rankY + " )", 41, 59, 8},
        {"耐力検討", 20, 129.5, 8},
        {"短期許容耐力(Ｘ方向)", 25, 132.5, 8},
        {"短期許容耐力(Ｙ方向)", 112.5, 132.5, 8},
        {"終局耐力(Ｘ方向)", 25, 201.5, 8},
        {"終局耐力(Ｙ方向)", 112.5, 201.5, 8},
        {"--2 -", 95, 278, 8},
        {"設計担当：設計者", 172 - 8 * 2.7, 279, 8},
        {"2023/03/15", 175, 279, 8},
    };
    ASSERT_EQ(vb::Str(6), " 6");
    EXPECT_EQ(text::CharCount(rc1), 12u);
    EXPECT_EQ(text::CharCount(rc2), 20u);
    EXPECT_FALSE(rankX.empty());
    const std::vector<PageText> got = TextsOf(rest);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].text, want[i].text) << i;
        EXPECT_NEAR(got[i].x, want[i].x, 1e-9) << want[i];
        EXPECT_NEAR(got[i].y, want[i].y, 1e-9) << want[i];
        EXPECT_EQ(got[i].size, want[i].size) << want[i];
    }
    for (const DrawOp& op : rest) {
        if (op.kind == "Text") {
            EXPECT_EQ(op.fontName, kReportFont) << op.text;
            EXPECT_EQ(op.color, 0) << op.text;
        }
    }
    // R = 140 in SRC mode.
    bool edge = false;
    for (const DrawOp& op : rest)
        edge = edge || (op.kind == "Line" && op.args == std::vector<double>{140, 10 + kPaperY, 140, 62 + kPaperY});
    EXPECT_TRUE(edge);
}

TEST_F(CalcSheet, SrcRatioLineFollowsTheBaseTurn)
{
    SrcProject(1);
    gCond.DesignRootX = 1;
    gCond.DesignRootY = 1;
    gColumns(1).KvRotate = 0;
    Print(1);
    const std::string straight = One(75, 30);
    gColumns(1).KvRotate = 1;
    Print(1);
    const std::string turned = One(75, 30);
    // "曲げ負担率(≧0.10) (X) a  (Y) b" with a and b exchanged.
    const std::string head = "曲げ負担率(≧0.10) (X) ";
    ASSERT_EQ(straight.rfind(head, 0), 0u) << straight;
    const std::string a = straight.substr(head.size(), 5);
    const std::string b = straight.substr(straight.size() - 5);
    EXPECT_EQ(turned, head + b + "  (Y) " + a);
    gColumns(1).KvRotate = 2;
    Print(1);
    EXPECT_TRUE(At(75, 30).empty());
    EXPECT_EQ(At(75, 33.5).size(), 1u);
    // Not route 3: no column rank.
    EXPECT_TRUE(At(41, 59).empty());
}

TEST_F(CalcSheet, LimitAxialForceTexts)
{
    const std::pair<double, const char*> cases[] = {
        {-99999999999, "なし"}, {-120, "-120. "}, {-12.5, "-12.5 "}, {-12.345, "-12.35 "}, {0, ". "}, {35, "35. "}};
    for (const auto& [v, want] : cases) EXPECT_EQ(SrcLimitForceText(v), want) << v;
}

TEST_F(CalcSheet, WithEveryOptionOffOnlyTheBodyPrints)
{
    SProject(1, 110110);
    gColumns(1).FShear(1, 0) = 1;
    gPrNoHeader = gPrNoFooter = gPrNoDesignCond = gPrNoBaseColumn = true;
    gPrPageNumber = false;
    Print(1);
    for (const PageText& t : Texts()) {
        EXPECT_NE(t.y, 1) << t;
        EXPECT_LT(t.y, 278) << t;
    }
    for (const char* gone : {"設計条件", "積雪の扱い ： なし", "(長期) ＝ Ｇ＋Ｐ", "(短期) ＝ Ｇ＋Ｐ＋Ｋ"})
        EXPECT_FALSE(Contains(gone)) << gone;
    EXPECT_TRUE(At(38, 41.5).empty());
    EXPECT_EQ(One(130, 52), "・座金を全周隅肉溶接でコルヴァンに溶接してください。");
    EXPECT_EQ(One(20, 6), "柱脚仕様");
    EXPECT_EQ(One(20, 132.5), "耐力検討");
    // The figure moves to x 150 and the RC section is left out.
    Direct d;
    int16_t c = 1, dir = 0;
    drawing::DrawKvFigureTube(d.po, Frame(150, 0.95), c, dir);
    EXPECT_NE(FindRun(page.ops, d.page.ops), std::string::npos);
    Direct rc;
    c = 1;
    dir = 0;
    drawing::DrawRcColumnSection(rc.po, Frame(170.5, 0.95), c, dir);
    ASSERT_FALSE(rc.page.ops.empty());
    EXPECT_EQ(FindRun(page.ops, rc.page.ops), std::string::npos);
}

TEST_F(CalcSheet, ConcreteStrengthAndItsRaisedTwo)
{
    struct Case {
        bool si;
        double fc;
        const char* text;
        double x;
    } cases[] = {{true, 22.5, "22.5N/mm", 115.8}, {true, 24, "24N/mm", 113.5}, {true, 24.05, "24N/mm", 113.5},
                 {false, 240, "240kgf/cm", 118}, {false, 225, "225kgf/cm", 118}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SProject(1);
        if (!c.si) OldUnits();
        gColumns(1).Fc = c.fc;
        Print(1);
        EXPECT_EQ(One(105, 11), c.text);
        EXPECT_EQ(One(c.x, 10.5), "2");
        for (const PageText& t : Texts()) {
            if (t.text == "2" && t.y == 10.5) {
                EXPECT_EQ(t.size, 6);
            }
        }
        EXPECT_EQ(One(80, 11), "ｺﾝｸﾘｰﾄ強度");
        // Back to 8 points for the next row.
        EXPECT_EQ(Texts()[8].size, 8) << Texts()[8];
        gSIDisp = true;
        gUnitFactor = gCond.GFactor;
        gKv->setSIFlag(true);
    }
}

TEST_F(CalcSheet, RoutesAndTheUltimateLine)
{
    struct Case {
        int16_t route;
        double gamma;
        int16_t ultCalc, mq;
        const char* routeText;
        const char* ultimate;  // at (41, 55.5), "" for none
    } cases[] = {
        {1, 2, 0, 0, "設計ルート ： ルート1", ""},
        {2, 2, 0, 0, "設計ルート ： ルート2   γ＝2.00", "(終局) ＝ Ｇ＋Ｐ＋γ×Ｋ(軸力) ， γ×Ｋ(曲げ,せん断)"},
        // The factor the check uses, not a rounded one.
        {2, 1.255, 0, -1, "設計ルート ： ルート2   γ＝1.255", "(終局) ＝ Ｇ＋Ｐ＋γ×Ｋ"},
        {2, 2, 1, 0, "設計ルート ： ルート2   γ＝2.00", ""},
        {3, 2, 0, 0, "設計ルート ： ルート3", ""},
        {11, 2, 0, 0, "設計ルート ： ルート 1-1", ""},
        {12, 0.5, 0, 0, "設計ルート ： ルート 1-2   γ＝0.50", ""},
        {23, 2, 0, 0, "設計ルート ： ルート 2-3", ""},
    };
    SProject(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.routeText);
        gCond.DesignRootX = c.route;
        gCond.GammaX = c.gamma;
        gCond.UltCalcMode = c.ultCalc;
        gCond.UltMQMode = c.mq;
        Print(1);
        EXPECT_EQ(One(38, 41.5), c.routeText);
        EXPECT_EQ(At(41, 55.5), *c.ultimate ? std::vector<std::string>{c.ultimate} : std::vector<std::string>{});
        EXPECT_TRUE(At(41, 59).empty());
    }
}

TEST_F(CalcSheet, SnowAndShortTermCombinations)
{
    SProject(1);
    gCond.Alpha1 = 1;
    gCond.Alpha2 = 0.355;
    struct Case {
        int16_t snow, kind;
        const char *snowText, *longText, *shortText;
    } cases[] = {
        {0, 0, "積雪の扱い ： なし", "(長期) ＝ Ｇ＋Ｐ", "(短期) ＝ Ｇ＋Ｐ＋Ｋ"},
        {1, 1, "積雪の扱い ： 一般", "(長期) ＝ Ｇ＋Ｐ", "(短期) ＝ Ｇ＋Ｐ＋Ｗ"},
        {1, 2, "積雪の扱い ： 一般", "(長期) ＝ Ｇ＋Ｐ", "(短期) ＝ Ｇ＋Ｐ＋Ｓ"},
        {2, 0, "積雪の扱い ： 多雪    α１＝ 1.00    α２＝ 0.355", "(長期) ＝ Ｇ＋Ｐ＋(α１×Ｓ)",
         "(短期) ＝ Ｇ＋Ｐ＋(α２×Ｓ)＋Ｋ"},
        {2, 1, "積雪の扱い ： 多雪    α１＝ 1.00    α２＝ 0.355", "(長期) ＝ Ｇ＋Ｐ＋(α１×Ｓ)",
         "(短期) ＝ Ｇ＋Ｐ＋(α２×Ｓ)＋Ｗ"},
        {2, 2, "積雪の扱い ： 多雪    α１＝ 1.00    α２＝ 0.355", "(長期) ＝ Ｇ＋Ｐ＋(α１×Ｓ)", "(短期) ＝ Ｇ＋Ｐ＋Ｓ"},
        {3, 3, nullptr, "(長期) ＝ Ｇ＋Ｐ", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.snow) + " " + std::to_string(c.kind));
        gCond.SCondition = c.snow;
        gPrintShortKind = c.kind;
        Print(1);
        using V = std::vector<std::string>;
        EXPECT_EQ(At(38, 45), c.snowText ? V{c.snowText} : V{});
        EXPECT_EQ(At(41, 48.5), V{c.longText});
        EXPECT_EQ(At(41, 52), c.shortText ? V{c.shortText} : V{});
    }
}

TEST_F(CalcSheet, FooterPlacesThePersonByLengthAndAlwaysPrintsTheDate)
{
    SProject(1);
    struct Case {
        const char* what;
        FixedText<50> person;
        double x;  // 0: no person text
    } cases[] = {
        {"four characters", FixedText<50>("山田太郎"), 147.7},
        {"blank", FixedText<50>(std::string(50, ' ')), 0},
        {"never filled", FixedText<50>{}, 0},
        {"padded", FixedText<50>("  ab  "), 172 - 7 * 2.7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gCond.Tantou = c.person;
        Print(1);
        std::vector<PageText> footer;
        for (const PageText& t : Texts())
            if (t.y == 279) footer.push_back(t);
        ASSERT_EQ(footer.size(), c.x > 0 ? 2u : 1u);
        EXPECT_EQ(footer.back().text, "2023/03/15");
        EXPECT_EQ(footer.back().x, 175);
        if (c.x > 0) {
            EXPECT_EQ(footer[0].text, "設計担当：" + text::FieldText(c.person));
            EXPECT_NEAR(footer[0].x, c.x, 1e-9);
        }
    }
}

// A diagram with no curve to show ends after its frame and axes. What the
// sheet prints after it stands whole: the page mark and the footer right
// after the last diagram, and every line of the next sheet printed through
// the same surface, as a print run does (nothing of the diagram's clip is
// left to cut it). One wide diagram, and two.
TEST_F(CalcSheet, ADiagramWithoutCurvesLeavesTheRestOfItsPageAndTheNextWhole)
{
    for (int32_t base : {kSquareBase, kRectBase}) {
        SProject(2, base);
        SCOPED_TRACE(base);
        const bool two = gKvBase(1).RotateMode != kFalse;
        for (long j = 0; j <= 2; ++j) gNMCurveShow(j) = true;
        const std::size_t withCurves = Diagram(1, 0, 20, 136, two ? 82.5 : 170, 138).size();
        for (long j = 0; j <= 2; ++j) gNMCurveShow(j) = false;
        const std::vector<DrawOp> last = Diagram(1, two ? 1 : 0, two ? 107.5 : 20, 136, two ? 82.5 : 170, 138);
        ASSERT_LT(last.size(), withCurves);  // it ends early

        std::vector<DrawOp> alone[2];
        for (int16_t c : {1, 2}) {
            Print(c, c);
            alone[c - 1] = page.ops;
        }
        // After the last diagram: the page mark and the footer, nothing else.
        const std::size_t at = FindRun(alone[0], last);
        ASSERT_NE(at, std::string::npos);
        const std::vector<DrawOp> after(alone[0].begin() + static_cast<long>(at + last.size()), alone[0].end());
        const std::vector<PageText> want = {
            {"- 1 -", 95, 278, 8}, {"設計担当：設計者", 172 - 8 * 2.7, 279, 8}, {"2023/03/15", 175, 279, 8}};
        EXPECT_EQ(TextsOf(after), want);
        EXPECT_EQ(after.size(), want.size());

        // The two sheets through one surface: each as it prints alone.
        page = RecordingPage(1.0);
        drawing::clsPrintOut po;
        po.setprpMode(1);
        po.setprpVsPrinter(&page);
        PrintCalcSheetPage(po, 1, 1);
        po.NewPage();
        PrintCalcSheetPage(po, 2, 2);
        const auto newPage = std::find_if(page.ops.begin(), page.ops.end(),
                                          [](const DrawOp& op) { return op.kind == "NewPage"; });
        ASSERT_NE(newPage, page.ops.end());
        // (The empty text that starts a page stands wherever the last page
        // left off; it shows nothing.)
        const auto inked = [](std::vector<DrawOp> ops) {
            std::erase_if(ops, [](const DrawOp& op) { return op.kind == "Text" && op.text.empty(); });
            return ops;
        };
        const std::vector<DrawOp> first = inked({page.ops.begin(), newPage});
        const std::vector<DrawOp> second = inked({newPage + 1, page.ops.end()});
        const std::vector<DrawOp> secondAlone = inked(alone[1]);
        EXPECT_EQ(first.size(), inked(alone[0]).size());
        ASSERT_EQ(second.size(), secondAlone.size());
        for (std::size_t i = 0; i < second.size(); ++i)
            EXPECT_TRUE(SameOp(second[i], secondAlone[i])) << "op " << i << ": " << second[i].str();
    }
}

TEST_F(CalcSheet, ProductLabelsBySeries)
{
    SProject(1);
    const std::pair<int16_t, PageText> cases[] = {{2, {"ｾﾞﾌﾀ", 23, 33, 8}},
                                                  {4, {"ｺﾙｳﾞｧﾝ･ﾙﾓ", 21, 33, 8}},
                                                  {6, {"ｿﾙｳﾞｪﾅｽ", 23, 33, 8}},
                                                  {5, {"ｺﾙｳﾞｧﾝ", 23, 33, 8}}};
    for (const auto& [kvv, want] : cases) {
        gKvBase(1).KvV = kvv;
        Print(1);
        EXPECT_EQ(One(want.x, want.y), want.text) << kvv;
    }
}

TEST_F(CalcSheet, UnknownColumnKindDrawsNoFigure)
{
    SProject(1, 110110);
    gPrNoBaseColumn = true;
    const auto caption = [this] {
        for (std::size_t i = 0; i < page.ops.size(); ++i)
            if (page.ops[i].text == "応力算定表") return i;
        return std::size_t{0};
    };
    Print(1);
    Direct d;
    int16_t c = 1, dir = 0;
    drawing::DrawKvFigureTube(d.po, Frame(150, 0.95), c, dir);
    ASSERT_GT(caption(), d.page.ops.size());
    EXPECT_EQ(FindRun(page.ops, d.page.ops), caption() - d.page.ops.size());
    // Without a figure the table follows the last design condition.
    gColumns(1).ColV = 9;
    Print(1);
    ASSERT_GT(caption(), 0u);
    EXPECT_EQ(page.ops[caption() - 1].text, "(短期) ＝ Ｇ＋Ｐ＋Ｋ");
}

TEST_F(CalcSheet, LeavesTheColumnResultsOfAPlainCheck)
{
    SProject(2);
    gShortLoadKind = 1;
    gResults(1) = ColumnResultTbl{};
    Print(1);
    const ColumnResultTbl printed = gResults(1);
    gResults(1) = ColumnResultTbl{};
    BuildDesignStresses(1);
    CalcColumnByIndex(1, 0);
    CalcColumnByIndex(1, 1);
    EXPECT_EQ(printed, gResults(1));
    EXPECT_NE(printed.Mu(0, 1), 0);
    gShortLoadKind = 0;
}

// A page target that refuses one text, to fail a page half-way.
class RefusingPage : public RecordingPage {
public:
    explicit RefusingPage(std::string refuse) : RecordingPage(1.0), refuse_(std::move(refuse)) {}
    void setText(const std::string& text) override
    {
        if (text == refuse_) throw drawing::RecordingFailure();
        RecordingPage::setText(text);
    }

private:
    std::string refuse_;
};

TEST_F(CalcSheet, FailingPagesPutBackTheDisplayModeAndCurveFlags)
{
    const vb::Array<bool, 0, 3> flags = [] {
        vb::Array<bool, 0, 3> f{};
        f(0) = false;
        f(1) = true;
        f(2) = true;
        f(3) = false;
        return f;
    }();
    const auto check = [&](const char* what) {
        EXPECT_EQ(gDispMode, 5) << what;
        for (long i = 0; i <= 3; ++i) EXPECT_EQ(gNMCurveShow(i), flags(i)) << what << " " << i;
        EXPECT_FALSE(gPrNoHeader || gPrNoFooter || gPrNoDesignCond || gPrNoBaseColumn) << what;
        EXPECT_TRUE(gPrPageNumber) << what;
    };
    const auto fail = [&](vbqt::PageTarget& target, const char* what) {
        gDispMode = 5;
        gNMCurveShow = flags;
        drawing::clsPrintOut po;
        po.setprpMode(1);
        po.setprpVsPrinter(&target);
        EXPECT_ANY_THROW(PrintCalcSheetPage(po, 1, 1)) << what;
        check(what);
    };
    SrcProject(1);
    RecordingPage refused(1.0);
    refused.failDraws = true;
    fail(refused, "SRC, no drawing at all");
    RefusingPage midway("終局耐力(Ｘ方向)");  // after the first pair, with the curve flags switched
    fail(midway, "SRC, between the diagrams");
    EXPECT_TRUE(std::any_of(midway.ops.begin(), midway.ops.end(),
                            [](const DrawOp& op) { return op.text == "短期許容耐力(Ｙ方向)"; }));
    SProject(1, kRectBase);
    RefusingPage sMidway("M(kN･m)");  // inside the first diagram
    fail(sMidway, "S, inside a diagram");
    gColumns(1).KvDir = 7;  // a turn the figure refuses
    RecordingPage figure(1.0);
    fail(figure, "S, figure error");
    // After a good page too.
    gColumns(1).KvDir = 0;
    RecordingPage good(1.0);
    gDispMode = 5;
    gNMCurveShow = flags;
    drawing::clsPrintOut po;
    po.setprpMode(1);
    po.setprpVsPrinter(&good);
    PrintCalcSheetPage(po, 1, 1);
    check("S, good page");
}

TEST_F(CalcSheet, TheDriverPrintsItFromThePageTable)
{
    SProject(2);
    gColumns(1).KvDir = 7;
    RecordingPage page(1.0);
    ReportChoices ch;
    ch.columns = {2, 1};
    ch.pageNumberText = "4";
    // The second column's figure fails: the first page stays, the user is told.
    EXPECT_FALSE(psub_Print(page, 0, ch));
    ASSERT_EQ(script.messages.size(), 1u);
    int sheets = 0, newPages = 0;
    for (const DrawOp& op : page.ops) {
        sheets += op.text == "柱脚仕様";
        newPages += op.kind == "NewPage";
        if (op.text == "- 4 -") {
            EXPECT_EQ(op.args[0], 95);
        }
    }
    EXPECT_EQ(sheets, 2);
    EXPECT_EQ(newPages, 1);
    EXPECT_EQ(page.ops.back().kind, "EndDoc");
    gColumns(1).KvDir = 0;
    RecordingPage whole(1.0);
    EXPECT_TRUE(psub_Print(whole, 0, ch));
}

// The three kinds of column, in SI and in the old units, through the style-0
// driver onto the page control, into PDF files and PNG images under the
// build folder for a person to look at.
TEST_F(CalcSheet, SamplePdfs)
{
    struct Sample {
        const char* file;
        bool src, si;
    } samples[] = {{"calc_sheet_s_si", false, true},
                   {"calc_sheet_s_old", false, false},
                   {"calc_sheet_src_si", true, true},
                   {"calc_sheet_src_old", true, false}};
    constexpr double kTwipsPerMm = 1440 / 25.4;
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.file);
        gSIDisp = true;
        gUnitFactor = gCond.GFactor;
        gKv->setSIFlag(true);
        gFcUpperLimit = 60;
        if (s.src) {
            SrcProject(1);
            gCond.DesignRootX = gCond.DesignRootY = 3;
            gColumns(1).CenColWall(1) = 1;
        } else {
            // A symmetric base (one wide diagram) and one that differs in X and Y (two).
            SProject(2, 110110);
            ColumnDataTbl c = gColumns(1);
            c.ColName = "C2";
            c.KolvanID = kRectBase;
            LoadKvBaseData(kRectBase, 1, gKvBase(2));
            SetColumnBaseGeometry(c, gKvBase(2), true);
            c.FShear(4, 0) = 3;
            gColumns(2) = c;
            gCond.DesignRootX = 2;
            gCond.GammaX = 1.5;
        }
        if (!s.si) OldUnits();
        gCond.SCondition = 2;
        gCond.Alpha1 = 1;
        gCond.Alpha2 = 0.35;
        vbqt::PrintControl pc;
        pc.setPaperSize(9);
        pc.setOrientation(0);
        ReportChoices ch;
        for (int16_t i = 1; i <= gCond.ColCount; ++i) ch.columns.push_back(i);
        ASSERT_TRUE(psub_Print(pc, 0, ch));
        ASSERT_EQ(pc.PageCount(), gCond.ColCount);
        const PdfSample sample(pc, s.file);
        ASSERT_TRUE(sample.written);
        EXPECT_TRUE(sample.converted);
        // The words and where pdftotext finds them, in mm from the page's top left.
        const auto near = [&sample](const std::string& word, double x, double y) { return sample.Near(word, x, y); };
        EXPECT_TRUE(near("柱脚仕様", 20, 6));
        EXPECT_TRUE(near("応力算定表", 20, 65.5));
        EXPECT_TRUE(near("耐力検討", 20, s.src ? 129.5 : 132.5));
        EXPECT_TRUE(near("設計担当：設計者", 150.4, 279));
        EXPECT_TRUE(near("2023/03/15", 175, 279));
        EXPECT_TRUE(near("注)せん断力の判定が\"NG\"の場合は\"設計ﾊﾝﾄﾞﾌﾞｯｸ\"を参照して追加検討して下さい。", 35, 125));
        // The same on the page control, in twips with the paper's 4.5 mm.
        for (const auto& [text, x, y] : {std::tuple{"柱脚仕様", 20.0, 6.0}, {"応力算定表", 20.0, 65.5},
                                          {"設計担当：設計者", 150.4, 279.0}}) {
            bool found = false;
            for (const vbqt::PageOp& op : pc.pages()[0].ops)
                found = found || (op.kind == vbqt::PageOp::Text && op.text == QString::fromUtf8(text) &&
                                  std::fabs(op.p1.x() - x * kTwipsPerMm) < 1 &&
                                  std::fabs(op.p1.y() - (y + kPaperY) * kTwipsPerMm) < 1);
            EXPECT_TRUE(found) << text;
        }
    }
}


}  // namespace
