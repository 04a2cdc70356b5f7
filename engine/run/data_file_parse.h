#pragma once
// One run of the engine: the configuration read strictly, the data file cut
// into records and fields, all of it into a new SQLite database that
// appears at its path only when the run completed, or into a database
// server's tables in one transaction.
#include <chrono>
#include <functional>
#include <ostream>
#include <string>

#include "engine/core/record_cutter.h"
#include "engine/odbc/odbc_connection.h"
#include "engine/run/run_outcome.h"
#include "format/base/result.h"

namespace velmora {

struct ParseRequest {
    std::string dataPath;
    std::string configPath;
    std::string databasePath;
    // Non-empty: the run goes into this ODBC data source's tables instead,
    // `table` its records table, and commits before beforePublishing.
    std::string connection, table;
    unsigned timeoutSeconds = kDefaultLoginTimeout;  // the longest a server's login waits
    bool again = false;                              // a run the server holds is stored once more
    RecordLimits limits;
    std::ostream* console = nullptr;  // progress, when wanted
    std::chrono::milliseconds progressInterval = std::chrono::seconds(1);
    // Called with the completed outcome once the database is whole, before
    // it replaces what is at its path (the results file is written here, so
    // that a database never stands in place of a run that reported nothing).
    // Its failure fails the run and keeps the old database.
    std::function<Status(const RunOutcome& outcome)> beforePublishing;
};

extern const char* const kEngineVersion;

RunOutcome parseDataFile(const ParseRequest& request);

}  // namespace velmora
