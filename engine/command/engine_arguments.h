#pragma once
// The engine's command line: -o RESULTS "DATA" "CONFIG" as the utility
// composes it, -d DATABASE, --odbc CONNECTION|@FILE --table NAME,
// --odbc-timeout SECONDS, --again, --suggest DATA,
// --help and --version.
#include <string>
#include <vector>

#include "engine/odbc/odbc_connection.h"

namespace velmora {

struct EngineArguments {
    bool help = false;
    bool version = false;
    bool suggest = false;  // --suggest DATA
    bool hasResults = false;
    std::string resultsPath;
    std::string databasePath;                        // empty: derived from the data file
    std::string connection;                          // --odbc: the run goes into that database server
    std::string table;                               // --table: its records table
    unsigned timeoutSeconds = kDefaultLoginTimeout;  // --odbc-timeout: the longest a login waits
    bool hasTimeout = false;
    bool again = false;  // --again: store a run the server already holds once more
    std::string dataPath;
    std::string configPath;
    std::string usageError;  // non-empty: the command line is wrong
};

EngineArguments parseEngineArguments(const std::vector<std::string>& args);

extern const char* const kEngineUsage;

}  // namespace velmora
