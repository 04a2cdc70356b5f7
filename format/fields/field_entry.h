#pragma once
// What the operator edits for one field before it becomes a FieldDef.
#include <string>

#include "format/fields/keywords.h"
#include "format/fields/sentinels.h"

namespace velmora {

struct FieldEntry {
    std::string fieldName;
    int fieldTypeIndex = 0;
    StartMethod startMethod = StartMethod::None;
    std::string startCode;
    int startPosition = 0;
    EndMethod endMethod = EndMethod::None;
    std::string endingCode;
    int endLength = 0;
    std::string applicationName;
    std::string scriptData;
    Sentinels sentinels;  // outlives a reset

    // The empty state; the sentinels are kept.
    void clear();
};

}  // namespace velmora
