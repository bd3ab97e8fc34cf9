#include "model/direction.h"
#include "model/sections.h"
#include "model/globals.h"
#include "model/texts.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

using namespace model;

namespace {

// A two-column project; column 2 is the current one.
class Texts : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = {gCond, gColumns, gKvBase, gCurCol, gDispMode, gSIDisp};
        gCond = MakeCondDefault(true, 0, "", "");
        gColumns.redim(2);
        gKvBase.redim(2);
        gCurCol = 2;
        gDispMode = 0;
        gSIDisp = true;
    }
    void TearDown() override
    {
        gCond = saved.cond;
        gColumns = saved.columns;
        gKvBase = saved.bases;
        gCurCol = saved.cur;
        gDispMode = saved.disp;
        gSIDisp = saved.si;
    }
    ColumnDataTbl& col(long i) { return gColumns(i); }
    KvBaseTbl& base(long i) { return gKvBase(i); }

    void makeSrcT(long i, int16_t kind, int16_t rotate)
    {
        col(i).ColV = kind;
        col(i).KvRotate = rotate;
        col(i).ColMatCode = 10;
        const double x[] = {600, 250, 12, 25};
        const double y[] = {500, 200, 9, 19};
        for (long k = 1; k <= 4; ++k) {
            col(i).SrcHDim(0, k) = x[k - 1];
            col(i).SrcHDim(1, k) = y[k - 1];
        }
    }

    struct Saved {
        ProjectCondTbl cond;
        ColumnArray<ColumnDataTbl> columns;
        ColumnArray<KvBaseTbl> bases;
        int16_t cur;
        int16_t disp;
        bool si;
    } saved;
};

}  // namespace

TEST_F(Texts, KvDisplayNameBySeries)
{
    KvBaseTbl b;
    b.KvName = "  KV-300  ";
    b.AbD = 24;
    struct Case {
        int16_t series;
        const char* text;
    } const cases[] = {{0, "KV-300-24"}, {1, "KV-300-24"}, {5, "KV-300-24"}, {2, "KV-300"},
                       {4, "KV-300"},    {6, "KV-300"},    {3, ""},          {-1, ""},
                       {7, ""}};
    for (const Case& c : cases) {
        b.KvV = c.series;
        EXPECT_EQ(GetKvDisplayName(b), c.text) << c.series;
    }
    b.KvV = 1;
    b.AbD = 22.5;
    EXPECT_EQ(GetKvDisplayName(b), "KV-300-22.5");

    // Fifty characters: the fiftieth is dropped before the bolt size.
    const std::string name = "ベ" + std::string(48, 'A') + "Z";
    b.KvName = name;
    EXPECT_EQ(GetKvDisplayName(b), "ベ" + std::string(48, 'A') + "-22.5");

    base(1) = b;
    EXPECT_EQ(GetKvNameByIndex(1), GetKvDisplayName(b));
}

TEST_F(Texts, SteelSectionTexts)
{
    std::string main, second, material;
    int16_t i = 1;
    col(1).ColV = 0;
    col(1).ColSize = 200;
    col(1).ColT = 9;
    col(1).ColMatCode = 3;
    EXPECT_EQ(GetColumnSectionText(i, main, second, material), "□200×200-9(STKR400)");
    EXPECT_EQ(main, "□200×200-9");
    EXPECT_EQ(second, "");
    EXPECT_EQ(material, "STKR400");

    col(1).ColV = 1;
    col(1).ColSize = 216.3;
    col(1).ColT = 8.2;
    col(1).ColMatCode = 5;
    EXPECT_EQ(GetColumnSectionText(i, main, second, material), "φ216.3-8.2(STKN400(STK400))");

    col(1).ColV = 2;
    const double h[] = {400, 200, 8, 13};
    for (long k = 1; k <= 4; ++k) col(1).HDim(k) = h[k - 1];
    col(1).ColMatCode = 99;
    EXPECT_EQ(GetColumnSectionText(i, main, second, material), "H400×200×8×13(NG)");
}

TEST_F(Texts, SrcSectionTexts)
{
    std::string main, second, material;
    const std::string hx = "600×250×12×25";
    const std::string ty = "500×200×9×19";
    struct Case {
        int16_t kind, rotate, dispMode;
        std::string text;
    } const cases[] = {
        {4, 0, 0, "H" + hx + "+ T" + ty + "(SN490)"},
        {4, 1, 0, "T" + ty + "+ H" + hx + "(SN490)"},
        {5, 1, 1, "T" + ty + "+ H" + hx + "(SN490)"},
        {6, 0, 4, "H" + hx + "+ T" + ty + "(SN490)"},
        {7, 1, 1, "H" + hx + "(SN490)"},
        // The cross section follows the direction on screen.
        {3, 0, 0, "H" + hx + "+ H" + ty + "(SN490)"},
        {3, 0, 1, "H" + ty + "+ H" + hx + "(SN490)"},
        {3, 1, 1, "H" + hx + "+ H" + ty + "(SN490)"},
    };
    for (const Case& c : cases) {
        makeSrcT(1, c.kind, c.rotate);
        col(1).ColXYDiffer = kTrue;
        gDispMode = c.dispMode;
        int16_t i = 1;
        EXPECT_EQ(GetColumnSectionText(i, main, second, material), c.text)
            << c.kind << " " << c.rotate << " " << c.dispMode;
    }
}

TEST_F(Texts, UnknownSectionKindGivesNothing)
{
    std::string main = "x", second = "y", material = "z";
    col(1).ColV = 8;
    int16_t i = 1;
    EXPECT_EQ(GetColumnSectionText(i, main, second, material), "");
    EXPECT_EQ(main, "");
    EXPECT_EQ(second, "");
    EXPECT_EQ(material, "");
}

TEST_F(Texts, CurrentColumnIndexIsWrittenBack)
{
    std::string main, second, material;
    col(2).ColV = 0;
    col(2).ColSize = 250;
    col(2).ColT = 12;
    int16_t i = 999;
    EXPECT_EQ(GetColumnSectionText(i, main, second, material), "□250×250-12(BCR295)");
    EXPECT_EQ(i, 2);
}

TEST_F(Texts, SteelSectionProperties)
{
    std::vector<std::string> texts(9, "keep");
    ColumnDataTbl& c = col(1);
    const double spec[] = {45.32, 392, 465, 392, 465};
    for (long k = 0; k <= 4; ++k) c.ColSpec(k) = spec[k];
    c.ColSpecUser(0) = 0.0005;  // below the threshold: catalogue A
    c.ColSpecUser(1) = 500;
    c.ColSpecUser(2) = -600;  // negative: not given
    int16_t i = 1;
    GetSectionPropertyTexts(i, texts);
    const std::vector<std::string> same = {"A=45.32(cm2)", "Z=500(cm3)", "Zp=465(cm3)", "", "", "", "", "keep",
                                           "keep"};
    EXPECT_EQ(texts, same);

    c.ColXYDiffer = kTrue;
    c.ColSpec(3) = 150;
    c.ColSpec(4) = 230.4;
    GetSectionPropertyTexts(i, texts);
    EXPECT_EQ(texts[1], "Zx=500(cm3)");
    EXPECT_EQ(texts[2], "Zpx=465(cm3)");
    EXPECT_EQ(texts[3], "Zy=150(cm3)");
    EXPECT_EQ(texts[4], "Zpy=230(cm3)");
    c.KvRotate = 1;
    GetSectionPropertyTexts(i, texts);
    EXPECT_EQ(texts[1], "Zx=150(cm3)");
    EXPECT_EQ(texts[2], "Zpx=230(cm3)");
    EXPECT_EQ(texts[3], "Zy=500(cm3)");
    EXPECT_EQ(texts[4], "Zpy=465(cm3)");

    std::array<std::string, 6> tooShort;
    EXPECT_THROW(GetSectionPropertyTexts(i, tooShort), vb::Error);
}

TEST_F(Texts, SrcSectionPropertiesFollowTheDirection)
{
    gCond.SMode = kFalse;
    ColumnDataTbl& c = col(2);
    const double x[] = {384, 4001, 4501, 0.0077};
    const double y[] = {200, 1500, 1800, 0.012345678};
    for (long k = 0; k <= 3; ++k) {
        c.SrcColSpec(0, k) = x[k];
        c.SrcColSpec(1, k) = y[k];
    }
    c.ColXYDiffer = kTrue;
    std::array<std::string, 7> texts;
    int16_t i = 999;
    GetSectionPropertyTexts(i, texts);
    EXPECT_EQ(i, 2);
    EXPECT_EQ(texts[0], "A=384.0(cm2)");
    EXPECT_EQ(texts[1], "Zx=4000(cm3)");
    EXPECT_EQ(texts[2], "Zpx=4500(cm3)");
    EXPECT_EQ(texts[3], "Zy=1500(cm3)");
    EXPECT_EQ(texts[4], "Zpy=1800(cm3)");
    EXPECT_EQ(texts[5], "spcx=0.00770");
    EXPECT_EQ(texts[6], "spcy=0.01235");

    gDispMode = 1;
    GetSectionPropertyTexts(i, texts);
    EXPECT_EQ(texts[0], "A=200.0(cm2)");
    EXPECT_EQ(texts[3], "Zy=4000(cm3)");
    EXPECT_EQ(texts[6], "spcy=0.00770");
}

TEST_F(Texts, KbsText)
{
    KvBaseTbl& b = base(1);
    b.Kbs(0) = 12.34;
    b.Kbs(1) = 5.678;
    b.KbsSI(0) = 121.0;
    b.KbsSI(1) = 55.68;
    b.RotateMode = kFalse;
    EXPECT_EQ(GetKbsText(1), "Kbs(×10^3kN･m/rad) : 121");
    gSIDisp = false;
    EXPECT_EQ(GetKbsText(1), "Kbs(×10^3tf･m/rad) : 12.3");
    b.RotateMode = kTrue;
    EXPECT_EQ(GetKbsText(1), "Kbs(×10^3tf･m/rad) : X=12.3   Y=5.68");
    col(1).KvRotate = 1;
    EXPECT_EQ(GetKbsText(1), "Kbs(×10^3tf･m/rad) : X=5.68   Y=12.3");
}

TEST_F(Texts, KvDirectionFollowsTheShownDirection)
{
    struct Case {
        int16_t rotateMode, xyDiffer, kvRotate, dispMode, dir;
    } const cases[] = {
        {kFalse, kFalse, 0, 1, 0}, {kFalse, kFalse, 1, 1, 0}, {kFalse, kTrue, 0, 0, 0},
        {kFalse, kTrue, 0, 1, 1},  {kTrue, kFalse, 0, 4, 1},  {kTrue, kFalse, 0, 5, 1},
        {kTrue, kFalse, 1, 0, 1},  {kTrue, kFalse, 1, 1, 0},  {kTrue, kTrue, 2, 0, 1},
    };
    for (const Case& c : cases) {
        base(2).RotateMode = c.rotateMode;
        col(2).ColXYDiffer = c.xyDiffer;
        col(2).KvRotate = c.kvRotate;
        gDispMode = c.dispMode;
        EXPECT_EQ(CalcKvDirection(base(2), col(2)), c.dir)
            << c.rotateMode << c.xyDiffer << c.kvRotate << c.dispMode;
        int16_t i = 999;
        EXPECT_EQ(GetKvDirection(i), c.dir);
        EXPECT_EQ(i, 2);
    }
    int16_t bad = 3;
    EXPECT_THROW(GetKvDirection(bad), vb::Error);
}

TEST(SafeRatio, GuardsTheDivision)
{
    EXPECT_EQ(SafeRatio(3, -4), 0.75);
    EXPECT_EQ(SafeRatio(3, 0), 0);
    EXPECT_EQ(SafeRatio(-3, 4), 0.75);
    EXPECT_EQ(SafeRatio(1e308, 1e-308), 0);
    EXPECT_EQ(SafeRatio(std::nan(""), 1), 0);
}

TEST(SteelMaterialName, Table)
{
    EXPECT_EQ(GetSteelMaterialName(5), "STKN400(STK400)");
    EXPECT_EQ(GetSteelMaterialName(103), "F=325N/mm2");
    EXPECT_EQ(GetSteelMaterialName(11), "NG");
}
