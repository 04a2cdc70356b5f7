#pragma once
#include "config/parse_configuration.h"

namespace velmora::test {

inline FieldDef field(const char* name, const char* startType, const char* startData, const char* endType,
                      const char* endData, const char* fieldType, const char* fieldTypeData = "") {
    return FieldDef{name, startType, startData, endType, endData, fieldType, fieldTypeData};
}

inline void addRow(ParseConfiguration& c, const FieldDef& f) { c.fieldDefs.insertRow(c.fieldDefs.rowCount(), f); }

}  // namespace velmora::test
