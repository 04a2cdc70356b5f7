#include <sys/stat.h>

#include "tests/support/file_access.h"

namespace velmora::test {

std::string accessOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? std::to_string(st.st_mode & 07777) : "";
}
bool othersMayRead(const std::string& access) { return (std::stoi(access) & 044) != 0; }
void makePrivate(const std::string& path) { chmod(path.c_str(), 0600); }

}  // namespace velmora::test
