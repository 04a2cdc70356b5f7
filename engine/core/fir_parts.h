#pragma once
// FIR data: a text field split at any of the FIR separation characters.
#include <string_view>
#include <vector>

namespace velmora {

// The pieces between separators, empty ones included: n separators give
// n + 1 pieces.
void splitAtAny(std::string_view text, std::string_view separators, std::vector<std::string_view>& parts);

}  // namespace velmora
