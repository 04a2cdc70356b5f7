#pragma once
// The run's SQLite database: the tables, one transaction, prepared
// statements. The caller chooses the file (a temporary one) and moves it
// into place.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/engine_configuration.h"
#include "engine/core/field_locator.h"
#include "engine/core/record_columns.h"

struct sqlite3;
struct sqlite3_stmt;

namespace velmora {

struct RunFacts {
    std::string dataPath, configPath, databasePath;  // UTF-8
    std::string started, ended;                      // ISO 8601, UTC
    uint64_t bytesRead = 0, recordsParsed = 0, recordsRejected = 0;
    std::string engineVersion;
};

// A name as an SQL identifier: in double quotes, inner quotes doubled.
std::string quoteIdentifier(const std::string& name);

class DatabaseWriter {
public:
    DatabaseWriter() = default;
    DatabaseWriter(const DatabaseWriter&) = delete;
    DatabaseWriter& operator=(const DatabaseWriter&) = delete;
    ~DatabaseWriter();

    // Creates the file (UTF-8 name), the tables and the statements, writes
    // the `fields` table and opens the transaction.
    bool create(const std::string& path, const EngineConfiguration& config, std::vector<RecordColumn> columns);

    bool addRecord(uint64_t number, uint64_t offset, std::string_view record, const LocatedFields& fields);
    // `field` is empty when the record as a whole was set aside.
    bool addRejection(uint64_t number, uint64_t offset, uint64_t length, const std::string& field,
                      const std::string& reason);
    // Writes the `run` row and commits.
    bool finish(const RunFacts& facts);
    // Closes the file; true when everything written is in it.
    bool close();

    const std::string& error() const { return error_; }

private:
    bool exec(const std::string& sql);
    bool prepare(const std::string& sql, sqlite3_stmt*& statement);
    bool step(sqlite3_stmt* statement);
    bool fail(const std::string& what);
    void bindText(sqlite3_stmt* s, int index, std::string_view bytes, std::string& scratch);

    sqlite3* db_ = nullptr;
    const EngineConfiguration* config_ = nullptr;
    std::vector<RecordColumn> columns_;
    std::vector<std::string> fieldNames_;  // UTF-8
    sqlite3_stmt* insertRecord_ = nullptr;
    sqlite3_stmt* insertRejected_ = nullptr;
    sqlite3_stmt* insertTlv_ = nullptr;
    sqlite3_stmt* insertFirPart_ = nullptr;
    std::vector<std::string> scratch_;  // converted texts, alive until the step
    std::vector<std::string_view> parts_;
    std::string error_;
};

}  // namespace velmora
