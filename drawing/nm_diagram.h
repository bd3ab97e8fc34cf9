// The N-M interaction diagram of a column: chart frame and axes, the capacity
// curves of the shown load states, and the design stresses as markers.
#pragma once

#include "drawing/nm_engine.h"
#include "drawing/print_out.h"

#include <cstdint>
#include <string>
#include <vector>

namespace drawing {

// Axes, grid and the direction box, from gNMChart; the tick labels and axis
// titles are placed and kept for DrawNMAxisValues, not printed. iCol 999 is
// the current column (written back). A grid step that is not a positive
// number, or far too small for the extent, throws vb::Error instead of
// looping without end.
void DrawNMAxes(clsPrintOut& po, int16_t& iCol);

// A tick label the last DrawNMAxes placed, top left in surface units.
struct NMTickLabel {
    std::string text;
    double x, y;
};
const std::vector<NMTickLabel>& NMTickLabels();

// A rectangle on the surface: left, top, right, bottom.
struct NMBox {
    double left, top, right, bottom;
};

// Prints what the last DrawNMAxes placed, tick labels then axis titles, so
// that they stand whole over whatever was drawn since. A text that would
// meet one of `keepClear` is left out.
void DrawNMAxisValues(clsPrintOut& po, const std::vector<NMBox>& keepClear = {});

// kind 0 A (cm2), 1 Z, 2 Zp (cm3) of the column's section in direction dir
// (0 X, 1 Y): the user's values when the user's area is entered, else the
// catalogue's. 999 in iCol and dir are replaced and written back.
double GetColumnSectionValue(int16_t kind, int16_t& iCol, int16_t& dir);

// Draws the diagram of column iCol in engine direction dir on po (prpMode 1
// paper into gNMChart's area, else the whole picture). Two-axis mode and a
// drawing box showing a figure (gDispMode 4, 5) draw nothing. Extents for
// which no scale or tick step exists throw vb::Error before anything is
// drawn; with no load state shown only the frame and the axes are drawn.
void DrawNMDiagram(NMEngine& kv, clsPrintOut& po, int16_t& iCol, int16_t& dir);
// The same on gKv.
void DrawNMDiagram(clsPrintOut& po, int16_t& iCol, int16_t& dir);

}  // namespace drawing
