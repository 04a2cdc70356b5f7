#include "src/editor/preview_dialog.h"

#include <algorithm>

#include "src/editor/preview_dialog_description.h"
#include "src/parse/parse_dialog.h"
#include "src/toolkit/column_width.h"

namespace velmora {

namespace {

const char* const kChooseHint = "Choose a data file with \"Browse...\", or type its path and press Enter.";

constexpr int kRecordWidth = 55;
constexpr int kOffsetWidth = 70;
constexpr int kFieldWidth = 100;
constexpr int kRejectedWidth = 320;

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
    return text;
}

}  // namespace

PreviewDialog::PreviewDialog(Prompts& prompts, FileSystem& files, Registry& registry, Audit& audit,
                             const ParseConfiguration& config, PreviewLimits limits)
    : Dialog(previewDialogDescription(), prompts),
      files_(files),
      registry_(registry),
      preview_(config),
      limits_(limits),
      fullNumbers_(registry, audit, prompts, "Sample file") {
    bindText(kIdPreviewDataFile, dataFile_);
    bindCheck(kIdPreviewFullNumbers, showFull_);
}

PreviewDialog::PreviewDialog(Prompts& prompts, FileSystem& files, Registry& registry, Audit& audit,
                             std::string dataFile, UseQuestion mayUse, PreviewLimits limits)
    : Dialog(previewDialogDescription(PreviewMode::Suggestion), prompts),
      files_(files),
      registry_(registry),
      preview_(ParseConfiguration()),
      limits_(limits),
      dataFile_(std::move(dataFile)),
      suggestMode_(true),
      mayUse_(std::move(mayUse)),
      fullNumbers_(registry, audit, prompts, "Sample file") {
    bindText(kIdPreviewDataFile, dataFile_);
    bindCheck(kIdPreviewFullNumbers, showFull_);
}

EventResult PreviewDialog::onEvent(const DialogEvent& event) {
    switch (event.kind) {
    case DialogEvent::Init:
        open();
        return EventResult::Handled;
    case DialogEvent::Clicked:
        if (event.id == kIdPreviewUse) {
            use();
        } else if (event.id == kIdPreviewBrowse) {
            browse();
        } else if (event.id == kIdPreviewFullNumbers) {
            showRows();
        } else {
            return EventResult::Unhandled;
        }
        return EventResult::Handled;
    case DialogEvent::ListClicked:
        if (event.id != kIdPreviewList) return EventResult::Unhandled;
        listClicked(event.point);
        return EventResult::Handled;
    case DialogEvent::ListKeyed:
        if (event.id != kIdPreviewList) return EventResult::Unhandled;
        // The record the keys moved to, with the field chosen before.
        showMap(controls().selectedRow(kIdPreviewList), controls().mapSelection(kIdPreviewMap).field);
        return EventResult::Handled;
    case DialogEvent::SelectionChanged:
        if (event.id != kIdPreviewMap) return EventResult::Unhandled;
        showMapSelection();
        return EventResult::Handled;
    case DialogEvent::Ok:
        // Enter: the path as typed (a suggestion's sample stays).
        if (!suggestMode_ && pull()) showDataFile();
        return EventResult::Handled;
    case DialogEvent::Help:
        return EventResult::Handled;
    default:
        return EventResult::Unhandled;  // "Close", Escape and the close box end it
    }
}

void PreviewDialog::open() {
    DialogControls& c = controls();
    if (suggestMode_) suggest();
    c.setListStyles(kIdPreviewList, kListGridLines | kListFullRowSelect);
    int column = 0;
    c.insertColumn(kIdPreviewList, column++, "Record", kRecordWidth);
    c.insertColumn(kIdPreviewList, column++, "Offset", kOffsetWidth);
    for (const PreviewColumn& field : preview_.columns())
        c.insertColumn(kIdPreviewList, column++, field.name, kFieldWidth);
    c.insertColumn(kIdPreviewList, column, "Rejected", kRejectedWidth);
    c.enable(kIdPreviewFullNumbers, fullNumbers_.allowed());

    if (!suggestMode_) dataFile_ = rememberedValue(registry_, kPreviewDataFileValue);
    push();
    if (suggestMode_ && !suggestion_.found) {
        c.setText(kIdPreviewSummary, joined(suggestion_.reasons));
        c.show(kIdPreviewList, false);
        c.show(kIdPreviewMap, false);
        return;
    }
    if (!preview_.failure().empty()) {
        // Nothing to cut with until the configuration is mended.
        c.setText(kIdPreviewSummary, preview_.failure());
        c.show(kIdPreviewList, false);
        c.show(kIdPreviewMap, false);
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
    rows_ = PreviewRows();
    sample_.clear();
    mapRow_ = -1;
    if (dataFile_.empty()) {
        fillList();
        c.setText(kIdPreviewSummary, kChooseHint);
        return;
    }
    std::string why;
    auto start = files_.readFileStart(dataFile_, limits_.bytes, why);
    if (!start) {
        fillList();
        c.setText(kIdPreviewSummary, "The data file " + dataFile_ + " cannot be read: " + why);
        return;
    }
    sample_ = std::move(start->bytes);
    rows_ = preview_.cut(sample_, start->size, limits_);
    showRows();
    std::string summary = previewSummary(rows_);
    if (suggestMode_) summary += "\r\n" + joined(suggestion_.reasons);
    c.setText(kIdPreviewSummary, summary);
    rememberValue(registry_, kPreviewDataFileValue, dataFile_);
}

// Full numbers show while the box is checked and the sample's view is in
// the event log; the rows are shown again as they now are.
void PreviewDialog::showRows() {
    DialogControls& c = controls();
    showFull_ = c.isChecked(kIdPreviewFullNumbers) ? 1 : 0;
    const bool shown = !rows_.rows.empty();
    full_ = fullNumbers_.show(showFull_ == 1 && shown, shown ? dataFile_ : "");
    if (showFull_ == 1 && shown && !full_) {
        showFull_ = 0;
        c.setChecked(kIdPreviewFullNumbers, false);
    }
    fillList();
}

void PreviewDialog::fillList() {
    DialogControls& c = controls();
    const std::vector<PreviewColumn>& fields = preview_.columns();
    const int rejectedColumn = 2 + static_cast<int>(fields.size());
    // The longest text of each field column, and of "Rejected" after them.
    std::vector<std::size_t> longest;
    for (const PreviewColumn& field : fields) longest.push_back(field.name.size());
    longest.push_back(0);

    std::vector<std::vector<std::string>> cells;
    for (const PreviewRow& row : rows_.rows) {
        std::vector<std::string> line{std::to_string(row.record), std::to_string(row.offset)};
        for (size_t k = 0; k < fields.size(); ++k) {
            // A record set aside as a whole has no values.
            const CardMask mask = cardMask(full_, k < rows_.cardColumns.size() && rows_.cardColumns[k]);
            line.push_back(k < row.values.size() ? shownValue(row.values[k], fields[k].hex, mask) : "");
            longest[k] = std::max(longest[k], line.back().size());
        }
        // A reason may quote the record's bytes.
        std::string rejected = row.rejected;
        maskCardText(rejected, cardMask(full_, false));
        longest.back() = std::max(longest.back(), rejected.size());
        line.push_back(std::move(rejected));
        cells.push_back(std::move(line));
    }
    c.replaceRows(kIdPreviewList, cells);
    for (size_t k = 0; k < fields.size(); ++k)
        c.setColumnWidth(kIdPreviewList, 2 + static_cast<int>(k), fittedColumnWidth(longest[k], 60, 250));
    c.setColumnWidth(kIdPreviewList, rejectedColumn, fittedColumnWidth(longest.back(), kRejectedWidth, 600));
    // The map is drawn again with the card numbers as the rows now show them.
    showMap(mapRow_ < 0 ? 0 : mapRow_, c.mapSelection(kIdPreviewMap).field);
}

}  // namespace velmora
