#pragma once
// Starting a real program from one command line and waiting for its exit
// status, as the utility starts the engine. One file per platform.
#include <string>

namespace velmora::test {

// -1 when it could not be started.
int runCommandLine(const std::string& commandLine);

// The path of the built ParseTarn as this platform names it.
std::string parseTarnPath();

}  // namespace velmora::test
