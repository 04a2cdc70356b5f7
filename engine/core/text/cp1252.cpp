#include "engine/core/text/cp1252.h"

#include <cstdint>
#include <cstring>

namespace velmora {

namespace {

// Unicode code points of 0x80..0x9F; the rest of the page is Latin-1.
const uint16_t kHighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

uint32_t cp1252CodePoint(unsigned char c) { return c < 0x80 || c >= 0xA0 ? c : kHighControls[c - 0x80]; }

bool isAscii(std::string_view text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t n = text.size(), i = 0;
    // Thirty-two bytes at a time, then eight: text fields are mostly ASCII.
    constexpr uint64_t kHigh = 0x8080808080808080ULL;
    for (; i + 32 <= n; i += 32) {
        uint64_t w[4];
        std::memcpy(w, p + i, 32);
        if ((w[0] | w[1] | w[2] | w[3]) & kHigh) return false;
    }
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word & kHigh) return false;
    }
    for (; i < n; ++i)
        if (p[i] & 0x80) return false;
    return true;
}

size_t utf8Length(std::string_view text) {
    if (isAscii(text)) return text.size();
    size_t length = 0;
    for (unsigned char c : text) length += c < 0x80 ? 1 : c < 0xA0 && kHighControls[c - 0x80] >= 0x800 ? 3 : 2;
    return length;
}

void appendCp1252AsUtf8(std::string_view text, std::string& out) {
    for (unsigned char c : text) {
        const uint32_t cp = cp1252CodePoint(c);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
}

void appendUtf8AsCp1252(std::string_view text, std::string& out) {
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int more = lead < 0x80             ? 0
                   : (lead & 0xE0) == 0xC0 ? 1
                   : (lead & 0xF0) == 0xE0 ? 2
                   : (lead & 0xF8) == 0xF0 ? 3
                                           : -1;
        uint32_t cp = more == 0 ? lead : more == 1 ? lead & 0x1F : more == 2 ? lead & 0x0F : lead & 0x07;
        size_t k = 1;
        for (; more > 0 && k <= static_cast<size_t>(more) && i + k < n; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) break;
            cp = cp << 6 | (next & 0x3F);
        }
        if (more < 0 || k != static_cast<size_t>(more) + 1) {
            out += '?';
            i += k;
            continue;
        }
        i += k;
        char byte = '?';
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            byte = static_cast<char>(cp);
        } else {
            for (int h = 0; h < 32; ++h)
                if (kHighControls[h] == cp) byte = static_cast<char>(0x80 + h);
        }
        out += byte;
    }
}

std::string cp1252AsUtf8(std::string_view text) {
    std::string out;
    appendCp1252AsUtf8(text, out);
    return out;
}

}  // namespace velmora
