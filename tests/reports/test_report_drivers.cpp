// The report drivers on a recording page with recording or failing page
// routines, the column verdict of the reports, and the column list report.
#include "drawing/recording.h"
#include "engine/kv.h"
#include "model/column_check.h"
#include "model/column_list_csv.h"
#include "model/failure.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/rebar_zone.h"
#include "model/startup.h"
#include "model/stress.h"
#include "platform/text/vb.h"
#include "reports/report_common.h"
#include "reports/report_drivers.h"
#include "tests/platform/ui/scripted_ui.h"
#include "tests/reports/report_fixture.h"

#include <QSettings>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

using namespace model;
using namespace reports;
using drawing::DrawOp;
using drawing::RecordingPage;

// The program on the sample catalogue with n copies of its first column, a
// scripted user interface and recording page routines.
class Reports : public reporttest::ReportProgram {
protected:
    void SetUp() override
    {
        ReportProgram::SetUp();
        saved_ = PageTable();
        PageTable().calcSheet = [this](drawing::clsPrintOut&, int16_t c, int page) { calls.push_back({"sheet", c, page, 0}); };
        PageTable().legend = [this](drawing::clsPrintOut&, int page) { calls.push_back({"legend", 0, page, 0}); };
        PageTable().sectionBlock = [this](drawing::clsPrintOut&, int16_t c, int page, int slot) {
            calls.push_back({"block", c, page, slot});
        };
        PageTable().shearPage = [this](drawing::clsPrintOut&, int16_t c, int page, int16_t d, int16_t k) {
            calls.push_back({"shear", c, page, 10 * d + k});
        };
    }
    void TearDown() override
    {
        PageTable() = saved_;
        ReportProgram::TearDown();
    }
    static std::vector<int16_t> Range(int n)
    {
        std::vector<int16_t> v;
        for (int i = 1; i <= n; ++i) v.push_back(static_cast<int16_t>(i));
        return v;
    }
    static int Count(const RecordingPage& page, const std::string& kind)
    {
        int n = 0;
        for (const DrawOp& op : page.ops) n += op.kind == kind;
        return n;
    }

    struct Call {
        std::string what;
        int column, page, extra;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;

private:
    ReportPages saved_;
};

TEST_F(Reports, NoCheckedColumnGivesAnEmptyDocumentAndRestoresTheFlags)
{
    Columns(3);
    gNMCurveShow(0) = false;
    gNMCurveShow(2) = true;
    gColorDraw = false;
    gPrintShortKind = 1;
    for (int style : {0, 1, 2}) {
        RecordingPage page(1.0);
        ReportChoices ch;
        ch.style = style;
        ch.colorMode = 1;
        ch.nmCurves = {1, 0, 0, 1};
        EXPECT_TRUE(psub_Print(page, style, ch)) << style;
        ASSERT_EQ(page.ops.size(), 2u) << style;
        EXPECT_EQ(page.ops[0].kind, "StartDoc");
        EXPECT_EQ(page.ops[1].kind, "EndDoc");
        EXPECT_TRUE(calls.empty());
        EXPECT_FALSE(gNMCurveShow(0));
        EXPECT_TRUE(gNMCurveShow(2));
        EXPECT_FALSE(gNMCurveShow(3));
        EXPECT_FALSE(gColorDraw);
        EXPECT_EQ(gShortLoadKind, 0);
    }
    // A mode outside 0..3 builds nothing at all.
    RecordingPage page(1.0);
    EXPECT_TRUE(psub_Print(page, 4, ReportChoices{}));
    EXPECT_TRUE(page.ops.empty());
}

TEST_F(Reports, SheetsAndSectionBlocksAreNumberedAndPaged)
{
    Columns(7);
    struct Case {
        const char* what;
        int style, columns, legend;
        std::string start;
        std::vector<Call> calls;
        int newPages;
    } cases[] = {
        {"sheets from 5", 0, 3, 0, "5", {{"sheet", 1, 5, 0}, {"sheet", 2, 6, 0}, {"sheet", 3, 7, 0}}, 2},
        {"seven blocks with the legend", 1, 7, 0, "1",
         {{"legend", 0, 1, 0}, {"block", 1, 2, 1}, {"block", 2, 2, 2}, {"block", 3, 2, 3}, {"block", 4, 2, 4},
          {"block", 5, 2, 5}, {"block", 6, 2, 6}, {"block", 7, 3, 1}},
         2},
        {"seven blocks without the legend", 1, 7, 1, "1",
         {{"block", 1, 1, 1}, {"block", 2, 1, 2}, {"block", 3, 1, 3}, {"block", 4, 1, 4}, {"block", 5, 1, 5},
          {"block", 6, 1, 6}, {"block", 7, 2, 1}},
         1},
        {"exactly six", 1, 6, 1, "3",
         {{"block", 1, 3, 1}, {"block", 2, 3, 2}, {"block", 3, 3, 3}, {"block", 4, 3, 4}, {"block", 5, 3, 5},
          {"block", 6, 3, 6}},
         0},
    };
    for (const Case& c : cases) {
        calls.clear();
        RecordingPage page(1.0);
        ReportChoices ch;
        ch.style = c.style;
        ch.columns = Range(c.columns);
        ch.legend = c.legend;
        ch.pageNumberText = c.start;
        ASSERT_TRUE(psub_Print(page, c.style, ch)) << c.what;
        EXPECT_EQ(calls, c.calls) << c.what;
        EXPECT_EQ(Count(page, "NewPage"), c.newPages) << c.what;
        EXPECT_EQ(page.ops.back().kind, "EndDoc") << c.what;
    }
}

TEST_F(Reports, FirstPageNumberFromTheBox)
{
    struct Case {
        const char* text;
        int page;
    } cases[] = {{"2.5", 2}, {"3.5", 4}, {"", 0}, {"  7abc", 7}, {"99999", 32767}, {"-99999", -32768}, {"-2.5", -2}};
    for (const Case& c : cases) EXPECT_EQ(StartPageNumber(c.text), c.page) << c.text;
    // Later numbers go on past the Integer range instead of wrapping.
    Columns(2);
    RecordingPage page(1.0);
    ReportChoices ch;
    ch.columns = Range(2);
    ch.pageNumberText = "32767";
    ASSERT_TRUE(psub_Print(page, 0, ch));
    EXPECT_EQ(calls.back().page, 32768);
}

TEST_F(Reports, BoxesIntoFlagsGreyedKeeps)
{
    Columns(1);
    gPrNoHeader = true;
    gPrNoFooter = false;
    gPrNoLegend = true;
    RecordingPage page(1.0);
    ReportChoices ch;
    ch.columns = Range(1);
    ch.header = 2;  // greyed
    ch.footer = 1;
    ch.legend = 0;
    ch.pageNumber = 0;
    ch.colorMode = 1;
    ASSERT_TRUE(psub_Print(page, 1, ch));
    EXPECT_TRUE(gPrNoHeader);
    EXPECT_TRUE(gPrNoFooter);
    EXPECT_FALSE(gPrNoLegend);
    EXPECT_FALSE(gPrPageNumber);
    EXPECT_TRUE(gPrColorMode);
    // The list copies only header, footer and page number.
    gPrNoLegend = true;
    ch.header = 0;
    RecordingPage list(1.0);
    ASSERT_TRUE(psub_Print(list, 3, ch));
    EXPECT_FALSE(gPrNoHeader);
    EXPECT_TRUE(gPrNoLegend);
}

TEST_F(Reports, AFailingPageEndsTheDocumentKeepsItsPagesAndRestores)
{
    Columns(3);
    gPrintShortKind = 1;
    gNMCurveShow(1) = true;
    gColumns(2).LoadTbl(3, 3) = 400;  // seismic shear that the wind kind does not have
    BuildDesignStresses(2);
    CalcColumnByIndex(2, 0);
    CalcColumnByIndex(2, 1);
    const ColumnResultTbl before = gResults(2);
    ColumnResultTbl printed;
    PageTable().calcSheet = [&, this](drawing::clsPrintOut& po, int16_t c, int page) {
        calls.push_back({"sheet", c, page, 0});
        // As a sheet does: the column checked under the printed kind.
        BuildDesignStresses(c);
        CalcColumnByIndex(c, 0);
        CalcColumnByIndex(c, 1);
        printed = gResults(c);
        po.setCurrentX(10);
        po.setCurrentY(10);
        po.DPrint("page " + std::to_string(page));
        if (c == 2) throw std::runtime_error("page failed");
    };
    RecordingPage page(1.0);
    ReportChoices ch;
    ch.columns = Range(3);
    ch.nmCurves = {1, 0, 0, 0};
    EXPECT_FALSE(psub_Print(page, 0, ch));
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, "印刷");
    // A failure of no known kind is told as such; its own text is for
    // standard error.
    EXPECT_EQ(script.messages[0].text, "印刷できませんでした。\r" + model::FailureText(model::FailureKind::Unexpected));
    EXPECT_EQ(page.ops.back().kind, "EndDoc");
    EXPECT_EQ(Count(page, "Text"), 2);  // the first page and what the second drew
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_EQ(gShortLoadKind, 0);
    EXPECT_TRUE(gNMCurveShow(1));
    // The column is checked again under the window's kind.
    ASSERT_NE(printed.JadgeQ, before.JadgeQ);
    EXPECT_EQ(gResults(2).JadgeQ, before.JadgeQ);
}

TEST_F(Reports, ShearPagesFollowTheVerdictsOfThePrintedKind)
{
    Columns(2);
    gCond.ShortCalcMode = 0;
    // Column 2: a heavy seismic shear in X, a light wind.
    LoadTable& load = gColumns(2).LoadTbl;
    for (long col = 1; col <= 20; ++col) load(3, col) = 0;
    load(3, 3) = 400;
    load(3, 4) = 400;
    load(3, 7) = 1;
    load(3, 8) = 1;
    const auto expected = [](int16_t kind) {
        const int16_t saved = gShortLoadKind;
        gShortLoadKind = kind;
        BuildDesignStresses(2);
        CalcColumnByIndex(2, 0);
        CalcColumnByIndex(2, 1);
        std::vector<int> pages;
        for (int16_t d = 0; d <= 1; ++d)
            for (int16_t c : {1, 4, 5, 6, 7})
                if (gResults(2).JadgeQ(d, c) >= 0) pages.push_back(10 * d + c);
        gShortLoadKind = saved;
        BuildDesignStresses(2);
        CalcColumnByIndex(2, 0);
        CalcColumnByIndex(2, 1);
        return pages;
    };
    const std::vector<int> seismic = expected(0), wind = expected(1);
    ASSERT_NE(seismic, wind);
    const ColumnResultTbl window = gResults(2);
    for (int16_t kind : {0, 1}) {
        calls.clear();
        gPrintShortKind = kind;
        RecordingPage page(1.0);
        ReportChoices ch;
        ch.style = 2;
        ch.columns = {2};
        ch.pageNumberText = "4";
        ASSERT_TRUE(psub_Print(page, 2, ch));
        std::vector<int> got;
        int number = 4;
        for (const Call& c : calls) {
            EXPECT_EQ(c.page, number++);
            got.push_back(c.extra);
        }
        EXPECT_EQ(got, kind == 0 ? seismic : wind) << kind;
        EXPECT_EQ(Count(page, "NewPage"), got.empty() ? 0 : static_cast<int>(got.size()) - 1);
        // The window keeps the verdicts of its own kind.
        EXPECT_EQ(gResults(2).JadgeQ, window.JadgeQ) << kind;
        EXPECT_EQ(gShortLoadKind, 0);
    }
    // Without NG pages only the OK* ones remain.
    calls.clear();
    gPrintShortKind = 0;
    RecordingPage page(1.0);
    ReportChoices ch;
    ch.style = 2;
    ch.columns = {2};
    ch.noneNG = 1;
    ASSERT_TRUE(psub_Print(page, 2, ch));
    gShortLoadKind = 0;
    std::vector<int> okStar;
    {
        gShortLoadKind = 0;
        BuildDesignStresses(2);
        CalcColumnByIndex(2, 0);
        CalcColumnByIndex(2, 1);
        for (int16_t d = 0; d <= 1; ++d)
            for (int16_t c : {1, 4, 5, 6, 7})
                if (gResults(2).JadgeQ(d, c) > 0) okStar.push_back(10 * d + c);
    }
    std::vector<int> got;
    for (const Call& c : calls) got.push_back(c.extra);
    EXPECT_EQ(got, okStar);
}

TEST_F(Reports, AStyleWithoutItsPagesTellsTheUser)
{
    Columns(1);
    PageTable().calcSheet = nullptr;
    EXPECT_FALSE(StyleAvailable(0));
    EXPECT_TRUE(StyleAvailable(3));
    RecordingPage page(1.0);
    ReportChoices ch;
    ch.columns = Range(1);
    EXPECT_FALSE(psub_Print(page, 0, ch));
    EXPECT_EQ(script.messages.size(), 1u);
}

// ---- Verdict and texts ----

TEST(ReportTexts, ColumnVerdictOfTheReports)
{
    struct Case {
        const char* what;
        std::vector<std::tuple<int, int, int, int>> marks;  // d, case, JadgeM, JadgeQ
        bool ultJadge;
        const char* report;
        const char* csv;
    } cases[] = {
        {"all OK", {}, true, "OK", "OK"},
        {"OK* from a shear code", {{1, 6, -1, 2}}, true, "OK*", "OK*"},
        {"a positive moment code counts as OK", {{0, 4, 3, -1}}, true, "OK", "OK"},
        // The shear of a case whose moment fails is not checked, for the reports as for the CSV.
        {"moment and shear NG in one case", {{0, 4, 0, 0}}, true, "NG(M)", "NG(M)"},
        {"shear NG in case 1, moment NG in case 5", {{0, 1, -1, 0}, {1, 5, 0, -1}}, true, "NG(M)", "NG(M)"},
        {"ultimate moment NG without the ultimate check", {{0, 6, 0, -1}}, false, "OK", "OK"},
        {"ultimate shear NG without the ultimate check", {{0, 7, -1, 0}}, false, "NG(Q)", "NG(Q)"},
        {"OK* then NG", {{0, 1, -1, 1}, {1, 4, 0, -1}}, true, "NG(M)", "NG(M)"},
        {"cases 2 and 3 do not count", {{0, 2, 0, 0}, {1, 3, 0, 0}}, true, "OK", "OK"},
    };
    for (const Case& c : cases) {
        ColumnResultTbl r;
        r.JadgeM.fill(-1);
        r.JadgeQ.fill(-1);
        for (auto [d, k, m, q] : c.marks) {
            r.JadgeM(d, k) = static_cast<int16_t>(m);
            r.JadgeQ(d, k) = static_cast<int16_t>(q);
        }
        EXPECT_EQ(GetColumnJudgeText(r, c.ultJadge), c.report) << c.what;
        EXPECT_EQ(GetColumnVerdictText(r, c.ultJadge), c.csv) << c.what;
    }
}

TEST(ReportTexts, DatesFooterPlaceAndBoxes)
{
    EXPECT_EQ(ShortDateText(0), "1899/12/30");
    EXPECT_EQ(ShortDateText(46000.75), "2025/12/09");
    EXPECT_EQ(ShortDateText(2), "1900/01/01");
    // Ten characters end near B: 167 - (20 + 10) / 2 x 2.7.
    EXPECT_DOUBLE_EQ(FooterLeft(167, "山田太郎山田太郎山田"), 167 - 15 * 2.7);
    bool flag = true;
    CopyBox(2, flag);
    EXPECT_TRUE(flag);
    CopyBox(0, flag);
    EXPECT_FALSE(flag);
    CopyBox(1, flag);
    EXPECT_TRUE(flag);
}

// ---- Column list ----

class ColumnList : public Reports {
protected:
    std::vector<DrawOp> Texts(const RecordingPage& page)
    {
        std::vector<DrawOp> t;
        for (const DrawOp& op : page.ops)
            if (op.kind == "Text" && !op.text.empty()) t.push_back(op);
        return t;
    }
    // Texts of a page (pages counted from 1 by the NewPage marks).
    std::vector<DrawOp> PageOps(const RecordingPage& page, int n)
    {
        std::vector<DrawOp> out;
        int at = 1;
        for (const DrawOp& op : page.ops) {
            if (op.kind == "NewPage") ++at;
            else if (at == n) out.push_back(op);
        }
        return out;
    }
    static bool Has(const std::vector<DrawOp>& ops, const std::string& text, double x, double y)
    {
        for (const DrawOp& op : ops)
            if (op.kind == "Text" && op.text == text && std::abs(op.args[0] - x) < 1e-9 &&
                std::abs(op.args[1] - (y + 4.5)) < 1e-9)
                return true;
        return false;
    }
    static bool HasLine(const std::vector<DrawOp>& ops, double x1, double x2, double y)
    {
        for (const DrawOp& op : ops)
            if (op.kind == "Line" && op.args[0] == x1 && op.args[2] == x2 && std::abs(op.args[1] - (y + 4.5)) < 1e-9 &&
                op.width == 3)
                return true;
        return false;
    }
    RecordingPage Print(int columns, const std::string& start = "1")
    {
        Columns(columns);
        RecordingPage page(1.0);
        ReportChoices ch;
        ch.style = 3;
        ch.columns = {1};  // every column prints, checked or not
        ch.pageNumberText = start;
        ch.pageNumber = 1;
        EXPECT_TRUE(psub_Print(page, 3, ch));
        return page;
    }
};

TEST_F(ColumnList, RowsTitlesRulesAndFooter)
{
    gCond.Bukken = "試験物件";
    gCond.Tantou = "設計者";
    gCond.BukkenDate = 46000;
    gCond.SMode = kTrue;
    const RecordingPage page = Print(3, "7");
    const auto ops = PageOps(page, 1);
    EXPECT_EQ(page.pageCount, 1);
    EXPECT_TRUE(Has(ops, "試験物件", 95, 1));
    for (auto [t, x] : {std::pair{"No.", 11}, {"柱名称", 21}, {"型式", 55}, {"判定", 85}, {"配筋ゾーン", 100}, {"Fc", 120}})
        EXPECT_TRUE(Has(ops, t, x, 11)) << t;
    EXPECT_TRUE(HasLine(ops, 10, 130, 10));
    EXPECT_TRUE(HasLine(ops, 10, 130, 15));
    for (int i = 1; i <= 3; ++i) {
        const double y = 16 + 5 * (i - 1);
        EXPECT_TRUE(Has(ops, "  " + std::to_string(i), 11, y)) << i;
        EXPECT_TRUE(Has(ops, "C" + std::to_string(i), 21, y)) << i;
        EXPECT_TRUE(Has(ops, ReportModelText(static_cast<int16_t>(i)), 55, y)) << i;
        EXPECT_TRUE(Has(ops, GetColumnJudgeText(gResults(i), gCond.UltJadge != kFalse), 85, y)) << i;
        EXPECT_TRUE(Has(ops, GetZoneMarkText(GetColumnRebarZone(static_cast<int16_t>(i))), 100, y)) << i;
        EXPECT_TRUE(Has(ops, vb::CStr(gColumns(i).Fc), 120, y)) << i;
    }
    EXPECT_TRUE(HasLine(ops, 10, 130, 30));  // closing rule of the last page at y - 1
    EXPECT_TRUE(Has(ops, "- 7 -", 90, 270));
    const std::string footer = "設計担当：設計者  " + ShortDateText(46000);
    EXPECT_TRUE(Has(ops, footer, FooterLeft(167, "設計者"), 282));
    for (const DrawOp& op : Texts(page)) EXPECT_EQ(op.fontName, "ＭＳ 明朝") << op.text;
}

TEST_F(ColumnList, FullPagesAndTheirBreaks)
{
    gCond.Tantou = "担当";
    // 49 rows fill page 1; page 2 holds only the titles.
    RecordingPage page = Print(49);
    ASSERT_EQ(page.pageCount, 2);
    auto p1 = PageOps(page, 1), p2 = PageOps(page, 2);
    EXPECT_TRUE(Has(p1, " 49", 11, 256));
    EXPECT_TRUE(HasLine(p1, 10, 125, 260));
    EXPECT_TRUE(Has(p1, "- 1 -", 90, 270));
    EXPECT_TRUE(Has(p1, "設計担当：担当  " + ShortDateText(gCond.BukkenDate), FooterLeft(167, "担当"), 279));
    EXPECT_FALSE(Has(p2, "No.", 11, 11));
    EXPECT_TRUE(Has(p2, "柱名称", 21, 11));
    EXPECT_TRUE(HasLine(p2, 10, 130, 15));
    EXPECT_TRUE(Has(p2, "- 2 -", 90, 270));
    EXPECT_TRUE(Has(p2, "設計担当：担当  " + ShortDateText(gCond.BukkenDate), FooterLeft(167, "担当"), 282));
    // 50: page 2 holds one row.
    page = Print(50);
    p2 = PageOps(page, 2);
    EXPECT_TRUE(Has(p2, " 50", 11, 16));
    EXPECT_TRUE(HasLine(p2, 10, 130, 20));
}

TEST_F(ColumnList, NumbersBlankPersonAndSrcZones)
{
    gCond.Tantou = "";
    gCond.SMode = kFalse;
    const RecordingPage page = Print(3);
    for (const DrawOp& op : page.ops) {
        EXPECT_EQ(op.text.find("設計担当"), std::string::npos);
        if (op.kind == "Text" && std::abs(op.args[0] - 100) < 1e-9 && op.args[1] > 20) {
            EXPECT_EQ(op.text, "");
        }
    }
    EXPECT_TRUE(Has(PageOps(page, 1), "配筋ゾーン", 100, 11));
    // Three places for the number: 7, 123 and the last three digits of 1234.
    const auto number = [](int n) {
        const std::string s = std::string(5, ' ') + std::to_string(n);
        return s.substr(s.size() - 3);
    };
    EXPECT_EQ(number(7), "  7");
    EXPECT_EQ(number(123), "123");
    EXPECT_EQ(number(1234), "234");
    gCond.SMode = kTrue;
    const RecordingPage big = Print(1234);
    bool found = false;
    for (const DrawOp& op : big.ops) found = found || (op.kind == "Text" && op.text == "234" && op.args[0] == 11);
    EXPECT_TRUE(found);
}

}  // namespace
