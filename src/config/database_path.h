#pragma once
// Which database a run clears first.
#include <string>

namespace velmora {

// `outputDatabase` when it is not empty; otherwise the data file's path
// with its last extension replaced by ".mdb" (or ".mdb" appended).
std::string deriveDatabasePath(const std::string& dataFile, const std::string& outputDatabase);

}  // namespace velmora
