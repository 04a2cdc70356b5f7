#pragma once
// Countries and currencies by the numbers chip data hold them in.

namespace velmora {

// The country of an ISO 3166-1 numeric code (826: "United Kingdom");
// nullptr for a number no country has.
const char* countryName(int numeric);

// The ISO 4217 letters of a currency by its number (978: "EUR"); nullptr
// for a number no current currency has.
const char* currencyCode(int numeric);

}  // namespace velmora
