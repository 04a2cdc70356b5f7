#pragma once
// A file the run writes: made anew under a name of its own beside where it
// belongs, written, and moved into place in one step only once it is whole.
// It is never opened through a link nor as anything but a regular file, and
// while it is written only its owner may read it. Moved onto an older file
// it takes that file's permissions (POSIX: its mode bits, and its owner and
// group where the system allows; Windows: ReplaceFileA keeps its security
// descriptor); a new file takes the folder's defaults. A link at the target
// is replaced, never followed. One implementation file per platform.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/os/engine_os.h"
#include "format/base/result.h"

namespace velmora {

class OutputFile {
public:
    // Made, or a file of that name was there already: another name may do.
    enum class Made { Created, NameTaken };

    OutputFile();
    ~OutputFile();  // removes a file that was not moved into place
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates `path` anew, where nothing is.
    Result<Made> create(const std::string& path);
    Status write(std::string_view bytes);

    // Flushes what was written to the disk: done once, before the move, so
    // that a power cut leaves the old file or the new one whole.
    Status flush();
    // Moves the file onto `target`; durable: the move itself is flushed too
    // (on POSIX, the folder).
    Status moveOnto(const std::string& target, bool durable);

    // Whether `path` still reaches this file.
    bool stillAt(const std::string& path) const;
    // Removes the file if its name still reaches it, and lets it go.
    void remove();

    const std::string& path() const;
    FileIdentity identity() const;
    // The open file as the system knows it (a descriptor on POSIX, a
    // HANDLE on Windows), for a claim to lock.
    intptr_t handle() const;
    // The file now goes by `path` too, and keeps only that name.
    void renamedTo(const std::string& path);

private:
    struct Open;
    std::unique_ptr<Open> open_;
};

// A new file of a name of its own beside `target`, ending ".partial":
// `file` holds it.
Status createBeside(const std::string& target, OutputFile& file);

}  // namespace velmora
