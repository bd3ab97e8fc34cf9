// Key codes and characters of Qt key events.
#include "platform/qt/grid/vbkeys.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

using namespace qtgrid;

TEST(VbKeys, KeyCodes)
{
    const std::pair<int, int> cases[] = {
        {Qt::Key_Left, 37},   {Qt::Key_Up, 38},     {Qt::Key_Right, 39},     {Qt::Key_Down, 40},
        {Qt::Key_Return, 13}, {Qt::Key_Enter, 13},  {Qt::Key_Escape, 27},    {Qt::Key_Insert, 45},
        {Qt::Key_Delete, 46}, {Qt::Key_Backspace, 8}, {Qt::Key_A, 65},       {Qt::Key_5, 53},
        {Qt::Key_F1, 112},    {Qt::Key_Home, 36},   {Qt::Key_unknown, 0},
    };
    for (const auto& [qt, vb] : cases) EXPECT_EQ(VbKeyCodeOf(qt), vb) << qt;
}

TEST(VbKeys, ShiftMaskAndKeypadEnter)
{
    QKeyEvent keypad(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier, "\r");
    EXPECT_EQ(VbKeyCode(keypad), 13);
    EXPECT_EQ(VbShiftState(keypad), 0);
    EXPECT_EQ(VbKeyAscii(keypad), 13);
    QKeyEvent shiftEnter(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, "\r");
    EXPECT_EQ(VbShiftState(shiftEnter), 1);
    QKeyEvent ctrlAlt(QEvent::KeyPress, Qt::Key_X, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(VbShiftState(ctrlAlt), 6);
}

TEST(VbKeys, KeyAscii)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        QString text;
        int ascii;
    } cases[] = {
        {Qt::Key_5, Qt::NoModifier, "5", '5'},
        {Qt::Key_A, Qt::ShiftModifier, "A", 'A'},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", 8},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", 27},
        {Qt::Key_C, Qt::ControlModifier, "\x03", 3},
        {Qt::Key_V, Qt::ControlModifier, "", 22},
        {Qt::Key_Left, Qt::NoModifier, "", 0},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", 0},
        {Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("５"), 0xFF15},
    };
    for (const auto& c : cases) {
        QKeyEvent e(QEvent::KeyPress, c.key, c.mods, c.text);
        EXPECT_EQ(VbKeyAscii(e), c.ascii) << c.key;
    }
}

}  // namespace
