#pragma once
// What the Configure dialog's commit button ("&Append Field", or "OK")
// does with the field's entries.

namespace velmora {

// Changing a row and inserting above one are begun apart, and a change
// comes first: a row loaded for a change while an insertion waits leaves
// the insertion waiting for the commit after the change.
enum class EditMode { Append, InsertAbove, Change, ChangeThenInsertAbove };

inline bool changing(EditMode mode) { return mode == EditMode::Change || mode == EditMode::ChangeThenInsertAbove; }
inline bool insertingAbove(EditMode mode) {
    return mode == EditMode::InsertAbove || mode == EditMode::ChangeThenInsertAbove;
}

// The mode once a change is begun (true) or ended (false), an insertion
// that waits kept.
inline EditMode withChange(EditMode mode, bool change) {
    if (insertingAbove(mode)) return change ? EditMode::ChangeThenInsertAbove : EditMode::InsertAbove;
    return change ? EditMode::Change : EditMode::Append;
}

// The mode once an insertion is begun (true) or ended (false), a change kept.
inline EditMode withInsertAbove(EditMode mode, bool insert) {
    if (changing(mode)) return insert ? EditMode::ChangeThenInsertAbove : EditMode::Change;
    return insert ? EditMode::InsertAbove : EditMode::Append;
}

}  // namespace velmora
