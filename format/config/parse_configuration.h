#pragma once
// The file-level settings and the ordered field list of one configuration.
#include <string>

#include "format/fields/field_list.h"

namespace velmora {

struct ParseConfiguration {
    std::string fixedLength;      // as typed; empty when records are cut by a separator
    std::string recordSeparator;  // as typed, "\x0D" notation left for the engine
    bool processFir = false;
    std::string firSeparator;
    bool fieldsInOrder = false;
    FieldList fieldDefs;
};

}  // namespace velmora
