#include "engine/kverror.h"
#include "engine/loader.h"

#include "catalogue_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>


namespace {

using kvtest::IdOf;
using kvtest::StateOnTestCatalogue;

constexpr double kF = 9.80665;

using kvtest::ErrorOf;

kv::KvState Loaded(const std::string& name, int16_t abNum = 1) {
    auto s = StateOnTestCatalogue();
    s.KolvanID = IdOf(name);
    s.AbNum = abNum;
    kv::LoadCatalogue(s);
    return s;
}

TEST(RoundHalf, FiveMillimetreSteps) {
    struct Case {
        double x, expect;
    } cases[] = {
        {84.3, 85}, {86, 90}, {80.5, 80}, {-84.3, -85}, {0, 0},
        {85.9, 85},  // 0.58999... of a centimetre stays below the 0.59 mark
        {80.9, 80}, {80.91, 85}, {68.35533905932738, 70}, {18.355, 20},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(kv::RoundHalf(c.x), c.expect) << c.x;
}

TEST(PickPitchMode, LargestWithTiesToTheEarlierCandidate) {
    struct Case {
        double a, b, c, expect;
        const char* label;
    } cases[] = {
        {5, 5, 5, 5, "(A)"}, {3, 5, 5, 5, "(B)"}, {3, 4, 5, 5, "(C)"}, {6, 5, 5, 6, "(A)"}, {-1, -2, -3, -1, "(A)"},
    };
    for (const auto& c : cases) {
        std::string label;
        EXPECT_DOUBLE_EQ(kv::PickPitchMode(c.a, c.b, c.c, label), c.expect);
        EXPECT_EQ(label, c.label);
    }
}

TEST(CataloguePath, BackslashJoinsWithTheNativeSeparator) {
    kv::KvState s;
    s.DataFilePath = "/opt/kv";
    s.DataFileName = "\\data.mdb";
    EXPECT_EQ(kv::CataloguePath(s), "/opt/kv/data.mdb");
    s.DataFilePath = "C:\\kv";
    EXPECT_EQ(kv::CataloguePath(s), "C:/kv/data.mdb");
}

// The whole record of one series-4 model, worked out from its catalogue rows:
// 柱脚 'WP200-4' and KvData (150310, 24), ABolt 24.
TEST(LoadCatalogue, WholeRecordOfASeries4Model) {
    const auto s = Loaded("WP200-4");
    kv::KvDataTblC e;
    e.ID = 150310;
    e.KvV = 4;
    const double x[6] = {420, 420, 320, 320, 0, 0};
    for (int k = 1; k <= 6; ++k) e.KvLen(0, k) = e.KvLen(1, k) = x[k - 1];
    e.KvH = 200;
    e.KvT(1) = 9;
    e.KvT(2) = 32;
    e.KvT(3) = 12;
    e.KvT(4) = 0;
    e.KvWeight = 63.8;
    e.AbV = 0;
    e.AbN = 2;
    e.AbF = 5.0;
    e.AbNum = 1;
    e.AbD = 24;
    e.AbA = 2.4 * 2.4 / 4 * 3.141592;
    e.AbAe = 0.77 * e.AbA;
    e.Kbs(0) = e.Kbs(1) = 1.85;
    e.RotateMode = 0;
    e.KbsSI(0) = e.KbsSI(1) = 18.14;
    e.PartsWeight = 6;
    e.eAx1 = e.eAx2 = e.eAy1 = e.eAy2 = 50;
    e.L_tf1 = 20;
    e.L_lf = 100;
    e.L_tf2 = 20;
    e.L_y1 = 110;
    e.L_y2 = 100;
    e.L_y3 = 110;
    e.L_l1 = 168;
    e.NAlpha = 0.5;
    e.L1 = 280;
    e.L_C = 270;
    e.ColSize = 200;
    EXPECT_EQ(s.KvData, e);
    EXPECT_NEAR(s.KvData.AbA, 4.52389248, 1e-12);

    EXPECT_EQ(s.KvName, "WP200-4");
    EXPECT_EQ(s.AbCount, 2);
    EXPECT_EQ(s.EXYMode0, "");
    const kv::LumoQuTbl lumo{22 / kF, 18 / kF, 38 / kF, 30 / kF, 56 / kF, 45 / kF};
    EXPECT_EQ(s.LumoQu, lumo);
    EXPECT_DOUBLE_EQ(s.SlabP(0), 13.5);
    EXPECT_DOUBLE_EQ(s.SlabP(1), 9);
    EXPECT_DOUBLE_EQ(s.SlabP(2), 4.5);
    EXPECT_DOUBLE_EQ(s.BoltQu.bQ(0), 90);
    EXPECT_DOUBLE_EQ(s.BoltQu.bQ(1), 60);
    EXPECT_DOUBLE_EQ(s.BoltQu.bQ(2), 40);
    EXPECT_DOUBLE_EQ(s.BoltQu.beta, 0.5);
}

TEST(LoadCatalogue, SeriesRulesForAreaStrengthAndPitch) {
    struct Case {
        const char* name;
        int16_t abNum, abNumAfter;
        int16_t kvV;
        double abD, abA, abAe, abF;
        int16_t rotate;
        double pitchX, pitchY;
        const char *labelX, *labelY;
    } cases[] = {
        // series 2: pitch EX1/EY1 whatever the variant
        {"ZF200", 1, 1, 2, 24, 4.52389248, 4.52389248, 5.0, 0, 75, 75, "", ""},
        {"ZF250", 2, 2, 2, 30, 7.068582, 7.068582, 5.0, 0, 85, 80, "", ""},
        // series 0: pitch of the variant from the catalogue
        {"QX250A", 2, 2, 0, 27, 5.72555142, 0.75 * 5.72555142, 2.8, 0, 85, 85, "", ""},
        // series 0 without a catalogue pitch: (A) 68.355 -> 70, (B) 0.065 x 1200 = 78 -> 80, (C) 30
        {"QXP400", 1, 1, 0, 24, 4.52389248, 3.39291936, 2.8, 0, 70, 70, "(A)", "(A)"},
        {"QXP1200", 1, 1, 0, 24, 4.52389248, 3.39291936, 2.8, 0, 80, 80, "(B)", "(B)"},
        {"QXP300", 1, 1, 0, 24, 4.52389248, 3.39291936, 2.8, 0, 30, 30, "(C)", "(C)"},
        // designation code: the area comes from AB断面積 row 1024
        {"QX300S", 1, 1, 0, 1024, 4.08, 0.75 * 4.08, 2.8, 0, -1, -1, nullptr, nullptr},
        // series 3: F by diameter, effective area from AB断面積
        {"QT300-3", 1, 1, 3, 40, 12.566368, 10.3, 3.8, 0, -1, -1, nullptr, nullptr},
        {"QT300-3", 2, 2, 3, 42, 13.85442072, 11.2, 3.5, 0, -1, -1, nullptr, nullptr},
        // series 4: variant clamped to the count (3 -> 2), factor 0.79 for 30
        {"WP200-4", 3, 2, 4, 30, 7.068582, 0.79 * 7.068582, 5.0, 0, -1, -1, nullptr, nullptr},
        // series 5 large diameter
        {"KN400-2", 4, 4, 5, 48, 18.09556992, 0.81 * 18.09556992, 5.0, 0, -1, -1, nullptr, nullptr},
        // plan sizes 0.02 apart turn the base; 0.005 apart do not
        {"QXD400", 1, 1, 0, 24, 4.52389248, 3.39291936, 2.8, -1, 80, 80, "", ""},
        {"QXE400", 1, 1, 0, 24, 4.52389248, 3.39291936, 2.8, 0, 80, 80, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " variant " + std::to_string(c.abNum));
        const auto s = Loaded(c.name, c.abNum);
        EXPECT_EQ(s.AbNum, c.abNumAfter);
        EXPECT_EQ(s.KvData.AbNum, c.abNumAfter);
        EXPECT_EQ(s.KvData.KvV, c.kvV);
        EXPECT_DOUBLE_EQ(s.KvData.AbD, c.abD);
        EXPECT_NEAR(s.KvData.AbA, c.abA, 1e-9);
        EXPECT_NEAR(s.KvData.AbAe, c.abAe, 1e-9);
        EXPECT_DOUBLE_EQ(s.KvData.AbF, c.abF);
        EXPECT_EQ(s.KvData.RotateMode, c.rotate);
        if (c.labelX != nullptr) {
            EXPECT_DOUBLE_EQ(s.KvData.EXY(0), c.pitchX);
            EXPECT_DOUBLE_EQ(s.KvData.EXY(1), c.pitchY);
            EXPECT_EQ(s.EXYMode0, c.labelX);
            EXPECT_EQ(s.EXYMode1, c.labelY);
        }
    }
}

TEST(LoadCatalogue, YDimensionsMirrorTheXPairs) {
    const auto s = Loaded("QXM400");
    const double x[6] = {400, 300, 380, 280, 200, 150};
    const double y[6] = {300, 400, 280, 380, 150, 200};
    for (int k = 1; k <= 6; ++k) {
        EXPECT_DOUBLE_EQ(s.KvData.KvLen(0, k), x[k - 1]) << k;
        EXPECT_DOUBLE_EQ(s.KvData.KvLen(1, k), y[k - 1]) << k;
    }
    EXPECT_EQ(s.KvData.RotateMode, -1);
    EXPECT_DOUBLE_EQ(s.KvData.EXY(0), 80);
    EXPECT_DOUBLE_EQ(s.KvData.EXY(1), 70);
}

TEST(LoadCatalogue, Series6TakesBoltTensionAndSet2ShearInTf) {
    const auto s = Loaded("SV175-4-A");
    EXPECT_DOUBLE_EQ(s.KvData.Tu(0), 173 / kF);
    EXPECT_DOUBLE_EQ(s.KvData.Tu(1), 115 / kF);
    EXPECT_DOUBLE_EQ(s.KvData.Tu(2), 77 / kF);
    EXPECT_DOUBLE_EQ(s.LumoQu.u1, 56 / kF);
    EXPECT_DOUBLE_EQ(s.LumoQu.u2, 45 / kF);
    EXPECT_DOUBLE_EQ(s.KvData.NAlpha, 0.55);
    EXPECT_DOUBLE_EQ(s.KvData.L_C, 270);
    EXPECT_DOUBLE_EQ(s.KvData.bb_SV, 1);
}

// Every (model, bolt) of the sample catalogue, in store order.
std::vector<std::pair<int32_t, int16_t>> SampleModels() {
    std::vector<std::pair<int32_t, int16_t>> out;
    auto db = store::Database::open(std::string(KV_SAMPLE_DIR) + "/data.mdb", ";pwd=qmv41");
    auto rs = db.openRecordset("SELECT 柱脚.ID, 柱脚.AbCount FROM 柱脚");
    for (; !rs.eof(); rs.moveNext())
        for (int16_t b = 1; b <= rs.integer(1); ++b) out.emplace_back(static_cast<int32_t>(rs.integer(0)), b);
    return out;
}

kv::KvState OnSample() {
    kv::KvState s;
    s.DataFilePath = KV_SAMPLE_DIR;
    return s;
}

void LoadInto(kv::KvState& s, int32_t id, int16_t abNum) {
    s.KolvanID = id;
    s.AbNum = abNum;
    kv::LoadCatalogue(s);
}

// What the load hands out is a function of the model and bolt alone: the
// same after any other model (each series and variant of the sample) as on
// a state that loaded nothing before. Fields a series does not read are 0.
TEST(LoadCatalogue, RecordDependsOnlyOnTheModelAndBolt) {
    const auto models = SampleModels();
    ASSERT_GT(models.size(), 20u);
    for (const auto& [id, bolt] : models) {
        auto alone = OnSample();
        LoadInto(alone, id, bolt);
        for (const auto& [before, beforeBolt] : models) {
            auto s = OnSample();
            LoadInto(s, before, beforeBolt);
            LoadInto(s, id, bolt);
            const std::string what = std::to_string(id) + "/" + std::to_string(bolt) + " after " +
                                     std::to_string(before) + "/" + std::to_string(beforeBolt);
            ASSERT_EQ(s.KvData, alone.KvData) << what;
            ASSERT_EQ(s.LumoQu, alone.LumoQu) << what;
            ASSERT_EQ(s.BoltQu, alone.BoltQu) << what;
            ASSERT_EQ(s.SlabP, alone.SlabP) << what;
            ASSERT_EQ(s.KvName, alone.KvName) << what;
            ASSERT_EQ(s.EXYMode0, alone.EXYMode0) << what;
            ASSERT_EQ(s.EXYMode1, alone.EXYMode1) << what;
            ASSERT_EQ(s.AbNum, alone.AbNum) << what;
            ASSERT_EQ(s.AbCount, alone.AbCount) << what;
        }
        const auto& k = alone.KvData;
        const std::string what = std::to_string(id) + "/" + std::to_string(bolt) + " series " + std::to_string(k.KvV);
        if (k.KvV != 0 && k.KvV != 2) {
            EXPECT_EQ(k.EXY(0), 0) << what;
            EXPECT_EQ(k.EXY(1), 0) << what;
        }
        if (k.KvV != 1 && k.KvV < 4) EXPECT_EQ(k.L1, 0) << what;
        if (k.KvV != 4 && k.KvV != 6) EXPECT_EQ(k.L_C, 0) << what;
        if (k.KvV != 6) EXPECT_EQ(k.Tu, kv::KvDataTblC{}.Tu) << what;
        if (k.KvV < 4) EXPECT_EQ(alone.LumoQu, kv::LumoQuTbl{}) << what;
        if (k.KvV != 4 && k.KvV != 6) EXPECT_EQ(alone.SlabP, kv::KvState{}.SlabP) << what;
        if (k.KvV == 2) EXPECT_EQ(alone.BoltQu, kv::BoltQuTbl{}) << what;
    }
}

// The factor in force at the load is used; a later change converts nothing.
TEST(LoadCatalogue, ShearCapacitiesTakeTheFactorOfTheLoad) {
    auto s = StateOnTestCatalogue();
    s.SIFactor = 1;
    s.KolvanID = IdOf("WP200-4");
    kv::LoadCatalogue(s);
    s.SIFactor = kF;
    EXPECT_DOUBLE_EQ(s.LumoQu.u1, 56);
}

TEST(LoadCatalogue, LoadsWithoutRowsItDoesNotRead) {
    // series 0 without KvData, a name with a quote, empty columns of unused variants
    EXPECT_EQ(Loaded("QX240N").KvData.KvV, 0);
    EXPECT_EQ(Loaded("KB'1-400").KvName, "KB'1-400");
    EXPECT_EQ(Loaded("QT300-3", 2).AbCount, 2);
}

// A failed load changes nothing of the state; the store's or the catalogue's
// error reaches the caller.
TEST(LoadCatalogue, FailuresLeaveTheStateAsItWas) {
    struct Case {
        const char* what;
        std::function<void(kv::KvState&)> arrange;
        int error;
    } cases[] = {
        {"unknown model", [](kv::KvState& s) { s.KolvanID = 4711; }, store::kErrNoCurrentRecord},
        {"wrong password", [](kv::KvState& s) { s.KolvanID = IdOf("WP200-4"); s.PW = "qmv42"; }, store::kErrBadPassword},
        {"missing file", [](kv::KvState& s) { s.KolvanID = IdOf("WP200-4"); s.DataFileName = "\\none.mdb"; }, store::kErrFileNotFound},
        {"no KvData row for the variant",
         [](kv::KvState& s) { s.KolvanID = IdOf("WP240-4"); s.AbNum = 2; }, store::kErrNoCurrentRecord},
        {"diameter without an area factor", [](kv::KvState& s) { s.KolvanID = IdOf("WP270-4"); }, kv::kErrCatalogue},
        {"bolt arrangement without formulas", [](kv::KvState& s) { s.KolvanID = IdOf("KZ300-2"); }, kv::kErrCatalogue},
        {"variant 0", [](kv::KvState& s) { s.KolvanID = IdOf("WP200-4"); s.AbNum = 0; }, kv::kErrCatalogue},
        // The model read before is read again from the file and password given.
        {"same model, wrong password", [](kv::KvState& s) { s.PW = "qmv42"; }, store::kErrBadPassword},
        {"same model, missing file", [](kv::KvState& s) { s.DataFileName = "\\none.mdb"; }, store::kErrFileNotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto s = StateOnTestCatalogue();
        s.KolvanID = IdOf("SV175-4-A");
        kv::LoadCatalogue(s);
        const kv::KvState before = s;
        c.arrange(s);
        EXPECT_EQ(ErrorOf([&] { kv::LoadCatalogue(s); }), c.error);
        EXPECT_EQ(s.KvData, before.KvData);
        EXPECT_EQ(s.LumoQu, before.LumoQu);
        EXPECT_EQ(s.BoltQu, before.BoltQu);
        EXPECT_EQ(s.SlabP, before.SlabP);
        EXPECT_EQ(s.KvName, before.KvName);
        EXPECT_EQ(s.AbCount, before.AbCount);
    }
    // The same variant-2 diameter without its row fails only where KvData is read.
    EXPECT_EQ(Loaded("WP240-4", 1).KvData.AbD, 24);
}

TEST(GetBoltArea, DesignationRowsAndTheEmptyDesignation) {
    const auto s = StateOnTestCatalogue();
    EXPECT_DOUBLE_EQ(kv::GetBoltArea(s, 1024), 4.08);
    EXPECT_DOUBLE_EQ(kv::GetBoltArea(s, 1023.6), 4.08);  // rounded to a whole designation
    EXPECT_EQ(ErrorOf([&] { kv::GetBoltArea(s, 0); }), kv::kErrCatalogue);
    EXPECT_EQ(ErrorOf([&] { kv::GetBoltArea(s, 999); }), store::kErrNoCurrentRecord);
}

}  // namespace
