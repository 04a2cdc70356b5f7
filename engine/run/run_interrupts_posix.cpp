#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>

#include "engine/run/run_interrupts.h"

namespace velmora {

namespace {

volatile std::sig_atomic_t caught = 0;
// The paths a hard stop removes, by kind; each written only while its
// `armed` is false.
char hardStopPath[2][4096];
std::atomic<bool> armed[2];

void onSignal(int signal) {
    if (caught != 0) {
        // Asked twice: the run may be stuck where it cannot look. Remove the
        // temporary file here and end as the signal ends a process.
        for (int kind = 0; kind < 2; ++kind)
            if (armed[kind].load()) unlink(hardStopPath[kind]);
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    caught = signal;
}

}  // namespace

void catchInterrupts() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a read waiting on a pipe returns at once
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool interrupted() { return caught != 0; }

std::string interruption() {
    switch (caught) {
    case 0:
        return "";
    case SIGINT:
        return "SIGINT (Ctrl+C)";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "signal " + std::to_string(caught);
    }
}

void removeOnHardStop(TemporaryFile kind, const std::string& path) {
    const int k = kind == TemporaryFile::Database ? 0 : 1;
    armed[k].store(false);
    if (path.empty() || path.size() >= sizeof hardStopPath[k]) return;
    std::memcpy(hardStopPath[k], path.c_str(), path.size() + 1);
    armed[k].store(true);
}

void endStuckRun() {
    for (int kind = 0; kind < 2; ++kind)
        if (armed[kind].load()) unlink(hardStopPath[kind]);
    _exit(1);
}

void keepInterruptsFromThisThread() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, signal);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

void runFinished() {}

}  // namespace velmora
