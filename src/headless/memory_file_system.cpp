#include "headless/memory_file_system.h"

namespace velmora {

bool MemoryFileSystem::exists(const std::string& path) { return files.count(path) || directories.count(path); }

bool MemoryFileSystem::createDirectory(const std::string& path) {
    if (failDirectoryCreation || files.count(path)) return false;
    std::string name = path;
    while (name.size() > 1 && (name.back() == '\\' || name.back() == '/')) name.pop_back();
    return directories.insert(name).second;
}

bool MemoryFileSystem::deleteFile(const std::string& path) {
    if (undeletable.count(path)) return false;
    return files.erase(path) > 0;
}

std::optional<std::string> MemoryFileSystem::readFile(const std::string& path) {
    if (unreadable.count(path)) return std::nullopt;
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
}

std::optional<FileStart> MemoryFileSystem::readFileStart(const std::string& path, std::size_t limit, std::string& why) {
    auto whole = readFile(path);
    if (!whole) {
        why = unreadable.count(path) ? "Access is denied." : "The system cannot find the file specified.";
        return std::nullopt;
    }
    return FileStart{whole->substr(0, limit), whole->size()};
}

bool MemoryFileSystem::writeFile(const std::string& path, const std::string& bytes) {
    if (unwritable.count(path) || directories.count(path)) return false;
    if (writeLimit >= 0 && static_cast<long long>(bytes.size()) > writeLimit) {
        files[path] = bytes.substr(0, static_cast<size_t>(writeLimit));
        return false;
    }
    files[path] = bytes;
    return true;
}

bool MemoryFileSystem::replaceFile(const std::string& from, const std::string& to) {
    auto it = files.find(from);
    if (it == files.end() || unwritable.count(to) || directories.count(to)) return false;
    files[to] = it->second;
    files.erase(it);
    return true;
}

}  // namespace velmora
