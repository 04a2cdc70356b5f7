#include "src/parse/engine_outcome.h"

#include "format/fields/text_utils.h"

namespace velmora {

namespace {

constexpr std::size_t kLineBufferSize = 100;
constexpr char kEndOfFile = '\x1a';

}  // namespace

std::optional<std::string> firstResultsLine(const std::string& content) {
    std::string line;
    for (std::size_t i = 0; i < content.size() && line.size() < kLineBufferSize - 1; ++i) {
        char c = content[i];
        if (c == kEndOfFile) break;
        if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') continue;
        line += c;
        if (c == '\n') break;
    }
    if (line.empty()) return std::nullopt;
    return line.substr(0, line.find('\0'));
}

EngineOutcome engineOutcome(const std::optional<std::string>& firstLine, DatabaseStyle style) {
    bool success = firstLine && contains(*firstLine, "records parsed");
    if (style == DatabaseStyle::Overwritten) {
        if (success) return {*firstLine, MessageIcon::None, true};
        return {"Error - For more info see c:\\temp\\parseResults.txt", MessageIcon::Warning, false};
    }
    if (success) return {*firstLine, MessageIcon::Warning, true};
    // No blank before the hyphen: the system's own text for a fresh database.
    return {"Error- For more info see c:\\temp\\parseResults.txt", MessageIcon::Warning, false};
}

}  // namespace velmora
