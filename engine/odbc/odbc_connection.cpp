#include "engine/odbc/odbc_connection.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "engine/odbc/odbc_api.h"
#include "engine/core/utf16_text.h"

namespace velmora {

namespace {

using Attribute = std::pair<std::string, std::string>;  // key in upper case, value

// KEY=VALUE;... where a value in braces may hold ';' and "}}" is one '}'.
std::vector<Attribute> attributes(const std::string& text) {
    std::vector<Attribute> out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t eq = text.find('=', i);
        if (eq == std::string::npos) break;
        std::string key;
        for (size_t k = i; k < eq; ++k)
            if (text[k] != ' ') key += static_cast<char>(std::toupper(static_cast<unsigned char>(text[k])));
        std::string value;
        i = eq + 1;
        if (i < text.size() && text[i] == '{') {
            for (++i; i < text.size(); ++i) {
                if (text[i] == '}' && (i + 1 >= text.size() || text[i + 1] != '}')) break;
                if (text[i] == '}') ++i;
                value += text[i];
            }
            i = std::min(text.size(), text.find(';', i));
        } else {
            const size_t end = std::min(text.size(), text.find(';', i));
            value = text.substr(i, end - i);
            i = end;
        }
        if (i < text.size()) ++i;
        out.emplace_back(key, value);
    }
    return out;
}

bool isSecret(const std::string& key) {
    for (const char* word : {"PWD", "PASS", "SECRET", "TOKEN", "KEY"})
        if (key.find(word) != std::string::npos) return true;
    return false;
}

void replaceAll(std::string& text, const std::string& what, const std::string& with) {
    if (what.empty()) return;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

SQLHSTMT asStatement(void* h) { return static_cast<SQLHSTMT>(h); }

bool succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA; }

}  // namespace

std::string dataSourceName(const std::string& connectionString) {
    std::string out;
    for (const Attribute& a : attributes(connectionString))
        for (const char* key : {"DSN", "DRIVER", "SERVER", "SERVERNAME", "PORT", "DATABASE"})
            if (a.first == key && !isSecret(a.first)) out += (out.empty() ? "" : ";") + a.first + "=" + a.second;
    return out;
}

std::string withoutSecrets(const std::string& text, const std::string& connectionString) {
    std::string out = text;
    replaceAll(out, connectionString, dataSourceName(connectionString));
    for (const Attribute& a : attributes(connectionString))
        if (isSecret(a.first)) replaceAll(out, a.second, "***");
    return out;
}

OdbcConnection::~OdbcConnection() {
    rollback();
    if (connected_) SQLDisconnect(dbc_);
    if (dbc_) SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    if (env_) SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

Failure OdbcConnection::diagnosed(const std::string& what, void* statement) const {
    SQLSMALLINT type = statement ? SQL_HANDLE_STMT : SQL_HANDLE_DBC;
    SQLHANDLE handle = statement ? statement : dbc_;
    if (!handle) type = SQL_HANDLE_ENV, handle = env_;
    std::string messages;
    SQLCHAR state[6], text[1024];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT record = 1;
         handle && record <= 4 &&
         succeeded(SQLGetDiagRec(type, handle, record, state, &native, text, sizeof text, &length));
         ++record) {
        if (length <= 0 && !state[0]) break;
        std::string message(reinterpret_cast<char*>(text));
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
        // Drivers repeat a message once per attempt.
        if (messages.find(message) == std::string::npos) messages += (messages.empty() ? "" : "; ") + message;
        state[0] = 0;
    }
    return fail(withoutSecrets(what + (messages.empty() ? "" : ": " + messages), secrets_));
}

Status OdbcConnection::connect(const std::string& connectionString) {
    secrets_ = connectionString;
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)) ||
        !succeeded(SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)) ||
        !succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_)))
        return diagnosed("cannot start ODBC", nullptr);
    std::string text = connectionString;
    SQLCHAR out[1024];
    SQLSMALLINT outLength = 0;
    // Never a prompt: the engine runs without a window.
    if (!succeeded(SQLDriverConnect(dbc_, nullptr, reinterpret_cast<SQLCHAR*>(&text[0]),
                                    static_cast<SQLSMALLINT>(text.size()), out, sizeof out, &outLength,
                                    SQL_DRIVER_NOPROMPT)))
        return diagnosed("cannot connect to " + dataSourceName(connectionString), nullptr);
    connected_ = true;
    return {};
}

Result<void*> OdbcConnection::newStatement() {
    SQLHSTMT s = nullptr;
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &s))) return diagnosed("cannot make a statement", nullptr);
    return static_cast<void*>(s);
}

void OdbcConnection::release(void* statement) {
    if (statement) SQLFreeHandle(SQL_HANDLE_STMT, asStatement(statement));
}

Status OdbcConnection::execute(const std::string& sql) {
    Result<void*> s = newStatement();
    if (!s) return fail(s.failure());
    Utf16 text = utf16(sql);
    const SQLRETURN rc =
        SQLExecDirectW(asStatement(*s), reinterpret_cast<SQLWCHAR*>(&text[0]), static_cast<SQLINTEGER>(text.size()));
    Status done;
    if (!succeeded(rc)) done = diagnosed("the server refused " + sql.substr(0, sql.find(' ', 7)), *s);
    release(*s);
    return done;
}

Status OdbcConnection::begin() {
    if (!succeeded(SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                                     SQL_IS_UINTEGER)))
        return diagnosed("cannot begin a transaction", nullptr);
    inTransaction_ = true;
    return {};
}

Status OdbcConnection::commit() {
    if (!succeeded(SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_COMMIT))) return diagnosed("the commit failed", nullptr);
    inTransaction_ = false;
    return {};
}

void OdbcConnection::rollback() {
    if (inTransaction_ && connected_) SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
    inTransaction_ = false;
}

}  // namespace velmora
