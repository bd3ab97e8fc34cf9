// Program-wide values of the drawing.
#pragma once

#include "drawing/figure_frame.h"

namespace drawing {

// The N-M chart frame: the sheet puts the printed area in, the diagram its
// scales and extents, the axes read them, and the sheet reuses it for the
// base figure it prints.
extern FigureFrameTbl gNMChart;

// Texts beside vertical dimension lines are written horizontally. The main
// window sets it when it loads and nothing clears it, so that is the default.
extern bool gNTFlag;

}  // namespace drawing
