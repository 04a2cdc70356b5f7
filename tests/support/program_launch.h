#pragma once
// Starting a real program from one command line and waiting for its exit
// status, as the utility starts the engine; acting on it while it runs.
// One file per platform.
#include <memory>
#include <string>

namespace velmora::test {

// -1 when it could not be started.
int runCommandLine(const std::string& commandLine);

// The path of the built ParseTarn as this platform names it.
std::string parseTarnPath();

// A program running from a command line, its output discarded.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& commandLine);
    ~RunningProgram();
    bool started() const;
    // Asks it to stop as an operator does: SIGTERM on POSIX, Ctrl+C on
    // Windows (on a console of the test's own).
    void interrupt();
    // Ends it at once, as the task manager or SIGKILL does.
    void kill();
    // Its exit status; -1 when it did not end normally.
    int wait();

    struct Process;

private:
    std::unique_ptr<Process> process_;
};

}  // namespace velmora::test
