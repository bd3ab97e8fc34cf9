// The display map of design stresses to cells, the entry map of cells to load
// fields and the two index tables.
#include "window_fixture.h"

#include <set>

namespace {

using namespace mainwintest;
using CellMaps = WindowTest;

TEST_F(CellMaps, DisplayMap)
{
    struct Case {
        int16_t comp, k;
        bool found;
        long row, col;
    } cases[] = {
        {1, 1, true, 4, 2},    {4, 1, true, 4, 3},   {2, 1, true, 5, 2},   {6, 1, true, 10, 3},
        {3, 4, true, 10, 4},   {5, 4, true, 5, 8},   {1, 5, true, 4, 6},   {6, 5, true, 10, 10},
        {2, 6, true, 5, 12},   {4, 6, true, 4, 16},  {3, 7, true, 10, 14}, {5, 7, true, 5, 18},
        {1, 2, false, -7, -7}, {4, 3, false, -7, -7}, {1, 0, false, -7, -7}, {1, 8, false, -7, -7},
        {0, 1, false, -7, -7}, {7, 1, false, -7, -7},
    };
    for (const auto& c : cases) {
        int16_t grid = -7;
        long row = -7, col = -7;
        bool found = !c.found;
        w->msub_GetCellPos(c.comp, c.k, grid, row, col, found);
        EXPECT_EQ(found, c.found) << c.comp << "," << c.k;
        EXPECT_EQ(grid, c.found ? 1 : -7) << c.comp << "," << c.k;  // untouched when not found
        EXPECT_EQ(row, c.row) << c.comp << "," << c.k;
        EXPECT_EQ(col, c.col) << c.comp << "," << c.k;
    }
}

TEST_F(CellMaps, EntryMap)
{
    using F = std::vector<std::pair<int, int>>;
    struct Case {
        long row, col;
        F fields;
    } cases[] = {
        {4, 2, {{1, 1}, {4, 1}, {1, 2}, {4, 2}}},
        {5, 2, {{2, 1}}},
        {10, 2, {{3, 1}}},
        {4, 3, {{1, 1}, {4, 1}, {1, 2}, {4, 2}}},
        {5, 3, {{5, 2}}},
        {10, 3, {{6, 2}}},
        {4, 4, {{1, 13}, {4, 13}}},
        {5, 4, {{2, 13}}},
        {10, 6, {{3, 14}}},
        {4, 8, {{1, 19}, {4, 19}}},
        {5, 8, {{5, 19}}},
        {10, 10, {{6, 20}}},
        {5, 12, {{2, 15}}},
        {10, 14, {{3, 16}}},
        {4, 16, {{1, 17}, {4, 17}}},
        {5, 16, {{5, 17}}},
        {10, 18, {{6, 18}}},
        {6, 2, {}},
        {9, 4, {}},
        {4, 5, {}},
        {5, 19, {}},
        {4, 1, {}},
        {4, 0, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(frmMain::EntryFields(c.row, c.col), c.fields) << c.row << "," << c.col;
}

TEST_F(CellMaps, EveryDisplayedCellTakesItsOwnComponent)
{
    // What the display map shows in a cell is what an entry there replaces
    // (the long-term N apart, which is shared by both directions).
    for (int16_t comp = 1; comp <= 6; ++comp)
        for (int16_t k : {1, 4, 5, 6, 7}) {
            int16_t grid = 0;
            long row = 0, col = 0;
            bool found = false;
            w->msub_GetCellPos(comp, k, grid, row, col, found);
            ASSERT_TRUE(found);
            const auto fields = frmMain::EntryFields(row, col);
            ASSERT_FALSE(fields.empty()) << row << "," << col;
            const bool hasComp = std::any_of(fields.begin(), fields.end(), [&](auto f) { return f.first == comp; });
            EXPECT_TRUE(hasComp) << comp << "," << k;
        }
}

TEST_F(CellMaps, IndexTables)
{
    for (int16_t s = 3; s <= 9; ++s) EXPECT_EQ(w->mintCaseOfSlot(s), s - 2);
    const std::map<int, int16_t> comps = {{1, 1}, {2, 2}, {6, 3}, {9, 4}, {10, 5}, {14, 6}};
    for (int i = 1; i <= 16; ++i) EXPECT_EQ(w->mintCompOfItem(i), comps.contains(i) ? comps.at(i) : 0) << i;
}

}  // namespace
