#include "engine/storage/odbc_batch.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstring>

#include "engine/core/cp1252.h"
#include "engine/storage/odbc_text.h"

namespace velmora {

namespace {

static_assert(sizeof(SQLLEN) == sizeof(std::intptr_t), "SQLLEN is pointer-sized");
static_assert(sizeof(SQLUSMALLINT) == sizeof(unsigned short), "");

// Enough rows a batch to hide the round trip, few enough bytes that a batch
// of large values stays small.
constexpr size_t kBatchRows = 1000;
constexpr size_t kBatchBytes = 8u << 20;

bool succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

}  // namespace

OdbcBatch::~OdbcBatch() { OdbcConnection::release(statement_); }

bool OdbcBatch::prepare(OdbcConnection& db, const std::string& sql, const std::vector<Kind>& kinds) {
    db_ = &db;
    columns_.assign(kinds.size(), Column());
    for (size_t c = 0; c < kinds.size(); ++c) columns_[c].kind = kinds[c];
    statement_ = db.newStatement();
    if (!statement_) return false;
    Utf16 text = utf16(sql);
    if (!succeeded(SQLPrepareW(static_cast<SQLHSTMT>(statement_), reinterpret_cast<SQLWCHAR*>(&text[0]),
                               static_cast<SQLINTEGER>(text.size()))))
        return db.fail("the server refused INSERT", statement_);
    return true;
}

OdbcBatch::Column& OdbcBatch::next() { return columns_[column_++]; }

void OdbcBatch::integer(int64_t value) {
    Column& c = next();
    c.integers.push_back(value);
    c.lengths.push_back(0);
}

void OdbcBatch::null() {
    Column& c = next();
    if (c.kind == Kind::Integer) c.integers.push_back(0);
    c.lengths.push_back(-1);
}

void OdbcBatch::text(std::string_view utf8) {
    Column& c = next();
    Utf16 units = utf16(utf8);
    const size_t size = units.size() * sizeof(char16_t);
    c.bytes.append(reinterpret_cast<const char*>(units.data()), size);
    c.lengths.push_back(static_cast<int64_t>(size));
    c.widest = std::max(c.widest, size);
}

void OdbcBatch::cp1252Text(std::string_view bytes) {
    if (isAscii(bytes)) return text(bytes);
    scratch_.clear();
    appendCp1252AsUtf8(bytes, scratch_);
    text(scratch_);
}

void OdbcBatch::binary(std::string_view bytes) {
    Column& c = next();
    c.bytes.append(bytes.data(), bytes.size());
    c.lengths.push_back(static_cast<int64_t>(bytes.size()));
    c.widest = std::max(c.widest, bytes.size());
}

bool OdbcBatch::endRow() {
    column_ = 0;
    ++rows_;
    size_t bytes = 0;
    for (const Column& c : columns_) bytes += c.widest * rows_;
    return rows_ < kBatchRows && bytes < kBatchBytes ? true : flush();
}

bool OdbcBatch::flush() {
    if (rows_ == 0) return true;
    const SQLHSTMT s = static_cast<SQLHSTMT>(statement_);
    status_.assign(rows_, SQL_PARAM_UNUSED);
    SQLSetStmtAttr(s, SQL_ATTR_PARAM_STATUS_PTR, status_.data(), 0);
    if (!succeeded(SQLSetStmtAttr(s, SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(rows_), 0)))
        return db_->fail("the driver takes no arrays of parameters", statement_);
    for (size_t n = 0; n < columns_.size(); ++n) {
        Column& c = columns_[n];
        c.indicators.resize(rows_);
        for (size_t r = 0; r < rows_; ++r)
            c.indicators[r] = c.lengths[r] < 0 ? SQL_NULL_DATA : static_cast<std::intptr_t>(c.lengths[r]);
        SQLRETURN rc;
        const SQLUSMALLINT number = static_cast<SQLUSMALLINT>(n + 1);
        if (c.kind == Kind::Integer) {
            rc = SQLBindParameter(s, number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, c.integers.data(), 0,
                                  reinterpret_cast<SQLLEN*>(c.indicators.data()));
        } else {
            // Each value at a fixed width: the arrays are bound by column.
            const size_t width = std::max<size_t>(c.widest, 2);
            c.array.assign(width * rows_, 0);
            size_t from = 0;
            for (size_t r = 0; r < rows_; ++r) {
                if (c.lengths[r] <= 0) continue;
                const size_t length = static_cast<size_t>(c.lengths[r]);
                std::memcpy(c.array.data() + r * width, c.bytes.data() + from, length);
                from += length;
            }
            const bool text = c.kind == Kind::Text;
            rc = SQLBindParameter(s, number, SQL_PARAM_INPUT, text ? SQL_C_WCHAR : SQL_C_BINARY,
                                  text ? SQL_WVARCHAR : SQL_VARBINARY, text ? width / 2 : width, 0, c.array.data(),
                                  static_cast<SQLLEN>(width), reinterpret_cast<SQLLEN*>(c.indicators.data()));
        }
        if (!succeeded(rc)) return db_->fail("cannot bind a value", statement_);
    }
    // A driver may go on past a row the server refused: every row is checked.
    bool ok = succeeded(SQLExecute(s));
    for (size_t r = 0; ok && r < rows_; ++r) ok = status_[r] != SQL_PARAM_ERROR;
    if (!ok) db_->fail("the server refused a row", statement_);
    SQLFreeStmt(s, SQL_CLOSE);
    for (Column& c : columns_) {
        c.integers.clear();
        c.bytes.clear();
        c.lengths.clear();
        c.widest = 0;
        // One huge value does not keep its buffer for the rest of the run.
        if (c.array.capacity() > kBatchBytes) std::vector<char>().swap(c.array);
    }
    rows_ = 0;
    return ok;
}

}  // namespace velmora
