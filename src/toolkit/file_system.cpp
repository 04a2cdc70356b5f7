#include "src/toolkit/file_system.h"

namespace velmora {

namespace {

// How many numbered names beside a file are tried.
constexpr int kNumberedNames = 100;

std::string numberedName(const std::string& path, const std::string& suffix, int attempt) {
    return path + suffix + (attempt > 0 ? std::to_string(attempt + 1) : "");
}

// The one walk through the names: `take` makes a name the caller's
// (Created), finds it taken (NameTaken: the next one) or can make none
// there (Impossible: no more tries).
std::optional<std::string> takeFreeName(int attempts, const std::function<std::string(int)>& name,
                                        const std::function<NewFile(const std::string&)>& take) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        std::string candidate = name(attempt);
        switch (take(candidate)) {
        case NewFile::Created:
            return candidate;
        case NewFile::NameTaken:
            break;
        case NewFile::Impossible:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FileSystem::readFile(const std::string& path) {
    FileContent content = read(path);
    if (!content.opened || !content.whole) return std::nullopt;
    return std::move(content.bytes);
}

std::optional<std::string> FileSystem::createFreeFile(int attempts, const std::function<std::string(int)>& name) {
    return takeFreeName(attempts, name, [this](const std::string& candidate) { return createNewFile(candidate); });
}

std::optional<std::string> FileSystem::createBeside(const std::string& path, const std::string& suffix) {
    return createFreeFile(kNumberedNames, [&](int attempt) { return numberedName(path, suffix, attempt); });
}

std::optional<std::string> FileSystem::moveBeside(const std::string& path, const std::string& suffix) {
    return takeFreeName(
        kNumberedNames, [&](int attempt) { return numberedName(path, suffix, attempt); },
        [&](const std::string& aside) {
            if (exists(aside)) return NewFile::NameTaken;
            if (moveFile(path, aside)) return NewFile::Created;
            // Not a name clash: the file is in use.
            return exists(aside) ? NewFile::NameTaken : NewFile::Impossible;
        });
}

}  // namespace velmora
