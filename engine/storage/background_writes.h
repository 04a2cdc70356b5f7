#pragma once
// The run's database file written on a thread of its own. SQLite hands each
// page it puts out to this file layer and goes on at once; neighbouring pages
// are gathered into runs of up to a MiB, and a thread writes them in the
// order they came. Whatever else SQLite asks of the file (a read, a sync, its
// size, a lock, closing) first waits until every page handed over is written,
// so SQLite sees the file exactly as if it had written it itself. A write that
// fails is reported at SQLite's next call on the file, and nothing after it
// is written. Other files SQLite opens (none, for the run's settings) are
// used as they are.
#include <cstddef>

namespace velmora {

// What the pages on their way to the disk hold at most, for one file.
extern const size_t kPagesOnTheWayMost;

// The name to give sqlite3_open_v2 as its file layer; registered with SQLite
// at the first call, beside the system's own layer, which it wraps.
const char* backgroundWritesVfs();

}  // namespace velmora
