#include "src/headless/scripted_processes.h"

#include <algorithm>

namespace velmora {

namespace {

// A test that waits this long for a program that never ends would hang:
// the program is ended instead, as if terminated, with no effect.
constexpr unsigned long long kLongestWait = 24ull * 3600 * 1000;

}  // namespace

std::optional<StartedProcess> ScriptedProcesses::start(const std::string& commandLine) {
    commandLines.push_back(commandLine);
    log.push_back("start");
    if (failStart) return std::nullopt;
    StartedProcess started{next_, next_ + 4, next_ + 8};
    next_ += 12;
    open_.insert(open_.end(), {started.process, started.thread, started.output});
    Run run;
    run.commandLine = commandLine;
    run.startedAt = now_;
    run.endsAfter = endsAfter;
    run.output = output;
    run.stopsWhenOutputCloses = stopsWhenOutputCloses;
    run.outputHandle = started.output;
    runs_[started.process] = run;
    lastStarted_ = started.process;
    return started;
}

ScriptedProcesses::End ScriptedProcesses::lastEnd() const {
    auto it = runs_.find(lastStarted_);
    return it == runs_.end() ? End::Running : it->second.end;
}

void ScriptedProcesses::settle(Run& run) {
    if (run.end != End::Running) return;
    if (run.endsAfter && run.startedAt + *run.endsAfter <= now_) {
        run.end = End::OnItsOwn;
        run.endedAt = run.startedAt + *run.endsAfter;
        if (program) program(run.commandLine);
    } else if (now_ - run.startedAt >= kLongestWait) {
        run.end = End::Terminated;
        run.endedAt = now_;
    }
}

ScriptedProcesses::Run* ScriptedProcesses::runOf(ProcessHandle process) {
    auto it = runs_.find(process);
    return it == runs_.end() ? nullptr : &it->second;
}

ScriptedProcesses::Run* ScriptedProcesses::runWithOutput(ProcessHandle outputHandle) {
    for (auto& [process, run] : runs_)
        if (run.outputHandle == outputHandle) return &run;
    return nullptr;
}

bool ScriptedProcesses::waitForExit(ProcessHandle process, unsigned milliseconds) {
    Run* run = runOf(process);
    if (!run) return true;
    settle(*run);
    if (run->end == End::Running) {
        unsigned long long until = now_ + milliseconds;
        if (run->endsAfter) until = std::min(until, run->startedAt + *run->endsAfter);
        now_ = std::max(now_, until);
        settle(*run);
    }
    return run->end != End::Running;
}

std::string ScriptedProcesses::readOutput(ProcessHandle outputHandle) {
    Run* run = runWithOutput(outputHandle);
    if (!run || std::find(open_.begin(), open_.end(), outputHandle) == open_.end()) return {};
    settle(*run);
    unsigned long long writtenBy = run->end == End::Running ? now_ : run->endedAt;
    std::string text;
    for (; run->written < run->output.size(); ++run->written) {
        const auto& [at, piece] = run->output[run->written];
        if (run->startedAt + at > writtenBy) break;
        text += piece;
    }
    return text;
}

void ScriptedProcesses::terminate(ProcessHandle process) {
    log.push_back("terminate " + std::to_string(process));
    Run* run = runOf(process);
    if (!run) return;
    settle(*run);
    if (run->end != End::Running) return;
    run->end = End::Terminated;
    run->endedAt = now_;
}

void ScriptedProcesses::closeHandle(ProcessHandle handle) {
    if (!handle) return;
    log.push_back("close " + std::to_string(handle));
    open_.erase(std::remove(open_.begin(), open_.end(), handle), open_.end());
    Run* run = runWithOutput(handle);
    if (!run) return;
    settle(*run);
    if (run->end != End::Running || !run->stopsWhenOutputCloses) return;
    run->end = End::OutputClosed;
    run->endedAt = now_;
}

}  // namespace velmora
