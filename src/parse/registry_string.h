#pragma once
// Reading one text value given as a single path.
#include <string>

#include "src/toolkit/registry.h"

namespace velmora {

// `fullPath` is root name, key path and value name joined by backslashes,
// e.g. "HKEY_LOCAL_MACHINE\Software\Velmora\TarnParser\InstallDirectory".
// The value's bytes less the final one (its terminating zero); an empty
// text on any failure, never a message. The key is always closed.
std::string readRegistryString(Registry& registry, const std::string& fullPath);

}  // namespace velmora
