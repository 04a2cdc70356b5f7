#include "src/viewer/record_dialog.h"

#include <utility>

#include "src/toolkit/column_width.h"
#include "src/viewer/results_dialog_description.h"

namespace velmora {

RecordDialog::RecordDialog(Prompts& prompts, RecordDetail detail)
    : Dialog(recordDialogDescription(detail.record), prompts), detail_(std::move(detail)) {}

EventResult RecordDialog::onEvent(const DialogEvent& event) {
    switch (event.kind) {
    case DialogEvent::Init:
        fill();
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

}  // namespace velmora
