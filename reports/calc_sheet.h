// The calculation sheet: one A4 portrait page per column with the column
// and base data and figure, the design conditions, the stress table and the
// N-M diagrams, closed by the page number and the footer.
#pragma once

#include "drawing/print_out.h"
#include "model/format.h"

#include <cstdint>
#include <string>

namespace reports {

// Draws the page of column iCol on po. Sends the column to the engine and
// recomputes its design stresses and checks first, so the column's results
// are those of the short-term kind in force. The main window's display mode
// and, for an SRC column, the N-M curve flags are back as they were on every
// exit; a failure of the engine, a figure or the surface passes to the caller.
void PrintCalcSheetPage(drawing::clsPrintOut& po, int16_t iCol, int pageNo);

// The limit axial force text the sheet prints (model/format.h).
using model::SrcLimitForceText;

// Puts the page into the report drivers' page table.
void RegisterCalcSheetPage();

}  // namespace reports
