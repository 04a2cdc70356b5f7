#pragma once
// One field definition: seven texts in the order of the field list's columns.
#include <array>
#include <string>

namespace velmora {

constexpr int kFieldColumnCount = 7;

struct FieldDef {
    std::string fieldName;      // column 0
    std::string startType;      // column 1
    std::string startData;      // column 2
    std::string endType;        // column 3
    std::string endData;        // column 4
    std::string fieldType;      // column 5
    std::string fieldTypeData;  // column 6

    // Column access, so that the list, the reader and the writer share one
    // mapping of columns to members.
    std::string& column(int index);
    const std::string& column(int index) const;

    bool operator==(const FieldDef& other) const;
    bool operator!=(const FieldDef& other) const { return !(*this == other); }
};

// "Field Name", "Start Type", ... "Field Type Data".
const std::array<const char*, kFieldColumnCount>& fieldColumnHeaders();

}  // namespace velmora
