#pragma once
// The rules that place a field among the others when it is appended,
// inserted above the selected row, or replaces the selected row.
#include <optional>

#include "format/fields/field_list.h"
#include "format/fields/refusal.h"

namespace velmora {

enum class FieldOperation { Append, InsertAbove, Change };

// The first rule the candidate breaks, or nothing when it fits. `selectedRow`
// is the row Insert Above and Change act on; Append ignores it.
std::optional<Refusal> checkPlacement(FieldOperation operation, int selectedRow, const FieldDef& candidate,
                                      const FieldList& list, bool fieldsInOrder);

}  // namespace velmora
