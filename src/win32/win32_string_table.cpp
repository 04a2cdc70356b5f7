#include "src/win32/win32_string_table.h"

#include <windows.h>

namespace velmora {

std::string Win32StringTable::load(int id) const {
    char buffer[512];
    int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

}  // namespace velmora
