#pragma once
// The throw-away PostgreSQL server that scripts/with-postgres.sh starts for
// the tests, and reading its rows back in the form query() gives a file
// database's.
#include <string>
#include <vector>

namespace velmora::test {

// Its ODBC connection string with this password; "" when no server was
// started for the tests.
std::string serverConnection(const std::string& password);
std::string serverPassword();

// As query(): columns joined by "|", NULL as "NULL", binaries as "x" and
// hexadecimal. Fails the test on an error.
std::vector<std::string> serverQuery(const std::string& connection, const std::string& sql);

}  // namespace velmora::test
