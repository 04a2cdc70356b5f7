#pragma once
// The six magnetic-stripe sentinels and their text form in the
// "Field Type Data" column of a MAGSTRIPE_FIELD row.
#include <array>
#include <string>
#include <vector>

namespace velmora {

constexpr int kSentinelCount = 6;

struct Sentinels {
    std::string track1Start;
    std::string track1End;
    std::string track2Start;
    std::string track2End;
    std::string track3Start;
    std::string track3End;

    // Position order: track 1 start, track 1 end, ... track 3 end.
    std::string& at(int position);
    const std::string& at(int position) const;

    bool allEmpty() const;
    bool operator==(const Sentinels& o) const;
    bool operator!=(const Sentinels& o) const { return !(*this == o); }
};

// The ISO defaults "%", "?", ";", "?", "_;", "?".
const Sentinels& isoSentinels();

// Each value in double quotes, joined by single commas.
std::string sentinelText(const std::vector<std::string>& values);

// Reads a sentinel text back: split at every comma, quotes removed from each
// piece and blanks from the second piece on; at most six pieces. A missing
// piece is absent from the result (size < 6).
std::vector<std::string> splitSentinelText(const std::string& text);

// The six values of a sentinel text, a missing piece as an empty value.
Sentinels sentinelsFromText(const std::string& text);

}  // namespace velmora
