#include "src/parse/engine_wait.h"

#include "src/parse/parsing_dialog.h"
#include "src/parse/running_engine.h"

namespace velmora {

namespace {

constexpr unsigned kQuietStep = 50;

}  // namespace

EngineEnd runEngine(Prompts& prompts, Processes& processes, const std::string& commandLine,
                    const std::string& dataFile) {
    std::optional<StartedProcess> started = processes.start(commandLine);
    if (!started) return EngineEnd::NotStarted;
    RunningEngine engine(processes, *started);
    // In steps, reading its output: a full pipe would hold the engine up.
    for (unsigned waited = 0; waited < kQuietMilliseconds; waited += kQuietStep)
        if (engine.poll(kQuietStep)) return EngineEnd::Ended;

    ParsingDialog parsing(prompts, engine, dataFile);
    prompts.runModal(parsing);
    // Only a window that could not be shown leaves the engine running: the
    // wait goes on without one, as it must not leave the engine behind.
    while (!engine.ended()) engine.poll(kParsingTickMilliseconds);
    return parsing.cancelled() ? EngineEnd::Cancelled : EngineEnd::Ended;
}

}  // namespace velmora
