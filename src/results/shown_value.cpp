#include "src/results/shown_value.h"

#include "format/config/byte_escapes.h"
#include "engine/core/ber_tlv.h"

namespace velmora {

namespace {

// Values are shown in the program's code page, where escapeBytes shows the
// C1 range by number, so the ellipsis marking a cut value can never be data.
const char* const kEllipsis = "\x85";

}  // namespace

std::string shownValue(std::optional<std::string_view> value, bool hex, std::size_t limit) {
    if (!value) return "";
    if (value->empty()) return "''";
    if (*value == "''") return "\\x27\\x27";
    std::string text = hex ? hexBytes(*value) : escapeBytes(*value);
    if (text.size() <= limit) return text;
    // Cut where a byte's text ends: never inside a hex pair or a \xHH.
    std::size_t cut = hex ? limit - limit % 2 : limit;
    if (!hex) {
        std::size_t escape = text.rfind("\\x", cut - (cut > 0 ? 1 : 0));
        if (escape != std::string::npos && escape + 4 > cut) cut = escape;
    }
    return text.substr(0, cut) + kEllipsis;
}

}  // namespace velmora
