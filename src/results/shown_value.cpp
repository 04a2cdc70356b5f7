#include "src/results/shown_value.h"

#include "format/config/byte_escapes.h"
#include "engine/core/ber_tlv.h"

namespace velmora {

namespace {

// Values are shown in the program's code page, where escapeBytes shows the
// C1 range by number, so the ellipsis marking a cut value can never be data.
const char* const kEllipsis = "\x85";

std::string cut(std::string text, bool hex, std::size_t limit) {
    if (text.size() <= limit) return text;
    // Cut where a byte's text ends: never inside a hex pair or a \xHH.
    std::size_t at = hex ? limit - limit % 2 : limit;
    if (!hex) {
        std::size_t escape = text.rfind("\\x", at - (at > 0 ? 1 : 0));
        if (escape != std::string::npos && escape + 4 > at) at = escape;
    }
    return text.substr(0, at) + kEllipsis;
}

}  // namespace

std::string shownValue(std::optional<std::string_view> value, bool hex, CardMask mask, std::size_t limit) {
    if (!value) return "";
    if (value->empty()) return "''";
    if (*value == "''") return "\\x27\\x27";
    if (hex) {
        std::string text = hexBytes(*value);
        maskTlvHex(*value, mask, text);
        return cut(std::move(text), true, limit);
    }
    if (!mayHoldCardData(*value, mask)) return cut(escapeBytes(*value), false, limit);
    std::string shown(*value);
    maskCardText(shown, mask);
    return cut(escapeBytes(shown), false, limit);
}

std::string shownTlvValue(std::string_view tag, std::optional<std::string_view> value, CardMask mask,
                          std::size_t limit) {
    if (!value || value->empty() || *value == "''") return shownValue(value, true, mask, limit);
    std::string text = hexBytes(*value);
    maskTlvValueHex(tag, *value, mask, text);
    return cut(std::move(text), true, limit);
}

}  // namespace velmora
