#include "engine/kv.h"
#include "engine/kverror.h"

#include "catalogue_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>


namespace {

using kvtest::IdOf;

using kvtest::ErrorOf;

class KVTest : public ::testing::Test {
protected:
    KVTest() : kv(KV_SAMPLE_DIR) {
        kv.setDataFilePath(kvtest::TestCatalogueFolder());
        kv.setDataFileName(kvtest::TestCatalogueName());
    }
    kv::KV kv;
};

TEST(KVCreate, DefaultsAfterCreation) {
    kv::KV kv(KV_SAMPLE_DIR);
    EXPECT_EQ(kv.DataFilePath(), KV_SAMPLE_DIR);
    EXPECT_EQ(kv.DataFileName(), "\\data.mdb");
    EXPECT_EQ(kv.PW(), "qmv41");
    EXPECT_EQ(kv.KolvanID(), 100100);
    EXPECT_EQ(kv.AbNum(), 1);
    EXPECT_EQ(kv.AbCount(), 1);
    EXPECT_EQ(kv.KvName(), "ZF200");
    EXPECT_EQ(kv.KvData().ID, 100100);
    EXPECT_TRUE(kv.SIFlag());
    EXPECT_DOUBLE_EQ(kv.SIFactor(), 9.80665);
    EXPECT_DOUBLE_EQ(kv.Fc(), 21);
    EXPECT_EQ(kv.Condition(), 1);
    EXPECT_EQ(kv.Direction(), 0);
    EXPECT_EQ(kv.LumoQuCond(), 1);
    EXPECT_DOUBLE_EQ(kv.SlabFc(), 18);
    EXPECT_DOUBLE_EQ(kv.SlabQ_B1X(), 200);
    EXPECT_DOUBLE_EQ(kv.SlabQ_B1Y(), 200);
    EXPECT_DOUBLE_EQ(kv.SlabQ_B2X(), 0);
    EXPECT_DOUBLE_EQ(kv.spcx(), 0.00617283950617284);
    EXPECT_DOUBLE_EQ(kv.cDy(), 900);
    EXPECT_EQ(kv.RBarMat(), "SD295");
    EXPECT_EQ(kv.RBarVal(), "D22");
    EXPECT_EQ(kv.RtNx(), 8);
    EXPECT_EQ(kv.RqNy(), 12);
    EXPECT_DOUBLE_EQ(kv.rDx(), 800);
    EXPECT_EQ(kv.ColV(), 3);
    EXPECT_EQ(kv.ColMat(), "SN490");
    EXPECT_DOUBLE_EQ(kv.ColAx(), 111.8);
    EXPECT_DOUBLE_EQ(kv.ColZy(), 214);
    EXPECT_DOUBLE_EQ(kv.ColZpx(), 2096);
    EXPECT_EQ(kv.Devide(), 140);
    EXPECT_EQ(kv.srcWall(), 0);
    EXPECT_EQ(kv.DesignRoot(), 3);
    EXPECT_FALSE(kv.state().SMode);
    EXPECT_DOUBLE_EQ(kv.cMmax(), 0);
}

TEST(KVCreate, NoCatalogueNoObject) {
    EXPECT_EQ(ErrorOf([] { kv::KV kv("/nonexistent-folder"); }), store::kErrFileNotFound);
}

TEST_F(KVTest, DataFileNameAlwaysStartsWithBackslash) {
    kv.setDataFileName("data.mdb");
    EXPECT_EQ(kv.DataFileName(), "\\data.mdb");
    kv.setDataFileName("\\other.mdb");
    EXPECT_EQ(kv.DataFileName(), "\\other.mdb");
}

TEST_F(KVTest, SameModelOpensNoDatabase) {
    kv.setDataFilePath("/nonexistent-folder");
    EXPECT_NO_THROW(kv.setKolvanID(100100));
    EXPECT_NO_THROW(kv.setAbNum(1));
    auto rec = kv.KvData();
    rec.KvH = 12345;  // other fields differ, ID and variant do not
    EXPECT_NO_THROW(kv.setKvData(rec));
    EXPECT_NE(kv.KvData().KvH, 12345);
}

TEST_F(KVTest, ModelChangeLoadsAndClampsTheVariant) {
    kv.setKolvanID(IdOf("WP200-4"));
    EXPECT_EQ(kv.KvName(), "WP200-4");
    EXPECT_EQ(kv.AbCount(), 2);
    kv.setAbNum(3);
    EXPECT_EQ(kv.AbNum(), 2);
    EXPECT_DOUBLE_EQ(kv.KvData().AbD, 30);

    auto rec = kv.KvData();
    rec.ID = IdOf("SV175-4-A");
    rec.AbNum = 1;
    rec.L_C = 999;  // series 6 loads L_C, so the catalogue value wins
    kv.setKvData(rec);
    EXPECT_EQ(kv.KvName(), "SV175-4-A");
    EXPECT_DOUBLE_EQ(kv.KvData().L_C, 270);
}

// A record of another model loads that model: what the record passed in holds
// beyond its model and bolt is not kept, also where the series reads nothing.
TEST_F(KVTest, KvDataSetLoadsTheRecordOfItsModelAlone) {
    auto rec = kv.KvData();
    rec.ID = IdOf("KC200A");
    rec.AbNum = 1;
    rec.L_C = 123;  // series 1 does not load L_C
    rec.Tu(1) = 4.5;
    rec.EXY(0) = 85;
    kv.setKvData(rec);
    EXPECT_EQ(kv.KvData().L_C, 0);
    EXPECT_EQ(kv.KvData().Tu(1), 0);
    EXPECT_EQ(kv.KvData().EXY(0), 0);
    EXPECT_DOUBLE_EQ(kv.KvData().L1, 280);
}

TEST_F(KVTest, FailedLoadKeepsTheInputAndTheOldRecord) {
    const auto before = kv.KvData();
    kv.setPW("wrong");
    const int id = IdOf("WP200-4");
    EXPECT_EQ(ErrorOf([&] { kv.setKolvanID(id); }), store::kErrBadPassword);
    EXPECT_EQ(kv.KolvanID(), id);
    EXPECT_EQ(kv.KvData(), before);
    EXPECT_EQ(kv.KvName(), "ZF200");

    kv.setPW("qmv41");
    EXPECT_EQ(ErrorOf([&] { kv.setKolvanID(4711); }), store::kErrNoCurrentRecord);
    EXPECT_EQ(kv.KolvanID(), 4711);
    EXPECT_EQ(kv.KvData(), before);
}

TEST_F(KVTest, DoubleInputsChangeOnlyBeyondAThousandth) {
    const double v = kv.VerticalLoad();
    kv.setVerticalLoad(v + 0.0005);
    EXPECT_DOUBLE_EQ(kv.VerticalLoad(), v);
    kv.setVerticalLoad(v + 0.002);
    EXPECT_DOUBLE_EQ(kv.VerticalLoad(), v + 0.002);

    kv.setFc(21.0009);
    EXPECT_DOUBLE_EQ(kv.Fc(), 21);
}

TEST_F(KVTest, SlabWidthsBelowTenAreIgnored) {
    struct Case {
        double set, expect;
    } cases[] = {{10, 200}, {-5, 200}, {10.5, 10.5}, {-20, -20}};
    for (const auto& c : cases) {
        kv.setSlabQ_B1X(c.set);
        EXPECT_DOUBLE_EQ(kv.SlabQ_B1X(), c.expect) << c.set;
    }
}

TEST_F(KVTest, UnitFactorTakesTheMagnitude) {
    kv.setSIFactor(9.806655);
    EXPECT_DOUBLE_EQ(kv.SIFactor(), 9.80665);
    kv.setSIFactor(-9.8);
    EXPECT_DOUBLE_EQ(kv.SIFactor(), 9.8);
}

// The results that read the catalogue's shear minimums and bolt tensions.
struct FactorResults {
    double Mu, Nu_, Tu_, Tu1, Qu, Qu0, Qu1, Qu2, SlabQ_d1;
    int16_t JadgeM, JadgeQ;
    std::string Zone;
    bool operator==(const FactorResults&) const = default;
};

// Every state, shear set, slab option and direction of a column base with
// loads near its capacities.
std::vector<FactorResults> ChecksOf(kv::KV& k) {
    std::vector<FactorResults> out;
    k.setSlabQ_d2(270);
    k.setSlabQ_B2X(600);
    k.setSlabQ_B2Y(600);
    for (int16_t dir : {0, 1})
        for (int16_t shear : {0, 1, 2, 3})
            for (int16_t state : {0, 1, 2})
                for (int16_t set : {1, 2}) {
                    k.setDirection(dir);
                    k.setFShear(shear);
                    k.setCondition(state);
                    k.setLumoQuCond(set);
                    k.setVerticalLoad(-40);
                    k.setMomentLoad(30);
                    k.setShearLoad(71);
                    out.push_back({k.Mu(), k.Nu_(), k.Tu_(), k.Tu1(), k.Qu(), k.Qu0(), k.Qu1(), k.Qu2(), k.SlabQ_d1(),
                                   k.JadgeM(), k.JadgeQ(), k.Zone()});
                }
    return out;
}

// A factor changed after a load gives what a first load under that factor
// gives: the shear minimums of series 4 to 6 and the bolt tension of series 6
// are not kept in the factor of the earlier load.
TEST(KVFactor, AChangedFactorReadsAsAFirstLoadUnderIt) {
    const double kOld = 9.80665, kNew = 10;
    for (const char* model : {"ZF200", "KC200A", "WP200-4", "WR300-8", "KN400-2", "SV175-4-A"}) {
        for (const auto& [first, then] : {std::pair{kOld, kNew}, std::pair{kNew, kOld}}) {
            SCOPED_TRACE(std::string(model) + " loaded at " + std::to_string(first) + ", then " + std::to_string(then));
            kv::KV changed(KV_SAMPLE_DIR);
            changed.setSMode(true);
            changed.setSIFactor(first);
            changed.setKolvanID(IdOf(model));
            changed.setAbNum(1);
            changed.setSIFactor(then);

            kv::KV fresh(KV_SAMPLE_DIR);
            fresh.setSMode(true);
            fresh.setSIFactor(then);
            fresh.setKolvanID(IdOf(model));
            fresh.setAbNum(1);

            EXPECT_EQ(changed.KvData(), fresh.KvData());
            EXPECT_EQ(changed.state().LumoQu, fresh.state().LumoQu);
            EXPECT_TRUE(ChecksOf(changed) == ChecksOf(fresh));
            // The same model set again loads nothing new.
            changed.setKolvanID(IdOf(model));
            EXPECT_EQ(changed.state().LumoQu, fresh.state().LumoQu);
        }
    }
}

// The long-term shear minimum of KN400-2 (Ql2 70 kN) in the factor 10.
TEST(KVFactor, LongTermShearMinimumInTheFactorOfTheCheck) {
    kv::KV k(KV_SAMPLE_DIR);
    k.setSMode(true);
    k.setKolvanID(IdOf("KN400-2"));
    k.setCondition(2);
    k.setShearLoad(71);
    k.setSIFactor(10);
    EXPECT_DOUBLE_EQ(k.state().LumoQu.L1, 7);
    EXPECT_DOUBLE_EQ(k.Qu(), 70);
}

TEST_F(KVTest, MaterialTextsAreUpperCased) {
    kv.setRBarMat("sd345");
    EXPECT_EQ(kv.RBarMat(), "SD345");
    kv.setColMat("sm490");
    EXPECT_EQ(kv.ColMat(), "SM490");
    kv.setRBarVal("d25");
    EXPECT_EQ(kv.RBarVal(), "D25");
}

TEST_F(KVTest, BadDirectionFailsAndStaysStored) {
    EXPECT_EQ(ErrorOf([&] { kv.setDirection(2); }), vb::kErrSubscript);
    EXPECT_EQ(kv.Direction(), 2);
}

// After a failed load the stored ID is not the record's: the same ID loads
// again instead of passing as unchanged, and a check refuses the old model.
TEST_F(KVTest, AFailedLoadIsNotTakenAsDoneByTheNextSet) {
    const auto before = kv.KvData();
    kv.setVerticalLoad(100);
    const double mu = kv.Mu();

    EXPECT_EQ(ErrorOf([&] { kv.setKolvanID(4711); }), store::kErrNoCurrentRecord);
    EXPECT_EQ(ErrorOf([&] { kv.setKolvanID(4711); }), store::kErrNoCurrentRecord);
    EXPECT_EQ(kv.KolvanID(), 4711);
    EXPECT_EQ(kv.KvData(), before);

    // Checks and the curve raise the load's error rather than use the old model;
    // the inputs are stored all the same.
    EXPECT_EQ(ErrorOf([&] { kv.setVerticalLoad(200); }), store::kErrNoCurrentRecord);
    EXPECT_DOUBLE_EQ(kv.VerticalLoad(), 200);
    EXPECT_EQ(ErrorOf([&] { kv.setDirection(1); }), store::kErrNoCurrentRecord);
    EXPECT_EQ(ErrorOf([&] { kv.setRuika(); }), store::kErrNoCurrentRecord);
    EXPECT_EQ(ErrorOf([&] { kv.srcQu(); }), store::kErrNoCurrentRecord);
    EXPECT_DOUBLE_EQ(kv.Mu(), mu);

    // A record naming the failed ID and variant is loaded, not skipped.
    auto rec = kv.KvData();
    rec.ID = 4711;
    rec.AbNum = kv.AbNum();
    EXPECT_EQ(ErrorOf([&] { kv.setKvData(rec); }), store::kErrNoCurrentRecord);

    EXPECT_EQ(ErrorOf([&] { kv.setKolvanID(100100); }), 0);
    EXPECT_EQ(kv.KvName(), "ZF200");
    kv.setDirection(0);
    kv.setVerticalLoad(100);
    EXPECT_EQ(kv.Mu(), mu);
}

TEST_F(KVTest, AFailedVariantLoadsAgainWhenSetAgain) {
    kv.setKolvanID(IdOf("WP240-4"));  // variant 2 has no KvData row
    const auto before = kv.KvData();
    EXPECT_EQ(ErrorOf([&] { kv.setAbNum(2); }), store::kErrNoCurrentRecord);
    EXPECT_EQ(ErrorOf([&] { kv.setAbNum(2); }), store::kErrNoCurrentRecord);
    EXPECT_EQ(kv.KvData(), before);
    EXPECT_EQ(ErrorOf([&] { kv.setAbNum(1); }), 0);
    EXPECT_EQ(kv.AbNum(), 1);
    EXPECT_EQ(ErrorOf([&] { kv.setFc(24); }), 0);
}

// ---- The kept catalogue connection ----

std::string SampleFile() { return std::string(KV_SAMPLE_DIR) + "/data.mdb"; }

TEST(KVCatalogue, PathAndNameChangesLetTheOldConnectionGo) {
    kv::KV kv(KV_SAMPLE_DIR);
    EXPECT_TRUE(store::IsConnected(SampleFile(), ";pwd=qmv41"));
    kv.setDataFilePath(kvtest::TestCatalogueFolder());
    EXPECT_FALSE(store::IsConnected(SampleFile(), ";pwd=qmv41"));
    // data.mdb is not in the fixture folder, so the next load fails there ...
    EXPECT_EQ(ErrorOf([&] { kv.setKolvanID(IdOf("WP200-4")); }), store::kErrFileNotFound);
    // ... and reads the new file once the name is right: WP240-4 is a test-only model.
    kv.setDataFileName(kvtest::TestCatalogueName());
    kv.setKolvanID(IdOf("WP240-4"));
    EXPECT_EQ(kv.KvName(), "WP240-4");
    EXPECT_TRUE(store::IsConnected(KV_TEST_CATALOGUE, ";pwd=qmv41"));

    kv.setDataFileName("\\data.mdb");
    kv.setDataFilePath(KV_SAMPLE_DIR);
    EXPECT_FALSE(store::IsConnected(KV_TEST_CATALOGUE, ";pwd=qmv41"));
    kv.setKolvanID(150310);
    EXPECT_EQ(kv.KvName(), "WP200-4");
    EXPECT_EQ(ErrorOf([&] { kv.setKolvanID(IdOf("WP240-4")); }), store::kErrNoCurrentRecord);
}

TEST(KVCatalogue, WrongPasswordFailsWhileTheFileIsKept) {
    kv::KV kv(KV_SAMPLE_DIR);
    auto kept = store::Database::open(SampleFile(), ";pwd=qmv41");
    kv.setPW("qmv42");
    EXPECT_EQ(ErrorOf([&] { kv.setKolvanID(150310); }), store::kErrBadPassword);
    EXPECT_EQ(kv.KvName(), "ZF200");
    kv.setPW("qmv41");
    kv.setKolvanID(150310);
    EXPECT_EQ(kv.KvName(), "WP200-4");
}

TEST(KVCatalogue, ReleaseClosesTheConnection) {
    {
        kv::KV kv(KV_SAMPLE_DIR);
        EXPECT_TRUE(store::IsConnected(SampleFile(), ";pwd=qmv41"));
    }
    EXPECT_FALSE(store::IsConnected(SampleFile(), ";pwd=qmv41"));
}

// Catalogue fields that hold no usable number fail the load with a type
// mismatch, and nothing of the record changes.
TEST_F(KVTest, CatalogueValuesThatAreNoNumbersFailTheLoad) {
    const std::filesystem::path bad(KV_BAD_NUMBERS_CATALOGUE);
    kv.setDataFilePath(bad.parent_path().string());
    kv.setDataFileName("\\" + bad.filename().string());
    kv.setKolvanID(150310);
    const auto before = kv.KvData();
    const std::string name = kv.KvName();
    const struct Case {
        int32_t id;
        const char* what;
        int error;
    } cases[] = {
        {9100001, "variant count 1e300", vb::kErrTypeMismatch},
        {9100002, "variant count 'nan'", vb::kErrTypeMismatch},
        {9100003, "series 'inf'", vb::kErrTypeMismatch},
        {9100004, "bolt arrangement beyond 16 bits", vb::kErrTypeMismatch},
        {9100005, "bolt diameter 'NaN'", vb::kErrTypeMismatch},
        {9100006, "bolt diameter infinite", vb::kErrTypeMismatch},
        // Above 1000 a diameter is a designation code, and there is no such row.
        {9100007, "bolt diameter 1e300", store::kErrNoCurrentRecord},
        {9100008, "bolts per side 'inf'", vb::kErrTypeMismatch},
        {9100009, "height '-inf'", vb::kErrTypeMismatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ErrorOf([&] { kv.setKolvanID(c.id); }), c.error);
        EXPECT_EQ(kv.KvData(), before);
        EXPECT_EQ(kv.KvName(), name);
    }
    kv.setKolvanID(150310);
    EXPECT_EQ(kv.KvName(), "WP200-4");
}

}  // namespace
