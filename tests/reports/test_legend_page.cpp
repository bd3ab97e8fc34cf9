// The legend page of the section table on a recording page.
#include "drawing/recording.h"
#include "model/globals.h"
#include "reports/legend_page.h"
#include "reports/report_common.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct Text {
    std::string text;
    double x, y;
};

std::vector<Text> Printed(bool si, bool pageNumbers, int page)
{
    const bool savedSi = model::gSIDisp;
    const bool savedPage = reports::gPrPageNumber;
    model::gSIDisp = si;
    reports::gPrPageNumber = pageNumbers;
    drawing::RecordingPage target(1.0);
    drawing::clsPrintOut po;
    po.setprpMode(1);
    po.setprpVsPrinter(&target);
    reports::PrintLegendPage(po, page);
    model::gSIDisp = savedSi;
    reports::gPrPageNumber = savedPage;
    std::vector<Text> out;
    for (const drawing::DrawOp& op : target.ops) {
        EXPECT_EQ(op.kind, "Text") << op.str();  // no lines, no frame, no new page
        EXPECT_EQ(op.fontSize, 8);
        out.push_back({op.text, op.args[0], op.args[1] - 4.5});
    }
    return out;
}

bool Has(const std::vector<Text>& texts, const std::string& text, double x, double y)
{
    for (const Text& t : texts)
        if (t.text == text && std::abs(t.x - x) < 1e-9 && std::abs(t.y - y) < 1e-9) return true;
    return false;
}

TEST(LegendPage, FifteenLinesInFourColumnsWithTheirUnits)
{
    struct Row {
        const char* symbol;
        const char* meaning;
        bool moment;
    } rows[] = {
        {"Nl", "長期時軸力", false},        {"Ml", "長期時曲げモーメント", true}, {"Ql", "長期時せん断力", false},
        {"Mal", "長期許容曲げ耐力", true},  {"Qal", "長期許容せん断耐力", false}, {"Ns", "短期時軸力", false},
        {"Ms", "短期時曲げモーメント", true}, {"Qs", "短期時せん断力", false},   {"Mas", "短期許容曲げ耐力", true},
        {"Qas", "短期許容せん断耐力", false}, {"N", "終局時軸力", false},        {"M", "終局時曲げモーメント", true},
        {"Q", "終局時せん断力", false},      {"Mu", "終局曲げ耐力", true},       {"Qu", "終局せん断耐力", false},
    };
    for (const bool si : {true, false}) {
        const std::vector<Text> t = Printed(si, false, 1);
        EXPECT_EQ(t.size(), 2u + 4u * 15u) << si;
        EXPECT_TRUE(Has(t, "柱脚の断面算定結果", 14, 20));
        EXPECT_TRUE(Has(t, "記号の説明", 16, 28));
        for (int i = 0; i < 15; ++i) {
            const double y = 36 + 4 * i;
            const Row& r = rows[i];
            EXPECT_TRUE(Has(t, r.symbol, 24, y)) << r.symbol;
            EXPECT_TRUE(Has(t, ":", 33.5, y)) << r.symbol;
            EXPECT_TRUE(Has(t, r.meaning, 36.5, y)) << r.symbol;
            const std::string unit = r.moment ? (si ? "(kN・m)" : "(tf・m)") : (si ? "(kN)" : "(tf)");
            EXPECT_TRUE(Has(t, unit, 69.5, y)) << r.symbol << " " << si;
        }
    }
}

TEST(LegendPage, PageNumberOnlyWhenAsked)
{
    EXPECT_TRUE(Has(Printed(true, true, 1), "- 1 -", 95, 278));
    EXPECT_TRUE(Has(Printed(true, true, -1), "--1 -", 95, 278));
    for (const Text& t : Printed(true, false, 1)) EXPECT_NE(t.y, 278) << t.text;
}

}  // namespace
