#pragma once
// The system's own words for a Windows error.
#include <windows.h>

#include <string>

namespace velmora {

// Without the line end the system adds; "Windows error N." where it has none.
std::string systemMessage(DWORD error);

}  // namespace velmora
