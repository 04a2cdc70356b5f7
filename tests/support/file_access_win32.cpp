#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "tests/support/file_access.h"

namespace velmora::test {

std::string accessOf(const std::string& path) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    PACL acl = nullptr;
    char* text = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                              &sd) != ERROR_SUCCESS)
        return "";
    ConvertSecurityDescriptorToStringSecurityDescriptorA(sd, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text,
                                                         nullptr);
    std::string access = text ? text : "";
    LocalFree(text);
    LocalFree(sd);
    return access;
}
bool othersMayRead(const std::string& access) {
    return access.find(";WD)") != std::string::npos || access.find(";BU)") != std::string::npos ||
           access.find(";AU)") != std::string::npos;
}
void makePrivate(const std::string& path) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;FA;;;SY)(A;;FA;;;OW)", SDDL_REVISION_1, &sd, nullptr);
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = nullptr;
    GetSecurityDescriptorDacl(sd, &present, &acl, &defaulted);
    SetNamedSecurityInfoA(const_cast<char*>(path.c_str()), SE_FILE_OBJECT,
                          DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr, acl,
                          nullptr);
    LocalFree(sd);
}

}  // namespace velmora::test
