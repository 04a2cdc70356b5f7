#pragma once
// The three tracks of a magnetic-stripe field, each the data between its
// start and end sentinels.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Tracks are searched in turn, each from the end of the one before it that
// was found. A track whose sentinels are empty, or not both found, is
// absent.
std::array<std::optional<std::string_view>, 3> magstripeTracks(std::string_view data,
                                                               const std::array<std::string, 6>& sentinels);

}  // namespace velmora
