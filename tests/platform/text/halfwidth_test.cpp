#include "platform/text/halfwidth.h"

#include <gtest/gtest.h>

namespace {

TEST(HalfWidth, Conversions)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"ＷＰ２００－４", "WP200-4"},
        {"ＡＺａｚ！～", "AZaz!~"},
        {"A\u3000B", "A B"},
        {"コルヴァン", "ｺﾙｳﾞｧﾝ"},
        {"ガパー・「」。、", "ｶﾞﾊﾟｰ･｢｣｡､"},
        {"ひらがな漢字", "ひらがな漢字"},
        {"ヰヱ", "ヰヱ"},  // no half-width form
        {"K35-2-30", "K35-2-30"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(text::ToHalfWidth(c.in), c.out) << c.in;
}

TEST(HalfWidth, MalformedBytesPassThrough)
{
    const std::string bad = "A\xE3\x82";
    EXPECT_EQ(text::ToHalfWidth(bad), bad);
}

}  // namespace
