#include "format/fields/field_list.h"

namespace velmora {

void FieldList::setCell(int row, int column, const std::string& text) {
    if (column < 0 || column >= kFieldColumnCount || row < 0) return;
    if (column == 0) {
        if (row > rowCount()) return;
        FieldDef def;
        def.fieldName = text;
        rows_.insert(rows_.begin() + row, def);
        return;
    }
    if (row >= rowCount()) return;
    rows_[static_cast<size_t>(row)].column(column) = text;
}

const std::string& FieldList::cell(int row, int column) const {
    static const std::string empty;
    if (row < 0 || row >= rowCount() || column < 0 || column >= kFieldColumnCount) return empty;
    return rows_[static_cast<size_t>(row)].column(column);
}

void FieldList::deleteRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    rows_.erase(rows_.begin() + row);
}

void FieldList::insertRow(int row, const FieldDef& def) {
    setCell(row, 0, def.fieldName);
    for (int c = 1; c < kFieldColumnCount; ++c) setCell(row, c, def.column(c));
}

void FieldList::replaceRow(int row, const FieldDef& def) {
    if (row >= 0 && row < rowCount()) rows_[static_cast<size_t>(row)] = def;
}

}  // namespace velmora
