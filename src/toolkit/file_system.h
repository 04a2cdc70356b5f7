#pragma once
// Files and folders as the system uses them. The Win32 host implements this
// on the real file system; the headless host keeps files in memory.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/base/file_stamp.h"

namespace velmora {

// What reading a file got: nothing when it could not be opened; otherwise
// its bytes from the start, up to its end or up to a read error.
struct FileContent {
    bool opened = false;
    std::string bytes;
    bool whole = false;  // read to the end; false when an error stopped the read
};

// The first bytes of a file and the size of the whole.
struct FileStart {
    std::string bytes;
    std::uint64_t size = 0;
};

// Creating a file under a name that nothing has yet.
enum class NewFile {
    Created,    // an empty file, ours alone
    NameTaken,  // something is there already; another name may do
    Impossible  // no file can be made there (no right, no such folder, too long)
};

// What a path names, a link at its end not followed.
enum class PathKind {
    Nothing,
    File,
    Folder,
    Link  // a symbolic link or a junction: replacing it would lose, or write through to, what it leads to
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Whether anything (file or folder) exists under the name.
    virtual bool exists(const std::string& path) = 0;
    virtual PathKind pathKind(const std::string& path) = 0;
    virtual bool createDirectory(const std::string& path) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    // Whether `path` is a file that a delete would not refuse for what it
    // is: false for a folder, a read-only file or nothing. A file in use
    // may still refuse.
    virtual bool deletable(const std::string& path) = 0;

    virtual FileContent read(const std::string& path) = 0;
    // The whole content, byte for byte; nothing when it cannot be opened or
    // an error stops the read before the end.
    std::optional<std::string> readFile(const std::string& path);
    // At most `limit` bytes from the start of the file, and its size; so a
    // look at a file of any size costs no more than `limit`. Nothing, with
    // the system's reason in `why`, when it cannot be opened or read.
    virtual std::optional<FileStart> readFileStart(const std::string& path, std::size_t limit, std::string& why) = 0;
    // The size and last-write time of a file named in UTF-8 (as a run's
    // database names its data file); nothing when it cannot be opened.
    virtual std::optional<FileStamp> stamp(const std::string& utf8Path) = 0;
    // The bytes of each range of a file named in UTF-8, in order, to
    // `each`, read from one opening that no one may write to meanwhile;
    // refused, nothing handed, when that opening's stamp is not
    // `expected`. false with the system's words in `why` on a failure
    // ("" when the file changed); false, `why` empty too, when `each`
    // says stop.
    virtual bool readRanges(const std::string& utf8Path, const FileStamp& expected,
                            const std::vector<ByteRange>& ranges, const std::function<bool(std::string_view)>& each,
                            std::string& why) = 0;
    // Creates an empty file at `path` only when nothing is there yet.
    virtual NewFile createNewFile(const std::string& path) = 0;
    // Makes `bytes` the whole content of `path`, creating the file when it is
    // missing; an existing file stays the same file (its attributes,
    // security and links). false when any step fails.
    virtual bool writeFile(const std::string& path, const std::string& bytes) = 0;
    // Adds `bytes` to the end of the existing file `path`, a piece at a time
    // for a file too large to hold; `flush` puts everything written on the
    // disk before it returns. false when any step fails.
    virtual bool appendFile(const std::string& path, const std::string& bytes, bool flush) = 0;
    // Puts the file `from` in the place of `to` in one step, `to` keeping its
    // attributes (with the archive attribute set, as after any write) and
    // security, or moves `from` to `to` when there is none. A folder at `to`
    // is never replaced.
    // On failure `to` is as it was and `from` is still there, except when
    // the platform moved `to` away first: then `to` no longer exists.
    virtual bool replaceFile(const std::string& from, const std::string& to) = 0;
    // Gives the file `from` the new name `to`, on the same volume, only when
    // nothing is at `to`; false, with `from` untouched, otherwise or when
    // `from` is in use.
    virtual bool moveFile(const std::string& from, const std::string& to) = 0;
    // The name as the system's wide functions read it: through the code page
    // the narrow ones name files in (the ANSI code page on Windows).
    virtual std::u16string nameAsUtf16(const std::string& path) = 0;

    // A free name beside a file. A new empty file under the first of
    // `name(0)`, `name(1)`, ... (at most `attempts` of them) that nothing
    // has; nothing when none can be made there.
    std::optional<std::string> createFreeFile(int attempts, const std::function<std::string(int)>& name);
    // The same under `path` + `suffix`, then that with 2, 3, ... after it.
    std::optional<std::string> createBeside(const std::string& path, const std::string& suffix);
    // Moves the file `path` to the first of those names that nothing has;
    // nothing when it cannot be moved (a file in use).
    std::optional<std::string> moveBeside(const std::string& path, const std::string& suffix);
};

}  // namespace velmora
