#pragma once
// The fields of a sample's records: the pieces between a delimiter, or the
// columns of records of one length, each with its kind and name, as the
// operator would enter them in the Configure dialog.
#include <string>
#include <string_view>
#include <vector>

#include "format/fields/field_entry.h"

namespace velmora::suggest {

struct FieldGuess {
    // The entries as the operator would make them, but for the type: the
    // drop-down's positions are the editor's, the keyword is the field's.
    FieldEntry entry;
    std::string fieldType;
    std::string reason;
};

struct FieldLayout {
    std::vector<FieldGuess> fields;  // in record order
    std::string reason;              // how the records were cut into fields
};

FieldLayout findFields(const std::vector<std::string_view>& records);

}  // namespace velmora::suggest
