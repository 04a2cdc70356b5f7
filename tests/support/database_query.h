#pragma once
// Reading a database the engine wrote back in the engine's tests.
#include <string>
#include <vector>

namespace velmora::test {

// Each row of the query's result as its columns joined by "|", NULL as
// "NULL" and blobs in hexadecimal with an "x" before them.
std::vector<std::string> query(const std::string& database, const std::string& sql);

}  // namespace velmora::test
