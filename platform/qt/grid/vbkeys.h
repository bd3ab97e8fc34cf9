// Key codes as the grid, the editor and their owners see them: the virtual
// key numbers of the original platform (arrows 37-40, Enter 13, Esc 27,
// Insert 45, Delete 46, Backspace 8), a Shift mask (1 Shift, 2 Ctrl, 4 Alt)
// and the character code of a key press (KeyAscii: 0 = no character).
#pragma once

#include <QString>

class QKeyEvent;

namespace qtgrid {

enum VbKey : int {
    vbKeyBack = 8,
    vbKeyTab = 9,
    vbKeyReturn = 13,
    vbKeyShift = 16,
    vbKeyControl = 17,
    vbKeyMenu = 18,
    vbKeyEscape = 27,
    vbKeySpace = 32,
    vbKeyPageUp = 33,
    vbKeyPageDown = 34,
    vbKeyEnd = 35,
    vbKeyHome = 36,
    vbKeyLeft = 37,
    vbKeyUp = 38,
    vbKeyRight = 39,
    vbKeyDown = 40,
    vbKeyInsert = 45,
    vbKeyDelete = 46,
};

enum VbShift : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

// The key code of a Qt key (Qt::Key), 0 when the key has none.
int VbKeyCodeOf(int qtKey);
// KeyDown arguments of a key event.
int VbKeyCode(const QKeyEvent& e);
int VbShiftState(const QKeyEvent& e);
// The character code of a key press: Backspace 8, Enter 13 (Return and the
// keypad Enter), Esc 27, Ctrl+letter 1-26, otherwise the UTF-16 code of the
// event's text when it is one printable character; 0 when the key types none.
int VbKeyAscii(const QKeyEvent& e);

}  // namespace qtgrid
