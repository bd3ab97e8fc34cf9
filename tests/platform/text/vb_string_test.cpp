#include "platform/text/vb.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(VbTrim, RemovesOnlyAsciiBlanks)
{
    struct {
        std::string s, trim, ltrim, rtrim;
    } const cases[] = {
        {"  ab c  ", "ab c", "ab c  ", "  ab c"},
        {"   ", "", "", ""},
        {"", "", "", ""},
        {"\tab\t", "\tab\t", "\tab\t", "\tab\t"},
        {" \0a\0 "s, "\0a\0"s, "\0a\0 "s, " \0a\0"s},
        {"　柱　", "　柱　", "　柱　", "　柱　"},  // full-width blanks stay
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vb::Trim(c.s), c.trim) << '"' << c.s << '"';
        EXPECT_EQ(vb::LTrim(c.s), c.ltrim) << '"' << c.s << '"';
        EXPECT_EQ(vb::RTrim(c.s), c.rtrim) << '"' << c.s << '"';
    }
}

TEST(VbCase, AsciiAndFullWidthLatinOnly)
{
    const std::string s = "abcXYZ柱ａｚＡＺｺ1";
    EXPECT_EQ(vb::UCase(s), "ABCXYZ柱ＡＺＡＺｺ1");
    EXPECT_EQ(vb::LCase(s), "abcxyz柱ａｚａｚｺ1");
}

TEST(VbCase, TruncatedSequenceAtEndIsLeftAlone)
{
    EXPECT_EQ(vb::UCase("a\xEF\xBD"), "A\xEF\xBD");
    EXPECT_EQ(vb::LCase("A\xEF\xBC"), "a\xEF\xBC");
}

}  // namespace
