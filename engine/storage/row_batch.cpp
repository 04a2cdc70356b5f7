#include "engine/storage/row_batch.h"

#include <sqlite3.h>

#include <algorithm>

#include "engine/core/text/cp1252.h"

namespace velmora {

namespace {

// Rows of the middle statement, for what is left short of a whole one.
constexpr int kFewRows = 8;
// A buffer grown past this for one flush is not kept for the next.
constexpr size_t kKeptBuffer = 1u << 20;

void release(std::string& buffer) {
    buffer.clear();
    if (buffer.capacity() > kKeptBuffer) std::string().swap(buffer);
}

}  // namespace

bool RowBatch::prepare(sqlite3* db, const std::string& insert, int columns, int rows) {
    finalize();
    columns_ = static_cast<size_t>(columns);
    const int most = sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, -1);
    rows = std::max(1, std::min(rows, most / std::max(columns, 1)));
    statementValues_ = columns_ * static_cast<size_t>(rows);
    std::string row = "(";
    for (int c = 0; c < columns; ++c) row += c ? ", ?" : "?";
    row += ")";
    std::string sql = insert + row;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &one_, nullptr) != SQLITE_OK) return false;
    values_.resize(statementValues_);
    for (int r = 1; r < rows; ++r) {
        sql += ", " + row;
        if (r + 1 == kFewRows && rows > kFewRows &&
            sqlite3_prepare_v2(db, sql.c_str(), -1, &few_, nullptr) != SQLITE_OK)
            return false;
    }
    return rows == 1 || sqlite3_prepare_v2(db, sql.c_str(), -1, &many_, nullptr) == SQLITE_OK;
}

void RowBatch::finalize() {
    sqlite3_finalize(many_);
    sqlite3_finalize(few_);
    sqlite3_finalize(one_);
    many_ = few_ = one_ = nullptr;
    count_ = 0;
}

void RowBatch::copiedCp1252(std::string_view t) {
    // Its place, not its address: the copies move as they grow.
    add(Kind::Copied, static_cast<int64_t>(copies_.size()), nullptr, t.size());
    copies_.append(t);
    resolve_ = true;
}

// More than a statement's values wait only when the caller flushes late.
void RowBatch::grow() { values_.resize(std::max<size_t>(2 * values_.size(), 16)); }

bool RowBatch::flush() {
    // Texts are converted only now, into one buffer sized first, so that
    // none moves while the rows are bound to it.
    size_t converted = 0;
    for (size_t k = 0; resolve_ && k < count_; ++k) {
        Value& v = values_[k];
        if (v.kind == Kind::Copied) {
            v.data = copies_.data() + v.integer;
            v.kind = Kind::Cp1252;
        }
        if (v.kind != Kind::Cp1252) continue;
        if (isAscii(std::string_view(v.data, v.size)))
            v.kind = Kind::Text;
        else
            converted += utf8Length(std::string_view(v.data, v.size));
    }
    converted_.reserve(converted);
    bool ok = true;
    size_t at = 0;
    for (; ok && many_ && count_ - at >= statementValues_; at += statementValues_)
        ok = step(many_, values_.data() + at, statementValues_);
    // The rest of a batch's rows, about half a statement on average: in
    // statements of a few rows, one row a statement costing a fifth more.
    for (const size_t few = kFewRows * columns_; ok && few_ && count_ - at >= few; at += few)
        ok = step(few_, values_.data() + at, few);
    for (; ok && at < count_; at += columns_) ok = step(one_, values_.data() + at, columns_);
    count_ = 0;
    resolve_ = false;
    release(copies_);
    release(converted_);
    return ok;
}

bool RowBatch::step(sqlite3_stmt* s, const Value* values, size_t count) {
    // Every parameter is bound before each step, NULL included, so the
    // bindings need no clearing.
    for (size_t k = 0; k < count; ++k) {
        const Value& v = values[k];
        const int index = static_cast<int>(k + 1);
        switch (v.kind) {
        case Kind::Null:
            sqlite3_bind_null(s, index);
            break;
        case Kind::Integer:
            sqlite3_bind_int64(s, index, v.integer);
            break;
        case Kind::Blob:
            sqlite3_bind_blob64(s, index, v.data, v.size, SQLITE_STATIC);
            break;
        case Kind::Text:
            sqlite3_bind_text64(s, index, v.data, v.size, SQLITE_STATIC, SQLITE_UTF8);
            break;
        default: {
            const size_t start = converted_.size();
            appendCp1252AsUtf8(std::string_view(v.data, v.size), converted_);
            sqlite3_bind_text64(s, index, converted_.data() + start, converted_.size() - start, SQLITE_STATIC,
                                SQLITE_UTF8);
        }
        }
    }
    const int rc = sqlite3_step(s);
    sqlite3_reset(s);
    return rc == SQLITE_DONE;
}

}  // namespace velmora
