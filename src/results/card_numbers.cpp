#include "src/results/card_numbers.h"

#include <initializer_list>

#include "engine/core/ber_tlv.h"
#include "engine/core/suggest/card_values.h"

namespace velmora {

namespace {

constexpr std::size_t kKeptFirst = 6, kKeptLast = 4;
// A track's account number: ISO/IEC 7812 numbers in use are 12 to 19 digits.
constexpr std::size_t kShortestTrackNumber = 12, kLongestNumber = 19;
constexpr std::size_t kLongestName = 26;
constexpr std::size_t kLongestTrack1 = 79;
constexpr std::size_t kExpiryAndServiceCode = 7;

bool digit(char c) { return c >= '0' && c <= '9'; }
bool upper(char c) { return c >= 'A' && c <= 'Z'; }
bool lower(char c) { return c >= 'a' && c <= 'z'; }
bool letter(char c) { return upper(c) || lower(c); }

std::size_t digitsEnd(std::string_view s, std::size_t at, std::size_t end) {
    while (at < end && digit(s[at])) ++at;
    return at;
}

// The digits in [begin, end) are one number: all but its first six and
// last four become "*".
void maskNumber(std::string& s, std::size_t begin, std::size_t end) {
    std::size_t count = 0, seen = 0;
    for (std::size_t i = begin; i < end; ++i) count += digit(s[i]);
    for (std::size_t i = begin; i < end; ++i) {
        if (!digit(s[i])) continue;
        if (seen >= kKeptFirst && seen + kKeptLast < count) s[i] = '*';
        ++seen;
    }
}

bool trackNumber(std::size_t begin, std::size_t end) {
    return end - begin >= kShortestTrackNumber && end - begin <= kLongestNumber;
}

// Track 2 whose number is the digits [begin, end): "=", the expiry and
// service code, then discretionary data to the end sentinel. Its number
// is hidden whether or not it passes the Luhn check: where it stands makes
// it one.
bool maskTrack2(std::string& s, std::size_t begin, std::size_t end) {
    if (!trackNumber(begin, end) || end >= s.size() || s[end] != '=') return false;
    maskNumber(s, begin, end);
    const std::size_t data = end + 1 + kExpiryAndServiceCode;
    if (digitsEnd(s, end + 1, s.size()) < data) return true;
    for (std::size_t i = data; i < s.size() && digit(s[i]); ++i) s[i] = '*';
    return true;
}

// Track 1 whose number is the digits [begin, end), after its format code:
// "^", the name, "^", the expiry and the service code (each a "^" when
// absent), then discretionary data to the end sentinel.
bool maskTrack1(std::string& s, std::size_t begin, std::size_t end) {
    if (begin == 0 || !upper(s[begin - 1]) || !trackNumber(begin, end) || end >= s.size() || s[end] != '^')
        return false;
    const std::size_t second = s.find('^', end + 1);
    if (second == std::string::npos || second - end - 1 > kLongestName) return false;
    maskNumber(s, begin, end);
    std::size_t at = second + 1;
    at += at < s.size() && s[at] == '^' ? 1 : 4;
    at += at < s.size() && s[at] == '^' ? 1 : 3;
    // Track 1 holds printable ASCII only; a byte beyond is no longer its.
    for (const std::size_t last = begin - 1 + kLongestTrack1; at < s.size() && at < last; ++at) {
        const auto c = static_cast<unsigned char>(s[at]);
        if (c == '?' || c < 0x20 || c > 0x7E) break;
        s[at] = '*';
    }
    return true;
}

bool isTag(std::string_view tag, std::initializer_list<std::string_view> tags) {
    for (std::string_view t : tags)
        if (tag == t) return true;
    return false;
}

// Track 2 equivalent data in BCD, as hexadecimal digits [begin, end): the
// number up to "D", the expiry and service code, discretionary data, and
// an "F" that pads them to whole bytes.
void maskTrack2Equivalent(std::string& hex, std::size_t begin, std::size_t end) {
    const std::size_t number = digitsEnd(hex, begin, end);
    maskNumber(hex, begin, number);
    if (number >= end || hex[number] != 'D') return;
    std::size_t last = end;
    while (last > number && hex[last - 1] == 'F') --last;
    for (std::size_t i = number + 1 + kExpiryAndServiceCode; i < last; ++i) hex[i] = '*';
}

}  // namespace

bool namesCardNumbers(std::string_view name) {
    // Words are runs of letters, cut where a small letter meets a capital
    // ("CardPan") and before the capital that starts a word after capitals
    // ("PANNumber").
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        const bool cut = i == name.size() || !letter(name[i]) ||
                         (i > begin && upper(name[i]) &&
                          (lower(name[i - 1]) || (i + 1 < name.size() && lower(name[i + 1]) && upper(name[i - 1]))));
        if (!cut) continue;
        const std::string_view word = name.substr(begin, i - begin);
        if (word.size() == 3 && (word[0] | 0x20) == 'p' && (word[1] | 0x20) == 'a' && (word[2] | 0x20) == 'n')
            return true;
        begin = i < name.size() && letter(name[i]) ? i : i + 1;
    }
    return false;
}

bool mostlyCardNumbers(const std::vector<std::string_view>& sample) {
    std::size_t filled = 0, numbers = 0;
    for (std::string_view value : sample) {
        const std::size_t begin = value.find_first_not_of(' ');
        if (begin == std::string_view::npos) continue;
        ++filled;
        numbers += suggest::isPan(suggest::trimRight(value.substr(begin)));
    }
    return numbers * 2 > filled;
}

bool mayHoldCardData(std::string_view text, CardMask mask) {
    if (mask != CardMask::InText) return mask == CardMask::Whole;
    std::size_t run = 0;
    for (char c : text)
        if ((run = digit(c) ? run + 1 : 0) >= kShortestTrackNumber) return true;
    return false;
}

void maskCardText(std::string& s, CardMask mask) {
    if (mask == CardMask::None) return;
    bool track = false;
    for (std::size_t at = 0; at < s.size();) {
        if (!digit(s[at])) {
            ++at;
            continue;
        }
        const std::size_t end = digitsEnd(s, at, s.size());
        if (maskTrack1(s, at, end) || maskTrack2(s, at, end))
            track = true;
        else if (mask == CardMask::InText && suggest::isPan(std::string_view(s).substr(at, end - at)))
            maskNumber(s, at, end);
        at = end;
    }
    // A card-number column's value is one number whatever it holds, unless
    // it is a track, whose own rule knows where the number is.
    if (mask == CardMask::Whole && !track) maskNumber(s, 0, s.size());
}

void maskTextHex(std::string_view bytes, CardMask mask, std::string& hex, std::size_t at) {
    if (!mayHoldCardData(bytes, mask)) return;
    std::string masked(bytes);
    maskCardText(masked, mask);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (masked[i] != bytes[i]) hex[at + 2 * i] = hex[at + 2 * i + 1] = '*';
}

void maskTlvValueHex(std::string_view tag, std::string_view value, CardMask mask, std::string& hex, std::size_t at) {
    if (mask == CardMask::None) return;
    const std::size_t end = at + 2 * value.size();
    if (tag == "5A")
        maskNumber(hex, at, digitsEnd(hex, at, end));
    else if (isTag(tag, {"57", "9F6B"}))
        maskTrack2Equivalent(hex, at, end);
    else if (isTag(tag, {"56", "9F1F"}))
        maskTextHex(value, CardMask::InText, hex, at);
}

void maskTlvHex(std::string_view bytes, CardMask mask, std::string& hex, std::size_t at) {
    if (mask == CardMask::None) return;
    std::string error;
    auto primitive = [&](const TlvObject& o) {
        if (o.constructed) return true;
        const std::size_t value = o.offset + o.headerLength;
        maskTlvValueHex(hexBytes(bytes.substr(o.offset, o.tagLength)), bytes.substr(value, o.valueLength), mask, hex,
                        at + 2 * value);
        return true;
    };
    // Objects one after another, zero bytes padding between them; what
    // does not decode is left as it is.
    for (std::size_t from = 0; from < bytes.size();) {
        if (bytes[from] == '\0') {
            ++from;
            continue;
        }
        const std::size_t size = decodeTlv(bytes.substr(from), from, error, primitive);
        if (size == 0) break;
        from += size;
    }
}

}  // namespace velmora
