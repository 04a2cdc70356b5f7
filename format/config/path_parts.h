#pragma once
// A path split into drive, folder, file name and extension, as the C
// runtime's _splitpath splits it on Windows.
#include <string>

namespace velmora {

struct PathParts {
    std::string drive;      // "E:" or empty
    std::string folder;     // through the last '\' or '/', or empty
    std::string name;       // file name without extension
    std::string extension;  // from the file name's last '.', inclusive, or empty
};

PathParts splitPath(const std::string& path);

}  // namespace velmora
