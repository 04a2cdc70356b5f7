#pragma once
// The classes of bytes by which the suggestion compares records and the
// columns of records.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::suggest {

// Text is Windows-1252: Letter takes its accented letters too (É, ß, Š),
// Mark the other bytes that print. Binary: controls and the five bytes the
// code page leaves undefined.
enum ByteClass : std::uint8_t { Digit, Letter, Blank, Mark, Binary };
constexpr int kByteClassCount = 5;

ByteClass byteClass(unsigned char c);

// What a TEXT_FIELD holds: bytes that print in Windows-1252.
bool isPrintable(unsigned char c);
bool allPrintable(std::string_view bytes);

// What a record of text holds: printable bytes, TAB and the separators
// 0x1C to 0x1F of delimited files.
bool allText(std::string_view bytes);

// Controls and marks: bytes that may end records or fields. Letters, digits,
// the blank and bytes from 0x80 up never do.
bool mayCut(unsigned char c);

// A byte that occurs more often than this in one record cuts no fields.
constexpr std::uint32_t kMostDelimiters = 1024;

// The delimiters of issuers' files, the likelier first.
inline constexpr std::string_view kUsualDelimiters = "\x1F\x1E\x1D\x1C\t|,;^~";
bool isControl(unsigned char c);

// Bytes as the operator types them into a separator or code: "\xHH" for
// those that do not print, and for a last backslash, which would escape
// the closing quote in the file.
std::string editorText(std::string_view bytes);

}  // namespace velmora::suggest
