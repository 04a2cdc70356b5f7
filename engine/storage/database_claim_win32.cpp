#include <windows.h>

#include <vector>

#include "engine/storage/database_claim.h"

namespace velmora {

// The file open without delete sharing: while the handle lives no one, this
// process included, can delete or rename the file, and Windows closes it
// with the process however the process ends.
struct DatabaseClaim::Held {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::string path;
    BY_HANDLE_FILE_INFORMATION identity{};
};

namespace {

std::string systemError(DWORD code) { return "system error " + std::to_string(code); }

// Held as SQLite opens it beside us: reading and writing shared, deleting not.
HANDLE createHeld(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool sameIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// The name as the kernel takes it for a rename: "\??\C:\..." or
// "\??\UNC\server\share\...".
std::wstring kernelPath(const std::string& path) {
    std::wstring wide(MAX_PATH * 4, L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    std::wstring full(MAX_PATH * 4, L'\0');
    DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    full.resize(length < full.size() ? length : 0);
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\??\\UNC\\" + full.substr(2);
    return L"\\??\\" + full;
}

}  // namespace

DatabaseClaim::DatabaseClaim() = default;

DatabaseClaim::~DatabaseClaim() { discard(); }

DatabaseClaim::Result DatabaseClaim::claim(const std::string& temporaryPath, std::string& error) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        HANDLE h = createHeld(temporaryPath);
        if (h != INVALID_HANDLE_VALUE) {
            held_ = std::make_unique<Held>();
            held_->handle = h;
            held_->path = temporaryPath;
            GetFileInformationByHandle(h, &held_->identity);
            return Claimed;
        }
        DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            error = systemError(code);
            return Failed;
        }
        // A live run holds its file open without delete sharing, so only a
        // dead run's file can be deleted.
        if (!DeleteFileA(temporaryPath.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return Busy;
    }
    error = "another file keeps taking its name";
    return Failed;
}

namespace {

// Closes the run's hold and opens the file again for this process alone
// and for deleting or renaming, checking that it is still the run's file.
// Another run cannot have put its own file there in between unnoticed: its
// file would be held, and this open would fail.
HANDLE reopenAlone(HANDLE held, const std::string& path, const BY_HANDLE_FILE_INFORMATION& identity) {
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    HANDLE h = CreateFileA(path.c_str(), DELETE | SYNCHRONIZE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION now{};
    if (h != INVALID_HANDLE_VALUE && (!GetFileInformationByHandle(h, &now) || !sameIdentity(now, identity))) {
        CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
    }
    return h;
}

}  // namespace

bool DatabaseClaim::publish(const std::string& target, std::string& error) {
    if (!held_) {
        error = "no temporary database";
        return false;
    }
    HANDLE h = reopenAlone(held_->handle, held_->path, held_->identity);
    held_->handle = INVALID_HANDLE_VALUE;
    if (h == INVALID_HANDLE_VALUE) {
        error = "the temporary database " + held_->path + " is no longer the run's own";
        held_.reset();
        return false;
    }
    const std::wstring name = kernelPath(target);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    FILE_RENAME_INFO* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), rename->FileName);
    const bool moved = SetFileInformationByHandle(h, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())) != 0;
    if (!moved) {
        error = systemError(GetLastError());
        FILE_DISPOSITION_INFO remove{TRUE};
        SetFileInformationByHandle(h, FileDispositionInfo, &remove, sizeof remove);
    }
    CloseHandle(h);
    held_.reset();
    return moved;
}

void DatabaseClaim::discard() {
    if (!held_) return;
    HANDLE h = reopenAlone(held_->handle, held_->path, held_->identity);
    if (h != INVALID_HANDLE_VALUE) {
        FILE_DISPOSITION_INFO remove{TRUE};
        SetFileInformationByHandle(h, FileDispositionInfo, &remove, sizeof remove);
        CloseHandle(h);
    }
    held_.reset();
}

}  // namespace velmora
