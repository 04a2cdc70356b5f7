#pragma once
// Card numbers as every screen and export shows them: a number keeps its
// first six and last four digits with "*" for each digit between
// ("411111******1111"), and the discretionary data of a magnetic-stripe
// track (after its expiry and service code) show as "*". Only the group
// the policy names sees them in full.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

enum class CardMask {
    None,    // shown in full
    InText,  // 13 to 19 digits passing the Luhn check, and the tracks found in the value
    Whole,   // a card-number column's value: all its digits are one number, whatever they are
};

constexpr CardMask cardMask(bool full, bool cardColumn) {
    return full ? CardMask::None : cardColumn ? CardMask::Whole : CardMask::InText;
}

// A field named "PAN" in any case, or holding it as a word ("Card PAN",
// "PAN_2", "CardPan", "PANNumber"; not "SPAN" or "Panel").
bool namesCardNumbers(std::string_view name);

// Whether most of the filled values of a sample are 13 to 19 digits passing
// the Luhn check (blanks around them aside), as the suggestion names a PAN.
bool mostlyCardNumbers(const std::vector<std::string_view>& sample);

// Whether a text value may hold card data to hide (a run of 12 digits at
// least, or any value of a card-number column); false spares a caller the
// copy that masking takes.
bool mayHoldCardData(std::string_view text, CardMask mask);

// Hides the card data of a text value in place.
void maskCardText(std::string& text, CardMask mask);

// `hex` holds the hexadecimal of `bytes` from `at`: each byte maskCardText
// would hide shows as "**".
void maskTextHex(std::string_view bytes, CardMask mask, std::string& hex, std::size_t at = 0);

// `hex` holds the hexadecimal of BER-TLV data `bytes` from `at`: the card
// data of each object the chip keeps them in are hidden (below).
void maskTlvHex(std::string_view bytes, CardMask mask, std::string& hex, std::size_t at = 0);

// `hex` holds the hexadecimal of the value of one object of tag `tag` (in
// hexadecimal, "5A") from `at`. The account number (5A, in BCD) and track
// 2 equivalent data (57, 9F6B: the number up to "D", the discretionary data
// after the expiry and service code) digit by digit; track 1 data (56) and
// its discretionary data (9F1F), in ASCII, byte by byte as in text.
void maskTlvValueHex(std::string_view tag, std::string_view value, CardMask mask, std::string& hex, std::size_t at = 0);

}  // namespace velmora
