#include "src/viewer/results_dialog.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "format/config/path_parts.h"
#include "src/parse/remembered_values.h"
#include "src/results/csv_export.h"
#include "src/results/record_detail.h"
#include "src/results/row_search.h"
#include "src/toolkit/column_width.h"
#include "src/toolkit/work_window.h"
#include "src/viewer/record_dialog.h"
#include "src/viewer/results_dialog_description.h"
#include "engine/core/utf16_text.h"
#include "src/results/card_numbers.h"

namespace velmora {

namespace {

const char* const kChooseHint = "Choose a database with \"Browse...\", or type its path and press Enter.";

// Rows whose cells fit the columns as the dialog opens.
constexpr std::uint64_t kRowsMeasured = 50;
// Exported text goes to the file in pieces of about this size.
constexpr std::size_t kExportPiece = 1u << 20;

int listOf(ResultsTab tab) { return tab == ResultsTab::Records ? kIdResultsRecords : kIdResultsRejected; }

class SearchWork : public SteppedWork {
public:
    SearchWork(RowSearch& search, std::uint64_t rows) : search_(search), rows_(rows) {}
    bool step() override { return search_.step(rows_); }
    std::uint64_t done() const override { return search_.looked(); }
    std::uint64_t total() const override { return search_.total(); }

private:
    RowSearch& search_;
    std::uint64_t rows_;
};

// The CSV text into the file beside the target, a piece at a time.
class ExportWork : public SteppedWork {
public:
    ExportWork(CsvExport& csv, FileSystem& files, std::string file, std::uint64_t rows)
        : csv_(csv), files_(files), file_(std::move(file)), rows_(rows) {}
    bool step() override {
        const bool over = csv_.step(rows_, text_);
        if (over || text_.size() >= kExportPiece) {
            if (!files_.appendFile(file_, text_, over)) {
                writeFailed_ = true;
                return true;
            }
            text_.clear();
        }
        return over;
    }
    std::uint64_t done() const override { return csv_.exported(); }
    std::uint64_t total() const override { return csv_.total(); }
    bool writeFailed() const { return writeFailed_; }

private:
    CsvExport& csv_;
    FileSystem& files_;
    std::string file_;
    std::uint64_t rows_;
    std::string text_;
    bool writeFailed_ = false;
};

}  // namespace

int ResultsDialog::TabRows::rowCount() {
    if (!database_) return 0;
    return static_cast<int>(std::min<std::uint64_t>(database_->rowCount(tab_), INT_MAX));
}

std::string ResultsDialog::TabRows::cell(int row, int column) {
    if (!database_ || row < 0) return "";
    return database_->cell(tab_, static_cast<std::uint64_t>(row), column);
}

ResultsDialog::ResultsDialog(Prompts& prompts, FileSystem& files, Registry& registry, Audit& audit,
                             ResultsLimits limits)
    : Dialog(resultsDialogDescription(), prompts),
      files_(files),
      registry_(registry),
      limits_(limits),
      fullNumbers_(registry, audit, prompts, "Database") {
    bindText(kIdResultsDatabase, databasePath_);
    bindText(kIdResultsFind, findText_);
    bindCheck(kIdResultsFullNumbers, showFull_);
}

// The lists let go of the rows before the database goes.
ResultsDialog::~ResultsDialog() {
    records_.show(nullptr);
    rejected_.show(nullptr);
}

EventResult ResultsDialog::onEvent(const DialogEvent& event) {
    switch (event.kind) {
    case DialogEvent::Init:
        open();
        return EventResult::Handled;
    case DialogEvent::Clicked:
        if (event.id == kIdResultsBrowse)
            browse();
        else if (event.id == kIdResultsFindNext)
            findNext();
        else if (event.id == kIdResultsExport)
            exportTab();
        else if (event.id == kIdResultsFullNumbers)
            fullNumbersClicked();
        else
            return EventResult::Unhandled;
        return EventResult::Handled;
    case DialogEvent::SelectionChanged:
        if (event.id == kIdResultsTabs) showTab(currentTab());
        return EventResult::Handled;
    case DialogEvent::ListDoubleClicked:
        if (event.id == kIdResultsRecords) openRecord(controls().hitTest(event.id, event.point));
        return EventResult::Handled;
    case DialogEvent::Ok:
        // Enter: the path typed, the next match, or the record at hand.
        if (controls().focusedId() == kIdResultsFind) {
            findNext();
        } else if (controls().focusedId() == kIdResultsRecords) {
            openRecord(controls().selectedRow(kIdResultsRecords));
        } else if (controls().focusedId() == kIdResultsDatabase && pull()) {
            load();
        }
        return EventResult::Handled;
    case DialogEvent::Help:
        return EventResult::Handled;
    default:
        return EventResult::Unhandled;  // "Close", Escape and the close box end it
    }
}

void ResultsDialog::open() {
    DialogControls& c = controls();
    for (ResultsTab tab : {ResultsTab::Records, ResultsTab::Rejected})
        c.setListStyles(listOf(tab), kListGridLines | kListFullRowSelect);
    c.addItem(kIdResultsTabs, "Records");
    c.addItem(kIdResultsTabs, "Rejected");
    c.setSelectedIndex(kIdResultsTabs, 0);
    c.enable(kIdResultsFullNumbers, fullNumbers_.allowed());
    databasePath_ = rememberedValue(registry_, kLastDatabaseValue);
    push();
    load();
}

void ResultsDialog::browse() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Open;
    request.defaultExtension = "mdb";
    request.flags = kFileHideReadOnly | kFilePathMustExist | kFileMustExist;
    request.filter = "Database files (*.mdb)|*.mdb|All Files (*.*)|*.*||";
    auto choice = prompts().chooseFile(request);
    if (!choice) return;
    databasePath_ = choice->path;
    push();
    load();
}

void ResultsDialog::load() {
    DialogControls& c = controls();
    records_.show(nullptr);
    rejected_.show(nullptr);
    database_.reset();
    std::string failure;
    if (!databasePath_.empty()) {
        // Named as the engine named it: through the system's code page.
        const std::u16string name = files_.nameAsUtf16(databasePath_);
        auto opened = ResultsDatabase::open(databasePath_, utf8(name.data(), name.size()));
        if (opened.ok())
            database_ = std::move(*opened);
        else
            failure = opened.failure();
    }
    const bool full = fullNumbersShown();
    if (database_) database_->showFullCardNumbers(full);
    c.setText(kIdResultsSummary, database_ ? database_->summary() : databasePath_.empty() ? kChooseHint : failure);
    records_.show(database_.get());
    rejected_.show(database_.get());
    for (ResultsTab tab : {ResultsTab::Records, ResultsTab::Rejected}) {
        showColumns(tab);
        c.setVirtualRows(listOf(tab), tab == ResultsTab::Records ? &records_ : &rejected_);
        c.selectRow(listOf(tab), -1);
    }
    c.enable(kIdResultsFindNext, database_ != nullptr);
    c.enable(kIdResultsExport, database_ != nullptr);
    if (database_) rememberValue(registry_, kLastDatabaseValue, databasePath_);
}

// The tab's columns, each as wide as its header and its first rows' cells,
// put in the list at once.
void ResultsDialog::showColumns(ResultsTab tab) {
    std::vector<ListColumn> shown{{"Record", 55}};
    if (database_) {
        const std::vector<ResultsColumn>& columns = database_->columns(tab);
        const std::uint64_t rows = std::min(database_->rowCount(tab), kRowsMeasured);
        // Row by row: a table of many columns is read a few rows at a time.
        std::vector<std::size_t> longest(columns.size());
        for (std::size_t k = 0; k < columns.size(); ++k) longest[k] = columns[k].header.size();
        for (std::uint64_t row = 0; row < rows; ++row)
            for (std::size_t k = 0; k < columns.size(); ++k)
                longest[k] = std::max(longest[k], database_->cell(tab, row, static_cast<int>(k)).size());
        shown.clear();
        for (std::size_t k = 0; k < columns.size(); ++k) {
            const bool reason = tab == ResultsTab::Rejected && k + 1 == columns.size();
            shown.push_back({columns[k].header, fittedColumnWidth(longest[k],
                                                                  k < 2    ? 55
                                                                  : reason ? 320
                                                                           : 60,
                                                                  reason ? 600 : 250)});
        }
    }
    controls().replaceColumns(listOf(tab), shown);
}

ResultsTab ResultsDialog::currentTab() {
    return controls().selectedIndex(kIdResultsTabs) == 1 ? ResultsTab::Rejected : ResultsTab::Records;
}

void ResultsDialog::showTab(ResultsTab tab) {
    controls().show(kIdResultsRecords, tab == ResultsTab::Records);
    controls().show(kIdResultsRejected, tab == ResultsTab::Rejected);
}

void ResultsDialog::findNext() {
    if (!database_ || !pull()) return;
    if (findText_.empty()) {
        controls().setFocus(kIdResultsFind);
        return;
    }
    const ResultsTab tab = currentTab();
    const int list = listOf(tab);
    const int selected = controls().selectedRow(list);
    RowSearch search(*database_, tab, findText_, selected >= 0 ? std::optional<std::uint64_t>(selected) : std::nullopt);
    SearchWork work(search, limits_.rowsPerSlice);
    const bool finished = runSteppedWork(prompts(), work, {"Finding", "Database:", "Rows searched:"}, database_->path(),
                                         limits_.directSlices);
    if (reportReadFailure() || !finished) return;
    if (search.found()) {
        controls().selectRow(list, static_cast<int>(*search.found()));
        return;
    }
    // A card number looked up is not echoed in full.
    std::string sought = findText_;
    maskCardText(sought, CardMask::InText);
    prompts().messageBox("Cannot find \"" + sought + "\".", kAppTitle, MessageIcon::Information, MessageButtons::Ok);
}

// Written beside the target and put in its place only when whole: a
// cancelled or failed export leaves no file and the old one as it was. A
// link or a folder at the target is refused.
void ResultsDialog::exportTab() {
    if (!database_) return;
    const ResultsTab tab = currentTab();
    const PathParts parts = splitPath(database_->path());
    FileDialogRequest request;
    request.kind = FileDialogRequest::Save;
    request.title = "Export";
    request.defaultExtension = "csv";
    request.initialFileName = parts.name + (tab == ResultsTab::Rejected ? " rejected" : "") + ".csv";
    request.initialFolder = parts.drive + parts.folder;
    request.flags = kFileHideReadOnly | kFilePathMustExist | kFileOverwritePrompt;
    request.filter = "CSV files (*.csv)|*.csv|All Files (*.*)|*.*||";
    auto choice = prompts().chooseFile(request);
    if (!choice) return;
    const std::string& target = choice->path;
    auto refuse = [&](const std::string& why) {
        prompts().messageBox(why, kAppTitle, MessageIcon::Error, MessageButtons::Ok);
    };

    // A replace would write through a link, or lose what it leads to, and
    // would move a folder away: neither is taken, before anything is written.
    const PathKind kind = files_.pathKind(target);
    if (kind == PathKind::Link || kind == PathKind::Folder) {
        refuse("Cannot export to " + target +
               (kind == PathKind::Link ? ": it is a link, not a file." : ": it is a folder, not a file."));
        return;
    }
    // The target's name and ".partial", with a number when that is taken.
    const std::string partial = files_.createBeside(target, ".partial").value_or("");
    if (partial.empty()) {
        refuse("Cannot export to " + target + ": no file can be written in its folder.");
        return;
    }
    CsvExport csv(*database_, tab);
    ExportWork work(csv, files_, partial, limits_.rowsPerSlice);
    const bool finished = runSteppedWork(prompts(), work, {"Exporting", "Database:", "Rows exported:"},
                                         database_->path(), limits_.directSlices);
    if (!finished || work.writeFailed() || reportReadFailure()) {
        files_.deleteFile(partial);
        if (finished && work.writeFailed()) refuse("Cannot export to " + target + ": the file cannot be written.");
        return;
    }
    // A full export takes its place only once the event log holds it.
    if (csv.fullCardNumbers() && !fullNumbers_.exported(database_->path(), target)) {
        files_.deleteFile(partial);
        return;
    }
    if (!files_.replaceFile(partial, target)) {
        files_.deleteFile(partial);
        refuse("Cannot export to " + target + ": the file there cannot be replaced.");
        return;
    }
    prompts().messageBox(std::to_string(csv.exported()) + " rows exported to " + target + ", card numbers " +
                             (csv.fullCardNumbers() ? "in full." : "masked."),
                         kAppTitle, MessageIcon::Information, MessageButtons::Ok);
}

bool ResultsDialog::fullNumbersShown() {
    const bool asked = showFull_ == 1;
    const bool full = fullNumbers_.show(asked && database_, database_ ? database_->path() : "");
    if (asked && database_ && !full) {
        showFull_ = 0;
        controls().setChecked(kIdResultsFullNumbers, false);
    }
    return full;
}

void ResultsDialog::fullNumbersClicked() {
    DialogControls& c = controls();
    showFull_ = c.isChecked(kIdResultsFullNumbers) ? 1 : 0;
    const bool full = fullNumbersShown();
    if (!database_ || full == database_->fullCardNumbers()) return;
    database_->showFullCardNumbers(full);
    // The lists ask for their rows again, as they now show.
    for (ResultsTab tab : {ResultsTab::Records, ResultsTab::Rejected})
        c.setVirtualRows(listOf(tab), tab == ResultsTab::Records ? &records_ : &rejected_);
}

void ResultsDialog::openRecord(int row) {
    if (!database_ || row < 0) return;
    std::optional<RecordDetail> detail = readRecordDetail(*database_, static_cast<std::uint64_t>(row));
    if (reportReadFailure() || !detail) return;
    RecordDialog record(prompts(), std::move(*detail));
    prompts().runModal(record);
}

bool ResultsDialog::reportReadFailure() {
    if (!database_) return false;
    const std::string failure = database_->takeReadFailure();
    if (failure.empty()) return false;
    prompts().messageBox(failure, kAppTitle, MessageIcon::Warning, MessageButtons::Ok);
    return true;
}

}  // namespace velmora
