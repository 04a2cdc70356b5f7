#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/support/program_launch.h"

namespace velmora::test {

int runCommandLine(const std::string& commandLine) {
    int status = std::system((commandLine + " >/dev/null").c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string parseTarnPath() { return PARSETARN_PATH; }

struct RunningProgram::Process {
    pid_t pid = -1;
};

RunningProgram::RunningProgram(const std::string& commandLine) : process_(std::make_unique<Process>()) {
    const std::string line = "exec " + commandLine + " >/dev/null";
    process_->pid = fork();
    if (process_->pid == 0) {
        execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

RunningProgram::~RunningProgram() {
    if (process_->pid > 0) {
        kill();
        wait();
    }
}

bool RunningProgram::started() const { return process_->pid > 0; }

void RunningProgram::interrupt() { ::kill(process_->pid, SIGTERM); }

void RunningProgram::kill() { ::kill(process_->pid, SIGKILL); }

int RunningProgram::wait() {
    int status = 0;
    if (process_->pid <= 0 || waitpid(process_->pid, &status, 0) != process_->pid) return -1;
    process_->pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace velmora::test
