// The design table of a column, derived from its load table.
#pragma once

#include "model/records.h"

#include <cstdint>

namespace model {

// Writes row k (1..6) of des from the same row of load; any other k writes
// nothing. Reads gCond and gShortLoadKind.
void BuildDesignStressTable(DesignTable& des, const LoadTable& load, int16_t k);

// All six rows of column gCurCol, and of column iCol.
void BuildCurrentDesignStresses();
void BuildDesignStresses(int16_t iCol);

// The six-case table of old project files into the load table.
void MapImportedStresses(LoadTable& dst, const OldStressTable& src);

void ClearStressTable(LoadTable& t);

}  // namespace model
