#include "engine/core/magstripe_tracks.h"

namespace velmora {

std::array<std::optional<std::string_view>, 3> magstripeTracks(std::string_view data,
                                                               const std::array<std::string, 6>& sentinels) {
    std::array<std::optional<std::string_view>, 3> tracks;
    size_t from = 0;
    for (size_t t = 0; t < 3; ++t) {
        const std::string& open = sentinels[2 * t];
        const std::string& close = sentinels[2 * t + 1];
        if (open.empty() || close.empty()) continue;
        size_t start = data.find(open, from);
        if (start == std::string_view::npos) continue;
        start += open.size();
        size_t end = data.find(close, start);
        if (end == std::string_view::npos) continue;
        tracks[t] = data.substr(start, end - start);
        from = end + close.size();
    }
    return tracks;
}

}  // namespace velmora
