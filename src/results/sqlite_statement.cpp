#include "src/results/sqlite_statement.h"

#include <sqlite3.h>

#include <utility>

namespace velmora {

Statement::Statement(sqlite3* db, const std::string& sql) {
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
        failed_ = true;
    }
}

Statement::~Statement() { sqlite3_finalize(statement_); }

Statement::Statement(Statement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)), failed_(other.failed_) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = std::exchange(other.statement_, nullptr);
        failed_ = other.failed_;
    }
    return *this;
}

void Statement::bind(int index, std::int64_t value) { sqlite3_bind_int64(statement_, index, value); }

void Statement::bind(int index, const std::string& text) {
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

bool Statement::step() {
    if (!statement_) return false;
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) failed_ = true;
    return false;
}

void Statement::reset() {
    if (!statement_) return;
    sqlite3_reset(statement_);
    failed_ = false;
}

int Statement::columnCount() const { return sqlite3_column_count(statement_); }

std::string Statement::columnName(int column) const {
    const char* name = sqlite3_column_name(statement_, column);
    return name ? name : "";
}
bool Statement::isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
bool Statement::isBlob(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_BLOB; }
bool Statement::isText(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_TEXT; }
std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(statement_, column); }

std::optional<std::string_view> Statement::bytes(int column) const {
    const int type = sqlite3_column_type(statement_, column);
    if (type == SQLITE_NULL) return std::nullopt;
    // Asked for first, then the size, as SQLite's documentation advises.
    const void* data = type == SQLITE_BLOB ? sqlite3_column_blob(statement_, column)
                                           : static_cast<const void*>(sqlite3_column_text(statement_, column));
    const int size = sqlite3_column_bytes(statement_, column);
    if (!data || size <= 0) return std::string_view();
    return std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

}  // namespace velmora
