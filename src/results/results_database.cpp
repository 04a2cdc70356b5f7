#include "src/results/results_database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <set>
#include <utility>

#include "format/config/byte_escapes.h"
#include "engine/core/text/cp1252.h"
#include "engine/core/database_tables.h"
#include "engine/core/record_cutter.h"
#include "format/fields/keywords.h"
#include "src/results/shown_value.h"
#include "src/results/utc_seconds.h"

namespace velmora {

namespace {

constexpr std::uint64_t kPageRows = 256;
// A page holds at most the cells of 256 rows of 32 columns: a table of more
// columns is read fewer rows at a time, so its pages cost no more.
constexpr std::uint64_t kPageCells = kPageRows * 32;
// The most rows a virtual list holds.
constexpr std::uint64_t kMostRows = 100000000;
constexpr std::size_t kPagesKept = 4;
// The first rows whose values tell a card-number column; a bounded sample,
// so that a database of any size opens as fast.
constexpr int kCardSampleRows = 64;
// How long a read waits for another program's write lock to go.
constexpr int kBusyMilliseconds = 250;
// No value or row is longer than the engine writes (a record's values take
// at most 16 MiB), with room for the row's numbers and header; SQLite
// refuses anything longer as "string or blob too big" instead of reading it.
constexpr int kLongestRow = static_cast<int>(RecordLimits{}.largestRecord + (1u << 20));
// SQL, the schema's included: a SELECT naming 2,000 columns, each cut, takes
// a few hundred KB.
constexpr int kLongestSql = 4 << 20;
// The summary line's paths and time are shown up to this length.
constexpr std::size_t kSummaryCharacters = 1024;
// Values are shown in the program's code page, where this ends a cut one.
const char* const kEllipsis = "\x85";

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
    const std::optional<std::int64_t> seconds = utcSeconds(utc);
    if (!seconds) return utc;
    const auto when = static_cast<std::time_t>(*seconds);
    const std::tm* local = std::localtime(&when);
    char text[32] = {};
    if (!local || !std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local)) return utc;
    return text;
}

// A name as SQL quotes it.
std::string quoted(std::string_view name) {
    std::string text = "\"";
    for (char c : name) text += c == '"' ? std::string("\"\"") : std::string(1, c);
    return text + "\"";
}

bool sameName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// A value cut in SQL to `characters` characters (of a text) or bytes (of a
// blob), so no more of it is read. octet_length() looks at the stored size
// alone; substr() would make an empty blob NULL.
std::string cut(const std::string& column, std::size_t characters) {
    const std::string most = std::to_string(characters);
    return "CASE WHEN octet_length(" + column + ") > " + most + " THEN substr(" + column + ", 1, " + most + ") ELSE " +
           column + " END";
}

// Bytes 18 and 19 of SQLite's header, the file format versions, are 2 in
// WAL mode. They are read through the connection's own file, before SQLite
// reads anything: a read-only connection to such a file makes "-wal" and
// "-shm" files beside it at its first read.
bool inWalMode(sqlite3* db) {
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return false;
    unsigned char header[100] = {};
    if (file->pMethods->xRead(file, header, sizeof header, 0) != SQLITE_OK) return false;  // shorter: SQLite says
    return std::memcmp(header, "SQLite format 3", 16) == 0 && (header[18] == 2 || header[19] == 2);
}

// SQLite's guidance for database files from anywhere: no statement may
// change the file, the schema's own SQL (views, triggers, generated columns)
// may call nothing but innocuous functions, views and triggers are off, no
// value longer than the engine writes is read, nothing is attached, and the
// file is read rather than mapped into memory.
void guard(sqlite3* db) {
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kLongestRow);
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, kLongestSql);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(db, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 50);
    sqlite3_limit(db, SQLITE_LIMIT_TRIGGER_DEPTH, 1);
    // Neither reads the file.
    sqlite3_exec(db, "PRAGMA mmap_size = 0; PRAGMA cell_size_check = ON", nullptr, nullptr, nullptr);
}

std::optional<std::int64_t> endRowid(sqlite3* db, const std::string& table, const std::string& rowid, bool last) {
    Statement s(db, "SELECT " + rowid + " FROM " + table + " ORDER BY " + rowid + (last ? " DESC" : "") + " LIMIT 1");
    if (!s.step()) return std::nullopt;
    return s.integer(0);
}

}  // namespace

std::string cutToShown(const std::string& column) { return cut(column, kShownCharacters + 1); }

std::string shownCell(const Statement& row, int column, CellKind kind, CardMask mask, std::size_t limit) {
    std::optional<std::string_view> bytes = row.bytes(column);
    if (!bytes) return "";
    if (!row.isText(column) && !row.isBlob(column)) return std::string(*bytes);  // a number
    std::string value = row.isText(column) ? inCodePage(*bytes) : std::string(*bytes);
    if (kind != CellKind::Plain) return shownValue(value, kind == CellKind::Hex, mask, limit);
    // A reason may quote the record's bytes.
    maskCardText(value, mask);
    if (value.size() <= limit) return escapeBytes(value, Escaping::Controls);
    return escapeBytes(std::string_view(value).substr(0, limit), Escaping::Controls) + kEllipsis;
}

ResultsDatabase::ResultsDatabase(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

// Statements still open elsewhere keep the connection until they finish.
ResultsDatabase::~ResultsDatabase() {
    for (TabData& tab : tabs_) tab.pageRead = Statement();
    sqlite3_close_v2(db_);
}

Result<std::unique_ptr<ResultsDatabase>> ResultsDatabase::open(const std::string& path, const std::string& name) {
    sqlite3* db = nullptr;
    // Read-only: nothing the Results do can change the file.
    const int rc = sqlite3_open_v2(name.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
        std::string why = path + " " + reasonOf(db, rc);
        sqlite3_close_v2(db);
        return fail(std::move(why));
    }
    // The engine never writes a database in WAL mode.
    if (inWalMode(db)) {
        sqlite3_close_v2(db);
        return fail(path + " is not a database written by ParseTarn.");
    }
    guard(db);
    sqlite3_busy_timeout(db, kBusyMilliseconds);
    std::unique_ptr<ResultsDatabase> opened(new ResultsDatabase(db, path));
    if (Status read = opened->readSchema(); !read.ok()) return fail(read.failure());
    return opened;
}

Failure ResultsDatabase::notTheEngines() const { return fail(path_ + " is not a database written by ParseTarn."); }

Failure ResultsDatabase::readFailed() const { return fail(path_ + " " + reasonOf(db_, sqlite3_errcode(db_))); }

// The names of the engine's tables in the file, lower case; a file with
// anything but a table under one of them is not the engine's.
Result<std::vector<std::string>> ResultsDatabase::engineTableNames() const {
    using namespace tables;
    static const char* const kNames[] = {kRecords, kRejected, kFields, kTlv, kFirParts, kRun};
    std::string sql = "SELECT type, lower(name) FROM sqlite_schema WHERE lower(name) IN (";
    for (const char* name : kNames) sql += std::string(name == kNames[0] ? "'" : ", '") + name + "'";
    // SQLite finds a table by its name without regard to case.
    Statement list(db_, sql + ")");
    bool any = false, plain = true;
    std::vector<std::string> names;
    while (list.step()) {
        any = true;
        const std::string type(list.bytes(0).value_or(""));
        if (type == "table")
            names.emplace_back(list.bytes(1).value_or(""));
        else
            plain = false;
    }
    if (list.failed() || !list.ok()) return readFailed();
    if (!any) {
        Statement pages(db_, "PRAGMA page_count");
        if (pages.step() && pages.integer(0) == 0) return fail(path_ + " is empty.");
        return notTheEngines();
    }
    if (!plain) return notTheEngines();
    return names;
}

namespace {

// The first of the names that reach a table's rowid that no column takes;
// "" when all are taken.
std::string freeRowidName(const std::vector<std::string>& columns) {
    for (const char* rowid : {"rowid", "_rowid_", "oid"}) {
        auto taken = [&](const std::string& column) { return sameName(column, rowid); };
        if (std::none_of(columns.begin(), columns.end(), taken)) return rowid;
    }
    return "";
}

}  // namespace

// One of the engine's tables, when it is a plain table with a rowid and no
// hidden or generated columns.
Result<ResultsDatabase::FoundTable> ResultsDatabase::plainTable(Statement& kind, Statement& info,
                                                                const std::string& name) const {
    kind.reset();
    kind.bind(1, name);
    bool plain = kind.step() && kind.bytes(0).value_or("") == "table" && kind.integer(1) == 0;
    FoundTable table{name, {}, ""};
    info.reset();
    info.bind(1, name);
    while (plain && info.step()) {
        if (info.integer(1) != 0) plain = false;
        table.columns.emplace_back(info.bytes(0).value_or(""));
    }
    table.rowid = freeRowidName(table.columns);
    if (kind.failed() || info.failed()) return readFailed();
    if (!plain || table.rowid.empty()) return notTheEngines();
    return table;
}

// The engine's tables as the file holds them. Anything else under one of
// their names (a view, a trigger, an index, a virtual table, a table without
// rowid, or with hidden or generated columns) is no database the engine
// wrote, and the file is refused as a whole.
Status ResultsDatabase::findTables() {
    Result<std::vector<std::string>> names = engineTableNames();
    if (!names.ok()) return fail(names.failure());
    Statement kind(db_, "SELECT type, wr FROM pragma_table_list(?1) WHERE schema = 'main'");
    Statement info(db_, "SELECT name, hidden FROM pragma_table_xinfo(?1)");
    for (const std::string& name : *names) {
        Result<FoundTable> table = plainTable(kind, info, name);
        if (!table.ok()) return fail(table.failure());
        tables_.push_back(std::move(*table));
    }
    return {};
}

// The tab reads `sources` of `table`, each by its name: never "*", so a
// table of 2,000 columns (the most SQLite allows) fits in a result with its
// rowid beside them, and nothing but the named columns is read.
void ResultsDatabase::prepareTab(TabData& tab, const FoundTable& table, const std::vector<std::string>& sources) {
    tab.table = quoted(table.name);
    tab.rowid = table.rowid;
    tab.whole = tab.shown = tab.lengths = "SELECT " + table.rowid;
    for (const std::string& source : sources) {
        const std::string column = quoted(source);
        tab.whole += ", " + column;
        tab.shown += ", " + cutToShown(column);
        tab.lengths += ", length(" + column + ")";
    }
    for (std::string* select : {&tab.whole, &tab.shown, &tab.lengths}) *select += " FROM " + tab.table;
    // A page holds about as many cells whatever the number of columns.
    tab.pageRows = std::clamp<std::uint64_t>(kPageCells / std::max<std::size_t>(sources.size(), 1), 1, kPageRows);
}

Status ResultsDatabase::readSchema() {
    if (Status tables = findTables(); !tables.ok()) return tables;

    using namespace tables;
    const FoundTable* records = found(kRecords);
    const bool recordsOurs = records && records->columns.size() >= 3 && records->columns[0] == kRecordNumber &&
                             records->columns[1] == kByteOffset && records->columns[2] == kLength;
    const bool rejectedOurs = holds(rejectedTable());
    if (!recordsOurs && !rejectedOurs && !holds(runTable())) return notTheEngines();

    prepareRecordsTab(recordsOurs ? records : nullptr);
    TabData& rejected = data(ResultsTab::Rejected);
    rejected.columns = {{"Record", "Record", CellKind::Value},
                        {"Offset", "Offset", CellKind::Value},
                        {"Length", "Length", CellKind::Value},
                        {"Field", "Field", CellKind::Plain},
                        {"Reason", "Reason", CellKind::Plain}};
    if (rejectedOurs)
        prepareTab(rejected, *found(kRejected), {kRecordNumber, kByteOffset, kLength, kRejectedField, kRejectedReason});

    findCardColumns(data(ResultsTab::Records));
    countRows();
    readSummary();
    // The first and the last rows are read now: the list shows them at once,
    // and a file cut short or damaged says so before anything is shown.
    for (ResultsTab tab : {ResultsTab::Records, ResultsTab::Rejected}) {
        if (rowCount(tab) == 0) continue;
        cell(tab, 0, 0);
        cell(tab, rowCount(tab) - 1, 0);
    }
    if (std::string failure = takeReadFailure(); !failure.empty()) return fail(std::move(failure));
    return {};
}

// The BER-TLV fields' columns show in hexadecimal, as in the preview; only
// names of the records' own columns are read.
std::set<std::string> ResultsDatabase::hexColumns() const {
    using namespace tables;
    std::set<std::string> hex;
    if (!holds(fieldsTable())) return hex;
    Statement s(db_, std::string("SELECT ") + kFieldColumnName + " FROM " + kFields + " WHERE " + kFieldEndType +
                         " = ?1 AND " + kFieldColumnName + " IN (SELECT name FROM " + "pragma_table_xinfo('" +
                         kRecords + "'))");
    s.bind(1, std::string(kw::Tesselgram));
    while (s.step())
        if (auto name = s.bytes(0)) hex.emplace(*name);
    return hex;
}

// The records' tab: its number and offset, then the fields' columns of
// `records` when the engine wrote it.
void ResultsDatabase::prepareRecordsTab(const FoundTable* records) {
    using namespace tables;
    TabData& shown = data(ResultsTab::Records);
    shown.columns = {{"Record", "Record", CellKind::Value}, {"Offset", "Offset", CellKind::Value}};
    if (!records) return;
    const std::set<std::string> hex = hexColumns();
    std::vector<std::string> sources = {kRecordNumber, kByteOffset};
    for (std::size_t c = 3; c < records->columns.size(); ++c) {
        const std::string& name = records->columns[c];
        shown.columns.push_back({inCodePage(name), name, hex.count(name) ? CellKind::Hex : CellKind::Value});
        sources.push_back(name);
    }
    prepareTab(shown, *records, sources);
}

void ResultsDatabase::countRows() {
    for (TabData& tab : tabs_) {
        if (tab.whole.empty()) continue;
        auto first = endRowid(db_, tab.table, tab.rowid, false), last = endRowid(db_, tab.table, tab.rowid, true);
        if (first && last && *last >= *first) {
            tab.firstRowid = *first;
            // Rows are counted from the first rowid to the last: a list of
            // more than a virtual list holds shows the first of them.
            tab.count =
                std::min(static_cast<std::uint64_t>(*last) - static_cast<std::uint64_t>(*first), kMostRows - 1) + 1;
        }
    }
}

void ResultsDatabase::findCardColumns(TabData& tab) {
    if (tab.shown.empty()) return;
    std::vector<std::vector<std::string>> values(tab.columns.size());
    Statement s(db_, tab.shown + " ORDER BY " + tab.rowid + " LIMIT " + std::to_string(kCardSampleRows));
    while (s.step())
        for (std::size_t c = 0; c < tab.columns.size(); ++c) {
            const int at = shownColumn(ResultsTab::Records, static_cast<int>(c));
            if (auto bytes = s.bytes(at); bytes && (s.isText(at) || s.isBlob(at))) values[c].emplace_back(*bytes);
        }
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
    // Counts only as whole numbers; texts cut to what the line can show.
    auto count = [](const char* column) {
        return std::string("CASE WHEN typeof(") + column + ") = 'integer' THEN " + column + " END";
    };
    Statement run;
    if (holds(runTable()))
        run = Statement(db_, "SELECT " + count(kRunRecordsParsed) + ", " + count(kRunRecordsRejected) + ", " +
                                 cut(kRunDataPath, kSummaryCharacters + 1) + ", " +
                                 cut(kRunConfigPath, kSummaryCharacters + 1) + ", " +
                                 cut(kRunEnded, kSummaryCharacters + 1) + " FROM " + kRun + " LIMIT 1");
    if (!run.step()) {
        summary_ = "No run facts in this database: " + std::to_string(records) + " records stored, " +
                   std::to_string(rejected) + " rejected.";
        return;
    }
    // On one line, control bytes escaped.
    auto text = [&](int column) {
        const std::string value = run.bytes(column) ? inCodePage(*run.bytes(column)) : std::string();
        const std::string_view kept = std::string_view(value).substr(0, kSummaryCharacters);
        return escapeBytes(kept, Escaping::Controls) + (kept.size() < value.size() ? kEllipsis : "");
    };
    summary_ = std::to_string(run.integer(0)) + " records parsed";
    if (run.integer(1) > 0) summary_ += ", " + std::to_string(run.integer(1)) + " rejected";
    summary_ += " - " + text(2) + " with " + text(3) + ", " + localMinute(text(4));
}

const ResultsDatabase::FoundTable* ResultsDatabase::found(const char* name) const {
    for (const FoundTable& table : tables_)
        if (table.name == name) return &table;
    return nullptr;
}

bool ResultsDatabase::hasTable(const char* name) const { return found(name) != nullptr; }

bool ResultsDatabase::holds(const tables::Table& table) const {
    const FoundTable* t = found(table.name);
    if (!t) return false;
    for (const tables::Column& column : table.columns)
        if (!column.added && std::find(t->columns.begin(), t->columns.end(), column.name) == t->columns.end())
            return false;
    return true;
}

bool ResultsDatabase::holdsColumn(const char* table, const char* column) const {
    const FoundTable* t = found(table);
    return t && std::find(t->columns.begin(), t->columns.end(), column) != t->columns.end();
}

std::optional<ResultsDatabase::RunData> ResultsDatabase::runData() const {
    using namespace tables;
    if (!holds(runTable()) || !holdsColumn(kRun, kRunDataSize) || !holdsColumn(kRun, kRunDataModified)) return {};
    Statement run(db_, std::string("SELECT ") + kRunDataPath + ", " + kRunDataSize + ", " + kRunDataModified +
                           " FROM " + kRun + " WHERE typeof(" + kRunDataSize + ") = 'integer' AND typeof(" +
                           kRunDataModified + ") = 'text' AND typeof(" + kRunDataPath + ") = 'text' AND length(" +
                           kRunDataPath + ") <= 32767 LIMIT 1");
    if (!run.step() || run.integer(1) < 0) return {};
    return RunData{std::string(*run.bytes(0)),
                   FileStamp{static_cast<std::uint64_t>(run.integer(1)), std::string(*run.bytes(2))}};
}

std::string ResultsDatabase::rowidName(const char* table) const {
    const FoundTable* t = found(table);
    return t ? t->rowid : std::string();
}

const std::string& ResultsDatabase::cell(ResultsTab which, std::uint64_t row, int column) {
    static const std::string none;
    TabData& tab = data(which);
    if (row >= tab.count || column < 0 || column >= static_cast<int>(tab.columns.size())) return none;
    const std::uint64_t first = row - row % tab.pageRows;
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
    const std::uint64_t rows = std::min(tab.pageRows, tab.count - first);
    page.first = first;
    page.cells.assign(static_cast<std::size_t>(tab.pageRows) * columns, std::string());
    if (!tab.pageRead.ok())
        tab.pageRead = Statement(db_, tab.shown + " WHERE " + tab.rowid + " BETWEEN ?1 AND ?2 ORDER BY " + tab.rowid);
    Statement& s = tab.pageRead;
    s.reset();
    const std::int64_t from = rowidOf(tab, first);
    s.bind(1, from);
    s.bind(2, rowidOf(tab, first + rows - 1));
    while (s.step()) {
        // A rowid missing from the run leaves its row empty.
        const auto r = static_cast<std::uint64_t>(s.integer(0)) - static_cast<std::uint64_t>(from);
        if (r >= rows) continue;
        for (std::size_t c = 0; c < columns; ++c)
            page.cells[static_cast<std::size_t>(r) * columns + c] =
                shownCell(s, shownColumn(ResultsTab::Records, static_cast<int>(c)), tab.columns[c].kind,
                          cardMask(fullCardNumbers_, tab.columns[c].cardNumbers));
    }
    const bool read = s.ok() && !s.failed();
    if (!read) noteReadFailure();
    s.reset();  // the read ends here
    return read;
}

Statement ResultsDatabase::rowsFrom(ResultsTab which, std::uint64_t row, Values values) {
    const TabData& tab = data(which);
    if (tab.whole.empty()) return Statement();
    Statement s(db_, (values == Values::Whole ? tab.whole : tab.shown) + " WHERE " + tab.rowid + " >= ?1 ORDER BY " +
                         tab.rowid);
    s.bind(1, rowidOf(tab, row));
    return s;
}

Statement ResultsDatabase::lengthsFrom(ResultsTab which, std::uint64_t row) {
    const TabData& tab = data(which);
    if (tab.lengths.empty()) return Statement();
    Statement s(db_, tab.lengths + " WHERE " + tab.rowid + " >= ?1 ORDER BY " + tab.rowid + " LIMIT 1");
    s.bind(1, rowidOf(tab, row));
    return s;
}

void ResultsDatabase::noteReadFailure() {
    if (readFailure_.empty()) readFailure_ = readFailed().message;
}

std::string ResultsDatabase::takeReadFailure() { return std::exchange(readFailure_, std::string()); }

std::optional<std::int64_t> ResultsDatabase::firstRowidOfRecord(const char* name, std::int64_t record) {
    const FoundTable* table = found(name);
    if (!table) return std::nullopt;
    const std::string from = quoted(table->name), rowid = table->rowid;
    auto low = endRowid(db_, from, rowid, false), high = endRowid(db_, from, rowid, true);
    if (!low || !high) return std::nullopt;
    Statement probe(db_, "SELECT " + rowid + ", " + tables::kRecordNumber + " FROM " + from + " WHERE " + rowid +
                             " >= ?1 ORDER BY " + rowid + " LIMIT 1");
    // The record number of the first row at or after `rowid`.
    auto recordAt = [&](std::int64_t at) {
        probe.reset();
        probe.bind(1, at);
        return probe.step() ? probe.integer(1) : record;
    };
    std::int64_t lo = *low, hi = *high;
    while (lo < hi) {
        // Halfway, counted unsigned: rowids may lie further apart than the
        // largest signed number (from -5e18 to 5e18, say).
        const auto mid = static_cast<std::int64_t>(
            static_cast<std::uint64_t>(lo) + (static_cast<std::uint64_t>(hi) - static_cast<std::uint64_t>(lo)) / 2);
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

std::optional<ByteRange> ResultsDatabase::recordPlace(const char* table, std::int64_t record) {
    using namespace tables;
    const std::optional<std::int64_t> rowid = firstRowidOfRecord(table, record);
    if (!rowid) return std::nullopt;
    Statement place(db_, std::string("SELECT ") + kRecordNumber + ", " + kByteOffset + ", " + kLength + " FROM " +
                             quoted(table) + " WHERE " + rowidName(table) + " = ?1");
    place.bind(1, *rowid);
    if (!place.step() || place.integer(0) != record || place.integer(1) < 0 || place.integer(2) < 0)
        return std::nullopt;
    return ByteRange{static_cast<std::uint64_t>(place.integer(1)), static_cast<std::uint64_t>(place.integer(2))};
}

}  // namespace velmora
