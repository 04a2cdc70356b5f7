#pragma once
// Files and folders as the system uses them. The Win32 host implements this
// on the real file system; the headless host keeps files in memory.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// The first bytes of a file and the size of the whole.
struct FileStart {
    std::string bytes;
    std::uint64_t size = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Whether anything (file or folder) exists under the name.
    virtual bool exists(const std::string& path) = 0;
    virtual bool createDirectory(const std::string& path) = 0;
    virtual bool deleteFile(const std::string& path) = 0;

    // The whole content, byte for byte; nothing when it cannot be opened.
    virtual std::optional<std::string> readFile(const std::string& path) = 0;
    // At most `limit` bytes from the start of the file, and its size; so a
    // look at a file of any size costs no more than `limit`. Nothing, with
    // the system's reason in `why`, when it cannot be opened or read.
    virtual std::optional<FileStart> readFileStart(const std::string& path, std::size_t limit, std::string& why) = 0;
    // Creates or truncates `path` and writes `bytes`; false when any step fails.
    virtual bool writeFile(const std::string& path, const std::string& bytes) = 0;
    // Moves `from` over `to`, replacing an existing `to` in one step.
    virtual bool replaceFile(const std::string& from, const std::string& to) = 0;
};

}  // namespace velmora
