#include "src/viewer/results_dialog.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "format/config/path_parts.h"
#include "src/parse/remembered_values.h"
#include "src/results/batch_check_run.h"
#include "src/results/csv_export.h"
#include "src/results/record_detail.h"
#include "src/results/rejected_records.h"
#include "src/results/row_search.h"
#include "src/toolkit/column_width.h"
#include "src/toolkit/work_window.h"
#include "src/viewer/record_dialog.h"
#include "src/viewer/results_dialog_description.h"
#include "src/viewer/run_data_file.h"
#include "engine/core/text/cp1252.h"
#include "engine/core/text/utf16_text.h"
#include "src/results/card_numbers.h"

namespace velmora {

namespace {

const char* const kCannotExport = "Cannot export to ";
const char* const kCannotSave = "Cannot save to ";
const char* const kChooseHint = "Choose a database with \"Browse...\", or type its path and press Enter.";

// Rows whose cells fit the columns as the dialog opens.
constexpr std::uint64_t kRowsMeasured = 50;
// Exported text goes to the file in pieces of about this size.
constexpr std::size_t kExportPiece = 1u << 20;

int listOf(ResultsTab tab) { return tab == ResultsTab::Records ? kIdResultsRecords : kIdResultsRejected; }

constexpr int kChecksTab = 2;
const char* const kChecksLabel = "Checks";
const char* const kFindingColumns[] = {"Check", "Record", "Field", "Value"};

// A task that goes a slice of rows at a time (the checks, a search).
template <class Task>
class SlicedWork : public SteppedWork {
public:
    SlicedWork(Task& task, std::uint64_t rows) : task_(task), rows_(rows) {}
    bool step() override { return task_.step(rows_); }
    std::uint64_t done() const override { return task_.looked(); }
    std::uint64_t total() const override { return task_.total(); }

private:
    Task& task_;
    std::uint64_t rows_;
};

// Text for a new file, written a piece at a time, the last write flushed
// to the disk.
class PiecedFile {
public:
    PiecedFile(FileSystem& files, std::string file) : files_(files), file_(std::move(file)) {}
    std::string& text() { return text_; }
    // Writes what is held once it makes a piece, or at the end; false once
    // a write failed.
    bool write(bool last) {
        if (!failed_ && (last || text_.size() >= kExportPiece)) {
            failed_ = !files_.appendFile(file_, text_, last);
            text_.clear();
        }
        return !failed_;
    }
    bool failed() const { return failed_; }

private:
    FileSystem& files_;
    std::string file_;
    std::string text_;
    bool failed_ = false;
};

// The CSV text into the file beside the target.
class ExportWork : public SteppedWork {
public:
    ExportWork(CsvExport& csv, FileSystem& files, std::string file, std::uint64_t rows)
        : csv_(csv), out_(files, std::move(file)), rows_(rows) {}
    bool step() override {
        const bool over = csv_.step(rows_, out_.text());
        return !out_.write(over) || over;
    }
    std::uint64_t done() const override { return csv_.exported(); }
    std::uint64_t total() const override { return csv_.total(); }
    bool writeFailed() const { return out_.failed(); }

private:
    CsvExport& csv_;
    PiecedFile out_;
    std::uint64_t rows_;
};

// The rejected records' bytes from the data file into the file beside the
// target, a slice of records at a time.
class SaveRejectedWork : public SteppedWork {
public:
    SaveRejectedWork(RejectedRecords& rejected, const RunDataFile& data, FileSystem& files, std::string file,
                     std::uint64_t rows)
        : rejected_(rejected), data_(data), out_(files, std::move(file)), rows_(rows) {}
    bool step() override {
        const bool over = rejected_.step(rows_, ranges_);
        auto keep = [&](std::string_view bytes) {
            out_.text().append(bytes);
            return out_.write(false);
        };
        // Stopped by a failed write, or by the data file.
        if (!data_.read(ranges_, keep, readFailure_)) return true;
        return !out_.write(over) || over;
    }
    std::uint64_t done() const override { return rejected_.done(); }
    std::uint64_t total() const override { return rejected_.total(); }
    // Why it stopped short: the new file's fault or the data file's.
    std::string failure() const { return out_.failed() ? "the file cannot be written." : readFailure_; }

private:
    RejectedRecords& rejected_;
    const RunDataFile& data_;
    PiecedFile out_;
    std::uint64_t rows_;
    std::vector<ByteRange> ranges_;
    std::string readFailure_;
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

int ResultsDialog::FindingRows::rowCount() {
    if (!dialog_.findings_) return 0;
    return dialog_.findings_->empty() ? 1 : static_cast<int>(std::min<std::size_t>(dialog_.findings_->size(), INT_MAX));
}

std::string ResultsDialog::FindingRows::cell(int row, int column) {
    if (!dialog_.findings_ || row < 0) return "";
    if (dialog_.findings_->empty()) return row == 0 && column == 0 ? "No findings" : "";
    if (static_cast<std::size_t>(row) >= dialog_.findings_->size()) return "";
    const Finding& f = (*dialog_.findings_)[static_cast<std::size_t>(row)];
    switch (column) {
    case 0:
        return f.check;
    case 1:
        return std::to_string(f.record);
    case 2:
        return f.field;
    default:
        return shownFindingValue(f, dialog_.database_ && dialog_.database_->fullCardNumbers());
    }
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
    findings_.reset();
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
        else if (event.id == kIdResultsSaveRejected)
            saveRejected();
        else if (event.id == kIdResultsFullNumbers)
            fullNumbersClicked();
        else
            return EventResult::Unhandled;
        return EventResult::Handled;
    case DialogEvent::SelectionChanged:
        if (event.id == kIdResultsTabs) showTab(controls().selectedIndex(kIdResultsTabs));
        return EventResult::Handled;
    case DialogEvent::ListDoubleClicked:
        if (event.id == kIdResultsRecords || event.id == kIdResultsRejected || event.id == kIdResultsChecks)
            openRecord(event.id, controls().hitTest(event.id, event.point));
        return EventResult::Handled;
    case DialogEvent::Ok:
        // Enter: the path typed, the next match, or the record at hand.
        if (controls().focusedId() == kIdResultsFind) {
            findNext();
        } else if (controls().focusedId() == kIdResultsRecords || controls().focusedId() == kIdResultsRejected ||
                   controls().focusedId() == kIdResultsChecks) {
            openRecord(controls().focusedId(), controls().selectedRow(controls().focusedId()));
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
    for (int list : {kIdResultsRecords, kIdResultsRejected, kIdResultsChecks})
        c.setListStyles(list, kListGridLines | kListFullRowSelect);
    c.addItem(kIdResultsTabs, "Records");
    c.addItem(kIdResultsTabs, "Rejected");
    c.addItem(kIdResultsTabs, kChecksLabel);
    c.replaceColumns(
        kIdResultsChecks,
        {{kFindingColumns[0], 200}, {kFindingColumns[1], 55}, {kFindingColumns[2], 120}, {kFindingColumns[3], 200}});
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
    findings_.reset();
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
    c.enable(kIdResultsExport, database_ != nullptr);
    c.setItemText(kIdResultsTabs, kChecksTab, kChecksLabel);
    c.setVirtualRows(kIdResultsChecks, &findingRows_);
    if (database_) rememberValue(registry_, kLastDatabaseValue, databasePath_);
    showTab(c.selectedIndex(kIdResultsTabs));
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

bool ResultsDialog::checksInFront() { return controls().selectedIndex(kIdResultsTabs) == kChecksTab; }

// Find works on the stored rows; the findings are few and in sight.
void ResultsDialog::showTab(int index) {
    DialogControls& c = controls();
    c.show(kIdResultsRecords, index == 0);
    c.show(kIdResultsRejected, index == 1);
    c.show(kIdResultsChecks, index == kChecksTab);
    c.show(kIdResultsSaveRejected, index == 1);
    c.enable(kIdResultsSaveRejected, database_ && database_->rowCount(ResultsTab::Rejected) > 0);
    c.enable(kIdResultsFindNext, database_ && index != kChecksTab);
    if (index == kChecksTab && database_ && !findings_) runChecks();
}

void ResultsDialog::runChecks() {
    BatchCheckRun run(*database_);
    SlicedWork<BatchCheckRun> work(run, limits_.rowsPerSlice);
    const bool finished = runSteppedWork(prompts(), work, {"Checking", "Database:", "Records checked:"},
                                         database_->path(), limits_.directSlices);
    if (reportReadFailure() || !finished) return;
    findings_ = run.findings();
    DialogControls& c = controls();
    c.setItemText(kIdResultsTabs, kChecksTab,
                  std::string(kChecksLabel) + " (" + std::to_string(findings_->size()) + ")");
    c.setVirtualRows(kIdResultsChecks, &findingRows_);
    c.selectRow(kIdResultsChecks, -1);
}

void ResultsDialog::findNext() {
    if (!database_ || checksInFront() || !pull()) return;
    if (findText_.empty()) {
        controls().setFocus(kIdResultsFind);
        return;
    }
    const ResultsTab tab = currentTab();
    const int list = listOf(tab);
    const int selected = controls().selectedRow(list);
    RowSearch search(*database_, tab, findText_, selected >= 0 ? std::optional<std::uint64_t>(selected) : std::nullopt);
    SlicedWork<RowSearch> work(search, limits_.rowsPerSlice);
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
    const bool checks = checksInFront();
    const std::optional<std::string> target = exportTarget(checks                                 ? " checks"
                                                           : currentTab() == ResultsTab::Rejected ? " rejected"
                                                                                                  : "");
    if (!target) return;
    const std::string file = fileBeside(*target, kCannotExport);
    if (file.empty()) return;
    std::uint64_t rows = 0;
    bool full = false;
    const bool written = checks ? exportFindings(file, *target, rows, full) : exportRows(file, *target, rows, full);
    // A full export takes its place only once the event log holds it.
    if (!written || (full && !fullNumbers_.exported(database_->path(), *target))) {
        files_.deleteFile(file);
        return;
    }
    if (putInPlace(file, *target, kCannotExport))
        prompts().messageBox(
            std::to_string(rows) + " rows exported to " + *target + ", card numbers " + (full ? "in full." : "masked."),
            kAppTitle, MessageIcon::Information, MessageButtons::Ok);
}

bool ResultsDialog::putInPlace(const std::string& file, const std::string& target, const char* cannot) {
    if (files_.replaceFile(file, target)) return true;
    files_.deleteFile(file);
    prompts().messageBox(cannot + target + ": the file there cannot be replaced.", kAppTitle, MessageIcon::Error,
                         MessageButtons::Ok);
    return false;
}

// The rejected records' own bytes, read from the run's data file, for the
// issuer. They hold the card numbers as the issuer sent them, in full: so
// only for the policy's group, and logged as an export in full. Written
// beside the target and put in its place only when whole, never in the
// data file's own place.
void ResultsDialog::saveRejected() {
    if (!database_) return;
    auto refuse = [&](const std::string& why) {
        prompts().messageBox(why, kAppTitle, MessageIcon::Error, MessageButtons::Ok);
    };
    if (!fullNumbers_.allowed())
        return refuse(
            "The rejected records hold card numbers in full, as the issuer sent them: only the group the policy "
            "names may save them.");
    Result<RunDataFile> data = RunDataFile::open(files_, *database_);
    if (!data) return refuse(data.failure());
    const PathParts parts = splitPath(data->path());
    FileDialogRequest request;
    request.title = "Save Rejected Records";
    request.initialFileName = parts.name + ".rejected" + parts.extension;
    request.initialFolder = parts.drive + parts.folder;
    request.filter = "All Files (*.*)|*.*||";
    const std::optional<std::string> target = chosenTarget(request, kCannotSave);
    if (!target) return;
    const std::u16string name = files_.nameAsUtf16(*target);
    if (files_.stamp(utf8(name.data(), name.size())) == data->stamp())
        return refuse(kCannotSave + *target + ": it is the run's data file.");
    const std::string file = fileBeside(*target, kCannotSave);
    if (file.empty()) return;
    RejectedRecords rejected(*database_, data->stamp().size);
    SaveRejectedWork work(rejected, *data, files_, file, limits_.rowsPerSlice);
    const bool finished = runSteppedWork(prompts(), work, {"Saving", "Database:", "Records saved:"}, database_->path(),
                                         limits_.directSlices);
    const bool whole = finished && work.failure().empty() && !reportReadFailure();
    if (finished && !work.failure().empty()) refuse(kCannotSave + *target + ": " + work.failure());
    if (!whole || !fullNumbers_.exported(database_->path(), *target)) {
        files_.deleteFile(file);
        return;
    }
    if (putInPlace(file, *target, kCannotSave))
        prompts().messageBox(std::to_string(rejected.done()) + " rejected records saved to " + *target + ".", kAppTitle,
                             MessageIcon::Information, MessageButtons::Ok);
}

std::optional<std::string> ResultsDialog::exportTarget(const std::string& suffix) {
    const PathParts parts = splitPath(database_->path());
    FileDialogRequest request;
    request.title = "Export";
    request.defaultExtension = "csv";
    request.initialFileName = parts.name + suffix + ".csv";
    request.initialFolder = parts.drive + parts.folder;
    request.filter = "CSV files (*.csv)|*.csv|All Files (*.*)|*.*||";
    return chosenTarget(request, kCannotExport);
}

std::optional<std::string> ResultsDialog::chosenTarget(FileDialogRequest request, const char* cannot) {
    request.kind = FileDialogRequest::Save;
    request.flags = kFileHideReadOnly | kFilePathMustExist | kFileOverwritePrompt;
    auto choice = prompts().chooseFile(request);
    if (!choice) return std::nullopt;
    // A replace would write through a link, or lose what it leads to, and
    // would move a folder away: neither is taken, before anything is written.
    const PathKind kind = files_.pathKind(choice->path);
    if (kind == PathKind::Link || kind == PathKind::Folder) {
        prompts().messageBox(
            cannot + choice->path +
                (kind == PathKind::Link ? ": it is a link, not a file." : ": it is a folder, not a file."),
            kAppTitle, MessageIcon::Error, MessageButtons::Ok);
        return std::nullopt;
    }
    return choice->path;
}

// The target's name and ".partial", with a number when that is taken.
std::string ResultsDialog::fileBeside(const std::string& target, const char* cannot) {
    const std::string file = files_.createBeside(target, ".partial").value_or("");
    if (file.empty())
        prompts().messageBox(cannot + target + ": no file can be written in its folder.", kAppTitle, MessageIcon::Error,
                             MessageButtons::Ok);
    return file;
}

bool ResultsDialog::exportRows(const std::string& file, const std::string& target, std::uint64_t& rows, bool& full) {
    CsvExport csv(*database_, currentTab());
    ExportWork work(csv, files_, file, limits_.rowsPerSlice);
    const bool finished = runSteppedWork(prompts(), work, {"Exporting", "Database:", "Rows exported:"},
                                         database_->path(), limits_.directSlices);
    if (!finished || work.writeFailed() || reportReadFailure()) {
        if (finished && work.writeFailed())
            prompts().messageBox("Cannot export to " + target + ": the file cannot be written.", kAppTitle,
                                 MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    rows = csv.exported();
    full = csv.fullCardNumbers();
    return true;
}

// The findings are in memory: one write, the list's columns as shown.
bool ResultsDialog::exportFindings(const std::string& file, const std::string& target, std::uint64_t& rows,
                                   bool& full) {
    if (!findings_) return false;
    full = database_->fullCardNumbers();
    std::string text = "\xEF\xBB\xBF";
    for (const char* header : kFindingColumns) {
        if (header != kFindingColumns[0]) text += ',';
        appendCsvText(header, text);
    }
    text += "\r\n";
    for (const Finding& f : *findings_) {
        const std::string cells[] = {f.check, std::to_string(f.record), f.field, shownFindingValue(f, full)};
        for (const std::string& cell : cells) {
            if (&cell != cells) text += ',';
            appendCsvText(cp1252AsUtf8(cell), text);
        }
        text += "\r\n";
    }
    rows = findings_->size();
    if (files_.appendFile(file, text, true)) return true;
    prompts().messageBox("Cannot export to " + target + ": the file cannot be written.", kAppTitle, MessageIcon::Error,
                         MessageButtons::Ok);
    return false;
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

// A row of the Records or Rejected list, or of the findings: its record's.
void ResultsDialog::openRecord(int list, int row) {
    if (!database_ || row < 0) return;
    if (list == kIdResultsChecks) {
        if (!findings_ || static_cast<std::size_t>(row) >= findings_->size()) return;
        row = static_cast<int>(std::min<std::uint64_t>((*findings_)[static_cast<std::size_t>(row)].row, INT_MAX));
    }
    const bool rejected = list == kIdResultsRejected;
    std::optional<RecordDetail> detail = rejected ? readRejectedDetail(*database_, static_cast<std::uint64_t>(row))
                                                  : readRecordDetail(*database_, static_cast<std::uint64_t>(row));
    if (reportReadFailure() || !detail) return;
    Result<StoredRecordMap> bytes =
        StoredRecordMap::read(files_, *database_, rejected ? tables::kRejected : tables::kRecords, detail->record);
    RecordDialog record(prompts(), std::move(*detail), std::move(bytes), database_->fullCardNumbers());
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
