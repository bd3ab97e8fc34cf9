// The catalogue side of the base choice for an imported column: the models
// that suit the column and the anchor-bolt diameters of a model.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace exchange {

// The import's own fit of an H base (inner sizes E, F, W, G) over an H column
// (H, B, tw, tf), mm; the first failing test decides.
bool msub_CheckBaseFits(double E, double F, double W, double G, double H, double B, double tw, double tf);

struct ImportKvCandidates {
    // The nominal size of the column's 柱成 is in table 柱.
    bool sized = false;
    // Model names that may be offered, in query order.
    std::vector<std::string> names;
    // ID of the first row the query returned, listed or not; 0 without rows.
    int32_t firstId = 0;
};

// Candidates of a box or round (ColV 0, 1) or H (ColV 2) column; other kinds
// get none. Catalogue failures are thrown.
ImportKvCandidates ListImportKvCandidates(const model::ColumnDataTbl& col);

// ID of the first model of that name; 0 when there is none.
int32_t ImportKvIdOfName(const std::string& name);

struct ImportKvBolts {
    int16_t kvV = 0;
    // "M24" and so on; empty for series 2.
    std::vector<std::string> diameters;
};

// The model's bolt diameters; a model that is not in the catalogue has none.
ImportKvBolts ImportKvDiameters(int32_t kvId);

}  // namespace exchange
