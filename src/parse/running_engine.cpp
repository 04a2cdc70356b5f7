#include "src/parse/running_engine.h"

namespace velmora {

namespace {

// Far longer than any progress line: a longer one is no progress, so
// keeping its start is enough to tell, and a stream without line ends
// costs no memory.
constexpr std::size_t kLongestLine = 4096;

}  // namespace

RunningEngine::RunningEngine(Processes& processes, const StartedProcess& started)
    : processes_(processes), started_(started) {}

RunningEngine::~RunningEngine() {
    processes_.closeHandle(started_.output);
    processes_.closeHandle(started_.process);
    processes_.closeHandle(started_.thread);
}

bool RunningEngine::poll(unsigned milliseconds) {
    if (!ended_) ended_ = processes_.waitForExit(started_.process, milliseconds);
    if (started_.output) take(processes_.readOutput(started_.output));
    return ended_;
}

void RunningEngine::askToStop() {
    processes_.closeHandle(started_.output);
    started_.output = 0;
}

void RunningEngine::terminate() {
    if (!ended_) processes_.terminate(started_.process);
}

void RunningEngine::take(const std::string& bytes) {
    for (char c : bytes) {
        if (c != '\n') {
            if (line_.size() < kLongestLine) line_ += c;
            continue;
        }
        if (auto facts = readProgressLine(line_)) progress_ = facts;
        line_.clear();
    }
}

}  // namespace velmora
