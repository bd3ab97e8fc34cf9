// Rebar zone of a column (I or II), the pedestal rebar under an S-mode base
// from the catalogue or the default arrangement tables, and the SRC column
// rank. The forms with an IKvEngine drive that engine; the others use gKv.
#pragma once

#include "model/adapter.h"
#include "model/records.h"

#include <cstdint>
#include <string>

namespace model {

// Zone 1 or 2 of one stress point (N, |M| in stored units). The engine must
// hold the column's base inputs; it keeps the inputs set here.
int16_t CalcRebarZone(IKvEngine& kv, int16_t iCol, int16_t dir, double N, double M);
// Stores RebarZone(dir, c) of column iCol from its design stress table.
void SetCaseRebarZone(IKvEngine& kv, int16_t iCol, int16_t dir, int16_t c);
// Recomputes the four zone numbers; the largest of them, from 0.
int16_t GetGoverningRebarZone(IKvEngine& kv, int16_t iCol);
int16_t GetGoverningRebarZone(int16_t iCol);
// The largest stored zone number, from 0; nothing is computed.
int16_t MaxRebarZone(const ColumnDataTbl& col);
int16_t GetColumnRebarZone(int16_t iCol);

// Governing zone; for a base of KvV other than 0 also the pedestal data of
// column iCol from catalogue set zone + 2 * centre. A catalogue failure
// passes to the caller with the column's pedestal data unchanged.
int16_t LoadRebarZoneDetails(IKvEngine& kv, int16_t iCol, int16_t centre);
int16_t LoadRebarZoneDetails(int16_t iCol, int16_t centre);
// In S mode, a pedestal that is the catalogue set of the other zone becomes
// the set of the column's stored zone; any other pedestal, one chosen by hand
// among them, stays. True when the pedestal was replaced.
bool FollowZoneWithPedestal(ColumnDataTbl& col, const KvBaseTbl& kvb);
// The same for every column of the project, each from its own base inputs
// and the wall of its X direction.
void LoadAllRebarZoneDetails();

// The same catalogue fill for a record a dialog holds, from its stored zones.
void LoadSrcRebarDefaults(ColumnDataTbl& col, const KvBaseTbl& kvb, int16_t flag);

// The arrangement tables' key of a main bar, "D" & size & "(" & grade & ")";
// a size may be written with or without its "D".
std::string MainBarKey(const std::string& barSize, const std::string& barGrade);

// Main-bar counts and hoops from the default arrangement tables; true when an
// arrangement variant was applied.
bool ApplyDefaultArrangement(ColumnDataTbl& col, const KvBaseTbl& kvb);

// The engine's column rank for direction dir; "" in S mode. The engine must
// hold the column's base and SRC inputs.
std::string GetSrcColumnRank(IKvEngine& kv, int16_t iCol, int16_t dir);
std::string GetSrcColumnRank(int16_t iCol, int16_t dir);


}  // namespace model
