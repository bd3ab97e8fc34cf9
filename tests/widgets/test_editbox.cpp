// Input filter: typing and committing, table-driven against a fake box.
#include "fake_textbox.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Setup = std::function<void(zDLEditBox_Vendra&)>;

// The settings both grid owners use.
void Owners(zDLEditBox_Vendra& f)
{
    f.setprpNumeric(true);
    f.setprpAllowMinus(true);
    f.setprpAllowDecimal(true);
    f.setprpIntDigits(6);
    f.setprpDecDigits(3);
    f.setprpMinValue(-100000);
    f.setprpMaxValue(100000);
}

struct Harness {
    zDLEditBox_Vendra f;
    FakeTextBox box;
    int beeps = 0;
    explicit Harness(const Setup& setup)
    {
        setup(f);
        f.setBeepSink([this] { ++beeps; });
        f.AttachTextBox(&box);
    }
};

struct TypeCase {
    const char* name;
    Setup setup;
    QString start;
    int caret;  // -1: at the end
    int selLength;
    QString keys;
    QString expected;
    int refused;
    int beeps;
};

class TypeTest : public ::testing::TestWithParam<TypeCase> {};

TEST_P(TypeTest, ResultOfTyping)
{
    const TypeCase& tc = GetParam();
    Harness h(tc.setup);
    h.box.text = tc.start;
    h.box.selStart = tc.caret < 0 ? static_cast<int>(tc.start.size()) : tc.caret;
    h.box.selLength = tc.selLength;
    int refused = 0;
    for (QChar ch : tc.keys)
        if (h.box.type(h.f, ch.unicode()) == 0) ++refused;
    EXPECT_EQ(h.box.text, tc.expected);
    EXPECT_EQ(refused, tc.refused);
    EXPECT_EQ(h.beeps, tc.beeps);
    EXPECT_FALSE(h.f.busy());
}

auto Text = [](zDLEditBox_Vendra&) {};
auto Deny = [](zDLEditBox_Vendra& f) { f.setprpDenyChars(","); };
auto AllowHex = [](zDLEditBox_Vendra& f) { f.setprpAllowChars("0123456789ABCDEF"); };
auto Bytes4 = [](zDLEditBox_Vendra& f) { f.setprpMaxLengthB(4); };
auto DotLen1 = [](zDLEditBox_Vendra& f) {
    f.setprpDotMark(true);
    f.setprpMaxLength(1);
};
auto DotNoDecimal = [](zDLEditBox_Vendra& f) {
    f.setprpNumeric(true);
    f.setprpDotMark(true);
};
auto Range10to50 = [](zDLEditBox_Vendra& f) {
    f.setprpNumeric(true);
    f.setprpMinValue(10);
    f.setprpMaxValue(50);
};
auto NoRange = [](zDLEditBox_Vendra& f) {
    f.setprpNumeric(true);
    f.setprpAllowMinus(true);
    f.setprpAllowDecimal(true);
};
auto PositiveRange = [](zDLEditBox_Vendra& f) {
    NoRange(f);
    f.setprpMaxValue(50);
};

INSTANTIATE_TEST_SUITE_P(
    Filter, TypeTest,
    ::testing::Values(
        TypeCase{"digits", Owners, "", -1, 0, "12345", "12345", 0, 0},
        TypeCase{"sixth_digit_over_range", Owners, "12345", -1, 0, "6", "12345", 1, 1},
        TypeCase{"upper_bound", Owners, "", -1, 0, "100000", "100000", 0, 0},
        TypeCase{"minus_first", Owners, "", -1, 0, "-", "-", 0, 0},
        TypeCase{"minus_not_at_start", Owners, "12", 1, 0, "-", "12", 1, 1},
        TypeCase{"second_minus", Owners, "-12", 0, 0, "-", "-12", 1, 1},
        TypeCase{"minus_over_selected_minus", Owners, "-12", 0, 1, "-", "-12", 0, 0},
        TypeCase{"minus_over_selection_at_0", Owners, "12", 0, 1, "-", "-2", 0, 0},
        TypeCase{"minus_over_selection_later", Owners, "12", 1, 1, "-", "12", 1, 1},
        TypeCase{"lower_bound_not_typeable", Owners, "", -1, 0, "-999990", "-99999", 1, 1},
        TypeCase{"seventh_char_of_minus_100000", Owners, "", -1, 0, "-100000", "-10000", 1, 1},
        TypeCase{"most_negative", Owners, "", -1, 0, "-99999.999", "-99999.999", 0, 0},
        TypeCase{"fourth_decimal", Owners, "", -1, 0, "1.2345", "1.234", 1, 1},
        TypeCase{"second_point", Owners, "1.5", -1, 0, ".", "1.5", 1, 1},
        TypeCase{"point_over_selected_point", Owners, "1.5", 1, 1, ".", "1.5", 0, 0},
        TypeCase{"point_over_other_selection", Owners, "1.5", 0, 1, ".", "1.5", 1, 1},
        TypeCase{"full_width_digit", Owners, "", -1, 0, QString::fromUtf8("５"), "5", 0, 0},
        TypeCase{"full_width_minus_and_stop", Owners, "", -1, 0, QString::fromUtf8("－１．５"), "-1.5", 0, 0},
        TypeCase{"letter", Owners, "", -1, 0, "a", "", 1, 1},
        TypeCase{"ctrl_c_and_ctrl_v", Owners, "1", -1, 0, QString(QChar(3)) + QChar(22), "1", 2, 2},
        TypeCase{"enter_single_line", Owners, "1", -1, 0, "\r", "1", 1, 0},
        TypeCase{"deny_comma", Deny, "", -1, 0, "a,b", "ab", 1, 1},
        TypeCase{"allow_hex", AllowHex, "", -1, 0, "0F9a", "0F9", 1, 1},
        TypeCase{"bytes_two_wide", Bytes4, "", -1, 0, QString::fromUtf8("漢字漢"), QString::fromUtf8("漢字"), 1, 0},
        TypeCase{"bytes_mixed", Bytes4, "", -1, 0, QString::fromUtf8("a漢bc"), QString::fromUtf8("a漢b"), 1, 0},
        TypeCase{"bytes_half_width_kana", Bytes4, "", -1, 0, QString::fromUtf8("ｱｲｳｴｵ"), QString::fromUtf8("ｱｲｳｴ"), 1, 0},
        TypeCase{"dot_mark_past_limits", DotLen1, "", -1, 0, "a.b", "a.", 1, 0},
        TypeCase{"dot_mark_without_decimal", DotNoDecimal, "", -1, 0, "12.7", "12.7", 0, 0},
        TypeCase{"range_short_value_may_grow", Range10to50, "", -1, 0, "5", "5", 0, 0},
        TypeCase{"range_zero_first", Range10to50, "", -1, 0, "0", "", 1, 1},
        TypeCase{"range_sixty", Range10to50, "", -1, 0, "60", "6", 1, 1},
        TypeCase{"range_fifty", Range10to50, "", -1, 0, "50", "50", 0, 0},
        TypeCase{"no_range_any_shape", NoRange, "", -1, 0, "-123456789.12345", "-123456789.12345", 0, 0},
        TypeCase{"minus_with_positive_range", PositiveRange, "", -1, 0, "-5", "5", 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FilterKeys, BackspaceStepsOverSeparator)
{
    Harness h([](zDLEditBox_Vendra& f) {
        Owners(f);
        f.setprpComma(true);
    });
    h.box.text = "1,234";
    h.box.selStart = 2;
    EXPECT_EQ(h.box.type(h.f, 8), 0);
    EXPECT_EQ(h.box.text, "1,234");
    EXPECT_EQ(h.box.selStart, 1);
    EXPECT_EQ(h.box.type(h.f, 8), 8);
    EXPECT_EQ(h.box.text, ",234");
    EXPECT_EQ(h.beeps, 0);
}

TEST(FilterKeys, NoBoxLeavesKeyAlone)
{
    zDLEditBox_Vendra f;
    Owners(f);
    int k = 'a';
    f.FilterKeyPress(k);
    EXPECT_EQ(k, 'a');
    EXPECT_TRUE(f.prpIsValid());
}

TEST(FilterKeys, EnterPassesMultiLineBox)
{
    Harness h(Owners);
    h.box.multiLine = true;
    int k = 13;
    h.f.FilterKeyPress(k);
    EXPECT_EQ(k, 13);
}

struct CommitCase {
    const char* name;
    Setup setup;
    QString text;
    QString expected;
    bool valid;
};

class CommitTest : public ::testing::TestWithParam<CommitCase> {};

TEST_P(CommitTest, ValidateText)
{
    const CommitCase& tc = GetParam();
    Harness h(tc.setup);
    h.box.setText(tc.text);
    EXPECT_EQ(h.f.prpIsValid(), tc.valid);
    EXPECT_EQ(h.box.text, tc.expected);
    EXPECT_EQ(h.beeps, 0);
}

auto Fix2 = [](zDLEditBox_Vendra& f) {
    NoRange(f);
    f.setprpDecDigits(2);
    f.setprpFixDecimals(true);
};
auto Fix2Comma = [](zDLEditBox_Vendra& f) {
    Fix2(f);
    f.setprpComma(true);
};
auto Comma = [](zDLEditBox_Vendra& f) {
    NoRange(f);
    f.setprpComma(true);
};
auto DotOwners = [](zDLEditBox_Vendra& f) {
    Owners(f);
    f.setprpDotMark(true);
};
auto EmptyOk = [](zDLEditBox_Vendra& f) {
    Owners(f);
    f.setprpAllowEmpty(true);
};
auto TextErr = [](zDLEditBox_Vendra& f) { f.setprpErrText("x"); };
auto TextLen3 = [](zDLEditBox_Vendra& f) { f.setprpMaxLength(3); };
auto ErrTextFixed = [](zDLEditBox_Vendra& f) {
    Owners(f);
    f.setprpFixDecimals(true);
    f.setprpComma(true);
    f.setprpErrText(QString::fromUtf8("範囲外"));
};

INSTANTIATE_TEST_SUITE_P(
    Filter, CommitTest,
    ::testing::Values(CommitCase{"empty_is_zero", Owners, "", "0", true},
                      CommitCase{"lone_minus", Owners, "-", "0", true},
                      CommitCase{"trailing_point", Owners, "12.", "12", true},
                      CommitCase{"out_of_range_kept", Owners, "150000", "150000", false},
                      CommitCase{"plain_form", Owners, "007.50", "7.5", true},
                      CommitCase{"full_width", Owners, QString::fromUtf8("１２．５"), "12.5", true},
                      CommitCase{"separator_ends_number", Owners, "12,345", "12", true},
                      CommitCase{"fixed_decimals", Fix2, "3", "3.00", true},
                      CommitCase{"fixed_decimals_drop_separator", Fix2Comma, "1234.5", "1234.50", true},
                      CommitCase{"separators", Comma, "1234.5", "1,234.5", true},
                      CommitCase{"separators_read_back", Comma, "12,345", "12,345", true},
                      CommitCase{"dot_mark", DotOwners, ".", ".", true},
                      CommitCase{"dot_dot_mark", DotOwners, "..", "..", true},
                      CommitCase{"dot_mark_cuts_decimals", DotNoDecimal, "12.7", "12", true},
                      CommitCase{"allow_empty", EmptyOk, "", "", true},
                      CommitCase{"text_empty_invalid", Text, "", "", false},
                      CommitCase{"text_empty_replaced", TextErr, "", "x", true},
                      CommitCase{"text_cut_to_length", TextLen3, "abcdef", "abc", true},
                      CommitCase{"text_cut_to_bytes", Bytes4, QString::fromUtf8("漢字漢"), QString::fromUtf8("漢字"), true},
                      CommitCase{"replacement_not_reformatted", ErrTextFixed, "150000", QString::fromUtf8("範囲外"), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FilterHelpers, FormatWithCommas)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1234.5", "1,234.5"}, {"0012", "0,012"}, {".5", ".5"},         {"-1234", "-1,234"},
        {"123", "123"},        {"", ""},          {"1,234567", "1,234,567"}, {"0", "0"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(zDLEditBox_Vendra::FormatWithCommas(in), out) << in;
}

TEST(FilterHelpers, LeftByBytesKeepsWholeCharacters)
{
    EXPECT_EQ(zDLEditBox_Vendra::LeftByBytes(QString::fromUtf8("a漢字"), 4), QString::fromUtf8("a漢"));
    EXPECT_EQ(zDLEditBox_Vendra::LeftByBytes(QString::fromUtf8("漢"), 1), "");
    EXPECT_EQ(zDLEditBox_Vendra::ByteCount(QString::fromUtf8("aｱ漢")), 4);
}

TEST(FilterSettings, ByteLimitReachesTheBoxClamped)
{
    Harness h(Text);
    h.f.setprpMaxLengthB(20);
    EXPECT_EQ(h.box.limit, 20);
    h.f.setprpMaxLengthB(40000);
    EXPECT_EQ(h.box.limit, 32767);
    h.f.setprpMaxLengthB(-5);
    EXPECT_EQ(h.f.prpMaxLengthB(), 0);
    EXPECT_EQ(h.box.limit, 0);
}

TEST(FilterSettings, InitAndCopy)
{
    zDLEditBox_Vendra a, b;
    Owners(a);
    a.setprpComma(true);
    a.setprpErrText("e");
    a.setprpBeep(false);
    a.CopyTo(b);
    EXPECT_TRUE(b.prpNumeric());
    EXPECT_TRUE(b.prpAllowMinus());
    EXPECT_EQ(b.prpIntDigits(), 6);
    EXPECT_EQ(b.prpDecDigits(), 3);
    EXPECT_EQ(b.prpMinValue(), -100000);
    EXPECT_EQ(b.prpMaxValue(), 100000);
    EXPECT_TRUE(b.prpComma());
    EXPECT_EQ(b.prpErrText(), "e");
    EXPECT_FALSE(b.prpBeep());
    b.InitEditBox();
    EXPECT_FALSE(b.prpNumeric());
    EXPECT_TRUE(b.prpBeep());
    EXPECT_EQ(b.prpMinValue(), 0);
    EXPECT_EQ(b.textBox(), nullptr);
}

TEST(FilterText, RegroupsKeepingCaretBeforeSameDigit)
{
    Harness h(Comma);
    h.box.text = "1234";
    h.box.selStart = 2;
    h.f.FilterText();
    EXPECT_EQ(h.box.text, "1,234");
    EXPECT_EQ(h.box.selStart, 3);
    EXPECT_TRUE(h.f.prpChanged());
    h.f.SaveOldText();
    EXPECT_FALSE(h.f.prpChanged());
}

TEST(FilterText, TextModeDropsRefusedCharacters)
{
    Harness h([](zDLEditBox_Vendra& f) {
        f.setprpDenyChars(",");
        f.setprpMaxLength(4);
    });
    h.box.text = "a,b,c,d,e";
    h.f.FilterText();
    EXPECT_EQ(h.box.text, "abcd");
}

}  // namespace
