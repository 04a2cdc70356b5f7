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

// Whether a signal or console event asked the run to stop; cheap enough to
// ask at every record.
bool interrupted();

// Which one ("SIGTERM", "Ctrl+C", ...), or empty while none did.
std::string interruption();

// The run's temporary files that a hard stop removes: the database's and
// the results file's while it is written.
enum class TemporaryFile { Database, Results };

// The file of that kind that a hard stop removes; empty: none. Set only
// while the file is surely the run's own.
void removeOnHardStop(TemporaryFile kind, const std::string& path);

// The run is stuck where it cannot look (on a server that does not
// answer) and was asked to stop: ends the process at once with exit status
// 1, as a second signal would, removing the temporary files it may.
[[noreturn]] void endStuckRun();

// Signals go to the run's main thread, not to the one calling this.
void keepInterruptsFromThisThread();

// The run has cleaned up and written its results: a closing console, which
// ends the process once its handler returns, may let it go now.
void runFinished();

}  // namespace velmora
