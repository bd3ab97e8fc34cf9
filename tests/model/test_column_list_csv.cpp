#include "model/column_list_csv.h"

#include "model/globals.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace model;

TEST(ColumnListCsv, PresetName)
{
    EXPECT_EQ(CsvPresetName("untitled.kud"), "untitled.csv");
    EXPECT_EQ(CsvPresetName("a.b.kud"), "a.csv");
    EXPECT_EQ(CsvPresetName("abc"), "abc.csv");
}

TEST(ColumnListCsv, VerdictOverTheCheckedCases)
{
    auto allOk = [] {
        ColumnResultTbl r;
        r.JadgeM.fill(-1);
        r.JadgeQ.fill(-1);
        return r;
    };
    struct Case {
        const char* what;
        void (*set)(ColumnResultTbl&);
        bool ultJadge;
        const char* expected;
    };
    const Case cases[] = {
        {"all pass", [](ColumnResultTbl&) {}, true, "OK"},
        {"qualified shear", [](ColumnResultTbl& r) { r.JadgeQ(1, 5) = 1; }, true, "OK*"},
        {"qualified moment only", [](ColumnResultTbl& r) { r.JadgeM(0, 4) = 2; }, true, "OK"},
        {"last failure decides", [](ColumnResultTbl& r) { r.JadgeM(0, 1) = 0; r.JadgeQ(1, 4) = 0; }, true, "NG(Q)"},
        {"moment after shear", [](ColumnResultTbl& r) { r.JadgeQ(0, 1) = 0; r.JadgeM(0, 6) = 0; }, true, "NG(M)"},
        {"ultimate moment ignored", [](ColumnResultTbl& r) { r.JadgeM(0, 6) = 0; r.JadgeM(1, 7) = 0; }, false, "OK"},
        {"ultimate shear counts", [](ColumnResultTbl& r) { r.JadgeM(0, 6) = 0; r.JadgeQ(1, 7) = 0; }, false, "NG(Q)"},
        {"cases 2 and 3 never count", [](ColumnResultTbl& r) { r.JadgeM(0, 2) = 0; r.JadgeQ(1, 3) = 0; r.JadgeQ(0, 3) = 1; }, true, "OK"},
        {"NG stays NG after OK*", [](ColumnResultTbl& r) { r.JadgeQ(0, 1) = 0; r.JadgeQ(0, 4) = 1; }, true, "NG(Q)"},
    };
    for (const Case& c : cases) {
        ColumnResultTbl r = allOk();
        c.set(r);
        EXPECT_EQ(GetColumnVerdictText(r, c.ultJadge), c.expected) << c.what;
    }
}

TEST(ColumnListCsv, MatchesTheHandWrittenFile)
{
    const ProjectCondTbl savedCond = gCond;
    gCond = ProjectCondTbl{};
    gCond.SMode = kTrue;
    gCond.UltJadge = kTrue;
    gCond.ColCount = 3;
    gCond.Bukken = "東棟　柱脚検討";
    gColumns.redim(3);
    gKvBase.redim(3);
    gResults.redim(3);
    for (long i = 1; i <= 3; ++i) {
        gColumns(i).Fc = 21;
        gResults(i).JadgeM.fill(-1);
        gResults(i).JadgeQ.fill(-1);
    }
    gColumns(1).ColName = "  C1";
    gKvBase(1).KvV = 0;
    gKvBase(1).KvName = "QX350E";
    gKvBase(1).AbD = 30;
    gResults(1).JadgeQ(0, 4) = 1;
    gColumns(2).ColName = "C \"2\"";
    gColumns(2).Fc = 22.5;
    gKvBase(2).KvV = 4;
    gKvBase(2).KvName = "WP200-4";
    gResults(2).JadgeM(0, 1) = 0;
    gResults(2).JadgeQ(1, 4) = 0;
    gColumns(3).ColName = "X1";
    gKvBase(3).KvV = 3;
    gKvBase(3).KvName = "QT300-3";

    const int16_t zones[] = {0, 1, 2, 7};
    std::string got = BuildColumnListCsv([&](long i) { return zones[i]; });
    std::ifstream in(KV_FIXTURE_DIR "/csv/column_list.csv", std::ios::binary);
    const std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(got, golden);

    // SRC: every zone item is empty and the zone is never asked for.
    gCond.SMode = kFalse;
    got = BuildColumnListCsv([](long) -> int16_t { throw std::logic_error("asked"); });
    EXPECT_NE(got.find("\"OK*\",\"\",21\r\n"), std::string::npos);

    gCond = savedCond;
}
