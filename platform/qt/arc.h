// Arc angles as the original controls take them: radians, counter-clockwise
// as seen on the output, from start to end, wrapping through 0 when the end
// is below the start. Negative angles are taken modulo a full turn; they never
// reach the painter.
#pragma once

namespace vbqt {

struct ArcSweep {
    double startDeg = 0;  // in [0, 360)
    double spanDeg = 360; // in (0, 360]; 360 for a full circle
    bool full = true;
};

// Start and end equal (or a whole turn apart) give the full circle, as on the
// original controls.
ArcSweep arcSweep(double start, double end);

}  // namespace vbqt
