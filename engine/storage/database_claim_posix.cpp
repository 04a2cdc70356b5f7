#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/storage/database_claim.h"
#include "engine/storage/output_file.h"
#include "engine/run/run_interrupts.h"

namespace velmora {

// The open file and its lock; the lock goes with the descriptor, so a run
// that dies, however it dies, releases it.
struct DatabaseClaim::Held {
    OutputFile file;
};

namespace {

// What the run adds to the temporary path for the name it first makes the
// file under: "." and two numbers of at most 20 digits each.
constexpr size_t kPrivateSuffix = 42;

enum class Found { Gone, Dead, Live, InTheWay };

// A file at `path` that no run holds is a dead run's: remove it. Only a
// holder of the lock removes the file, so two runs cleaning at once never
// remove a file a third has just made. Opened without following a link or
// waiting on a pipe: anything but a regular file is in the way, not a run's.
Found removeIfDead(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? Found::Gone : Found::InTheWay;
    struct stat open, named;
    if (fstat(fd, &open) != 0 || !S_ISREG(open.st_mode)) {
        close(fd);
        return Found::InTheWay;
    }
    const bool dead = flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (dead && lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev && open.st_ino == named.st_ino)
        unlink(path.c_str());
    close(fd);
    return dead ? Found::Dead : Found::Live;
}

// A new file, locked; Failed or NameTaken with `error` when it cannot be made.
OutputFile::Made createLocked(OutputFile& file, const std::string& path, std::string& error) {
    OutputFile::Made made = file.create(path, error);
    if (made != OutputFile::Created) return made;
    if (flock(static_cast<int>(file.handle()), LOCK_EX | LOCK_NB) != 0) {
        error = std::strerror(errno);
        file.remove();
        return OutputFile::Failed;
    }
    return made;
}

}  // namespace

DatabaseClaim::DatabaseClaim() = default;

DatabaseClaim::~DatabaseClaim() { discard(); }

DatabaseClaim::Result DatabaseClaim::claim(const std::string& temporaryPath, std::string& error) {
    // Made and locked under a name of its own, then linked to its public
    // name, so that it is never seen there unlocked. Where the file system
    // has no links it is made under its public name and locked at once.
    auto held = std::make_unique<Held>();
    OutputFile& file = held->file;
    const std::string privatePath = temporaryPath + "." + uniqueSuffix();
    bool linked = createLocked(file, privatePath, error) == OutputFile::Created;
    // A second signal while the file has only this name removes it too.
    if (linked) removeOnHardStop(TemporaryFile::Database, privatePath);
    // Created when the public name is the run's; NameTaken when a file is there.
    auto takeName = [&]() {
        if (linked) {
            if (link(privatePath.c_str(), temporaryPath.c_str()) == 0) return OutputFile::Created;
            if (errno == EEXIST) return OutputFile::NameTaken;
            linked = false;
            removeOnHardStop(TemporaryFile::Database, "");
            file.remove();
        }
        return createLocked(file, temporaryPath, error);
    };
    Result result = Failed;
    for (int attempt = 0; attempt < 3 && result == Failed; ++attempt) {
        const OutputFile::Made made = takeName();
        if (made == OutputFile::Created) {
            result = Claimed;
            break;
        }
        if (made == OutputFile::Failed) break;
        error = "another file keeps taking its name";
        switch (removeIfDead(temporaryPath)) {
        case Found::Live:
            result = Busy;
            break;
        case Found::InTheWay:
            error = "something that is not a regular file is in its place";
            attempt = 3;
            break;
        case Found::Gone:
        case Found::Dead:
            break;
        }
    }
    if (linked) {
        if (result == Claimed) unlink(privatePath.c_str());
        removeOnHardStop(TemporaryFile::Database, "");
        if (result == Claimed) file.renamedTo(temporaryPath);
    }
    if (result != Claimed) return result;
    error.clear();
    held_ = std::move(held);
    removeOnHardStop(TemporaryFile::Database, temporaryPath);
    return Claimed;
}

bool DatabaseClaim::publish(const std::string& target, std::string& error) {
    if (!held_) {
        error = "no temporary database";
        return false;
    }
    removeOnHardStop(TemporaryFile::Database, "");
    // Still locked while it moves, so no other run takes it for a dead one.
    const bool moved = held_->file.moveOnto(target, true, error);
    held_.reset();
    return moved;
}

void DatabaseClaim::discard() {
    if (!held_) return;
    removeOnHardStop(TemporaryFile::Database, "");
    held_.reset();
}

bool DatabaseClaim::flush(std::string& error) {
    if (held_) return held_->file.flush(error);
    error = "no temporary database";
    return false;
}

void DatabaseClaim::flushOnTheWay() {
    std::string ignored;
    if (held_) held_->file.flush(ignored);
}

bool DatabaseClaim::stillHeld() const { return held_ && held_->file.stillAt(held_->file.path()); }

FileIdentity DatabaseClaim::identity() const { return held_ ? held_->file.identity() : FileIdentity{}; }

std::string DatabaseClaim::pathTooLong(const std::string& databasePath) {
    const size_t added = std::strlen(".partial") + kPrivateSuffix;
    const size_t slash = databasePath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : databasePath.substr(0, slash);
    const long named = pathconf(folder.c_str(), _PC_NAME_MAX);
    const size_t longestName = (named > 0 ? static_cast<size_t>(named) : NAME_MAX) - added;
    const size_t longestPath = PATH_MAX - 1 - added;
    if (databasePath.size() > longestPath)
        return "the database path is longer than " + std::to_string(longestPath) + " characters";
    const size_t name = databasePath.size() - (slash == std::string::npos ? 0 : slash + 1);
    if (name > longestName)
        return "the database file name is longer than " + std::to_string(longestName) + " characters";
    return "";
}

}  // namespace velmora
