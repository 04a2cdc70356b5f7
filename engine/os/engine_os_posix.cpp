#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <random>

#include "engine/os/engine_os.h"

namespace velmora {

void reportBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

void standardOutputInBinary() {}

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::string pathAsUtf8(const std::string& path) { return path; }

std::string fullPath(const std::string& path) { return path; }

FileStamp openFileStamp(std::FILE* file) {
    struct stat st;
    if (fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return {};
    return {static_cast<uint64_t>(st.st_size),
            lastWriteText(static_cast<std::int64_t>(st.st_mtim.tv_sec), st.st_mtim.tv_nsec)};
}

namespace {

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// The folder part and the name part of a path.
std::pair<std::string, std::string> folderAndName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

bool samePlace(const std::string& a, const std::string& b) {
    if (a == b || sameFile(a, b)) return true;
    auto [folderA, nameA] = folderAndName(a);
    auto [folderB, nameB] = folderAndName(b);
    return !nameA.empty() && nameA == nameB && sameFile(folderA, folderB);
}

bool isFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool removeFile(const std::string& path) { return unlink(path.c_str()) == 0; }

PathKind pathKind(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return PathKind::Missing;
    if (S_ISREG(st.st_mode)) return PathKind::File;
    if (S_ISLNK(st.st_mode)) return PathKind::Link;
    if (S_ISDIR(st.st_mode)) return PathKind::Folder;
    return PathKind::Other;
}

FileIdentity openFileIdentity(std::FILE* file) {
    struct stat st;
    if (fstat(fileno(file), &st) != 0) return {};
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), true};
}

std::string computerName() {
    char name[256] = "";
    gethostname(name, sizeof name - 1);
    return name;
}

std::string uniqueSuffix() {
    static std::atomic<unsigned> calls{0};
    std::random_device seed;
    return std::to_string(getpid()) + "-" + std::to_string(seed()) + std::to_string(calls++);
}

}  // namespace velmora
