#include "engine/core/database_tables.h"

namespace velmora::tables {

const Table& fieldsTable() {
    static const Table table{kFields,
                             {{kFieldPosition, "INTEGER PRIMARY KEY"},
                              {kFieldName, "TEXT"},
                              {"start_type", "TEXT"},
                              {"start_data", "TEXT"},
                              {kFieldEndType, "TEXT"},
                              {"end_data", "TEXT"},
                              {kFieldType, "TEXT"},
                              {"field_type_data", "TEXT"},
                              {kFieldColumnName, "TEXT"}}};
    return table;
}

const Table& rejectedTable() {
    static const Table table{kRejected,
                             {{kRecordNumber, "INTEGER"},
                              {kByteOffset, "INTEGER"},
                              {kLength, "INTEGER"},
                              {kRejectedField, "TEXT"},
                              {kRejectedReason, "TEXT"}}};
    return table;
}

const Table& tlvTable() {
    static const Table table{kTlv,
                             {{kRecordNumber, "INTEGER"},
                              {kTlvField, "TEXT"},
                              {kTlvSequence, "INTEGER"},
                              {kTlvParent, "INTEGER"},
                              {kTlvDepth, "INTEGER"},
                              {kTlvTag, "TEXT"},
                              {kByteOffset, "INTEGER"},
                              {kLength, "INTEGER"},
                              {kTlvConstructed, "INTEGER"},
                              {kTlvValue, "BLOB"}}};
    return table;
}

const Table& firPartsTable() {
    static const Table table{
        kFirParts, {{kRecordNumber, "INTEGER"}, {kFirField, "TEXT"}, {kFirPart, "INTEGER"}, {kFirValue, "TEXT"}}};
    return table;
}

const Table& runTable() {
    static const Table table{kRun,
                             {{kRunDataPath, "TEXT"},
                              {kRunConfigPath, "TEXT"},
                              {"database_path", "TEXT"},
                              {"started", "TEXT"},
                              {kRunEnded, "TEXT"},
                              {"bytes_read", "INTEGER"},
                              {kRunRecordsParsed, "INTEGER"},
                              {kRunRecordsRejected, "INTEGER"},
                              {"engine_version", "TEXT"},
                              {kRunDataSize, "INTEGER", true},
                              {kRunDataModified, "TEXT", true},
                              {kRunConfigDigest, "TEXT", true}}};
    return table;
}

std::string createTableSql(const Table& table) {
    std::string sql = std::string("CREATE TABLE ") + table.name + " (";
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        sql += std::string(i ? ", " : "") + table.columns[i].name + " " + table.columns[i].type;
    return sql + ")";
}

std::string insertSql(const Table& table) {
    std::string sql = std::string("INSERT INTO ") + table.name + " VALUES (";
    for (std::size_t i = 0; i < table.columns.size(); ++i) sql += i ? ", ?" : "?";
    return sql + ")";
}

}  // namespace velmora::tables
