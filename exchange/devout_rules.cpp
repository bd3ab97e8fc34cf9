#include "exchange/devout_rules.h"

#include "exchange/nm_file.h"
#include "platform/text/vb.h"

#include <cmath>

namespace exchange {

std::string DevNumOnLeave(const std::string& text)
{
    const double n = LeadingCount(text);
    if (n > 100) return "100";
    if (n < 4) return "4";
    return text;
}

std::string DevNumSpin(const std::string& text, int barValue)
{
    double n = LeadingCount(text);
    // A count beyond a double steps from the nearest end of the range.
    if (std::isinf(n)) n = n > 0 ? 101 : 3;
    if (barValue <= 2 && n < 100) return vb::CStr(n + 1);
    if (barValue >= 4 && n > 4) return vb::CStr(n - 1);
    return text;
}

}  // namespace exchange
