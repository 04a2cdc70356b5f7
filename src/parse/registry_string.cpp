#include "src/parse/registry_string.h"

#include <cctype>
#include <vector>

#include "format/fields/text_utils.h"

namespace velmora {

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

RegistryKey rootNamed(const std::string& name) {
    static const std::pair<const char*, RegistryRoot> roots[] = {
        {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},   {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
        {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},     {"HKEY_USERS", RegistryRoot::Users},
        {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
    };
    for (const auto& root : roots)
        if (sameIgnoringCase(name, root.first)) return rootKey(root.second);
    return kNoKey;
}

}  // namespace

std::string readRegistryString(Registry& registry, const std::string& fullPath) {
    std::vector<std::string> parts = splitAt(fullPath, '\\');
    if (parts.empty()) return {};
    RegistryKey root = rootNamed(parts.front());
    if (root == kNoKey) return {};
    std::string keyPath;
    for (std::size_t i = 1; i + 1 < parts.size(); ++i) keyPath += (i > 1 ? "\\" : "") + parts[i];
    const std::string& valueName = parts.back();

    RegistryKey key = registry.openKey(root, keyPath, RegistryAccess::Read);
    if (key == kNoKey) return {};
    std::string result;
    if (auto size = registry.queryValueSize(key, valueName)) {
        if (auto data = registry.queryValue(key, valueName, *size))
            if (!data->empty()) result = data->substr(0, data->size() - 1);
    }
    registry.closeKey(key);
    return result;
}

}  // namespace velmora
