#include "src/win32/os/win32_registry.h"

#include <vector>

namespace velmora {

namespace {

REGSAM samOf(RegistryAccess access) {
    switch (access) {
    case RegistryAccess::Read:
        return KEY_READ;
    case RegistryAccess::Write:
        return KEY_WRITE;
    case RegistryAccess::AllAccess:
        break;
    }
    return KEY_ALL_ACCESS;
}

}  // namespace

Win32Registry::~Win32Registry() {
    for (const auto& entry : open_) RegCloseKey(entry.second);
}

HKEY Win32Registry::handle(RegistryKey key) const {
    switch (key) {
    case rootKey(RegistryRoot::ClassesRoot):
        return HKEY_CLASSES_ROOT;
    case rootKey(RegistryRoot::CurrentUser):
        return HKEY_CURRENT_USER;
    case rootKey(RegistryRoot::LocalMachine):
        return HKEY_LOCAL_MACHINE;
    case rootKey(RegistryRoot::Users):
        return HKEY_USERS;
    case rootKey(RegistryRoot::CurrentConfig):
        return HKEY_CURRENT_CONFIG;
    default:
        break;
    }
    auto it = open_.find(key);
    return it == open_.end() ? nullptr : it->second;
}

RegistryKey Win32Registry::hand(HKEY opened) {
    RegistryKey key = next_++;
    open_[key] = opened;
    return key;
}

RegistryKey Win32Registry::createKey(RegistryKey parent, const std::string& subKey, RegistryAccess access) {
    HKEY parentHandle = handle(parent);
    if (!parentHandle) return kNoKey;
    HKEY opened = nullptr;
    DWORD disposition = 0;
    LONG status = RegCreateKeyExA(parentHandle, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, samOf(access),
                                  nullptr, &opened, &disposition);
    return status == ERROR_SUCCESS ? hand(opened) : kNoKey;
}

RegistryKey Win32Registry::openKey(RegistryKey parent, const std::string& subKey, RegistryAccess access) {
    HKEY parentHandle = handle(parent);
    if (!parentHandle) return kNoKey;
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(parentHandle, subKey.c_str(), 0, samOf(access), &opened);
    return status == ERROR_SUCCESS ? hand(opened) : kNoKey;
}

std::optional<std::size_t> Win32Registry::queryValueSize(RegistryKey key, const std::string& name) {
    HKEY keyHandle = handle(key);
    if (!keyHandle) return std::nullopt;
    DWORD size = 0;
    if (RegQueryValueExA(keyHandle, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return size;
}

std::optional<std::string> Win32Registry::queryValue(RegistryKey key, const std::string& name, std::size_t size) {
    HKEY keyHandle = handle(key);
    if (!keyHandle || size > MAXDWORD) return std::nullopt;
    std::vector<BYTE> buffer(size);
    auto stored = static_cast<DWORD>(size);
    // The size asked for first may exceed what the ANSI form stores: keep
    // only the bytes the fetch reports.
    if (RegQueryValueExA(keyHandle, name.c_str(), nullptr, nullptr, buffer.empty() ? nullptr : buffer.data(),
                         &stored) != ERROR_SUCCESS)
        return std::nullopt;
    if (stored > size) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(buffer.data()), stored);
}

bool Win32Registry::writeString(RegistryKey key, const std::string& name, const std::string& text) {
    HKEY keyHandle = handle(key);
    if (!keyHandle || text.size() >= MAXDWORD) return false;
    return RegSetValueExA(keyHandle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

void Win32Registry::closeKey(RegistryKey key) {
    auto it = open_.find(key);
    if (it == open_.end()) return;  // the roots stay open
    RegCloseKey(it->second);
    open_.erase(it);
}

}  // namespace velmora
