// Starting another program and waiting for its end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace model {

struct ProcessOutcome {
    bool started = false;
    int exitCode = 0;
    std::string error;  // why it could not be started
};

// The seam the hand-over runs its program through; tests may put an
// in-process fake in its place.
class IProcessRunner {
public:
    virtual ~IProcessRunner() = default;
    // Starts program with args (no shell) and returns after it has ended;
    // the wait goes through the user interface, polling every pollMs.
    virtual ProcessOutcome ShellWait(const std::string& program, const std::vector<std::string>& args,
                                     int32_t pollMs) = 0;
};

class zDLShell final : public IProcessRunner {
public:
    ProcessOutcome ShellWait(const std::string& program, const std::vector<std::string>& args,
                             int32_t pollMs) override;
};

}  // namespace model
