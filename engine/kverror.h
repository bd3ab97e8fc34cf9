// Engine failures. The engine catches nothing: a failing step throws and the
// caller of the property decides. Catalogue errors keep the store's numbers.
#pragma once

#include "platform/text/vberror.h"

#include <cmath>
#include <string>

namespace kv {

using Error = vb::Error;

// Catalogue content the engine cannot work with (not a store failure).
inline constexpr int kErrCatalogue = 3021;

[[noreturn]] inline void Fail(int number, const std::string& text) { throw Error(number, text); }

// Arithmetic that must not quietly turn into inf or NaN.
inline double Div(double a, double b) {
    if (b == 0.0) Fail(vb::kErrDivByZero, "Division by zero");
    const double q = a / b;
    if (!std::isfinite(q)) Fail(vb::kErrOverflow, "Overflow");
    return q;
}

inline double Sqrt(double x) {
    if (x < 0.0 || std::isnan(x)) Fail(vb::kErrInvalidCall, "Invalid procedure call or argument (square root of a negative number)");
    return std::sqrt(x);
}

}  // namespace kv
