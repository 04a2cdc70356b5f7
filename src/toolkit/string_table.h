#pragma once
// The program's string table: texts kept as resources of the executable.
#include <string>

namespace velmora {

constexpr int kStringAppTitle = 57344;    // "Velmora Data Parser"
constexpr int kStringAboutCommand = 101;  // "&About Velmora Data Parser"

class StringTable {
public:
    virtual ~StringTable() = default;
    // The text of entry `id`; empty when there is none.
    virtual std::string load(int id) const = 0;
};

}  // namespace velmora
