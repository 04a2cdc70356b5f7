#include "format/fields/field_def.h"

namespace velmora {

std::string& FieldDef::column(int index) {
    return const_cast<std::string&>(static_cast<const FieldDef&>(*this).column(index));
}

const std::string& FieldDef::column(int index) const {
    switch (index) {
    case 0:
        return fieldName;
    case 1:
        return startType;
    case 2:
        return startData;
    case 3:
        return endType;
    case 4:
        return endData;
    case 5:
        return fieldType;
    default:
        return fieldTypeData;
    }
}

bool FieldDef::operator==(const FieldDef& o) const {
    for (int c = 0; c < kFieldColumnCount; ++c)
        if (column(c) != o.column(c)) return false;
    return true;
}

const std::array<const char*, kFieldColumnCount>& fieldColumnHeaders() {
    static const std::array<const char*, kFieldColumnCount> headers = {
        "Field Name", "Start Type", "Start Data", "End Type", "End Data", "Field Type", "Field Type Data"};
    return headers;
}

}  // namespace velmora
