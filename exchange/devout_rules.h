// The division count box of the N-M export dialog: what leaving it and a
// click on its spinner make of the text.
#pragma once

#include <string>

namespace exchange {

// Leaving the box: a count above 100 becomes "100", one below 4 (or no
// number) "4"; a count in between stays as typed.
std::string DevNumOnLeave(const std::string& text);

// The spinner resting at 3 was moved to barValue: 2 or less counts up (not
// beyond 100), 4 or more counts down (not below 4), by one.
std::string DevNumSpin(const std::string& text, int barValue);

}  // namespace exchange
