#include "src/win32/os/win32_processes.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace velmora {

namespace {

// Room for a burst of output (the engine's closing report) while nobody
// reads; the system treats it as a hint.
constexpr DWORD kPipeSize = 64 * 1024;
constexpr DWORD kLargestRead = 64 * 1024;

ProcessHandle toProcessHandle(HANDLE handle) {
    return static_cast<ProcessHandle>(reinterpret_cast<std::uintptr_t>(handle));
}

HANDLE toHandle(ProcessHandle handle) { return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle)); }

// The attribute list that names the only handles a child inherits.
class InheritedHandles {
public:
    explicit InheritedHandles(HANDLE* handle) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        buffer_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.data());
        if (!InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
        list_ = list;
        // The list keeps the pointer, not the handle: `handle` must outlive it.
        if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handle, sizeof(HANDLE), nullptr,
                                       nullptr)) {
            DeleteProcThreadAttributeList(list_);
            list_ = nullptr;
        }
    }
    ~InheritedHandles() {
        if (list_) DeleteProcThreadAttributeList(list_);
    }
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

private:
    std::vector<char> buffer_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

}  // namespace

std::optional<StartedProcess> Win32Processes::start(const std::string& commandLine) {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, kPipeSize)) return std::nullopt;
    // Only the child's end may be inherited, and only by this child: the
    // handle list keeps every other inheritable handle of ours out of it.
    InheritedHandles inherited(&writeEnd);
    if (!inherited.get() || !SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        return std::nullopt;
    }

    // CreateProcessA may write into the command line: hand it a copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOEXA startup{};
    startup.StartupInfo.cb = sizeof(startup);
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = nullptr;
    startup.StartupInfo.hStdOutput = writeEnd;
    startup.StartupInfo.hStdError = writeEnd;
    startup.lpAttributeList = inherited.get();
    PROCESS_INFORMATION info{};
    // A console program started from this windowed one would get a console
    // window of its own; its output goes to us, so it gets a console
    // without a window.
    BOOL started =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, EXTENDED_STARTUPINFO_PRESENT | CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup.StartupInfo, &info);
    // Our copy of the child's end goes, so the pipe ends when the child does.
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return std::nullopt;
    }
    return StartedProcess{toProcessHandle(info.hProcess), toProcessHandle(info.hThread), toProcessHandle(readEnd)};
}

bool Win32Processes::waitForExit(ProcessHandle process, unsigned milliseconds) {
    if (!process) return true;
    // A wait that fails counts as an end: nothing could be waited for.
    return WaitForSingleObject(toHandle(process), milliseconds) != WAIT_TIMEOUT;
}

std::string Win32Processes::readOutput(ProcessHandle output) {
    DWORD available = 0;
    if (!output || !PeekNamedPipe(toHandle(output), nullptr, 0, nullptr, &available, nullptr) || available == 0)
        return {};
    std::string bytes(std::min(available, kLargestRead), '\0');
    DWORD read = 0;
    if (!ReadFile(toHandle(output), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
    bytes.resize(read);
    return bytes;
}

void Win32Processes::terminate(ProcessHandle process) {
    if (process) TerminateProcess(toHandle(process), 1);
}

void Win32Processes::closeHandle(ProcessHandle handle) {
    if (handle) CloseHandle(toHandle(handle));
}

}  // namespace velmora
