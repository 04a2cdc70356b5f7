#pragma once
// Where values start inside a run of digit columns of records of one
// length: a value padded on the left (zeros or blanks) begins with columns
// that nearly always hold one byte and spreads to the right, so a column
// like that after one whose digits spread starts a new value. A plausible
// date between two such starts is a value of its own.
#include <cstddef>
#include <string_view>
#include <vector>

namespace velmora::suggest {

// The columns in (begin, end) at which a value starts, in order. Blank
// columns at the end pad the last value.
std::vector<std::size_t> digitValueStarts(const std::vector<std::string_view>& records, std::size_t begin,
                                          std::size_t end);

}  // namespace velmora::suggest
