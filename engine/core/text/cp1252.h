#pragma once
// Text fields arrive in Windows-1252 and are stored as UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// The Unicode code point of one byte. The five bytes that code page leaves
// undefined are the C1 controls of the same value, as Windows converts them.
std::uint32_t cp1252CodePoint(unsigned char c);

// Appends the UTF-8 form of `text` to `out`. The five bytes that code page
// leaves undefined become the C1 controls of the same value, as Windows
// converts them.
void appendCp1252AsUtf8(std::string_view text, std::string& out);

// The UTF-8 form of `text`, as a string of its own.
std::string cp1252AsUtf8(std::string_view text);

// The length of that UTF-8 form.
size_t utf8Length(std::string_view text);

// Appends the Windows-1252 form of UTF-8 `text` to `out`: the inverse of
// appendCp1252AsUtf8, so names stored as UTF-8 show as typed. A character
// the code page lacks, or a malformed sequence, becomes '?'.
void appendUtf8AsCp1252(std::string_view text, std::string& out);

// True when `text` is plain ASCII and needs no conversion.
bool isAscii(std::string_view text);

}  // namespace velmora
