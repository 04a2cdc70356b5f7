#pragma once
// Starting a program and waiting for it, as the engine run needs it.
#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

using ProcessHandle = std::uint64_t;

struct StartedProcess {
    ProcessHandle process = 0;
    ProcessHandle thread = 0;
};

class Processes {
public:
    virtual ~Processes() = default;

    // Starts a program from one command line and nothing else: no separate
    // program path, no inherited handles, no creation flags, the parent's
    // environment and current folder. Nothing when the start fails.
    virtual std::optional<StartedProcess> start(const std::string& commandLine) = 0;
    // Waits without a time limit until the process has ended.
    virtual void waitForExit(ProcessHandle process) = 0;
    virtual void closeHandle(ProcessHandle handle) = 0;
};

}  // namespace velmora
