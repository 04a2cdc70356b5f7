#pragma once
// A string table in memory, as a test sets it up.
#include <map>
#include <string>

#include "src/toolkit/string_table.h"

namespace velmora {

class MemoryStringTable : public StringTable {
public:
    std::string load(int id) const override {
        auto it = strings.find(id);
        return it == strings.end() ? std::string() : it->second;
    }
    std::map<int, std::string> strings;
};

}  // namespace velmora
