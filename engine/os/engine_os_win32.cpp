#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <random>
#include <cstdio>

#include "engine/os/engine_os.h"
#include "engine/command/windows_command_line.h"
#include "engine/core/text/utf16_text.h"

namespace velmora {

// A write to a closed pipe already fails with ERROR_NO_DATA.
void reportBrokenPipes() {}

void standardOutputInBinary() {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}

std::vector<std::string> programArguments(int, char**) {
    std::vector<std::string> args = splitWindowsCommandLine(GetCommandLineA());
    if (!args.empty()) args.erase(args.begin());
    return args;
}

// Windows names files through the ANSI code page; the utility's Results
// read the name back the same way.
std::string pathAsUtf8(const std::string& path) {
    const int length = static_cast<int>(path.size());
    Utf16 wide(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, path.data(), length, nullptr, 0)), u'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), length, reinterpret_cast<wchar_t*>(&wide[0]),
                        static_cast<int>(wide.size()));
    return utf8(wide.data(), wide.size());
}

FileStamp openFileStamp(std::FILE* file) {
    HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    LARGE_INTEGER size;
    FILETIME written;
    if (h == INVALID_HANDLE_VALUE || GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size) ||
        size.QuadPart < 0 || !GetFileTime(h, nullptr, nullptr, &written))
        return {};
    return {static_cast<uint64_t>(size.QuadPart),
            lastWriteText(static_cast<std::uint64_t>(written.dwHighDateTime) << 32 | written.dwLowDateTime)};
}

namespace {

bool sameFile(const std::string& a, const std::string& b) {
    auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        bool ok = GetFileInformationByHandle(h, &info) != 0;
        CloseHandle(h);
        return ok;
    };
    BY_HANDLE_FILE_INFORMATION ia, ib;
    if (!identity(a, ia) || !identity(b, ib)) return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
           ia.nFileIndexLow == ib.nFileIndexLow;
}

}  // namespace

std::string fullPath(const std::string& path) {
    char buffer[MAX_PATH * 4];
    DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
}

bool samePlace(const std::string& a, const std::string& b) {
    if (a == b || sameFile(a, b)) return true;
    // Names that do not exist yet: Windows compares them without regard to case.
    return lstrcmpiA(fullPath(a).c_str(), fullPath(b).c_str()) == 0;
}

bool isFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool removeFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

PathKind pathKind(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return PathKind::Link;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Folder;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return PathKind::Other;
    return PathKind::File;
}

FileIdentity openFileIdentity(std::FILE* file) {
    BY_HANDLE_FILE_INFORMATION info;
    HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(h, &info)) return {};
    return {info.dwVolumeSerialNumber, (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow, true};
}

std::string computerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

std::string uniqueSuffix() {
    static std::atomic<unsigned> calls{0};
    std::random_device seed;
    return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(seed()) + std::to_string(calls++);
}

}  // namespace velmora
