// The column list as a CSV file: name, model, overall verdict, rebar zone and
// concrete strength of every column.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <functional>
#include <string>

namespace model {

// "abc.kud" -> "abc.csv", "a.b.kud" -> "a.csv", "abc" -> "abc.csv".
std::string CsvPresetName(const std::string& fileName);

// "OK", "OK*", "NG(M)" or "NG(Q)" over the checked cases of both directions;
// the last failing check decides. A case's shear counts only where its
// moment is not NG (the ultimate moment only with ultJadge), as the result
// table shows it.
std::string GetColumnVerdictText(const ColumnResultTbl& res, bool ultJadge);
// The column list's and the printed reports' name of the same verdict.
std::string GetColumnJudgeText(const ColumnResultTbl& res, bool ultJadge);
// Whether the moment of case k in direction d is judged and NG: its shear is
// then not checked.
bool CaseMomentNG(const ColumnResultTbl& res, bool ultJadge, long d, long k);
// "(Ⅰ)" or "(Ⅱ)" of a governing rebar zone, empty for any other number. SRC
// columns have no zone: the callers leave the mark out there.
std::string GetZoneMarkText(int16_t zone);

// The file's bytes (CP932, CR LF) for the project in gCond, gColumns,
// gKvBase and gResults. zoneOf(i) gives column i's governing rebar zone in
// S mode (1 or 2); it must not change the project.
std::string BuildColumnListCsv(const std::function<int16_t(long)>& zoneOf);

}  // namespace model
