#pragma once
// The rows of one INSERT sent to the server many at a time: a statement of
// many rows (VALUES (...), (...), ...) run for arrays of parameters
// (SQL_ATTR_PARAMSET_SIZE). Both count: some drivers (psqlODBC) walk an
// array one set, and one round trip, at a time. Into PostgreSQL, each
// column of thousands of rows goes as one array parameter of one
// INSERT ... SELECT unnest(...), unnest(...), which the server takes several times
// faster than rows of parameters.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/text/utf16_text.h"
#include "engine/odbc/array_literal.h"
#include "engine/odbc/odbc_connection.h"

namespace velmora {

class OdbcBatch {
public:
    enum class Kind { Integer, Text, Binary };

    OdbcBatch() = default;
    OdbcBatch(const OdbcBatch&) = delete;
    OdbcBatch& operator=(const OdbcBatch&) = delete;
    ~OdbcBatch();

    // `insertInto`: "INSERT INTO t (a, b, ...)", one column per kind.
    // `arrayTypes`, when given: the server's type of each column, and the
    // rows go as arrays of them into unnest() (PostgreSQL).
    Status prepare(OdbcConnection& db, const std::string& insertInto, const std::vector<Kind>& kinds,
                   const std::vector<std::string>* arrayTypes = nullptr);

    // A row's values, one per column in order, then endRow().
    void integer(int64_t value);
    void null();
    void text(std::string_view utf8);
    void cp1252Text(std::string_view bytes);
    void binary(std::string_view bytes);
    // Sends the rows held once there are enough of them.
    Status endRow();
    Status flush();

private:
    struct Column {
        Kind kind = Kind::Integer;
        std::vector<int64_t> integers;  // per row
        std::string bytes;              // Text (UTF-16) and Binary values, end to end
        std::vector<size_t> starts;     // per row, in bytes
        std::vector<int64_t> lengths;   // per row; -1 for NULL
        size_t widest = 0;              // longest value held, in bytes
        // As bound for one execution: the values at a fixed width.
        std::vector<int64_t> boundIntegers;
        std::vector<char> bound;
        std::vector<std::intptr_t> indicators;  // SQLLEN
        ArrayLiteral array;                     // the rows' values, into unnest()
        ArrayLiteral sending;                   // the rows before them, on their way
        Utf16 wide;                             // `sending` as bound, when not ASCII
    };
    Column& next();
    // Runs `statement` (rowsEach rows of VALUES) for `sets` sets of rows
    // from row `first` on.
    Status send(void* statement, size_t rowsEach, size_t first, size_t sets);
    // Binds column `n` of every row of the statement to its values.
    Status bindColumn(void* statement, size_t n, size_t rowsEach, size_t first, size_t sets);
    // Binds column `n`'s array on its way, closed, as parameter n + 1 of
    // the unnest() statement.
    Status bindArray(size_t n);
    // Sends the rows held as one array a column, behind the run.
    Status sendArrays();
    // Runs the unnest() statement for the arrays on their way.
    Status sendHeld();

    OdbcConnection* db_ = nullptr;
    void* many_ = nullptr;  // rowsEach_ rows a statement
    void* one_ = nullptr;   // one row, for the rest of the last batch
    size_t rowsEach_ = 1;
    bool arrays_ = false;
    std::vector<Column> columns_;
    size_t column_ = 0, rows_ = 0;
    std::vector<unsigned short> status_;  // per set, as the driver reports it
    std::string scratch_;
    std::u16string units_;  // a text in UTF-16 on its way into its column
};

}  // namespace velmora
