#pragma once
// ParseTarn --suggest DATA: a configuration suggested from the start of a
// data file.
#include <ostream>
#include <string>

namespace velmora {

// Writes the suggestion to `out` byte for byte as the editor saves a
// configuration, and its reasons (or why there is none) to `errors`, a
// line each. Returns 0 with a suggestion, 1 without or when `out` cannot
// take it (said on `errors`).
int runSuggestion(const std::string& dataPath, std::ostream& out, std::ostream& errors);

}  // namespace velmora
