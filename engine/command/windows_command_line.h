#pragma once
// Cutting a Windows command line into arguments by the documented rules of
// the C runtime, so that the engine reads the utility's quoted paths the
// same way on every platform and can be tested anywhere.
#include <string>
#include <vector>

namespace velmora {

// The rules of Microsoft's "Parsing C command-line arguments": the program
// name first, up to the first blank or tab outside double quotes, each
// quote switching quoting on or off and dropped, backslashes as they are.
// Then the arguments, separated by blanks and tabs: quotes group, 2n
// backslashes before a quote give n and the quote groups, 2n+1 give n and a
// literal quote, other backslashes are literal, "" inside quotes is one
// literal quote that also ends the quoted part, and a line that ends inside
// quotes ends the last argument.
std::vector<std::string> splitWindowsCommandLine(const std::string& line);

}  // namespace velmora
