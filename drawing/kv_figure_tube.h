// Plan of the column base under a box (ColV 0) or round (ColV 1) steel tube:
// centre lines, column section, eccentricity marks, plate and anchor bolts,
// dimension lines with the catalogue sizes and the X / Y symbol. A schematic
// in figure units; only texts, orientation and the choice of shapes come from
// the column and its base.
#pragma once

#include "drawing/figure_frame.h"
#include "drawing/print_out.h"
#include "model/records.h"

#include <array>
#include <cstdint>

namespace drawing {

// The values the tube figure derives on entry and hands to the plate.
struct TubeLayout {
    int16_t dir = 0;        // quarter turns 0..3
    int16_t a = 0;          // dir Mod 2: swap flag, first index of KvLen and HenshinE
    int16_t a1 = 1;         // 1 - a
    bool boxAsym = false;   // box column on an asymmetric base
    bool eccentric = false; // both eccentricities above 1 mm
    double e = 0;           // column axis at (-e, -e) from the base centre
    double t = 0;           // lift of one eccentricity text
    double W = 0, H = 0;    // plate
    double Px = 0, Py = 0;  // bolt pitches
    double Qx = 0, Qy = 0;  // inner pitches
    std::array<double, 2> s{};  // plate shift of a box-asymmetric base
    double gx = 0, gy = 0;  // block shift of the swapped elements of that base
    double sa() const { return s[static_cast<size_t>(a)]; }
    double sa1() const { return s[static_cast<size_t>(a1)]; }
};

TubeLayout CalcTubeLayout(const model::ColumnDataTbl& col, const model::KvBaseTbl& kvb,
                          int16_t dir);

// iCol 999 is replaced by gCurCol and dir 999 by GetKvDirection in the
// caller's variables. The frame is only read. A column outside the project
// or a direction outside 0..3 raises FigureError before anything is drawn.
void DrawKvFigureTube(clsPrintOut& po, const FigureFrameTbl& frame, int16_t& iCol, int16_t& dir);

// Plate outline and bolt holes of the tube figure for AbV 0 and 1, with the
// pen in force.
void PlotTubeBasePlate(clsPrintOut& po, const FigureFrameTbl& frame, const model::KvBaseTbl& kvb,
                       const TubeLayout& lay);

}  // namespace drawing
