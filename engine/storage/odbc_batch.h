#pragma once
// The rows of one INSERT sent to the server many at a time, as arrays of
// parameters (SQL_ATTR_PARAMSET_SIZE), not one round trip a row.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/storage/odbc_connection.h"

namespace velmora {

class OdbcBatch {
public:
    enum class Kind { Integer, Text, Binary };

    OdbcBatch() = default;
    OdbcBatch(const OdbcBatch&) = delete;
    OdbcBatch& operator=(const OdbcBatch&) = delete;
    ~OdbcBatch();

    // `sql` holds one '?' per kind, in order.
    bool prepare(OdbcConnection& db, const std::string& sql, const std::vector<Kind>& kinds);

    // A row's values, one per column in order, then endRow().
    void integer(int64_t value);
    void null();
    void text(std::string_view utf8);
    void cp1252Text(std::string_view bytes);
    void binary(std::string_view bytes);
    // Sends the rows held once there are enough of them.
    bool endRow();
    bool flush();

private:
    struct Column {
        Kind kind = Kind::Integer;
        std::vector<int64_t> integers;
        std::string bytes;                      // Text (UTF-16) and Binary values, end to end
        std::vector<int64_t> lengths;           // per row; -1 for NULL
        size_t widest = 0;                      // longest value held, in bytes
        std::vector<char> array;                // the values at a fixed width, as bound
        std::vector<std::intptr_t> indicators;  // SQLLEN per row
    };
    Column& next();

    OdbcConnection* db_ = nullptr;
    void* statement_ = nullptr;
    std::vector<Column> columns_;
    size_t column_ = 0, rows_ = 0;
    std::vector<unsigned short> status_;  // per row, as the driver reports it
    std::string scratch_;
};

}  // namespace velmora
