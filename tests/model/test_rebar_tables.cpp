#include "model/rebar_tables.h"
#include "platform/text/vb.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace model;

namespace {

const std::string kSample = std::string(KV_SAMPLE_DIR) + "/data.mdb";
const std::string kTest = KV_TEST_CATALOGUE;

TEST(SeriesRules, Predicates)
{
    struct Case {
        const char* name;
        bool qxk, h, r, ks, kc, wr, wj, wp;
    };
    const Case cases[] = {
        {"K12", true, false, false, false, false, false, false, false},
        {"QX24", true, false, false, false, false, false, false, false},
        {"KS10", false, false, false, true, false, false, false, false},
        {"KC10", false, false, false, false, true, false, false, false},
        {"Q24", false, false, false, false, false, false, false, false},
        {"H300", false, true, false, false, false, false, false, false},
        {"R20", false, false, true, false, false, false, false, false},
        {"WR1", false, false, false, false, false, true, false, false},
        {"WJ1", false, false, false, false, false, false, true, false},
        {"WP200-4", false, false, false, false, false, false, false, true},
        {"k12", false, false, false, false, false, false, false, false},
        {"", false, false, false, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsSeriesQXorK(c.name), c.qxk);
        EXPECT_EQ(IsSeriesH(c.name), c.h);
        EXPECT_EQ(IsSeriesR(c.name), c.r);
        EXPECT_EQ(IsSeriesKS(c.name), c.ks);
        EXPECT_EQ(IsSeriesKC(c.name), c.kc);
        EXPECT_EQ(IsSeriesWR(c.name), c.wr);
        EXPECT_EQ(IsSeriesWJ(c.name), c.wj);
        EXPECT_EQ(IsSeriesWP(c.name), c.wp);
    }
}

TEST(SeriesRules, ClassifyModel)
{
    struct Case {
        const char* name;
        uint8_t code;
        int16_t expected;
    };
    const Case cases[] = {
        {"K35-2", 8, 0},  {"QX250A", 8, 0}, {"H300", 8, 1},  {"R20", 8, 2},  {"KS300A", 8, 3},
        {"KC10", 8, 4},   {"ZF200", 8, 0},  {"KS300A", 13, 0}, {"WJ1", 13, 0}, {"WP200", 13, 0},
        {"WR1", 13, 2},   {"WR1", 8, 0},    {"KS300A", 5, 0}, {"", 8, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyModel(c.name, c.code), c.expected) << c.name << " " << int(c.code);
}

TEST(SeriesRules, TextInParensAndBarSize)
{
    EXPECT_EQ(TextInParens("D22"), "");
    EXPECT_EQ(TextInParens("D22(SD345)"), "SD345");
    EXPECT_EQ(TextInParens("D22(SD345))"), "SD345");
    EXPECT_EQ(BarDiaOfDbar("D25(SD345)     "), 25);
    // A one-digit size reads as its diameter, not as 0.
    EXPECT_EQ(BarDiaOfDbar("D6(SD295)"), 6);
    EXPECT_EQ(BarDiaOfDbar("D25"), 0);
}

TEST(ArrangementTable, KsModelsPickTheTableByPattern)
{
    int32_t count = 0;
    RebarArrangeRows rows;
    // The two tables differ in set 1 of the 800 form: 3 bars in 配筋KS1, 4 in 配筋.
    ReadArrangementTable(kSample, "KS300A-27", 0, 21, count, rows);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(rows(1).Variants(1).DBarNX, 3);
    ReadArrangementTable(kSample, "KS300A-27", 1, 21, count, rows);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(rows(1).Variants(1).DBarNX, 4);
    EXPECT_THROW(ReadArrangementTable(kSample, "KS300A-27", 2, 21, count, rows), std::invalid_argument);

    // Other models read 配筋 with either pattern.
    RebarArrangeRows p0, p1;
    int32_t c0 = 0, c1 = 0;
    ReadArrangementTable(kSample, "WP200-4", 0, 24, c0, p0);
    ReadArrangementTable(kSample, "WP200-4", 1, 24, c1, p1);
    ASSERT_EQ(c0, 3);
    ASSERT_EQ(c1, 3);
    for (long i = 1; i <= 3; ++i) EXPECT_EQ(p0(i), p1(i));
}

TEST(ArrangementTable, RowFields)
{
    int32_t count = 0;
    RebarArrangeRows rows;
    ReadArrangementTable(kSample, "WP200-4", 0, 21, count, rows);
    ASSERT_EQ(count, 3);
    const RebarArrangeTbl& r = rows(3);
    EXPECT_EQ(r.Name.value(), "WP200-4" + std::string(23, ' '));
    EXPECT_EQ(r.ID, 150310);
    EXPECT_EQ(r.KvV, 4);
    EXPECT_EQ(r.RCX, 700);
    EXPECT_EQ(r.RCY, 700);
    EXPECT_EQ(r.Fc, 21);
    EXPECT_EQ(r.Dbar.value(), "D22(SD345)     ");
    EXPECT_EQ(r.BarDia, 22);
    EXPECT_EQ(r.DLength, 880);
    EXPECT_EQ(r.VariantCount, 4);
    const int pattern[] = {1, 2, 1, 2}, zone[] = {1, 1, 2, 2}, nx[] = {3, 4, 5, 5};
    for (long v = 1; v <= 4; ++v) {
        EXPECT_EQ(r.Variants(v).Pattern, pattern[v - 1]);
        EXPECT_EQ(r.Variants(v).Zone, zone[v - 1]);
        EXPECT_EQ(r.Variants(v).DBarNX, nx[v - 1]);
    }
    EXPECT_EQ(r.Variants(1).HoopSize.value(), "13        ");
    EXPECT_EQ(r.Variants(1).HoopMat.value(), "SD295     ");
    // Zone II has one column set: variants 3 and 4 differ only in the pattern.
    RebarArrangeVariantTbl v4 = r.Variants(4);
    v4.Pattern = 1;
    EXPECT_EQ(v4, r.Variants(3));
}

TEST(ArrangementTable, NothingFound)
{
    int32_t count = 7;
    RebarArrangeRows rows;
    ReadArrangementTable(kSample, "NOSUCH", 0, 21, count, rows);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(rows.ubound(), 0);
    // An apostrophe in the name neither breaks nor widens the query.
    ReadArrangementTable(kSample, "WP200-4' OR '1'='1", 0, 21, count, rows);
    EXPECT_EQ(count, 0);
}

TEST(ArrangementTable, FindArrangementUsesTheExactStrength)
{
    int32_t count = 0;
    RebarArrangeRows rows;
    FindArrangement(kSample, "WP200-4", 0, 21, 650, 650, " D19(SD345) ", count, rows);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(rows(1).RCX, 650);
    FindArrangement(kSample, "WP200-4", 0, 21, 650, 650, "D22(SD345)", count, rows);
    EXPECT_EQ(count, 0);
    FindArrangement(kSample, "WP200-4", 0, 21, 650, 600, "D19(SD345)", count, rows);
    EXPECT_EQ(count, 0);
    // The table holds 21, 24, 27 and 30 only.
    FindArrangement(kSample, "WP200-4", 0, 22.5, 650, 650, "D19(SD345)", count, rows);
    EXPECT_EQ(count, 0);
}

TEST(ArrangementTable, ListNamesKeepsAllowedVariants)
{
    int32_t count = 0;
    RebarArrangeRows rows;
    // Zone II (set 3) is not allowed for the 600 form.
    ListArrangementNames(kSample, "WP200-4", 21, 0, 2, count, rows);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(rows(1).RCX, 650);
    EXPECT_EQ(rows(2).RCX, 700);
    ListArrangementNames(kSample, "WP200-4", 21, 0, 1, count, rows);
    EXPECT_EQ(count, 3);
}

TEST(ArrangementChoices, StrengthIsMappedToATableStrength)
{
    for (double fc : {22.5, 23.0, 21.0, 18.0}) {
        const BarCandidates c = ListArrangementChoices(kSample, "WP200-4", fc, 0, 2, "D19(SD345)");
        SCOPED_TRACE(fc);
        ASSERT_EQ(c.barCount, 2);
        EXPECT_EQ(c.barTexts[1], "D19(SD345)     ");
        EXPECT_EQ(c.barTexts[2], "D22(SD345)     ");
        EXPECT_EQ(c.firstRcx, 650);
        EXPECT_EQ(c.firstDbar, "D19(SD345)     ");
        EXPECT_EQ(c.firstBarDia, 19);
        ASSERT_EQ(c.rcxCount, 1);  // only the D19 rows
        EXPECT_EQ(c.rcxList[1], 650);
    }
    // 27 maps to the 27 rows, whose set 3 allows the 650 and 700 forms too.
    const BarCandidates c = ListArrangementChoices(kSample, "WP200-4", 28.5, 0, 1, "D19(SD345)");
    ASSERT_EQ(c.rcxCount, 2);
    EXPECT_EQ(c.rcxList[1], 600);
    EXPECT_EQ(c.rcxList[2], 650);
}

TEST(ArrangementChoices, ListsAreSortedOnceAndBarsKeepFirstSeenOrder)
{
    const BarCandidates all = ListBarCandidates(kTest, "TST-1", 0, 24);
    ASSERT_EQ(all.rcxCount, 3);
    EXPECT_EQ(all.rcxList, (std::vector<double>{0, 600, 650, 700}));
    ASSERT_EQ(all.rcyCount, 3);
    EXPECT_EQ(all.rcyList, (std::vector<double>{0, 600, 650, 700}));
    ASSERT_EQ(all.barCount, 3);
    EXPECT_EQ(vb::Trim(all.barTexts[1]), "D19(SD345)");
    EXPECT_EQ(vb::Trim(all.barTexts[2]), "D22(SD345)");
    EXPECT_EQ(vb::Trim(all.barTexts[3]), "D6(SD295)");
    EXPECT_EQ(all.barDias, (std::vector<double>{0, 19, 22, 6}));

    const BarCandidates none = ListBarCandidates(kTest, "TST-1", 0, 21);
    EXPECT_EQ(none.rcxCount, 0);
    EXPECT_EQ(none.barCount, 0);
    EXPECT_EQ(none.firstDbar, "");
}

}  // namespace
