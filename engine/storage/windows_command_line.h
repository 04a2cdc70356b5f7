#pragma once
// Cutting a Windows command line into arguments by the documented rules of
// the C runtime, so that the engine reads the utility's quoted paths the
// same way on every platform and can be tested anywhere.
#include <string>
#include <vector>

namespace velmora {

// The program name first: up to the closing quote when it starts with one
// (no escapes inside), otherwise up to the first blank or tab. Then the
// arguments, separated by blanks and tabs: quotes group, 2n backslashes
// before a quote give n and the quote groups, 2n+1 give n and a literal
// quote, other backslashes are literal, and "" inside quotes is one quote.
std::vector<std::string> splitWindowsCommandLine(const std::string& line);

}  // namespace velmora
