#include "win32/win32_processes.h"

#include <windows.h>

#include <vector>

namespace velmora {

namespace {

ProcessHandle toProcessHandle(HANDLE handle) {
    return static_cast<ProcessHandle>(reinterpret_cast<std::uintptr_t>(handle));
}

HANDLE toHandle(ProcessHandle handle) { return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle)); }

}  // namespace

std::optional<StartedProcess> Win32Processes::start(const std::string& commandLine) {
    // CreateProcessA may write into the command line: hand it a copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return std::nullopt;
    return StartedProcess{toProcessHandle(info.hProcess), toProcessHandle(info.hThread)};
}

void Win32Processes::waitForExit(ProcessHandle process) {
    if (process) WaitForSingleObject(toHandle(process), INFINITE);
}

void Win32Processes::closeHandle(ProcessHandle handle) {
    if (handle) CloseHandle(toHandle(handle));
}

}  // namespace velmora
