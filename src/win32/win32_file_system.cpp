#include "win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <vector>

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

// The system's own words for an error, without the line end it adds.
std::string systemMessage(DWORD error) {
    char* text = nullptr;
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text ? std::string(text, length) : "";
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message.empty() ? "Windows error " + std::to_string(error) + "." : message;
}

}  // namespace

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

bool Win32FileSystem::createDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

std::optional<std::string> Win32FileSystem::readFile(const std::string& path) {
    std::string why;
    auto whole = readFileStart(path, static_cast<std::size_t>(-1), why);
    if (!whole) return std::nullopt;
    return std::move(whole->bytes);
}

std::optional<FileStart> Win32FileSystem::readFileStart(const std::string& path, std::size_t limit, std::string& why) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        why = systemMessage(GetLastError());
        return std::nullopt;
    }
    FileStart start;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size)) start.size = static_cast<std::uint64_t>(size.QuadPart);
    std::vector<char> buffer(kChunk);
    while (start.bytes.size() < limit) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(limit - start.bytes.size(), kChunk));
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data(), want, &got, nullptr)) {
            why = systemMessage(GetLastError());
            return std::nullopt;
        }
        if (got == 0) break;
        start.bytes.append(buffer.data(), got);
    }
    // A file that grew since its size was taken is at least what was read.
    start.size = std::max<std::uint64_t>(start.size, start.bytes.size());
    return start;
}

bool Win32FileSystem::writeFile(const std::string& path, const std::string& bytes) {
    FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunk));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, want, &written, nullptr) || written != want) return false;
        done += written;
    }
    return file.close();
}

bool Win32FileSystem::replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace velmora
