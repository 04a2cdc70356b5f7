#pragma once
// The results file the utility reads: its first line is the outcome
// ("N records parsed" on success, "Parse failed: ..." otherwise), the later
// lines the details. Lines end with CR LF.
#include <string>
#include <vector>

#include "engine/run/run_outcome.h"
#include "format/base/result.h"

namespace velmora {

extern const char* const kSuccessMarker;  // "records parsed"

// A failure reason fit for the first line: one line, and never the marker.
std::string failureReason(const std::string& reason);

std::vector<std::string> resultsLines(const RunOutcome& outcome);

// Writes the lines with CR LF ends to a new file beside `path` and moves it
// onto `path` (a link there is replaced, not followed); durable: flushed to
// the disk first. On failure `path` holds what it held.
Status writeResultsFile(const std::string& path, const std::vector<std::string>& lines, bool durable);

}  // namespace velmora
