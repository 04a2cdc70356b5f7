#include "src/viewer/record_dialog.h"

#include <utility>

#include "src/toolkit/column_width.h"
#include "src/viewer/results_dialog_description.h"

namespace velmora {

RecordDialog::RecordDialog(Prompts& prompts, RecordDetail detail, Result<StoredRecordMap> bytes, bool full)
    : Dialog(recordDialogDescription(detail.record), prompts), detail_(std::move(detail)), bytes_(std::move(bytes)) {
    if (bytes_) map_ = RecordMap(bytes_->source(full));
}

EventResult RecordDialog::onEvent(const DialogEvent& event) {
    switch (event.kind) {
    case DialogEvent::Init:
        fill();
        showMap();
        return EventResult::Handled;
    case DialogEvent::ListClicked:
    case DialogEvent::ListKeyed:
        if (event.id != kIdRecordFields) return EventResult::Unhandled;
        rowChosen();
        return EventResult::Handled;
    case DialogEvent::SelectionChanged:
        if (event.id != kIdRecordMap) return EventResult::Unhandled;
        bytesSelected();
        return EventResult::Handled;
    case DialogEvent::Help:
        return EventResult::Handled;
    default:
        return EventResult::Unhandled;  // Close, Enter, Escape and the close box end it
    }
}

void RecordDialog::fill() {
    DialogControls& c = controls();
    c.setListStyles(kIdRecordFields, kListGridLines | kListFullRowSelect);
    std::size_t longest = 0;
    std::vector<std::vector<std::string>> rows;
    for (const RecordFieldRow& field : detail_.fields) {
        rows.push_back({field.name, field.type, field.length, field.value});
        longest = std::max(longest, field.value.size());
    }
    c.insertColumn(kIdRecordFields, 0, "Name", 110);
    c.insertColumn(kIdRecordFields, 1, "Type", 110);
    c.insertColumn(kIdRecordFields, 2, "Length", 50);
    c.insertColumn(kIdRecordFields, 3, "Value", fittedColumnWidth(longest, 300, 1200));
    c.replaceRows(kIdRecordFields, rows);

    // Items come after the item they sit under, so each parent has its number.
    std::vector<int> numbers;
    for (const DecodedItem& item : detail_.decoded)
        numbers.push_back(c.addTreeItem(
            kIdRecordDecoded, item.parent < 0 ? 0 : numbers[static_cast<std::size_t>(item.parent)], item.text));
}

// Without the record's bytes the line under the map says why, in its place.
void RecordDialog::showMap() {
    DialogControls& c = controls();
    if (!bytes_) {
        c.show(kIdRecordMap, false);
        c.setText(kIdRecordMapStatus, "No record map: " + bytes_.failure());
        return;
    }
    c.setMappedBytes(kIdRecordMap, &map_);
    // A rejected record tells where the engine stopped.
    c.setText(kIdRecordMapStatus, map_.statusLine(-1, map_.faultAt()));
}

int RecordDialog::fieldOfRow(int row) const {
    if (!bytes_ || row < 0 || static_cast<std::size_t>(row) >= detail_.fields.size()) return -1;
    return bytes_->fieldOfColumn(detail_.fields[static_cast<std::size_t>(row)].name);
}

// A row chosen with the mouse or the keyboard highlights its field's bytes.
void RecordDialog::rowChosen() {
    DialogControls& c = controls();
    const int field = fieldOfRow(c.selectedRow(kIdRecordFields));
    if (!bytes_) return;
    c.selectMappedField(kIdRecordMap, field);
    c.setText(kIdRecordMapStatus, map_.statusLine(field, c.mapSelection(kIdRecordMap).caret));
}

// A byte chosen on the map selects its field's row, the first of a
// magnetic-stripe field's.
void RecordDialog::bytesSelected() {
    DialogControls& c = controls();
    const MapSelection selection = c.mapSelection(kIdRecordMap);
    int row = -1;
    for (int r = 0; row < 0 && r < static_cast<int>(detail_.fields.size()); ++r)
        if (selection.field >= 0 && fieldOfRow(r) == selection.field) row = r;
    c.selectRow(kIdRecordFields, row);
    c.setText(kIdRecordMapStatus, map_.statusLine(selection.field, selection.caret));
}

}  // namespace velmora
