#pragma once
// Starting a program, reading what it reports on its standard output, and
// waiting for it or ending it, as the engine run needs it.
#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

using ProcessHandle = std::uint64_t;

struct StartedProcess {
    ProcessHandle process = 0;
    ProcessHandle thread = 0;
    // Our end of the pipe that is the program's standard output.
    ProcessHandle output = 0;
};

class Processes {
public:
    virtual ~Processes() = default;

    // Starts a program from one command line and nothing else: no separate
    // program path, the parent's environment and current folder, no window
    // of its own. Its standard output is a pipe, the one handle it
    // inherits; closing `output` makes its next write there fail. Nothing
    // when the start fails.
    virtual std::optional<StartedProcess> start(const std::string& commandLine) = 0;
    // Waits until the process has ended or `milliseconds` have passed (0:
    // only looks); true once it has ended.
    virtual bool waitForExit(ProcessHandle process, unsigned milliseconds) = 0;
    // What the program has written to `output` and nobody has read yet,
    // without waiting; "" when there is nothing.
    virtual std::string readOutput(ProcessHandle output) = 0;
    // Ends the process for sure, at once; it does nothing more of its own.
    virtual void terminate(ProcessHandle process) = 0;
    virtual void closeHandle(ProcessHandle handle) = 0;
};

}  // namespace velmora
