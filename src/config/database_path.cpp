#include "config/database_path.h"

#include "config/path_parts.h"

namespace velmora {

std::string deriveDatabasePath(const std::string& dataFile, const std::string& outputDatabase) {
    if (!outputDatabase.empty()) return outputDatabase;
    PathParts parts = splitPath(dataFile);
    return parts.drive + parts.folder + parts.name + ".mdb";
}

}  // namespace velmora
