#include "model/format.h"

#include "model/globals.h"
#include "platform/text/vb.h"

#include <cmath>

namespace model {

std::string FormatInteger(int32_t value)
{
    return std::to_string(value);
}

std::string FormatReal(double value, int16_t decimals)
{
    std::string pattern = "###############0";
    if (decimals < 0) {
        pattern += ".####";
    } else if (decimals > 0) {
        pattern += '.';
        pattern.append(static_cast<std::size_t>(decimals), '0');
    }
    std::string s = vb::Trim(vb::Format(value, pattern));
    if (decimals < 0 && !s.empty() && s.back() == '.') s.pop_back();
    return s;
}

std::string FormatDesignFactor(double value)
{
    std::string s = FormatReal(value, -1);
    const auto point = s.find('.');
    if (point == std::string::npos) return s + ".00";
    if (s.size() - point < 3) s.append(3 - (s.size() - point), '0');
    return s;
}

double RoundDesignFactor(double value)
{
    if (!std::isfinite(value)) return value;
    return std::round(value * 10000.0) / 10000.0;
}

std::string FormatSignificant(double value, int16_t figures)
{
    if (figures < 1) return {};
    // Neither infinity nor NaN has figures to show; the search below would
    // not end for infinity.
    if (!std::isfinite(value)) return "No Suport";
    const double limit = std::pow(10.0, figures);
    if (value >= limit) {
        int i = 1;
        while (!(std::pow(10.0, figures + i) > value)) ++i;
        return FormatValue(value / std::pow(10.0, i), 0) + std::string(static_cast<std::size_t>(i), '0');
    }
    if (value < 0.1) return "No Suport";
    int i = 0;
    while (i < figures && !(std::pow(10.0, i) > value)) ++i;
    return FormatValue(value, static_cast<int16_t>(figures - i));
}

std::string FormatFc(double fc)
{
    if (gSIDisp && std::fabs(fc - std::floor(fc)) > 0.1) return vb::Format(fc, "##.#");
    return vb::Format(fc, "###");
}

std::string SrcLimitForceText(double negated)
{
    // The engine's "no limit", negated.
    constexpr double kNoLimit = -9e10;
    return negated < kNoLimit ? "なし" : vb::Format(negated, "#######.## ");
}

std::string GetJadgeText(int16_t code)
{
    if (code > 0) return "OK*";
    if (code == 0) return "NG ";
    return "OK ";
}

}  // namespace model
