// Plan of the column base under an H-section steel column: one fixed layout,
// transposed about the diagonal for a base turned by a quarter.
#pragma once

#include "drawing/figure_frame.h"
#include "drawing/print_out.h"

#include <cstdint>

namespace drawing {

// iCol 999 is replaced by gCurCol and dir 999 by GetKvDirection in the
// caller's variables. The figure is symmetric about both axes, so only
// dir And 1 counts. The frame is only read; the figure itself lies two units
// right of its origin, the axis arrows on it.
void DrawKvFigureH(clsPrintOut& po, const FigureFrameTbl& frame, int16_t& iCol, int16_t& dir);

}  // namespace drawing
