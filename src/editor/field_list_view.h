#pragma once
// The field list on screen: the report list that mirrors the field list
// model row for row while the Configure dialog is open.
#include "format/fields/field_list.h"
#include "src/toolkit/dialog_controls.h"

namespace velmora {

// The field definitions behind the list. The dialog owns and reads them;
// only a FieldListView writes them, always together with the control, so
// that the rows on screen are never other than these.
class FieldListModel {
public:
    const FieldList& rows() const { return rows_; }

private:
    friend class FieldListView;
    FieldList rows_;
};

class FieldListView {
public:
    FieldListView(DialogControls& controls, int listId, FieldListModel& model)
        : controls_(controls), id_(listId), model_(model) {}

    // Seven columns with their headers and widths, the last fitted to the
    // rest of the list's width; gridlines and whole-row selection.
    void setUp();
    // Widens `column` to fill the list when there is room for it.
    void fitLastColumn(int column);

    // A new row at `index`, 0 to the row count (the rows from there move
    // down); nothing for any other index.
    void insertRow(int index, const FieldDef& def);
    // All seven cells of an existing row, in place.
    void replaceRow(int index, const FieldDef& def);
    void deleteRow(int index);
    // Every row replaced by `rows`, drawn once.
    void replaceAll(const FieldList& rows);

    // The row under a point of the list, or -1.
    int hitTest(ListPoint point) const { return controls_.hitTest(id_, point); }

private:
    DialogControls& controls_;
    int id_;
    FieldListModel& model_;
};

}  // namespace velmora
