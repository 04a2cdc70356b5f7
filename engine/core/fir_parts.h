#pragma once
// FIR data: a text field split at any of the FIR separation characters.
#include <string_view>

namespace velmora {

// The pieces between separators, empty ones included: n separators give
// n + 1 pieces. One piece at a time, so that a field of many pieces costs
// no memory.
class FirParts {
public:
    FirParts(std::string_view text, std::string_view separators) : text_(text), separators_(separators) {}

    // The next piece; false after the last.
    bool next(std::string_view& part);

private:
    std::string_view text_;
    std::string_view separators_;
    size_t from_ = 0;
    bool done_ = false;
};

}  // namespace velmora
