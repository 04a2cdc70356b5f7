// What setup cannot say in its own scripting: the Users group may change the
// program's machine key. Start-up creates or opens that key and its Settings
// subkey with full access, as the program always has, and a key made under
// HKLM\SOFTWARE lets a standard user only read: he would be told so at every
// start. Both setup programs call GrantUsersAccess once the keys are made
// (the NSIS one through its System plugin, the .msi as a deferred custom
// action that runs as the system); it gives the group full access to those
// two keys and the keys below them, and to nothing above them. The group is
// named by its SID, so that a Windows in another language, where it has
// another name, is served too.
#include "src/win32/setup/users_access.h"

#include <aclapi.h>

#include <string>

#include "src/toolkit/registry.h"

namespace {

// Adds an entry allowing the Users group everything, on the key and, by
// inheritance, on the keys below it, to what the key's access list holds.
bool allowUsersEverything(HKEY key) {
    PACL current = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &current, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    BYTE users[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof users;
    PACL updated = nullptr;
    bool allowed = false;
    if (CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &size)) {
        EXPLICIT_ACCESSA entry{};
        entry.grfAccessPermissions = KEY_ALL_ACCESS;
        entry.grfAccessMode = GRANT_ACCESS;
        entry.grfInheritance = CONTAINER_INHERIT_ACE;
        entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        entry.Trustee.ptstrName = reinterpret_cast<LPSTR>(users);
        allowed = SetEntriesInAclA(1, &entry, current, &updated) == ERROR_SUCCESS &&
                  SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, updated,
                                  nullptr) == ERROR_SUCCESS;
    }
    LocalFree(updated);
    LocalFree(descriptor);
    return allowed;
}

bool allowUsersEverything(const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        READ_CONTROL | WRITE_DAC | KEY_WOW64_64KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const bool allowed = allowUsersEverything(key);
    RegCloseKey(key);
    return allowed;
}

}  // namespace

UINT __stdcall GrantUsersAccess(MSIHANDLE) {
    const std::string key = velmora::kSettingsKeyPath;
    // Each key gets the entry itself: not every system hands an inheritable
    // entry down to a subkey that already exists.
    const bool granted = allowUsersEverything(key) && allowUsersEverything(key + "\\" + velmora::kSettingsSubKey);
    return granted ? ERROR_SUCCESS : ERROR_INSTALL_FAILURE;
}
