#pragma once
// One run of the engine: the configuration read strictly, the data file cut
// into records and fields, all of it into a new SQLite database that
// appears at its path only when the run completed.
#include <chrono>
#include <ostream>
#include <string>

#include "engine/core/record_cutter.h"
#include "engine/storage/run_outcome.h"

namespace velmora {

struct ParseRequest {
    std::string dataPath;
    std::string configPath;
    std::string databasePath;
    RecordLimits limits;
    std::ostream* console = nullptr;  // progress, when wanted
    std::chrono::milliseconds progressInterval = std::chrono::seconds(1);
};

extern const char* const kEngineVersion;

// The temporary name the database is written under until the run completes.
std::string partialDatabasePath(const std::string& databasePath);

RunOutcome parseDataFile(const ParseRequest& request);

}  // namespace velmora
