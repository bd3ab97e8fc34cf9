// The candidate models and bolt diameters of the base choice, on the import's
// own catalogue rows (column size 600).
#include "tests/exchange/import_fixture.h"

#include "exchange/import_base_choice.h"

namespace {

using namespace importtest;
using exchange::ListImportKvCandidates;
using Names = std::vector<std::string>;

class Choice : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        gKvSeries = 1;
        gShowKCModels = true;
        gShowDispF2 = false;
    }
    void TearDown() override
    {
        gShowKCModels = true;
        gShowDispF2 = false;
        ImportTest::TearDown();
    }
    static ColumnDataTbl Box(int16_t colV, double size)
    {
        ColumnDataTbl c;
        c.ColV = colV;
        c.ColSize = size;
        return c;
    }
    static ColumnDataTbl H(double h, double b, double tw, double tf)
    {
        ColumnDataTbl c;
        c.ColV = 2;
        c.ColSize = 600;
        c.HDim(1) = h;
        c.HDim(2) = b;
        c.HDim(3) = tw;
        c.HDim(4) = tf;
        return c;
    }
};

TEST_F(Choice, ListingRulesOfBoxAndRoundColumns)
{
    struct Case {
        int16_t series;
        bool kc, dispF2;
        int16_t colV;
        Names names;
    } cases[] = {
        {1, true, false, 0, {"QA600", "KC600", "ZA600", "WA600", "KN600", "QE600"}},
        {1, false, false, 0, {"QA600", "ZA600", "WA600", "KN600", "QE600"}},
        {1, true, true, 0, {"QA600", "KC600", "QC600", "ZA600", "WA600", "KN600", "QE600"}},
        {1, false, true, 0, {"QA600", "QC600", "ZA600", "WA600", "KN600", "QE600"}},
        {0, true, false, 0, {"ZA600", "WA600", "KN600", "QD600"}},
        {6, true, false, 0, {"ZA600", "WA600", "KN600", "SV600"}},
        {1, true, false, 1, {"RA600"}},
    };
    for (const Case& c : cases) {
        gKvSeries = c.series;
        gShowKCModels = c.kc;
        gShowDispF2 = c.dispF2;
        const auto list = ListImportKvCandidates(Box(c.colV, 600));
        EXPECT_TRUE(list.sized);
        EXPECT_EQ(list.names, c.names) << c.series << c.kc << c.dispF2 << c.colV;
    }
    // The first returned row is the one never listed.
    gKvSeries = 1;
    EXPECT_EQ(ListImportKvCandidates(Box(0, 600)).firstId, IdOf("QB600"));
}

TEST_F(Choice, HColumnsByTheFitCheck)
{
    gShowKCModels = false;
    // At equality all four tests pass; the KC model with DispF 0 is listed
    // all the same; the model whose flange width (ColWidth 299 against B 300)
    // is short is not returned, the one of exactly B (HA600) is.
    auto list = ListImportKvCandidates(H(600, 300, 12, 20));
    EXPECT_EQ(list.names, (Names{"HA600", "KCH600"}));
    EXPECT_EQ(list.firstId, IdOf("HA600"));
    // The 400 H bases take flanges up to 300: an H-400x200x8x13 gets them
    // (the width is the flange's, not the depth of 400, which none takes).
    gKvSeries = 1;
    ColumnDataTbl h400 = H(400, 200, 8, 13);
    h400.ColSize = 400;
    EXPECT_EQ(ListImportKvCandidates(h400).names, (Names{"H400-1", "WH400-4", "H400×1"}));

    struct Fit {
        double E, F, W, G, H, B, tw, tf;
        bool fits;
    } fits[] = {
        {606, 576, 18, 310, 600, 300, 12, 20, true},  {605, 576, 18, 310, 600, 300, 12, 20, false},
        {606, 577, 18, 310, 600, 300, 12, 20, false}, {606, 576, 18, 309, 600, 300, 12, 20, false},
        {606, 576, 17.9, 310, 600, 300, 12, 20, false}, {700, 500, 30, 400, 600, 300, 12, 21, true},
        {606, 576, 18, 310, 600, 300, 12, 20.5, false},
    };
    for (const Fit& f : fits)
        EXPECT_EQ(exchange::msub_CheckBaseFits(f.E, f.F, f.W, f.G, f.H, f.B, f.tw, f.tf), f.fits)
            << f.E << " " << f.F << " " << f.W << " " << f.G << " " << f.tf;

    // Rows returned, none fits: nothing to offer, the first row's ID kept.
    list = ListImportKvCandidates(H(600, 300, 12, 21));
    EXPECT_TRUE(list.names.empty());
    EXPECT_EQ(list.firstId, IdOf("HA600"));
}

TEST_F(Choice, SizesWithoutANominalSize)
{
    for (double size : {777.0, 610.0}) {
        const auto list = ListImportKvCandidates(Box(0, size));
        EXPECT_FALSE(list.sized) << size;
        EXPECT_TRUE(list.names.empty()) << size;
        EXPECT_EQ(list.firstId, 0) << size;
    }
    // SRC kinds get no query at all.
    EXPECT_FALSE(ListImportKvCandidates(Box(3, 600)).sized);
}

TEST_F(Choice, Diameters)
{
    struct Case {
        const char* model;
        int16_t kvV;
        Names diameters;
    } cases[] = {
        {"QA600", 1, {"M24", "M30"}},
        {"ZA600", 2, {}},
        {"QE600", 1, {"M24"}},
        {"KN600", 5, {"M30", "M36", "M42", "M48"}},
    };
    for (const Case& c : cases) {
        const auto bolts = exchange::ImportKvDiameters(exchange::ImportKvIdOfName(c.model));
        EXPECT_EQ(bolts.kvV, c.kvV) << c.model;
        EXPECT_EQ(bolts.diameters, c.diameters) << c.model;
    }
    EXPECT_EQ(exchange::ImportKvIdOfName("QA600"), IdOf("QA600"));
    EXPECT_EQ(exchange::ImportKvIdOfName("NONE'S"), 0);
    EXPECT_TRUE(exchange::ImportKvDiameters(0).diameters.empty());
}

}  // namespace
