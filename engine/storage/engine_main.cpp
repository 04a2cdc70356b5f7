#include "engine/storage/engine_main.h"

#include "config/database_path.h"
#include "engine/storage/data_file_parse.h"
#include "engine/storage/engine_arguments.h"
#include "engine/storage/engine_os.h"
#include "engine/storage/output_paths.h"
#include "engine/storage/results_report.h"
#include "engine/storage/suggest_command.h"

namespace velmora {

namespace {

// Writes the results file when there is one; on failure none is left
// behind half written.
bool writeResults(const EngineArguments& a, const RunOutcome& outcome, std::string& error) {
    if (!a.hasResults) return true;
    return writeResultsFile(a.resultsPath, resultsLines(outcome), error);
}

void show(const RunOutcome& outcome, std::ostream& console) {
    for (const std::string& line : resultsLines(outcome)) console << line << "\n";
    console.flush();
}

}  // namespace

int runEngine(const std::vector<std::string>& args, std::ostream& console, RecordLimits limits, std::ostream& errors) {
    EngineArguments a = parseEngineArguments(args);
    if (a.help) {
        console << kEngineUsage;
        return a.usageError.empty() ? ExitCompleted : ExitUsage;
    }
    if (a.version) {
        console << "ParseTarn " << kEngineVersion << "\n";
        return a.usageError.empty() ? ExitCompleted : ExitUsage;
    }
    if (a.suggest) {
        if (a.usageError.empty()) return runSuggestion(a.dataPath, console, errors);
        errors << "ParseTarn: " << a.usageError << "\n" << kEngineUsage;
        return ExitUsage;
    }

    const std::string database = a.dataPath.empty() ? a.databasePath : deriveDatabasePath(a.dataPath, a.databasePath);
    // Outputs that would land on an input, or on each other, make the command
    // line wrong like any other usage error. The results file is written
    // then too, unless it is itself what would land where it must not.
    std::string usage = a.usageError;
    bool resultsAllowed = a.hasResults;
    if (a.hasResults) {
        std::string clash = resultsClash(a.resultsPath, a.dataPath, a.configPath, database);
        if (!clash.empty()) {
            resultsAllowed = false;
            if (usage.empty()) usage = clash;
        }
    }
    if (usage.empty() && !a.dataPath.empty()) usage = databaseClash(a.dataPath, a.configPath, database);
    if (!usage.empty()) {
        RunOutcome outcome;
        outcome.dataPath = a.dataPath;
        outcome.configPath = a.configPath;
        outcome.failure = "usage: " + usage;
        console << "ParseTarn: " << usage << "\n" << kEngineUsage;
        show(outcome, console);
        std::string error;
        a.hasResults = resultsAllowed;
        if (!writeResults(a, outcome, error)) console << error << std::endl;
        return ExitUsage;
    }

    ParseRequest request;
    request.dataPath = a.dataPath;
    request.configPath = a.configPath;
    request.databasePath = database;
    request.limits = limits;
    request.console = &console;
    // The results come before the database takes its place: a database is
    // never put in place by a run that could not say so.
    bool reportedSuccess = false;
    request.beforePublishing = [&](const RunOutcome& outcome, std::string& error) {
        return reportedSuccess = writeResults(a, outcome, error);
    };
    RunOutcome outcome = parseDataFile(request);
    show(outcome, console);
    if (outcome.completed) return ExitCompleted;
    std::string error;
    if (!writeResults(a, outcome, error)) {
        console << error << std::endl;
        // Never leave this run's own success standing for a run that failed.
        if (reportedSuccess) removeFile(a.resultsPath);
    }
    return ExitFailed;
}

}  // namespace velmora
