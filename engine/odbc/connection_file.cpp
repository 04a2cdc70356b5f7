#include "engine/odbc/connection_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "engine/odbc/connection_secrets.h"
#include "engine/odbc/odbc_connection.h"

namespace velmora {

Status readConnectionFile(std::string& connection) {
    if (connection.empty() || connection[0] != '@') return {};
    const std::string path = connection.substr(1);
    const std::string named = holdsPassword(path) ? std::string("given") : path;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return fail("cannot open the connection string's file " + named + ": " + std::strerror(errno));
    // One character more than a driver takes: a longer line is refused
    // whole when it connects, never cut here.
    std::string line;
    for (int c; line.size() <= kLongestConnectionString && (c = std::fgetc(file.get())) != EOF && c != '\n';)
        line += static_cast<char>(c);
    if (std::ferror(file.get())) return fail("cannot read the connection string's file " + named);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) return fail("the connection string's file " + named + " holds no connection string");
    connection = line;
    return {};
}

}  // namespace velmora
