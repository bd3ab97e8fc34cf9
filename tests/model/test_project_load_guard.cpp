// Refused project files leave the project and the engine as they were; an
// opened project is checked in its own unit factor; the largest project the
// format holds opens.
#include "tests/model/project_fixture.h"

#include "model/column_check.h"
#include "model/fendral.h"
#include "model/project_file.h"
#include "model/stress.h"
#include "platform/text/vb.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

using namespace modeltest;

template <typename T>
std::vector<T> Items(const ColumnArray<T>& a)
{
    std::vector<T> v;
    for (long i = 1; i <= a.ubound(); ++i) v.push_back(a(i));
    return v;
}

// What the open project and the engine hold, for before-and-after checks.
struct State {
    ProjectCondTbl cond;
    std::vector<ColumnDataTbl> columns;
    std::vector<KvBaseTbl> bases;
    std::vector<ColumnResultTbl> results;
    clsFendral list;
    int16_t curCol = 0;
    bool changed = false;
    double unitFactor = 0;
    // Engine inputs and results as they stand.
    std::vector<double> engine;

    static State Now()
    {
        const kv::KV& k = *gKv;
        return {gCond, Items(gColumns), Items(gKvBase), Items(gResults), gFendral, gCurCol, gDataChanged, gUnitFactor,
                {double(k.KolvanID()), double(k.AbNum()), k.SIFactor(), k.Fc(), k.SlabFc(), double(k.Condition()),
                 double(k.Direction()), double(k.FShear()), double(k.LumoQuCond()), k.VerticalLoad(), k.MomentLoad(),
                 k.ShearLoad(), k.Mu(), k.Qu(), double(k.JadgeM()), double(k.JadgeQ()), k.Nu(), k.Tu()}};
    }
    bool operator==(const State&) const = default;
};

class LoadGuard : public ProjectCommandsTest {
protected:
    // Two columns with loads in every case, so that a factor reaches the engine.
    void MakeLoadedProject()
    {
        MakeColumns(2);
        for (long i = 1; i <= 2; ++i) {
            ColumnDataTbl& c = gColumns(i);
            c.LoadTbl(1, 1) = 40.0 * i;
            c.LoadTbl(2, 1) = 3;
            c.LoadTbl(3, 1) = 1;
            c.LoadTbl(4, 2) = 40.0 * i;
            c.LoadTbl(5, 2) = 2;
            c.LoadTbl(6, 2) = 1;
            for (long j = 3; j <= 6; ++j) {
                c.LoadTbl(1, j) = 5;
                c.LoadTbl(2, j) = 8;
                c.LoadTbl(3, j) = 4;
                c.LoadTbl(4, j) = 5;
                c.LoadTbl(5, j) = 8;
                c.LoadTbl(6, j) = 4;
            }
        }
        NormaliseRoute(gCond);
    }
    // Checks every column again, as any later command does.
    static std::vector<ColumnResultTbl> Recheck()
    {
        std::vector<ColumnResultTbl> out;
        for (int16_t i = 1; i <= gCond.ColCount; ++i) {
            for (int16_t k = 1; k <= 6; ++k) BuildDesignStressTable(gResults(i).DesignStress, gColumns(i).LoadTbl, k);
            CalcColumnByIndex(i, 0);
            CalcColumnByIndex(i, 1);
            out.push_back(gResults(i));
        }
        return out;
    }
    std::string WriteProject(const char* name, const ProjectCondTbl& cond, const ColumnArray<ColumnDataTbl>& cols,
                             const ColumnArray<KvBaseTbl>& bases)
    {
        const std::string path = PathOf(name);
        WriteBytes(path, EncodeProjectFile(cond, cols, bases));
        return path;
    }
};

TEST_F(LoadGuard, RefusedFilesLeaveProjectAndEngineAsTheyWere)
{
    MakeLoadedProject();
    const std::string good = SaveAs("good.kud");
    ASSERT_TRUE(Open(good).empty());
    const std::vector<ColumnResultTbl> first = Recheck();
    ASSERT_GT(first[1].Mu(0, 4), 0);

    const ProjectCondTbl cond = gCond;
    const auto cols = gColumns;
    const auto bases = gKvBase;
    struct Case {
        const char* what;
        std::function<void(ProjectCondTbl&, ColumnArray<ColumnDataTbl>&)> spoil;
    };
    const Case cases[] = {
        // Refused by the reader.
        {"unit factor 0", [](ProjectCondTbl& c, auto&) { c.GFactor = 0; }},
        {"unit factor NaN", [](ProjectCondTbl& c, auto&) { c.GFactor = std::numeric_limits<double>::quiet_NaN(); }},
        // Columns that cannot be checked open: test_unchecked_open.cpp.
    };
    for (const Case& c : cases) {
        ProjectCondTbl badCond = cond;
        auto badCols = cols;
        c.spoil(badCond, badCols);
        const std::string bad = WriteProject("bad.kud", badCond, badCols, bases);
        const std::vector<ColumnResultTbl> before = Recheck();
        const State state = State::Now();
        // Twice: a second attempt must fail the same way, not find the engine half-set.
        for (int attempt = 1; attempt <= 2; ++attempt) {
            const std::vector<std::string> shown = Open(bad);
            ASSERT_EQ(shown.size(), 1u) << c.what << " attempt " << attempt;
            EXPECT_TRUE(State::Now() == state) << c.what << " attempt " << attempt;
            EXPECT_EQ(gFileName, "good.kud");
        }
        EXPECT_EQ(Recheck(), before) << c.what;
        ASSERT_TRUE(Open(good).empty()) << c.what;
        EXPECT_EQ(Recheck(), first) << c.what;
    }
}

TEST_F(LoadGuard, OpenedProjectIsCheckedInItsOwnUnitFactor)
{
    MakeLoadedProject();
    gCond.GFactor = 10;
    const std::string path = SaveAs("factor10.kud");
    // The program runs with the template's factor, as after start-up.
    gCond.GFactor = gCondDefault.GFactor;
    gUnitFactor = gCondDefault.GFactor;
    gKv->setSIFactor(gCondDefault.GFactor);
    ASSERT_EQ(gUnitFactor, 9.80665);

    ASSERT_TRUE(Open(path).empty());
    EXPECT_EQ(gUnitFactor, 10);
    EXPECT_EQ(gKv->SIFactor(), 10);
    std::vector<ColumnResultTbl> opened;
    for (long i = 1; i <= gCond.ColCount; ++i) opened.push_back(gResults(i));

    // The same project with the factor entered in the options: GFactor, the
    // engine's factor and gUnitFactor together, then every column checked.
    gUnitFactor = 9.80665;
    gKv->setSIFactor(9.80665);
    gCond.GFactor = 10;
    gKv->setSIFactor(gCond.GFactor);
    gUnitFactor = gCond.GFactor;
    EXPECT_EQ(Recheck(), opened);
    EXPECT_NE(opened[1].Mu(0, 4), 0);

    // New goes back to the template's factor on both sides.
    gDataChanged = false;
    cmds.msub_NewProject();
    EXPECT_EQ(gUnitFactor, gCondDefault.GFactor);
    EXPECT_EQ(gKv->SIFactor(), gCondDefault.GFactor);

    // Without the SI display the stored forces are shown as they are.
    gSIDisp = false;
    gKv->setSIFlag(false);
    ASSERT_TRUE(Open(path).empty());
    EXPECT_EQ(gUnitFactor, 1.0);
    EXPECT_EQ(gKv->SIFactor(), 10);
}

TEST_F(LoadGuard, TheLargestProjectTheFormatHoldsOpens)
{
    // 32767 copies of the default column, streamed to the file.
    ProjectCondTbl cond = gCond;
    cond.ColCount = 32767;
    cond.Version = kCurrentFileVersion;
    gColumns(1).LoadTbl(1, 1) = 30;
    const std::string column = EncodeColumnRecord(gColumns(1)) + EncodeKvBaseRecord(gKvBase(1));
    const std::string path = PathOf("big.kud");
    {
        std::ofstream out(path, std::ios::binary);
        out << EncodeProjectRecord(cond);
        for (int i = 0; i < cond.ColCount; ++i) out << column;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::vector<std::string> shown = Open(path);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("32767 columns opened in %.2f s\n", seconds);
    ASSERT_TRUE(shown.empty()) << shown[0];
    fs::remove(path);
    EXPECT_EQ(gCond.ColCount, 32767);
    EXPECT_EQ(gColumns.ubound(), 32767);
    EXPECT_EQ(gFendral.GetCount(), 32767);
    EXPECT_EQ(gResults(32767), gResults(1));
    EXPECT_GT(gResults(32767).Mu(0, 1), 0);
}

// Seeded mutations of a saved project: whatever the reader refuses leaves the
// project and the engine as they were, and their results the same.
TEST_F(LoadGuard, MutatedFilesNeverChangeTheOpenProjectWhenRefused)
{
    MakeLoadedProject();
    const std::string good = SaveAs("good.kud");
    const std::string goodBytes = ReadBytes(good);
    ASSERT_TRUE(Open(good).empty());
    std::vector<ColumnResultTbl> results = Recheck();

    std::mt19937 rng(20240611);
    auto below = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    const double doubles[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(), 0.0, -1.0, 1e300, -1e300, 1e-310,
                              std::numeric_limits<double>::max(), 10.0};
    const int16_t shorts[] = {0, -1, 1, 2, 3, 5, 99, 32767, -32768};
    const char* versions[] = {"Version 5.00", "Version 5.02", "Version 5.03", "Version 5.04", "Version 4.02",
                              "Version 3.01", "Version 2.00", "Version 9.99", ""};
    const std::string mutated = PathOf("m.kud");
    int refused = 0;
    const int rounds = 3000;
    for (int round = 0; round < rounds; ++round) {
        std::string b = goodBytes;
        const std::size_t ops = 1 + below(3);
        for (std::size_t op = 0; op < ops; ++op) {
            switch (below(7)) {
            case 0: b[below(b.size())] = static_cast<char>(below(256)); break;
            case 1: {
                const double v = doubles[below(std::size(doubles))];
                const std::size_t at = below(b.size() - 8);
                std::memcpy(&b[at], &v, 8);
                break;
            }
            case 2: {
                const int16_t v = shorts[below(std::size(shorts))];
                const std::size_t at = below(4) == 0 ? 0 : below(b.size() - 2);
                std::memcpy(&b[at], &v, 2);
                break;
            }
            case 3: b.resize(below(b.size())); break;
            case 4: {
                if (b.size() < 122) break;
                std::string v = versions[below(std::size(versions))];
                v.resize(50, ' ');
                b.replace(72, 50, v);
                break;
            }
            case 5: b += std::string(below(5000), static_cast<char>(below(256))); break;
            default: {
                // A project record field: the values the checks read first.
                const std::size_t at = 52 + 2 * below(40);
                const double v = doubles[below(std::size(doubles))];
                std::memcpy(&b[at], &v, 8);
                break;
            }
            }
        }
        WriteBytes(mutated, b);
        const State before = State::Now();
        ui::testing::ScriptedUi u;
        ui::testing::ScopedUi scope(u);
        std::string folder = dir.string() + "/";
        std::string name = "m.kud";
        try {
            LoadProjectFile(folder, name);
        } catch (const std::exception&) {
            ++refused;
            ASSERT_TRUE(State::Now() == before) << "round " << round;
            ASSERT_EQ(Recheck(), results) << "round " << round;
            continue;
        }
        // Taken: back to the saved project for the next round.
        std::string goodName = "good.kud";
        LoadProjectFile(folder, goodName);
        results = Recheck();
    }
    std::printf("%d of %d mutated files refused\n", refused, rounds);
    EXPECT_GT(refused, rounds / 4);
    EXPECT_LT(refused, rounds);
}

}  // namespace
