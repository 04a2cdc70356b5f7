#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "engine/storage/database_claim.h"
#include "engine/storage/run_interrupts.h"

namespace velmora {

// The open file and its lock; the lock goes with the descriptor, so a run
// that dies, however it dies, releases it.
struct DatabaseClaim::Held {
    int fd = -1;
    std::string path;
};

namespace {

// Whether `path` still names the file open as `fd`.
bool stillNames(int fd, const std::string& path) {
    struct stat open, named;
    return fstat(fd, &open) == 0 && stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

// A file at `path` that no run holds is a dead run's: remove it. Only a
// holder of the lock removes the file, so two runs cleaning at once never
// remove a file a third has just made. False when a live run holds it.
bool removeIfDead(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return true;  // gone already
    bool dead = flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (dead && stillNames(fd, path)) unlink(path.c_str());
    close(fd);
    return dead;
}

std::string systemError() { return std::strerror(errno); }

}  // namespace

DatabaseClaim::DatabaseClaim() = default;

DatabaseClaim::~DatabaseClaim() { discard(); }

namespace {

// A new file, locked; -1 with `failure` (an errno value) when it cannot be
// made.
int createLocked(const std::string& path, int& failure) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        failure = errno;
        return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        failure = errno;
        close(fd);
        unlink(path.c_str());
        return -1;
    }
    return fd;
}

}  // namespace

DatabaseClaim::Result DatabaseClaim::claim(const std::string& temporaryPath, std::string& error) {
    // Made and locked under a name of its own, then linked to its public
    // name, so that it is never seen there unlocked. Where the file system
    // has no links it is made under its public name and locked at once.
    std::random_device seed;
    const std::string privatePath = temporaryPath + "." + std::to_string(getpid()) + "-" + std::to_string(seed());
    int failure = 0;
    int fd = createLocked(privatePath, failure);
    bool linked = fd >= 0;
    // 0 when the public name is the run's; EEXIST when a file is there.
    auto takeName = [&]() {
        if (linked) {
            if (link(privatePath.c_str(), temporaryPath.c_str()) == 0) return 0;
            if (errno == EEXIST) return EEXIST;
            linked = false;
            unlink(privatePath.c_str());
            close(fd);
        }
        fd = createLocked(temporaryPath, failure);
        return fd >= 0 ? 0 : failure;
    };
    Result result = Failed;
    for (int attempt = 0; attempt < 3 && result == Failed; ++attempt) {
        failure = takeName();
        if (failure == 0)
            result = Claimed;
        else if (failure != EEXIST)
            break;
        else if (!removeIfDead(temporaryPath))
            result = Busy;
    }
    if (linked) unlink(privatePath.c_str());
    if (result != Claimed) {
        if (fd >= 0 && linked) close(fd);
        error = failure == EEXIST ? "another file keeps taking its name" : std::strerror(failure);
        return result;
    }
    error.clear();
    held_ = std::make_unique<Held>(Held{fd, temporaryPath});
    removeOnHardStop(temporaryPath);
    return Claimed;
}

bool DatabaseClaim::publish(const std::string& target, std::string& error) {
    if (!held_) {
        error = "no temporary database";
        return false;
    }
    removeOnHardStop("");
    // Still locked while it moves, so no other run takes it for a dead one.
    if (!stillNames(held_->fd, held_->path)) {
        error = "the temporary database " + held_->path + " is no longer there";
        discard();
        return false;
    }
    if (rename(held_->path.c_str(), target.c_str()) != 0) {
        error = systemError();
        discard();
        return false;
    }
    close(held_->fd);
    held_.reset();
    return true;
}

void DatabaseClaim::discard() {
    if (!held_) return;
    removeOnHardStop("");
    if (stillNames(held_->fd, held_->path)) unlink(held_->path.c_str());
    close(held_->fd);
    held_.reset();
}

}  // namespace velmora
