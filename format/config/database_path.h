#pragma once
// The database a run writes, which the utility clears first and the engine
// writes: one rule for both.
#include <string>

namespace velmora {

// `outputDatabase` when it is not empty; otherwise the data file's path
// with its last extension replaced by ".mdb" (or ".mdb" appended, also to a
// name that only starts with a dot, as ".hidden").
std::string deriveDatabasePath(const std::string& dataFile, const std::string& outputDatabase);

}  // namespace velmora
