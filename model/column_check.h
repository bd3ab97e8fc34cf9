// The check of one column in one direction over all design cases.
#pragma once

#include "model/adapter.h"
#include "model/records.h"

#include <cstdint>
#include <exception>

namespace model {

// Runs the column through the engine for direction d (0 X, 1 Y) and writes
// slots (d, 1) and (d, 4..7) of res. The design stress table of res must be
// current. Slots of cases 2, 3 and 8 (and Qu0..Qu2 in SRC mode) are left alone.
void CalcColumnCheck(IKvEngine& kv, const ColumnDataTbl& col, ColumnResultTbl& res, const KvBaseTbl& kvb,
                     int16_t d);

// The same on gKv with gColumns, gResults and gKvBase of column i (1..ColCount).
void CalcColumnByIndex(int16_t i, int16_t d);

// Design table of column i from its loads, then the check in X and Y.
void CheckColumn(int32_t i);

// Runs one step of a pass over the whole project; a column that cannot be
// checked does not stop the pass: it keeps what it holds, and the window
// marks it and tells why when it shows the project.
template <typename Step>
void Tolerating(Step&& step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace model
