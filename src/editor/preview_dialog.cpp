#include "editor/preview_dialog.h"

#include "editor/preview_dialog_description.h"
#include "parse/parse_dialog.h"
#include "parse/registry_string.h"

namespace velmora {

namespace {

const char* const kChooseHint = "Choose a data file with \"Browse...\", or type its path and press Enter.";

constexpr int kRecordWidth = 55;
constexpr int kOffsetWidth = 70;
constexpr int kFieldWidth = 100;
constexpr int kRejectedWidth = 320;

std::string settingsKey() { return std::string(kSettingsKeyPath) + "\\Settings"; }

}  // namespace

PreviewDialog::PreviewDialog(Prompts& prompts, FileSystem& files, Registry& registry, const ParseConfiguration& config,
                             PreviewLimits limits)
    : Dialog(previewDialogDescription(), prompts),
      files_(files),
      registry_(registry),
      preview_(config),
      limits_(limits) {
    bindText(kIdPreviewDataFile, dataFile_);
}

EventResult PreviewDialog::onEvent(const DialogEvent& event) {
    switch (event.kind) {
    case DialogEvent::Init:
        open();
        return EventResult::Handled;
    case DialogEvent::Clicked:
        if (event.id != kIdPreviewBrowse) return EventResult::Unhandled;
        browse();
        return EventResult::Handled;
    case DialogEvent::Ok:
        // Enter: the path as typed.
        if (pull()) showDataFile();
        return EventResult::Handled;
    case DialogEvent::Help:
        return EventResult::Handled;
    default:
        return EventResult::Unhandled;  // "Close", Escape and the close box end it
    }
}

void PreviewDialog::open() {
    DialogControls& c = controls();
    c.setListStyles(kIdPreviewList, kListGridLines | kListFullRowSelect);
    int column = 0;
    c.insertColumn(kIdPreviewList, column++, "Record", kRecordWidth);
    c.insertColumn(kIdPreviewList, column++, "Offset", kOffsetWidth);
    for (const PreviewColumn& field : preview_.columns())
        c.insertColumn(kIdPreviewList, column++, field.name, kFieldWidth);
    c.insertColumn(kIdPreviewList, column, "Rejected", kRejectedWidth);

    dataFile_ = rememberedDataFile();
    push();
    if (!preview_.failure().empty()) {
        // Nothing to cut with until the configuration is mended.
        c.setText(kIdPreviewSummary, preview_.failure());
        c.show(kIdPreviewList, false);
        c.enable(kIdPreviewDataFile, false);
        c.enable(kIdPreviewBrowse, false);
        return;
    }
    showDataFile();
}

void PreviewDialog::browse() {
    auto choice = prompts().chooseFile(dataFileRequest());
    if (!choice) return;
    dataFile_ = choice->path;
    push();
    showDataFile();
}

void PreviewDialog::showDataFile() {
    DialogControls& c = controls();
    if (!preview_.failure().empty()) return;
    if (dataFile_.empty()) {
        fillList({});
        c.setText(kIdPreviewSummary, kChooseHint);
        return;
    }
    std::string why;
    auto start = files_.readFileStart(dataFile_, limits_.bytes, why);
    if (!start) {
        fillList({});
        c.setText(kIdPreviewSummary, "The data file " + dataFile_ + " cannot be read: " + why);
        return;
    }
    PreviewRows rows = preview_.cut(start->bytes, start->size, limits_);
    fillList(rows);
    c.setText(kIdPreviewSummary, previewSummary(rows));
    rememberDataFile();
}

void PreviewDialog::fillList(const PreviewRows& rows) {
    DialogControls& c = controls();
    const int rejectedColumn = 2 + static_cast<int>(preview_.columns().size());
    c.setRedraw(kIdPreviewList, false);
    c.deleteAllRows(kIdPreviewList);
    for (const PreviewRow& row : rows.rows) {
        int r = c.insertRow(kIdPreviewList, c.rowCount(kIdPreviewList), std::to_string(row.record));
        if (r < 0) break;
        c.setCell(kIdPreviewList, r, 1, std::to_string(row.offset));
        for (size_t k = 0; k < row.values.size(); ++k)
            c.setCell(kIdPreviewList, r, 2 + static_cast<int>(k), shownValue(row.values[k], preview_.columns()[k].hex));
        if (!row.rejected.empty()) c.setCell(kIdPreviewList, r, rejectedColumn, row.rejected);
    }
    c.setRedraw(kIdPreviewList, true);
}

std::string PreviewDialog::rememberedDataFile() {
    return readRegistryString(registry_, "HKEY_LOCAL_MACHINE\\" + settingsKey() + "\\" + kPreviewDataFileValue);
}

// Where the operator may not write HKEY_LOCAL_MACHINE the sample is simply
// not remembered: nothing to report.
void PreviewDialog::rememberDataFile() {
    RegistryKey key = registry_.createKey(rootKey(RegistryRoot::LocalMachine), settingsKey(), RegistryAccess::Write);
    if (key == kNoKey) return;
    registry_.writeString(key, kPreviewDataFileValue, dataFile_);
    registry_.closeKey(key);
}

}  // namespace velmora
