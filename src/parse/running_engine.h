#pragma once
// The engine while it runs: the progress it reports on its output, whether
// it has ended, and stopping it. Its handles are closed with this object.
#include <optional>
#include <string>

#include "engine/core/progress_line.h"
#include "src/toolkit/processes.h"

namespace velmora {

class RunningEngine {
public:
    RunningEngine(Processes& processes, const StartedProcess& started);
    ~RunningEngine();
    RunningEngine(const RunningEngine&) = delete;
    RunningEngine& operator=(const RunningEngine&) = delete;

    // Waits up to `milliseconds` for the end, then reads what the engine
    // reported meanwhile; true once it has ended.
    bool poll(unsigned milliseconds);
    bool ended() const { return ended_; }
    // The newest progress line it wrote; nothing before the first.
    const std::optional<ProgressFacts>& progress() const { return progress_; }

    // Closes our end of its output: the engine stops at its next progress
    // line and removes what it began.
    void askToStop();
    // Ends it at once, whatever it was doing.
    void terminate();

private:
    void take(const std::string& bytes);

    Processes& processes_;
    StartedProcess started_;
    bool ended_ = false;
    std::string line_;  // the line being written
    std::optional<ProgressFacts> progress_;
};

}  // namespace velmora
