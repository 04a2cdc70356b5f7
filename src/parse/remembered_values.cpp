#include "src/parse/remembered_values.h"

#include "src/parse/registry_string.h"

namespace velmora {

std::string rememberedValue(Registry& registry, const char* name) {
    return readRegistryString(registry, std::string("HKEY_CURRENT_USER\\") + kRememberedValuesKey + "\\" + name);
}

void rememberValue(Registry& registry, const char* name, const std::string& value) {
    RegistryKey key =
        registry.createKey(rootKey(RegistryRoot::CurrentUser), kRememberedValuesKey, RegistryAccess::Write);
    if (key == kNoKey) return;
    registry.writeString(key, name, value);
    registry.closeKey(key);
}

}  // namespace velmora
