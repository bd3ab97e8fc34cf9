// Numbers, concrete strengths and verdicts as the program shows them.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace model {

std::string FormatInteger(int32_t value);
std::string FormatReal(double value, int16_t decimals);

// The value's kind decides: 16- and 32-bit integers are written whole
// (decimals ignored), single and double with a digit pattern chosen by
// decimals, every other kind (Boolean, byte, text, empty) gives "".
// Other integer widths do not compile: the caller picks the kind.
template <typename T>
std::string FormatValue(const T& value, int16_t decimals)
{
    using V = std::remove_cvref_t<T>;
    if constexpr (std::same_as<V, int16_t> || std::same_as<V, int32_t>) {
        return FormatInteger(value);
    } else if constexpr (std::same_as<V, double> || std::same_as<V, float>) {
        return FormatReal(static_cast<double>(value), decimals);
    } else if constexpr (std::same_as<V, bool> || std::same_as<V, uint8_t> || std::same_as<V, std::monostate> ||
                         std::is_convertible_v<const V&, std::string_view>) {
        return {};
    } else {
        static_assert(!std::is_arithmetic_v<V>, "FormatValue: pass an int16_t, int32_t, float or double");
        return {};
    }
}

// A design factor (gamma, alpha 1, alpha 2) as boxes and pages show it: two
// to four decimals, all a stored factor has (see RoundDesignFactor).
std::string FormatDesignFactor(double value);
// A typed factor kept as its text can show it: to four decimals. A number
// with four decimals or fewer stays the same double.
double RoundDesignFactor(double value);

// value to `figures` significant figures; "No Suport" below 0.1.
std::string FormatSignificant(double value, int16_t figures);

// Concrete strength in the displayed unit (reads gSIDisp).
std::string FormatFc(double fc);

// "OK*", "NG " or "OK ".
std::string GetJadgeText(int16_t code);

// A limit axial force of an SRC base as shown and printed (the engine's value
// negated): "なし" below -9e10, else at most two decimals with the point and
// one trailing blank.
std::string SrcLimitForceText(double negated);

}  // namespace model
