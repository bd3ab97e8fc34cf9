#include "platform/text/utf8.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/text/vberror.h"

namespace {

const std::string kS = "柱脚ab";

struct Cut {
    const char* call;
    std::function<std::string()> run;
    std::string expected;
};

TEST(Utf8, LeftMidRightCountCharacters)
{
    const Cut cases[] = {
        {"Left 1", [] { return text::Left(kS, 1); }, "柱"},
        {"Left 0", [] { return text::Left(kS, 0); }, ""},
        {"Left past end", [] { return text::Left(kS, 10); }, kS},
        {"Right 3", [] { return text::Right(kS, 3); }, "脚ab"},
        {"Right past end", [] { return text::Right(kS, 10); }, kS},
        {"Mid 2,2", [] { return text::Mid(kS, 2, 2); }, "脚a"},
        {"Mid 3", [] { return text::Mid(kS, 3); }, "ab"},
        {"Mid past end", [] { return text::Mid(kS, 9); }, ""},
        {"Mid length past end", [] { return text::Mid(kS, 4, 5); }, "b"},
        {"FitChars cut", [] { return text::FitChars(kS, 3); }, "柱脚a"},
        {"FitChars pad", [] { return text::FitChars(kS, 6); }, "柱脚ab  "},
    };
    for (const auto& c : cases) EXPECT_EQ(c.run(), c.expected) << c.call;
}

TEST(Utf8, CharCount)
{
    EXPECT_EQ(text::CharCount(""), 0u);
    EXPECT_EQ(text::CharCount(kS), 4u);
    EXPECT_EQ(text::CharCount("ｺﾙｳﾞｧﾝ"), 6u);
}

TEST(Utf8, MalformedBytesCountAsCharactersAndNeverSplitGoodOnes)
{
    // A stray lead byte, a character cut short, a stray continuation byte.
    const std::string s = "\xFF" "\xE6\x9F" "a" "\x80" "柱";
    EXPECT_EQ(text::CharCount(s), 5u);
    EXPECT_EQ(text::Left(s, 2), "\xFF\xE6\x9F");
    EXPECT_EQ(text::Right(s, 2), "\x80柱");
    EXPECT_EQ(text::Mid(s, 3, 1), "a");
}

TEST(Utf8, BadArgumentsRaiseInvalidCall)
{
    EXPECT_THROW(text::Left(kS, -1), vb::InvalidCall);
    EXPECT_THROW(text::Right(kS, -1), vb::InvalidCall);
    EXPECT_THROW(text::Mid(kS, 0), vb::InvalidCall);
    EXPECT_THROW(text::Mid(kS, 1, -1), vb::InvalidCall);
}

}  // namespace
