#include "config/byte_escapes.h"

namespace velmora {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

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

}  // namespace velmora
