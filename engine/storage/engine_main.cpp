#include "engine/storage/engine_main.h"

#include "engine/storage/data_file_parse.h"
#include "engine/storage/engine_arguments.h"
#include "engine/storage/engine_os.h"
#include "engine/storage/results_report.h"
#include "config/database_path.h"

namespace velmora {

namespace {

// The results file must never replace an input.
bool resultsOverwriteInput(const EngineArguments& a) {
    for (const std::string* input : {&a.dataPath, &a.configPath})
        if (!input->empty() && (*input == a.resultsPath || sameFile(*input, a.resultsPath))) return true;
    return false;
}

int report(const EngineArguments& a, const RunOutcome& outcome, std::ostream& console) {
    std::vector<std::string> lines = resultsLines(outcome);
    for (const std::string& line : lines) console << line << "\n";
    console.flush();
    if (a.hasResults) {
        std::string error;
        if (!writeResultsFile(a.resultsPath, lines, error)) {
            console << error << std::endl;
            return ExitFailed;
        }
    }
    return outcome.completed ? ExitCompleted : ExitFailed;
}

}  // namespace

int runEngine(const std::vector<std::string>& args, std::ostream& console, RecordLimits limits) {
    EngineArguments a = parseEngineArguments(args);
    if (a.help) {
        console << kEngineUsage;
        return a.usageError.empty() ? ExitCompleted : ExitUsage;
    }
    if (a.version) {
        console << "ParseTarn " << kEngineVersion << "\n";
        return a.usageError.empty() ? ExitCompleted : ExitUsage;
    }
    if (a.hasResults && resultsOverwriteInput(a)) {
        console << "ParseTarn: the results file " << a.resultsPath << " is an input file; nothing written\n";
        return ExitUsage;
    }
    if (!a.usageError.empty()) {
        RunOutcome outcome;
        outcome.dataPath = a.dataPath;
        outcome.configPath = a.configPath;
        outcome.failure = "usage: " + a.usageError;
        console << "ParseTarn: " << a.usageError << "\n" << kEngineUsage;
        report(a, outcome, console);
        return ExitUsage;
    }

    ParseRequest request;
    request.dataPath = a.dataPath;
    request.configPath = a.configPath;
    request.databasePath = deriveDatabasePath(a.dataPath, a.databasePath);
    request.limits = limits;
    request.console = &console;
    return report(a, parseDataFile(request), console);
}

}  // namespace velmora
