#include "engine/core/suggest/byte_classes.h"

#include "format/config/byte_escapes.h"

namespace velmora::suggest {

ByteClass byteClass(unsigned char c) {
    if (c >= '0' && c <= '9') return Digit;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return Letter;
    if (c == ' ') return Blank;
    return isPrintable(c) ? Mark : Binary;
}

bool isPrintable(unsigned char c) { return c >= 0x20 && c < 0x7F; }

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

bool mayCut(unsigned char c) { return isControl(c) || byteClass(c) == Mark; }

}  // namespace velmora::suggest
