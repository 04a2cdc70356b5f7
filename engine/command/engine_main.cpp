#include "engine/command/engine_main.h"

#include <new>

#include "format/config/database_path.h"
#include "engine/run/data_file_parse.h"
#include "engine/command/engine_arguments.h"
#include "engine/os/engine_os.h"
#include "engine/odbc/connection_file.h"
#include "engine/odbc/odbc_connection.h"
#include "engine/storage/output_paths.h"
#include "engine/command/results_report.h"
#include "engine/command/suggest_command.h"

namespace velmora {

namespace {

// Writes the results file when there is one; on failure the path keeps
// what it held.
Status writeResults(const EngineArguments& a, const RunOutcome& outcome, bool durable) {
    if (!a.hasResults) return {};
    return writeResultsFile(a.resultsPath, resultsLines(outcome), durable);
}

void show(const RunOutcome& outcome, std::ostream& console) {
    for (const std::string& line : resultsLines(outcome)) console << line << "\n";
    console.flush();
}

// A results file that could not be written says so on the console.
void tell(const Status& written, std::ostream& console) {
    if (!written) console << written.failure() << std::endl;
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
        tell(writeResults(a, outcome, true), console);
    } catch (...) {
    }
    return ExitFailed;
}

// The database the run writes: a file's path, or none for a server.
std::string databaseOf(const EngineArguments& a) {
    if (!a.connection.empty()) return std::string();
    return a.dataPath.empty() ? a.databasePath : deriveDatabasePath(a.dataPath, a.databasePath);
}

// The command line's usage error: its own, or outputs that would land on an
// input, or on each other, which make it as wrong. A results file that is
// itself what would land where it must not is not written then.
Status usageOf(EngineArguments& a, const std::string& database) {
    Status usage = a.usageError.empty() ? Status() : fail(a.usageError);
    if (a.hasResults) {
        if (Status apart = resultsClearOfOthers(a.resultsPath, a.dataPath, a.configPath, database); !apart) {
            a.hasResults = false;
            if (usage) usage = apart;
        }
    }
    if (usage && !a.dataPath.empty() && a.connection.empty())
        usage = databaseClearOfInputs(a.dataPath, a.configPath, database);
    return usage;
}

// The results file is written for a usage error too, when it may be.
int refuseUsage(const EngineArguments& a, const std::string& usage, std::ostream& console) {
    const RunOutcome outcome = failure(a, "usage: " + usage);
    console << "ParseTarn: " << usage << "\n" << kEngineUsage;
    show(outcome, console);
    tell(writeResults(a, outcome, true), console);
    return ExitUsage;
}

ParseRequest requestOf(const EngineArguments& a, const std::string& database, std::ostream& console,
                       RecordLimits limits) {
    ParseRequest request;
    request.dataPath = a.dataPath;
    request.configPath = a.configPath;
    // A database server is named by its data source alone, never by the
    // connection string with its password.
    request.databasePath = a.connection.empty() ? database : dataSourceName(a.connection);
    request.connection = a.connection;
    request.table = a.table;
    request.timeoutSeconds = a.timeoutSeconds;
    request.again = a.again;
    request.limits = limits;
    request.console = &console;
    return request;
}

int run(EngineArguments& a, std::ostream& console, RecordLimits limits) {
    const std::string database = databaseOf(a);
    if (Status usage = usageOf(a, database); !usage) return refuseUsage(a, usage.failure(), console);

    // From now on a run that ends in any way, however hard, leaves a
    // failure at the results path, never an earlier run's success.
    if (Status marked = writeResults(a, failure(a, "the run did not finish"), false); !marked) {
        show(failure(a, marked.failure()), console);
        return ExitFailed;
    }

    if (Status read = readConnectionFile(a.connection); !read) return failed(a, read.failure(), console);
    ParseRequest request = requestOf(a, database, console, limits);
    // The results come before the database takes its place: a database is
    // never put in place by a run that could not say so.
    bool reportedSuccess = false;
    request.beforePublishing = [&](const RunOutcome& outcome) {
        Status written = writeResults(a, outcome, true);
        reportedSuccess = written.ok();
        return written;
    };
    const RunOutcome outcome = parseDataFile(request);
    show(outcome, console);
    if (outcome.completed) return ExitCompleted;
    if (Status written = writeResults(a, outcome, true); !written) {
        console << written.failure() << std::endl;
        // Never leave this run's own success standing for a run that failed.
        if (reportedSuccess) removeFile(a.resultsPath);
    }
    return outcome.usage ? ExitUsage : ExitFailed;
}

}  // namespace

int parseTarnMain(const std::vector<std::string>& args, std::ostream& console, RecordLimits limits,
                  std::ostream& errors) {
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
