#pragma once
// A connection to a database server through ODBC: connect, run SQL, one
// transaction, and the driver's own messages with the connection string's
// secrets taken out. Texts are UTF-8 here and UTF-16 towards the driver, so
// that names and values reach any server whole.
#include <atomic>
#include <functional>
#include <string>

#include "engine/odbc/connection_secrets.h"
#include "engine/odbc/send_behind.h"
#include "format/base/result.h"

namespace velmora {

constexpr size_t kLongestConnectionString = 32767;
constexpr unsigned kDefaultLoginTimeout = 30;

class OdbcConnection {
public:
    OdbcConnection() = default;
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;
    // Rolls back what was not committed, then disconnects.
    ~OdbcConnection();

    // Refuses a string longer than the driver call takes; a login waits at
    // most `timeoutSeconds`.
    Status connect(const std::string& connectionString, unsigned timeoutSeconds = kDefaultLoginTimeout);
    Status execute(const std::string& sql);
    // Runs `job` on a thread of its own, after what was started before it
    // (SendBehind::start); everything else on the connection waits for it
    // first.
    Status sendBehind(const std::function<void()>& handOver, std::function<Status()> job) {
        return behind_.start(handOver, std::move(job));
    }
    // Waits for what sendBehind() started; its failure, if any.
    Status settle() { return behind_.settle(); }
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
    // The server's product name as its driver gives it ("PostgreSQL").
    std::string serverName() const;

    // The statement being run, for cancel(); null once it is done.
    void running(void* statement) { running_.store(statement); }
    // From another thread: asks the driver to stop the statement being run.
    void cancel();

private:
    void* env_ = nullptr;
    void* dbc_ = nullptr;
    bool connected_ = false, inTransaction_ = false;
    std::atomic<void*> running_{nullptr};
    std::string secrets_;  // the connection string, for scrubbing messages
    SendBehind behind_;
};

}  // namespace velmora
