#pragma once
// The one rule by which the utility shows a stored value, in the Preview
// and in the Results alike.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "src/results/card_numbers.h"

namespace velmora {

// A value as one line of text: printable bytes as they are, others as
// "\xHH" (the separators' notation), BER-TLV data in hexadecimal; nothing
// (NULL) as "" and an empty value as "''", so the two are told apart. Card
// data are hidden as `mask` says. A long value is cut after `limit`
// characters and ends with an ellipsis.
std::string shownValue(std::optional<std::string_view> value, bool hex, CardMask mask, std::size_t limit = 256);

// The value of one BER-TLV object of tag `tag` ("5A"), in hexadecimal.
std::string shownTlvValue(std::string_view tag, std::optional<std::string_view> value, CardMask mask,
                          std::size_t limit = 256);

}  // namespace velmora
