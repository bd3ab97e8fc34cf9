#include "platform/text/cp932.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::string_literals;

struct Pair {
    std::string utf8;
    std::string cp932;
};

class Cp932RoundTrip : public ::testing::TestWithParam<Pair> {};

TEST_P(Cp932RoundTrip, EncodesToKnownBytesAndBack)
{
    const Pair& p = GetParam();
    EXPECT_EQ(text::ToCp932(p.utf8), p.cp932);
    EXPECT_EQ(text::FromCp932(p.cp932), p.utf8);
}

INSTANTIATE_TEST_SUITE_P(Text, Cp932RoundTrip,
    ::testing::Values(
        Pair{"", ""},
        Pair{"柱脚", "\x92\x8C\x8B\x72"},
        Pair{"某物件", "\x96\x5E\x95\xA8\x8C\x8F"},
        // NEC special: missing from plain Shift_JIS.
        Pair{"(Ⅰ)", "(\x87\x54)"},
        // Backslash and tilde stay ASCII, not yen sign and overline.
        Pair{"C:\\data\\a.kud", "C:\\data\\a.kud"},
        Pair{"~", "~"},
        // Half-width katakana are single bytes.
        Pair{"ｺﾙｳﾞｧﾝ", "\xBA\xD9\xB3\xDE\xA7\xDD"},
        Pair{"a\0b"s, "a\0b"s}));

struct Bad {
    const char* name;
    std::string in;
    std::string out;
};

class Cp932Encode : public ::testing::TestWithParam<Bad> {};

TEST_P(Cp932Encode, ReplacesEachBadCharacterWithOneQuestionMark)
{
    EXPECT_EQ(text::ToCp932(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Text, Cp932Encode,
    ::testing::Values(
        Bad{"NotInCodePage", "a\xC3\xA9" "b柱", "a?b\x92\x8C"},
        Bad{"OutsideBmp", "a\xF0\x9F\x98\x80" "b", "a?b"},
        Bad{"InvalidByte", "a\xFF" "b", "a?b"},
        Bad{"CutAtEnd", "a\xE6\x9F", "a?"},
        Bad{"SeveralInARow", "\xFF\xFE" "a", "??a"}),
    [](const auto& info) { return std::string(info.param.name); });

class Cp932Decode : public ::testing::TestWithParam<Bad> {};

TEST_P(Cp932Decode, ReplacesEachBadSequenceWithOneQuestionMark)
{
    EXPECT_EQ(text::FromCp932(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Text, Cp932Decode,
    ::testing::Values(
        Bad{"UnusedSingleByte", "a\x80" "b", "a?b"},
        Bad{"UnassignedPair", "a\x85\x40" "b", "a?b"},
        // The blank after a lead byte is a character of its own.
        Bad{"LeadWithoutTrail", "\x81 b", "? b"},
        Bad{"LoneLeadAtEnd", "ab\x92", "ab?"},
        Bad{"BadThenGood", "\xFF\x92\x8C", "?柱"}),
    [](const auto& info) { return std::string(info.param.name); });

// The strict decoder refuses every sequence the lenient one replaces, and
// converts clean text the same way.
TEST_P(Cp932Decode, StrictDecodeRefusesTheSameSequences)
{
    EXPECT_FALSE(text::FromCp932Strict(GetParam().in).has_value());
}

TEST(Cp932, StrictDecodeOfCleanText)
{
    EXPECT_EQ(text::FromCp932Strict(""), std::optional<std::string>(""));
    EXPECT_EQ(text::FromCp932Strict("a\x92\x8C\r\n\xBA"), std::optional<std::string>("a柱\r\nｺ"));
    // A lead byte cut off by the end of the text.
    EXPECT_FALSE(text::FromCp932Strict("ab\x92").has_value());
    // A long text after a bad byte far in still fails as a whole.
    std::string bytes(20000, '\xBA');
    bytes += '\xFF';
    EXPECT_FALSE(text::FromCp932Strict(bytes).has_value());
}

TEST(Cp932, LongTextGrowsTheOutput)
{
    // One byte of half-width katakana becomes three bytes of UTF-8.
    const std::string bytes(20000, '\xBA');
    std::string expected;
    for (int i = 0; i < 20000; ++i) expected += "ｺ";
    const std::string utf8 = text::FromCp932(bytes);
    EXPECT_EQ(utf8, expected);
    EXPECT_EQ(text::ToCp932(utf8), bytes);
}

TEST(Cp932, ThreadsConvertIndependently)
{
    // Good and bad input mixed, so a descriptor shared between threads or left
    // in a bad state after an error shows up as a wrong result.
    std::string longUtf8;
    std::string longBytes;
    for (int i = 0; i < 500; ++i) {
        longUtf8 += "柱脚ｺa\xF0\x9F\x98\x80";
        longBytes += "\x92\x8C\x8B\x72\xBA" "a?";
    }
    const auto check = [&] {
        return text::ToCp932(longUtf8) == longBytes && text::FromCp932("\xBA\xD9\xB3\xDE\xA7\xDD") == "ｺﾙｳﾞｧﾝ" &&
               text::FromCp932("a\xFF" "b") == "a?b";
    };
    std::vector<int> failures(8, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < failures.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                if (!check()) ++failures[t];
            }
        });
    }
    for (auto& th : threads) th.join();
    for (int f : failures) EXPECT_EQ(f, 0);
}

}  // namespace
