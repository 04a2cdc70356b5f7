#include "engine/odbc/odbc_writer.h"

#include <algorithm>
#include <random>

#include "engine/core/ber_tlv.h"
#include "engine/core/text/cp1252.h"
#include "engine/core/database_tables.h"
#include "engine/core/fir_parts.h"
#include "engine/core/sha256.h"
#include "engine/os/engine_os.h"
#include "engine/odbc/odbc_api.h"
#include "engine/core/text/utf16_text.h"

namespace velmora {

using Kind = OdbcBatch::Kind;

struct OdbcWriter::ServerTable {
    std::string name;
    std::vector<std::pair<std::string, Kind>> columns;  // run_id first
    std::vector<std::string> added;                     // what an older table may lack
};

namespace {

// The file database's table with run_id before its columns; its SQLite
// types as the three kinds a server is asked for.
OdbcWriter::ServerTable serverTable(const tables::Table& table) {
    OdbcWriter::ServerTable out{table.name, {{tables::kRunId, Kind::Integer}}, {}};
    for (const tables::Column& c : table.columns) {
        const std::string type = c.type;
        out.columns.emplace_back(c.name, type.rfind("INTEGER", 0) == 0 ? Kind::Integer
                                         : type == "BLOB"              ? Kind::Binary
                                                                       : Kind::Text);
        if (c.added) out.added.push_back(c.name);
    }
    return out;
}

// The columns a table has, by name; a failure when it cannot be read (it
// does not exist).
Result<std::vector<std::string>> tableColumns(OdbcConnection& db, const std::string& table) {
    Result<void*> statement = db.newStatement();
    void* s = statement ? *statement : nullptr;
    Utf16 sql = utf16("SELECT * FROM " + quoteIdentifier(table) + " WHERE 1 = 0");
    SQLSMALLINT count = 0;
    std::vector<std::string> names;
    bool ok = s &&
              SQL_SUCCEEDED(SQLExecDirectW(static_cast<SQLHSTMT>(s), reinterpret_cast<SQLWCHAR*>(&sql[0]),
                                           static_cast<SQLINTEGER>(sql.size()))) &&
              SQL_SUCCEEDED(SQLNumResultCols(static_cast<SQLHSTMT>(s), &count));
    for (SQLUSMALLINT c = 1; ok && c <= count; ++c) {
        char16_t name[512];
        SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        ok = SQL_SUCCEEDED(SQLDescribeColW(static_cast<SQLHSTMT>(s), c, reinterpret_cast<SQLWCHAR*>(name), 512, &length,
                                           &type, &size, &digits, &nullable));
        names.push_back(utf8(name, std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(length, 0)), 511)));
    }
    OdbcConnection::release(s);
    if (!ok) return fail("the table " + table + " cannot be read");
    return names;
}

// What the driver lists the table as ("TABLE", "VIEW", ...): the catalog
// takes the name as a pattern, so only a row of exactly that name counts.
// Empty when it lists none.
std::string tableType(OdbcConnection& db, const std::string& table) {
    Result<void*> statement = db.newStatement();
    const SQLHSTMT s = static_cast<SQLHSTMT>(statement ? *statement : nullptr);
    Utf16 name = utf16(table);
    std::string type;
    bool ok = s && SQL_SUCCEEDED(SQLTablesW(s, nullptr, 0, nullptr, 0, reinterpret_cast<SQLWCHAR*>(&name[0]),
                                            static_cast<SQLSMALLINT>(name.size()), nullptr, 0));
    while (ok && SQL_SUCCEEDED(SQLFetch(s))) {
        char16_t found[512], kind[64];
        SQLLEN foundLength = 0, kindLength = 0;
        SQLGetData(s, 3, SQL_C_WCHAR, found, sizeof found, &foundLength);
        SQLGetData(s, 4, SQL_C_WCHAR, kind, sizeof kind, &kindLength);
        const size_t units = static_cast<size_t>(std::max<SQLLEN>(foundLength, 0)) / 2;
        if (units < 512 && utf8(found, units) == table && kindLength > 0)
            type = utf8(kind, std::min<size_t>(static_cast<size_t>(kindLength) / 2, 63));
    }
    OdbcConnection::release(s);
    return type;
}

int64_t newRunId() {
    std::random_device seed;
    const uint64_t high = seed(), low = seed();
    return static_cast<int64_t>(((high << 32) | low) >> 1);
}

}  // namespace

OdbcWriter::~OdbcWriter() { close(); }

// The server's own name for a type that takes values of any length, as its
// driver lists them; a common name when it lists none.
std::string OdbcWriter::typeName(Kind kind) {
    static const std::vector<SQLSMALLINT> wanted[] = {
        {SQL_BIGINT}, {SQL_WLONGVARCHAR, SQL_LONGVARCHAR}, {SQL_VARBINARY, SQL_LONGVARBINARY}};
    static const char* const fallback[] = {"BIGINT", "TEXT", "BLOB"};
    const int k = static_cast<int>(kind);
    for (SQLSMALLINT type : wanted[k]) {
        Result<void*> statement = db_.newStatement();
        void* s = statement ? *statement : nullptr;
        bool ok = s && SQL_SUCCEEDED(SQLGetTypeInfo(static_cast<SQLHSTMT>(s), type));
        std::string found;
        while (ok && found.empty() && SQL_SUCCEEDED(SQLFetch(static_cast<SQLHSTMT>(s)))) {
            char name[256] = "", params[256] = "";
            SQLLEN nameLength = 0, paramsLength = 0;
            SQLGetData(static_cast<SQLHSTMT>(s), 1, SQL_C_CHAR, name, sizeof name, &nameLength);
            SQLGetData(static_cast<SQLHSTMT>(s), 6, SQL_C_CHAR, params, sizeof params, &paramsLength);
            // A type that needs a length would cut long values.
            if (nameLength > 0 && (paramsLength <= 0 || !params[0])) found = name;
        }
        OdbcConnection::release(s);
        if (!found.empty()) return found;
    }
    return fallback[k];
}

// Creates the table when it is missing; one that is there must have the
// same columns. Another line may create it at the same moment: a failed
// CREATE is looked at again before it counts.
Status OdbcWriter::makeTable(const ServerTable& table) {
    std::vector<std::string> wanted;
    for (const auto& c : table.columns) wanted.push_back(c.first);
    Result<std::vector<std::string>> found = tableColumns(db_, table.name);
    if (!found) {
        std::string create = "CREATE TABLE " + quoteIdentifier(table.name) + " (";
        for (size_t c = 0; c < table.columns.size(); ++c)
            create += (c ? ", " : "") + quoteIdentifier(table.columns[c].first) + " " +
                      types_[static_cast<int>(table.columns[c].second)];
        Status created = db_.execute(create + ")");
        if (created) return {};
        found = tableColumns(db_, table.name);
        if (!found) return created;
    }
    // A view of the right columns would take the run's rows and hide them.
    if (const std::string type = tableType(db_, table.name); !type.empty() && type != "TABLE") {
        mismatch_ = true;
        return fail("the table " + table.name + " is not a base table but a " + type);
    }
    std::vector<std::string> a = wanted, b = *found;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    if (a == b) return {};
    if (Status widened = addLaterColumns(table, b); widened) return widened;
    mismatch_ = true;
    std::string list;
    for (const std::string& name : wanted) list += (list.empty() ? "" : ", ") + name;
    return fail("the table " + table.name + " exists with other columns than the run stores (" + list + ")");
}

// A table an older engine made lacks the columns added since: they are
// added, and its rows keep what they hold (the new columns empty). Any
// other difference is not ours to mend. Another line may add them at the
// same moment: a failed ALTER is looked at again before it counts.
Status OdbcWriter::addLaterColumns(const ServerTable& table, const std::vector<std::string>& found) {
    std::vector<std::pair<std::string, Kind>> missing;
    for (const auto& column : table.columns)
        if (!std::binary_search(found.begin(), found.end(), column.first)) missing.push_back(column);
    const size_t knownFound = found.size() + missing.size();
    const bool onlyAdded = knownFound == table.columns.size() && !missing.empty() &&
                           std::all_of(missing.begin(), missing.end(), [&](const auto& c) {
                               return std::find(table.added.begin(), table.added.end(), c.first) != table.added.end();
                           });
    if (!onlyAdded) return fail("other columns");
    for (const auto& [name, kind] : missing) {
        Status added = db_.execute("ALTER TABLE " + quoteIdentifier(table.name) + " ADD COLUMN " +
                                   quoteIdentifier(name) + " " + types_[static_cast<int>(kind)]);
        if (added) continue;
        Result<std::vector<std::string>> now = tableColumns(db_, table.name);
        if (!now || std::find(now->begin(), now->end(), name) == now->end()) return added;
    }
    return {};
}

Status OdbcWriter::prepare(OdbcBatch& batch, const ServerTable& table) {
    std::string names;
    std::vector<Kind> kinds;
    std::vector<std::string> types;
    for (const auto& c : table.columns) {
        names += (kinds.empty() ? "" : ", ") + quoteIdentifier(c.first);
        kinds.push_back(c.second);
        types.push_back(types_[static_cast<int>(c.second)]);
    }
    return batch.prepare(db_, "INSERT INTO " + quoteIdentifier(table.name) + " (" + names + ")", kinds,
                         postgres_ ? &types : nullptr);
}

Status OdbcWriter::create(const std::string& connectionString, unsigned timeoutSeconds, const std::string& table,
                          const EngineConfiguration& config, std::vector<RecordColumn> columns) {
    config_ = &config;
    parts_.emplace(config);
    columns_ = std::move(columns);
    dataSource_ = dataSourceName(connectionString);
    for (const RecordColumn& column : columns_) storage_.push_back(columnStorage(config, column));
    for (const FieldPlan& f : config.fields) fieldNames_.push_back(cp1252AsUtf8(f.name));
    if (Status connected = db_.connect(connectionString, timeoutSeconds); !connected) return connected;
    for (Kind kind : {Kind::Integer, Kind::Text, Kind::Binary}) types_[static_cast<int>(kind)] = typeName(kind);
    // Measured: arrays into unnest() go several times faster than rows of
    // parameters, which psqlODBC sends one set a round trip.
    postgres_ = db_.serverName() == "PostgreSQL";
    return makeTables(table);
}

// Makes or checks the tables, opens the transaction, prepares the batches
// and writes the fields rows.
Status OdbcWriter::makeTables(const std::string& table) {
    ServerTable records{table, {{tables::kRunId, Kind::Integer}}, {}};
    for (size_t c = 0; c < columns_.size(); ++c)
        records.columns.emplace_back(columns_[c].name, storage_[c] == ColumnStorage::Integer ? Kind::Integer
                                                       : storage_[c] == ColumnStorage::Text  ? Kind::Text
                                                                                             : Kind::Binary);
    ServerTable run = serverTable(tables::runTable());
    run.columns.emplace_back(tables::kRunComputer, Kind::Text);
    run.columns.emplace_back(tables::kRunRecordsTable, Kind::Text);
    run.added.push_back(tables::kRunRecordsTable);
    recordsTable_ = table;
    const ServerTable fields = serverTable(tables::fieldsTable()), rejected = serverTable(tables::rejectedTable()),
                      tlv = serverTable(tables::tlvTable()), firParts = serverTable(tables::firPartsTable());
    // The records table first: one that does not fit is the operator's
    // mistake, and nothing is made before it is found.
    for (const ServerTable* t :
         std::initializer_list<const ServerTable*>{&records, &run, &fields, &rejected, &tlv, &firParts})
        if (Status made = makeTable(*t); !made) return made;
    if (Status once = refuseRepeat(); !once) return once;
    Status ready = db_.begin();
    for (const auto& [batch, t] : std::initializer_list<std::pair<OdbcBatch*, const ServerTable*>>{
             {&records_, &records}, {&rejected_, &rejected}, {&tlv_, &tlv}, {&firParts_, &firParts}, {&run_, &run}})
        if (ready) ready = prepare(*batch, *t);
    if (ready) ready = writeFieldRows(fields);
    return ready;
}

// The same data file and configuration into the same records table. The
// texts compared are quoted as any literal (the table's name is the
// operator's). A run whose data file's time is unknown (a
// pipe) matches nothing.
Status OdbcWriter::refuseRepeat() {
    if (!repeat_ || repeat_->data.modified.empty()) return {};
    // Two lines storing the same batch at once would both find nothing: in
    // PostgreSQL the second waits here until the first has disconnected,
    // and then finds its run. A lock of the session, not of a transaction,
    // so that the search after it sees what was committed meanwhile at any
    // isolation level; the server drops it with the connection.
    if (postgres_) {
        const std::string same = recordsTable_ + '\n' + std::to_string(repeat_->data.size) + '\n' +
                                 repeat_->data.modified + '\n' + repeat_->configDigest;
        const long long key = std::stoll(sha256Hex(same).substr(0, 15), nullptr, 16);
        if (Status held = db_.execute("SELECT pg_advisory_lock(" + std::to_string(key) + ")"); !held) return held;
    }
    Result<void*> statement = db_.newStatement();
    if (!statement) return fail(statement.failure());
    const SQLHSTMT s = static_cast<SQLHSTMT>(*statement);
    Utf16 sql = utf16(std::string("SELECT ") + tables::kRunId + " FROM " + quoteIdentifier(tables::kRun) + " WHERE " +
                      tables::kRunDataSize + " = " + std::to_string(repeat_->data.size) + " AND " +
                      tables::kRunDataModified + " = " + quoteLiteral(repeat_->data.modified) + " AND " +
                      tables::kRunConfigDigest + " = " + quoteLiteral(repeat_->configDigest) + " AND " +
                      tables::kRunRecordsTable + " = " + quoteLiteral(recordsTable_));
    db_.running(s);
    SQLRETURN done = SQLExecDirectW(s, reinterpret_cast<SQLWCHAR*>(&sql[0]), static_cast<SQLINTEGER>(sql.size()));
    db_.running(nullptr);
    Status checked;
    if (!SQL_SUCCEEDED(done)) {
        checked = db_.diagnosed("looking for the same run", s);
    } else if (SQL_SUCCEEDED(SQLFetch(s))) {
        SQLBIGINT run = 0;
        SQLLEN indicator = 0;
        SQLGetData(s, 1, SQL_C_SBIGINT, &run, sizeof run, &indicator);
        checked = fail("this data file was already stored with this configuration as run " + std::to_string(run) +
                       "; nothing stored");
    }
    OdbcConnection::release(s);
    return checked;
}

Status OdbcWriter::writeFieldRows(const ServerTable& fields) {
    OdbcBatch fieldRows;
    if (Status prepared = prepare(fieldRows, fields); !prepared) return prepared;
    runId_ = newRunId();
    const auto& rows = config_->text.fieldDefs.rows();
    const std::vector<std::string> columnNames = fieldColumnNames(columns_, rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        fieldRows.integer(runId_);
        fieldRows.integer(static_cast<int64_t>(i + 1));
        for (int col = 0; col < kFieldColumnCount; ++col) fieldRows.cp1252Text(rows[i].column(col));
        if (columnNames[i].empty())
            fieldRows.null();
        else
            fieldRows.text(columnNames[i]);
        if (Status sent = fieldRows.endRow(); !sent) return sent;
    }
    return fieldRows.flush();
}

Status OdbcWriter::addRecord(uint64_t number, uint64_t offset, std::string_view record, const LocatedFields& located,
                             bool) {
    records_.integer(runId_);
    records_.integer(static_cast<int64_t>(number));
    records_.integer(static_cast<int64_t>(offset));
    records_.integer(static_cast<int64_t>(record.size()));
    for (size_t c = kRecordOwnColumns; c < columns_.size(); ++c) {
        const std::optional<std::string_view> value = columnValue(record, located, *config_, columns_[c]);
        if (!value)
            records_.null();
        else if (storage_[c] == ColumnStorage::Text)
            records_.cp1252Text(*value);
        else
            records_.binary(*value);
    }
    if (Status sent = records_.endRow(); !sent) return sent;
    const int64_t recordNumber = static_cast<int64_t>(number);
    size_t sequence = 0;  // TLV objects count within the record, across its fields
    return parts_->each(
        located, [&](size_t i, const FieldSlice& slice) { return addTlv(recordNumber, record, i, slice, sequence); },
        [&](size_t i, const FieldSlice& slice) { return addFirParts(recordNumber, record, i, slice); });
}

Status OdbcWriter::addTlv(int64_t recordNumber, std::string_view record, size_t field, const FieldSlice& slice,
                          size_t& sequence) {
    const size_t first = sequence;
    Status going;
    std::string error;
    decodeTlv(record.substr(slice.begin, slice.length), slice.begin, error, [&](const TlvObject& o) {
        const TlvRow row = tlvRow(record, o, first);
        tlv_.integer(runId_);
        tlv_.integer(recordNumber);
        tlv_.text(fieldNames_[field]);
        tlv_.integer(row.sequence);
        row.parent ? tlv_.integer(*row.parent) : tlv_.null();
        tlv_.integer(row.depth);
        tlv_.text(tagHex(record, o));
        for (int64_t n : {row.offset, row.valueLength, row.constructed}) tlv_.integer(n);
        row.value ? tlv_.binary(*row.value) : tlv_.null();
        ++sequence;
        going = tlv_.endRow();
        if (going && !keepGoing()) going = fail(kWritingStopped);
        return going.ok();
    });
    return going;
}

Status OdbcWriter::addFirParts(int64_t recordNumber, std::string_view record, size_t field, const FieldSlice& slice) {
    FirParts parts(record.substr(slice.begin, slice.length), config_->firSeparators);
    std::string_view part;
    for (int64_t number = 1; parts.next(part); ++number) {
        firParts_.integer(runId_);
        firParts_.integer(recordNumber);
        firParts_.text(fieldNames_[field]);
        firParts_.integer(number);
        firParts_.cp1252Text(part);
        if (Status sent = firParts_.endRow(); !sent) return sent;
        if (!keepGoing()) return fail(kWritingStopped);
    }
    return {};
}

Status OdbcWriter::addRejection(uint64_t number, uint64_t offset, uint64_t length, const std::string& field,
                                const std::string& reason) {
    rejected_.integer(runId_);
    rejected_.integer(static_cast<int64_t>(number));
    rejected_.integer(static_cast<int64_t>(offset));
    rejected_.integer(static_cast<int64_t>(length));
    if (field.empty())
        rejected_.null();
    else
        rejected_.cp1252Text(field);
    rejected_.cp1252Text(reason);
    return rejected_.endRow();
}

Status OdbcWriter::finish(const RunFacts& r) {
    run_.integer(runId_);
    // The server's rows name the data source, never the connection string.
    for (const std::string* text :
         std::initializer_list<const std::string*>{&r.dataPath, &r.configPath, &dataSource_, &r.started, &r.ended})
        run_.text(*text);
    for (uint64_t n : {r.bytesRead, r.recordsParsed, r.recordsRejected}) run_.integer(static_cast<int64_t>(n));
    run_.text(r.engineVersion);
    if (r.data.modified.empty()) {
        run_.null();
        run_.null();
    } else {
        run_.integer(static_cast<int64_t>(r.data.size));
        run_.text(r.data.modified);
    }
    run_.text(r.configDigest);
    run_.text(pathAsUtf8(computerName()));
    run_.text(recordsTable_);
    Status sent = run_.endRow();
    for (OdbcBatch* batch : {&records_, &rejected_, &tlv_, &firParts_, &run_})
        if (sent) sent = batch->flush();
    if (sent) sent = db_.commit();
    return sent;
}

void OdbcWriter::close() { db_.rollback(); }

}  // namespace velmora
