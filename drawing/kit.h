// The drawing kit shared by the figures: lines, arcs and boxes in model
// coordinates put on a surface through a FigureFrameTbl, and three finished
// symbols. Nothing here keeps state; a surface property changed for a routine
// is set back before it returns, also when a surface call fails.
//
// Conventions: mirror 0 negates y, 1 negates x, any other value leaves the
// point; mirroring comes before turning by a (radians):
// (x cos a + y sin a, -x sin a + y cos a), counter-clockwise as seen with y
// down. Swap flag 1 exchanges x and y of every point. A second x below
// -999999998 continues the line from the current point; an arc start above
// 998 is the full circle.
#pragma once

#include "drawing/figure_frame.h"
#include "drawing/print_out.h"
#include "engine/kvtypes.h"

#include <cstdint>
#include <string>

namespace drawing {

using kv::PositionTbl;

constexpr float kContinueLine = -999999999.0f;
constexpr float kFullArc = 999.0f;
constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 6.28318530717958;

// Mode 0 relative (steps from the current point), 1 absolute.
void DrawLineScaled(clsPrintOut& po, int16_t mode, const FigureFrameTbl& frame, int16_t s,
                    float x1, float y1, float x2, float y2);
void DrawLineRotated(clsPrintOut& po, const FigureFrameTbl& frame, int16_t m, double a, float x1,
                     float y1, float x2, float y2);
// Fill 1: a disc in `colour` (an outline on paper); fill 0: a black circle or
// arc, the colour not used. The current point ends at the centre.
void DrawArcRotated(clsPrintOut& po, const FigureFrameTbl& frame, int16_t m, double a, float x,
                    float y, float r, float st, float ed, int16_t fill, int32_t colour);
// Relative to the current point; with s = 1 the second angle pair is used.
// st2 / ed2 above 998 are replaced by st / ed in the caller's variables.
void DrawArcScaled(clsPrintOut& po, const FigureFrameTbl& frame, int16_t s, float dx, float dy,
                   float r, float st, float ed, float& st2, float& ed2);
// An axis-parallel box through the two mapped corners (a true turned box for
// quarter turns, which is all the figures use).
void FillRotatedRect(clsPrintOut& po, const FigureFrameTbl& frame, int16_t m, double a, double x1,
                     double y1, double x2, double y2, int32_t colour);
void DrawTubeSectionSymbol(clsPrintOut& po, const FigureFrameTbl& frame, int16_t m, double a,
                           float width, float height, int16_t c1, int16_t c2);
void DrawAxisSymbol(clsPrintOut& po, const FigureFrameTbl& frame);
// Orientation 0 horizontal (measures x2 - x1), 1 vertical (y2 - y1); t moves
// the text along model y.
void DrawDimensionLine(clsPrintOut& po, const FigureFrameTbl& frame, int16_t orientation,
                       const std::string& text, double t, double x1, double y1, double x2,
                       double y2, double o);
PositionTbl RotatePoint(PositionTbl p, double a);
void SwapDouble(double& a, double& b);
void SwapSingle(float& a, float& b);
// Prints at a surface position (not through a frame), horizontally; angle and
// size are accepted for the callers' sake.
void PrintTextAt(clsPrintOut& po, const std::string& text, float angle, float x, float y,
                 float size);

}  // namespace drawing
