#pragma once
// Programs started with CreateProcessA, their standard output read through
// an anonymous pipe without blocking.
#include "src/toolkit/processes.h"

namespace velmora {

class Win32Processes : public Processes {
public:
    std::optional<StartedProcess> start(const std::string& commandLine) override;
    bool waitForExit(ProcessHandle process, unsigned milliseconds) override;
    std::string readOutput(ProcessHandle output) override;
    void terminate(ProcessHandle process) override;
    void closeHandle(ProcessHandle handle) override;
};

}  // namespace velmora
