#pragma once
// An operator or the system asking a run to stop: Ctrl+C, SIGTERM, SIGHUP;
// on Windows Ctrl+C, Ctrl+Break, the console closing, logoff and shutdown.
// The run stops at its next progress check (at least once per read and every
// few hundred rows), removes its temporary database, writes why in the
// results file and fails. A second signal on POSIX ends the process at once,
// removing the temporary database first. One implementation file per
// platform.
#include <string>

namespace velmora {

// Installs the handlers; once, from main.
void catchInterrupts();

// The signal or console event that asked the run to stop ("SIGTERM",
// "Ctrl+C", ...), or empty while none did.
std::string interruption();

// The temporary database that a hard stop removes; empty: none. Set only
// while the file is surely the run's own.
void removeOnHardStop(const std::string& path);

// The run has cleaned up and written its results: a closing console, which
// ends the process once its handler returns, may let it go now.
void runFinished();

}  // namespace velmora
