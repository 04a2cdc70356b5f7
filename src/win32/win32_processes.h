#pragma once
// Programs started with CreateProcessA and waited for on the calling thread.
#include "toolkit/processes.h"

namespace velmora {

class Win32Processes : public Processes {
public:
    std::optional<StartedProcess> start(const std::string& commandLine) override;
    void waitForExit(ProcessHandle process) override;
    void closeHandle(ProcessHandle handle) override;
};

}  // namespace velmora
