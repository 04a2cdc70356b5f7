#include "tests/e2e/installation_checks.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/test_files.h"
#include "tests/src/win32/win32_test_support.h"

namespace velmora::test {

namespace {

const char* const kEngineKey = "Software\\Velmora\\TarnParser";
const char* const kProgramKey = "SOFTWARE\\Velmora\\VmTarnParser";
const char* const kSettingsKey = "SOFTWARE\\Velmora\\VmTarnParser\\Settings";
const char* const kEventSourceKey = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Velmora Data Parser";
const char* const kInstalledFiles[] = {"VelmoraDataParser.exe", "ParseTarn.exe",
                                       "PolicyDefinitions\\VelmoraDataParser.admx",
                                       "PolicyDefinitions\\en-US\\VelmoraDataParser.adml"};

std::string startMenuEntry(int folder) {
    char programs[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::string(programs) + "\\Velmora Data Parser.lnk";
}

// An allowing entry of an HKLM key's access list: what it allows and how it
// is handed down.
struct Entry {
    ACCESS_MASK mask;
    BYTE flags;
};

// The entries of the key's access list that allow the Users group, named
// by its SID, something.
std::vector<Entry> usersEntries(const char* key) {
    std::vector<Entry> entries;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, READ_CONTROL | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS)
        return entries;
    DWORD size = 0;
    RegGetKeySecurity(opened, DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<BYTE> descriptor(size);
    BOOL present = FALSE, defaulted = FALSE;
    PACL list = nullptr;
    BYTE users[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof users;
    if (RegGetKeySecurity(opened, DACL_SECURITY_INFORMATION, descriptor.data(), &size) == ERROR_SUCCESS &&
        GetSecurityDescriptorDacl(descriptor.data(), &present, &list, &defaulted) && present && list &&
        CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &sidSize)) {
        for (DWORD i = 0; i < list->AceCount; ++i) {
            ACCESS_ALLOWED_ACE* entry = nullptr;
            if (GetAce(list, i, reinterpret_cast<void**>(&entry)) && entry->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
                EqualSid(&entry->SidStart, users))
                entries.push_back({entry->Mask, entry->Header.AceFlags});
        }
    }
    RegCloseKey(opened);
    return entries;
}

// Everything on the key itself, handed down to the keys below it.
bool usersHaveFullAccess(const char* key) {
    for (const Entry& e : usersEntries(key))
        if ((e.mask & KEY_ALL_ACCESS) == KEY_ALL_ACCESS && (e.flags & CONTAINER_INHERIT_ACE) &&
            !(e.flags & INHERIT_ONLY_ACE))
            return true;
    return false;
}

bool usersMayChange(const char* key) {
    const ACCESS_MASK change =
        KEY_SET_VALUE | KEY_CREATE_SUB_KEY | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
    for (const Entry& e : usersEntries(key))
        if ((e.mask & change) && !(e.flags & INHERIT_ONLY_ACE)) return true;
    return false;
}

// A value as stored, not expanded, and its type.
std::optional<std::string> storedValue(const char* key, const char* name, DWORD& type) {
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_ANY | RRF_NOEXPAND | RRF_SUBKEY_WOW6464KEY, &type, buffer,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(buffer);
}

}  // namespace

std::string commonStartMenuEntry() { return startMenuEntry(CSIDL_COMMON_PROGRAMS); }
std::string userStartMenuEntry() { return startMenuEntry(CSIDL_PROGRAMS); }

std::string shortcutTarget(const std::string& link) {
    std::string target;
    CoInitialize(nullptr);
    IShellLinkA* shell = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shell)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            std::wstring wide(link.begin(), link.end());
            if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
                char path[MAX_PATH] = {};
                if (SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0))) target = path;
            }
            file->Release();
        }
        shell->Release();
    }
    CoUninitialize();
    return target;
}

bool machineKeyExists(const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

void expectInstalledIn(const std::string& folder, const std::string& startMenuEntry) {
    for (const char* file : kInstalledFiles) EXPECT_TRUE(pathExists(folder + "\\" + file)) << file;
    EXPECT_EQ(machineValue(kEngineKey, "InstallDirectory"), folder + "\\");
    EXPECT_EQ(shortcutTarget(startMenuEntry), folder + "\\VelmoraDataParser.exe");
    EXPECT_TRUE(pathExists(kConfigFolder));

    EXPECT_TRUE(usersHaveFullAccess(kProgramKey));
    EXPECT_TRUE(usersHaveFullAccess(kSettingsKey));
    EXPECT_FALSE(usersMayChange("SOFTWARE\\Velmora"));
    EXPECT_FALSE(usersMayChange(kEngineKey));

    DWORD type = REG_NONE;
    EXPECT_EQ(storedValue(kEventSourceKey, "EventMessageFile", type), folder + "\\VelmoraDataParser.exe");
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
}

void expectRemovedFrom(const std::string& folder) {
    for (const char* file : kInstalledFiles) EXPECT_FALSE(pathExists(folder + "\\" + file)) << file;
    EXPECT_FALSE(pathExists(folder + "\\PolicyDefinitions"));
    EXPECT_FALSE(machineValue(kEngineKey, "InstallDirectory"));
    EXPECT_FALSE(machineKeyExists(kProgramKey));
    EXPECT_FALSE(machineKeyExists(kEventSourceKey));
    EXPECT_FALSE(pathExists(commonStartMenuEntry()));
    EXPECT_FALSE(pathExists(userStartMenuEntry()));
}

}  // namespace velmora::test
