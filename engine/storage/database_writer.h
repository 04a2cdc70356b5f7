#pragma once
// The run's SQLite database: the tables, one transaction, prepared
// statements. The caller chooses the file (a temporary one) and moves it
// into place.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/base/file_stamp.h"
#include "format/config/engine_configuration.h"
#include "engine/core/field_locator.h"
#include "engine/core/record_columns.h"
#include "engine/storage/row_batch.h"
#include "format/base/result.h"

struct sqlite3;
struct sqlite3_stmt;

namespace velmora {

struct RunFacts {
    std::string dataPath, configPath, databasePath;  // UTF-8
    std::string started, ended;                      // ISO 8601, UTC
    uint64_t bytesRead = 0, recordsParsed = 0, recordsRejected = 0;
    std::string engineVersion;
    FileStamp data;            // the data file as the run opened it
    std::string configDigest;  // SHA-256 of the configuration's bytes
};

// How the writer sets SQLite up for a run's file.
extern const char* const kWriterPragmas;

// Why a writer stopped when its keepGoing said so.
extern const char* const kWritingStopped;

// A name as an SQL identifier: in double quotes, inner quotes doubled.
std::string quoteIdentifier(const std::string& name);
// A text as an SQL string literal: in single quotes, inner ones doubled.
std::string quoteLiteral(const std::string& text);

class DatabaseWriter {
public:
    DatabaseWriter() = default;
    DatabaseWriter(const DatabaseWriter&) = delete;
    DatabaseWriter& operator=(const DatabaseWriter&) = delete;
    ~DatabaseWriter();

    // Creates the file (UTF-8 name), the tables and the statements, writes
    // the `fields` table and opens the transaction.
    Status create(const std::string& path, const EngineConfiguration& config, std::vector<RecordColumn> columns);

    // Called after each row of the tlv and fir_parts tables, which one
    // record may hold millions of: false stops the writing (addRecord then
    // fails with kWritingStopped; whoever said stop knows why).
    void setKeepGoing(std::function<bool()> keepGoing) { keepGoing_ = std::move(keepGoing); }

    // The record's row, then its TLV objects and FIR parts one at a time as
    // they are found. Rows go to SQLite several at a time, bound to the
    // bytes given here: `record` must stay until flush().
    // `ascii`: the record is known to hold no byte above 127 (else it is
    // looked at here).
    Status addRecord(uint64_t number, uint64_t offset, std::string_view record, const LocatedFields& fields,
                     bool ascii = false);
    // `field` is empty when the record as a whole was set aside.
    Status addRejection(uint64_t number, uint64_t offset, uint64_t length, const std::string& field,
                        const std::string& reason);
    // Hands every row held back to SQLite; the bytes they came from are
    // then free.
    Status flush();
    // Flushes, writes the `run` row and commits.
    Status finish(const RunFacts& facts);
    // Closes the file.
    Status close();

private:
    Failure sqliteFailure(const std::string& what) const;
    Status exec(const std::string& sql);
    Status prepare(const std::string& sql, sqlite3_stmt*& statement);
    Status step(sqlite3_stmt* statement);
    Status prepareBatches();
    Status writeFieldRows(const EngineConfiguration& config);
    Status addTlv(int64_t record, std::string_view bytes, size_t field, const FieldSlice& slice, size_t& sequence);
    Status addFirParts(int64_t record, std::string_view bytes, size_t field, const FieldSlice& slice);
    Status flush(RowBatch& rows);

    sqlite3* db_ = nullptr;
    const EngineConfiguration* config_ = nullptr;
    std::vector<RecordColumn> columns_;
    std::vector<ColumnStorage> storage_;   // per column
    std::vector<std::string> fieldNames_;  // UTF-8
    std::optional<PartFields> parts_;      // fields whose TLV objects or FIR parts are stored too
    RowBatch records_, rejected_, tlv_, firParts_;
    std::function<bool()> keepGoing_;
};

}  // namespace velmora
