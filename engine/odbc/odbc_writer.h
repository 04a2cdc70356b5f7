#pragma once
// A run written into a database server through ODBC: the file database's
// tables, each row carrying the run's run_id, created when missing and
// checked when present; every row in one transaction, sent in batches, and
// committed by finish() alone.
#include <cstdint>
#include <functional>
#include <optional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "format/config/engine_configuration.h"
#include "engine/core/field_locator.h"
#include "engine/core/record_columns.h"
#include "engine/storage/database_writer.h"
#include "engine/odbc/odbc_batch.h"
#include "engine/odbc/odbc_connection.h"

namespace velmora {

class OdbcWriter {
public:
    OdbcWriter() = default;
    OdbcWriter(const OdbcWriter&) = delete;
    OdbcWriter& operator=(const OdbcWriter&) = delete;
    ~OdbcWriter();

    // Connects, makes or checks the tables (`table` for the records), opens
    // the transaction and writes the fields rows. A table that exists with
    // other columns fails with tableMismatch() true, nothing written.
    Status create(const std::string& connectionString, unsigned timeoutSeconds, const std::string& table,
                  const EngineConfiguration& config, std::vector<RecordColumn> columns);
    bool tableMismatch() const { return mismatch_; }
    // Before create(): a run of the same data file (as it was seen) and the
    // same configuration into the same records table that the run table
    // already holds is refused, and nothing sent.
    void refuseRepeatOf(FileStamp data, std::string configDigest) {
        repeat_ = RunFacts{};
        repeat_->data = std::move(data);
        repeat_->configDigest = std::move(configDigest);
    }

    // As DatabaseWriter's.
    void setKeepGoing(std::function<bool()> keepGoing) { keepGoing_ = std::move(keepGoing); }
    // `ascii` as for the file database; here every text is converted anyway.
    Status addRecord(uint64_t number, uint64_t offset, std::string_view record, const LocatedFields& fields,
                     bool ascii = false);
    Status addRejection(uint64_t number, uint64_t offset, uint64_t length, const std::string& field,
                        const std::string& reason);
    // Its batches copy every value, so a record's bytes may go at once.
    Status flush() { return {}; }
    // Sends what is held, writes the run row and commits.
    Status finish(const RunFacts& facts);
    // Rolls back whatever was not committed and disconnects.
    void close();
    // From another thread: stops the statement the server is running.
    void cancel() { db_.cancel(); }

    // A table as the server gets it: names, and what each column holds.
    struct ServerTable;

private:
    Status makeTables(const std::string& table);
    Status makeTable(const ServerTable& table);
    Status addLaterColumns(const ServerTable& table, const std::vector<std::string>& found);
    Status refuseRepeat();
    std::string typeName(OdbcBatch::Kind kind);
    Status prepare(OdbcBatch& batch, const ServerTable& table);
    Status writeFieldRows(const ServerTable& fields);
    Status addTlv(int64_t record, std::string_view bytes, size_t field, const FieldSlice& slice, size_t& sequence);
    Status addFirParts(int64_t record, std::string_view bytes, size_t field, const FieldSlice& slice);
    bool keepGoing() { return !keepGoing_ || keepGoing_(); }

    OdbcConnection db_;
    std::string dataSource_;
    int64_t runId_ = 0;
    const EngineConfiguration* config_ = nullptr;
    std::optional<PartFields> parts_;  // fields whose TLV objects or FIR parts are stored too
    std::vector<RecordColumn> columns_;
    std::vector<ColumnStorage> storage_;
    std::vector<std::string> fieldNames_;  // UTF-8
    std::string types_[3];                 // the server's names for integers, texts, binaries
    OdbcBatch records_, rejected_, tlv_, firParts_, run_;
    std::function<bool()> keepGoing_;
    bool mismatch_ = false;
    std::optional<RunFacts> repeat_;
    std::string recordsTable_;
    bool postgres_ = false;  // rows go as arrays into unnest()
};

}  // namespace velmora
