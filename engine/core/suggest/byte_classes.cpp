#include "engine/core/suggest/byte_classes.h"

#include "engine/core/text/cp1252.h"
#include "format/config/byte_escapes.h"

namespace velmora::suggest {

namespace {

// Latin-1's letters (all from 0xC0 but the signs of times and division,
// and the ordinals and micro sign), and Latin Extended's that the page
// holds below 0xA0 (Š, Œ, Ž, Ÿ, ƒ).
bool isLetter(std::uint32_t cp) {
    if ((cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z')) return true;
    if (cp == 0xAA || cp == 0xB5 || cp == 0xBA) return true;
    return cp >= 0xC0 && cp < 0x250 && cp != 0xD7 && cp != 0xF7;
}

}  // namespace

ByteClass byteClass(unsigned char c) {
    if (c >= '0' && c <= '9') return Digit;
    if (c == ' ') return Blank;
    if (!isPrintable(c)) return Binary;
    return isLetter(cp1252CodePoint(c)) ? Letter : Mark;
}

bool isPrintable(unsigned char c) {
    const std::uint32_t cp = cp1252CodePoint(c);
    return cp >= 0x20 && cp != 0x7F && (cp < 0x80 || cp >= 0xA0);
}

bool allPrintable(std::string_view bytes) {
    for (unsigned char c : bytes)
        if (!isPrintable(c)) return false;
    return true;
}

bool allText(std::string_view bytes) {
    for (unsigned char c : bytes)
        if (!isPrintable(c) && c != '\t' && (c < 0x1C || c > 0x1F)) return false;
    return true;
}

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

std::string editorText(std::string_view bytes) {
    std::string text = escapeBytes(bytes);
    if (!text.empty() && text.back() == '\\') text.replace(text.size() - 1, 1, "\\x5C");
    return text;
}

bool mayCut(unsigned char c) { return c < 0x80 && (isControl(c) || byteClass(c) == Mark); }

}  // namespace velmora::suggest
