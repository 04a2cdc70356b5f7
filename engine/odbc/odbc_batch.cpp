#include "engine/odbc/odbc_batch.h"

#include <algorithm>
#include <cstring>

#include "engine/core/text/cp1252.h"
#include "engine/odbc/odbc_api.h"
#include "engine/core/text/utf16_text.h"

namespace velmora {

namespace {

static_assert(sizeof(SQLLEN) == sizeof(std::intptr_t), "SQLLEN is pointer-sized");
static_assert(sizeof(SQLUSMALLINT) == sizeof(unsigned short), "");

// Enough rows a batch to hide the round trips, few enough bytes that a
// batch of large values stays small; rows a statement within what every
// server takes in parameters.
constexpr size_t kBatchRows = 1000;
constexpr size_t kBatchBytes = 8u << 20;
constexpr size_t kStatementRows = 100, kStatementParameters = 2000;
// Rows an unnest() statement: its arrays are sent whole, so their bytes are
// bounded as a batch's are.
constexpr size_t kArrayRows = 10000;

bool succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

}  // namespace

OdbcBatch::~OdbcBatch() {
    // Its arrays may still be on their way.
    if (db_) static_cast<void>(db_->settle());
    OdbcConnection::release(many_);
    OdbcConnection::release(one_);
}

Status OdbcBatch::prepare(OdbcConnection& db, const std::string& insertInto, const std::vector<Kind>& kinds,
                          const std::vector<std::string>* arrayTypes) {
    db_ = &db;
    columns_.assign(kinds.size(), Column());
    for (size_t c = 0; c < kinds.size(); ++c) columns_[c].kind = kinds[c];
    arrays_ = arrayTypes != nullptr;
    rowsEach_ = std::max<size_t>(1, std::min(kStatementRows, kStatementParameters / std::max<size_t>(1, kinds.size())));
    std::string row = "(";
    for (size_t c = 0; c < kinds.size(); ++c) row += c ? ", ?" : "?";
    row += ")";
    std::vector<std::pair<void**, std::string>> statements;
    if (arrays_) {
        // unnest() in the select list runs the arrays side by side a row at a
        // time; in FROM, the server first copies each array into a store of
        // its own (measured: a sixth of its time).
        std::string arrays;
        for (size_t c = 0; c < kinds.size(); ++c)
            arrays += (c ? ", unnest(?::" : "unnest(?::") + (*arrayTypes)[c] + "[])";
        statements.emplace_back(&many_, insertInto + " SELECT " + arrays);
    } else {
        std::string sql = insertInto + " VALUES " + row;
        for (size_t r = 1; r < rowsEach_; ++r) sql += ", " + row;
        statements.emplace_back(&one_, insertInto + " VALUES " + row);
        statements.emplace_back(&many_, sql);
    }
    for (auto& [statement, sql] : statements) {
        Result<void*> made = db.newStatement();
        if (!made) return fail(made.failure());
        *statement = *made;
        Utf16 text = utf16(sql);
        if (!succeeded(SQLPrepareW(static_cast<SQLHSTMT>(*statement), reinterpret_cast<SQLWCHAR*>(&text[0]),
                                   static_cast<SQLINTEGER>(text.size()))))
            return db.diagnosed("the server refused INSERT", *statement);
    }
    return {};
}

OdbcBatch::Column& OdbcBatch::next() {
    Column& c = columns_[column_++];
    c.starts.push_back(c.bytes.size());
    return c;
}

void OdbcBatch::integer(int64_t value) {
    if (arrays_) return columns_[column_++].array.integer(value);
    Column& c = next();
    c.integers.push_back(value);
    c.lengths.push_back(0);
}

void OdbcBatch::null() {
    if (arrays_) return columns_[column_++].array.null();
    Column& c = next();
    c.integers.push_back(0);
    c.lengths.push_back(-1);
}

void OdbcBatch::text(std::string_view utf8) {
    if (arrays_) return columns_[column_++].array.text(utf8);
    Column& c = next();
    units_.clear();
    appendUtf8AsUtf16(utf8, units_);
    const size_t size = units_.size() * sizeof(char16_t);
    c.bytes.append(reinterpret_cast<const char*>(units_.data()), size);
    c.integers.push_back(0);
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
    if (arrays_) return columns_[column_++].array.binary(bytes);
    Column& c = next();
    c.bytes.append(bytes.data(), bytes.size());
    c.integers.push_back(0);
    c.lengths.push_back(static_cast<int64_t>(bytes.size()));
    c.widest = std::max(c.widest, bytes.size());
}

Status OdbcBatch::endRow() {
    column_ = 0;
    ++rows_;
    size_t bytes = 0;
    for (const Column& c : columns_) bytes += arrays_ ? c.array.size() : c.widest * rows_;
    if (rows_ < (arrays_ ? kArrayRows : kBatchRows) && bytes < kBatchBytes) return {};
    return flush();
}

// Parameter (j, c) is column c of the j-th row of a statement; its array
// holds that row of every set: row first + set * rowsEach + j.
Status OdbcBatch::bindColumn(void* statement, size_t n, size_t rowsEach, size_t first, size_t sets) {
    const SQLHSTMT s = static_cast<SQLHSTMT>(statement);
    Column& c = columns_[n];
    const bool integer = c.kind == Kind::Integer;
    const size_t width = integer ? sizeof(int64_t) : std::max<size_t>(c.widest, 2);
    c.indicators.assign(rowsEach * sets, 0);
    if (integer)
        c.boundIntegers.assign(rowsEach * sets, 0);
    else
        c.bound.assign(width * rowsEach * sets, 0);
    for (size_t j = 0; j < rowsEach; ++j)
        for (size_t set = 0; set < sets; ++set) {
            const size_t row = first + set * rowsEach + j, at = j * sets + set;
            const int64_t length = c.lengths[row];
            c.indicators[at] = length < 0 ? SQL_NULL_DATA : static_cast<std::intptr_t>(length);
            if (integer)
                c.boundIntegers[at] = c.integers[row];
            else if (length > 0)
                std::memcpy(c.bound.data() + at * width, c.bytes.data() + c.starts[row], static_cast<size_t>(length));
        }
    for (size_t j = 0; j < rowsEach; ++j) {
        const SQLUSMALLINT number = static_cast<SQLUSMALLINT>(j * columns_.size() + n + 1);
        SQLLEN* indicators = reinterpret_cast<SQLLEN*>(c.indicators.data() + j * sets);
        SQLRETURN rc;
        if (integer)
            rc = SQLBindParameter(s, number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                                  c.boundIntegers.data() + j * sets, 0, indicators);
        else if (c.kind == Kind::Text)
            rc = SQLBindParameter(s, number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, width / 2, 0,
                                  c.bound.data() + j * sets * width, static_cast<SQLLEN>(width), indicators);
        else
            rc = SQLBindParameter(s, number, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_VARBINARY, width, 0,
                                  c.bound.data() + j * sets * width, static_cast<SQLLEN>(width), indicators);
        if (!succeeded(rc)) return db_->diagnosed("cannot bind a value", statement);
    }
    return {};
}

Status OdbcBatch::send(void* statement, size_t rowsEach, size_t first, size_t sets) {
    const SQLHSTMT s = static_cast<SQLHSTMT>(statement);
    status_.assign(sets, SQL_PARAM_UNUSED);
    SQLSetStmtAttr(s, SQL_ATTR_PARAM_STATUS_PTR, status_.data(), 0);
    if (!succeeded(SQLSetStmtAttr(s, SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(sets), 0)))
        return db_->diagnosed("the driver takes no arrays of parameters", statement);
    for (size_t n = 0; n < columns_.size(); ++n)
        if (Status bound = bindColumn(statement, n, rowsEach, first, sets); !bound) return bound;
    // A driver may go on past a set the server refused: every set is checked.
    db_->running(statement);
    bool ok = succeeded(SQLExecute(s));
    db_->running(nullptr);
    for (size_t set = 0; ok && set < sets; ++set) ok = status_[set] != SQL_PARAM_ERROR;
    Status sent;
    if (!ok) sent = db_->diagnosed("the server refused a row", statement);
    SQLFreeStmt(s, SQL_CLOSE);
    return sent;
}

// A literal of ASCII alone goes as it is; any other through UTF-16, which
// the driver takes whatever the system's code page is.
Status OdbcBatch::bindArray(size_t n) {
    Column& c = columns_[n];
    const std::string& literal = c.sending.closed();
    const bool ascii = isAscii(literal);
    c.wide.clear();
    if (!ascii) appendUtf8AsUtf16(literal, c.wide);
    const size_t bytes = ascii ? literal.size() : c.wide.size() * 2;
    c.indicators.assign(1, static_cast<std::intptr_t>(bytes));
    SQLPOINTER value = ascii ? const_cast<char*>(literal.data()) : static_cast<SQLPOINTER>(&c.wide[0]);
    if (!succeeded(SQLBindParameter(static_cast<SQLHSTMT>(many_), static_cast<SQLUSMALLINT>(n + 1), SQL_PARAM_INPUT,
                                    ascii ? SQL_C_CHAR : SQL_C_WCHAR, ascii ? SQL_LONGVARCHAR : SQL_WLONGVARCHAR,
                                    ascii ? bytes : bytes / 2, 0, value, static_cast<SQLLEN>(bytes),
                                    reinterpret_cast<SQLLEN*>(c.indicators.data()))))
        return db_->diagnosed("cannot bind a value", many_);
    return {};
}

Status OdbcBatch::sendHeld() {
    const SQLHSTMT s = static_cast<SQLHSTMT>(many_);
    Status sent;
    for (size_t n = 0; sent && n < columns_.size(); ++n) sent = bindArray(n);
    if (sent) {
        db_->running(many_);
        if (!succeeded(SQLExecute(s))) sent = db_->diagnosed("the server refused a row", many_);
        db_->running(nullptr);
    }
    SQLFreeStmt(s, SQL_CLOSE);
    for (Column& c : columns_)
        if (c.wide.capacity() > kBatchBytes) Utf16().swap(c.wide);
    return sent;
}

// The arrays sent before may still be on their way: they are handed over
// only once those are sent, so at most two batches a table are held.
Status OdbcBatch::sendArrays() {
    rows_ = 0;
    return db_->sendBehind(
        [this] {
            for (Column& c : columns_) {
                std::swap(c.array, c.sending);
                c.array.clear();
            }
        },
        [this] { return sendHeld(); });
}

Status OdbcBatch::flush() {
    if (rows_ == 0) return {};
    if (arrays_) return sendArrays();
    const size_t sets = rows_ / rowsEach_, rest = rows_ % rowsEach_;
    Status sent;
    if (sets > 0) sent = send(many_, rowsEach_, 0, sets);
    if (sent && rest > 0) sent = send(one_, 1, sets * rowsEach_, rest);
    for (Column& c : columns_) {
        c.integers.clear();
        c.bytes.clear();
        c.starts.clear();
        c.lengths.clear();
        c.widest = 0;
        // One huge value does not keep its buffer for the rest of the run.
        if (c.bound.capacity() > kBatchBytes) std::vector<char>().swap(c.bound);
    }
    rows_ = 0;
    return sent;
}

}  // namespace velmora
