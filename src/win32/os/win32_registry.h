#pragma once
// The real registry. Opened keys are handed out as small numbers of this
// object's own, so they can never be mistaken for the predefined roots.
#include <windows.h>

#include <map>

#include "src/toolkit/registry.h"

namespace velmora {

class Win32Registry : public Registry {
public:
    Win32Registry() = default;
    ~Win32Registry() override;  // closes keys left open
    Win32Registry(const Win32Registry&) = delete;
    Win32Registry& operator=(const Win32Registry&) = delete;

    RegistryKey createKey(RegistryKey parent, const std::string& subKey, RegistryAccess access) override;
    RegistryKey openKey(RegistryKey parent, const std::string& subKey, RegistryAccess access) override;
    std::optional<std::size_t> queryValueSize(RegistryKey key, const std::string& name) override;
    std::optional<std::string> queryValue(RegistryKey key, const std::string& name, std::size_t size) override;
    bool writeString(RegistryKey key, const std::string& name, const std::string& text) override;
    void closeKey(RegistryKey key) override;

private:
    // The handle of a root or of a key this object opened; nullptr else.
    HKEY handle(RegistryKey key) const;
    RegistryKey hand(HKEY opened);

    std::map<RegistryKey, HKEY> open_;
    RegistryKey next_ = 100;
};

}  // namespace velmora
