#include "engine/storage/database_writer.h"

#include <sqlite3.h>

#include "engine/core/ber_tlv.h"
#include "engine/core/text/cp1252.h"
#include "engine/core/database_tables.h"
#include "engine/core/fir_parts.h"
#include "engine/storage/background_writes.h"

namespace velmora {

namespace {

// Rows a statement takes: fewest instructions a row on the benchmark's records
// (32 and 128 cost as much, one row a statement a fifth more).
constexpr int kRowsPerStatement = 64;

// `text` between two `mark`s, each inner one doubled.
std::string enclosed(const std::string& text, char mark) {
    std::string q(1, mark);
    for (char c : text) {
        if (c == mark) q += mark;
        q += c;
    }
    return q + mark;
}

}  // namespace

// The file is a temporary one until the run completes, so it needs no
// journal and no syncing on the way. The cache stays small, 2 MiB: the pages
// go to the disk on their own thread anyway, and SQLite's working pages stay
// in the processor's nearer caches (on 200 MB a run was 11-15% quicker, round
// for round, than with 8 MiB; 512 KiB no quicker again).
const char* const kWriterPragmas =
    "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE;"
    "PRAGMA cache_size=-2048; PRAGMA page_size=8192;";

std::string quoteIdentifier(const std::string& name) { return enclosed(name, '"'); }

std::string quoteLiteral(const std::string& text) { return enclosed(text, '\''); }

const char* const kWritingStopped = "the writing was stopped";

DatabaseWriter::~DatabaseWriter() { (void)close(); }

Failure DatabaseWriter::sqliteFailure(const std::string& what) const {
    // Short of memory the run says just that, wherever it happened.
    if (!db_ || sqlite3_errcode(db_) == SQLITE_NOMEM) return fail("out of memory");
    return fail(what + ": " + sqlite3_errmsg(db_));
}

Status DatabaseWriter::exec(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) return {};
    return sqliteFailure("database");
}

Status DatabaseWriter::prepare(const std::string& sql, sqlite3_stmt*& statement) {
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) return {};
    return sqliteFailure("database");
}

// Every parameter is bound again before each step (NULL included), so the
// bindings need no clearing.
Status DatabaseWriter::step(sqlite3_stmt* s) {
    int rc = sqlite3_step(s);
    sqlite3_reset(s);
    if (rc == SQLITE_DONE) return {};
    return sqliteFailure("writing the database");
}

Status DatabaseWriter::create(const std::string& path, const EngineConfiguration& config,
                              std::vector<RecordColumn> columns) {
    config_ = &config;
    columns_ = std::move(columns);
    for (const RecordColumn& column : columns_) storage_.push_back(columnStorage(config, column));
    for (const FieldPlan& f : config.fields) fieldNames_.push_back(cp1252AsUtf8(f.name));
    parts_.emplace(config);
    // One thread uses it: no locking inside SQLite; its pages go to the disk
    // on a thread of their own. The file is the run's own, made a moment ago:
    // a link in its place is not followed.
    if (sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_NOFOLLOW,
                        backgroundWritesVfs()) != SQLITE_OK)
        return sqliteFailure("cannot create the database");
    if (Status done = exec(kWriterPragmas); !done) return done;
    for (const tables::Table* table : {&tables::fieldsTable(), &tables::rejectedTable(), &tables::tlvTable(),
                                       &tables::firPartsTable(), &tables::runTable()})
        if (Status made = exec(tables::createTableSql(*table)); !made) return made;
    // The suggestion keeps within the same limit.
    sqlite3_limit(db_, SQLITE_LIMIT_COLUMN, kMostRecordColumns);
    if (std::string refusal = tooManyColumns(columns_.size()); !refusal.empty()) return fail(refusal);

    std::string create = std::string("CREATE TABLE ") + tables::kRecords + " (";
    for (size_t c = 0; c < columns_.size(); ++c) {
        const RecordColumn& col = columns_[c];
        static const char* const types[] = {"INTEGER", "TEXT", "BLOB"};
        const char* type = types[static_cast<int>(columnStorage(config, col))];
        create += (c ? ", " : "") + quoteIdentifier(col.name) + " " + type;
    }
    Status made = exec(create + ")");
    if (made) made = exec("BEGIN");
    if (made) made = prepareBatches();
    if (made) made = writeFieldRows(config);
    return made;
}

Status DatabaseWriter::prepareBatches() {
    auto prepared = [&](RowBatch& rows, const char* table, size_t count) -> Status {
        if (rows.prepare(db_, std::string("INSERT INTO ") + table + " VALUES ", static_cast<int>(count),
                         kRowsPerStatement))
            return {};
        return sqliteFailure("database");
    };
    Status done = prepared(records_, tables::kRecords, columns_.size());
    if (done) done = prepared(rejected_, tables::kRejected, tables::rejectedTable().columns.size());
    if (done) done = prepared(tlv_, tables::kTlv, tables::tlvTable().columns.size());
    if (done) done = prepared(firParts_, tables::kFirParts, tables::firPartsTable().columns.size());
    return done;
}

// The `fields` table: the configuration used, a row a field.
Status DatabaseWriter::writeFieldRows(const EngineConfiguration& config) {
    sqlite3_stmt* fields = nullptr;
    if (Status prepared = prepare(tables::insertSql(tables::fieldsTable()), fields); !prepared) return prepared;
    Status written;
    const auto& rows = config.text.fieldDefs.rows();
    const std::vector<std::string> columnNames = fieldColumnNames(columns_, rows.size());
    for (size_t i = 0; i < rows.size() && written; ++i) {
        sqlite3_bind_int64(fields, 1, static_cast<sqlite3_int64>(i + 1));
        for (int col = 0; col < kFieldColumnCount; ++col) {
            std::string text = cp1252AsUtf8(rows[i].column(col));
            sqlite3_bind_text(fields, col + 2, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
        const std::string& column = columnNames[i];
        if (column.empty())
            sqlite3_bind_null(fields, kFieldColumnCount + 2);
        else
            sqlite3_bind_text(fields, kFieldColumnCount + 2, column.data(), static_cast<int>(column.size()),
                              SQLITE_TRANSIENT);
        written = step(fields);
    }
    sqlite3_finalize(fields);
    return written;
}

Status DatabaseWriter::addRecord(uint64_t number, uint64_t offset, std::string_view record,
                                 const LocatedFields& located, bool knownAscii) {
    records_.integer(static_cast<int64_t>(number));
    records_.integer(static_cast<int64_t>(offset));
    records_.integer(static_cast<int64_t>(record.size()));
    // Most records are plain ASCII throughout: their texts need no look.
    // The cutting thread has mostly looked already.
    const bool ascii = knownAscii || isAscii(record);
    for (size_t c = kRecordOwnColumns; c < columns_.size(); ++c) {
        const std::optional<std::string_view> value = columnValue(record, located, *config_, columns_[c]);
        if (!value)
            records_.null();
        else if (storage_[c] == ColumnStorage::Text && ascii)
            records_.text(*value);
        else if (storage_[c] == ColumnStorage::Text)
            records_.cp1252(*value);
        else
            records_.blob(*value);
    }
    if (records_.full())
        if (Status flushed = flush(records_); !flushed) return flushed;

    const int64_t recordNumber = static_cast<int64_t>(number);
    size_t sequence = 0;  // TLV objects count within the record, across its fields
    return parts_->each(
        located, [&](size_t i, const FieldSlice& slice) { return addTlv(recordNumber, record, i, slice, sequence); },
        [&](size_t i, const FieldSlice& slice) { return addFirParts(recordNumber, record, i, slice); });
}

Status DatabaseWriter::addTlv(int64_t recordNumber, std::string_view record, size_t field, const FieldSlice& slice,
                              size_t& sequence) {
    const std::string& name = fieldNames_[field];
    const size_t first = sequence;
    Status going;
    std::string error;
    // The field was checked whole when it was located; here each object goes
    // to the table as it is decoded, so none is held.
    decodeTlv(record.substr(slice.begin, slice.length), slice.begin, error, [&](const TlvObject& o) {
        const TlvRow row = tlvRow(record, o, first);
        tlv_.integer(recordNumber);
        tlv_.text(name);
        tlv_.integer(row.sequence);
        row.parent ? tlv_.integer(*row.parent) : tlv_.null();
        tlv_.integer(row.depth);
        tlv_.copiedCp1252(tagHex(record, o));
        for (int64_t n : {row.offset, row.valueLength, row.constructed}) tlv_.integer(n);
        row.value ? tlv_.blob(*row.value) : tlv_.null();
        ++sequence;
        if (tlv_.full()) going = flush(tlv_);
        if (going && keepGoing_ && !keepGoing_()) going = fail(kWritingStopped);
        return going.ok();
    });
    return going;
}

Status DatabaseWriter::addFirParts(int64_t recordNumber, std::string_view record, size_t field,
                                   const FieldSlice& slice) {
    const std::string& name = fieldNames_[field];
    const std::string_view text = record.substr(slice.begin, slice.length);
    const bool ascii = isAscii(text);
    FirParts parts(text, config_->firSeparators);
    std::string_view part;
    for (int64_t number = 1; parts.next(part); ++number) {
        firParts_.integer(recordNumber);
        firParts_.text(name);
        firParts_.integer(number);
        if (ascii)
            firParts_.text(part);
        else
            firParts_.cp1252(part);
        if (firParts_.full())
            if (Status flushed = flush(firParts_); !flushed) return flushed;
        if (keepGoing_ && !keepGoing_()) return fail(kWritingStopped);
    }
    return {};
}

Status DatabaseWriter::addRejection(uint64_t number, uint64_t offset, uint64_t length, const std::string& field,
                                    const std::string& reason) {
    rejected_.integer(static_cast<int64_t>(number));
    rejected_.integer(static_cast<int64_t>(offset));
    rejected_.integer(static_cast<int64_t>(length));
    if (field.empty())
        rejected_.null();
    else
        rejected_.copiedCp1252(field);
    rejected_.copiedCp1252(reason);
    if (!rejected_.full()) return {};
    return flush(rejected_);
}

Status DatabaseWriter::flush(RowBatch& rows) {
    if (rows.flush()) return {};
    return sqliteFailure("writing the database");
}

Status DatabaseWriter::flush() {
    for (RowBatch* rows : {&records_, &rejected_, &tlv_, &firParts_})
        if (Status flushed = flush(*rows); !flushed) return flushed;
    return {};
}

Status DatabaseWriter::finish(const RunFacts& r) {
    if (Status flushed = flush(); !flushed) return flushed;
    sqlite3_stmt* s = nullptr;
    if (Status prepared = prepare(tables::insertSql(tables::runTable()), s); !prepared) return prepared;
    const std::string* texts[] = {&r.dataPath, &r.configPath, &r.databasePath, &r.started, &r.ended};
    for (int k = 0; k < 5; ++k)
        sqlite3_bind_text(s, k + 1, texts[k]->data(), static_cast<int>(texts[k]->size()), SQLITE_STATIC);
    sqlite3_bind_int64(s, 6, static_cast<sqlite3_int64>(r.bytesRead));
    sqlite3_bind_int64(s, 7, static_cast<sqlite3_int64>(r.recordsParsed));
    sqlite3_bind_int64(s, 8, static_cast<sqlite3_int64>(r.recordsRejected));
    sqlite3_bind_text(s, 9, r.engineVersion.data(), static_cast<int>(r.engineVersion.size()), SQLITE_STATIC);
    // A time that could not be told (a pipe) is no time: NULL, not "".
    if (!r.data.modified.empty()) {
        sqlite3_bind_int64(s, 10, static_cast<sqlite3_int64>(r.data.size));
        sqlite3_bind_text(s, 11, r.data.modified.data(), static_cast<int>(r.data.modified.size()), SQLITE_STATIC);
    }
    sqlite3_bind_text(s, 12, r.configDigest.data(), static_cast<int>(r.configDigest.size()), SQLITE_STATIC);
    Status written = step(s);
    sqlite3_finalize(s);
    if (!written) return written;
    return exec("COMMIT");
}

Status DatabaseWriter::close() {
    if (!db_) return {};
    for (RowBatch* rows : {&records_, &rejected_, &tlv_, &firParts_}) rows->finalize();
    Status closed;
    if (sqlite3_close(db_) != SQLITE_OK) {
        closed = sqliteFailure("closing the database");
        sqlite3_close_v2(db_);
    }
    db_ = nullptr;
    return closed;
}

}  // namespace velmora
