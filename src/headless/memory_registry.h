#pragma once
// The registry in memory. Key paths are written with their root's full
// name ("HKEY_LOCAL_MACHINE\Software\...") and compared without regard to
// case, as the registry compares them. Every call is logged so that tests
// can check the access asked for and that every key was closed.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "src/toolkit/registry.h"

namespace velmora {

class MemoryRegistry : public Registry {
public:
    // Test set-up: a key (with its parents) and a value's raw bytes.
    void addKey(const std::string& keyPath);
    void setValue(const std::string& keyPath, const std::string& name, const std::string& bytes);
    // A text value as stored by the registry: the text and a terminating zero.
    void setString(const std::string& keyPath, const std::string& name, const std::string& text);
    bool hasKey(const std::string& keyPath) const;

    // Failure injection, by full key path or value name.
    std::set<std::string> refuseCreate;
    std::set<std::string> refuseOpen;
    std::set<std::string> refuseSizeQuery;  // value names
    std::set<std::string> refuseDataQuery;  // value names

    struct Call {
        std::string what;  // "create", "open", "size", "data", "write", "close"
        std::string path;  // full key path; the value name for "size", "data" and "write"
        RegistryAccess access = RegistryAccess::Read;
    };
    std::vector<Call> calls;
    std::size_t openKeyCount() const { return open_.size(); }

    RegistryKey createKey(RegistryKey parent, const std::string& subKey, RegistryAccess access) override;
    RegistryKey openKey(RegistryKey parent, const std::string& subKey, RegistryAccess access) override;
    std::optional<std::size_t> queryValueSize(RegistryKey key, const std::string& name) override;
    std::optional<std::string> queryValue(RegistryKey key, const std::string& name, std::size_t size) override;
    bool writeString(RegistryKey key, const std::string& name, const std::string& text) override;
    void closeKey(RegistryKey key) override;

private:
    // Full path of a parent (root or open key) joined with a sub key; empty
    // when the parent is neither.
    std::string resolve(RegistryKey parent, const std::string& subKey) const;
    const std::string* valueOf(RegistryKey key, const std::string& name) const;
    RegistryKey hand(const std::string& path, RegistryAccess access);

    std::map<std::string, std::map<std::string, std::string>> keys_;  // folded path -> values
    std::map<RegistryKey, std::string> open_;                         // key -> folded path
    std::set<RegistryKey> readOnly_;  // opened for reading: a write fails, as on Windows
    RegistryKey nextKey_ = 100;
};

}  // namespace velmora
