#include "format/fields/sentinels.h"

#include "format/fields/text_utils.h"

namespace velmora {

std::string& Sentinels::at(int position) {
    return const_cast<std::string&>(static_cast<const Sentinels&>(*this).at(position));
}

const std::string& Sentinels::at(int position) const {
    switch (position) {
    case 0:
        return track1Start;
    case 1:
        return track1End;
    case 2:
        return track2Start;
    case 3:
        return track2End;
    case 4:
        return track3Start;
    default:
        return track3End;
    }
}

bool Sentinels::allEmpty() const {
    for (int i = 0; i < kSentinelCount; ++i)
        if (!at(i).empty()) return false;
    return true;
}

bool Sentinels::operator==(const Sentinels& o) const {
    for (int i = 0; i < kSentinelCount; ++i)
        if (at(i) != o.at(i)) return false;
    return true;
}

const Sentinels& isoSentinels() {
    static const Sentinels iso{"%", "?", ";", "?", "_;", "?"};
    return iso;
}

std::string sentinelText(const std::vector<std::string>& values) {
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i) text += ',';
        text += '"' + values[i] + '"';
    }
    return text;
}

std::vector<std::string> splitSentinelText(const std::string& text) {
    std::vector<std::string> values;
    for (const std::string& piece : splitAt(text, ',')) {
        if (values.size() == kSentinelCount) break;
        values.push_back(removeAll(piece, values.empty() ? "\"" : "\" "));
    }
    return values;
}

Sentinels sentinelsFromText(const std::string& text) {
    Sentinels s;
    auto values = splitSentinelText(text);
    for (size_t i = 0; i < values.size(); ++i) s.at(static_cast<int>(i)) = values[i];
    return s;
}

}  // namespace velmora
