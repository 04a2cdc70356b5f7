#include "parse/remembered_values.h"

#include "parse/registry_string.h"

namespace velmora {

namespace {

std::string settingsKey() { return std::string(kSettingsKeyPath) + "\\Settings"; }

}  // namespace

std::string rememberedValue(Registry& registry, const char* name) {
    return readRegistryString(registry, "HKEY_LOCAL_MACHINE\\" + settingsKey() + "\\" + name);
}

void rememberValue(Registry& registry, const char* name, const std::string& value) {
    RegistryKey key = registry.createKey(rootKey(RegistryRoot::LocalMachine), settingsKey(), RegistryAccess::Write);
    if (key == kNoKey) return;
    registry.writeString(key, name, value);
    registry.closeKey(key);
}

}  // namespace velmora
