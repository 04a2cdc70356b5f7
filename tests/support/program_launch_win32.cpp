#include <windows.h>

#include <vector>

#include "tests/support/program_launch.h"

namespace velmora::test {

namespace {

// Starts the command line; `flags` for CreateProcessA.
bool start(const std::string& commandLine, DWORD flags, PROCESS_INFORMATION& process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup, &process);
}

int waitFor(PROCESS_INFORMATION& process) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    process.hProcess = process.hThread = nullptr;
    return static_cast<int>(code);
}

}  // namespace

int runCommandLine(const std::string& commandLine) {
    PROCESS_INFORMATION process = {};
    if (!start(commandLine, 0, process)) return -1;
    return waitFor(process);
}

// The build names it by its Unix path; Wine shows the root as drive Z:.
std::string parseTarnPath() {
    std::string path = PARSETARN_PATH;
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/') c = '\\';
        path = "Z:" + path;
    }
    return path;
}

struct RunningProgram::Process {
    PROCESS_INFORMATION info = {};
};

namespace {

// The test process survives the Ctrl+C it sends to its own console.
BOOL WINAPI ignore(DWORD) { return TRUE; }

}  // namespace

RunningProgram::RunningProgram(const std::string& commandLine) : process_(std::make_unique<Process>()) {
    // A console of the test's own, so that a Ctrl+C reaches only the
    // programs it starts; Wine sends no Ctrl+Break to a process group.
    static const bool console = FreeConsole(), ready = AllocConsole() && SetConsoleCtrlHandler(ignore, TRUE);
    (void)console;
    if (!ready || !start(commandLine, 0, process_->info)) process_->info = {};
}

RunningProgram::~RunningProgram() {
    if (process_->info.hProcess) {
        kill();
        waitFor(process_->info);
    }
}

bool RunningProgram::started() const { return process_->info.hProcess != nullptr; }

void RunningProgram::kill() { TerminateProcess(process_->info.hProcess, 1); }

void RunningProgram::interrupt() { GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0); }

int RunningProgram::wait() { return process_->info.hProcess ? waitFor(process_->info) : -1; }

}  // namespace velmora::test
