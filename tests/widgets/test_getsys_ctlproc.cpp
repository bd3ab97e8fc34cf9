// System metrics and the control helpers.
#include "platform/qt/grid/textbox.h"
#include "widgets/zDLCtlProc_Vendra.h"
#include "widgets/zDLGetSys_Vendra.h"

#include <QComboBox>
#include <QTest>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(GetSys, ScrollBarSizesIncludeOneEdge)
{
    zDLGetSys_Vendra::Metrics m;
    m.HScrollHeight = 17;
    m.VScrollWidth = 17;
    m.EdgeWidth = 2;
    m.EdgeHeight = 2;
    m.TwipsPerPixelX = 15;
    m.TwipsPerPixelY = 15;
    zDLGetSys_Vendra sys([&] { return m; });
    float v = 0, h = 0;
    sys.GetScrollBarWidth(v, h);
    EXPECT_FLOAT_EQ(v, 285);
    EXPECT_FLOAT_EQ(h, 285);
}

TEST(GetSys, ValuesAreThoseOfTheLastRefresh)
{
    zDLGetSys_Vendra::Metrics m;
    m.VScrollWidth = 16;
    m.EdgeWidth = 1;
    m.HScrollHeight = 10;
    m.EdgeHeight = 0;
    m.TwipsPerPixelX = 15;
    m.TwipsPerPixelY = 12;
    zDLGetSys_Vendra sys([&] { return m; });
    m.VScrollWidth = 30;
    float v = 0, h = 0;
    sys.GetScrollBarWidth(v, h);
    EXPECT_FLOAT_EQ(v, 255);
    EXPECT_FLOAT_EQ(h, 120);
    sys.RefreshSysInfo();
    sys.GetScrollBarWidth(v, h);
    EXPECT_FLOAT_EQ(v, 465);
}

TEST(GetSys, SystemValuesArePositive)
{
    const auto m = zDLGetSys_Vendra::SystemMetrics();
    EXPECT_GT(m.VScrollWidth, 0);
    EXPECT_GT(m.TwipsPerPixelX, 0);
}

TEST(CtlProc, SelectComboItem)
{
    QComboBox combo;
    combo.addItems({"SS400", "  SN490B  ", "BCR295"});
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"SS400", 0},
        {"SN490B", 1},      // padded entry matches its trimmed text
        {"SN490B ", -1},    // the sought text is not trimmed
        {"ss400", -1},      // case counts
        {"STKR400", -1},    // not in the list: nothing, not the last entry
    };
    for (const auto& c : cases) EXPECT_EQ(SelectComboItem(&combo, QString::fromUtf8(c.text)), c.expected) << c.text;
    QComboBox empty;
    EXPECT_EQ(SelectComboItem(&empty, "SS400"), -1);
    EXPECT_EQ(SelectComboItem(nullptr, "SS400"), -1);
}

TEST(CtlProc, SafeSetFocusSkipsHiddenAndDisabled)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* a = new QLineEdit;
    auto* hidden = new QLineEdit;
    auto* disabled = new QLineEdit;
    layout->addWidget(a);
    layout->addWidget(hidden);
    layout->addWidget(disabled);
    window.show();
    hidden->hide();
    disabled->setEnabled(false);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    a->setFocus();
    SafeSetFocus(hidden);
    SafeSetFocus(disabled);
    SafeSetFocus(nullptr);
    EXPECT_TRUE(a->hasFocus());
    SafeSetFocus(a);
    EXPECT_TRUE(a->hasFocus());
}

TEST(CtlProc, SelectAllText)
{
    QLineEdit edit("12.5");
    edit.setCursorPosition(1);
    SelectAllText(&edit);
    EXPECT_EQ(edit.selectedText(), "12.5");
    qtgrid::VbTextBox box(&edit);
    edit.deselect();
    SelectAllText(box);
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.SelLength(), 4);
}

}  // namespace
