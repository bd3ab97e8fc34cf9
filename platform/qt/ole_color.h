// OLE colour values: red + 256 * green + 65536 * blue, or, with the high bit
// set, a system colour by index (0x80000005 is the window background).
#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace vbqt {

constexpr int32_t RGB(int r, int g, int b) {
    return static_cast<int32_t>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// System colour indices the program uses.
enum SysColor : int {
    kScrollBars = 0,
    kMenuBar = 4,
    kWindowBackground = 5,
    kMenuText = 7,
    kActiveBorder = 10,
    kHighlight = 13,
    kHighlightText = 14,
    kButtonShadow = 16,
    kGrayText = 17,
    kButtonText = 18,
    kButtonHighlight = 20,
};

constexpr int32_t SystemColor(int index) {
    return static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(index & 0xFF));
}

// The colour of a system colour index, from the application palette where a
// role matches and from the classic desktop colours otherwise.
QColor systemColorByIndex(int index);

// The one mapping of OLE colour values to Qt colours; system colours come
// from the given palette (a widget's own), or the application's.
QColor oleToQColor(int32_t ole, const QPalette& palette);
QColor oleToQColor(int32_t ole);

// Back to an OLE value (alpha dropped).
int32_t qColorToOle(const QColor& c);

}  // namespace vbqt
