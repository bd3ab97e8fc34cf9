// Catalogue data of a column's base brought into the project records.
#pragma once

#include "model/records.h"

#include <cstdint>

namespace kv {
class KV;
}

namespace model {

// Selects the product and bolt variant in the engine and copies the engine's
// catalogue record into kvb. kvb.AbNum, PartsWeight, KvLenC_SV, bb_SV, Tu and
// Reserve keep their values. Engine errors (an unknown product) are thrown.
void LoadKvBaseData(kv::KV& engine, int32_t kvId, int16_t abNum, KvBaseTbl& kvb);
// The same on gKv.
void LoadKvBaseData(int32_t kvId, int16_t abNum, KvBaseTbl& kvb);

// Slab embedment geometry (d2, d1, B1, B2) of a steel-column project's column
// of series 1, 4, 5 or 6; other columns are left alone. Returns false when the
// catalogue has no pedestal sizes for the base: B2 is then left unchanged.
// A catalogue that cannot be opened is thrown.
bool SetColumnBaseGeometry(ColumnDataTbl& col, const KvBaseTbl& kvb);
// The same for a project whose structure mode is sMode rather than gCond's.
bool SetColumnBaseGeometry(ColumnDataTbl& col, const KvBaseTbl& kvb, bool sMode);

// A length in cm to a multiple of 5: up past x.9 of a ten, half past x.09.
double RoundUpTo5(double x);

}  // namespace model
