// Characteristic points of a column base's N-M curve: the compression end,
// the axial forces where the engine's moment formula changes zone, and the
// tension end, for one load state and one direction.
#pragma once

#include "drawing/nm_engine.h"
#include "platform/text/vbarray.h"

#include <cstdint>

namespace drawing {

// (row, point): row 0 holds the points, row 1 stays 0 so that joining the
// rows draws lines from the origin.
using NMPointArray = vb::Array2<double, 0, 1, 0, 6>;

// Point i is (M(0, i), N(0, i)) in the engine's interface units. iCol 999 is
// the current column and dir 999 the column's engine direction; both are
// written back. Leaves the engine with this direction, load state, the
// column's base and the last evaluated axial force. Catalogue data for which
// a formula is undefined (a plate length of 0, the root of a negative number)
// throws vb::Error.
void CalcNMCurvePoints(NMEngine& kv, int16_t condition, NMPointArray& N, NMPointArray& M,
                       int16_t& iCol, int16_t& dir);
// The same on gKv.
void CalcNMCurvePoints(int16_t condition, NMPointArray& N, NMPointArray& M, int16_t& iCol,
                       int16_t& dir);

}  // namespace drawing
