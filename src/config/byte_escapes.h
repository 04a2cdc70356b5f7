#pragma once
// The "\xHH" notation of separators, codes and sentinels: a backslash, an x
// and two hexadecimal digits stand for one byte. Any other backslash is
// itself, a "\x" without two hexadecimal digits after it included, so that
// every text the editor accepts means something to the engine.
#include <string>

namespace velmora {

std::string decodeByteEscapes(const std::string& text);

}  // namespace velmora
