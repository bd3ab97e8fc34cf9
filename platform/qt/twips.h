// The one rule from twips to pixels for every window, grid and picture: 1440
// twips an inch at the device's logical resolution.
#pragma once

#include <QPaintDevice>

namespace vbqt {

inline double TwipsPerPixel(int logicalDpi) { return logicalDpi > 0 ? 1440.0 / logicalDpi : 15.0; }
inline double TwipsPerPixelX(const QPaintDevice& d) { return TwipsPerPixel(d.logicalDpiX()); }
inline double TwipsPerPixelY(const QPaintDevice& d) { return TwipsPerPixel(d.logicalDpiY()); }

}  // namespace vbqt
