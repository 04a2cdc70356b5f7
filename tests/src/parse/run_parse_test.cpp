// The engine run against the in-memory services: checks and their order,
// the database question, the engine's start and wait, and what is shown.
#include <gtest/gtest.h>

#include "src/headless/headless_window.h"
#include "src/headless/memory_file_system.h"
#include "src/headless/memory_registry.h"
#include "src/headless/scripted_processes.h"
#include "src/headless/scripted_prompts.h"
#include "src/parse/database_exists_dialog.h"
#include "tests/src/parse/fake_parse_form.h"
#include "src/parse/parsing_dialog.h"
#include "src/parse/remembered_values.h"
#include "src/parse/run_parse.h"
#include "src/headless/recorded_audit.h"

namespace velmora::test {
namespace {

const char* const kCaption = "Velmora Data Parser";
const char* const kResults = "c:\\temp\\parseResults.txt";
const char* const kInstallKey = "HKEY_LOCAL_MACHINE\\Software\\Velmora\\TarnParser";

class RunParseTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.inputs = {"E:\\in\\batch.dat", "E:\\cfg\\bank.cfg", ""};
        registry.setString(kInstallKey, "InstallDirectory", "D:\\Tools\\");
        files.directories.insert("c:\\temp");
        engineWrites("12 records parsed\r\n");
    }
    void TearDown() override {
        for (const auto& f : prompts.failures()) ADD_FAILURE() << f;
        EXPECT_EQ(prompts.pending(), 0u) << "expected prompts not shown";
        EXPECT_EQ(registry.openKeyCount(), 0u);
        EXPECT_EQ(processes.openHandleCount(), 0u);
    }
    void engineWrites(const std::string& results) {
        processes.program = [this, results](const std::string&) { files.files[kResults] = results; };
    }
    void run() { runParse(form, prompts, services); }
    bool engineStarted() const { return !processes.commandLines.empty(); }

    FakeForm form;
    ScriptedPrompts prompts;
    MemoryFileSystem files;
    MemoryRegistry registry;
    ScriptedProcesses processes;
    RecordedAudit audit;
    Services services{files, registry, processes, audit};
};

TEST_F(RunParseTest, MissingInputsAreAskedForInOrderAndKeepTheDialogOpen) {
    form.inputs = {"", "", ""};
    prompts.expectAppMessage("Please select a data file");
    run();
    EXPECT_EQ(form.focused, std::vector<std::string>{"data"});

    form.inputs = {"E:\\in\\batch.dat", "", ""};
    prompts.expectAppMessage("Please select a configuration file");
    run();
    EXPECT_EQ(form.focused, (std::vector<std::string>{"data", "config"}));
    EXPECT_EQ(form.closed, 0);
    EXPECT_FALSE(engineStarted());
    EXPECT_TRUE(registry.calls.empty());
}

TEST_F(RunParseTest, RefusedReadBackStopsBeforeAnything) {
    form.refuseReadBack = true;
    run();
    EXPECT_TRUE(prompts.shown().empty());
    EXPECT_FALSE(engineStarted());
    EXPECT_EQ(form.closed, 0);
}

TEST_F(RunParseTest, FreshRunStartsWaitsReportsClosesHandlesAndTheDialog) {
    files.files[kResults] = "stale: 99 records parsed\n";
    prompts.expectMessage("12 records parsed\n", kCaption, MessageIcon::Warning);
    run();
    ASSERT_EQ(processes.commandLines.size(), 1u);
    EXPECT_EQ(processes.commandLines[0],
              "\"D:\\Tools\\ParseTarn.exe\" -o c:\\temp\\parseResults.txt "
              "\"E:\\in\\batch.dat\" \"E:\\cfg\\bank.cfg\" ");
    EXPECT_EQ(processes.log, (std::vector<std::string>{"start", "close 12", "close 4", "close 8"}));
    EXPECT_EQ(form.closed, 1);
    EXPECT_TRUE(files.exists(kResults));                                            // left for the user to read
    EXPECT_EQ(rememberedValue(registry, kLastDatabaseValue), "E:\\in\\batch.mdb");  // for the Results
}

TEST_F(RunParseTest, MissingRegistryValueStartsTheBareEngineName) {
    registry = MemoryRegistry();
    prompts.expectMessage("12 records parsed\n", kCaption, MessageIcon::Warning);
    run();
    ASSERT_EQ(processes.commandLines.size(), 1u);
    EXPECT_EQ(processes.commandLines[0].rfind("ParseTarn.exe -o ", 0), 0u);
}

TEST_F(RunParseTest, WorkingFolderIsCreatedWhenAbsent) {
    files.directories.clear();
    prompts.expectMessage("12 records parsed\n", kCaption, MessageIcon::Warning);
    run();
    EXPECT_TRUE(files.exists("c:\\temp"));
    EXPECT_EQ(form.closed, 1);
}

TEST_F(RunParseTest, WorkingFolderThatCannotBeCreatedStopsTheRun) {
    files.directories.clear();
    files.failDirectoryCreation = true;
    prompts.expectMessage("Couldn't create new directory.", kCaption, MessageIcon::Error);
    run();
    EXPECT_FALSE(engineStarted());
    EXPECT_EQ(form.closed, 0);
}

TEST_F(RunParseTest, AFileNamedLikeTheWorkingFolderIsGoodEnough) {
    files.directories.clear();
    files.files["c:\\temp"] = "";
    files.failDirectoryCreation = true;
    prompts.expectMessage("12 records parsed\n", kCaption, MessageIcon::Warning);
    run();
    EXPECT_EQ(form.closed, 1);
}

// "Overwrite" sets the old database aside under a free name, never the
// operator's own file of that name, and lets it go only for a new one.
TEST_F(RunParseTest, ExistingDatabaseOverwrittenThenSuccessWithoutIcon) {
    files.files["E:\\in\\batch.mdb"] = "old";
    files.files["E:\\in\\batch.mdb.previous"] = "the operator's own";
    processes.program = [this](const std::string&) {
        EXPECT_FALSE(files.exists("E:\\in\\batch.mdb"));
        files.files["E:\\in\\batch.mdb"] = "new";
        files.files[kResults] = "12 records parsed\r\n";
    };
    prompts.expectDialog("Database Exists", kIdCancel, [](HeadlessWindow& w) { w.click(kIdOverwrite); });
    prompts.expectMessage("12 records parsed\n", kCaption, MessageIcon::None);
    run();
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"E:\\in\\batch.mdb", "new"},
                                                               {"E:\\in\\batch.mdb.previous", "the operator's own"},
                                                               {kResults, "12 records parsed\r\n"}}));
    EXPECT_EQ(form.closed, 1);

    // One that something holds open after the run stays, and is reported.
    files.undeletable.insert("E:\\in\\batch.mdb.previous2");
    prompts.expectDialog("Database Exists", kIdOk);
    prompts.expectMessage("12 records parsed\n", kCaption, MessageIcon::None);
    prompts.expectMessage("The earlier database could not be deleted. It is kept as E:\\in\\batch.mdb.previous2",
                          kCaption, MessageIcon::Warning);
    run();
}

TEST_F(RunParseTest, OverwrittenRunThatFailsShowsItsOwnErrorTextAndKeepsTheOldDatabase) {
    files.files["E:\\in\\batch.mdb"] = "old";
    engineWrites("parse failed at record 3\r\n");
    prompts.expectDialog("Database Exists", kIdOk);
    prompts.expectMessage("Error - For more info see c:\\temp\\parseResults.txt", kCaption, MessageIcon::Warning);
    run();
    EXPECT_EQ(rememberedValue(registry, kLastDatabaseValue), "");
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"E:\\in\\batch.mdb", "old"},
                                                               {kResults, "parse failed at record 3\r\n"}}));
    EXPECT_EQ(form.closed, 1);

    // A file in its place after a failure is not the engine's: the old
    // database stays aside, and the operator is told where.
    processes.program = [this](const std::string&) { files.files["E:\\in\\batch.mdb"] = "another's"; };
    prompts.expectDialog("Database Exists", kIdOk);
    prompts.expectMessage("Error opening results file", kCaption, MessageIcon::Warning);
    prompts.expectMessage("The earlier database could not be put back. It is kept as E:\\in\\batch.mdb.previous",
                          kCaption, MessageIcon::Warning);
    run();
    EXPECT_EQ(files.files["E:\\in\\batch.mdb.previous"], "old");
}

TEST_F(RunParseTest, CancelInTheDatabaseQuestionStopsQuietly) {
    files.files["E:\\in\\batch.mdb"] = "old";
    prompts.expectDialog("Database Exists", kIdOk, [](HeadlessWindow& w) { w.pressEscape(); });
    run();
    EXPECT_TRUE(files.exists("E:\\in\\batch.mdb"));
    EXPECT_FALSE(engineStarted());
    EXPECT_EQ(form.closed, 0);
    EXPECT_EQ(prompts.shown().size(), 1u);
}

// The last results stay with the database: the operator may still need them.
TEST_F(RunParseTest, DatabaseThatCannotBeDeletedStopsTheRun) {
    files.files[kResults] = "1 records parsed\n";
    auto refused = [this] {
        prompts.expectDialog("Database Exists", kIdOk);
        prompts.expectMessage(
            "Cannot delete database file : There has been a sharing violation.\r\n"
            "The source file may be in use.",
            kCaption, MessageIcon::Error);
        run();
        EXPECT_EQ(files.files[kResults], "1 records parsed\n");
    };
    files.directories.insert("E:\\in\\batch.mdb");  // a folder of that name
    refused();
    files.directories.erase("E:\\in\\batch.mdb");
    files.files["E:\\in\\batch.mdb"] = "old";
    for (auto* protect : {&files.undeletable, &files.unwritable}) {  // held open without delete sharing; read-only
        protect->insert("E:\\in\\batch.mdb");
        refused();
        protect->clear();
    }
    EXPECT_EQ(files.files["E:\\in\\batch.mdb"], "old");
    EXPECT_EQ(files.files.count("E:\\in\\batch.mdb.previous"), 0u);
    EXPECT_FALSE(engineStarted());
    EXPECT_EQ(form.closed, 0);
}

TEST_F(RunParseTest, OutputDatabaseIsTheOneTestedAndSetAsideButNotPassed) {
    form.inputs.outputDatabase = "F:\\db\\out.mdb";
    files.files["E:\\in\\batch.mdb"] = "kept";
    files.files["F:\\db\\out.mdb"] = "old";
    prompts.expectDialog("Database Exists", kIdOk);
    prompts.expectMessage("12 records parsed\n", kCaption, MessageIcon::None);
    run();
    // The engine writes beside the data file, so nothing replaced it: it is back.
    EXPECT_EQ(files.files["F:\\db\\out.mdb"], "old");
    EXPECT_TRUE(files.exists("E:\\in\\batch.mdb"));
    ASSERT_EQ(processes.commandLines.size(), 1u);
    EXPECT_EQ(processes.commandLines[0].find("out.mdb"), std::string::npos);
}

TEST_F(RunParseTest, EngineThatCannotStartOrWritesNothingIsAnOpeningError) {
    processes.failStart = true;
    prompts.expectMessage("Error opening results file", kCaption, MessageIcon::Warning);
    run();
    EXPECT_EQ(form.closed, 1);

    processes.failStart = false;
    processes.program = nullptr;
    prompts.expectMessage("Error opening results file", kCaption, MessageIcon::Warning);
    run();
    EXPECT_EQ(form.closed, 2);
}

TEST_F(RunParseTest, ResultsFileThatSurvivesDeletionStopsBeforeTheDatabaseIsTouched) {
    files.files[kResults] = "1 records parsed\n";
    files.undeletable.insert(kResults);
    files.files["E:\\in\\batch.mdb"] = "old";
    prompts.expectDialog("Database Exists", kIdOk);
    prompts.expectMessage("Cannot delete results file c:\\temp\\parseResults.txt\r\nThe file may be in use.", kCaption,
                          MessageIcon::Error);
    run();
    EXPECT_EQ(files.files["E:\\in\\batch.mdb"], "old");  // back in its place
    EXPECT_EQ(files.files.count("E:\\in\\batch.mdb.previous"), 0u);

    // Where it cannot go back, the operator is told where it is.
    files.undeletable.insert("E:\\in\\batch.mdb.previous");
    prompts.expectDialog("Database Exists", kIdOk);
    prompts.expectMessage("Cannot delete results file c:\\temp\\parseResults.txt\r\nThe file may be in use.", kCaption,
                          MessageIcon::Error);
    prompts.expectMessage("The earlier database could not be put back. It is kept as E:\\in\\batch.mdb.previous",
                          kCaption, MessageIcon::Warning);
    run();
    EXPECT_FALSE(engineStarted());
    EXPECT_EQ(form.closed, 0);
}

TEST_F(RunParseTest, CancelledRunKeepsTheDialogOpenUnlessTheEngineHadFinishedFirst) {
    processes.endsAfter = std::nullopt;
    files.files["E:\\in\\batch.mdb"] = "old";
    prompts.expectDialog("Database Exists", kIdOk);
    prompts.expectDialog("Parsing", kIdOk, [](HeadlessWindow& w) {
        w.click(kIdCancel);
        w.elapse(kIdParsingTimer);
    });
    prompts.expectMessage("The parse was cancelled. No database was written.", kCaption, MessageIcon::Warning);
    run();
    EXPECT_EQ(form.closed, 0);
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"E:\\in\\batch.mdb", "old"}}));
    files.files.clear();

    // Its database is written: the run is reported as any other.
    processes.endsAfter = 1000;
    prompts.expectDialog("Parsing", kIdOk, [this](HeadlessWindow& w) {
        processes.pass(1000);
        w.click(kIdCancel);
        w.elapse(kIdParsingTimer);
    });
    prompts.expectMessage("12 records parsed\n", kCaption, MessageIcon::Warning);
    run();
    EXPECT_EQ(form.closed, 1);
}

TEST_F(RunParseTest, EmptyResultsFileIsAFailure) {
    engineWrites("");
    prompts.expectMessage("Error- For more info see c:\\temp\\parseResults.txt", kCaption, MessageIcon::Warning);
    run();
    EXPECT_EQ(form.closed, 1);
}

TEST_F(RunParseTest, OnlyTheFirstLineCountsAndZeroRecordsIsASuccess) {
    engineWrites("Warnings follow\r\n3 records parsed\r\n");
    prompts.expectMessage("Error- For more info see c:\\temp\\parseResults.txt", kCaption, MessageIcon::Warning);
    run();
    engineWrites("0 records parsed");
    prompts.expectMessage("0 records parsed", kCaption, MessageIcon::Warning);
    run();
    std::string longLine = std::string(85, '.') + "records parsed" + std::string(21, '.');
    engineWrites(longLine + "\r\n");
    prompts.expectMessage(longLine.substr(0, 99), kCaption, MessageIcon::Warning);
    run();
    engineWrites("5 Records Parsed\r\n");
    prompts.expectMessage("Error- For more info see c:\\temp\\parseResults.txt", kCaption, MessageIcon::Warning);
    run();
}

}  // namespace
}  // namespace velmora::test
