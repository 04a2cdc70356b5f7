#include "editor/field_list_view.h"

namespace velmora {

namespace {
constexpr int kColumnWidths[kFieldColumnCount] = {70, 70, 80, 90, 80, 70, 60};
}

void FieldListView::setUp() {
    const auto& headers = fieldColumnHeaders();
    for (int c = 0; c < kFieldColumnCount; ++c) controls_.insertColumn(id_, c, headers[c], kColumnWidths[c]);
    fitLastColumn(kFieldColumnCount - 1);
    controls_.setListStyles(id_, controls_.listStyles(id_) | kListGridLines | kListFullRowSelect);
}

void FieldListView::fitLastColumn(int column) {
    int others = 0;
    for (int c = 0; c < controls_.columnCount(id_); ++c)
        if (c != column) others += controls_.columnWidth(id_, c);
    int rest = controls_.clientWidth(id_) - others;
    if (rest > 1) controls_.setColumnWidth(id_, column, rest);
}

FieldDef FieldListView::row(int index) const {
    FieldDef def;
    for (int c = 0; c < kFieldColumnCount; ++c) def.column(c) = cell(index, c);
    return def;
}

FieldList FieldListView::snapshot() const {
    FieldList list;
    for (int r = 0; r < rowCount(); ++r) list.insertRow(r, row(r));
    return list;
}

void FieldListView::insertRow(int index, const FieldDef& def) {
    int at = controls_.insertRow(id_, index, def.fieldName);
    if (at < 0) return;
    for (int c = 1; c < kFieldColumnCount; ++c) setCell(at, c, def.column(c));
}

void FieldListView::setRowColumns0to5(int index, const FieldDef& def) {
    for (int c = 0; c < kFieldColumnCount - 1; ++c) setCell(index, c, def.column(c));
}

}  // namespace velmora
