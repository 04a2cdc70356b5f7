#pragma once
// Running the engine and waiting for it to end: at first without a window,
// so that a short run shows none, then in the "Parsing" window, which keeps
// every window painted and lets the operator cancel the run.
#include <string>

#include "src/toolkit/processes.h"
#include "src/toolkit/prompts.h"

namespace velmora {

enum class EngineEnd {
    NotStarted,
    Ended,      // on its own
    Cancelled,  // the operator cancelled it; it has ended
};

// How long a run may take and still show no window.
constexpr unsigned kQuietMilliseconds = 500;

// Returns once the engine has ended; every handle of the run is closed.
EngineEnd runEngine(Prompts& prompts, Processes& processes, const std::string& commandLine,
                    const std::string& dataFile);

}  // namespace velmora
