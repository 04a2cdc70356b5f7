#pragma once
// The string table of the running executable.
#include "src/toolkit/string_table.h"

namespace velmora {

class Win32StringTable : public StringTable {
public:
    std::string load(int id) const override;
};

}  // namespace velmora
