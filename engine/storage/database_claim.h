#pragma once
// The run's temporary database, DATABASE.partial beside the database it
// will replace. It is created only when no other run holds one there and
// held for the whole run (locked on POSIX, open without delete sharing on
// Windows), so that no other run can remove or take it; a file of that name
// that no run holds is a dead run's and is removed first. One
// implementation file per platform.
#include <memory>
#include <string>

#include "engine/os/engine_os.h"

namespace velmora {

class DatabaseClaim {
public:
    enum Result { Claimed, Busy, Failed };

    DatabaseClaim();
    ~DatabaseClaim();  // discards a file that was not published
    DatabaseClaim(const DatabaseClaim&) = delete;
    DatabaseClaim& operator=(const DatabaseClaim&) = delete;

    // Busy: a live run holds the file. Failed: `error` says why. The file
    // is new (a dead run's is removed first, never written into), and only
    // its owner may read it.
    Result claim(const std::string& temporaryPath, std::string& error);

    // Flushes the complete file to the disk, once, before it is published.
    bool flush(std::string& error);
    // A flush while the file is being written (on another thread, its only
    // use of the claim then), so that the one above has little left to do.
    void flushOnTheWay();

    // Moves the complete file onto `target`, replacing what is there in one
    // step, with the permissions of the file it replaces. False with `error`
    // set; the file is then discarded.
    bool publish(const std::string& target, std::string& error);

    // Removes the file, if it is still the run's.
    void discard();

    // Whether the temporary path still reaches the run's file, and which
    // file that is.
    bool stillHeld() const;
    FileIdentity identity() const;

    // Why a database path leaves no room for the temporary names the run
    // gives files beside it, as "the database path is longer than N
    // characters"; empty when it does.
    static std::string pathTooLong(const std::string& databasePath);

private:
    struct Held;
    std::unique_ptr<Held> held_;
};

}  // namespace velmora
