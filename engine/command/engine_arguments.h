#pragma once
// The engine's command line: -o RESULTS "DATA" "CONFIG" as the utility
// composes it, -d DATABASE, --odbc CONNECTION --table NAME, --suggest DATA,
// --help and --version.
#include <string>
#include <vector>

namespace velmora {

struct EngineArguments {
    bool help = false;
    bool version = false;
    bool suggest = false;  // --suggest DATA
    bool hasResults = false;
    std::string resultsPath;
    std::string databasePath;  // empty: derived from the data file
    std::string connection;    // --odbc: the run goes into that database server
    std::string table;         // --table: its records table
    std::string dataPath;
    std::string configPath;
    std::string usageError;  // non-empty: the command line is wrong
};

EngineArguments parseEngineArguments(const std::vector<std::string>& args);

extern const char* const kEngineUsage;

}  // namespace velmora
