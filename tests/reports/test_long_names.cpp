// A column name as long as its field on each report style: the whole name is
// printed, condensed to its cell where it is wider, and its ink stays inside
// the cell, clear of the next column's text. The pages are also written as
// PNG samples with long names and large values.
#include "tests/reports/ink_page.h"

#include "model/globals.h"
#include "platform/text/fixed_text.h"
#include "platform/text/utf8.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace model;
using namespace reports;
using namespace reporttest;

class LongNames : public InkPageTest {};

TEST_F(LongNames, AFiftyCharacterNameIsPrintedWholeInsideItsCellOnEveryStyle)
{
    SProject(1, kSeries1);
    // 50 characters, the field's width, digits among them.
    std::string name = "1階通り芯A-1柱脚";
    while (text::CharCount(name) < 50) name += "長い名前テスト0123456789";
    name = text::Left(name, 50);
    gColumns(1).ColName = name;
    ASSERT_EQ(text::FieldText(gColumns(1).ColName), name);
    for (long k = 1; k <= 20; ++k) {
        gColumns(1).LoadTbl(1, k) = 98765.4;
        gColumns(1).LoadTbl(3, k) = -4321.5;
    }

    struct Style {
        int style;
        const char* file;
        double left, right;  // the name's cell on the page, mm
    } styles[] = {
        {0, "long_name_calc_sheet", 35, 75},     // up to the rule before ｺﾝｸﾘｰﾄ強度
        {1, "long_name_section_table", 34, 61},  // the first column's slot
        {2, "long_name_shear_page", 35, 70},     // the 柱符号 cell
        {3, "long_name_list", 21, 55},           // up to 型式
    };
    const std::filesystem::path out = std::filesystem::path(KV_TEST_OUT_DIR) / "reports";
    std::filesystem::create_directories(out);
    for (const Style& s : styles) {
        SCOPED_TRACE(s.file);
        bool skipped = false;
        const QImage whole = FirstPage(s.style, "", nullptr);
        ASSERT_FALSE(whole.isNull());
        whole.save(QString::fromStdString((out / (std::string(s.file) + ".png")).string()));
        // The name's neighbourhood at full size, to look at.
        whole.copy(QRect(QPoint(static_cast<int>((s.left - 15) * kDotsPerMm), 0),
                         QPoint(static_cast<int>((s.right + 70) * kDotsPerMm), static_cast<int>(45 * kDotsPerMm))))
            .save(QString::fromStdString((out / (std::string(s.file) + "_name.png")).string()));
        const QImage without = FirstPage(s.style, name, &skipped);
        ASSERT_TRUE(skipped) << "the whole name is one text on the page";
        const QRect glyphs = inktest::GlyphBox(whole, without);
        ASSERT_FALSE(glyphs.isEmpty());
        EXPECT_GE(glyphs.left(), s.left * kDotsPerMm) << glyphs.left() / kDotsPerMm << " mm";
        EXPECT_LE(glyphs.right(), s.right * kDotsPerMm) << glyphs.right() / kDotsPerMm << " mm";
        // Condensed, not cut: it fills most of its cell.
        EXPECT_GT(glyphs.width(), 0.8 * (s.right - s.left - 3) * kDotsPerMm);
        // Nothing else is drawn where the name's ink is.
        EXPECT_EQ(inktest::OtherInk(without, glyphs.adjusted(1, 1, -1, -1)), 0);
    }
}

}  // namespace
