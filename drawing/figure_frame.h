// Where a figure's model origin lies on the surface and how large one model
// unit is; the N-M chart also keeps its steps, extents and printed area here.
#pragma once

#include <cstdint>

namespace drawing {

struct FigureFrameTbl {
    double X0 = 0;        // surface x of the model origin
    double Y0 = 0;        // surface y of the model origin
    double ScaleX = 0;    // surface units per model unit
    double ScaleY = 0;
    double StepM = 0;     // N-M chart: tick spacing along M
    double StepN = 0;     // N-M chart: tick spacing along N
    double MaxM = 0;      // N-M chart: M spans -MaxM .. +MaxM
    double MinN = 0;      // N-M chart: top edge as a value of -N (negative)
    double MaxN = 0;      // N-M chart: bottom edge as a value of -N
    double AreaTop = 0;   // paper only, mm: the printed chart area
    double AreaLeft = 0;
    double AreaHeight = 0;
    double AreaWidth = 0;
    int16_t Mode = 0;     // 1 main window and sheet, 0 SRC column dialog preview
};

}  // namespace drawing
