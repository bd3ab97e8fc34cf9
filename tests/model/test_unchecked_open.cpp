// A project is the user's whatever its columns hold: a column that cannot be
// checked does not refuse the file, and whatever model was loaded before, a
// project opens and saves to the same bytes.
#include "tests/model/project_fixture.h"

#include "model/base_data.h"
#include "model/column_check.h"
#include "model/fendral.h"
#include "model/project_file.h"
#include "model/rebar_handover.h"
#include "model/rebar_zone.h"
#include "model/stress.h"
#include "platform/store/store.h"

#include <functional>

namespace {

using namespace modeltest;

constexpr double kHuge = 99999.99;  // tf, the largest the stress table takes

int32_t IdOf(const std::string& name)
{
    auto db = store::Database::open(std::string(KV_SAMPLE_DIR) + "/data.mdb", ";pwd=qmv41");
    auto rs = db.openRecordset("SELECT 柱脚.ID FROM 柱脚 WHERE ((柱脚.形式名)=" + store::Quote(name) + ")");
    if (rs.eof()) throw std::runtime_error("no model " + name);
    return static_cast<int32_t>(rs.integer(0));
}

class ProjectBytes : public ProjectCommandsTest {
protected:
    void NewProject(bool sMode)
    {
        gCondDefault.SMode = sMode ? kTrue : kFalse;
        ui::testing::ScriptedUi u;
        ui::testing::ScopedUi scope(u);
        cmds.msub_NewProject();
    }
    // Column i on a model, its base loaded as the base dialogs load it.
    static void UseModel(long i, const std::string& name, int16_t bolt = 1)
    {
        ColumnDataTbl& c = gColumns(i);
        c.KolvanID = IdOf(name);
        c.AbNum = bolt;
        gKvBase(i).AbNum = bolt;
        LoadKvBaseData(c.KolvanID, bolt, gKvBase(i));
        c.KvV = gKvBase(i).KvV;
        SetColumnBaseGeometry(c, gKvBase(i));
    }
    static void LoadEveryCase(long i, double v)
    {
        for (long r = 1; r <= 6; ++r)
            for (long k = 1; k <= 6; ++k) gColumns(i).LoadTbl(r, k) = r % 3 == 1 ? v : (k % 2 ? v : -v);
    }
    static bool Checks(int32_t i)
    {
        try {
            CheckColumn(i);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }
    // The project file and its base-rebar list.
    std::pair<std::string, std::string> Files(const std::string& path) const
    {
        return {ReadBytes(path), ReadBytes(path + "2")};
    }
    // Saved, opened and saved again: both saves give the same two files.
    void ExpectSaveOpenSaveIdentical(const std::string& what)
    {
        const auto first = Files(SaveAs("a.kud"));
        const auto shown = Open(PathOf("a.kud"));
        for (const auto& m : shown) ADD_FAILURE() << what << ": " << m;
        EXPECT_EQ(gFileName, "a.kud") << what;
        const auto second = Files(SaveAs("b.kud"));
        EXPECT_TRUE(first.first == second.first) << what << ": the project file changed";
        EXPECT_TRUE(first.second == second.second) << what << ": the base-rebar list changed";
    }
};

// Projects whose columns cannot be checked, as the program lets them be made:
// each opens to the same project, the failing columns fail as before the save,
// the others check, and a second save writes the same bytes.
TEST_F(ProjectBytes, ColumnsThatCannotBeCheckedOpen)
{
    struct Case {
        const char* what;
        bool sMode;
        std::function<void()> spoil;
        std::vector<int32_t> failing;
    };
    const Case cases[] = {
        {"SRC T, stresses at the table's limit", false,
         [] {
             UseModel(1, "SRT-700");
             gColumns(1).ColV = 4;
             LoadEveryCase(1, kHuge);
         },
         {1}},
        {"SRC LL, stresses at the table's limit", false,
         [] {
             UseModel(2, "SRL-700");
             gColumns(2).ColV = 5;
             LoadEveryCase(2, kHuge);
         },
         {2}},
        {"S, a moment beyond any", true, [] { gColumns(2).LoadTbl(2, 1) = 1e308; }, {2}},
        {"S, a model the catalogue lacks", true, [] { gColumns(2).KolvanID = 4711; }, {2}},
        {"S, gamma beyond any load", true,
         [] {
             gCond.DesignRootX = gCond.DesignRootY = 2;  // ultimate stresses derived with gamma
             gCond.UltCalcMode = 0;
             gCond.GammaX = gCond.GammaY = 1e308;
             for (long i = 1; i <= 3; ++i) LoadEveryCase(i, 10);
         },
         {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewProject(c.sMode);
        MakeColumns(3);
        for (long i = 1; i <= 3; ++i) gColumns(i).LoadTbl(1, 1) = 30.0 * i;
        c.spoil();
        NormaliseRoute(gCond);
        // As the window shows the project: checked, zones stored, the list made.
        for (int32_t i = 1; i <= 3; ++i) {
            const bool fails = std::find(c.failing.begin(), c.failing.end(), i) != c.failing.end();
            ASSERT_EQ(Checks(i), !fails) << "column " << i << " before the save";
            if (!fails) GetGoverningRebarZone(static_cast<int16_t>(i));
        }
        RebuildColumnRebar();
        const auto saved = Files(SaveAs("a.kud"));
        const ProjectCondTbl cond = gCond;
        const auto columns = gColumns;

        // A failing column first in the open, then the others: each is
        // judged on its own data, not on the loads the failure left behind.
        const auto shown = Open(PathOf("a.kud"));
        for (const auto& m : shown) ADD_FAILURE() << m;
        EXPECT_EQ(gFileName, "a.kud");
        EXPECT_FALSE(gDataChanged);
        EXPECT_FALSE(cmds.mblnLoading);
        EXPECT_EQ(EncodeProjectRecord(gCond), EncodeProjectRecord(cond));
        for (int32_t i = 3; i >= 1; --i) {
            EXPECT_EQ(gColumns(i), columns(i)) << i;
            const bool fails = std::find(c.failing.begin(), c.failing.end(), i) != c.failing.end();
            EXPECT_EQ(Checks(i), !fails) << "column " << i << " after the open";
        }

        const auto again = Files(SaveAs("b.kud"));
        EXPECT_TRUE(saved.first == again.first) << "the project file changed";
        EXPECT_TRUE(saved.second == again.second) << "the base-rebar list changed";
        fs::remove(PathOf("a.kud"));
        fs::remove(PathOf("b.kud"));
    }
}

// A failed check leaves its loads in the engine; the column checked next is
// judged on its own data: the same results as before the failure, and the
// same base data.
TEST_F(ProjectBytes, AColumnAfterAFailedOneGetsItsOwnResults)
{
    NewProject(true);
    MakeColumns(2);
    gColumns(1).LoadTbl(1, 1) = 50;
    gColumns(1).LoadTbl(2, 1) = 5;
    LoadEveryCase(2, 1e308);
    ASSERT_TRUE(Checks(1));
    const ColumnResultTbl alone = gResults(1);
    ASSERT_FALSE(Checks(2));
    ASSERT_TRUE(Checks(1));
    EXPECT_EQ(gResults(1), alone);

    ASSERT_FALSE(Checks(2));
    UseModel(1, "KN400-2");  // another model, loaded over the failed loads
    const KvBaseTbl other = gKvBase(1);
    NewProject(true);
    MakeColumns(2);
    UseModel(1, "KN400-2");
    EXPECT_EQ(other, gKvBase(1));
}

// Bases loaded in another order than the open loads them (as the base
// dialogs do, column by column): the project and its list open and save to
// the same bytes. One column of each series; the bolt variants too.
TEST_F(ProjectBytes, BasesLoadedInAnyOrderSaveAndOpenToTheSameBytes)
{
    NewProject(true);
    const std::pair<const char*, int16_t> models[] = {
        {"KC200A", 1}, {"WP200-4", 2}, {"ZF200", 1},  {"KN400-2", 1},
        {"QX250A", 2}, {"SV175-4-A", 1}, {"QX300B", 3},
    };
    const long n = static_cast<long>(std::size(models));
    MakeColumns(static_cast<int>(n));
    for (long i = n; i >= 1; --i) UseModel(i, models[i - 1].first, models[i - 1].second);
    RebuildColumnRebar();
    NormaliseRoute(gCond);
    ExpectSaveOpenSaveIdentical("reverse order");

    // And each base on its own equals the one loaded after any other.
    for (long i = 1; i <= n; ++i) {
        KvBaseTbl alone = gKvBase(i);
        for (long j = 1; j <= n; ++j) {
            KvBaseTbl after = gKvBase(i);
            LoadKvBaseData(gColumns(j).KolvanID, gColumns(j).AbNum, gKvBase(j));
            LoadKvBaseData(gColumns(i).KolvanID, gColumns(i).AbNum, after);
            EXPECT_EQ(after, alone) << models[i - 1].first << " after " << models[j - 1].first;
        }
    }
}

}  // namespace
