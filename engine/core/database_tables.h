#pragma once
// The tables and columns a parse stores, named once: the engine's writer
// creates and fills them by these names, and the utility's Results reader
// finds them by the same.
#include <string>
#include <vector>

namespace velmora::tables {

struct Column {
    const char* name;
    const char* type;    // as the CREATE TABLE statement declares it
    bool added = false;  // came after the table's first form: an older table lacks it
};

struct Table {
    const char* name;
    std::vector<Column> columns;
};

// Columns that several tables share.
inline constexpr const char* kRecordNumber = "record_number";
inline constexpr const char* kByteOffset = "byte_offset";
inline constexpr const char* kLength = "length";

// The records table: the three columns above, then one per stored field,
// named as fields.column_name says.
inline constexpr const char* kRecords = "records";

// The configuration used, a row per field in list order.
inline constexpr const char* kFields = "fields";
inline constexpr const char* kFieldPosition = "position";
inline constexpr const char* kFieldName = "name";
inline constexpr const char* kFieldEndType = "end_type";
inline constexpr const char* kFieldType = "field_type";
inline constexpr const char* kFieldColumnName = "column_name";

inline constexpr const char* kRejected = "rejected";
inline constexpr const char* kRejectedField = "field";
inline constexpr const char* kRejectedReason = "reason";

inline constexpr const char* kTlv = "tlv";
inline constexpr const char* kTlvField = "field";
inline constexpr const char* kTlvSequence = "sequence";
inline constexpr const char* kTlvParent = "parent_sequence";
inline constexpr const char* kTlvDepth = "depth";
inline constexpr const char* kTlvTag = "tag";
inline constexpr const char* kTlvConstructed = "constructed";
inline constexpr const char* kTlvValue = "value";

inline constexpr const char* kFirParts = "fir_parts";
inline constexpr const char* kFirField = "field";
inline constexpr const char* kFirPart = "part";
inline constexpr const char* kFirValue = "value";

inline constexpr const char* kRun = "run";
inline constexpr const char* kRunDataPath = "data_path";
inline constexpr const char* kRunConfigPath = "config_path";
inline constexpr const char* kRunEnded = "ended";
inline constexpr const char* kRunRecordsParsed = "records_parsed";
inline constexpr const char* kRunRecordsRejected = "records_rejected";
// The data file as the run saw it, and the configuration's SHA-256 digest.
inline constexpr const char* kRunDataSize = "data_size";
inline constexpr const char* kRunDataModified = "data_modified";
inline constexpr const char* kRunConfigDigest = "config_digest";

// In a database server, where many runs of many lines share the tables:
// every row names its run, and the run its PC.
inline constexpr const char* kRunId = "run_id";
inline constexpr const char* kRunComputer = "computer_name";
inline constexpr const char* kRunRecordsTable = "records_table";

// Every table but records, whose field columns depend on the configuration.
const Table& fieldsTable();
const Table& rejectedTable();
const Table& tlvTable();
const Table& firPartsTable();
const Table& runTable();

// "CREATE TABLE name (column type, ...)" and "INSERT INTO name VALUES (?, ...)".
std::string createTableSql(const Table& table);
std::string insertSql(const Table& table);

}  // namespace velmora::tables
