#pragma once
// UTF-8 and the UTF-16 that the system's wide functions and ODBC's wide
// calls take (SQLWCHAR is two bytes on Windows, in unixODBC and in Wine
// alike).
#include <string>
#include <string_view>

namespace velmora {

using Utf16 = std::u16string;

// A malformed sequence becomes U+FFFD.
void appendUtf8AsUtf16(std::string_view text, Utf16& out);
Utf16 utf16(std::string_view utf8);
std::string utf8(const char16_t* text, size_t length);

}  // namespace velmora
