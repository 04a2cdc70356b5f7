#pragma once
// The engine's progress line, a stable form that the utility reads from the
// engine's standard output while it waits:
//
//   Progress: <bytes read> of <data file size> bytes, <records parsed> records
//
// in plain decimal, one line each, about once a second. Any other line on
// the engine's output is not progress.
#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

struct ProgressFacts {
    uint64_t bytesRead = 0;
    uint64_t totalBytes = 0;  // the data file's size at the start; 0 when unknown
    uint64_t records = 0;     // records parsed so far
};

// The line without its line end.
std::string progressLine(const ProgressFacts& facts);

// The facts of a progress line (a CR or LF at its end is allowed), or
// nothing for any other line.
std::optional<ProgressFacts> readProgressLine(const std::string& line);

}  // namespace velmora
