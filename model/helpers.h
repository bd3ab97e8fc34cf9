// Small database and numeric helpers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace store {
class Database;
}

namespace model {

// Rows that the query gives, counted on a result set of its own so that the
// caller's result set keeps its position; -1 when the query fails.
int32_t GetRecordCount(store::Database& db, const std::string& jetSql);

// Exact, case-sensitive test of the database's table names.
bool TableExists(const store::Database& db, const std::string& name);

// values(1..count) sorted ascending without repeats (or without neighbours
// closer than tolerance); values is rebuilt as 0..n with element 0 = 0 and
// count := n. A negative tolerance keeps every value.
void SortDoubles(std::vector<double>& values, int32_t& count, double tolerance);

// A value of any kind as a double; 0 when it cannot be converted. Text is a
// plain decimal number with an optional exponent, blanks around allowed.
double SafeCDbl(double v);
double SafeCDbl(int32_t v);
double SafeCDbl(bool v);
double SafeCDbl(std::string_view v);
inline double SafeCDbl(const char* v) { return v ? SafeCDbl(std::string_view(v)) : 0.0; }
inline double SafeCDbl(const std::string& v) { return SafeCDbl(std::string_view(v)); }
inline double SafeCDbl(std::monostate) { return 0.0; }  // the empty value
double SafeCDbl(const std::optional<std::string>& v);    // nullopt is a null

}  // namespace model
