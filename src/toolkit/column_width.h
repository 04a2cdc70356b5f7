#pragma once
// A list column as wide as the longest text it shows, within reason; the
// operator can still drag it wider. Pixels of the dialogs' 8-point font at
// 96 DPI, as every width the seam takes; the host scales them.
#include <algorithm>
#include <cstddef>

namespace velmora {

inline int fittedColumnWidth(std::size_t characters, int least, int most) {
    constexpr int kCharacter = 6, kPadding = 14;
    return static_cast<int>(std::clamp<std::size_t>(characters * kCharacter + kPadding, least, most));
}

}  // namespace velmora
