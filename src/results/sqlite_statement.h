#pragma once
// A prepared SQLite statement that finalizes itself, with the few reads the
// Results need: integers, and the bytes of a text or blob.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora {

class Statement {
public:
    Statement() = default;
    // Prepared on `db`; ok() tells whether SQLite took it.
    Statement(sqlite3* db, const std::string& sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return statement_ != nullptr; }
    sqlite3_stmt* get() const { return statement_; }

    void bind(int index, std::int64_t value);
    void bind(int index, const std::string& text);
    // The next row: true while there is one. False at the end, and on an
    // error, which failed() then tells.
    bool step();
    bool failed() const { return failed_; }
    // Back to before its first step, bindings kept, a failure forgotten.
    void reset();

    int columnCount() const;
    std::string columnName(int column) const;  // UTF-8
    bool isNull(int column) const;
    bool isBlob(int column) const;
    bool isText(int column) const;
    std::int64_t integer(int column) const;
    // The bytes of a text (UTF-8) or blob; a number as its text; nothing for NULL.
    std::optional<std::string_view> bytes(int column) const;

private:
    sqlite3_stmt* statement_ = nullptr;
    bool failed_ = false;
};

}  // namespace velmora
