#pragma once
// A connection string kept in a file (--odbc @PATH), so that its password
// is never on the command line, where every user of the PC can read it.
#include <string>

#include "format/base/result.h"

namespace velmora {

// When `connection` is "@PATH", replaces it with the first line of PATH
// (without its line end); otherwise leaves it as it is.
Status readConnectionFile(std::string& connection);

}  // namespace velmora
