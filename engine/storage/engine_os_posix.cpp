#include <sys/stat.h>

#include <csignal>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "engine/storage/engine_os.h"

namespace velmora {

void reportBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::string pathAsUtf8(const std::string& path) { return path; }

bool replaceFile(const std::string& from, const std::string& to, std::string& error) {
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    error = std::strerror(errno);
    return false;
}

uint64_t openFileSize(std::FILE* file) {
    struct stat st;
    if (fstat(fileno(file), &st) != 0 || st.st_size < 0) return 0;
    return static_cast<uint64_t>(st.st_size);
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace velmora
