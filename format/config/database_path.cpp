#include "format/config/database_path.h"

#include "format/config/path_parts.h"

namespace velmora {

std::string deriveDatabasePath(const std::string& dataFile, const std::string& outputDatabase) {
    if (!outputDatabase.empty()) return outputDatabase;
    PathParts parts = splitPath(dataFile);
    // A name that only starts with a dot has no extension to replace: every
    // such file would otherwise share the one database ".mdb".
    if (parts.name.empty() && parts.extension.size() > 1) return dataFile + ".mdb";
    return parts.drive + parts.folder + parts.name + ".mdb";
}

}  // namespace velmora
