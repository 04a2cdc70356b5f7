#include <windows.h>

#include <atomic>

#include "engine/run/run_interrupts.h"

namespace velmora {

namespace {

std::atomic<long> caught{-1};
std::atomic<bool> finished{false};

// Windows ends the process a few seconds after a close, logoff or shutdown
// event; the handler waits that long for the run to clean up.
constexpr DWORD kCleanUpWait = 4000;

BOOL WINAPI onConsoleEvent(DWORD event) {
    long none = -1;
    caught.compare_exchange_strong(none, static_cast<long>(event));
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        for (DWORD waited = 0; !finished.load() && waited < kCleanUpWait; waited += 50) Sleep(50);
    }
    return TRUE;  // handled: the run stops by itself
}

}  // namespace

void catchInterrupts() {
    // A parent that ignores Ctrl+C passes that on to its children; the run
    // still wants to hear it.
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

bool interrupted() { return caught.load() != -1; }

std::string interruption() {
    switch (caught.load()) {
    case -1:
        return "";
    case CTRL_C_EVENT:
        return "Ctrl+C";
    case CTRL_BREAK_EVENT:
        return "Ctrl+Break";
    case CTRL_CLOSE_EVENT:
        return "the console was closed";
    case CTRL_LOGOFF_EVENT:
        return "the user logged off";
    case CTRL_SHUTDOWN_EVENT:
        return "Windows is shutting down";
    default:
        return "console event " + std::to_string(caught.load());
    }
}

// Windows keeps the open temporary file from being removed by anyone, this
// process included; a run ended hard leaves it to the next run's cleaning.
void removeOnHardStop(TemporaryFile, const std::string&) {}

// Exit handlers could wait on the very driver the run is stuck in.
void endStuckRun() {
    TerminateProcess(GetCurrentProcess(), 1);
    ExitProcess(1);
}

// Console events arrive on a thread of their own.
void keepInterruptsFromThisThread() {}

void runFinished() { finished.store(true); }

}  // namespace velmora
