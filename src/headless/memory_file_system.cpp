#include "src/headless/memory_file_system.h"

#include "engine/core/text/utf16_text.h"

namespace velmora {

bool MemoryFileSystem::exists(const std::string& path) { return files.count(path) || directories.count(path); }

PathKind MemoryFileSystem::pathKind(const std::string& path) {
    if (links.count(path)) return PathKind::Link;
    if (directories.count(path)) return PathKind::Folder;
    return files.count(path) ? PathKind::File : PathKind::Nothing;
}

bool MemoryFileSystem::createDirectory(const std::string& path) {
    if (failDirectoryCreation || files.count(path)) return false;
    std::string name = path;
    while (name.size() > 1 && (name.back() == '\\' || name.back() == '/')) name.pop_back();
    return directories.insert(name).second;
}

bool MemoryFileSystem::deleteFile(const std::string& path) {
    if (undeletable.count(path) || unwritable.count(path)) return false;
    return files.erase(path) > 0;
}

bool MemoryFileSystem::deletable(const std::string& path) { return files.count(path) && !unwritable.count(path); }

FileContent MemoryFileSystem::read(const std::string& path) {
    auto it = files.find(path);
    if (unreadable.count(path) || it == files.end()) return {};
    auto error = readErrorAt.find(path);
    if (error != readErrorAt.end() && error->second < it->second.size())
        return {true, it->second.substr(0, error->second), false};
    return {true, it->second, true};
}

NewFile MemoryFileSystem::createNewFile(const std::string& path) {
    if (exists(path)) return NewFile::NameTaken;
    if (failFileCreation) return NewFile::Impossible;
    files[path] = "";
    return NewFile::Created;
}

std::optional<FileStart> MemoryFileSystem::readFileStart(const std::string& path, std::size_t limit, std::string& why) {
    FileContent content = read(path);
    if (!content.opened) {
        why = unreadable.count(path) ? "Access is denied." : "The system cannot find the file specified.";
        return std::nullopt;
    }
    if (!content.whole && content.bytes.size() < limit) {
        why = "The request could not be performed because of an I/O device error.";
        return std::nullopt;
    }
    return FileStart{content.bytes.substr(0, limit), files.at(path).size()};
}

std::optional<FileStamp> MemoryFileSystem::stamp(const std::string& utf8Path) {
    if (!files.count(utf8Path) || unreadable.count(utf8Path)) return std::nullopt;
    auto given = stamps.find(utf8Path);
    if (given != stamps.end()) return given->second;
    return FileStamp{files.at(utf8Path).size(), "2026-01-02T03:04:05.0000000Z"};
}

bool MemoryFileSystem::readRanges(const std::string& utf8Path, const FileStamp& expected,
                                  const std::vector<ByteRange>& ranges,
                                  const std::function<bool(std::string_view)>& each, std::string& why) {
    const std::optional<FileStamp> now = stamp(utf8Path);
    why = !now ? "The system cannot find the file specified." : "";
    if (!now || *now != expected) return false;
    const std::string& bytes = files.at(utf8Path);
    for (const ByteRange& range : ranges) {
        if (range.offset > bytes.size() || range.length > bytes.size() - range.offset) {
            why = "Reached the end of the file.";
            return false;
        }
        if (!each(std::string_view(bytes).substr(static_cast<std::size_t>(range.offset),
                                                 static_cast<std::size_t>(range.length))))
            return false;
    }
    return true;
}

bool MemoryFileSystem::writeFile(const std::string& path, const std::string& bytes) {
    if (unwritable.count(path) || directories.count(path)) return false;
    if (failFileCreation && !files.count(path)) return false;
    if (writeLimit >= 0 && static_cast<long long>(bytes.size()) > writeLimit) {
        files[path] = bytes.substr(0, static_cast<size_t>(writeLimit));
        return false;
    }
    auto error = writeErrorAt.find(path);
    if (error != writeErrorAt.end() && error->second < bytes.size()) {
        files[path] = bytes.substr(0, error->second);
        return false;
    }
    files[path] = bytes;
    return true;
}

bool MemoryFileSystem::appendFile(const std::string& path, const std::string& bytes, bool /*flush*/) {
    auto it = files.find(path);
    if (it == files.end() || unwritable.count(path)) return false;
    if (writeLimit >= 0 && static_cast<long long>(it->second.size() + bytes.size()) > writeLimit) return false;
    it->second += bytes;
    return true;
}

bool MemoryFileSystem::replaceFile(const std::string& from, const std::string& to) {
    auto it = files.find(from);
    if (it == files.end() || unwritable.count(to) || undeletable.count(to) || directories.count(to)) return false;
    if (replaceLosesTarget && files.erase(to)) return false;
    files[to] = it->second;
    files.erase(it);
    return true;
}

bool MemoryFileSystem::moveFile(const std::string& from, const std::string& to) {
    auto it = files.find(from);
    if (it == files.end() || undeletable.count(from) || exists(to)) return false;
    files[to] = it->second;
    files.erase(it);
    // A read-only file stays read-only under its new name.
    if (unwritable.erase(from)) unwritable.insert(to);
    return true;
}

std::u16string MemoryFileSystem::nameAsUtf16(const std::string& path) {
    if (codePage.empty()) return utf16(path);
    std::u16string wide;
    for (unsigned char byte : path) wide += codePage.at(byte);
    return wide;
}

}  // namespace velmora
