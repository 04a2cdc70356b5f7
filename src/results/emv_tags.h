#pragma once
// The names of chip data: each tag of the EMV data elements dictionary with
// its name, and what a value of a date, country or currency tag means.
#include <string>
#include <string_view>

namespace velmora {

// The year of a two-digit year as card data count it: 00-49 in the 2000s,
// 50-99 in the 1900s.
int fullYear(int twoDigits);

// "5A Application Primary Account Number (PAN)" for a known tag ("5A"),
// the tag alone for any other.
std::string emvTagLabel(std::string_view tag);

// What the value of a known date, country or currency tag means, in
// brackets ("(2029-12-31)", "(United Kingdom)", "(EUR)"); "" for any other
// tag or a value that is none of these.
std::string emvValueMeaning(std::string_view tag, std::string_view value);

}  // namespace velmora
