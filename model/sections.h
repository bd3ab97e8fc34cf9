// Steel grades, column sections and the catalogue look-ups by name.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <string>

namespace model {

// Design strength F (tf/cm2) of a grade code; 0 for an unknown code.
double GetSteelFValue(int16_t code);

// Name of a grade code; "NG" for an unknown code.
std::string GetSteelMaterialName(int16_t code);

// Code of a grade name (blanks around ignored, case counts); 999 when unknown.
int16_t GetSteelMaterialCode(const std::string& name);

enum class KvLookup {
    Found,
    NoModel,        // the catalogue has no model of that name
    NoBoltVariant,  // the model exists but no anchor-bolt variant fits
};

// Product ID, series and bolt variant of a model name and bolt diameter (mm),
// as analysis files give them. When nothing fits, kvId and abNum are 0 (no
// product chosen) and series is the model's series, or 0 without a model.
// Database failures (no catalogue) are thrown.
KvLookup GetKvIdByModelName(const std::string& name, int16_t boltSize, int32_t& kvId, int16_t& series,
                            int16_t& abNum);

// Finds the section of a box, round or H column in the catalogue and copies its
// properties; computes them when the catalogue lacks a round or H section.
void GetColumnSectionData(ColumnDataTbl& col);

// Section properties of an H section from its plates into ColSpecUser.
void CalcHSectionProps(ColumnDataTbl& col);

// The value as FormatSignificant writes it to `figures`, read back (0 when it
// is too small to be written).
double RoundSignificant(double value, int16_t figures);

}  // namespace model
