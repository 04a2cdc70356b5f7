#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/storage/output_file.h"

namespace velmora {

struct OutputFile::Open {
    int fd = -1;
    std::string path;
};

namespace {

std::string systemError() { return std::strerror(errno); }

const char* const kNotWritten = "the file could not be written";

// The mode a new file gets in a folder, as the process's umask has it; read
// on the first call, while the run has no other thread.
mode_t newFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = umask(0);
        umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

// The folder of a path, for syncing the names in it.
std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

void syncFolder(const std::string& path) {
    const int fd = open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

OutputFile::OutputFile() = default;

OutputFile::~OutputFile() { remove(); }

Result<OutputFile::Made> OutputFile::create(const std::string& path) {
    remove();
    // Never through a link, never blocking on whatever is there; only the
    // owner may read it while the run writes it.
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST) return Made::NameTaken;
        return fail(systemError());
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(fd);
        return fail("it is not a regular file");
    }
    open_ = std::make_unique<Open>(Open{fd, path});
    return Made::Created;
}

Status OutputFile::write(std::string_view bytes) {
    if (!open_) return fail(kNotWritten);
    while (!bytes.empty()) {
        const ssize_t n = ::write(open_->fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail(kNotWritten);
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return {};
}

Status OutputFile::moveOnto(const std::string& target, bool durable) {
    if (!open_) return fail("no file to move");
    // The permissions of the file it replaces, or of a new file there. The
    // file stays its owner's alone if this fails.
    struct stat old;
    if (lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        struct stat own;
        if (fstat(open_->fd, &own) == 0 && (own.st_uid != old.st_uid || own.st_gid != old.st_gid))
            (void)!fchown(open_->fd, old.st_uid, old.st_gid);
        fchmod(open_->fd, old.st_mode & 07777);
    } else {
        fchmod(open_->fd, newFileMode());
    }
    if (!stillAt(open_->path)) return fail(open_->path + " is no longer there");
    if (rename(open_->path.c_str(), target.c_str()) != 0) return fail(systemError());
    close(open_->fd);
    open_.reset();
    // The move is done whatever comes of this: a folder that cannot be
    // flushed leaves it as safe as any rename there.
    if (durable) syncFolder(target);
    return {};
}

Status OutputFile::flush() {
    if (open_ && fsync(open_->fd) == 0) return {};
    return fail(open_ ? systemError() : "no file to flush");
}

bool OutputFile::stillAt(const std::string& path) const {
    struct stat open, named;
    return open_ && fstat(open_->fd, &open) == 0 && lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

void OutputFile::remove() {
    if (!open_) return;
    if (stillAt(open_->path)) unlink(open_->path.c_str());
    close(open_->fd);
    open_.reset();
}

const std::string& OutputFile::path() const {
    static const std::string none;
    return open_ ? open_->path : none;
}

FileIdentity OutputFile::identity() const {
    struct stat st;
    if (!open_ || fstat(open_->fd, &st) != 0) return {};
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), true};
}

intptr_t OutputFile::handle() const { return open_ ? open_->fd : -1; }

void OutputFile::renamedTo(const std::string& path) {
    if (open_) open_->path = path;
}

}  // namespace velmora
