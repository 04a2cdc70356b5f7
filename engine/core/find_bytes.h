#pragma once
// Where a code or a separator first begins in some bytes, at memchr's pace.
// std::string_view::find compares every candidate whole through memcmp, even
// a code of one byte, as most separators are.
#include <cstring>
#include <string_view>

namespace velmora {

// Where `code` (not empty) first begins in `text`, or npos.
inline size_t findBytes(std::string_view text, std::string_view code) {
    const char* const data = text.data();
    const size_t n = code.size();
    for (size_t from = 0; from + n <= text.size();) {
        const void* hit = std::memchr(data + from, code[0], text.size() - from - n + 1);
        if (!hit) break;
        const size_t at = static_cast<size_t>(static_cast<const char*>(hit) - data);
        if (n == 1 || std::memcmp(data + at + 1, code.data() + 1, n - 1) == 0) return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

}  // namespace velmora
