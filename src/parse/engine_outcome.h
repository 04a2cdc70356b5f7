#pragma once
// What the user is told after an engine run, from the results file.
#include <optional>
#include <string>

#include "src/toolkit/prompts.h"

namespace velmora {

// Whether the run replaced an earlier database or made a fresh one.
enum class DatabaseStyle { Fresh, Overwritten };

// The results file's first line as the C runtime reads it in text mode into
// a 100-byte line buffer: CR LF reads as LF, Ctrl-Z ends the file, at most
// 99 characters, the line end kept when it fits, nothing after a zero byte.
// Nothing when the file has no first line at all.
std::optional<std::string> firstResultsLine(const std::string& content);

struct EngineOutcome {
    std::string text;
    MessageIcon icon = MessageIcon::None;
    bool success = false;
};

// A first line holding "records parsed" is the engine's own success text;
// anything else, a missing first line included, is the style's error.
EngineOutcome engineOutcome(const std::optional<std::string>& firstLine, DatabaseStyle style);

}  // namespace velmora
