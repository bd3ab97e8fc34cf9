// Plans of the column base under SRC columns, one per kind of built-up steel
// section: cross (ColV 3), T (4), L (5, and 6 its mirror image) and H (7).
// Frame Mode 1 labels the plate and bolt dimensions from the catalogue;
// Mode 0 (the SRC dialog's preview) shows the concrete column outline with
// its main bars and unlabelled dimensions instead.
#pragma once

#include "drawing/figure_frame.h"
#include "drawing/print_out.h"

#include <cstdint>

namespace drawing {

// iCol 999 is replaced by gCurCol and dir 999 by GetKvDirection in the
// caller's variables; dir counts quarter turns 0..3. The frame is only read;
// everything, the axis symbol included, lies two units right of its origin.
// nBarX / nBarY are the bars per face of the Mode 0 column outline.
void DrawKvFigureSrcX(clsPrintOut& po, const FigureFrameTbl& frame, int16_t& iCol, int16_t& dir,
                      int16_t nBarX, int16_t nBarY);
void DrawKvFigureSrcT(clsPrintOut& po, const FigureFrameTbl& frame, int16_t& iCol, int16_t& dir,
                      int16_t nBarX, int16_t nBarY);
void DrawKvFigureSrcH(clsPrintOut& po, const FigureFrameTbl& frame, int16_t& iCol, int16_t& dir,
                      int16_t nBarX, int16_t nBarY);
// kind 5 (LL) or 6 (LR, the mirror image about the vertical axis).
void DrawKvFigureSrcL(clsPrintOut& po, const FigureFrameTbl& frame, int16_t kind, int16_t& iCol,
                      int16_t& dir, int16_t nBarX, int16_t nBarY);

}  // namespace drawing
