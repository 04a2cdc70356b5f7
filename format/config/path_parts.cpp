#include "format/config/path_parts.h"

namespace velmora {

PathParts splitPath(const std::string& path) {
    PathParts parts;
    std::string rest = path;
    if (rest.size() >= 2 && rest[1] == ':') {
        parts.drive = rest.substr(0, 2);
        rest = rest.substr(2);
    }
    auto slash = rest.find_last_of("\\/");
    if (slash != std::string::npos) {
        parts.folder = rest.substr(0, slash + 1);
        rest = rest.substr(slash + 1);
    }
    auto dot = rest.rfind('.');
    if (dot != std::string::npos) {
        parts.extension = rest.substr(dot);
        rest = rest.substr(0, dot);
    }
    parts.name = rest;
    return parts;
}

}  // namespace velmora
