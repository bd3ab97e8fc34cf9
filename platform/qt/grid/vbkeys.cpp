#include "platform/qt/grid/vbkeys.h"

#include <QKeyEvent>

namespace qtgrid {

int VbKeyCodeOf(int k)
{
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vbKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Shift: return vbKeyShift;
    case Qt::Key_Control: return vbKeyControl;
    case Qt::Key_Alt: return vbKeyMenu;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_PageUp: return vbKeyPageUp;
    case Qt::Key_PageDown: return vbKeyPageDown;
    case Qt::Key_End: return vbKeyEnd;
    case Qt::Key_Home: return vbKeyHome;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Insert: return vbKeyInsert;
    case Qt::Key_Delete: return vbKeyDelete;
    case Qt::Key_Minus: return 189;
    case Qt::Key_Period: return 190;
    case Qt::Key_Comma: return 188;
    default: return 0;
    }
}

int VbKeyCode(const QKeyEvent& e) { return VbKeyCodeOf(e.key()); }

int VbShiftState(const QKeyEvent& e)
{
    int s = 0;
    const auto m = e.modifiers();
    if (m & Qt::ShiftModifier) s |= vbShiftMask;
    if (m & Qt::ControlModifier) s |= vbCtrlMask;
    if (m & Qt::AltModifier) s |= vbAltMask;
    return s;
}

int VbKeyAscii(const QKeyEvent& e)
{
    switch (e.key()) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Escape: return vbKeyEscape;
    default: break;
    }
    const auto m = e.modifiers();
    if ((m & Qt::ControlModifier) && !(m & Qt::AltModifier) && e.key() >= Qt::Key_A && e.key() <= Qt::Key_Z)
        return 1 + (e.key() - Qt::Key_A);
    if (m & (Qt::ControlModifier | Qt::AltModifier)) return 0;
    const QString t = e.text();
    if (t.size() != 1) return 0;
    const char16_t c = t.at(0).unicode();
    if (c < 0x20 || c == 0x7F) return 0;
    return c;
}

}  // namespace qtgrid
