#pragma once
// The "\xHH" notation of separators, codes and sentinels: a backslash, an x
// and two hexadecimal digits stand for one byte. Any other backslash is
// itself, a "\x" without two hexadecimal digits after it included, so that
// every text the editor accepts means something to the engine.
#include <string>
#include <string_view>

namespace velmora {

std::string decodeByteEscapes(const std::string& text);

enum class Escaping {
    Unprintable,  // every byte that does not show as a Windows-1252 character
    Controls,     // only control bytes: a text stays on one line and whole
};

// Bytes written in this notation for a message: a byte to escape, and a
// backslash before an x, becomes \xHH; the rest stays as it is. With
// Controls, CR, LF, NUL, Ctrl+Z and the other control bytes are escaped and
// a backslash is left alone, so that an already escaped text is kept.
std::string escapeBytes(std::string_view bytes, Escaping escaping = Escaping::Unprintable);

}  // namespace velmora
