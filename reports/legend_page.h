// The legend page of the section table: what each row symbol means and its
// unit.
#pragma once

#include "drawing/print_out.h"

#include <string>

namespace reports {

// Prints on the current page; never starts one.
void PrintLegendPage(drawing::clsPrintOut& po, int page);
// One line: the symbol, ":" gap further right, the meaning 3 further and the
// unit width beyond the meaning. text holds symbol and meaning joined by ":".
void PrintLegendLine(drawing::clsPrintOut& po, double x, double y, const std::string& text, const std::string& unit,
                     double gap, double width);

}  // namespace reports
