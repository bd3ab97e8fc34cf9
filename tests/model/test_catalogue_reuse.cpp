// Checks through the kept catalogue connection and its kept rows give, to the
// last bit, what checks that open the file for every query give.
#include "catalogue_globals.h"
#include "engine/kv.h"
#include "model/base_data.h"
#include "model/catalogue.h"
#include "model/column_check.h"
#include "model/globals.h"
#include "platform/store/store.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace model;

namespace {

// One model of every series of the test catalogue, with the variants and
// bolt codes that take other paths through the loader.
const char* const kModels[] = {
    "ZF200",    "QX250A",   "QX350E",  "QX300S",  "KC200A",  "KS300A",    "H400-1",   "WP200-4",
    "WR300-8",  "WJ267-4",  "KN400-2", "KN500-3", "SV175-4-A", "SV250-8-A", "QT300-3", "WP240-4",
};

int32_t IdOf(const std::string& name)
{
    auto rs = OpenCatalogue().openRecordset("SELECT 柱脚.ID FROM 柱脚 WHERE ((柱脚.形式名)=" + store::Quote(name) + ")");
    if (rs.eof()) throw std::runtime_error("no model " + name);
    return static_cast<int32_t>(rs.integer(0));
}

struct Checked {
    std::vector<ColumnDataTbl> columns;
    std::vector<ColumnResultTbl> results;
};

// Every model in both rotations, with catalogue widths (B2 = 0) and with given
// ones, checked in both directions; then the same columns as SRC columns.
Checked CheckAll()
{
    const std::filesystem::path file(KV_TEST_CATALOGUE);
    gKv = std::make_unique<kv::KV>(KV_SAMPLE_DIR);
    gKv->setSIFlag(true);
    gKv->setDataFilePath(gDataFilePath);
    gKv->setDataFileName(gDataFileName);
    gSIDisp = true;
    gUnitFactor = 9.80665;
    gFcUpperLimit = 60;

    Checked run;
    for (const bool sMode : {true, false}) {
        gCond = MakeCondDefault(true, 0, "", "");
        gCond.SMode = sMode ? kTrue : kFalse;
        std::vector<ColumnDataTbl> cols;
        std::vector<KvBaseTbl> bases;
        for (const char* name : kModels) {
            for (int16_t rotate = 0; rotate <= 1; ++rotate) {
                for (const bool catalogueWidths : {true, false}) {
                    if (!sMode && (rotate == 1 || !catalogueWidths)) continue;
                    ColumnDataTbl c = MakeColumnDefault(1, true, 21);
                    if (!sMode) c = MakeColumnDefaultSrc(c, true);
                    c.KolvanID = IdOf(name);
                    c.AbNum = 1;
                    c.KvRotate = rotate;
                    KvBaseTbl kvb;
                    LoadKvBaseData(c.KolvanID, 1, kvb);
                    c.KvV = kvb.KvV;
                    SetColumnBaseGeometry(c, kvb, sMode);
                    if (catalogueWidths) {
                        c.SlabQ_B2X = 0;
                        c.SlabQ_B2Y = 0;
                    }
                    for (long k = 1; k <= 7; ++k) {
                        c.FShear(k, 0) = static_cast<int16_t>(k % 4);
                        c.FShear(k, 1) = 2;
                    }
                    cols.push_back(c);
                    bases.push_back(kvb);
                }
            }
        }
        const auto n = static_cast<int16_t>(cols.size());
        gCond.ColCount = n;
        gColumns.redim(n);
        gKvBase.redim(n);
        gResults.redim(n);
        for (int16_t i = 1; i <= n; ++i) {
            gColumns(i) = cols[static_cast<std::size_t>(i - 1)];
            gKvBase(i) = bases[static_cast<std::size_t>(i - 1)];
            for (long k = 1; k <= 8; ++k) {
                gResults(i).DesignStress(1, k) = 20 + i % 17 + k;
                gResults(i).DesignStress(2, k) = 3 + i % 7;
                gResults(i).DesignStress(3, k) = 2 + k;
                gResults(i).DesignStress(4, k) = 15 + i % 13 + k;
                gResults(i).DesignStress(5, k) = 2 + i % 5;
                gResults(i).DesignStress(6, k) = 1 + k;
            }
        }
        for (int16_t i = 1; i <= n; ++i) {
            CalcColumnByIndex(i, 0);
            CalcColumnByIndex(i, 1);
            run.columns.push_back(gColumns(i));
            run.results.push_back(gResults(i));
        }
    }
    gKv.reset();
    return run;
}

uint64_t Bits(double v) { return std::bit_cast<uint64_t>(v); }

void ExpectSameBits(const Checked& a, const Checked& b)
{
    ASSERT_EQ(a.results.size(), b.results.size());
    for (std::size_t i = 0; i < a.results.size(); ++i) {
        SCOPED_TRACE("column " + std::to_string(i + 1) + ", model " + std::to_string(a.columns[i].KolvanID));
        const ColumnDataTbl& ca = a.columns[i];
        const ColumnDataTbl& cb = b.columns[i];
        EXPECT_EQ(Bits(ca.SlabQ_B1X), Bits(cb.SlabQ_B1X));
        EXPECT_EQ(Bits(ca.SlabQ_B1Y), Bits(cb.SlabQ_B1Y));
        EXPECT_EQ(Bits(ca.SlabQ_d2), Bits(cb.SlabQ_d2));
        const ColumnResultTbl& ra = a.results[i];
        const ColumnResultTbl& rb = b.results[i];
        for (long d = 0; d <= 1; ++d) {
            for (long k = 1; k <= 7; ++k) {
                SCOPED_TRACE("direction " + std::to_string(d) + ", case " + std::to_string(k));
                EXPECT_EQ(Bits(ra.Mu(d, k)), Bits(rb.Mu(d, k)));
                EXPECT_EQ(Bits(ra.Qu(d, k)), Bits(rb.Qu(d, k)));
                EXPECT_EQ(Bits(ra.Qu0(d, k)), Bits(rb.Qu0(d, k)));
                EXPECT_EQ(Bits(ra.Qu1(d, k)), Bits(rb.Qu1(d, k)));
                EXPECT_EQ(Bits(ra.Qu2(d, k)), Bits(rb.Qu2(d, k)));
                EXPECT_EQ(ra.JadgeM(d, k), rb.JadgeM(d, k));
                EXPECT_EQ(ra.JadgeQ(d, k), rb.JadgeQ(d, k));
                EXPECT_EQ(ra.Zone(d, k), rb.Zone(d, k));
            }
        }
    }
}

class CatalogueReuse : public ::testing::Test {
protected:
    ~CatalogueReuse() override { store::SetConnectionReuse(true); }
    modeltest::CatalogueGlobals globals;
};

TEST_F(CatalogueReuse, KeptConnectionGivesBitIdenticalResults)
{
    ReleaseCatalogue();
    store::SetConnectionReuse(false);
    const Checked fresh = CheckAll();
    EXPECT_FALSE(store::IsConnected(KV_TEST_CATALOGUE, kCatalogueConnect));

    store::SetConnectionReuse(true);
    const Checked kept = CheckAll();
    EXPECT_TRUE(store::IsConnected(KV_TEST_CATALOGUE, kCatalogueConnect));
    // A second round reads every row from what the connection kept.
    const Checked again = CheckAll();

    ASSERT_FALSE(fresh.results.empty());
    ExpectSameBits(fresh, kept);
    ExpectSameBits(fresh, again);
}

// The program's connection follows the catalogue's name and goes at release.
TEST_F(CatalogueReuse, ProgramConnectionFollowsTheFileName)
{
    const std::string test = KV_TEST_CATALOGUE;
    const std::string sample = std::string(KV_SAMPLE_DIR) + "/data.mdb";
    auto first = OpenCatalogue();
    EXPECT_TRUE(store::IsConnected(test, kCatalogueConnect));
    first.close();
    EXPECT_TRUE(store::IsConnected(test, kCatalogueConnect));  // kept between look-ups

    gDataFilePath = KV_SAMPLE_DIR;
    gDataFileName = "\\data.mdb";
    EXPECT_FALSE(OpenCatalogue().openRecordset("SELECT 柱脚.ID FROM 柱脚").eof());
    EXPECT_FALSE(store::IsConnected(test, kCatalogueConnect));
    EXPECT_TRUE(store::IsConnected(sample, kCatalogueConnect));
    // The test-only model is not in the sample.
    EXPECT_TRUE(OpenCatalogue().openRecordset("SELECT 柱脚.ID FROM 柱脚 WHERE ((柱脚.形式名)='WP240-4')").eof());

    ReleaseCatalogue();
    EXPECT_FALSE(store::IsConnected(sample, kCatalogueConnect));
}

}  // namespace
