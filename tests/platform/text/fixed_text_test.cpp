#include "platform/text/fixed_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

struct FieldCase {
    std::string utf8;
    std::size_t width;
    std::string bytes;
};

class FixedBytes : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FixedBytes, CutsAtCharacterBoundaryAndPadsWithBlanks)
{
    const FieldCase& c = GetParam();
    EXPECT_EQ(text::ToFixedBytes(c.utf8, c.width), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Text, FixedBytes,
    ::testing::Values(
        FieldCase{"ab柱脚", 5, "ab\x92\x8C "},
        FieldCase{"ab柱脚", 6, "ab\x92\x8C\x8B\x72"},
        FieldCase{"ab柱脚", 3, "ab "},
        FieldCase{"柱", 1, " "},
        FieldCase{"abc", 5, "abc  "},
        FieldCase{"abcdef", 3, "abc"},
        FieldCase{"", 3, "   "},
        FieldCase{"ｺﾙｳﾞｧﾝ", 4, "\xBA\xD9\xB3\xDE"},
        FieldCase{"\0\0\0"s, 3, "\0\0\0"s}));

TEST(FixedBytes, TextAsStoredIsWhatTheFileGivesBack)
{
    struct Case {
        std::string typed;
        std::size_t width;
        std::string stored;
    } cases[] = {
        {"ab柱脚", 5, "ab柱"},         // the 5th byte would split 脚
        {"ab柱脚", 6, "ab柱脚"},
        {"柱" + std::string(59, 'A'), 50, "柱" + std::string(48, 'A')},
        {"ab cd", 3, "ab"},            // no blank left at the cut
        {"a😀b", 5, "a?b"},           // a character the code page cannot hold
        {"ｺﾙｳﾞｧﾝ", 4, "ｺﾙｳﾞ"},
        {"", 4, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text::AsStoredText(c.typed, c.width), c.stored) << c.typed;
        // Stored again, it stays as it is.
        EXPECT_EQ(text::AsStoredText(c.stored, c.width), c.stored) << c.typed;
    }
}

TEST(FixedBytes, ReadsBlanksAndNulsAsTheyAre)
{
    EXPECT_EQ(text::FromFixedBytes("ab\x92\x8C "s), "ab柱 ");
    EXPECT_EQ(text::FromFixedBytes("\0\0x"s.data(), 2), "\0\0"s);
}

TEST(FixedText, NeverAssignedIsNulsInMemoryAndInFile)
{
    const text::FixedText<4> f;
    EXPECT_EQ(f.value(), std::string(4, '\0'));
    EXPECT_EQ(f.toFile(), std::string(4, '\0'));
}

TEST(FixedText, AssignedEmptyIsBlanksNotNuls)
{
    text::FixedText<3> f;
    f = "";
    EXPECT_EQ(f.value(), "   ");
    EXPECT_EQ(f.toFile(), "   ");
}

TEST(FixedText, KeepsCharactersInMemoryButBytesInFile)
{
    text::FixedText<4> f;
    f = "ab柱脚xyz";
    // Four characters in memory, but only four bytes in the file.
    EXPECT_EQ(f.value(), "ab柱脚");
    EXPECT_EQ(f.toFile(), "ab\x92\x8C");

    f = "ab";
    EXPECT_EQ(f.value(), "ab  ");
    EXPECT_EQ(f.toFile(), "ab  ");
}

TEST(FixedText, FromFileFillsToWidth)
{
    text::FixedText<4> f;
    const std::string bytes = "ab\x92\x8C";
    f.fromFile(bytes.data(), bytes.size());
    EXPECT_EQ(f.value(), "ab柱 ");
}

TEST(FixedText, UnassignedFieldSurvivesFileRoundTrip)
{
    const text::FixedText<5> original;
    const std::string bytes = original.toFile();
    text::FixedText<5> read("junk");
    read.fromFile(bytes.data(), bytes.size());
    EXPECT_EQ(read, original);
    EXPECT_EQ(read.toFile(), std::string(5, '\0'));
}

}  // namespace
