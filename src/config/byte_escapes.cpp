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

bool decodeByteEscapes(const std::string& text, std::string& bytes, std::string& error) {
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size() || text[i + 1] != 'x') {
            bytes += text[i];
            continue;
        }
        int high = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
        int low = i + 3 < text.size() ? hexValue(text[i + 3]) : -1;
        if (high < 0 || low < 0) {
            error = "\"" + text.substr(i, 4) + "\" is not a byte in hexadecimal (\\xHH)";
            return false;
        }
        bytes += static_cast<char>(high * 16 + low);
        i += 3;
    }
    return true;
}

}  // namespace velmora
