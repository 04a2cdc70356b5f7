#include "engine/core/fir_parts.h"

namespace velmora {

void splitAtAny(std::string_view text, std::string_view separators, std::vector<std::string_view>& parts) {
    parts.clear();
    size_t from = 0;
    for (;;) {
        size_t at = text.find_first_of(separators, from);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(from));
            return;
        }
        parts.push_back(text.substr(from, at - from));
        from = at + 1;
    }
}

}  // namespace velmora
