#pragma once
// The run's temporary database, DATABASE.partial beside the database it
// will replace. It is created only when no other run holds one there and
// held for the whole run (locked on POSIX, open without delete sharing on
// Windows), so that no other run can remove or take it; a file of that name
// that no run holds is a dead run's and is removed first. One
// implementation file per platform, and what they share.
#include <memory>
#include <string>

#include "engine/os/engine_os.h"
#include "format/base/result.h"

namespace velmora {

class DatabaseClaim {
public:
    DatabaseClaim();
    ~DatabaseClaim();  // discards a file that was not published
    DatabaseClaim(const DatabaseClaim&) = delete;
    DatabaseClaim& operator=(const DatabaseClaim&) = delete;

    // Claims the temporary file of the database at `databasePath`; fails
    // when a live run holds it, or it cannot be made. The file is new (a
    // dead run's is removed first, never written into), and only its owner
    // may read it.
    Status claim(const std::string& databasePath);
    // The temporary file's path.
    const std::string& path() const { return path_; }

    // Flushes the complete file to the disk, once, before it is published.
    Status flush();
    // A flush while the file is being written (on another thread, its only
    // use of the claim then), so that the one above has little left to do.
    void flushOnTheWay();

    // Moves the complete file onto `target`, replacing what is there in one
    // step, with the permissions of the file it replaces; on failure the
    // file is discarded.
    Status publish(const std::string& target);

    // Removes the file, if it is still the run's.
    void discard();

    // Whether the temporary path still reaches the run's file, and which
    // file that is.
    bool stillHeld() const;
    FileIdentity identity() const;

    // Whether a database path leaves room for the temporary names the run
    // gives files beside it; "the database path is longer than N
    // characters" when it does not.
    static Status pathFits(const std::string& databasePath);

    // Who holds the file at the temporary path once it is made or found.
    enum class Holder { ThisRun, AnotherRun };

private:
    Result<Holder> hold(const std::string& temporaryPath);

    struct Held;
    std::unique_ptr<Held> held_;
    std::string path_;
};

}  // namespace velmora
