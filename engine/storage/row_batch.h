#pragma once
// Rows of one table on their way to SQLite, several to a statement: one
// INSERT of many rows, prepared once, costs SQLite far less per row than as
// many one-row statements. Values are held as pointers to the caller's bytes
// and bound without a copy when the rows are stepped, so those bytes must
// stay until flush(). Rows left over when the batch is flushed short of a
// whole statement go through a statement of a few rows, and the last few
// through the one-row statement.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora {

class RowBatch {
public:
    RowBatch() = default;
    RowBatch(const RowBatch&) = delete;
    RowBatch& operator=(const RowBatch&) = delete;
    ~RowBatch() { finalize(); }

    // `insert` is "INSERT INTO name VALUES " ; `rows` the rows a statement
    // takes, fewer where that many would pass SQLite's limit of parameters.
    bool prepare(sqlite3* db, const std::string& insert, int columns, int rows);
    void finalize();

    // One value each, in column order; a row is complete after `columns`.
    void null() { add(Kind::Null, 0, nullptr, 0); }
    void integer(int64_t value) { add(Kind::Integer, value, nullptr, 0); }
    void blob(std::string_view b) { add(Kind::Blob, 0, b.data(), b.size()); }
    void text(std::string_view utf8) { add(Kind::Text, 0, utf8.data(), utf8.size()); }
    // Stored as UTF-8; `text` when the bytes are known to be ASCII.
    void cp1252(std::string_view t) {
        add(Kind::Cp1252, 0, t.data(), t.size());
        resolve_ = true;
    }
    // The bytes are copied: they need not stay.
    void copiedCp1252(std::string_view text);

    // Whether a whole statement's rows are waiting.
    bool full() const { return count_ == statementValues_; }
    // Steps every waiting row; false when SQLite refused one.
    bool flush();

private:
    enum class Kind : uint8_t { Null, Integer, Blob, Text, Cp1252, Copied };
    struct Value {
        Kind kind;
        int64_t integer;  // a Copied value's place in copies_
        const char* data;
        size_t size;
    };
    bool step(sqlite3_stmt* statement, const Value* values, size_t count);
    // Field by field into its slot: a value built whole on the stack and
    // copied in stalled the processor (a narrow store read back wide), and
    // that was most of what staging a row cost.
    void add(Kind kind, int64_t integer, const char* data, size_t size) {
        if (count_ == values_.size()) grow();
        Value& v = values_[count_++];
        v.kind = kind;
        v.integer = integer;
        v.data = data;
        v.size = size;
    }
    void grow();

    sqlite3_stmt* many_ = nullptr;
    sqlite3_stmt* few_ = nullptr;
    sqlite3_stmt* one_ = nullptr;
    size_t columns_ = 0, statementValues_ = 0;
    std::vector<Value> values_;  // the first count_ are waiting
    size_t count_ = 0;
    bool resolve_ = false;  // some waiting value is to be converted or found among the copies
    std::string copies_, converted_;
};

}  // namespace velmora
