// The curve stages of the N-M diagram: a steel column base (the column's own
// polygons, the zones of the base, its capacity curves and rebar zones) and an
// SRC column base (the superposed curve and its parts). Both draw into the
// chart that DrawNMDiagram has scaled in gNMChart.
#pragma once

#include "drawing/nm_diagram.h"
#include "drawing/nm_engine.h"
#include "drawing/nm_points.h"
#include "drawing/print_out.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace drawing {

// Colours of the load states 0 ultimate, 1 short-term, 2 long-term.
using NMStateColors = std::array<int32_t, 3>;

// Samples per curve side: the sweep runs from the compression end to the
// tension end in this many equal steps.
constexpr int kNMSweepSteps = 100;

// Surface point of the chart point (M, N), N positive in compression.
double NMChartX(double M);
double NMChartY(double N);

// One side of a sampled curve: from (0, nStart) through (sign x m(N), N) for
// N = nStart - i (nStart - nEnd) / kNMSweepSteps, i = 0..kNMSweepSteps, then to
// (0, nEnd). A curve without range (nStart <= nEnd) draws nothing.
void DrawNMSweep(clsPrintOut& po, double nStart, double nEnd, double sign,
                 const std::function<double(double)>& m, int32_t color);

// Nlo/Mlo: points of the first shown state, Nhi/Mhi of the last shown one.
// A rebar-zone moment of 0 throws vb::Error (the marks cannot be placed).
// zoneMarks, when given, receives where the rebar zone marks Ⅰ and Ⅱ stand.
void DrawNMCurvesS(NMEngine& kv, clsPrintOut& po, int16_t iCol, int16_t dir,
                   const NMStateColors& c, int32_t w, int16_t firstState, const NMPointArray& Nlo,
                   const NMPointArray& Mlo, const NMPointArray& Nhi, const NMPointArray& Mhi,
                   std::vector<NMBox>* zoneMarks = nullptr);

void DrawNMCurvesSrc(NMEngine& kv, clsPrintOut& po, int16_t dir, const NMStateColors& c,
                     int32_t w);

}  // namespace drawing
