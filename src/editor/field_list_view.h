#pragma once
// The field list on screen: the report list whose rows are the one store of
// the field definitions while the Configure dialog is open.
#include "fields/field_list.h"
#include "toolkit/dialog_controls.h"

namespace velmora {

class FieldListView {
public:
    FieldListView(DialogControls& controls, int listId) : controls_(controls), id_(listId) {}

    // Seven columns with their headers and widths, the last fitted to the
    // rest of the list's width; gridlines and whole-row selection.
    void setUp();
    // Widens `column` to fill the list when there is room for it.
    void fitLastColumn(int column);

    int rowCount() const { return controls_.rowCount(id_); }
    FieldDef row(int index) const;
    // The rows as they stand, for the rules that look at the whole list.
    FieldList snapshot() const;

    // A new row at `index` (the rows from there move down).
    void insertRow(int index, const FieldDef& def);
    // Columns 0 to 5 of an existing row in place; column 6 is set apart.
    void setRowColumns0to5(int index, const FieldDef& def);
    void setCell(int row, int column, const std::string& text) { controls_.setCell(id_, row, column, text); }
    std::string cell(int row, int column) const { return controls_.cell(id_, row, column); }
    void deleteRow(int index) { controls_.deleteRow(id_, index); }
    void deleteAll() { controls_.deleteAllRows(id_); }
    int hitTest(ListPoint point) const { return controls_.hitTest(id_, point); }

private:
    DialogControls& controls_;
    int id_;
};

}  // namespace velmora
