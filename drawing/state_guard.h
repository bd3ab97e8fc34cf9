// Drawing state changed for one call (pen colour, fill, width) is set back
// even when the call fails. On the normal path restore() runs the actions and
// lets their failures through; on the failure path the destructor runs them
// and keeps the first failure, which is the one the caller sees.
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace drawing {

class StateGuard {
public:
    StateGuard() = default;
    StateGuard(const StateGuard&) = delete;
    StateGuard& operator=(const StateGuard&) = delete;
    ~StateGuard() {
        while (!actions_.empty()) {
            auto f = std::move(actions_.back());
            actions_.pop_back();
            try {
                f();
            } catch (...) {
            }
        }
    }

    template <typename F>
    void onExit(F&& f) {
        actions_.emplace_back(std::forward<F>(f));
    }

    // Runs the actions, last registered first.
    void restore() {
        while (!actions_.empty()) {
            auto f = std::move(actions_.back());
            actions_.pop_back();
            f();
        }
    }

private:
    std::vector<std::function<void()>> actions_;
};

}  // namespace drawing
