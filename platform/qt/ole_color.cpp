#include "platform/qt/ole_color.h"

#include <QGuiApplication>
#include <QPalette>

namespace vbqt {

namespace {

// Classic desktop colours, used when no application (and so no palette) exists
// or the index has no palette role.
QColor classicColor(int index) {
    switch (index) {
    case 0: return {200, 200, 200};   // scroll bars
    case 1: return {0, 128, 128};     // desktop
    case 2: return {0, 0, 128};       // active caption
    case 3: return {128, 128, 128};   // inactive caption
    case 4: return {240, 240, 240};   // menu bar
    case 5: return {255, 255, 255};   // window background
    case 6: return {100, 100, 100};   // window frame
    case 7: return {0, 0, 0};         // menu text
    case 8: return {0, 0, 0};         // window text
    case 9: return {255, 255, 255};   // caption text
    case 10: return {180, 180, 180};  // active border
    case 11: return {244, 247, 252};  // inactive border
    case 12: return {171, 171, 171};  // application workspace
    case 13: return {0, 120, 215};    // highlight
    case 14: return {255, 255, 255};  // highlight text
    case 15: return {240, 240, 240};  // button face
    case 16: return {160, 160, 160};  // button shadow
    case 17: return {109, 109, 109};  // grey text
    case 18: return {0, 0, 0};        // button text
    case 19: return {0, 0, 0};        // inactive caption text
    case 20: return {255, 255, 255};  // button highlight
    case 21: return {105, 105, 105};  // 3-D dark shadow
    case 22: return {227, 227, 227};  // 3-D light
    case 23: return {0, 0, 0};        // tool tip text
    case 24: return {255, 255, 225};  // tool tip background
    default: return {0, 0, 0};
    }
}

bool paletteRole(int index, QPalette::ColorRole& role) {
    switch (index) {
    case 4: role = QPalette::Window; return true;
    case 5: role = QPalette::Base; return true;
    case 7: role = QPalette::WindowText; return true;
    case 8: role = QPalette::Text; return true;
    case 13: role = QPalette::Highlight; return true;
    case 14: role = QPalette::HighlightedText; return true;
    case 15: role = QPalette::Button; return true;
    case 16: role = QPalette::Mid; return true;
    case 18: role = QPalette::ButtonText; return true;
    case 20: role = QPalette::Light; return true;
    case 21: role = QPalette::Shadow; return true;
    case 22: role = QPalette::Midlight; return true;
    case 23: role = QPalette::ToolTipText; return true;
    case 24: role = QPalette::ToolTipBase; return true;
    default: return false;
    }
}

}  // namespace

QColor systemColorByIndex(int index) {
    QPalette::ColorRole role;
    if (qGuiApp && paletteRole(index, role)) return QGuiApplication::palette().color(role);
    return classicColor(index);
}

QColor oleToQColor(int32_t ole, const QPalette& palette) {
    const auto u = static_cast<uint32_t>(ole);
    if (u & 0x80000000u) {
        const int index = static_cast<int>(u & 0xFFu);
        QPalette::ColorRole role;
        return paletteRole(index, role) ? palette.color(role) : classicColor(index);
    }
    return QColor(static_cast<int>(u & 0xFFu), static_cast<int>((u >> 8) & 0xFFu),
                  static_cast<int>((u >> 16) & 0xFFu));
}

QColor oleToQColor(int32_t ole) {
    const auto u = static_cast<uint32_t>(ole);
    if (u & 0x80000000u) return systemColorByIndex(static_cast<int>(u & 0xFFu));
    return oleToQColor(ole, QPalette());
}

int32_t qColorToOle(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}

}  // namespace vbqt
