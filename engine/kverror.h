// Engine failures. The engine catches nothing: a failing step throws and the
// caller of the property decides. Catalogue errors keep the store's numbers.
#pragma once

#include "platform/store/store.h"
#include "platform/text/vberror.h"

#include <cmath>
#include <string>

namespace kv {

using Error = vb::Error;

// Catalogue content the engine cannot work with (not a store failure).
inline constexpr int kErrCatalogue = 3021;

// A catalogue row that a model needs is not there. Without its row in the
// model table the model itself is missing; otherwise one of its data rows.
// The number stays the store's, so callers that go by it see no change.
class MissingRow : public store::StoreError {
public:
    MissingRow(long modelId, bool modelRow, const std::string& sql)
        : store::StoreError(store::kErrNoCurrentRecord, "No current record: " + sql), modelId_(modelId),
          modelRow_(modelRow)
    {
    }
    long modelId() const noexcept { return modelId_; }
    bool modelRow() const noexcept { return modelRow_; }

private:
    long modelId_;
    bool modelRow_;
};

[[noreturn]] inline void Fail(int number, const std::string& text) { throw Error(number, text); }

// Arithmetic that must not quietly turn into inf or NaN.
inline double Div(double a, double b) {
    if (b == 0.0) Fail(vb::kErrDivByZero, "Division by zero");
    const double q = a / b;
    if (!std::isfinite(q)) Fail(vb::kErrOverflow, "Overflow");
    return q;
}

inline double Sqrt(double x) {
    if (x < 0.0 || std::isnan(x)) Fail(vb::kErrInvalidCall, "Invalid procedure call or argument (square root of a negative number)");
    return std::sqrt(x);
}

}  // namespace kv
