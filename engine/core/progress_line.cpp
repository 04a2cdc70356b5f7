#include "engine/core/progress_line.h"

namespace velmora {

namespace {

constexpr char kPrefix[] = "Progress: ";

// A run of decimal digits at `pos`, advancing it; nothing when there is none
// or it does not fit 64 bits.
std::optional<uint64_t> number(const std::string& line, size_t& pos) {
    size_t start = pos;
    uint64_t value = 0;
    for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos) {
        uint64_t digit = static_cast<uint64_t>(line[pos] - '0');
        if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    if (pos == start) return std::nullopt;
    return value;
}

bool literal(const std::string& line, size_t& pos, const char* text) {
    std::string t(text);
    if (line.compare(pos, t.size(), t) != 0) return false;
    pos += t.size();
    return true;
}

}  // namespace

std::string progressLine(const ProgressFacts& f) {
    return kPrefix + std::to_string(f.bytesRead) + " of " + std::to_string(f.totalBytes) + " bytes, " +
           std::to_string(f.records) + " records";
}

std::optional<ProgressFacts> readProgressLine(const std::string& line) {
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    size_t pos = 0;
    ProgressFacts f;
    std::optional<uint64_t> bytes, total, records;
    if (!literal(text, pos, kPrefix) || !(bytes = number(text, pos)) || !literal(text, pos, " of ") ||
        !(total = number(text, pos)) || !literal(text, pos, " bytes, ") || !(records = number(text, pos)) ||
        !literal(text, pos, " records") || pos != text.size())
        return std::nullopt;
    f.bytesRead = *bytes;
    f.totalBytes = *total;
    f.records = *records;
    return f;
}

}  // namespace velmora
