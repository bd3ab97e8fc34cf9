#include "platform/text/vb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

struct Rounding {
    double x;
    int cint;         // half to even
    const char* fmt;  // Format(x, "0"): half away from zero
};

TEST(VbRounding, CIntIsHalfToEvenWhileFormatIsHalfAwayFromZero)
{
    const Rounding cases[] = {
        {2.5, 2, "3"},   {3.5, 4, "4"},   {0.5, 0, "1"},   {-0.5, 0, "-1"}, {-1.5, -2, "-2"},
        {-2.5, -2, "-3"}, {1.49, 1, "1"}, {2.51, 3, "3"},  {-0.4, 0, "0"},  {32767.4, 32767, "32767"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vb::CInt(c.x), c.cint) << c.x;
        EXPECT_EQ(vb::CLng(c.x), c.cint) << c.x;
        EXPECT_EQ(vb::Format(c.x, "0"), c.fmt) << c.x;
    }
}

TEST(VbRounding, OverflowIsJudgedAfterRounding)
{
    EXPECT_THROW(vb::CInt(32767.5), vb::Overflow);
    EXPECT_EQ(vb::CInt(-32768.5), -32768);
    EXPECT_THROW(vb::CInt(-32768.6), vb::Overflow);
    EXPECT_THROW(vb::CInt(std::numeric_limits<double>::quiet_NaN()), vb::Overflow);
    EXPECT_THROW(vb::CInt(std::numeric_limits<double>::infinity()), vb::Overflow);

    EXPECT_EQ(vb::CLng(2147483646.5), 2147483646);
    EXPECT_THROW(vb::CLng(2147483647.5), vb::Overflow);
    EXPECT_EQ(vb::CLng(-2147483648.5), -2147483647 - 1);
    EXPECT_THROW(vb::CLng(1e10), vb::Overflow);
}

TEST(VbRounding, ErrorsCarryTheirNumbers)
{
    // Callers catch vb::Error and report by number.
    try {
        vb::CInt(1e6);
        ADD_FAILURE() << "no overflow";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.number(), vb::kErrOverflow);
    }
    try {
        vb::Round(1.5, -1);
        ADD_FAILURE() << "no error";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.number(), vb::kErrInvalidCall);
    }
}

TEST(VbRounding, IntFloorsAndFixTruncates)
{
    struct {
        double x, intv, fix;
    } const cases[] = {{-1.5, -2, -1}, {1.5, 1, 1}, {-2, -2, -2}, {-0.1, -1, 0}, {0.9, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(vb::Int(c.x), c.intv) << c.x;
        EXPECT_EQ(vb::Fix(c.x), c.fix) << c.x;
    }
}

TEST(VbRounding, RoundIsHalfToEvenOnTheScaledDouble)
{
    struct {
        double x;
        int digits;
        double expected;
    } const cases[] = {
        {2.5, 0, 2},       {3.5, 0, 4},        {-2.5, 0, -2},        {0.125, 2, 0.12},
        {0.375, 2, 0.38},  {123.456, 1, 123.5}, {-123.456, 2, -123.46},
        // 1.005 * 100 is 100.49999999999999; 2.675 * 100 rounds to exactly 267.5.
        {1.005, 2, 1.0},   {2.675, 2, 2.68},   {1e300, 5, 1e300},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(vb::Round(c.x, c.digits), c.expected) << c.x << " " << c.digits;
    EXPECT_THROW(vb::Round(1.5, -1), vb::InvalidCall);
}

TEST(VbRounding, FormatRoundWorksOnTheDecimalDigits)
{
    struct {
        double x;
        int decimals;
        double expected;
    } const cases[] = {
        {2.675, 2, 2.68}, {1.005, 2, 1.01}, {0.125, 2, 0.13}, {-0.5, 0, -1},
        {-0.004, 2, 0},   {9.995, 2, 10},   {1234.5, -2, 1200}, {0.1 + 0.2, 1, 0.3},
    };
    for (const auto& c : cases) EXPECT_EQ(vb::FormatRound(c.x, c.decimals), c.expected) << c.x << " " << c.decimals;
}

struct FormatCase {
    double x;
    const char* pattern;
    const char* expected;
};

class VbFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(VbFormat, MatchesPattern)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(vb::Format(c.x, c.pattern), c.expected) << c.x << " \"" << c.pattern << '"';
}

INSTANTIATE_TEST_SUITE_P(Text, VbFormat,
    ::testing::Values(
        FormatCase{0, "0", "0"},
        FormatCase{0, "####", ""},
        FormatCase{0.4, "#", ""},
        FormatCase{5, "####", "5"},
        FormatCase{123, "00000", "00123"},
        FormatCase{3.14159, "0.0000", "3.1416"},
        FormatCase{2.675, "0.00", "2.68"},
        FormatCase{9.996, "0.00", "10.00"},
        FormatCase{0.05, "0.0", "0.1"},
        FormatCase{12.3, "#0.00", "12.30"},
        FormatCase{0.3, "#0.00", "0.30"},
        FormatCase{0.5, "#.00", ".50"},
        FormatCase{5, "#.##", "5."},
        FormatCase{1.5, "0.0#", "1.5"},
        FormatCase{1.256, "0.0#", "1.26"},
        FormatCase{1234.5, "#,##0", "1,235"},
        FormatCase{0, "#,##0", "0"},
        FormatCase{999.5, "#,##0", "1,000"},
        FormatCase{1234567.891, "#,##0.00", "1,234,567.89"},
        FormatCase{-1234.56, "#,##0.0", "-1,234.6"},
        // A value that rounds to zero loses its sign.
        FormatCase{-0.001, "0.00", "0.00"},
        FormatCase{-0.001, "####", ""},
        FormatCase{1e20, "0", "100000000000000000000"},
        FormatCase{0.256, "0.0%", "25.6%"},
        FormatCase{-5, "0mm", "-5mm"},
        FormatCase{1.5, "", "1.5"}));

struct StrCase {
    double x;
    const char* str;
    const char* cstr;
};

TEST(VbStr, DigitsSignAndExponent)
{
    const StrCase cases[] = {
        {0, " 0", "0"},
        {24, " 24", "24"},
        {-24, "-24", "-24"},
        {100100, " 100100", "100100"},
        {0.5, " .5", "0.5"},
        {-0.5, "-.5", "-0.5"},
        {2.5, " 2.5", "2.5"},
        {1.0 / 3, " .333333333333333", "0.333333333333333"},
        {0.1 + 0.2, " .3", "0.3"},
        {0.0001, " .0001", "0.0001"},
        {123456789012345, " 123456789012345", "123456789012345"},
        {1e15, " 1E+15", "1E+15"},
        {1e16, " 1E+16", "1E+16"},
        {1.5e-7, " 1.5E-07", "1.5E-07"},
        {-1e-5, "-1E-05", "-1E-05"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vb::Str(c.x), c.str) << c.x;
        EXPECT_EQ(vb::CStr(c.x), c.cstr) << c.x;
    }
}

TEST(VbVal, ReadsTheLongestNumericPrefix)
{
    struct {
        const char* s;
        double v;
    } const cases[] = {
        {"", 0},          {"abc", 0},        {"12abc", 12},     {" 1 2", 12},      {"\t-\n3", -3},
        {"-.5", -0.5},    {"+5", 5},         {"--1", 0},        {".", 0},          {"1.2.3", 1.2},
        {"1,000", 1},     {"1e3", 1000},     {"1D2", 100},      {"1.5e", 1.5},     {"2e+", 2},
        {"1e-400", 0},    {"-0", 0},         {"&H1F", 31},      {"&h1f", 31},      {"&HFFFF", -1},
        {"&H8000", -32768}, {"&H10000", 65536}, {"&HFFFFFFFF", -1}, {"&O17", 15},  {"&17", 15},
        {"&H", 0},        {"&HG", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(vb::Val(c.s), c.v) << '"' << c.s << '"';
    EXPECT_FALSE(std::signbit(vb::Val("-0")));
}

TEST(VbVal, TooLargeOverflows)
{
    EXPECT_THROW(vb::Val("1e400"), vb::Overflow);
    EXPECT_THROW(vb::Val("&H100000000"), vb::Overflow);
}

TEST(VbIsNumeric, AcceptsWhatValWouldReadWhole)
{
    for (const char* s : {"1", " 12 ", "\t7\t", "-1.5", "+.5", "5.", "1e5", "1.5E-3", "2D+2", "1,000", "1,000.25",
                          "&H1F", "&O17"}) {
        EXPECT_TRUE(vb::IsNumeric(s)) << '"' << s << '"';
    }
    for (const char* s : {"", " ", "-", ".", "-.", "1e", "e5", "12abc", "1 2", ",1", "1..2", "&H", "&HG", "&O8"}) {
        EXPECT_FALSE(vb::IsNumeric(s)) << '"' << s << '"';
    }
}

}  // namespace
