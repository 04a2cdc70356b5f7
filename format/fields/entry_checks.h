#pragma once
// The checks on one field's own entries, and how accepted entries become
// the texts of a FieldDef.
#include <optional>
#include <string>
#include <variant>

#include "format/fields/field_def.h"
#include "format/fields/field_entry.h"
#include "format/fields/refusal.h"

namespace velmora {

// What a configuration file cannot carry, so the editor refuses it at entry
// rather than save a file that reads back otherwise. A quoted value that
// ends in a backslash: its closing quote would read as an escaped one.
bool endsInBackslash(const std::string& value);
// A sentinel holding a comma or a double quote: the sentinel text is cut at
// commas and the tuple's values are not escaped.
bool sentinelCarried(const std::string& sentinel);

// ASCII letters, digits, white space and underscores only; empty passes.
bool isValidFieldName(const std::string& name);

// Columns 0 to 5 from the entries (column 6 is composed when the row is
// written), or the first refusal of the start, then the end entries.
std::variant<FieldDef, Refusal> buildFieldDef(const FieldEntry& entry);

enum class RowKind { NewRow, ChangedRow };

// The script data or application name the entry's field type writes, when
// the file cannot carry it.
std::optional<Refusal> checkFieldTypeData(const FieldEntry& entry);

// The "Field Type Data" text for the entry's field type.
std::string composeFieldTypeData(const FieldEntry& entry, RowKind kind);

// The name check alone: the name as typed.
std::optional<Refusal> checkFieldName(const std::string& name);

// The name check, then buildFieldDef: the checks that open every commit.
std::variant<FieldDef, Refusal> checkFieldEntry(const FieldEntry& entry);

}  // namespace velmora
