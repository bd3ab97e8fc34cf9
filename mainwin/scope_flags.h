// Flags and settings the main window holds for the length of one step; they
// are put back when the step ends, also when an exception leaves it.
#pragma once

#include <utility>

// The value given for the scope, the former one back at its end.
template <typename T>
class RestoreOnExit {
public:
    explicit RestoreOnExit(T& value) : value_(value), saved_(value) {}
    RestoreOnExit(T& value, T during) : RestoreOnExit(value) { value_ = std::move(during); }
    ~RestoreOnExit() { value_ = saved_; }
    RestoreOnExit(const RestoreOnExit&) = delete;
    RestoreOnExit& operator=(const RestoreOnExit&) = delete;

private:
    T& value_;
    T saved_;
};

// Raised for the scope and lowered at its end, whatever it was before.
class RaisedFlag {
public:
    explicit RaisedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RaisedFlag() { flag_ = false; }
    RaisedFlag(const RaisedFlag&) = delete;
    RaisedFlag& operator=(const RaisedFlag&) = delete;

private:
    bool& flag_;
};
