#include <windows.h>

#include <cstring>

#include "engine/storage/database_claim.h"
#include "engine/storage/output_file.h"

namespace velmora {

// The file open without delete sharing (engine/storage/output_file.h): no
// other run can delete or rename it while this one lives.
struct DatabaseClaim::Held {
    OutputFile file;
};

DatabaseClaim::DatabaseClaim() = default;

DatabaseClaim::~DatabaseClaim() { discard(); }

Result<DatabaseClaim::Holder> DatabaseClaim::hold(const std::string& temporaryPath) {
    auto held = std::make_unique<Held>();
    for (int attempt = 0; attempt < 3; ++attempt) {
        Result<OutputFile::Made> made = held->file.create(temporaryPath);
        if (!made) return fail(made.failure());
        if (*made == OutputFile::Made::Created) {
            held_ = std::move(held);
            return Holder::ThisRun;
        }
        // Only a run's file, a regular one, is a dead run's to remove.
        const DWORD attributes = GetFileAttributesA(temporaryPath.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) != 0)
            return fail("something that is not a regular file is in its place");
        // A live run holds its file open without delete sharing, so only a
        // dead run's file can be deleted.
        if (!DeleteFileA(temporaryPath.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return Holder::AnotherRun;
    }
    return fail("another file keeps taking its name");
}

Status DatabaseClaim::flush() {
    if (held_) return held_->file.flush();
    return fail("no temporary database");
}

Status DatabaseClaim::publish(const std::string& target) {
    if (!held_) return fail("no temporary database");
    Status moved = held_->file.moveOnto(target, true);
    held_.reset();
    return moved;
}

void DatabaseClaim::discard() { held_.reset(); }

void DatabaseClaim::flushOnTheWay() {
    if (held_) (void)held_->file.flush();
}

bool DatabaseClaim::stillHeld() const { return held_ && held_->file.stillAt(held_->file.path()); }

FileIdentity DatabaseClaim::identity() const { return held_ ? held_->file.identity() : FileIdentity{}; }

Status DatabaseClaim::pathFits(const std::string& databasePath) {
    // The ANSI functions stop at MAX_PATH, the temporary name included.
    const size_t longest = MAX_PATH - 1 - std::strlen(".partial");
    if (fullPath(databasePath).size() <= longest) return {};
    return fail("the database path is longer than " + std::to_string(longest) + " characters");
}

}  // namespace velmora
