// Plan section of the reinforced-concrete column form under the base of a
// steel column: outline, hoop and ties, main bars, anchor bolts, the two
// sizes of the form, the rebar zone, the rebar captions and the X / Y arrows.
#pragma once

#include "drawing/figure_frame.h"
#include "drawing/print_out.h"
#include "model/records.h"

#include <cstdint>
#include <string>

namespace drawing {

// iCol 999 is replaced by gCurCol and dir 999 by GetKvDirection in the
// caller's variables; only dir Mod 2 counts. Nothing at all is drawn for a
// base of series 0. The frame is only read. A column outside the project, a
// direction outside 0..3 or a bar count below 1 raises FigureError before
// anything is drawn.
void DrawRcColumnSection(clsPrintOut& po, const FigureFrameTbl& frame, int16_t& iCol,
                         int16_t& dir);

// The caption lines of the section for the column as drawn in direction d
// (0 or 1): "主筋 : ...", "HOOP : 　 -D...", "主筋定着長さ : ...mm".
std::string RcMainBarCaption(const model::ColumnDataTbl& col, int16_t d);
std::string RcHoopCaption(const model::ColumnDataTbl& col);
std::string RcAnchorageCaption(const model::ColumnDataTbl& col);

}  // namespace drawing
