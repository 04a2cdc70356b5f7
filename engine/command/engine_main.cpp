#include "engine/command/engine_main.h"

#include <new>

#include "format/config/database_path.h"
#include "engine/run/data_file_parse.h"
#include "engine/command/engine_arguments.h"
#include "engine/os/engine_os.h"
#include "engine/odbc/odbc_connection.h"
#include "engine/storage/output_paths.h"
#include "engine/command/results_report.h"
#include "engine/command/suggest_command.h"

namespace velmora {

namespace {

// Writes the results file when there is one; on failure the path keeps
// what it held.
bool writeResults(const EngineArguments& a, const RunOutcome& outcome, bool durable, std::string& error) {
    if (!a.hasResults) return true;
    return writeResultsFile(a.resultsPath, resultsLines(outcome), durable, error);
}

void show(const RunOutcome& outcome, std::ostream& console) {
    for (const std::string& line : resultsLines(outcome)) console << line << "\n";
    console.flush();
}

RunOutcome failure(const EngineArguments& a, const std::string& why) {
    RunOutcome outcome;
    outcome.dataPath = a.dataPath;
    outcome.configPath = a.configPath;
    outcome.failure = why;
    return outcome;
}

// Ends a run that could not go on: says why, and writes it when it can
// (short of memory, perhaps not even that).
int failed(const EngineArguments& a, const std::string& why, std::ostream& console) noexcept {
    try {
        const RunOutcome outcome = failure(a, why);
        show(outcome, console);
        std::string error;
        if (!writeResults(a, outcome, true, error)) console << error << std::endl;
    } catch (...) {
    }
    return ExitFailed;
}

int run(EngineArguments& a, std::ostream& console, RecordLimits limits) {
    // A database server is named by its data source alone, never by the
    // connection string with its password.
    const bool server = !a.connection.empty();
    const std::string database = server               ? std::string()
                                 : a.dataPath.empty() ? a.databasePath
                                                      : deriveDatabasePath(a.dataPath, a.databasePath);
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
    if (usage.empty() && !a.dataPath.empty() && !server) usage = databaseClash(a.dataPath, a.configPath, database);
    if (!usage.empty()) {
        RunOutcome outcome = failure(a, "usage: " + usage);
        console << "ParseTarn: " << usage << "\n" << kEngineUsage;
        show(outcome, console);
        std::string error;
        a.hasResults = resultsAllowed;
        if (!writeResults(a, outcome, true, error)) console << error << std::endl;
        return ExitUsage;
    }

    // From now on a run that ends in any way, however hard, leaves a
    // failure at the results path, never an earlier run's success.
    std::string error;
    if (!writeResults(a, failure(a, "the run did not finish"), false, error)) {
        show(failure(a, error), console);
        return ExitFailed;
    }

    ParseRequest request;
    request.dataPath = a.dataPath;
    request.configPath = a.configPath;
    request.databasePath = server ? dataSourceName(a.connection) : database;
    request.connection = a.connection;
    request.table = a.table;
    request.limits = limits;
    request.console = &console;
    // The results come before the database takes its place: a database is
    // never put in place by a run that could not say so.
    bool reportedSuccess = false;
    request.beforePublishing = [&](const RunOutcome& outcome, std::string& why) {
        return reportedSuccess = writeResults(a, outcome, true, why);
    };
    RunOutcome outcome = parseDataFile(request);
    show(outcome, console);
    if (outcome.completed) return ExitCompleted;
    if (!writeResults(a, outcome, true, error)) {
        console << error << std::endl;
        // Never leave this run's own success standing for a run that failed.
        if (reportedSuccess) removeFile(a.resultsPath);
    }
    return outcome.usage ? ExitUsage : ExitFailed;
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
    // What the run had begun is undone on the way out (its temporary files
    // removed, the old database kept); then the failure is told.
    try {
        return run(a, console, limits);
    } catch (const std::bad_alloc&) {
        return failed(a, "out of memory", console);
    } catch (const std::exception& e) {
        return failed(a, e.what(), console);
    }
}

}  // namespace velmora
