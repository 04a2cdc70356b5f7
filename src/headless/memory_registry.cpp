#include "src/headless/memory_registry.h"

#include <cctype>

#include "format/fields/text_utils.h"

namespace velmora {

namespace {

std::string folded(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool listed(const std::set<std::string>& names, const std::string& name) {
    for (const std::string& n : names)
        if (folded(n) == folded(name)) return true;
    return false;
}

const char* rootName(RegistryKey key) {
    switch (key) {
    case rootKey(RegistryRoot::ClassesRoot):
        return "HKEY_CLASSES_ROOT";
    case rootKey(RegistryRoot::CurrentUser):
        return "HKEY_CURRENT_USER";
    case rootKey(RegistryRoot::LocalMachine):
        return "HKEY_LOCAL_MACHINE";
    case rootKey(RegistryRoot::Users):
        return "HKEY_USERS";
    case rootKey(RegistryRoot::CurrentConfig):
        return "HKEY_CURRENT_CONFIG";
    default:
        return nullptr;
    }
}

}  // namespace

void MemoryRegistry::addKey(const std::string& keyPath) {
    std::string path;
    for (const std::string& part : splitAt(folded(keyPath), '\\')) {
        path += path.empty() ? part : "\\" + part;
        keys_[path];
    }
}

void MemoryRegistry::setValue(const std::string& keyPath, const std::string& name, const std::string& bytes) {
    addKey(keyPath);
    keys_[folded(keyPath)][folded(name)] = bytes;
}

void MemoryRegistry::setString(const std::string& keyPath, const std::string& name, const std::string& text) {
    setValue(keyPath, name, text + std::string(1, '\0'));
}

bool MemoryRegistry::hasKey(const std::string& keyPath) const { return keys_.count(folded(keyPath)) > 0; }

std::string MemoryRegistry::resolve(RegistryKey parent, const std::string& subKey) const {
    std::string base;
    if (const char* root = rootName(parent)) {
        base = folded(root);
    } else {
        auto it = open_.find(parent);
        if (it == open_.end()) return {};
        base = it->second;
    }
    return subKey.empty() ? base : base + "\\" + folded(subKey);
}

RegistryKey MemoryRegistry::hand(const std::string& path, RegistryAccess access) {
    RegistryKey key = nextKey_++;
    open_[key] = path;
    if (access == RegistryAccess::Read) readOnly_.insert(key);
    return key;
}

RegistryKey MemoryRegistry::createKey(RegistryKey parent, const std::string& subKey, RegistryAccess access) {
    std::string path = resolve(parent, subKey);
    calls.push_back({"create", path, access});
    if (path.empty() || listed(refuseCreate, path)) return kNoKey;
    addKey(path);
    return hand(path, access);
}

RegistryKey MemoryRegistry::openKey(RegistryKey parent, const std::string& subKey, RegistryAccess access) {
    std::string path = resolve(parent, subKey);
    calls.push_back({"open", path, access});
    if (path.empty() || listed(refuseOpen, path) || !keys_.count(path)) return kNoKey;
    return hand(path, access);
}

const std::string* MemoryRegistry::valueOf(RegistryKey key, const std::string& name) const {
    auto handle = open_.find(key);
    if (handle == open_.end()) return nullptr;
    auto values = keys_.find(handle->second);
    if (values == keys_.end()) return nullptr;
    auto value = values->second.find(folded(name));
    return value == values->second.end() ? nullptr : &value->second;
}

std::optional<std::size_t> MemoryRegistry::queryValueSize(RegistryKey key, const std::string& name) {
    calls.push_back({"size", name, RegistryAccess::Read});
    const std::string* value = valueOf(key, name);
    if (!value || listed(refuseSizeQuery, name)) return std::nullopt;
    return value->size();
}

std::optional<std::string> MemoryRegistry::queryValue(RegistryKey key, const std::string& name, std::size_t size) {
    calls.push_back({"data", name, RegistryAccess::Read});
    const std::string* value = valueOf(key, name);
    if (!value || listed(refuseDataQuery, name) || value->size() > size) return std::nullopt;
    return *value;
}

bool MemoryRegistry::writeString(RegistryKey key, const std::string& name, const std::string& text) {
    calls.push_back({"write", name, RegistryAccess::Write});
    auto handle = open_.find(key);
    if (handle == open_.end() || readOnly_.count(key)) return false;
    keys_[handle->second][folded(name)] = text + std::string(1, '\0');
    return true;
}

void MemoryRegistry::closeKey(RegistryKey key) {
    auto it = open_.find(key);
    calls.push_back({"close", it == open_.end() ? std::string() : it->second, RegistryAccess::Read});
    if (it != open_.end()) open_.erase(it);
    readOnly_.erase(key);
}

}  // namespace velmora
