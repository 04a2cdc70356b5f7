#pragma once
// The ordered rows of field definitions. While the editor is open the
// on-screen list mirrors this model row for row.
#include <vector>

#include "format/fields/field_def.h"

namespace velmora {

class FieldList {
public:
    int rowCount() const { return static_cast<int>(rows_.size()); }

    // Column 0 inserts a new row at `row` (at the end when row equals the
    // row count) with empty other cells; columns 1 to 6 set a cell of an
    // existing row. Out-of-range calls are ignored, as a list control does.
    void setCell(int row, int column, const std::string& text);
    // "" for a cell that does not exist.
    const std::string& cell(int row, int column) const;

    void deleteRow(int row);
    void deleteAll() { rows_.clear(); }

    const FieldDef& row(int index) const { return rows_.at(static_cast<size_t>(index)); }
    const std::vector<FieldDef>& rows() const { return rows_; }

    // Writes a whole row the way the editor does: column 0 inserts, then
    // columns 1 to 6 in order.
    void insertRow(int row, const FieldDef& def);
    // Sets all seven cells of an existing row; ignored for a row that does
    // not exist.
    void replaceRow(int row, const FieldDef& def);

private:
    std::vector<FieldDef> rows_;
};

}  // namespace velmora
