// The stress table of the calculation sheet: design stresses, capacities,
// ratios, verdicts and zones of one column in X and Y for the long-term,
// short-term and ultimate cases, with its notes on "NG" and "OK*" verdicts.
#pragma once

#include "drawing/print_out.h"
#include "platform/text/fixed_text.h"

#include <array>
#include <cstdint>
#include <string>

namespace reports {

// A number of the report tables with two decimals, right-aligned in nine
// characters. A value that needs more is kept whole (PrintCell condenses it
// to its cell) rather than losing its digits or its sign; only a value that
// is not a number at all prints as nine "*".
std::string NumberCell(double value);
// Prints a cell's text at (x, y) as it is when it has at most nine characters
// and its first mark stands right of the cell's left rule `left`. Otherwise
// (a wide number, or one whose field starts left of the rule) the number
// ends where its field would, at most a millimetre short of the next rule
// `right`, and is condensed where it would reach over `left`.
void PrintCell(drawing::clsPrintOut& po, double x, double y, const std::string& text, double left, double right);
// A verdict ("    OK ", "    NG ", "    OK*") and a zone label ("    1a ") as
// the tables print them.
std::string VerdictCell(int16_t code);
std::string ZoneCell(const text::FixedText<3>& zone);
// An ultimate moment that is not judged, and a shear cell not checked
// because the moment is not plainly OK.
inline constexpr const char* kDashCell = "    -";
inline constexpr const char* kSkippedCell = "    -  *";

// The grid lines of the table, in millimetres; each row line is the previous
// one plus the row height, as the ruling adds them.
std::array<double, 12> StressTableLineX();
std::array<double, 14> StressTableLineY();

// Draws the block from its caption "応力算定表" at (20, 65.5) to its notes.
// Reads only the column's results, the project's ultimate and structure
// settings, the unit factor and the printed short-term kind; expects the
// report font at 8 points in black and leaves the pen width 1 and size 7.
void PrintStressTable(drawing::clsPrintOut& po, int16_t iCol);

}  // namespace reports
