// The engine direction of a column for what the main window shows, and the
// guarded ratio of the printed sheets.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <string>

namespace model {

// 0 X, 1 Y: the shown direction (gDispMode), turned with the base when the
// base or the section differs between X and Y; 0 otherwise.
int16_t CalcKvDirection(const KvBaseTbl& kvb, const ColumnDataTbl& col);

// The engine direction of check direction d (0 X, 1 Y): turned with the base
// where the base differs in X and Y; 0 otherwise.
int16_t EngineDirection(const KvBaseTbl& kvb, const ColumnDataTbl& col, int16_t d);

// iCol 999 means the current column and is replaced in the caller's variable.
int16_t GetKvDirection(int16_t& iCol);

// |x / y|; 0 when y is 0 or the quotient is not finite.
double SafeRatio(double x, double y);

}  // namespace model
