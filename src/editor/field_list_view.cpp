#include "src/editor/field_list_view.h"

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

void FieldListView::insertRow(int index, const FieldDef& def) {
    FieldList& rows = model_.rows_;
    if (index < 0 || index > rows.rowCount()) return;
    rows.insertRow(index, def);
    controls_.insertRow(id_, index, def.fieldName);
    for (int c = 1; c < kFieldColumnCount; ++c) controls_.setCell(id_, index, c, def.column(c));
}

void FieldListView::replaceRow(int index, const FieldDef& def) {
    FieldList& rows = model_.rows_;
    if (index < 0 || index >= rows.rowCount()) return;
    rows.replaceRow(index, def);
    for (int c = 0; c < kFieldColumnCount; ++c) controls_.setCell(id_, index, c, def.column(c));
}

void FieldListView::deleteRow(int index) {
    FieldList& rows = model_.rows_;
    if (index < 0 || index >= rows.rowCount()) return;
    rows.deleteRow(index);
    controls_.deleteRow(id_, index);
}

void FieldListView::replaceAll(const FieldList& rows) {
    model_.rows_ = rows;
    std::vector<std::vector<std::string>> cells;
    cells.reserve(static_cast<size_t>(model_.rows_.rowCount()));
    for (const FieldDef& def : model_.rows_.rows()) {
        std::vector<std::string>& row = cells.emplace_back();
        for (int c = 0; c < kFieldColumnCount; ++c) row.push_back(def.column(c));
    }
    controls_.replaceRows(id_, cells);
}

}  // namespace velmora
