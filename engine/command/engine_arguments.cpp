#include "engine/command/engine_arguments.h"

#include <utility>

#include "engine/odbc/connection_secrets.h"

namespace velmora {

const char* const kEngineUsage =
    "Usage: ParseTarn [-o RESULTS] [-d DATABASE] DATA CONFIG\n"
    "       ParseTarn [-o RESULTS] --odbc CONNECTION|@FILE --table NAME\n"
    "                 [--odbc-timeout SECONDS] [--again] DATA CONFIG\n"
    "       ParseTarn --suggest DATA\n"
    "       ParseTarn --help | --version\n"
    "Cuts the card data file DATA into records and fields as the configuration\n"
    "CONFIG says and stores them in an SQLite database: DATABASE, or DATA with its\n"
    "extension replaced by .mdb. RESULTS receives the outcome; its first line reads\n"
    "\"N records parsed\" when the run completed, \"Parse failed: ...\" otherwise.\n"
    "--odbc writes the run into the database server that the ODBC connection\n"
    "string CONNECTION names instead, in one transaction; --table names its\n"
    "records table, created when missing. Its other tables are those of the file.\n"
    "@FILE reads the connection string from the first line of FILE, so that no\n"
    "password stands on the command line. A login waits at most SECONDS\n"
    "(default 30). A data file already stored with the same configuration (the\n"
    "same size, last-write time and configuration) is refused unless --again.\n"
    "--suggest writes a configuration suggested from the first 1 MiB of DATA to\n"
    "standard output, as the editor saves one, and the reasons to standard error.\n"
    "Exit status: 0 completed (or suggested), 1 failed (or no suggestion),\n"
    "2 usage error.\n";

namespace {

const char* const kHidden = "(not shown: it holds a password)";

// A name that holds a password (a connection string given where a file
// name belongs, a mistyped option) is refused, and never shown nor made:
// the results file of such a name is not written.
void refusePasswords(EngineArguments& a) {
    if (holdsPassword(a.resultsPath)) a.hasResults = false;
    const std::pair<std::string*, const char*> names[] = {{&a.resultsPath, "-o"},
                                                          {&a.databasePath, "-d"},
                                                          {&a.table, "--table"},
                                                          {&a.dataPath, "the data file name"},
                                                          {&a.configPath, "the configuration file name"}};
    for (const auto& [name, what] : names) {
        if (!holdsPassword(*name)) continue;
        *name = kHidden;
        if (a.usageError.empty())
            a.usageError = std::string(what) + " holds a password: a connection string goes after --odbc only";
    }
}

// Whole seconds from 1 to a day; 0 when the text is none.
unsigned seconds(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
    const unsigned long n = std::stoul(text);
    return n <= 86400 ? static_cast<unsigned>(n) : 0;
}

// What the options and file names given mean together: the first fault
// found is the usage error, where none was found before.
void checkTogether(EngineArguments& a, const std::vector<std::string>& positional) {
    if (!a.usageError.empty()) return;
    if (a.suggest) {
        if (positional.size() != 1 || positional[0].empty() || a.hasResults || !a.databasePath.empty() ||
            !a.connection.empty() || !a.table.empty() || a.again)
            a.usageError = "--suggest takes one data file and no other option";
    } else if (a.connection.empty() != a.table.empty()) {
        a.usageError = a.table.empty() ? "--odbc needs --table" : "--table needs --odbc";
    } else if ((a.hasTimeout || a.again) && a.connection.empty()) {
        a.usageError = a.again ? "--again needs --odbc" : "--odbc-timeout needs --odbc";
    } else if (!a.connection.empty() && !a.databasePath.empty()) {
        a.usageError = "-d and --odbc cannot go together";
    } else if (positional.size() != 2) {
        a.usageError =
            "expected a data file and a configuration file, found " + std::to_string(positional.size()) + " file names";
    } else if (positional[0].empty() || positional[1].empty()) {
        a.usageError = "an empty file name";
    }
}

// The options that take no value.
bool* flagOf(EngineArguments& a, const std::string& arg) {
    const std::pair<const char*, bool*> flags[] = {
        {"--help", &a.help}, {"--version", &a.version}, {"--suggest", &a.suggest}, {"--again", &a.again}};
    for (const auto& [name, flag] : flags)
        if (arg == name) return flag;
    return nullptr;
}

}  // namespace

EngineArguments parseEngineArguments(const std::vector<std::string>& args) {
    EngineArguments a;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-') {
            positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (bool* flag = flagOf(a, arg)) {
            *flag = true;
        } else if (arg == "--odbc-timeout") {
            const unsigned n = i + 1 < args.size() ? seconds(args[++i]) : 0;
            if (n == 0 && a.usageError.empty()) a.usageError = "--odbc-timeout needs whole seconds from 1 to 86400";
            if (n != 0) a.timeoutSeconds = n;
            a.hasTimeout = true;
        } else if (arg == "-o" || arg == "-d" || arg == "--odbc" || arg == "--table") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                if (a.usageError.empty())
                    a.usageError = arg + (arg == "--odbc"    ? " needs a connection string"
                                          : arg == "--table" ? " needs a table name"
                                                             : " needs a file name");
                continue;
            }
            std::string& target = arg == "-o"       ? a.resultsPath
                                  : arg == "-d"     ? a.databasePath
                                  : arg == "--odbc" ? a.connection
                                                    : a.table;
            if (!target.empty() && a.usageError.empty()) a.usageError = arg + " is given twice";
            target = args[++i];
            if (arg == "-o") a.hasResults = true;
        } else if (a.usageError.empty()) {
            a.usageError = "unknown option " + (holdsPassword(arg) ? std::string(kHidden) : arg);
        }
    }
    if (positional.size() > 0) a.dataPath = positional[0];
    if (positional.size() > 1) a.configPath = positional[1];
    for (size_t k = 2; k < positional.size(); ++k)
        if (holdsPassword(positional[k]) && a.usageError.empty())
            a.usageError = "a file name holds a password: a connection string goes after --odbc only";
    refusePasswords(a);
    if (!a.help && !a.version) checkTogether(a, positional);
    return a;
}

}  // namespace velmora
