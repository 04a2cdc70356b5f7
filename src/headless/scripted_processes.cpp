#include "headless/scripted_processes.h"

#include <algorithm>

namespace velmora {

std::optional<StartedProcess> ScriptedProcesses::start(const std::string& commandLine) {
    commandLines.push_back(commandLine);
    log.push_back("start");
    if (failStart) return std::nullopt;
    StartedProcess started{next_, next_ + 4};
    next_ += 8;
    open_.push_back(started.process);
    open_.push_back(started.thread);
    running_.emplace_back(started.process, commandLine);
    return started;
}

void ScriptedProcesses::waitForExit(ProcessHandle process) {
    log.push_back("wait " + std::to_string(process));
    auto it = std::find_if(running_.begin(), running_.end(), [&](const auto& entry) { return entry.first == process; });
    if (it == running_.end()) return;
    std::string commandLine = it->second;
    running_.erase(it);
    if (program) program(commandLine);
}

void ScriptedProcesses::closeHandle(ProcessHandle handle) {
    log.push_back("close " + std::to_string(handle));
    open_.erase(std::remove(open_.begin(), open_.end(), handle), open_.end());
}

}  // namespace velmora
