#include <sys/wait.h>

#include <cstdlib>

#include "program_launch.h"

namespace velmora::test {

int runCommandLine(const std::string& commandLine) {
    int status = std::system((commandLine + " >/dev/null").c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string parseTarnPath() { return PARSETARN_PATH; }

}  // namespace velmora::test
