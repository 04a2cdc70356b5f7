#pragma once
// Processes in memory, on a clock of their own that moves only while the
// caller waits with a time limit or the test calls pass(). A test plays the
// started program: when it ends, what it writes on its output and when,
// whether closing its output stops it, and `program`, its effect (such as
// the results file), which runs when it ends on its own. Every start, stop
// and close is logged.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "src/toolkit/processes.h"

namespace velmora {

class ScriptedProcesses : public Processes {
public:
    // The program started next; gets the command line.
    std::function<void(const std::string& commandLine)> program;
    bool failStart = false;
    // When it ends on its own, in milliseconds after its start; nothing:
    // it runs until it is stopped.
    std::optional<unsigned> endsAfter = 0;
    // What it writes on its output: milliseconds after its start, text.
    std::vector<std::pair<unsigned, std::string>> output;
    // Whether a closed output stops it, as it stops the engine; otherwise
    // only terminate() does.
    bool stopsWhenOutputCloses = true;

    // How the last started program ended.
    enum class End { Running, OnItsOwn, OutputClosed, Terminated };
    End lastEnd() const;

    // Moves the clock on.
    void pass(unsigned milliseconds) { now_ += milliseconds; }

    std::vector<std::string> commandLines;  // every start asked for
    // "start", "terminate <handle>", "close <handle>" in call order.
    std::vector<std::string> log;
    std::size_t openHandleCount() const { return open_.size(); }

    std::optional<StartedProcess> start(const std::string& commandLine) override;
    bool waitForExit(ProcessHandle process, unsigned milliseconds) override;
    std::string readOutput(ProcessHandle outputHandle) override;
    void terminate(ProcessHandle process) override;
    void closeHandle(ProcessHandle handle) override;

private:
    struct Run {
        std::string commandLine;
        unsigned long long startedAt = 0;
        std::optional<unsigned> endsAfter;
        std::vector<std::pair<unsigned, std::string>> output;
        bool stopsWhenOutputCloses = true;
        ProcessHandle outputHandle = 0;
        std::size_t written = 0;  // output entries read so far
        End end = End::Running;
        unsigned long long endedAt = 0;
    };
    // The run catches up with the clock: it ends on its own when its time
    // has come.
    void settle(Run& run);
    Run* runOf(ProcessHandle process);
    Run* runWithOutput(ProcessHandle outputHandle);

    std::map<ProcessHandle, Run> runs_;
    std::vector<ProcessHandle> open_;
    ProcessHandle lastStarted_ = 0;
    ProcessHandle next_ = 4;
    unsigned long long now_ = 0;
};

}  // namespace velmora
