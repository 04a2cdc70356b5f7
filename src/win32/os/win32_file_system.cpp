#include "src/win32/os/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "engine/core/text/utf16_text.h"
#include "src/win32/os/system_message.h"

namespace velmora {

namespace {

// Closes a file handle when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    // Closes now and tells whether the close itself succeeded: a write may
    // report its failure only then.
    bool close() {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != FALSE;
    }

private:
    HANDLE handle_;
};

constexpr DWORD kChunk = 1u << 20;

// All of the bytes, a chunk a call: WriteFile takes at most a DWORD.
bool writeAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunk));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, want, &written, nullptr) || written != want) return false;
        done += written;
    }
    return true;
}

constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                                      FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;

// Up to `limit` bytes from the start of `path`; `whole` tells that no read
// error stopped it first. The file's size and the system's words for a
// failure besides.
FileContent readStart(const std::string& path, std::size_t limit, std::uint64_t& size, std::string& why) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        why = systemMessage(GetLastError());
        return {};
    }
    FileContent content;
    content.opened = true;
    LARGE_INTEGER fileSize{};
    size = GetFileSizeEx(file.get(), &fileSize) ? static_cast<std::uint64_t>(fileSize.QuadPart) : 0;
    std::vector<char> buffer(kChunk);
    while (content.bytes.size() < limit) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(limit - content.bytes.size(), kChunk));
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data(), want, &got, nullptr)) {
            why = systemMessage(GetLastError());
            return content;
        }
        if (got == 0) break;
        content.bytes.append(buffer.data(), got);
    }
    content.whole = true;
    return content;
}

// The path of a file or folder with every link on the way followed, as
// "\\?\C:\..."; "" when it cannot be told.
std::string finalPath(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return "";
    char buffer[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleA(file.get(), buffer, sizeof buffer, FILE_NAME_NORMALIZED);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : "";
}

// A file named in UTF-8 opened for reading, no one writing it meanwhile.
HANDLE openUtf8ForReading(const std::string& utf8Path) {
    const Utf16 wide = utf16(utf8Path);
    return CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::optional<FileStamp> handleStamp(HANDLE file) {
    LARGE_INTEGER size{};
    FILETIME written{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 || !GetFileTime(file, nullptr, nullptr, &written))
        return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(size.QuadPart),
                     lastWriteText(static_cast<std::uint64_t>(written.dwHighDateTime) << 32 | written.dwLowDateTime)};
}

}  // namespace

std::optional<FileStamp> Win32FileSystem::stamp(const std::string& utf8Path) {
    FileHandle file(openUtf8ForReading(utf8Path));
    return file.valid() ? handleStamp(file.get()) : std::nullopt;
}

bool Win32FileSystem::readRanges(const std::string& utf8Path, const FileStamp& expected,
                                 const std::vector<ByteRange>& ranges,
                                 const std::function<bool(std::string_view)>& each, std::string& why) {
    why.clear();
    FileHandle file(openUtf8ForReading(utf8Path));
    if (!file.valid()) {
        why = systemMessage(GetLastError());
        return false;
    }
    if (handleStamp(file.get()) != expected) return false;
    std::string bytes;
    for (const ByteRange& range : ranges) {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(range.offset);
        bytes.resize(static_cast<std::size_t>(range.length));
        std::size_t done = 0;
        DWORD error = SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) ? 0 : GetLastError();
        while (!error && done < bytes.size()) {
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunk));
            if (!ReadFile(file.get(), &bytes[done], want, &got, nullptr))
                error = GetLastError();
            else if (got == 0)
                error = ERROR_HANDLE_EOF;
            done += got;
        }
        if (error) {
            why = systemMessage(error);
            return false;
        }
        if (!each(bytes)) return false;
    }
    return true;
}

bool Win32FileSystem::exists(const std::string& path) {
    // No name holds a wildcard; FindFirstFileA would match one against
    // other files and report them as this one.
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
    WIN32_FIND_DATAA data;
    HANDLE found = FindFirstFileA(path.c_str(), &data);
    if (found == INVALID_HANDLE_VALUE) return false;
    FindClose(found);
    return true;
}

PathKind Win32FileSystem::pathKind(const std::string& path) {
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return PathKind::Nothing;
    WIN32_FIND_DATAA data;
    HANDLE found = FindFirstFileA(path.c_str(), &data);
    if (found == INVALID_HANDLE_VALUE) {
        // A drive's root has no entry of its own.
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Nothing;
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::Folder : PathKind::File;
    }
    FindClose(found);
    // Windows marks symbolic links and junctions so; Wine marks a linked
    // folder without a tag. Other reparse points (files kept in the cloud)
    // are files.
    const DWORD tag = data.dwReserved0;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        (tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT || tag == 0))
        return PathKind::Link;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Folder;
    // Wine shows a linked file as a plain one; followed, its path then ends
    // elsewhere than its folder's and its own name.
    const std::size_t slash = path.find_last_of("\\/");
    const std::string folder = finalPath(slash == std::string::npos ? "." : path.substr(0, slash + 1));
    const std::string whole = finalPath(path);
    if (!folder.empty() && !whole.empty()) {
        const std::string expected = (folder.back() == '\\' ? folder : folder + "\\") + data.cFileName;
        if (lstrcmpiA(whole.c_str(), expected.c_str()) != 0) return PathKind::Link;
    }
    return PathKind::File;
}

bool Win32FileSystem::createDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool Win32FileSystem::deletable(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

FileContent Win32FileSystem::read(const std::string& path) {
    std::uint64_t size = 0;
    std::string why;
    return readStart(path, static_cast<std::size_t>(-1), size, why);
}

std::optional<FileStart> Win32FileSystem::readFileStart(const std::string& path, std::size_t limit, std::string& why) {
    std::uint64_t size = 0;
    FileContent content = readStart(path, limit, size, why);
    if (!content.whole) return std::nullopt;
    // A file that grew since its size was taken is at least what was read.
    size = std::max<std::uint64_t>(size, content.bytes.size());
    return FileStart{std::move(content.bytes), size};
}

NewFile Win32FileSystem::createNewFile(const std::string& path) {
    // The ANSI functions stop at MAX_PATH on Windows; Wine would go on, and
    // then ReplaceFileA's own name beside the file would not fit.
    if (path.size() >= MAX_PATH) return NewFile::Impossible;
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid()) return file.close() ? NewFile::Created : NewFile::Impossible;
    // A folder of that name, or a file being deleted, refuses the name
    // without saying that it exists.
    DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return NewFile::NameTaken;
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ? NewFile::NameTaken : NewFile::Impossible;
}

bool Win32FileSystem::writeFile(const std::string& path, const std::string& bytes) {
    // Opened rather than created anew: an existing file stays the same file,
    // hidden or not, with its security and its other names. Shared as the
    // original program's write was, so a file that another program holds
    // open, sharing writing, still takes it.
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || !SetEndOfFile(file.get()) || !writeAll(file.get(), bytes)) return false;
    // On the disk before anything takes the old file's place.
    return FlushFileBuffers(file.get()) && file.close();
}

bool Win32FileSystem::appendFile(const std::string& path, const std::string& bytes, bool flush) {
    FileHandle file(
        CreateFileA(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || !writeAll(file.get(), bytes)) return false;
    if (flush && !FlushFileBuffers(file.get())) return false;
    return file.close();
}

bool Win32FileSystem::replaceFile(const std::string& from, const std::string& to) {
    const DWORD attributes = GetFileAttributesA(to.c_str());
    // A folder is never replaced: Wine's ReplaceFileA would move it away.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    bool replaced =
        ReplaceFileA(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE;
    // ReplaceFileA may have moved the old file away before failing; the new
    // one then takes the free name.
    if (!replaced && GetFileAttributesA(to.c_str()) == INVALID_FILE_ATTRIBUTES)
        replaced = MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!replaced) return false;
    // Windows carries the attributes over; Wine 8 leaves the new file's.
    const DWORD wanted = replacedFileAttributes(attributes);
    const DWORD now = GetFileAttributesA(to.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & kSettableAttributes) != wanted) SetFileAttributesA(to.c_str(), wanted);
    return true;
}

std::uint32_t replacedFileAttributes(std::uint32_t old) { return (old & kSettableAttributes) | FILE_ATTRIBUTE_ARCHIVE; }

bool Win32FileSystem::moveFile(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING and MOVEFILE_COPY_ALLOWED: a rename
    // on the volume that never replaces anything.
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::u16string Win32FileSystem::nameAsUtf16(const std::string& path) {
    const int length = static_cast<int>(path.size());
    std::u16string wide(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, path.data(), length, nullptr, 0)), u'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), length, reinterpret_cast<wchar_t*>(&wide[0]),
                        static_cast<int>(wide.size()));
    return wide;
}

}  // namespace velmora
