// Arrays with fixed, documented bounds (1-based stays 1-based). Every access
// is checked: a bad index is the run-time error 9, never a silent read.
#pragma once

#include "platform/text/vberror.h"

#include <array>
#include <cstddef>
#include <string>

namespace vb {

[[noreturn]] inline void ThrowSubscript(long index, long lo, long hi) {
    throw Error(kErrSubscript, "Subscript out of range (" + std::to_string(index) + " not in " +
                                   std::to_string(lo) + ".." + std::to_string(hi) + ")");
}

template <typename T, long Lo, long Hi>
class Array {
    static_assert(Hi >= Lo, "empty bounds");

public:
    static constexpr long lbound() { return Lo; }
    static constexpr long ubound() { return Hi; }
    static constexpr std::size_t size() { return static_cast<std::size_t>(Hi - Lo + 1); }

    T& operator()(long i) { return data_[slot(i)]; }
    const T& operator()(long i) const { return data_[slot(i)]; }
    T& operator[](long i) { return data_[slot(i)]; }
    const T& operator[](long i) const { return data_[slot(i)]; }

    void fill(const T& v) { data_.fill(v); }
    auto begin() { return data_.begin(); }
    auto end() { return data_.end(); }
    auto begin() const { return data_.begin(); }
    auto end() const { return data_.end(); }
    bool operator==(const Array&) const = default;

private:
    static std::size_t slot(long i) {
        if (i < Lo || i > Hi) ThrowSubscript(i, Lo, Hi);
        return static_cast<std::size_t>(i - Lo);
    }
    std::array<T, size()> data_{};
};

template <typename T, long Lo1, long Hi1, long Lo2, long Hi2>
class Array2 {
public:
    T& operator()(long i, long j) { return rows_(i)(j); }
    const T& operator()(long i, long j) const { return rows_(i)(j); }
    void fill(const T& v) {
        for (auto& r : rows_) r.fill(v);
    }
    bool operator==(const Array2&) const = default;

private:
    Array<Array<T, Lo2, Hi2>, Lo1, Hi1> rows_{};
};

}  // namespace vb
