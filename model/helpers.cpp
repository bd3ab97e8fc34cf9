#include "model/helpers.h"

#include "platform/store/store.h"
#include "platform/text/vbarray.h"

#include <charconv>
#include <cmath>
#include <exception>

namespace model {

int32_t GetRecordCount(store::Database& db, const std::string& jetSql)
{
    try {
        store::Recordset rs = db.openRecordset(jetSql);
        int32_t n = 0;
        for (; !rs.eof(); rs.moveNext()) ++n;
        rs.close();
        return n;
    } catch (const std::exception&) {
        return -1;
    }
}

bool TableExists(const store::Database& db, const std::string& name)
{
    return db.tableExists(name);
}

void SortDoubles(std::vector<double>& values, int32_t& count, double tolerance)
{
    if (count <= 1) return;
    if (static_cast<std::size_t>(count) >= values.size()) {
        vb::ThrowSubscript(count, 0, static_cast<long>(values.size()) - 1);
    }
    std::vector<double> copy(values.begin(), values.begin() + count + 1);  // 1-based, copy[0] unused
    for (int32_t gap = count / 2; gap >= 1; gap /= 2) {
        for (int32_t i = 1; i <= count - gap; ++i) {
            for (int32_t j = i; j >= 1 && copy[static_cast<std::size_t>(j)] > copy[static_cast<std::size_t>(j + gap)];
                 j -= gap) {
                std::swap(copy[static_cast<std::size_t>(j)], copy[static_cast<std::size_t>(j + gap)]);
            }
        }
    }
    std::vector<double> kept{0.0, copy[1]};
    for (int32_t i = 2; i <= count; ++i) {
        const double v = copy[static_cast<std::size_t>(i)];
        const double last = kept.back();
        const bool keep = tolerance == 0 ? v != last : std::fabs(last - v) >= tolerance;
        if (keep) kept.push_back(v);
    }
    count = static_cast<int32_t>(kept.size()) - 1;
    values = std::move(kept);
}

double SafeCDbl(double v) { return v; }
double SafeCDbl(int32_t v) { return v; }
double SafeCDbl(bool v) { return v ? -1.0 : 0.0; }

double SafeCDbl(std::string_view v)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!v.empty() && isBlank(v.front())) v.remove_prefix(1);
    while (!v.empty() && isBlank(v.back())) v.remove_suffix(1);
    bool negative = false;
    if (!v.empty() && (v.front() == '+' || v.front() == '-')) {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    // Digits or a point must start the number: no "inf", "nan" or hex forms.
    if (v.empty() || !((v.front() >= '0' && v.front() <= '9') || v.front() == '.')) return 0.0;
    double d = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), d, std::chars_format::general);
    if (ec != std::errc() || end != v.data() + v.size()) return 0.0;
    return negative ? -d : d;
}

double SafeCDbl(const std::optional<std::string>& v)
{
    return v ? SafeCDbl(std::string_view(*v)) : 0.0;
}

}  // namespace model
