#pragma once
// The Windows registry as the system uses it: create or open a key, read a
// text value in two steps (size, then data), write a text value, close the
// key.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// An open key, as handed out by a Registry; 0 is no key. The predefined
// roots have fixed values below; opened keys are numbered by the host.
using RegistryKey = std::uint64_t;
constexpr RegistryKey kNoKey = 0;

enum class RegistryRoot : RegistryKey {
    ClassesRoot = 1,
    CurrentUser = 2,
    LocalMachine = 3,
    Users = 4,
    CurrentConfig = 5,
};
constexpr RegistryKey rootKey(RegistryRoot root) { return static_cast<RegistryKey>(root); }

enum class RegistryAccess { Read, Write, AllAccess };

// The program's own key under HKEY_LOCAL_MACHINE; start-up creates it and
// its subkey "Settings". What it remembers lives under the operator's own
// key (parse/remembered_values.h).
inline const char* const kSettingsKeyPath = "SOFTWARE\\Velmora\\VmTarnParser";
inline const char* const kSettingsSubKey = "Settings";

class Registry {
public:
    virtual ~Registry() = default;

    // Creates `subKey` under `parent` when absent (non-volatile, no class,
    // default security), else opens it; kNoKey on failure.
    virtual RegistryKey createKey(RegistryKey parent, const std::string& subKey, RegistryAccess access) = 0;
    // Opens an existing key; kNoKey on failure.
    virtual RegistryKey openKey(RegistryKey parent, const std::string& subKey, RegistryAccess access) = 0;
    // Size in bytes of a value's data (a text's terminating zero included).
    virtual std::optional<std::size_t> queryValueSize(RegistryKey key, const std::string& name) = 0;
    // The value's data fetched into a buffer of `size` bytes: exactly the
    // bytes stored; nothing when they do not fit or cannot be read.
    virtual std::optional<std::string> queryValue(RegistryKey key, const std::string& name, std::size_t size) = 0;
    // Stores `text` as a text value (REG_SZ, with its terminating zero);
    // false on failure.
    virtual bool writeString(RegistryKey key, const std::string& name, const std::string& text) = 0;
    virtual void closeKey(RegistryKey key) = 0;
};

}  // namespace velmora
