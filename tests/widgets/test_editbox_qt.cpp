// Input filter through a real QLineEdit: key clicks and an input-method
// commit reach the filter as the box's key presses.
#include "platform/qt/grid/textbox.h"
#include "widgets/zDLEditBox_Vendra.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct LineEditFixture : ::testing::Test {
    QLineEdit edit;
    qtgrid::VbTextBox box{&edit};
    zDLEditBox_Vendra filter;
    int beeps = 0;

    void SetUp() override
    {
        filter.setprpNumeric(true);
        filter.setprpAllowMinus(true);
        filter.setprpAllowDecimal(true);
        filter.setprpIntDigits(6);
        filter.setprpDecDigits(3);
        filter.setprpMinValue(-100000);
        filter.setprpMaxValue(100000);
        filter.setBeepSink([this] { ++beeps; });
        filter.AttachTextBox(&box);
        box.onKeyPress = [this](int& k) { filter.FilterKeyPress(k); };
        edit.show();
        edit.activateWindow();
        edit.setFocus();
    }
};

TEST_F(LineEditFixture, TypedDigitsStopAtTheRange)
{
    QTest::keyClicks(&edit, "123456");
    EXPECT_EQ(edit.text(), "12345");
    EXPECT_EQ(beeps, 1);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "1234");
}

TEST_F(LineEditFixture, MinusOnlyFirstAndLettersRefused)
{
    QTest::keyClicks(&edit, "-1a2-.5");
    EXPECT_EQ(edit.text(), "-12.5");
    EXPECT_EQ(beeps, 2);
}

TEST_F(LineEditFixture, FullWidthDigitFromInputMethod)
{
    QTest::keyClicks(&edit, "1");
    QInputMethodEvent ev(QString(), {});
    ev.setCommitString(QString::fromUtf8("５"));
    QApplication::sendEvent(&edit, &ev);
    EXPECT_EQ(edit.text(), "15");
    QInputMethodEvent letter(QString(), {});
    letter.setCommitString(QString::fromUtf8("ａ"));
    QApplication::sendEvent(&edit, &letter);
    EXPECT_EQ(edit.text(), "15");
    EXPECT_EQ(beeps, 1);
}

TEST_F(LineEditFixture, PasteShortcutIsRefusedInNumericMode)
{
    QApplication::clipboard()->setText("99");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "");
    EXPECT_EQ(beeps, 1);
}

TEST_F(LineEditFixture, CommitNormalises)
{
    QTest::keyClicks(&edit, "007.50");
    EXPECT_TRUE(filter.prpIsValid());
    EXPECT_EQ(edit.text(), "7.5");
}

}  // namespace
