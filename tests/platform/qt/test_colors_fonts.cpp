#include "platform/qt/draw_targets.h"
#include "platform/qt/font_map.h"
#include "platform/qt/ole_color.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

using namespace vbqt;

TEST(OleColor, ChannelsReadBackwards) {
    EXPECT_EQ(RGB(204, 204, 85), 0x55CCCC);
    EXPECT_EQ(oleToQColor(0x55CCCC), QColor(204, 204, 85));
    EXPECT_EQ(oleToQColor(RGB(255, 0, 0)), QColor(Qt::red));
    EXPECT_EQ(oleToQColor(RGB(164, 202, 244)), QColor(164, 202, 244));
    EXPECT_EQ(qColorToOle(QColor(1, 2, 3)), RGB(1, 2, 3));
}

TEST(OleColor, HighBitSelectsSystemColour) {
    const QPalette pal = QGuiApplication::palette();
    EXPECT_EQ(oleToQColor(static_cast<int32_t>(0x80000005)), pal.color(QPalette::Base));
    EXPECT_EQ(oleToQColor(SystemColor(kMenuText)), pal.color(QPalette::WindowText));
    EXPECT_EQ(oleToQColor(SystemColor(kHighlight)), pal.color(QPalette::Highlight));
    // No palette role for scroll bars and active border: the classic colours.
    EXPECT_EQ(oleToQColor(static_cast<int32_t>(0x80000000)), QColor(200, 200, 200));
    EXPECT_EQ(oleToQColor(static_cast<int32_t>(0x8000000A)), QColor(180, 180, 180));
}

TEST(FontMap, JapaneseSystemFontsMapToNoto) {
    struct Case {
        const char* name;
        const char* family;
    };
    const Case cases[] = {
        {"ＭＳ 明朝", "Noto Serif CJK JP"},     {"ＭＳ　明朝", "Noto Serif CJK JP"},
        {"ＭＳ Ｐ明朝", "Noto Serif CJK JP"},   {"ＭＳ ゴシック", "Noto Sans CJK JP"},
        {"ＭＳ Ｐゴシック", "Noto Sans CJK JP"}, {"MS Gothic", "Noto Sans CJK JP"},
        {"Arial", "Arial"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mapVbFontName(QString::fromUtf8(c.name)).toStdString(), c.family) << c.name;
}

TEST(FontMap, MappedFacesAreInstalled) {
    StdFont f;
    f.Name = "ＭＳ 明朝";
    f.Size = 11;
    const QFont serif = toQFont(f);
    EXPECT_TRUE(QFontInfo(serif).family().contains("Noto Serif CJK")) << QFontInfo(serif).family().toStdString();
    EXPECT_DOUBLE_EQ(serif.pointSizeF(), 11);
    f.Name = "ＭＳ ゴシック";
    EXPECT_TRUE(QFontInfo(toQFont(f)).family().contains("Noto Sans CJK"));
}
