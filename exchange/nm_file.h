// The N-M relation file: per ticked column its base (and SRC section) data,
// then per ticked load state and direction the N,M points of its curves, as
// CP932 text with CR LF line ends.
#pragma once

#include "drawing/nm_engine.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace exchange {

// What the export dialog hands over.
struct NMFileChoices {
    std::string path;
    // Entry i - 1 ticks column i; columns beyond the end are not written.
    std::vector<bool> lvwColumn;
    // By the engine's Condition: (0) ultimate, (1) short-term, (2) long-term.
    std::array<bool, 3> chkDrawNMMode{};
    // SRC curves: superposed, steel column, base, rebar, concrete.
    std::array<bool, 5> chkDrawNMObj{};
    // The division count as the box holds it.
    std::string txtDevNum;
};

// The column rank of column i in direction d; the program asks the engine
// through model::GetSrcColumnRank.
using RankOf = std::function<std::string(int16_t, int16_t)>;

// The leading number of a text rounded half to even, 0 when there is none;
// plus or minus infinity when it lies beyond a double.
double LeadingCount(const std::string& text);

// The division count of the text as a 16-bit number; throws
// model::Refusal when it does not fit.
int16_t DivisionCount(const std::string& text);

// The whole file for the project in gCond, gColumns and gKvBase, driving the
// engine, which must use the display units (gSIDisp). Engine failures pass
// to the caller.
std::string BuildNMFile(drawing::NMEngine& engine, const NMFileChoices& choices, const RankOf& rankOf);

// Builds the file and writes it in one go to choices.path; only then is
// gCond.DevNum set to the count. A failure (count, engine, file) throws and
// leaves the old file and DevNum as they were.
void WriteNMFile(drawing::NMEngine& engine, const NMFileChoices& choices, const RankOf& rankOf);
// The same on the program's engine gKv, after setting its unit system.
void WriteNMFile(const NMFileChoices& choices);

// WriteNMFile with a failure told to the user, naming the file; true when
// the file was written.
bool ExportNMFile(drawing::NMEngine& engine, const NMFileChoices& choices, const RankOf& rankOf);
bool ExportNMFile(const NMFileChoices& choices);

}  // namespace exchange
