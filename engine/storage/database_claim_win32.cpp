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

DatabaseClaim::Result DatabaseClaim::claim(const std::string& temporaryPath, std::string& error) {
    auto held = std::make_unique<Held>();
    for (int attempt = 0; attempt < 3; ++attempt) {
        switch (held->file.create(temporaryPath, error)) {
        case OutputFile::Created:
            error.clear();
            held_ = std::move(held);
            return Claimed;
        case OutputFile::Failed:
            return Failed;
        case OutputFile::NameTaken:
            break;
        }
        // Only a run's file, a regular one, is a dead run's to remove.
        const DWORD attributes = GetFileAttributesA(temporaryPath.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) != 0) {
            error = "something that is not a regular file is in its place";
            return Failed;
        }
        // A live run holds its file open without delete sharing, so only a
        // dead run's file can be deleted.
        if (!DeleteFileA(temporaryPath.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return Busy;
    }
    error = "another file keeps taking its name";
    return Failed;
}

bool DatabaseClaim::flush(std::string& error) {
    if (held_) return held_->file.flush(error);
    error = "no temporary database";
    return false;
}

bool DatabaseClaim::publish(const std::string& target, std::string& error) {
    if (!held_) {
        error = "no temporary database";
        return false;
    }
    const bool moved = held_->file.moveOnto(target, true, error);
    held_.reset();
    return moved;
}

void DatabaseClaim::discard() { held_.reset(); }

void DatabaseClaim::flushOnTheWay() {
    std::string ignored;
    if (held_) held_->file.flush(ignored);
}

bool DatabaseClaim::stillHeld() const { return held_ && held_->file.stillAt(held_->file.path()); }

FileIdentity DatabaseClaim::identity() const { return held_ ? held_->file.identity() : FileIdentity{}; }

std::string DatabaseClaim::pathTooLong(const std::string& databasePath) {
    // The ANSI functions stop at MAX_PATH, the temporary name included.
    const size_t longest = MAX_PATH - 1 - std::strlen(".partial");
    if (fullPath(databasePath).size() <= longest) return "";
    return "the database path is longer than " + std::to_string(longest) + " characters";
}

}  // namespace velmora
