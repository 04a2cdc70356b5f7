#pragma once
// Files and folders in memory, for tests that must never touch the
// machine's own folders. Paths are compared as given, without case folding.
#include <map>
#include <set>
#include <string>

#include "src/toolkit/file_system.h"

namespace velmora {

class MemoryFileSystem : public FileSystem {
public:
    bool exists(const std::string& path) override;
    PathKind pathKind(const std::string& path) override;
    bool createDirectory(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    bool deletable(const std::string& path) override;
    FileContent read(const std::string& path) override;
    std::optional<FileStart> readFileStart(const std::string& path, std::size_t limit, std::string& why) override;
    NewFile createNewFile(const std::string& path) override;
    bool writeFile(const std::string& path, const std::string& bytes) override;
    bool appendFile(const std::string& path, const std::string& bytes, bool flush) override;
    bool replaceFile(const std::string& from, const std::string& to) override;
    // An undeletable file is in use, so it cannot be moved either.
    bool moveFile(const std::string& from, const std::string& to) override;
    // Through `codePage`, or as UTF-8 without one.
    std::u16string nameAsUtf16(const std::string& path) override;
    // A file's stamp is the one `stamps` gives it, or its size and a fixed time.
    std::optional<FileStamp> stamp(const std::string& utf8Path) override;
    bool readRanges(const std::string& utf8Path, const FileStamp& expected, const std::vector<ByteRange>& ranges,
                    const std::function<bool(std::string_view)>& each, std::string& why) override;

    // Test controls: files that cannot be opened for reading, read-only
    // files (renamed, never written, replaced or deleted), files held open
    // without delete sharing (written, never deleted, moved or replaced),
    // reads and writes of a file that fail after a number of bytes, and a
    // write that stops after a number of bytes (a full disk).
    std::set<std::string> unreadable;
    std::map<std::string, std::size_t> readErrorAt;
    std::map<std::string, std::size_t> writeErrorAt;
    std::set<std::string> unwritable;
    std::set<std::string> undeletable;
    bool failDirectoryCreation = false;
    long long writeLimit = -1;  // -1: no limit
    // No new file can be made anywhere; existing files can still be written.
    bool failFileCreation = false;
    // Replacing moves the old file away and then fails, as the platform's
    // replace may.
    bool replaceLosesTarget = false;
    // Names in a single-byte code page of the test's: the character of each
    // of the 256 byte values. Empty: names are UTF-8, as the native system
    // takes them.
    std::u16string codePage;

    std::map<std::string, std::string> files;
    std::map<std::string, FileStamp> stamps;
    std::set<std::string> directories;
    // Files that are links to others elsewhere.
    std::set<std::string> links;
};

}  // namespace velmora
