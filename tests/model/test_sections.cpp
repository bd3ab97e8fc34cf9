#include "model/sections.h"

#include "catalogue_globals.h"
#include "model/globals.h"
#include "platform/store/store.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

using namespace model;

TEST(SteelGrades, NamesReadBackToTheirCode)
{
    struct Case {
        const char* name;
        int16_t code;
    };
    const Case cases[] = {
        {" SN490B ", 10}, {"sn490", 999},  {"SS400級", 9},  {"SS400", 7},     {"STK400", 5}, {"STKN490", 6},
        {"SM490級", 8},    {"BCR295", 0},   {"F=235N/mm2", 999}, {"", 999}, {"SN400C", 9},
    };
    for (const Case& c : cases) EXPECT_EQ(GetSteelMaterialCode(c.name), c.code) << c.name;
}

TEST(SteelGrades, StrengthOfEachCode)
{
    EXPECT_EQ(GetSteelFValue(0), 3.0);
    EXPECT_EQ(GetSteelFValue(7), 2.4);
    EXPECT_EQ(GetSteelFValue(10), 3.3);
    EXPECT_EQ(GetSteelFValue(102), 2.4);
    EXPECT_EQ(GetSteelFValue(103), 3.3);
    EXPECT_EQ(GetSteelFValue(11), 0);
    EXPECT_EQ(GetSteelFValue(-1), 0);
    EXPECT_EQ(GetSteelMaterialName(5), "STKN400(STK400)");
    EXPECT_EQ(GetSteelMaterialName(104), "NG");
}

TEST(HSectionProps, FromThePlates)
{
    ColumnDataTbl col;
    col.ColV = 2;
    col.HDim(1) = 400;
    col.HDim(2) = 200;
    col.HDim(3) = 8;
    col.HDim(4) = 13;
    col.ColSpec(0) = 7;
    CalcHSectionProps(col);
    EXPECT_DOUBLE_EQ(col.ColSpecUser(0), 81.92);
    EXPECT_EQ(col.ColSpecUser(1), 1150);  // 1148.24
    EXPECT_EQ(col.ColSpecUser(2), 1290);  // 1285.95
    EXPECT_EQ(col.ColSpecUser(3), 173);   // 173.49
    EXPECT_EQ(col.ColSpecUser(4), 266);   // 265.98
    EXPECT_EQ(col.ColSpec(0), 7);         // catalogue values untouched

    ColumnDataTbl box;
    box.HDim(1) = 400;
    const ColumnDataTbl before = box;
    CalcHSectionProps(box);
    EXPECT_EQ(box, before);
}

TEST(RoundSignificantTest, FiguresAndTooSmall)
{
    EXPECT_EQ(RoundSignificant(54.004, 4), 54);
    EXPECT_DOUBLE_EQ(RoundSignificant(246.81, 3), 247);
    EXPECT_EQ(RoundSignificant(0.05, 3), 0);
}

class SectionLookup : public ::testing::Test {
protected:
    modeltest::CatalogueGlobals globals;
};

TEST_F(SectionLookup, BoxFoundTakesIdAndNonZeroProperties)
{
    ColumnDataTbl col;
    col.ColV = 0;
    col.ColMatCode = 0;  // BCR
    col.ColSize = 300;
    col.ColT = 12;
    GetColumnSectionData(col);
    EXPECT_EQ(col.ColID, 105);
    EXPECT_EQ(col.ColSpec(0), 133.3);
    EXPECT_EQ(col.ColSpec(1), 1204);
    EXPECT_EQ(col.ColSpec(2), 1420);  // Zpx, whatever the store's column order
    EXPECT_EQ(col.ColSpec(3), 1204);
    EXPECT_EQ(col.ColSpec(4), 1420);
}

TEST_F(SectionLookup, GradeConditionPicksTheSeries)
{
    // 300 x 12 exists as BCR (105) and BCP (201); STKR has 200 x 9 (302) and
    // BCR too (101).
    struct Case {
        int16_t code;
        double size, t;
        int32_t id;
    };
    const Case cases[] = {
        {0, 300, 12, 105}, {1, 300, 12, 201}, {2, 300, 12, 201}, {3, 200, 9, 302},
        {7, 300, 12, 201}, {3, 300, 16, 0},
        // No box series of their own: looked up without a grade condition.
        {5, 200, 9, 101},  {9, 350, 16, 107}, {-1, 400, 22, 109},
    };
    for (const Case& c : cases) {
        ColumnDataTbl col;
        col.ColV = 0;
        col.ColMatCode = c.code;
        col.ColSize = c.size;
        col.ColT = c.t;
        GetColumnSectionData(col);
        EXPECT_EQ(col.ColID, c.id) << c.code << " " << c.size << "x" << c.t;
    }
}

TEST_F(SectionLookup, BoxNotFoundChangesNothing)
{
    ColumnDataTbl col;
    col.ColV = 0;
    col.ColSize = 275;
    col.ColT = 9;
    col.ColID = 44;
    col.ColSpec(0) = 5;
    const ColumnDataTbl before = col;
    GetColumnSectionData(col);
    EXPECT_EQ(col, before);
}

TEST(SectionLookupBadCatalogue, AnIdBeyond32BitsEndsTheLookUpUntouched)
{
    modeltest::CatalogueGlobals globals;
    const std::filesystem::path file(KV_BAD_NUMBERS_CATALOGUE);
    gDataFilePath = file.parent_path().string();
    gDataFileName = "\\" + file.filename().string();
    ColumnDataTbl col;
    col.ColV = 0;
    col.ColMatCode = 0;  // BCR
    col.ColSize = 990;
    col.ColT = 99;
    col.ColID = 44;
    const ColumnDataTbl before = col;
    GetColumnSectionData(col);
    EXPECT_EQ(col, before);
}

TEST_F(SectionLookup, RoundTubeFromCatalogueOrComputed)
{
    ColumnDataTbl col;
    col.ColV = 1;
    col.ColSize = 267.4;  // the text "267.4", not "267.40"
    col.ColT = 9.3;
    GetColumnSectionData(col);
    EXPECT_EQ(col.ColID, 401);
    EXPECT_EQ(col.ColSpec(0), 75.41);

    ColumnDataTbl pipe;
    pipe.ColV = 1;
    pipe.ColSize = 200;
    pipe.ColT = 9;
    pipe.ColID = 12;
    GetColumnSectionData(pipe);
    EXPECT_EQ(pipe.ColID, 12);
    EXPECT_EQ(pipe.ColSpec(0), 54);
    EXPECT_EQ(pipe.ColSpec(1), 247);
    EXPECT_EQ(pipe.ColSpec(3), 247);
    EXPECT_EQ(pipe.ColSpec(2), 329);
    EXPECT_EQ(pipe.ColSpec(4), 329);
}

TEST_F(SectionLookup, HSectionFoundTakesNominalSizes)
{
    ColumnDataTbl col;
    col.ColV = 2;
    col.HDim(1) = 396;
    col.HDim(2) = 199;
    col.HDim(3) = 7;
    col.HDim(4) = 11;
    GetColumnSectionData(col);
    EXPECT_EQ(col.ColID, 502);
    EXPECT_EQ(col.ColSize, 400);
    EXPECT_EQ(col.ColT, 200);
    EXPECT_EQ(col.ColSpec(0), 71.41);
    EXPECT_EQ(col.ColSpecUser(0), 0);
}

TEST_F(SectionLookup, HSectionNotFoundGoesByNominalSizeWithItsOwnProperties)
{
    // A section without a catalogue row takes its nominal sizes (Round to
    // even: 425 / 50 = 8.5 and 187.5 / 25 = 7.5 give 400 x 200), the ID of a
    // catalogue section of that nominal size when there is one, and always
    // the properties of its own plates; the catalogue values stay.
    struct Case {
        std::array<double, 4> dims;  // H, B, tw, tf
        double size, width;
        int32_t id;  // 44 before the look-up
        std::array<double, 5> props;  // A, Zx, Zpx, Zy, Zpy
    };
    const Case cases[] = {
        {{425, 187.5, 9, 14}, 400, 200, 501, {88.23, 1260, 1430, 164, 254}},
        // Nominal 400 x 250 and 600 x 300 are not listed: the ID stays.
        {{400, 250, 9, 14}, 400, 250, 44, {103.5, 1500, 1660, 292, 445}},
        {{588, 300, 12, 20}, 600, 300, 44, {185.8, 3850, 4310, 601, 920}},
    };
    for (const Case& c : cases) {
        ColumnDataTbl col;
        col.ColV = 2;
        col.ColID = 44;
        for (int i = 0; i < 4; ++i) col.HDim(i + 1) = c.dims[static_cast<std::size_t>(i)];
        col.ColSpec(0) = 65.98;
        GetColumnSectionData(col);
        SCOPED_TRACE(c.dims[0]);
        EXPECT_EQ(col.ColSize, c.size);
        EXPECT_EQ(col.ColT, c.width);
        EXPECT_EQ(col.ColID, c.id);
        for (int k = 0; k < 5; ++k) EXPECT_DOUBLE_EQ(col.ColSpecUser(k), c.props[static_cast<std::size_t>(k)]) << k;
        EXPECT_EQ(col.ColSpec(0), 65.98);
    }
}

TEST_F(SectionLookup, SrcKindsAndAMissingCatalogueChangeNothing)
{
    ColumnDataTbl col;
    col.ColV = 4;
    col.ColSize = 300;
    col.ColT = 12;
    GetColumnSectionData(col);
    EXPECT_EQ(col.ColID, 0);

    gDataFileName = "\\no-such-catalogue.mdb";
    ColumnDataTbl pipe;
    pipe.ColV = 1;
    pipe.ColSize = 200;
    pipe.ColT = 9;
    const ColumnDataTbl before = pipe;
    GetColumnSectionData(pipe);
    EXPECT_EQ(pipe, before);  // no computed fall-back without a catalogue
}

TEST_F(SectionLookup, ModelNameToProductAndBoltVariant)
{
    struct Case {
        const char* name;
        int16_t bolt;
        KvLookup result;
        int32_t id;
        int16_t series, abNum;
    };
    const Case cases[] = {
        {"QX250A", 24, KvLookup::Found, 100210, 0, 1},
        {"QX250A", 27, KvLookup::Found, 100210, 0, 2},
        {"KN400-2", 48, KvLookup::Found, 160110, 5, 4},
        {"ZF250", 99, KvLookup::Found, 9000014, 2, 1},     // series 2: variant 1 always
        {"WP200-4", 30, KvLookup::Found, 150310, 4, 1},
        {"SV175-4-A", 12, KvLookup::Found, 170110, 6, 1},
        {"KB'1-400", 24, KvLookup::Found, 9000006, 0, 1},  // a quote in the name
        {"QX250A", 30, KvLookup::NoBoltVariant, 0, 0, 0},
        {"QT300-3", 40, KvLookup::NoBoltVariant, 0, 3, 0},  // series 3 has no rule
        {"QX999", 24, KvLookup::NoModel, 0, 0, 0},
        {"x' OR '1'='1", 24, KvLookup::NoModel, 0, 0, 0},
    };
    for (const Case& c : cases) {
        int32_t id = -1;
        int16_t series = -1, abNum = -1;
        EXPECT_EQ(GetKvIdByModelName(c.name, c.bolt, id, series, abNum), c.result) << c.name;
        EXPECT_EQ(id, c.id) << c.name;
        EXPECT_EQ(series, c.series) << c.name;
        EXPECT_EQ(abNum, c.abNum) << c.name;
    }
}

TEST_F(SectionLookup, ModelLookupWithoutCatalogueThrows)
{
    gDataFileName = "\\no-such-catalogue.mdb";
    int32_t id = 0;
    int16_t series = 0, abNum = 0;
    EXPECT_THROW(GetKvIdByModelName("QX250A", 24, id, series, abNum), store::StoreError);
}
