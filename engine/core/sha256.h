#pragma once
// SHA-256 (FIPS 180-4), for digests that name a content: two runs with the
// same configuration bytes have the same digest, whatever the file's name.
#include <string>
#include <string_view>

namespace velmora {

// The digest of `bytes` as 64 lowercase hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

}  // namespace velmora
