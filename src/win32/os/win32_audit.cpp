#include "src/win32/os/win32_audit.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

#include "src/win32/os/system_message.h"

namespace velmora {

namespace {

// The SID of a group named "S-1-..." or by its account name; empty when
// it is neither.
std::vector<BYTE> groupSid(const std::string& group) {
    if (group.rfind("S-", 0) == 0 || group.rfind("s-", 0) == 0) {
        PSID sid = nullptr;
        if (!ConvertStringSidToSidA(group.c_str(), &sid)) return {};
        const BYTE* bytes = static_cast<const BYTE*>(sid);
        std::vector<BYTE> copy(bytes, bytes + GetLengthSid(sid));
        LocalFree(sid);
        return copy;
    }
    DWORD sidSize = 0, domainSize = 0;
    SID_NAME_USE use;
    LookupAccountNameA(nullptr, group.c_str(), nullptr, &sidSize, nullptr, &domainSize, &use);
    if (sidSize == 0) return {};
    std::vector<BYTE> sid(sidSize);
    std::vector<char> domain(domainSize + 1);
    if (!LookupAccountNameA(nullptr, group.c_str(), sid.data(), &sidSize, domain.data(), &domainSize, &use)) return {};
    return sid;
}

// The SID of the user the program runs as.
std::vector<BYTE> tokenUser() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> info(size);
    std::vector<BYTE> sid;
    if (size > 0 && GetTokenInformation(token, TokenUser, info.data(), size, &size)) {
        PSID user = reinterpret_cast<TOKEN_USER*>(info.data())->User.Sid;
        const BYTE* bytes = static_cast<const BYTE*>(user);
        sid.assign(bytes, bytes + GetLengthSid(user));
    }
    CloseHandle(token);
    return sid;
}

}  // namespace

bool Win32Audit::isMember(const std::string& group) {
    std::vector<BYTE> sid = groupSid(group);
    BOOL member = FALSE;
    return !sid.empty() && CheckTokenMembership(nullptr, sid.data(), &member) && member;
}

std::string Win32Audit::userName() {
    std::vector<BYTE> sid = tokenUser();
    char name[256] = {}, domain[256] = {};
    DWORD nameSize = sizeof name, domainSize = sizeof domain;
    SID_NAME_USE use;
    if (!sid.empty() && LookupAccountSidA(nullptr, sid.data(), name, &nameSize, domain, &domainSize, &use))
        return std::string(domain) + "\\" + name;
    nameSize = sizeof name;
    return GetUserNameA(name, &nameSize) ? name : "";
}

bool Win32Audit::writeEvent(AuditEvent event, const std::string& text, std::string& why) {
    HANDLE source = RegisterEventSourceA(nullptr, kEventSource);
    if (!source) {
        why = systemMessage(GetLastError());
        return false;
    }
    std::vector<BYTE> user = tokenUser();
    const char* strings[] = {text.c_str()};
    const BOOL written = ReportEventA(source, EVENTLOG_INFORMATION_TYPE, 0, static_cast<DWORD>(event),
                                      user.empty() ? nullptr : user.data(), 1, 0, strings, nullptr);
    const DWORD error = GetLastError();
    DeregisterEventSource(source);
    if (!written) why = systemMessage(error);
    return written != FALSE;
}

}  // namespace velmora
