#include "engine/core/suggest/card_values.h"

#include <string>

#include "engine/core/ber_tlv.h"
#include "engine/core/suggest/byte_classes.h"
#include "format/fields/sentinels.h"

namespace velmora::suggest {

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

int twoDigits(std::string_view v, std::size_t at) { return (v[at] - '0') * 10 + (v[at + 1] - '0'); }

// The end of a track 1 starting at `at` ("%", a format letter, data with a
// "^" in it, "?"), or npos. Track 1 holds at most 79 characters.
std::size_t track1End(std::string_view b, std::size_t at) {
    if (at + 2 >= b.size() || b[at] != '%' || byteClass(static_cast<unsigned char>(b[at + 1])) != Letter)
        return std::string_view::npos;
    bool caret = false;
    for (std::size_t i = at + 2; i < b.size() && i < at + 79; ++i) {
        if (b[i] == '?') return caret ? i + 1 : std::string_view::npos;
        if (!isPrintable(static_cast<unsigned char>(b[i]))) break;
        caret = caret || b[i] == '^';
    }
    return std::string_view::npos;
}

// The end of a track of digits starting at `at` (its start sentinel,
// digits, "=", digits and "=", the end sentinel), or npos; within `longest`
// characters.
std::size_t numericTrackEnd(std::string_view b, std::size_t at, const std::string& start, const std::string& end,
                            std::size_t longest) {
    if (b.substr(at, start.size()) != start) return std::string_view::npos;
    std::size_t i = at + start.size();
    while (i < b.size() && digit(b[i])) ++i;
    if (i == at + start.size() || i >= b.size() || b[i] != '=') return std::string_view::npos;
    for (++i; i < b.size() && i < at + longest; ++i) {
        if (b.substr(i, end.size()) == end) return i + end.size();
        if (!digit(b[i]) && b[i] != '=') break;
    }
    return std::string_view::npos;
}

// Track 2 holds at most 40 characters, track 3 107.
std::size_t track2End(std::string_view b, std::size_t at) {
    return numericTrackEnd(b, at, isoSentinels().track2Start, isoSentinels().track2End, 40);
}
std::size_t track3End(std::string_view b, std::size_t at) {
    return numericTrackEnd(b, at, isoSentinels().track3Start, isoSentinels().track3End, 107);
}

}  // namespace

bool allDigits(std::string_view v) {
    for (char c : v)
        if (!digit(c)) return false;
    return !v.empty();
}

std::string_view trimRight(std::string_view value) {
    std::size_t end = value.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : value.substr(0, end + 1);
}

bool isPan(std::string_view digits) {
    if (digits.size() < 13 || digits.size() > 19 || !allDigits(digits)) return false;
    // Zeros, or any one digit over and over, pass the check but fill a
    // column no card is in.
    return digits.find_first_not_of(digits[0]) != std::string_view::npos && passesLuhn(digits);
}

bool passesLuhn(std::string_view digits) {
    int sum = 0;
    bool twice = false;
    for (std::size_t i = digits.size(); i-- > 0; twice = !twice) {
        int d = digits[i] - '0';
        if (twice) d = d * 2 > 9 ? d * 2 - 9 : d * 2;
        sum += d;
    }
    return sum % 10 == 0;
}

std::optional<DateOrder> expiryOrder(const std::vector<std::string_view>& values) {
    bool yymm = !values.empty(), mmyy = yymm;
    for (std::string_view v : values) {
        if (v.size() != 4 || !allDigits(v)) return std::nullopt;
        const int high = twoDigits(v, 0), low = twoDigits(v, 2);
        yymm = yymm && low >= 1 && low <= 12;
        mmyy = mmyy && high >= 1 && high <= 12;
    }
    // A column that counts up by one from record to record numbers them.
    if (countsUp(values)) return std::nullopt;
    if (yymm) return DateOrder::YYMM;
    if (mmyy) return DateOrder::MMYY;
    return std::nullopt;
}

bool countsUp(const std::vector<std::string_view>& values) {
    bool counting = values.size() > 1;
    for (std::size_t i = 1; counting && i < values.size(); ++i)
        counting = std::stoi(std::string(values[i])) == std::stoi(std::string(values[i - 1])) + 1;
    return counting;
}

std::optional<TrackSpan> findTracks(std::string_view b) {
    for (std::size_t at = b.find_first_of("%;"); at != std::string_view::npos; at = b.find_first_of("%;", at + 1)) {
        TrackSpan span{at, at};
        if (std::size_t one = track1End(b, at);
            one != std::string_view::npos && track2End(b, one) != std::string_view::npos) {
            span.end = one;
            span.track1 = true;
        }
        const std::size_t two = track2End(b, span.end);
        if (two == std::string_view::npos) continue;
        span.end = two;
        if (std::size_t three = track3End(b, two); three != std::string_view::npos) {
            span.end = three;
            span.track3 = true;
        }
        return span;
    }
    return std::nullopt;
}

bool isWholeTlv(std::string_view bytes) {
    // A zero first byte would make a run of zeros an object.
    if (bytes.size() < 3 || bytes[0] == '\0') return false;
    std::string error;
    const std::size_t size = decodeTlv(bytes, 0, error);
    if (size < 3) return false;
    return bytes.find_first_not_of('\0', size) == std::string_view::npos;
}

}  // namespace velmora::suggest
