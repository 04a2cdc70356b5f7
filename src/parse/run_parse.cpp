#include "parse/run_parse.h"

#include "parse/database_exists_dialog.h"
#include "config/database_path.h"
#include "parse/engine_command_line.h"
#include "parse/engine_outcome.h"
#include "parse/engine_wait.h"
#include "parse/registry_string.h"

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

}  // namespace

void runParse(ParseForm& form, Prompts& prompts, const Services& services) {
    ParseInputs inputs;
    if (!form.readBack(inputs)) return;
    if (inputs.dataFile.empty()) {
        prompts.appMessage("Please select a data file");
        form.focusDataFile();
        return;
    }
    if (inputs.configFile.empty()) {
        prompts.appMessage("Please select a configuration file");
        form.focusConfigFile();
        return;
    }

    std::string installDirectory = readRegistryString(services.registry, kEngineRegistryValue);
    std::string commandLine = buildEngineCommandLine(installDirectory, inputs.dataFile, inputs.configFile);
    std::string database = deriveDatabasePath(inputs.dataFile, inputs.outputDatabase);

    FileSystem& files = services.files;
    if (!files.exists(kWorkFolder) && !files.createDirectory(kWorkFolderToCreate)) {
        showMessage(prompts, "Couldn't create new directory.", MessageIcon::Error);
        return;
    }

    if (!clearResultsFile(files)) {
        showMessage(prompts, std::string("Cannot delete results file ") + kResultsFile + "\r\nThe file may be in use.",
                    MessageIcon::Error);
        return;
    }

    DatabaseStyle style = DatabaseStyle::Fresh;
    if (files.exists(database)) {
        int answer;
        {
            DatabaseExistsDialog question(prompts);
            answer = prompts.runModal(question);
        }
        if (answer != kIdOk) return;
        if (!files.deleteFile(database)) {
            showMessage(prompts,
                        "Cannot delete database file : There has been a sharing violation.\r\n"
                        "The source file may be in use.",
                        MessageIcon::Error);
            return;
        }
        style = DatabaseStyle::Overwritten;
    }

    EngineEnd end = runEngine(prompts, services.processes, commandLine, inputs.dataFile);

    auto content = files.readFile(kResultsFile);
    // A Cancel that came once the engine had finished changes nothing: its
    // database is written and reported as usual.
    if (end == EngineEnd::Cancelled && !(content && engineOutcome(firstResultsLine(*content), style).success)) {
        showMessage(prompts, "The parse was cancelled. No database was written.", MessageIcon::Warning);
        return;
    }
    if (!content) {
        showMessage(prompts, "Error opening results file", MessageIcon::Warning);
    } else {
        EngineOutcome outcome = engineOutcome(firstResultsLine(*content), style);
        showMessage(prompts, outcome.text, outcome.icon);
    }

    form.closeAccepted();
}

}  // namespace velmora
