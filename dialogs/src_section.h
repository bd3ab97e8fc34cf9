// The built-up steel of an SRC column: its section properties per direction,
// and the texts of the share ratios and limit axial forces the SRC column
// dialog shows.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <string>

namespace srcdlg {

// Section properties SrcColSpec(d, 0..3) = sA (cm2), sZ (cm3), sZp (cm3),
// spc of the column's kind ColV 3..7 from SrcHDim (mm) and the RC size cD
// (mm). Returns false and leaves spec as it was for another kind or when a
// dimension the formulas divide by is not above zero.
bool CalcSrcSteelSection(const model::ColumnDataTbl& col, decltype(model::ColumnDataTbl::SrcColSpec)& spec);

// Tension bars across direction d: (RtN(other) - 2) * 2 - RTensN(d) - RmN(d),
// in full (the record's field holds it only within 16 bits).
int CrossTieBars(const model::ColumnDataTbl& col, int d);

// A share ratio as shown ("0.000", trimmed) and its judgement.
std::string RatioText(double ratio);
bool RatioOK(double ratio, double limit);
// The limit axial force of one direction: "なし" above 9e10, else the
// negated value as Format "#######.## " (with its trailing blank).
std::string LimitText(double tCrit);
// The limit line: unit, X value, Y value.
std::string LimitLine(bool siDisplay, double tCritX, double tCritY);

}  // namespace srcdlg
