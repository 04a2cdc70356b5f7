#pragma once
// A connection to a database server through ODBC: connect, run SQL, one
// transaction, and the driver's own messages with the connection string's
// secrets taken out. Texts are UTF-8 here and UTF-16 towards the driver, so
// that names and values reach any server whole.
#include <string>

#include "format/base/result.h"

namespace velmora {

// The connection string's data source alone (DSN, Driver, Server, Port,
// Database), for the results file and the run table: never a password.
std::string dataSourceName(const std::string& connectionString);

// `text` with every secret of the connection string (a password, a key, a
// token) replaced by "***".
std::string withoutSecrets(const std::string& text, const std::string& connectionString);

class OdbcConnection {
public:
    OdbcConnection() = default;
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;
    // Rolls back what was not committed, then disconnects.
    ~OdbcConnection();

    Status connect(const std::string& connectionString);
    Status execute(const std::string& sql);
    // Autocommit off: everything after this is one transaction.
    Status begin();
    Status commit();
    void rollback();

    // A statement handle of its own (SQLHSTMT), freed by release().
    Result<void*> newStatement();
    static void release(void* statement);
    // `what` failed, with the driver's diagnostics of a handle
    // (SQL_HANDLE_STMT, or the connection's when `statement` is null).
    Failure diagnosed(const std::string& what, void* statement) const;

    void* handle() const { return dbc_; }

private:
    void* env_ = nullptr;
    void* dbc_ = nullptr;
    bool connected_ = false, inTransaction_ = false;
    std::string secrets_;  // the connection string, for scrubbing messages
};

}  // namespace velmora
