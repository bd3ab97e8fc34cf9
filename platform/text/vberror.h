// Run-time errors with the numbers the program has always reported
// (6 overflow, 9 subscript out of range, 11 division by zero, ...).
#pragma once

#include <stdexcept>
#include <string>

namespace vb {

class Error : public std::runtime_error {
public:
    Error(int number, const std::string& text) : std::runtime_error(text), number_(number) {}
    int number() const noexcept { return number_; }

private:
    int number_;
};

enum ErrNumber : int {
    kErrInvalidCall = 5,
    kErrOverflow = 6,
    kErrSubscript = 9,
    kErrDivByZero = 11,
    kErrTypeMismatch = 13,
};

class Overflow : public Error {
public:
    Overflow() : Error(kErrOverflow, "Overflow") {}
};

// A negative length, a start before the first character, negative digits.
class InvalidCall : public Error {
public:
    InvalidCall() : Error(kErrInvalidCall, "Invalid procedure call or argument") {}
};

}  // namespace vb
