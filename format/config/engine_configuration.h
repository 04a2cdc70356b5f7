#pragma once
// A configuration as the engine runs it: the texts as the file holds them
// (for the `fields` table) and, beside them, the decoded codes and numbers.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "format/config/parse_configuration.h"
#include "format/fields/keywords.h"

namespace velmora {

enum class FieldKind { Binary, Text, SorvinaPm, SorvinaPs, P3, Gp, Op, Magstripe, Ignore };

struct FieldPlan {
    std::string name;
    StartMethod start = StartMethod::None;
    std::string startCode;     // decoded bytes
    size_t startPosition = 0;  // 1-based
    EndMethod end = EndMethod::None;
    std::string endCode;  // decoded bytes
    size_t fixedLength = 0;
    FieldKind kind = FieldKind::Binary;
    std::array<std::string, 6> sentinels;  // decoded; MAGSTRIPE_FIELD only
};

struct EngineConfiguration {
    ParseConfiguration text;    // as read, quotes unescaped, \xHH kept
    size_t recordLength = 0;    // 0: records end with `separator`
    std::string separator;      // decoded bytes
    std::string firSeparators;  // decoded bytes; empty: no FIR parts
    bool fieldsInOrder = false;
    std::vector<FieldPlan> fields;
};

// Types whose data are stored as text, and split into FIR parts.
inline bool isTextKind(FieldKind k) { return k == FieldKind::Text; }

}  // namespace velmora
