#include "format/config/byte_escapes.h"

namespace velmora {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// No-break space and soft hyphen look like a blank or like nothing, and
// the C1 range holds codes the page leaves undefined.
bool isPrintable(unsigned char c) { return (c >= 0x20 && c < 0x7F) || (c > 0xA0 && c != 0xAD); }

}  // namespace

std::string decodeByteEscapes(const std::string& text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool escape = text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x';
        const int high = escape ? hexValue(text[i + 2]) : -1;
        const int low = escape ? hexValue(text[i + 3]) : -1;
        if (high < 0 || low < 0) {
            bytes += text[i];
            continue;
        }
        bytes += static_cast<char>(high * 16 + low);
        i += 3;
    }
    return bytes;
}

std::string escapeBytes(std::string_view bytes, Escaping escaping) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const bool escape = escaping == Escaping::Controls
                                ? isControl(c)
                                : !isPrintable(c) || (c == '\\' && i + 1 < bytes.size() && bytes[i + 1] == 'x');
        if (!escape) {
            text += static_cast<char>(c);
            continue;
        }
        text += "\\x";
        text += digits[c >> 4];
        text += digits[c & 0x0F];
    }
    return text;
}

}  // namespace velmora
