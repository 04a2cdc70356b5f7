#pragma once
// Files and folders as the system uses them. The Win32 host implements this
// on the real file system; the headless host keeps files in memory.
#include <optional>
#include <string>

namespace velmora {

// What reading a file got: nothing when it could not be opened; otherwise
// its bytes from the start, up to its end or up to a read error.
struct FileContent {
    bool opened = false;
    std::string bytes;
    bool whole = false;  // read to the end; false when an error stopped the read
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Whether anything (file or folder) exists under the name.
    virtual bool exists(const std::string& path) = 0;
    virtual bool createDirectory(const std::string& path) = 0;
    virtual bool deleteFile(const std::string& path) = 0;

    virtual FileContent read(const std::string& path) = 0;
    // The whole content, byte for byte; nothing when it cannot be opened or
    // an error stops the read before the end.
    std::optional<std::string> readFile(const std::string& path);
    // Creates or truncates `path` and writes `bytes`; false when any step fails.
    virtual bool writeFile(const std::string& path, const std::string& bytes) = 0;
    // Moves `from` over `to`, replacing an existing `to` in one step.
    virtual bool replaceFile(const std::string& from, const std::string& to) = 0;
};

}  // namespace velmora
