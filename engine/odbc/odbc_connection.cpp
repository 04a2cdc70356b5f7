#include "engine/odbc/odbc_connection.h"

#include <vector>

#include "engine/odbc/odbc_api.h"
#include "engine/core/text/utf16_text.h"

namespace velmora {

namespace {

SQLHSTMT asStatement(void* h) { return static_cast<SQLHSTMT>(h); }

// A driver's message is shown up to this many bytes.
constexpr size_t kLongestMessage = 2048;

bool succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA; }

// One diagnostic record's message, whole however long; empty when there is
// none.
std::string diagnostic(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record) {
    SQLCHAR state[6] = "";
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    std::vector<SQLCHAR> text(1024);
    SQLRETURN rc = SQLGetDiagRec(type, handle, record, state, &native, text.data(),
                                 static_cast<SQLSMALLINT>(text.size()), &length);
    if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(text.size())) {
        text.assign(static_cast<size_t>(length) + 1, 0);
        rc = SQLGetDiagRec(type, handle, record, state, &native, text.data(), static_cast<SQLSMALLINT>(text.size()),
                           &length);
    }
    if (!SQL_SUCCEEDED(rc)) return std::string();
    std::string message(reinterpret_cast<const char*>(text.data()));
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    return message.empty() && state[0] ? std::string("SQLSTATE ") + reinterpret_cast<const char*>(state) : message;
}

}  // namespace

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
    for (SQLSMALLINT record = 1; handle && record <= 4; ++record) {
        std::string message = diagnostic(type, handle, record);
        if (message.empty()) break;
        // Drivers repeat a message once per attempt.
        if (messages.find(message) == std::string::npos) messages += (messages.empty() ? "" : "; ") + message;
    }
    // Scrubbed whole, then cut: a cut could leave part of a password that
    // no longer matches.
    std::string shown = withoutSecrets(what + (messages.empty() ? "" : ": " + messages), secrets_);
    if (shown.size() > kLongestMessage) shown = shown.substr(0, kLongestMessage) + "...";
    return fail(shown);
}

Status OdbcConnection::connect(const std::string& connectionString, unsigned timeoutSeconds) {
    secrets_ = connectionString;
    // The driver call takes a length of at most this: a longer string would
    // be cut short, and a different one connected.
    if (connectionString.size() > kLongestConnectionString)
        return fail("the connection string is longer than the " + std::to_string(kLongestConnectionString) +
                    " characters ODBC takes");
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)) ||
        !succeeded(SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)) ||
        !succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_)))
        return diagnosed("cannot start ODBC", nullptr);
    // A server that takes the connection and never answers fails the login
    // in time; a driver that ignores the setting is no failure.
    SQLSetConnectAttr(dbc_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(timeoutSeconds)),
                      SQL_IS_UINTEGER);
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
    if (Status sent = settle(); !sent) return sent;
    Result<void*> s = newStatement();
    if (!s) return fail(s.failure());
    Utf16 text = utf16(sql);
    running(*s);
    const SQLRETURN rc =
        SQLExecDirectW(asStatement(*s), reinterpret_cast<SQLWCHAR*>(&text[0]), static_cast<SQLINTEGER>(text.size()));
    running(nullptr);
    Status done;
    if (!succeeded(rc)) done = diagnosed("the server refused " + sql.substr(0, sql.find(' ', 7)), *s);
    release(*s);
    return done;
}

std::string OdbcConnection::serverName() const {
    char name[256] = "";
    SQLSMALLINT length = 0;
    if (!succeeded(SQLGetInfo(dbc_, SQL_DBMS_NAME, name, sizeof name, &length))) return std::string();
    return name;
}

void OdbcConnection::cancel() {
    if (void* statement = running_.load()) SQLCancel(asStatement(statement));
}

Status OdbcConnection::begin() {
    if (!succeeded(SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                                     SQL_IS_UINTEGER)))
        return diagnosed("cannot begin a transaction", nullptr);
    inTransaction_ = true;
    return {};
}

Status OdbcConnection::commit() {
    if (Status sent = settle(); !sent) return sent;
    if (!succeeded(SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_COMMIT))) return diagnosed("the commit failed", nullptr);
    inTransaction_ = false;
    return {};
}

void OdbcConnection::rollback() {
    static_cast<void>(settle());  // what it did no longer matters
    if (inTransaction_ && connected_) SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
    inTransaction_ = false;
}

}  // namespace velmora
