#include "model/format.h"
#include "model/globals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace model;

TEST(FormatValue, IntegersIgnoreDecimals)
{
    EXPECT_EQ(FormatValue(int16_t{-5}, 2), "-5");
    EXPECT_EQ(FormatValue(int32_t{120000}, -1), "120000");
    EXPECT_EQ(FormatValue(int16_t{0}, 3), "0");
}

TEST(FormatValue, OtherKindsGiveEmptyText)
{
    EXPECT_EQ(FormatValue(true, 0), "");
    EXPECT_EQ(FormatValue(uint8_t{7}, 0), "");
    EXPECT_EQ(FormatValue(std::string("12"), 0), "");
    EXPECT_EQ(FormatValue("12", -1), "");
    EXPECT_EQ(FormatValue(std::monostate{}, 0), "");
}

TEST(FormatValue, RealsByDecimals)
{
    struct Case {
        double value;
        int16_t decimals;
        const char* text;
    } const cases[] = {
        {3, -1, "3"},          {3, 0, "3"},           {3, 2, "3.00"},
        {0.00004, -1, "0"},    {-1.25, 1, "-1.3"},    {123.5, 0, "124"},
        {24, -1, "24"},        {2.5, -1, "2.5"},      {2.123456, -1, "2.1235"},
        {2.5, 2, "2.50"},      {0, 0, "0"},           {0.5, 0, "1"},
        {-0.5, 0, "-1"},       {0.5, -1, "0.5"},      {1234567.891, 1, "1234567.9"},
        {-0.00004, -1, "0"},   {-0.004, 2, "0.00"},   {-0.4, 0, "0"},
        {2.675, 2, "2.68"},    {1e15, 0, "1000000000000000"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatValue(c.value, c.decimals), c.text) << c.value << " " << c.decimals;
    EXPECT_EQ(FormatValue(0.25f, -1), "0.25");
}

// A factor shows all the decimals it is kept with: two at least, four at most.
TEST(FormatDesignFactor, ShowsTheStoredFactor)
{
    struct Case {
        double value;
        const char* text;
    } cases[] = {{2, "2.00"}, {1.67, "1.67"}, {0.425, "0.425"}, {0.5, "0.50"}, {0, "0.00"},
                 {1.2346, "1.2346"}, {100, "100.00"}, {0.0001, "0.0001"}};
    for (const Case& c : cases) EXPECT_EQ(FormatDesignFactor(c.value), c.text) << c.value;
    // Kept to four decimals; a factor that has no more stays the same number.
    for (const char* t : {"0.425", "1.67", "2", "0.0001", "99.9999", "0.35"})
        EXPECT_EQ(RoundDesignFactor(std::stod(t)), std::stod(t)) << t;
    EXPECT_EQ(RoundDesignFactor(1.23456), 1.2346);
    EXPECT_EQ(RoundDesignFactor(1e-320), 0);
    for (double v : {0.425, 1.2346, 0.0001, 1.67})
        EXPECT_EQ(RoundDesignFactor(std::stod(FormatDesignFactor(v))), v) << v;
}

TEST(FormatSignificant, Figures)
{
    struct Case {
        double value;
        int16_t figures;
        const char* text;
    } const cases[] = {
        {12345, 3, "12300"},  {1000, 3, "1000"},     {45.32, 4, "45.32"},  {392, 3, "392"},
        {5.678, 3, "5.68"},   {0.1234, 3, "0.123"},  {999.6, 3, "1000"},   {99.96, 3, "100.0"},
        {0.1, 3, "0.100"},    {100, 3, "100"},       {10, 3, "10.0"},      {1, 3, "1.00"},
        {0.05, 3, "No Suport"}, {0, 3, "No Suport"}, {-5, 3, "No Suport"}, {123, 0, ""},
        {123, -2, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatSignificant(c.value, c.figures), c.text) << c.value;
}

TEST(FormatSignificant, NonFiniteValuesEnd)
{
    EXPECT_EQ(FormatSignificant(std::numeric_limits<double>::infinity(), 3), "No Suport");
    EXPECT_EQ(FormatSignificant(-std::numeric_limits<double>::infinity(), 3), "No Suport");
    EXPECT_EQ(FormatSignificant(std::nan(""), 3), "No Suport");
    EXPECT_EQ(FormatSignificant(1e300, 3), "1" + std::string(300, '0'));
}

TEST(FormatFc, ByDisplayUnit)
{
    const bool saved = gSIDisp;
    struct Case {
        bool si;
        double fc;
        const char* text;
    } const cases[] = {
        {true, 21, "21"},     {true, 22.5, "22.5"}, {true, 22.05, "22"}, {true, 22.1, "22.1"},
        {true, 0.5, ".5"},    {true, 0, ""},        {false, 225, "225"}, {false, 225.5, "226"},
        {false, 22.5, "23"},  {false, 0, ""},       {false, 0.4, ""},
    };
    for (const Case& c : cases) {
        gSIDisp = c.si;
        EXPECT_EQ(FormatFc(c.fc), c.text) << c.si << " " << c.fc;
    }
    gSIDisp = saved;
}

TEST(GetJadgeText, ThreeCharacters)
{
    EXPECT_EQ(GetJadgeText(1), "OK*");
    EXPECT_EQ(GetJadgeText(2), "OK*");
    EXPECT_EQ(GetJadgeText(0), "NG ");
    EXPECT_EQ(GetJadgeText(-1), "OK ");
    EXPECT_EQ(GetJadgeText(-7), "OK ");
}
