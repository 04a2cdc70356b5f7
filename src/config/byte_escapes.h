#pragma once
// The "\xHH" notation of separators, codes and sentinels: a backslash, an x
// and two hexadecimal digits stand for one byte. Any other backslash is
// itself.
#include <string>

namespace velmora {

// Decodes `text` into `bytes`; false with `error` set when a "\x" is not
// followed by two hexadecimal digits.
bool decodeByteEscapes(const std::string& text, std::string& bytes, std::string& error);

}  // namespace velmora
