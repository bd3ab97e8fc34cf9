#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/text/vb.h"

namespace vb {
namespace {

// Half to even without depending on the floating-point environment's
// rounding mode. x - floor(x) is exact for every double.
double HalfEven(double x)
{
    const double fl = std::floor(x);
    const double diff = x - fl;
    if (diff < 0.5) return fl;
    if (diff > 0.5) return fl + 1.0;
    return std::fmod(fl, 2.0) == 0.0 ? fl : fl + 1.0;
}

template <class Int>
Int ToInteger(double x)
{
    const double r = HalfEven(x);
    // Written so that NaN fails the test too.
    if (!(r >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          r <= static_cast<double>(std::numeric_limits<Int>::max()))) {
        throw Overflow();
    }
    return static_cast<Int>(r);
}

double PowerOfTen(int n)
{
    // Exact up to 1e22; beyond that pow's rounding is as good as any.
    if (n > 22) return std::pow(10.0, n);
    double p = 1.0;
    for (int i = 0; i < n; ++i) p *= 10.0;
    return p;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A finite number as decimal digits: value = 0.digits * 10^point with the
// point after `point` digits. Format works on these, not on the binary value,
// so that 2.675 rounds as the 2.675 a user typed.
struct Decimal {
    bool negative = false;
    std::string digits;
    int point = 0;

    bool isZero() const
    {
        return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
    }
    char at(int i) const
    {
        return i >= 0 && i < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(i)] : '0';
    }
};

Decimal ToDecimal15(double x)
{
    Decimal d;
    d.negative = std::signbit(x);
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    const std::string_view s(buf, static_cast<std::size_t>(r.ptr - buf));  // d.ddddddddddddddde+XX
    const std::size_t e = s.find('e');
    d.digits.push_back(s[0]);
    d.digits.append(s.substr(2, e - 2));
    int exp = 0;
    const char* expBegin = s.data() + e + 1;
    if (*expBegin == '+') ++expBegin;
    std::from_chars(expBegin, s.data() + s.size(), exp);
    d.point = exp + 1;
    return d;
}

// Half away from zero, keeping `decimals` digits after the point.
void RoundHalfAway(Decimal& d, int decimals)
{
    const int keep = d.point + decimals;
    if (keep >= static_cast<int>(d.digits.size())) return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (!up) return;
    for (auto it = d.digits.rbegin(); it != d.digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    d.digits.insert(d.digits.begin(), '1');
    ++d.point;
}

std::string GroupThousands(const std::string& digits)
{
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

// %.15G without the locale.
std::string General15(double x)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
    std::string s(buf, r.ptr);
    for (char& c : s) {
        if (c == 'e') c = 'E';
    }
    return s;
}

bool IsExponentMark(char c)
{
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

bool IsBlankForVal(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int DigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 99;
}

int RadixOf(std::string_view s, std::size_t& i)
{
    if (i < s.size() && (s[i] == 'H' || s[i] == 'h')) {
        ++i;
        return 16;
    }
    if (i < s.size() && (s[i] == 'O' || s[i] == 'o')) ++i;
    return 8;
}

// Reads radix digits from s[i]; the value as the 16- or 32-bit signed number
// the bits make.
double RadixValue(std::string_view s, std::size_t i)
{
    const int radix = RadixOf(s, i);
    std::uint64_t v = 0;
    for (; i < s.size() && DigitValue(s[i]) < radix; ++i) {
        v = v * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(DigitValue(s[i]));
        if (v > 0xFFFFFFFFu) throw Overflow();
    }
    if (v <= 0xFFFFu) return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

}  // namespace

std::int16_t CInt(double x)
{
    return ToInteger<std::int16_t>(x);
}

std::int32_t CLng(double x)
{
    return ToInteger<std::int32_t>(x);
}

double Round(double x, int digits)
{
    if (digits < 0) throw InvalidCall();
    if (!std::isfinite(x)) return x;
    const double scale = PowerOfTen(digits);
    const double scaled = x * scale;
    // From 2^52 on every double is already a whole number.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) return x;
    return HalfEven(scaled) / scale;
}

double Int(double x)
{
    return std::floor(x);
}

double Fix(double x)
{
    return std::trunc(x);
}

double FormatRound(double x, int decimals)
{
    if (!std::isfinite(x)) return x;
    Decimal d = ToDecimal15(x);
    RoundHalfAway(d, decimals);
    if (d.isZero()) return 0.0;
    const std::string text = d.digits + "e" + std::to_string(d.point - static_cast<int>(d.digits.size()));
    double v = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return d.negative ? -v : v;
}

std::string Format(double x, std::string_view pattern)
{
    if (pattern.empty() || !std::isfinite(x)) return CStr(x);
    const std::size_t first = pattern.find_first_of("0#.");
    if (first == std::string_view::npos) return std::string(pattern);
    std::size_t last = first;
    while (last < pattern.size() && std::string_view("0#.,").find(pattern[last]) != std::string_view::npos) ++last;
    const std::string_view prefix = pattern.substr(0, first);
    const std::string_view body = pattern.substr(first, last - first);
    const std::string_view suffix = pattern.substr(last);

    const std::size_t dot = body.find('.');
    const bool hasPoint = dot != std::string_view::npos;
    const std::string_view intPat = body.substr(0, dot);
    const std::string_view fracPat = hasPoint ? body.substr(dot + 1) : std::string_view();

    int intMin = 0;
    bool required = false;
    for (char c : intPat) {
        if (c == '0') required = true;
        if (required && (c == '0' || c == '#')) ++intMin;
    }
    const bool grouping = intPat.find(',') != std::string_view::npos;
    int decimals = 0;
    int fracMin = 0;
    for (char c : fracPat) {
        if (c == '0' || c == '#') ++decimals;
        if (c == '0') fracMin = decimals;
    }

    if (prefix.find('%') != std::string_view::npos || suffix.find('%') != std::string_view::npos) x *= 100.0;

    Decimal d = ToDecimal15(x);
    RoundHalfAway(d, decimals);

    std::string intStr;
    for (int i = 0; i < d.point; ++i) intStr.push_back(d.at(i));
    intStr.erase(0, std::min(intStr.find_first_not_of('0'), intStr.size()));
    if (static_cast<int>(intStr.size()) < intMin) intStr.insert(0, static_cast<std::size_t>(intMin) - intStr.size(), '0');
    if (grouping) intStr = GroupThousands(intStr);

    std::string fracStr;
    for (int i = 0; i < decimals; ++i) fracStr.push_back(d.at(d.point + i));
    while (static_cast<int>(fracStr.size()) > fracMin && fracStr.back() == '0') fracStr.pop_back();

    std::string out;
    if (d.negative && !d.isZero()) out.push_back('-');
    out.append(prefix);
    out.append(intStr);
    if (hasPoint) {
        out.push_back('.');
        out.append(fracStr);
    }
    out.append(suffix);
    return out;
}

std::string CStr(double x)
{
    if (x == 0.0) return "0";
    return General15(x);
}

std::string Str(double x)
{
    std::string s = CStr(x);
    if (s.starts_with("0.")) {
        s.erase(0, 1);
    } else if (s.starts_with("-0.")) {
        s.erase(1, 1);
    }
    if (!s.starts_with('-')) s.insert(0, 1, ' ');
    return s;
}

double Val(std::string_view s)
{
    std::string t;
    for (char c : s) {
        if (!IsBlankForVal(c)) t.push_back(c);
    }
    if (t.starts_with('&')) return RadixValue(t, 1);

    std::size_t i = 0;
    std::string num;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') num.push_back('-');
        ++i;
    }
    int intDigits = 0;
    int leadZeros = 0;  // zeros before the first significant digit
    bool seenSignificant = false;
    auto takeDigits = [&](bool integerPart) {
        int n = 0;
        for (; i < t.size() && IsDigit(t[i]); ++i, ++n) {
            if (t[i] != '0') seenSignificant = true;
            if (!seenSignificant) ++leadZeros;
            num.push_back(t[i]);
        }
        if (integerPart) intDigits = n;
        return n;
    };
    int digits = takeDigits(true);
    if (i < t.size() && t[i] == '.') {
        num.push_back('.');
        ++i;
        digits += takeDigits(false);
    }
    if (digits == 0 || !seenSignificant) return 0.0;

    long long exp = 0;
    if (i < t.size() && IsExponentMark(t[i])) {
        std::size_t j = i + 1;
        bool negExp = false;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) negExp = t[j++] == '-';
        if (j < t.size() && IsDigit(t[j])) {
            num.push_back('e');
            if (negExp) num.push_back('-');
            for (; j < t.size() && IsDigit(t[j]); ++j) {
                num.push_back(t[j]);
                if (exp < 100000) exp = exp * 10 + (t[j] - '0');
            }
            if (negExp) exp = -exp;
        }
    }

    double v = 0.0;
    const auto r = std::from_chars(num.data(), num.data() + num.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large, or so small that it is zero.
        const long long magnitude = (intDigits - leadZeros) + exp;
        if (magnitude > 0) throw Overflow();
        return 0.0;
    }
    return v + 0.0;  // no negative zero
}

bool IsNumeric(std::string_view s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsWhite(s[b])) ++b;
    while (e > b && IsWhite(s[e - 1])) --e;
    s = s.substr(b, e - b);
    if (s.empty()) return false;

    std::size_t i = 0;
    if (s[0] == '&') {
        i = 1;
        const int radix = RadixOf(s, i);
        const std::size_t start = i;
        while (i < s.size() && DigitValue(s[i]) < radix) ++i;
        return i > start && i == s.size();
    }
    if (s[i] == '+' || s[i] == '-') ++i;
    int digits = 0;
    for (; i < s.size() && (IsDigit(s[i]) || (s[i] == ',' && digits > 0)); ++i) {
        if (s[i] != ',') ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && IsDigit(s[i]); ++i) ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && IsExponentMark(s[i])) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        const std::size_t start = i;
        while (i < s.size() && IsDigit(s[i])) ++i;
        if (i == start) return false;
    }
    return i == s.size();
}

}  // namespace vb
