#pragma once
// A configuration suggested from the first bytes of a data file: how its
// records and fields are cut, in the editor's own terms (what its entry
// checks and placement rules accept), with a short reason for each choice.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "format/config/parse_configuration.h"

namespace velmora {

// The most of a data file a suggestion looks at.
constexpr std::size_t kSuggestionSampleBytes = 1u << 20;

struct Suggestion {
    bool found = false;
    ParseConfiguration configuration;
    // One line per choice; when nothing was found, the one line saying why.
    std::vector<std::string> reasons;
};

// `sample`: the first bytes of a data file (the first 1 MiB of a longer
// one is used); `wholeFile` when they are all of it, so that a last record
// without its separator counts.
Suggestion suggestConfiguration(std::string_view sample, bool wholeFile);

}  // namespace velmora
