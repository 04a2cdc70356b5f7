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

// A new file, locked.
Result<OutputFile::Made> createLocked(OutputFile& file, const std::string& path) {
    Result<OutputFile::Made> made = file.create(path);
    if (!made || *made != OutputFile::Made::Created) return made;
    if (flock(static_cast<int>(file.handle()), LOCK_EX | LOCK_NB) != 0) {
        const std::string why = std::strerror(errno);
        file.remove();
        return fail(why);
    }
    return made;
}

// The run's file, made and locked under a name of its own, then linked to
// its public name, so that it is never seen there unlocked. Where the file
// system has no links it is made under its public name and locked at once.
class NamedFile {
public:
    NamedFile(OutputFile& file, const std::string& publicPath)
        : file_(file), public_(publicPath), private_(publicPath + "." + uniqueSuffix()) {
        Result<OutputFile::Made> made = createLocked(file_, private_);
        linked_ = made && *made == OutputFile::Made::Created;
        // A second signal while the file has only this name removes it too.
        if (linked_) removeOnHardStop(TemporaryFile::Database, private_);
    }

    // Created when the public name is the run's; NameTaken when a file is there.
    Result<OutputFile::Made> takeName() {
        if (linked_) {
            if (link(private_.c_str(), public_.c_str()) == 0) return OutputFile::Made::Created;
            if (errno == EEXIST) return OutputFile::Made::NameTaken;
            linked_ = false;
            removeOnHardStop(TemporaryFile::Database, "");
            file_.remove();
        }
        return createLocked(file_, public_);
    }

    // Once the public name is the run's, the file keeps only that one.
    void settle(bool claimed) {
        if (!linked_) return;
        if (claimed) unlink(private_.c_str());
        removeOnHardStop(TemporaryFile::Database, "");
        if (claimed) file_.renamedTo(public_);
    }

private:
    OutputFile& file_;
    const std::string public_, private_;
    bool linked_ = false;
};

// Takes the public name, from a dead run's file too; a live run's file
// there is that run's.
Result<DatabaseClaim::Holder> claimName(NamedFile& file, const std::string& temporaryPath) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        Result<OutputFile::Made> made = file.takeName();
        if (!made) return fail(made.failure());
        if (*made == OutputFile::Made::Created) return DatabaseClaim::Holder::ThisRun;
        switch (removeIfDead(temporaryPath)) {
        case Found::Live:
            return DatabaseClaim::Holder::AnotherRun;
        case Found::InTheWay:
            return fail("something that is not a regular file is in its place");
        case Found::Gone:
        case Found::Dead:
            break;
        }
    }
    return fail("another file keeps taking its name");
}

}  // namespace

DatabaseClaim::DatabaseClaim() = default;

DatabaseClaim::~DatabaseClaim() { discard(); }

Result<DatabaseClaim::Holder> DatabaseClaim::hold(const std::string& temporaryPath) {
    auto held = std::make_unique<Held>();
    NamedFile file(held->file, temporaryPath);
    Result<Holder> holder = claimName(file, temporaryPath);
    const bool claimed = holder && *holder == Holder::ThisRun;
    file.settle(claimed);
    if (!claimed) return holder;
    held_ = std::move(held);
    removeOnHardStop(TemporaryFile::Database, temporaryPath);
    return holder;
}

Status DatabaseClaim::publish(const std::string& target) {
    if (!held_) return fail("no temporary database");
    removeOnHardStop(TemporaryFile::Database, "");
    // Still locked while it moves, so no other run takes it for a dead one.
    Status moved = held_->file.moveOnto(target, true);
    held_.reset();
    return moved;
}

void DatabaseClaim::discard() {
    if (!held_) return;
    removeOnHardStop(TemporaryFile::Database, "");
    held_.reset();
}

Status DatabaseClaim::flush() {
    if (held_) return held_->file.flush();
    return fail("no temporary database");
}

void DatabaseClaim::flushOnTheWay() {
    if (held_) (void)held_->file.flush();
}

bool DatabaseClaim::stillHeld() const { return held_ && held_->file.stillAt(held_->file.path()); }

FileIdentity DatabaseClaim::identity() const { return held_ ? held_->file.identity() : FileIdentity{}; }

Status DatabaseClaim::pathFits(const std::string& databasePath) {
    const size_t added = std::strlen(".partial") + kPrivateSuffix;
    const size_t slash = databasePath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : databasePath.substr(0, slash);
    const long named = pathconf(folder.c_str(), _PC_NAME_MAX);
    const size_t longestName = (named > 0 ? static_cast<size_t>(named) : NAME_MAX) - added;
    const size_t longestPath = PATH_MAX - 1 - added;
    if (databasePath.size() > longestPath)
        return fail("the database path is longer than " + std::to_string(longestPath) + " characters");
    const size_t name = databasePath.size() - (slash == std::string::npos ? 0 : slash + 1);
    if (name > longestName)
        return fail("the database file name is longer than " + std::to_string(longestName) + " characters");
    return {};
}

}  // namespace velmora
