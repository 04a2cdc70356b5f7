#pragma once
// What one run of the engine came to, for the results file and the console.
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct Rejection {
    uint64_t record = 0;
    uint64_t offset = 0;
    std::string field;  // empty when the record as a whole was set aside
    std::string reason;
};

constexpr size_t kListedRejections = 100;

struct RunOutcome {
    bool completed = false;
    std::string failure;  // why the run failed, when it did
    bool usage = false;   // it failed on what the operator asked for: a usage error
    std::string dataPath, configPath, databasePath;
    uint64_t bytesRead = 0, recordsParsed = 0, recordsRejected = 0;
    double seconds = 0;
    std::vector<Rejection> firstRejections;  // at most kListedRejections
};

}  // namespace velmora
