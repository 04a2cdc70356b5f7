#pragma once
// What card data look like: account numbers, expiry dates, magnetic-stripe
// tracks and BER-TLV objects.
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace velmora::suggest {

// Whether a value is digits, one at least.
bool allDigits(std::string_view v);

// The value without the blanks that pad it on the right.
std::string_view trimRight(std::string_view value);

// Digits whose last is their Luhn check digit.
bool passesLuhn(std::string_view digits);

// 13 to 19 digits passing the Luhn check, not all one digit.
bool isPan(std::string_view digits);

// The order of a column of four-digit dates in which every value has a
// month from 01 to 12; nothing when neither fits every value, or when the
// values count up by one (record numbers).
enum class DateOrder { YYMM, MMYY };
std::optional<DateOrder> expiryOrder(const std::vector<std::string_view>& values);

// Whether values of digits count up by one from record to record: record
// numbers.
bool countsUp(const std::vector<std::string_view>& values);

// Magnetic-stripe tracks: track 1 ("%B...^...?") with track 2 (";digits=
// digits?") right after it, or track 2 alone; either with track 3
// ("_;digits=...?") right after it. Never track 3 without track 2: with the
// ISO sentinels the engine takes the ";" of its start for track 2's.
struct TrackSpan {
    std::size_t begin = 0, end = 0;
    bool track1 = false, track3 = false;
};
std::optional<TrackSpan> findTracks(std::string_view bytes);

// One BER-TLV object and nothing after it but zero bytes.
bool isWholeTlv(std::string_view bytes);

}  // namespace velmora::suggest
