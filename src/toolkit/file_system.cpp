#include "src/toolkit/file_system.h"

namespace velmora {

std::optional<std::string> FileSystem::readFile(const std::string& path) {
    FileContent content = read(path);
    if (!content.opened || !content.whole) return std::nullopt;
    return std::move(content.bytes);
}

}  // namespace velmora
