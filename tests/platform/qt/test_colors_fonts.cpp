#include "platform/qt/draw_targets.h"
#include "platform/qt/font_map.h"
#include "platform/qt/ole_color.h"

#include <QFontInfo>
#include <QFontMetricsF>
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

TEST(FontMap, JapaneseSystemFontsMapToIpa) {
    struct Case {
        const char* name;
        const char* family;
    };
    const Case cases[] = {
        {"ＭＳ 明朝", "IPAMincho"},      {"ＭＳ　明朝", "IPAMincho"},   {"MS Mincho", "IPAMincho"},
        {"ＭＳ Ｐ明朝", "IPAPMincho"},   {"MS PMincho", "IPAPMincho"},  {"ＭＳ ゴシック", "IPAGothic"},
        {"MS Gothic", "IPAGothic"},      {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS UI Gothic", "IPAPGothic"},
        {"Arial", "Arial"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mapVbFontName(QString::fromUtf8(c.name)).toStdString(), c.family) << c.name;
}

TEST(FontMap, MappedFacesAreInstalledWithTheLayoutsWidths) {
    struct Case {
        const char* name;
        const char* family;
        bool fixedPitch;
    };
    const Case cases[] = {{"ＭＳ 明朝", "IPAMincho", true},
                          {"ＭＳ ゴシック", "IPAGothic", true},
                          {"ＭＳ Ｐ明朝", "IPAPMincho", false},
                          {"ＭＳ Ｐゴシック", "IPAPGothic", false}};
    for (const Case& c : cases) {
        StdFont f;
        f.Name = c.name;
        f.Size = 11;
        QFont q = toQFont(f);
        EXPECT_EQ(QFontInfo(q).family().toStdString(), c.family) << c.name;
        EXPECT_DOUBLE_EQ(q.pointSizeF(), 11);
        // Half-width letters and digits are half an em in the fixed-pitch
        // faces; "1" is narrower than "M" in the proportional ones.
        q.setPixelSize(100);
        const QFontMetricsF m(q);
        if (c.fixedPitch) {
            for (const char* t : {"0", "1", "M", "m", "i", ".", "-", " "})
                EXPECT_DOUBLE_EQ(m.horizontalAdvance(QString::fromLatin1(t)), 50) << c.name << " '" << t << "'";
        } else {
            EXPECT_LT(m.horizontalAdvance(QStringLiteral("i")), m.horizontalAdvance(QStringLiteral("M"))) << c.name;
        }
    }
    // Where an IPA face is missing, the Noto face of its kind stands in.
    EXPECT_TRUE(QFont::substitutes(QStringLiteral("IPAMincho")).contains(QStringLiteral("Noto Serif CJK JP"), Qt::CaseInsensitive));
    EXPECT_TRUE(QFont::substitutes(QStringLiteral("IPAPGothic")).contains(QStringLiteral("Noto Sans CJK JP"), Qt::CaseInsensitive));
}
