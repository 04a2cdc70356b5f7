#include <windows.h>
#include <aclapi.h>

#include <algorithm>
#include <vector>

#include "engine/storage/output_file.h"

namespace velmora {

// The file open for reading and writing, shared for both but not for
// deleting: while the handle lives no one, this process included, can
// delete or rename it, and Windows closes it with the process however the
// process ends.
struct OutputFile::Open {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::string path;
    BY_HANDLE_FILE_INFORMATION identity{};
};

namespace {

std::string systemError(DWORD code) { return "system error " + std::to_string(code); }

const char* const kNotWritten = "the file could not be written";

bool sameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// Security that lets the current user alone in, whatever the folder would
// give a new file; none (the folder's) when it cannot be made.
class OwnerOnly {
public:
    OwnerOnly() {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        user_.resize(size);
        const bool known = size > 0 && GetTokenInformation(token, TokenUser, user_.data(), size, &size);
        CloseHandle(token);
        if (!known) return;
        PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
        const DWORD aclSize = static_cast<DWORD>(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid));
        acl_.resize(aclSize);
        PACL acl = reinterpret_cast<PACL>(acl_.data());
        ok_ = InitializeAcl(acl, aclSize, ACL_REVISION) &&
              AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) &&
              InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
              SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
        attributes_ = {sizeof attributes_, &descriptor_, FALSE};
    }
    SECURITY_ATTRIBUTES* get() { return ok_ ? &attributes_ : nullptr; }

private:
    std::vector<char> user_, acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool ok_ = false;
};

// What a MoveFileExA came to.
Status movedOrWhy(BOOL moved) {
    if (moved) return {};
    return fail(systemError(GetLastError()));
}

// The file a name reaches, the name itself when it is a link.
bool identityAt(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE h = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    return known;
}

// Moves `from` onto the regular file `to` with ReplaceFileA, which may have
// moved the old file away before failing; the new one then takes the free
// name.
Status moveOver(const std::string& from, const std::string& to) {
    // Wine's ReplaceFileA refuses relative names (ERROR_DIRECTORY).
    if (ReplaceFileA(fullPath(to).c_str(), fullPath(from).c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr))
        return {};
    const std::string why = systemError(GetLastError());
    if (GetFileAttributesA(to.c_str()) == INVALID_FILE_ATTRIBUTES &&
        MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH))
        return {};
    return fail(why);
}

// Moves `from` onto the regular file `to`, which keeps its security:
// ReplaceFileA keeps the old file's descriptor on Windows; Wine 8 leaves
// the new file's, so the old access list is put on it again.
Status replaceFile(const std::string& from, const std::string& to) {
    PACL access = nullptr;
    PSECURITY_DESCRIPTOR old = nullptr;
    if (GetNamedSecurityInfoA(to.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &access, nullptr,
                              &old) != ERROR_SUCCESS)
        old = nullptr;
    Status replaced = moveOver(from, to);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (replaced && old && GetSecurityDescriptorControl(old, &control, &revision)) {
        const SECURITY_INFORMATION kept =
            DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                       : UNPROTECTED_DACL_SECURITY_INFORMATION);
        SetNamedSecurityInfoA(const_cast<char*>(to.c_str()), SE_FILE_OBJECT, kept, nullptr, nullptr, access, nullptr);
    }
    if (old) LocalFree(old);
    return replaced;
}

}  // namespace

OutputFile::OutputFile() = default;

OutputFile::~OutputFile() { remove(); }

Result<OutputFile::Made> OutputFile::create(const std::string& path) {
    remove();
    static OwnerOnly ownerOnly;
    // CREATE_NEW takes no name that anything holds, a link included.
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           ownerOnly.get(), CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) return Made::NameTaken;
        return fail(systemError(code));
    }
    auto open = std::make_unique<Open>(Open{h, path, {}});
    // A device name (NUL, COM1, ...) opens a device, not a file.
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &open->identity) ||
        (open->identity.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        CloseHandle(h);
        return fail("it is not a regular file");
    }
    open_ = std::move(open);
    return Made::Created;
}

Status OutputFile::write(std::string_view bytes) {
    if (!open_) return fail(kNotWritten);
    while (!bytes.empty()) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(open_->handle, bytes.data(), want, &written, nullptr) || written == 0) return fail(kNotWritten);
        bytes.remove_prefix(written);
    }
    return {};
}

Status OutputFile::flush() {
    if (open_ && open_->handle != INVALID_HANDLE_VALUE && FlushFileBuffers(open_->handle)) return {};
    return fail(open_ ? systemError(GetLastError()) : "no file to flush");
}

Status OutputFile::moveOnto(const std::string& target, bool durable) {
    if (!open_ || !stillAt(open_->path))
        return fail(open_ ? open_->path + " is no longer the run's own" : "no file to move");
    // The hold must go for the file to move; another run that found it
    // unheld now would hold its own file there and the move would fail.
    CloseHandle(open_->handle);
    open_->handle = INVALID_HANDLE_VALUE;
    const std::string& from = open_->path;
    const DWORD attributes = GetFileAttributesA(target.c_str());
    Status moved;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // A new file takes the folder's defaults: those of an empty file
        // made there now, which the run's file then replaces.
        HANDLE made =
            CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (made != INVALID_HANDLE_VALUE) {
            CloseHandle(made);
            moved = replaceFile(from, target);
            if (!moved) DeleteFileA(target.c_str());
        } else {
            moved = movedOrWhy(MoveFileExA(from.c_str(), target.c_str(), durable ? MOVEFILE_WRITE_THROUGH : 0));
        }
    } else if ((attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0) {
        moved = replaceFile(from, target);
    } else {
        // A link is replaced, not followed; a folder refuses.
        moved = movedOrWhy(MoveFileExA(from.c_str(), target.c_str(),
                                       MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0)));
    }
    if (moved) open_.reset();
    return moved;
}

bool OutputFile::stillAt(const std::string& path) const {
    BY_HANDLE_FILE_INFORMATION named;
    return open_ && identityAt(path, named) && sameFile(named, open_->identity);
}

void OutputFile::remove() {
    if (!open_) return;
    if (open_->handle != INVALID_HANDLE_VALUE) CloseHandle(open_->handle);
    // Opened again alone and for deleting, and deleted only if it is still
    // the run's file: another run's would be held, and this open fail.
    HANDLE h = CreateFileA(open_->path.c_str(), DELETE | SYNCHRONIZE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    BY_HANDLE_FILE_INFORMATION now{};
    if (h != INVALID_HANDLE_VALUE) {
        if (GetFileInformationByHandle(h, &now) && sameFile(now, open_->identity)) {
            FILE_DISPOSITION_INFO remove{TRUE};
            SetFileInformationByHandle(h, FileDispositionInfo, &remove, sizeof remove);
        }
        CloseHandle(h);
    }
    open_.reset();
}

const std::string& OutputFile::path() const {
    static const std::string none;
    return open_ ? open_->path : none;
}

FileIdentity OutputFile::identity() const {
    if (!open_) return {};
    const BY_HANDLE_FILE_INFORMATION& i = open_->identity;
    return {i.dwVolumeSerialNumber, (static_cast<uint64_t>(i.nFileIndexHigh) << 32) | i.nFileIndexLow, true};
}

intptr_t OutputFile::handle() const {
    return open_ ? reinterpret_cast<intptr_t>(open_->handle) : reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE);
}

void OutputFile::renamedTo(const std::string& path) {
    if (open_) open_->path = path;
}

}  // namespace velmora
