#pragma once
// A parse's database as the Results dialog reads it: opened read-only,
// recognised as the engine's, its run summed up in one line, and its
// records and rejections shown a page at a time, each row found by its
// rowid, so a database of any size opens and scrolls at once.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "format/base/file_stamp.h"
#include "engine/core/database_tables.h"
#include "format/base/result.h"
#include "src/results/sqlite_statement.h"
#include "src/results/card_numbers.h"

struct sqlite3;

namespace velmora {

enum class ResultsTab { Records, Rejected };

// How a column's stored values are shown.
enum class CellKind {
    Value,  // by the preview's rule: texts in the program's code page, other bytes escaped
    Hex,    // BER-TLV data, in hexadecimal
    Plain,  // a name or a reason: only control bytes escaped
};

struct ResultsColumn {
    std::string header;      // in the program's code page
    std::string utf8Header;  // the same in UTF-8, as the database names a field's column
    CellKind kind = CellKind::Value;
    bool cardNumbers = false;  // every value is a card number
};

// The most characters a list or the record window shows of a value; each
// value is cut in SQL to one more than this before it is read, so a value of
// any size costs no more (the one beyond tells that the value was cut).
constexpr std::size_t kShownCharacters = 256;
// A column (its name as SQL writes it) so cut, as an SQL expression.
std::string cutToShown(const std::string& column);

// A cell's value as shown: numbers in decimal, NULL empty, texts and blobs
// by the column's kind with their card data hidden as `mask` says, cut
// after `limit` characters as the preview cuts.
std::string shownCell(const Statement& row, int column, CellKind kind, CardMask mask,
                      std::size_t limit = kShownCharacters);

// A database file is untrusted input: it is read as SQLite's guidance for
// such files says ("Defense Against the Dark Arts"): read-only, defensive,
// no trusted schema, no memory map, no views or triggers, limits on lengths,
// each table read by the columns it names, and a file in WAL mode (which
// the engine never writes) refused before SQLite could make files beside it.
class ResultsDatabase {
public:
    // A failure of one sentence naming the file and the reason when the
    // file cannot be read as a database a parse wrote. `path` names it as
    // the operator gave it, `name` the same in UTF-8, as SQLite takes it.
    static Result<std::unique_ptr<ResultsDatabase>> open(const std::string& path, const std::string& name);
    // A path that is its own UTF-8 name: ASCII, or any on POSIX.
    static Result<std::unique_ptr<ResultsDatabase>> open(const std::string& path) { return open(path, path); }
    ~ResultsDatabase();
    ResultsDatabase(const ResultsDatabase&) = delete;
    ResultsDatabase& operator=(const ResultsDatabase&) = delete;

    const std::string& path() const { return path_; }
    // "3 records parsed, 1 rejected - D:\in\bank.dat with D:\cfg\bank.cfg, 2026-12-07 14:03".
    const std::string& summary() const { return summary_; }

    const std::vector<ResultsColumn>& columns(ResultsTab tab) const { return data(tab).columns; }
    // Whether cells, records and exports show card numbers in full; masked
    // until the group the policy names asks.
    bool fullCardNumbers() const { return fullCardNumbers_; }
    void showFullCardNumbers(bool full);
    // How a value of `column` hides its card data now.
    CardMask maskOf(ResultsTab tab, int column) const;
    std::uint64_t rowCount(ResultsTab tab) const { return data(tab).count; }
    // The shown text of a cell; its page of rows is read when it is not at
    // hand. Empty past the rows, or when the read failed.
    const std::string& cell(ResultsTab tab, std::uint64_t row, int column);

    // What rowsFrom() reads of each value: the whole of it (Find, the
    // export), or only as much as is shown (the record window).
    enum class Values { Whole, Shown };
    // The rows of `tab` from `row` on, in order: result column 0 is the
    // rowid, then shownColumn() of each shown column.
    Statement rowsFrom(ResultsTab tab, std::uint64_t row, Values values = Values::Whole);
    // The first row from `row` on with, for each shown column, the length of
    // its value (SQLite's length(): characters of a text, bytes of a blob),
    // at shownColumn(); NULL for NULL.
    Statement lengthsFrom(ResultsTab tab, std::uint64_t row);
    int shownColumn(ResultsTab /*tab*/, int column) const { return column + 1; }
    // The row of a rowid, and back; rowids are counted without overflow
    // whatever a file holds.
    std::uint64_t rowOf(ResultsTab tab, std::int64_t rowid) const {
        return static_cast<std::uint64_t>(rowid) - static_cast<std::uint64_t>(data(tab).firstRowid);
    }

    // A failure met since open, as one sentence naming the file; cleared
    // by the call. Empty when none.
    std::string takeReadFailure();
    // Keeps the connection's last failure for takeReadFailure().
    void noteReadFailure();

    sqlite3* connection() const { return db_; }
    bool hasTable(const char* name) const;
    // Whether the table is there, a plain table, with every column the
    // engine gives it (an older engine's table lacks the added ones).
    bool holds(const tables::Table& table) const;
    bool holdsColumn(const char* table, const char* column) const;
    // The data file the run read (its name in UTF-8) and how the run saw it;
    // nothing when the database does not say (an older engine's, a pipe).
    struct RunData {
        std::string path;
        FileStamp stamp;
    };
    std::optional<RunData> runData() const;
    // The name that reaches a table's rowid (rowid, _rowid_ or oid: the
    // first that no column of the table takes); "" when the table is not there.
    std::string rowidName(const char* table) const;
    // The first rowid of `table` (rows in record order) whose record number
    // is at least `record`; found by halving the rowids, so any size costs
    // a few dozen lookups, and any rowids (the ends of the 64-bit range,
    // gaps) end the search.
    std::optional<std::int64_t> firstRowidOfRecord(const char* table, std::int64_t record);
    // Where record `record` lies in the data file (without its separator),
    // when `table` holds it at a place that can be.
    std::optional<ByteRange> recordPlace(const char* table, std::int64_t record);

private:
    struct Page {
        std::uint64_t first = 0;
        std::uint64_t used = 0;  // when last asked for, to let the oldest go
        std::vector<std::string> cells;
    };
    struct TabData {
        std::string table;    // the table read, as SQL names it
        std::string rowid;    // the name of its rowid
        std::string whole;    // "SELECT rowid, c1, ... FROM table"
        std::string shown;    // the same with each value cut to what is shown
        std::string lengths;  // "SELECT rowid, length(c1), ... FROM table"
        std::vector<ResultsColumn> columns;
        std::int64_t firstRowid = 0;
        std::uint64_t count = 0;
        std::uint64_t pageRows = 1;  // rows read at a time
        Statement pageRead;          // the page's rows, prepared once
        std::vector<Page> pages;
    };
    // A table of the engine's name found in the file, with its columns.
    struct FoundTable {
        std::string name;                  // as the engine names it
        std::vector<std::string> columns;  // UTF-8, in the table's order
        std::string rowid;
    };

    ResultsDatabase(sqlite3* db, std::string path);
    std::int64_t rowidOf(const TabData& tab, std::uint64_t row) const {
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(tab.firstRowid) + row);
    }
    // Opening in phases: the engine's tables found, each tab prepared, the
    // rows counted, the summary and the first and last rows read.
    Status readSchema();
    Status findTables();
    Result<std::vector<std::string>> engineTableNames() const;
    Result<FoundTable> plainTable(Statement& kind, Statement& info, const std::string& name) const;
    std::set<std::string> hexColumns() const;
    void prepareRecordsTab(const FoundTable* records);
    void countRows();
    Failure notTheEngines() const;
    Failure readFailed() const;
    void prepareTab(TabData& tab, const FoundTable& table, const std::vector<std::string>& sources);
    void findCardColumns(TabData& tab);
    void readSummary();
    bool loadPage(TabData& tab, std::uint64_t first, Page& page);
    const FoundTable* found(const char* name) const;
    TabData& data(ResultsTab tab) { return tabs_[tab == ResultsTab::Records ? 0 : 1]; }
    const TabData& data(ResultsTab tab) const { return tabs_[tab == ResultsTab::Records ? 0 : 1]; }

    sqlite3* db_;
    std::string path_;
    std::string summary_;
    std::vector<FoundTable> tables_;
    TabData tabs_[2];
    std::uint64_t clock_ = 0;
    std::string readFailure_;
    bool fullCardNumbers_ = false;
};

}  // namespace velmora
