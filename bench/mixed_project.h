// A steel-column project whose bases take their pedestal widths from the
// catalogue (B2 = 0): eight models of series 0, 1, 4, 5 and 6, both base
// rotations, loads that differ per column. gKv must exist.
#pragma once

#include "engine/kv.h"
#include "model/base_data.h"
#include "model/globals.h"
#include "model/records.h"

#include <array>
#include <cstdint>

namespace benchdata {

// ID and series of each model, in the order the columns take them.
inline constexpr std::array<std::pair<int32_t, int16_t>, 8> kMixedModels{{
    {100210, 0},  // QX250A
    {110110, 1},  // KC200A
    {150310, 4},  // WP200-4
    {160110, 5},  // KN400-2
    {100230, 0},  // QX350E, eccentric
    {110130, 1},  // K35-2
    {150320, 4},  // WR300-8
    {170110, 6},  // SV175-4-A
}};

// A column of the model, with catalogue widths and the slab share switched on.
inline model::ColumnDataTbl MixedColumn(int32_t id, int16_t series, int16_t rotate, int index, model::KvBaseTbl& kvb)
{
    using namespace model;
    ColumnDataTbl c = MakeColumnDefault(1, true, 21);
    c.ColName = "C" + std::to_string(index);
    c.KolvanID = id;
    c.KvV = series;
    c.AbNum = 1;
    c.KvRotate = rotate;
    LoadKvBaseData(id, 1, kvb);
    SetColumnBaseGeometry(c, kvb, true);
    c.SlabQ_B2X = 0;
    c.SlabQ_B2Y = 0;
    for (long k = 1; k <= 7; ++k) {
        c.FShear(k, 0) = 2;
        c.FShear(k, 1) = 2;
    }
    for (long k = 1; k <= 8; ++k) {
        c.LoadTbl(1, k) = 20 + index % 17 + k;
        c.LoadTbl(2, k) = 3 + index % 7;
        c.LoadTbl(3, k) = 2 + k;
        c.LoadTbl(4, k) = 15 + index % 13 + k;
        c.LoadTbl(5, k) = 2 + index % 5;
        c.LoadTbl(6, k) = 1 + k;
    }
    return c;
}

// Fills the project globals with count columns; model k % 8, rotation by pairs.
inline void MakeMixedProject(int count)
{
    using namespace model;
    gSIDisp = true;
    gUnitFactor = 9.80665;
    gFcUpperLimit = 60;
    gCond = MakeCondDefault(true, 0, "", "");
    gCond.SMode = kTrue;
    gCond.ColCount = static_cast<int16_t>(count);
    gColumns.redim(count);
    gResults.redim(count);
    gKvBase.redim(count);
    for (int i = 1; i <= count; ++i) {
        const auto& m = kMixedModels[static_cast<std::size_t>(i % 8)];
        gColumns(i) = MixedColumn(m.first, m.second, static_cast<int16_t>((i / 8) % 2), i, gKvBase(i));
        for (long k = 1; k <= 8; ++k) {
            gResults(i).DesignStress(1, k) = 20 + i % 17 + k;
            gResults(i).DesignStress(2, k) = 3 + i % 7;
            gResults(i).DesignStress(3, k) = 2 + k;
            gResults(i).DesignStress(4, k) = 15 + i % 13 + k;
            gResults(i).DesignStress(5, k) = 2 + i % 5;
            gResults(i).DesignStress(6, k) = 1 + k;
        }
    }
}

}  // namespace benchdata
