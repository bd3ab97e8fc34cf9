// Pen and brush styles of the original controls, shared by both Qt targets.
#pragma once

#include <Qt>

namespace vbqt {

// 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 invisible, 6 inside solid.
inline Qt::PenStyle penStyleOf(int style) {
    switch (style) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    case 5: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

// 0 solid, 1 transparent, 2 horizontal, 3 vertical, 4 upward diagonal,
// 5 downward diagonal, 6 cross, 7 diagonal cross.
inline Qt::BrushStyle brushStyleOf(int style) {
    switch (style) {
    case 0: return Qt::SolidPattern;
    case 2: return Qt::HorPattern;
    case 3: return Qt::VerPattern;
    case 4: return Qt::BDiagPattern;
    case 5: return Qt::FDiagPattern;
    case 6: return Qt::CrossPattern;
    case 7: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
    }
}

}  // namespace vbqt
