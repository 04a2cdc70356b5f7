// The "Parse" dialog as the user meets it; runs on both hosts. The engine
// run behind "Parse..." uses in-memory services on both.
#include "src/headless/headless_window.h"
#include "src/headless/memory_file_system.h"
#include "src/headless/memory_registry.h"
#include "src/headless/scripted_processes.h"
#include "src/parse/database_exists_dialog.h"
#include "src/parse/parse_dialog.h"
#include "src/parse/parse_dialog_description.h"
#include "tests/scenarios/scenario_fixture.h"
#include "src/headless/recorded_audit.h"

namespace velmora::test {
namespace {

const char* const kDataFilter = "Data files (*.dat)|*.dat|All Files (*.*)|*.*||";
const char* const kConfigFilter = "Configuration files (*.cfg)|*.cfg||";

class ParseScenario : public ScenarioTest {
protected:
    void SetUp() override {
        files.directories.insert("c:\\temp");
        processes.program = [this](const std::string&) {
            files.files["c:\\temp\\parseResults.txt"] = "4 records parsed\r\n";
        };
        open();
    }
    void open() {
        auto fresh = std::make_unique<ParseDialog>(prompts, services);
        host->open(*fresh);
        dialog = std::move(fresh);
    }
    void browse(int button, const char* filter, const std::string& path) {
        prompts.expectFileDialog(filter, FileChoice{path, path.substr(path.rfind('\\') + 1)});
        host->click(button);
    }
    bool parseEnabled() const { return host->isEnabled(kIdOk); }

    MemoryFileSystem files;
    MemoryRegistry registry;
    ScriptedProcesses processes;
    RecordedAudit audit;
    Services services{files, registry, processes, audit};
    std::unique_ptr<ParseDialog> dialog;
};

TEST_F(ParseScenario, OpensWithEmptyPathsParseDisabledAndTheOutputRowHidden) {
    EXPECT_EQ(host->caption(), "Parse");
    EXPECT_FALSE(parseEnabled());
    for (int id : {kIdDataFileEdit, kIdConfigFileEdit, kIdOutputDatabaseEdit}) EXPECT_EQ(host->text(id), "");
    EXPECT_TRUE(host->isVisible(kIdDataFileEdit));
    EXPECT_TRUE(host->isVisible(kIdBrowseConfigFile));
    EXPECT_FALSE(host->isVisible(kIdOutputDatabaseEdit));
    EXPECT_FALSE(host->isVisible(kIdBrowseOutputDatabase));
    EXPECT_EQ(host->focusedId(), kIdCancel);  // "Parse..." is disabled by then
}

TEST_F(ParseScenario, BrowsingEnablesParseOnlyOnceBothPathsAreChosen) {
    browse(kIdBrowseDataFile, kDataFilter, "E:\\in\\batch.dat");
    EXPECT_EQ(host->text(kIdDataFileEdit), "E:\\in\\batch.dat");
    EXPECT_FALSE(parseEnabled());
    browse(kIdBrowseConfigFile, kConfigFilter, "E:\\cfg\\bank.cfg");
    EXPECT_EQ(host->text(kIdConfigFileEdit), "E:\\cfg\\bank.cfg");
    EXPECT_TRUE(parseEnabled());

    const FileDialogRequest& data = prompts.shown()[0].file;
    EXPECT_EQ(data.kind, FileDialogRequest::Open);
    EXPECT_EQ(data.defaultExtension, "dat");
    EXPECT_EQ(data.flags, unsigned{kFileHideReadOnly | kFilePathMustExist | kFileMustExist});
    EXPECT_EQ(data.initialFileName, "");
    EXPECT_EQ(data.initialFolder, "");
    EXPECT_EQ(prompts.shown()[1].file.defaultExtension, "cfg");
}

TEST_F(ParseScenario, CancelledFileDialogChangesNothing) {
    browse(kIdBrowseDataFile, kDataFilter, "E:\\in\\batch.dat");
    host->type(kIdConfigFileEdit, "c");
    ASSERT_TRUE(parseEnabled());
    prompts.expectFileDialog(kDataFilter, std::nullopt);
    host->click(kIdBrowseDataFile);
    EXPECT_EQ(host->text(kIdDataFileEdit), "E:\\in\\batch.dat");
    EXPECT_TRUE(parseEnabled());
}

TEST_F(ParseScenario, TypingFollowsTheBothBoxesFilledRule) {
    host->type(kIdDataFileEdit, "E:\\in\\batch.dat");
    EXPECT_FALSE(parseEnabled());
    host->type(kIdConfigFileEdit, "x");
    EXPECT_TRUE(parseEnabled());
    host->type(kIdConfigFileEdit, "");
    EXPECT_FALSE(parseEnabled());
    host->type(kIdConfigFileEdit, " ");  // any text counts, blanks too
    EXPECT_TRUE(parseEnabled());
    host->type(kIdDataFileEdit, "");
    EXPECT_FALSE(parseEnabled());
}

TEST_F(ParseScenario, TypingStopsAtTheLimit) {
    host->type(kIdDataFileEdit, std::string(300, 'a'));
    EXPECT_EQ(host->text(kIdDataFileEdit), std::string(255, 'a'));
}

TEST_F(ParseScenario, OverLongChosenPathIsRefusedWhenParseIsPressed) {
    std::string longPath = "E:\\" + std::string(260, 'd') + ".dat";
    browse(kIdBrowseDataFile, kDataFilter, longPath);
    browse(kIdBrowseConfigFile, kConfigFilter, "E:\\cfg\\bank.cfg");
    prompts.expectAppMessage("Please enter no more than 255 characters.");
    host->click(kIdOk);
    EXPECT_FALSE(host->ended());
    EXPECT_EQ(host->focusedId(), kIdDataFileEdit);
    EXPECT_TRUE(processes.commandLines.empty());
}

TEST_F(ParseScenario, EnterRunsTheEngineAndClosesTheDialog) {
    host->type(kIdDataFileEdit, "E:\\in\\batch.dat");
    host->type(kIdConfigFileEdit, "E:\\cfg\\bank.cfg");
    prompts.expectMessage("4 records parsed\n", "Velmora Data Parser", MessageIcon::Warning);
    host->pressEnter();
    ASSERT_TRUE(host->ended());
    EXPECT_EQ(host->result(), kIdOk);
    ASSERT_EQ(processes.commandLines.size(), 1u);
    EXPECT_EQ(processes.commandLines[0],
              "ParseTarn.exe -o c:\\temp\\parseResults.txt \"E:\\in\\batch.dat\" "
              "\"E:\\cfg\\bank.cfg\" ");
}

TEST_F(ParseScenario, EnterDoesNothingWhileParseIsDisabled) {
    host->type(kIdDataFileEdit, "E:\\in\\batch.dat");
    host->pressEnter();
    EXPECT_FALSE(host->ended());
    EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(ParseScenario, CancelledDatabaseQuestionKeepsTheDialogAndItsEntries) {
    files.files["E:\\in\\batch.mdb"] = "old";
    files.files["c:\\temp\\parseResults.txt"] = "Parse failed: the last run's reason\r\n";
    host->type(kIdDataFileEdit, "E:\\in\\batch.dat");
    host->type(kIdConfigFileEdit, "E:\\cfg\\bank.cfg");
    prompts.expectDialog("Database Exists", kIdCancel, [](HeadlessWindow& w) { w.click(kIdCancel); });
    host->click(kIdOk);
    EXPECT_FALSE(host->ended());
    EXPECT_EQ(host->text(kIdDataFileEdit), "E:\\in\\batch.dat");
    EXPECT_TRUE(files.exists("E:\\in\\batch.mdb"));
    EXPECT_TRUE(files.exists("c:\\temp\\parseResults.txt"));  // the last run's, which its messages pointed to
}

TEST_F(ParseScenario, CancelEscapeAndCloseBoxCloseWithoutRunning) {
    host->type(kIdDataFileEdit, "E:\\in\\batch.dat");
    host->type(kIdConfigFileEdit, "E:\\cfg\\bank.cfg");
    host->pressEscape();
    EXPECT_EQ(host->result(), kIdCancel);
    open();
    host->click(kIdCancel);
    EXPECT_EQ(host->result(), kIdCancel);
    open();
    host->closeBox();
    EXPECT_EQ(host->result(), kIdCancel);
    EXPECT_TRUE(processes.commandLines.empty());
}

TEST_F(ParseScenario, ReopeningShowsEmptyBoxesAndHelpDoesNothing) {
    host->type(kIdDataFileEdit, "E:\\in\\batch.dat");
    host->pressF1();
    EXPECT_FALSE(host->ended());
    host->pressEscape();
    open();
    EXPECT_EQ(host->text(kIdDataFileEdit), "");
    EXPECT_FALSE(parseEnabled());
}

}  // namespace
}  // namespace velmora::test
