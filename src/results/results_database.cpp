#include "src/results/results_database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <set>
#include <utility>

#include "format/config/byte_escapes.h"
#include "engine/core/cp1252.h"
#include "engine/core/database_tables.h"
#include "format/fields/keywords.h"
#include "src/results/shown_value.h"

namespace velmora {

namespace {

constexpr std::uint64_t kPageRows = 256;
// The most rows a virtual list holds.
constexpr std::uint64_t kMostRows = 100000000;
constexpr std::size_t kPagesKept = 4;
// The first rows whose values tell a card-number column; a bounded sample,
// so that a database of any size opens as fast.
constexpr int kCardSampleRows = 64;
// How long a read waits for another program's write lock to go.
constexpr int kBusyMilliseconds = 250;

std::string inCodePage(std::string_view utf8) {
    std::string text;
    appendUtf8AsCp1252(utf8, text);
    return text;
}

bool notFound(int systemError) {
#ifdef _WIN32
    return systemError == 2 || systemError == 3;  // ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND
#else
    return systemError == 2;   // ENOENT
#endif
}

bool denied(int systemError) {
#ifdef _WIN32
    return systemError == 5;  // ERROR_ACCESS_DENIED
#else
    return systemError == 13;  // EACCES
#endif
}

bool sharingViolation(int systemError) {
#ifdef _WIN32
    return systemError == 32 || systemError == 33;  // ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION
#else
    (void)systemError;
    return false;
#endif
}

// What went wrong, after the file's name: "does not exist.", ...
std::string reasonOf(sqlite3* db, int code) {
    const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    const int systemError = db ? sqlite3_system_errno(db) : 0;
    switch (code & 0xFF) {
    case SQLITE_CANTOPEN:
        if (notFound(systemError)) return "does not exist.";
        if (sharingViolation(systemError)) return "is in use by another program.";
        if (denied(systemError)) return "cannot be opened: access is denied.";
        return "cannot be opened: " + message + ".";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "is locked by another program.";
    case SQLITE_NOTADB:
        return "is not a database.";
    case SQLITE_CORRUPT:
        return "is damaged: " + message + ".";
    default:
        return "cannot be read: " + message + ".";
    }
}

// "2026-12-07T14:03:12Z" as the operator's clock shows that minute; the
// text as stored when it is not in that form.
std::string localMinute(const std::string& utc) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char zone = 0;
    if (std::sscanf(utc.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &zone) != 7 || zone != 'Z')
        return utc;
    // Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
    const int year = mo <= 2 ? y - 1 : y;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long long days = static_cast<long long>(era) * 146097 + dayOfEra - 719468;
    const auto when = static_cast<std::time_t>(days * 86400 + h * 3600 + mi * 60 + s);
    const std::tm* local = std::localtime(&when);
    char text[32] = {};
    if (!local || !std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local)) return utc;
    return text;
}

std::vector<std::string> columnNames(sqlite3* db, const char* table) {
    std::vector<std::string> names;
    Statement info(db, std::string("SELECT name FROM pragma_table_info('") + table + "')");
    while (info.step())
        if (auto name = info.bytes(0)) names.emplace_back(*name);
    return names;
}

bool holdsColumns(const std::vector<std::string>& names, const tables::Table& table) {
    for (const tables::Column& column : table.columns)
        if (std::find(names.begin(), names.end(), column.name) == names.end()) return false;
    return true;
}

std::optional<std::int64_t> endRowid(sqlite3* db, const std::string& table, bool last) {
    Statement s(db, "SELECT rowid FROM " + table + " ORDER BY rowid" + (last ? " DESC" : "") + " LIMIT 1");
    if (!s.step()) return std::nullopt;
    return s.integer(0);
}

}  // namespace

std::string shownCell(const Statement& row, int column, CellKind kind, CardMask mask, std::size_t limit) {
    std::optional<std::string_view> bytes = row.bytes(column);
    if (!bytes) return "";
    if (!row.isText(column) && !row.isBlob(column)) return std::string(*bytes);  // a number
    std::string value = row.isText(column) ? inCodePage(*bytes) : std::string(*bytes);
    if (kind != CellKind::Plain) return shownValue(value, kind == CellKind::Hex, mask, limit);
    // A reason may quote the record's bytes.
    maskCardText(value, mask);
    return escapeBytes(value, Escaping::Controls);
}

ResultsDatabase::ResultsDatabase(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

// Statements still open elsewhere keep the connection until they finish.
ResultsDatabase::~ResultsDatabase() { sqlite3_close_v2(db_); }

std::unique_ptr<ResultsDatabase> ResultsDatabase::open(const std::string& path, const std::string& name,
                                                       std::string& failure) {
    failure.clear();
    sqlite3* db = nullptr;
    // Read-only: nothing the Results do can change the file.
    const int rc = sqlite3_open_v2(name.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
        failure = path + " " + reasonOf(db, rc);
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyMilliseconds);
    std::unique_ptr<ResultsDatabase> opened(new ResultsDatabase(db, path));
    if (!opened->readSchema(failure)) return nullptr;
    return opened;
}

bool ResultsDatabase::readSchema(std::string& failure) {
    Statement list(db_, "SELECT name FROM sqlite_master WHERE type = 'table'");
    while (list.step())
        if (auto name = list.bytes(0)) tables_.emplace_back(*name);
    if (list.failed()) {
        failure = path_ + " " + reasonOf(db_, sqlite3_errcode(db_));
        return false;
    }
    if (tables_.empty()) {
        Statement pages(db_, "PRAGMA page_count");
        failure =
            path_ + (pages.step() && pages.integer(0) == 0 ? " is empty." : " is not a database written by ParseTarn.");
        return false;
    }

    using namespace tables;
    const std::vector<std::string> records =
        hasTable(kRecords) ? columnNames(db_, kRecords) : std::vector<std::string>{};
    const bool recordsOurs =
        records.size() >= 3 && records[0] == kRecordNumber && records[1] == kByteOffset && records[2] == kLength;
    const bool rejectedOurs = holds(rejectedTable());
    const bool runOurs = holds(runTable());
    if (!recordsOurs && !rejectedOurs && !runOurs) {
        failure = path_ + " is not a database written by ParseTarn.";
        return false;
    }

    TabData& shown = data(ResultsTab::Records);
    shown.columns = {{"Record", "Record", CellKind::Value}, {"Offset", "Offset", CellKind::Value}};
    shown.sources = {1, 2};
    if (recordsOurs) {
        // The BER-TLV fields' columns show in hexadecimal, as in the preview.
        std::set<std::string> hex;
        if (holds(fieldsTable())) {
            Statement s(db_, std::string("SELECT ") + kFieldColumnName + " FROM " + kFields + " WHERE " +
                                 kFieldEndType + " = ?1");
            s.bind(1, std::string(kw::Tesselgram));
            while (s.step())
                if (auto name = s.bytes(0)) hex.emplace(*name);
        }
        shown.select = std::string("SELECT rowid, * FROM ") + kRecords;
        for (std::size_t c = 3; c < records.size(); ++c) {
            shown.columns.push_back(
                {inCodePage(records[c]), records[c], hex.count(records[c]) ? CellKind::Hex : CellKind::Value});
            shown.sources.push_back(static_cast<int>(c) + 1);
        }
    }
    TabData& rejected = data(ResultsTab::Rejected);
    rejected.columns = {{"Record", "Record", CellKind::Value},
                        {"Offset", "Offset", CellKind::Value},
                        {"Length", "Length", CellKind::Value},
                        {"Field", "Field", CellKind::Plain},
                        {"Reason", "Reason", CellKind::Plain}};
    rejected.sources = {1, 2, 3, 4, 5};
    if (rejectedOurs)
        rejected.select = std::string("SELECT rowid, ") + kRecordNumber + ", " + kByteOffset + ", " + kLength + ", " +
                          kRejectedField + ", " + kRejectedReason + " FROM " + kRejected;

    findCardColumns(shown);
    for (TabData* tab : {&shown, &rejected}) {
        if (tab->select.empty()) continue;
        const std::string table = tab == &shown ? kRecords : kRejected;
        auto first = endRowid(db_, table, false), last = endRowid(db_, table, true);
        if (first && last && *last >= *first) {
            tab->firstRowid = *first;
            // Rows are counted from the first rowid to the last: a list of
            // more than a virtual list holds shows the first of them.
            tab->count =
                std::min(static_cast<std::uint64_t>(*last) - static_cast<std::uint64_t>(*first), kMostRows - 1) + 1;
        }
    }
    readSummary();
    // The first and the last rows are read now: the list shows them at once,
    // and a file cut short or damaged says so before anything is shown.
    for (ResultsTab tab : {ResultsTab::Records, ResultsTab::Rejected}) {
        if (rowCount(tab) == 0) continue;
        cell(tab, 0, 0);
        cell(tab, rowCount(tab) - 1, 0);
    }
    failure = takeReadFailure();
    return failure.empty();
}

void ResultsDatabase::findCardColumns(TabData& tab) {
    if (tab.select.empty()) return;
    std::vector<std::vector<std::string>> values(tab.columns.size());
    Statement s(db_, tab.select + " ORDER BY rowid LIMIT " + std::to_string(kCardSampleRows));
    while (s.step())
        for (std::size_t c = 0; c < tab.columns.size(); ++c)
            if (auto bytes = s.bytes(tab.sources[c]); bytes && (s.isText(tab.sources[c]) || s.isBlob(tab.sources[c])))
                values[c].emplace_back(*bytes);
    for (std::size_t c = 0; c < tab.columns.size(); ++c) {
        ResultsColumn& column = tab.columns[c];
        if (column.kind != CellKind::Value) continue;
        column.cardNumbers = namesCardNumbers(column.header) ||
                             mostlyCardNumbers(std::vector<std::string_view>(values[c].begin(), values[c].end()));
    }
}

void ResultsDatabase::showFullCardNumbers(bool full) {
    if (full == fullCardNumbers_) return;
    fullCardNumbers_ = full;
    // The pages hold cells as shown.
    for (TabData& tab : tabs_) tab.pages.clear();
}

CardMask ResultsDatabase::maskOf(ResultsTab tab, int column) const {
    const std::vector<ResultsColumn>& columns = data(tab).columns;
    const bool card = column >= 0 && column < static_cast<int>(columns.size()) &&
                      columns[static_cast<std::size_t>(column)].cardNumbers;
    return cardMask(fullCardNumbers_, card);
}

void ResultsDatabase::readSummary() {
    using namespace tables;
    const std::uint64_t records = rowCount(ResultsTab::Records), rejected = rowCount(ResultsTab::Rejected);
    Statement run(db_, std::string("SELECT ") + kRunRecordsParsed + ", " + kRunRecordsRejected + ", " + kRunDataPath +
                           ", " + kRunConfigPath + ", " + kRunEnded + " FROM " + kRun + " LIMIT 1");
    if (!holds(runTable()) || !run.step()) {
        summary_ = "No run facts in this database: " + std::to_string(records) + " records stored, " +
                   std::to_string(rejected) + " rejected.";
        return;
    }
    auto text = [&](int column) { return run.bytes(column) ? inCodePage(*run.bytes(column)) : std::string(); };
    summary_ = std::to_string(run.integer(0)) + " records parsed";
    if (run.integer(1) > 0) summary_ += ", " + std::to_string(run.integer(1)) + " rejected";
    summary_ += " - " + text(2) + " with " + text(3) + ", " + localMinute(text(4));
}

bool ResultsDatabase::hasTable(const char* name) const {
    return std::find(tables_.begin(), tables_.end(), name) != tables_.end();
}

bool ResultsDatabase::holds(const tables::Table& table) const {
    return hasTable(table.name) && holdsColumns(columnNames(db_, table.name), table);
}

const std::string& ResultsDatabase::cell(ResultsTab which, std::uint64_t row, int column) {
    static const std::string none;
    TabData& tab = data(which);
    if (row >= tab.count || column < 0 || column >= static_cast<int>(tab.columns.size())) return none;
    const std::uint64_t first = row - row % kPageRows;
    auto page = std::find_if(tab.pages.begin(), tab.pages.end(), [&](const Page& p) { return p.first == first; });
    if (page == tab.pages.end()) {
        if (tab.pages.size() < kPagesKept) {
            tab.pages.emplace_back();
            page = tab.pages.end() - 1;
        } else {
            page = std::min_element(tab.pages.begin(), tab.pages.end(),
                                    [](const Page& a, const Page& b) { return a.used < b.used; });
        }
        loadPage(tab, first, *page);
    }
    page->used = ++clock_;
    return page->cells[static_cast<std::size_t>(row - first) * tab.columns.size() + static_cast<std::size_t>(column)];
}

bool ResultsDatabase::loadPage(TabData& tab, std::uint64_t first, Page& page) {
    const std::size_t columns = tab.columns.size();
    page.first = first;
    page.cells.assign(kPageRows * columns, std::string());
    const std::int64_t from = rowidOf(tab, first);
    Statement s(db_, tab.select + " WHERE rowid BETWEEN ?1 AND ?2 ORDER BY rowid");
    s.bind(1, from);
    s.bind(2, rowidOf(tab, std::min(first + kPageRows, tab.count) - 1));
    while (s.step()) {
        // A rowid missing from the run leaves its row empty.
        const auto r =
            static_cast<std::size_t>(static_cast<std::uint64_t>(s.integer(0)) - static_cast<std::uint64_t>(from));
        for (std::size_t c = 0; c < columns; ++c)
            page.cells[r * columns + c] = shownCell(s, tab.sources[c], tab.columns[c].kind,
                                                    cardMask(fullCardNumbers_, tab.columns[c].cardNumbers));
    }
    if (!s.ok() || s.failed()) {
        noteReadFailure();
        return false;
    }
    return true;
}

Statement ResultsDatabase::rowsFrom(ResultsTab which, std::uint64_t row) {
    const TabData& tab = data(which);
    if (tab.select.empty()) return Statement();
    Statement s(db_, tab.select + " WHERE rowid >= ?1 ORDER BY rowid");
    s.bind(1, rowidOf(tab, row));
    return s;
}

void ResultsDatabase::noteReadFailure() {
    if (readFailure_.empty()) readFailure_ = path_ + " " + reasonOf(db_, sqlite3_errcode(db_));
}

std::string ResultsDatabase::takeReadFailure() { return std::exchange(readFailure_, std::string()); }

std::optional<std::int64_t> ResultsDatabase::firstRowidOfRecord(const char* table, std::int64_t record) {
    if (!hasTable(table)) return std::nullopt;
    auto low = endRowid(db_, table, false), high = endRowid(db_, table, true);
    if (!low || !high) return std::nullopt;
    Statement probe(db_, std::string("SELECT rowid, ") + tables::kRecordNumber + " FROM " + table +
                             " WHERE rowid >= ?1 ORDER BY rowid LIMIT 1");
    // The record number of the first row at or after `rowid`.
    auto recordAt = [&](std::int64_t rowid) {
        probe.reset();
        probe.bind(1, rowid);
        return probe.step() ? probe.integer(1) : record;
    };
    std::int64_t lo = *low, hi = *high;
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (recordAt(mid) >= record)
            hi = mid;
        else
            lo = mid + 1;
    }
    probe.reset();
    probe.bind(1, lo);
    if (!probe.step()) return std::nullopt;
    return probe.integer(0);
}

}  // namespace velmora
