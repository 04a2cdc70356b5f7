#include "engine/storage/background_writes.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace velmora {

namespace {

// Pages in a row go out in one write of up to this much; at most kAhead such
// runs wait for the thread, so SQLite is held back (and memory stays small)
// only when the disk falls behind.
constexpr size_t kRun = 256u << 10;
constexpr size_t kAhead = 8;
// What one write to the system's layer takes: SQLite's POSIX layer cuts a
// write's length to 17 bits, so a longer one would be taken for a full disk.
constexpr size_t kPiece = 64u << 10;

// The pages handed over for one file, and the thread that writes them to the
// system's file underneath. The file underneath is used by one thread at a
// time: by this thread while runs wait, by SQLite's only after drain().
class PageWriter {
public:
    explicit PageWriter(sqlite3_file* file) : file_(file), thread_([this] { writeRuns(); }) {}
    ~PageWriter() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    int write(const void* data, int amount, sqlite3_int64 offset) {
        if (failed_) return failed_;
        const size_t size = static_cast<size_t>(amount);
        if (!open_.bytes.empty() && (offset != open_.offset + static_cast<sqlite3_int64>(open_.bytes.size()) ||
                                     open_.bytes.size() + size > kRun))
            handOver();
        if (open_.bytes.empty()) open_.offset = offset;
        open_.bytes.append(static_cast<const char*>(data), size);
        return SQLITE_OK;
    }

    // Every page handed over is in the file; the first failure, if any.
    int drain() {
        if (!open_.bytes.empty()) handOver();
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return waiting_.empty() && !writing_; });
        return failed_;
    }

private:
    struct Run {
        sqlite3_int64 offset = 0;
        std::string bytes;
    };

    void handOver() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return waiting_.size() < kAhead; });
        waiting_.push_back(std::move(open_));
        // A used buffer again, so its memory is not asked of the system anew.
        open_ = Run{};
        if (!spare_.empty()) {
            open_.bytes = std::move(spare_.back());
            spare_.pop_back();
        } else {
            open_.bytes.reserve(kRun);
        }
        lock.unlock();
        changed_.notify_all();
    }

    void writeRuns() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] { return stop_ || !waiting_.empty(); });
            if (waiting_.empty()) return;
            Run run = std::move(waiting_.front());
            waiting_.pop_front();
            writing_ = true;
            lock.unlock();
            int rc = SQLITE_OK;
            // After a failure nothing more is written: the file is already
            // not what SQLite means it to be, and SQLite hears of it next.
            for (size_t at = 0; !failed_ && rc == SQLITE_OK && at < run.bytes.size(); at += kPiece)
                rc = file_->pMethods->xWrite(file_, run.bytes.data() + at,
                                             static_cast<int>(std::min(kPiece, run.bytes.size() - at)),
                                             run.offset + static_cast<sqlite3_int64>(at));
            run.bytes.clear();
            lock.lock();
            if (rc != SQLITE_OK && !failed_) failed_ = rc;
            spare_.push_back(std::move(run.bytes));
            writing_ = false;
            changed_.notify_all();
        }
    }

    sqlite3_file* file_;
    Run open_;  // SQLite's thread only
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Run> waiting_;
    std::vector<std::string> spare_;
    bool writing_ = false, stop_ = false;
    std::atomic<int> failed_{SQLITE_OK};  // the first failure; set under the lock
    std::thread thread_;
};

struct File {
    sqlite3_file base;
    sqlite3_file* system;  // the system's file, right after this one
    PageWriter* writer;    // null: the system's file is used directly
};

sqlite3_vfs* systemVfs() { return sqlite3_vfs_find(nullptr); }

File* self(sqlite3_file* f) { return reinterpret_cast<File*>(f); }
sqlite3_file* system(sqlite3_file* f) { return self(f)->system; }

// Settles what was handed over before the system's file is used again.
int drain(sqlite3_file* f) { return self(f)->writer ? self(f)->writer->drain() : SQLITE_OK; }

int fileClose(sqlite3_file* f) {
    int rc = drain(f);
    delete self(f)->writer;
    self(f)->writer = nullptr;
    const int closed = system(f)->pMethods->xClose(system(f));
    return rc != SQLITE_OK ? rc : closed;
}

int fileRead(sqlite3_file* f, void* into, int amount, sqlite3_int64 offset) {
    const int rc = drain(f);
    return rc != SQLITE_OK ? rc : system(f)->pMethods->xRead(system(f), into, amount, offset);
}

int fileWrite(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
    if (self(f)->writer) return self(f)->writer->write(data, amount, offset);
    return system(f)->pMethods->xWrite(system(f), data, amount, offset);
}

int fileTruncate(sqlite3_file* f, sqlite3_int64 size) {
    const int rc = drain(f);
    return rc != SQLITE_OK ? rc : system(f)->pMethods->xTruncate(system(f), size);
}

int fileSync(sqlite3_file* f, int flags) {
    const int rc = drain(f);
    return rc != SQLITE_OK ? rc : system(f)->pMethods->xSync(system(f), flags);
}

int fileSize(sqlite3_file* f, sqlite3_int64* size) {
    const int rc = drain(f);
    return rc != SQLITE_OK ? rc : system(f)->pMethods->xFileSize(system(f), size);
}

int fileLock(sqlite3_file* f, int level) {
    const int rc = drain(f);
    return rc != SQLITE_OK ? rc : system(f)->pMethods->xLock(system(f), level);
}

int fileUnlock(sqlite3_file* f, int level) {
    const int rc = drain(f);
    return rc != SQLITE_OK ? rc : system(f)->pMethods->xUnlock(system(f), level);
}

int fileCheckReservedLock(sqlite3_file* f, int* out) {
    const int rc = drain(f);
    return rc != SQLITE_OK ? rc : system(f)->pMethods->xCheckReservedLock(system(f), out);
}

int fileControl(sqlite3_file* f, int op, void* arg) {
    // Asked as the file grows, page by page: without a chunk size (never set
    // here) the system's layer does nothing with it, so neither does this.
    if (op == SQLITE_FCNTL_SIZE_HINT && self(f)->writer) return SQLITE_OK;
    const int rc = drain(f);
    return rc != SQLITE_OK ? rc : system(f)->pMethods->xFileControl(system(f), op, arg);
}

int fileSectorSize(sqlite3_file* f) {
    drain(f);
    return system(f)->pMethods->xSectorSize(system(f));
}

int fileDeviceCharacteristics(sqlite3_file* f) {
    drain(f);
    return system(f)->pMethods->xDeviceCharacteristics(system(f));
}

// Version 1: no shared memory (the run keeps no journal) and no mapping.
const sqlite3_io_methods kFileMethods = {1,
                                         fileClose,
                                         fileRead,
                                         fileWrite,
                                         fileTruncate,
                                         fileSync,
                                         fileSize,
                                         fileLock,
                                         fileUnlock,
                                         fileCheckReservedLock,
                                         fileControl,
                                         fileSectorSize,
                                         fileDeviceCharacteristics,
                                         nullptr,
                                         nullptr,
                                         nullptr,
                                         nullptr,
                                         nullptr,
                                         nullptr};

constexpr int kSystemFileAt = static_cast<int>((sizeof(File) + 15) / 16 * 16);

int vfsOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    File* file = self(f);
    file->base.pMethods = nullptr;
    file->system = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(f) + kSystemFileAt);
    file->writer = nullptr;
    const int rc = systemVfs()->xOpen(systemVfs(), name, file->system, flags, outFlags);
    if (rc != SQLITE_OK) return rc;  // SQLite closes nothing it failed to open
    if (flags & SQLITE_OPEN_MAIN_DB) {
        try {
            file->writer = new PageWriter(file->system);
        } catch (const std::exception&) {
            // Without a thread of its own (or the memory for one) the file
            // is written by SQLite's thread, as any other.
            file->writer = nullptr;
        }
    }
    file->base.pMethods = &kFileMethods;
    return SQLITE_OK;
}

// The rest is the system's layer's, called with its own description.
int vfsDelete(sqlite3_vfs*, const char* name, int syncDir) { return systemVfs()->xDelete(systemVfs(), name, syncDir); }
int vfsAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
    return systemVfs()->xAccess(systemVfs(), name, flags, out);
}
int vfsFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return systemVfs()->xFullPathname(systemVfs(), name, size, out);
}
void* vfsDlOpen(sqlite3_vfs*, const char* name) { return systemVfs()->xDlOpen(systemVfs(), name); }
void vfsDlError(sqlite3_vfs*, int size, char* out) { systemVfs()->xDlError(systemVfs(), size, out); }
void (*vfsDlSym(sqlite3_vfs*, void* library, const char* symbol))(void) {
    return systemVfs()->xDlSym(systemVfs(), library, symbol);
}
void vfsDlClose(sqlite3_vfs*, void* library) { systemVfs()->xDlClose(systemVfs(), library); }
int vfsRandomness(sqlite3_vfs*, int size, char* out) { return systemVfs()->xRandomness(systemVfs(), size, out); }
int vfsSleep(sqlite3_vfs*, int microseconds) { return systemVfs()->xSleep(systemVfs(), microseconds); }
int vfsCurrentTime(sqlite3_vfs*, double* now) { return systemVfs()->xCurrentTime(systemVfs(), now); }
int vfsGetLastError(sqlite3_vfs*, int size, char* out) { return systemVfs()->xGetLastError(systemVfs(), size, out); }
int vfsCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* now) { return systemVfs()->xCurrentTimeInt64(systemVfs(), now); }

}  // namespace

// Waiting, being written, being gathered, and one spare.
const size_t kPagesOnTheWayMost = (kAhead + 3) * kRun;

const char* backgroundWritesVfs() {
    static const char* const name = [] {
        static sqlite3_vfs vfs;
        sqlite3_vfs* under = systemVfs();
        if (!under) return static_cast<const char*>(nullptr);
        vfs.iVersion = 2;
        vfs.szOsFile = kSystemFileAt + under->szOsFile;
        vfs.mxPathname = under->mxPathname;
        vfs.zName = "velmora-background-writes";
        vfs.xOpen = vfsOpen;
        vfs.xDelete = vfsDelete;
        vfs.xAccess = vfsAccess;
        vfs.xFullPathname = vfsFullPathname;
        // Absent underneath when SQLite is built without extensions.
        if (under->xDlOpen) {
            vfs.xDlOpen = vfsDlOpen;
            vfs.xDlError = vfsDlError;
            vfs.xDlSym = vfsDlSym;
            vfs.xDlClose = vfsDlClose;
        }
        vfs.xRandomness = vfsRandomness;
        vfs.xSleep = vfsSleep;
        vfs.xCurrentTime = vfsCurrentTime;
        vfs.xGetLastError = vfsGetLastError;
        vfs.xCurrentTimeInt64 = under->iVersion >= 2 && under->xCurrentTimeInt64 ? vfsCurrentTimeInt64 : nullptr;
        return sqlite3_vfs_register(&vfs, 0) == SQLITE_OK ? vfs.zName : static_cast<const char*>(nullptr);
    }();
    return name;
}

}  // namespace velmora
