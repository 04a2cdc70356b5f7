#include "src/parse/run_parse.h"

#include <optional>

#include "src/parse/database_exists_dialog.h"
#include "format/config/database_path.h"
#include "src/parse/engine_command_line.h"
#include "src/parse/engine_outcome.h"
#include "src/parse/engine_wait.h"
#include "src/parse/registry_string.h"
#include "src/parse/remembered_values.h"

namespace velmora {

const char* const kEngineRegistryValue = "HKEY_LOCAL_MACHINE\\Software\\Velmora\\TarnParser\\InstallDirectory";

namespace {

const char* const kWorkFolder = "c:\\temp";
const char* const kWorkFolderToCreate = "c:\\temp\\";

void showMessage(Prompts& prompts, const std::string& text, MessageIcon icon) {
    prompts.messageBox(text, kAppTitle, icon, MessageButtons::Ok);
}

// The engine runs only when the outcome it writes can be told apart from
// an earlier run's: a results file that survives deletion would be shown
// as this run's.
bool clearResultsFile(FileSystem& files) { return files.deleteFile(kResultsFile) || !files.exists(kResultsFile); }

void showCannotDeleteDatabase(Prompts& prompts) {
    showMessage(prompts,
                // The blank before the colon is the system's own.
                "Cannot delete database file : There has been a sharing violation.\r\n"
                "The source file may be in use.",
                MessageIcon::Error);
}

// "Overwrite" sets the old database aside under a free name beside it
// instead of deleting it: the operator loses it only to a run that wrote a
// new one, never to a run that failed or was cancelled. A database in use
// cannot be set aside, as it could not be deleted.
std::optional<std::string> setDatabaseAside(FileSystem& files, const std::string& database) {
    return files.moveBeside(database, ".previous");
}

// After the run: when nothing new took its place, the old database goes
// back; a completed run's new database lets it go. (A database at the path
// after a failed run is not the engine's; both then stay.) false when the
// old database is still aside.
bool settleDatabaseAside(FileSystem& files, const std::string& aside, const std::string& database, bool completed) {
    if (!files.exists(database))
        files.moveFile(aside, database);
    else if (completed)
        files.deleteFile(aside);
    return !files.exists(aside);
}

// Never left behind unsaid: the operator may want it, or its room.
void showKeptAside(Prompts& prompts, const std::string& aside, bool replaced) {
    showMessage(prompts,
                std::string("The earlier database could not be ") + (replaced ? "deleted" : "put back") +
                    ". It is kept as " + aside,
                MessageIcon::Warning);
}

// One press of Parse, in the order its steps must come; each step that
// stops the run has told the operator why.
struct ParseRun {
    ParseForm& form;
    Prompts& prompts;
    const Services& services;
    ParseInputs inputs;
    std::string database;
    std::optional<std::string> aside;  // the earlier database, set aside

    bool readInputs();
    bool makeWorkFolder();
    bool setEarlierDatabaseAside();
    bool clearResults();
    void runEngineAndReport(const std::string& commandLine);
};

bool ParseRun::readInputs() {
    if (!form.readBack(inputs)) return false;
    if (inputs.dataFile.empty()) {
        prompts.appMessage("Please select a data file");
        form.focusDataFile();
        return false;
    }
    if (inputs.configFile.empty()) {
        prompts.appMessage("Please select a configuration file");
        form.focusConfigFile();
        return false;
    }
    return true;
}

bool ParseRun::makeWorkFolder() {
    FileSystem& files = services.files;
    if (files.exists(kWorkFolder) || files.createDirectory(kWorkFolderToCreate)) return true;
    showMessage(prompts, "Couldn't create new directory.", MessageIcon::Error);
    return false;
}

// Nothing is cleared before the operator has said the run may go ahead: a
// Cancel keeps the results of the last run, which its messages point to.
// The database goes aside before the results file is cleared: a database
// held open by another program refuses the run, and the last results stay
// with it.
bool ParseRun::setEarlierDatabaseAside() {
    FileSystem& files = services.files;
    if (!files.exists(database)) return true;
    int answer;
    {
        DatabaseExistsDialog question(prompts);
        answer = prompts.runModal(question);
    }
    if (answer != kIdOk) return false;
    // A read-only database, or a folder, could be renamed but never
    // deleted: the operator protected it.
    if (files.deletable(database)) aside = setDatabaseAside(files, database);
    if (!aside) showCannotDeleteDatabase(prompts);
    return aside.has_value();
}

bool ParseRun::clearResults() {
    if (clearResultsFile(services.files)) return true;
    showMessage(prompts, std::string("Cannot delete results file ") + kResultsFile + "\r\nThe file may be in use.",
                MessageIcon::Error);
    if (aside && !settleDatabaseAside(services.files, *aside, database, false)) showKeptAside(prompts, *aside, false);
    return false;
}

void ParseRun::runEngineAndReport(const std::string& commandLine) {
    FileSystem& files = services.files;
    const DatabaseStyle style = aside ? DatabaseStyle::Overwritten : DatabaseStyle::Fresh;
    EngineEnd end = runEngine(prompts, services.processes, commandLine, inputs.dataFile);

    auto content = files.readFile(kResultsFile);
    const bool succeeded = content && engineOutcome(firstResultsLine(*content), style).success;
    const bool keptAside = aside && !settleDatabaseAside(files, *aside, database, succeeded);
    if (succeeded) rememberValue(services.registry, kLastDatabaseValue, database);
    // A Cancel that came once the engine had finished changes nothing: its
    // database is written and reported as usual.
    const bool cancelled = end == EngineEnd::Cancelled && !succeeded;
    if (cancelled) {
        showMessage(prompts, "The parse was cancelled. No database was written.", MessageIcon::Warning);
    } else if (!content) {
        showMessage(prompts, "Error opening results file", MessageIcon::Warning);
    } else {
        EngineOutcome outcome = engineOutcome(firstResultsLine(*content), style);
        showMessage(prompts, outcome.text, outcome.icon);
    }
    if (keptAside) showKeptAside(prompts, *aside, succeeded);
    if (!cancelled) form.closeAccepted();
}

}  // namespace

void runParse(ParseForm& form, Prompts& prompts, const Services& services) {
    ParseRun run{form, prompts, services, {}, {}, {}};
    if (!run.readInputs()) return;
    const ParseInputs& inputs = run.inputs;
    std::string installDirectory = readRegistryString(services.registry, kEngineRegistryValue);
    std::string commandLine = buildEngineCommandLine(installDirectory, inputs.dataFile, inputs.configFile);
    run.database = deriveDatabasePath(inputs.dataFile, inputs.outputDatabase);
    if (!run.makeWorkFolder() || !run.setEarlierDatabaseAside() || !run.clearResults()) return;
    run.runEngineAndReport(commandLine);
}

}  // namespace velmora
