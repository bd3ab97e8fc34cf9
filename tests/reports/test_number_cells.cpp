// A number wider than its nine-character cell on the calculation sheet's
// stress table and on the section table: it is printed whole, every digit
// and its sign, condensed to its cell, and its ink stays inside the cell's
// rules; so does one that fills the field where the field starts left of
// its rule. A number that fits keeps its nine-character field. The pages are
// looked at at 300 dpi and the cells are also written as PNG samples.
#include "tests/reports/ink_page.h"

#include "model/globals.h"
#include "reports/stress_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using namespace model;
using namespace reports;
using namespace reporttest;

class NumberCells : public InkPageTest {};

// The glyphs in `box` where the two pages differ: runs of inked dot columns.
int GlyphCount(const QImage& whole, const QImage& without, const QRect& box)
{
    int count = 0;
    bool inGlyph = false;
    for (int x = box.left(); x <= box.right(); ++x) {
        bool ink = false;
        for (int y = box.top(); y <= box.bottom() && !ink; ++y)
            ink = inktest::Differs(whole.pixel(x, y), without.pixel(x, y));
        count += ink && !inGlyph;
        inGlyph = ink;
    }
    return count;
}

TEST_F(NumberCells, AWideNumberIsPrintedWholeInsideItsCellOnTheStressAndSectionTables)
{
    struct Value {
        double v;
        const char* text;  // as the cell holds it
    } values[] = {
        {-100000.00, "-100000.00"}, {1234567.89, "1234567.89"}, {-980664.90, "-980664.90"},
        {-1234567.89, "-1234567.89"}, {-99999.99, "-99999.99"}, {99999.99, " 99999.99"}, {-4321.5, " -4321.50"},
    };
    // The long-term axial force in X: its cell on each page, mm, y as on paper.
    struct Page {
        int style;
        const char* file;
        double left, right, top, bottom;
    } pages[] = {
        {0, "wide_number_calc_sheet", 40, 55, 78.5 + kPaperY, 83.1 + kPaperY},          // between its column's rules
        {1, "wide_number_section_table", 34, 47.5, 49.65 + kPaperY, 53.3 + kPaperY},  // slot rule to middle rule
    };
    const std::filesystem::path out = std::filesystem::path(KV_TEST_OUT_DIR) / "reports";
    std::filesystem::create_directories(out);
    for (const Page& p : pages)
        for (std::size_t i = 0; i < std::size(values); ++i) {
            const Value& v = values[i];
            SCOPED_TRACE(std::string(p.file) + " " + v.text);
            SProject(1, kSeries1);
            // The long-term N in X, stored in tf and printed in kN.
            gColumns(1).LoadTbl(1, 1) = v.v / gUnitFactor;
            ASSERT_EQ(NumberCell(gColumns(1).LoadTbl(1, 1) * gUnitFactor), v.text);
            bool skipped = false;
            const QImage whole = FirstPage(p.style, "", nullptr);
            const QImage without = FirstPage(p.style, v.text, &skipped);
            ASSERT_TRUE(skipped) << "the whole number is one text on the page";
            whole.copy(QRect(QPoint(static_cast<int>((p.left - 12) * kDotsPerMm), static_cast<int>((p.top - 8) * kDotsPerMm)),
                             QPoint(static_cast<int>((p.right + 30) * kDotsPerMm),
                                    static_cast<int>((p.bottom + 8) * kDotsPerMm))))
                .save(QString::fromStdString((out / (std::string(p.file) + "_" + std::to_string(i + 1) + ".png")).string()));
            const QRect glyphs = inktest::GlyphBox(whole, without);
            ASSERT_FALSE(glyphs.isEmpty());
            // Inside its cell, right of its rule and well clear of the next one.
            EXPECT_GT(glyphs.left(), p.left * kDotsPerMm) << glyphs.left() / kDotsPerMm << " mm";
            EXPECT_LT(glyphs.right(), (p.right - 0.5) * kDotsPerMm) << glyphs.right() / kDotsPerMm << " mm";
            EXPECT_GT(glyphs.top(), p.top * kDotsPerMm) << glyphs.top() / kDotsPerMm << " mm";
            EXPECT_LT(glyphs.bottom(), p.bottom * kDotsPerMm) << glyphs.bottom() / kDotsPerMm << " mm";
            // Whole: one glyph a character, the sign and every digit.
            const std::string t = v.text;
            EXPECT_EQ(GlyphCount(whole, without, glyphs), std::count_if(t.begin(), t.end(), [](char c) { return c != ' '; }));
            // Nothing else is drawn where its ink is.
            EXPECT_EQ(inktest::OtherInk(without, glyphs.adjusted(1, 1, -1, -1)), 0);
        }
}

}  // namespace
