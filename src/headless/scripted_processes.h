#pragma once
// Processes in memory: a test plays the started program in `program`,
// which runs while the caller waits for it (so a caller that never waits
// never sees its output). Every call is logged.
#include <functional>
#include <string>
#include <vector>

#include "toolkit/processes.h"

namespace velmora {

class ScriptedProcesses : public Processes {
public:
    // The started program; gets the command line.
    std::function<void(const std::string& commandLine)> program;
    bool failStart = false;

    std::vector<std::string> commandLines;  // every start asked for
    // "start", "wait <handle>", "close <handle>" in call order.
    std::vector<std::string> log;
    std::size_t openHandleCount() const { return open_.size(); }

    std::optional<StartedProcess> start(const std::string& commandLine) override;
    void waitForExit(ProcessHandle process) override;
    void closeHandle(ProcessHandle handle) override;

private:
    std::vector<ProcessHandle> open_;
    std::vector<std::pair<ProcessHandle, std::string>> running_;
    ProcessHandle next_ = 4;
};

}  // namespace velmora
