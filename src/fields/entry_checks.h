#pragma once
// The checks on one field's own entries, and how accepted entries become
// the texts of a FieldDef.
#include <optional>
#include <string>
#include <variant>

#include "fields/field_def.h"
#include "fields/field_entry.h"
#include "fields/refusal.h"

namespace velmora {

// ASCII letters, digits, white space and underscores only; empty passes.
bool isValidFieldName(const std::string& name);

// Columns 0 to 5 from the entries (column 6 is composed when the row is
// written), or the first refusal of the start, then the end entries.
std::variant<FieldDef, Refusal> buildFieldDef(const FieldEntry& entry);

enum class RowKind { NewRow, ChangedRow };

// The "Field Type Data" text for the entry's field type.
std::string composeFieldTypeData(const FieldEntry& entry, RowKind kind);

// The name check alone: the name as typed.
std::optional<Refusal> checkFieldName(const std::string& name);

// The name check, then buildFieldDef: the checks that open every commit.
std::variant<FieldDef, Refusal> checkFieldEntry(const FieldEntry& entry);

}  // namespace velmora
