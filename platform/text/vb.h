// Number and string rules of the language the program was first written in.
// Results must match the old program digit for digit, because they end up in
// verdicts, files and printed reports.
//
// Text in and out is locale-independent: the decimal point is always '.'.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/vberror.h"

namespace vb {

// Round half to even (2.5 -> 2, 3.5 -> 4, -1.5 -> -2); vb::Overflow when the
// rounded value does not fit, or x is not a number.
std::int16_t CInt(double x);
std::int32_t CLng(double x);

// Half to even at `digits` decimals, applied to the double x * 10^digits as
// the multiplication leaves it: Round(1.005, 2) is 1 because the product is
// 100.49999999999999, while Round(2.675, 2) is 2.68 because it is 267.5.
// Negative digits throw vb::InvalidCall.
double Round(double x, int digits = 0);

double Int(double x);  // toward minus infinity
double Fix(double x);  // toward zero

// The value Format shows at `decimals` places: the number is first taken to
// 15 significant digits, then rounded half away from zero on those decimal
// digits (so 2.5 -> 3, -0.5 -> -1, 2.675 at 2 places -> 2.68).
double FormatRound(double x, int decimals);

// Numeric patterns made of '0' (digit always shown), '#' (digit shown when
// significant), one '.', and ',' in the integer part for thousands grouping.
// Text before and after the number part is copied, a '%' there multiplies by
// 100. Rounding as FormatRound. Like the original, an integer part with no '0'
// shows nothing for zero (Format(0, "####") = "", Format(0.5, "#.00") = ".50")
// and a point with only '#' after it stays (Format(5, "#.##") = "5.").
// A value that rounds to zero gets no minus sign (Format(-0.001, "0.00") =
// "0.00"). An empty pattern gives CStr(x).
// Not supported: sections (';'), exponents, quoted literals, scaling commas.
std::string Format(double x, std::string_view pattern);

// Str: 15 significant digits, a blank before non-negative numbers, no zero
// before the point (" .5", "-.5"), exponent form from 1E+15 up and below
// 1E-04 (" 1E+16", " 1.5E-07").
std::string Str(double x);
// CStr: the same digits, but no leading blank and the zero before the point
// kept ("0.5", "-0.5", "24", "1E+16").
std::string CStr(double x);

// The longest numeric prefix, skipping blanks, tabs and line feeds anywhere
// (" 1 2" -> 12, "12abc" -> 12, "" -> 0). Accepts sign, point, exponent E or
// D, and &H / &O (or bare &) radix prefixes; a radix value up to &HFFFF is
// read as a signed 16-bit number and one up to &HFFFFFFFF as a signed 32-bit
// number (&HFFFF = -1, &H10000 = 65536).
// vb::Overflow when the number is too large for a double or for 32 bits.
double Val(std::string_view s);

// Whitespace around, a sign, digits with thousands commas, a point, an
// exponent; or &H / &O radix numbers. Currency symbols and parenthesised
// negatives are not accepted.
bool IsNumeric(std::string_view s);

// Only the ASCII blank is removed: tabs, NULs and the full-width blank stay.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);

// ASCII letters and the full-width Latin letters; every other character is
// left as it is.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);

}  // namespace vb
