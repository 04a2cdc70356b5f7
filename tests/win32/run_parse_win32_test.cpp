// The engine run end to end on the real machine: the install folder from
// the real registry, "c:\temp", the real "Database Exists" dialog, a child
// process standing in for the engine, and the outcome in a real message box.
#include <gtest/gtest.h>

#include "parse/database_exists_dialog.h"
#include "parse/fake_parse_form.h"
#include "parse/run_parse.h"
#include "win32/win32_prompts.h"
#include "win32/win32_string_table.h"
#include "win32/win32_services.h"
#include "win32/win32_test_support.h"

namespace velmora {
namespace {

using testing::BoxAnswerer;
using testing::ScratchFolder;

const char* const kResults = "c:\\temp\\parseResults.txt";

class RunParseWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        // A folder whose name holds a blank, left unquoted on the command line.
        ASSERT_TRUE(CopyFileA((testing::programFolder() + "engine_double.exe").c_str(),
                              (engine / "ParseTarn.exe").c_str(), FALSE));
        installDirectory.set(engine.path() + "\\");
        DeleteFileA(kResults);
        RemoveDirectoryA("c:\\temp");  // only when empty: then its creation is tested
        testing::writeTextFile(data / "batch.dat", "3 records parsed\r\nrest\r\n");
        testing::writeTextFile(data / "bank.cfg", "fixedLength=10\r\n");
        form.inputs = {data / "batch.dat", data / "bank.cfg", ""};
    }
    void TearDown() override {
        for (const auto& box : answerer.unexpected()) ADD_FAILURE() << "unexpected " << box;
        EXPECT_EQ(answerer.pending(), 0u) << "answers left unused";
    }
    void run() { runParse(form, prompts, services.services()); }

    ScratchFolder engine{"velmora engine"};
    ScratchFolder data{"velmora data"};
    testing::EngineFolderValue installDirectory;
    Win32Services services;
    Win32StringTable strings;
    Win32Prompts prompts{strings};
    FakeForm form;
    BoxAnswerer answerer;
};

TEST_F(RunParseWin32Test, FreshDatabaseRunsTheEngineAndShowsItsFirstLineWithAWarningIcon) {
    answerer.press(IDOK);
    run();
    EXPECT_TRUE(testing::pathExists("c:\\temp"));
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "Velmora Data Parser");
    EXPECT_EQ(answerer.seen()[0].text, "3 records parsed\n");
    EXPECT_EQ(answerer.seen()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(form.closed, 1);
    // The engine got the data and configuration paths as given.
    std::string results = testing::readTextFile(kResults);
    EXPECT_NE(results.find("arg: " + (data / "batch.dat") + "\r\n"), std::string::npos) << results;
    EXPECT_NE(results.find("arg: " + (data / "bank.cfg") + "\r\n"), std::string::npos) << results;
}

// The old database is set aside, not deleted, while the engine runs; this
// engine writes none, so it is back afterwards.
TEST_F(RunParseWin32Test, ExistingDatabaseOverwrittenAfterTheQuestion) {
    testing::writeTextFile(data / "batch.mdb", "old database");
    testing::writeTextFile(data / "batch.mdb.previous", "the operator's own");
    answerer.press(kIdOverwrite).press(IDOK);
    run();
    ASSERT_EQ(answerer.seen().size(), 2u);
    EXPECT_EQ(answerer.seen()[0].caption, "Database Exists");
    EXPECT_EQ(answerer.seen()[0].text, "Database already exists.  What would you like to do?");
    EXPECT_EQ(testing::readTextFile(data / "batch.mdb"), "old database");
    EXPECT_EQ(testing::readTextFile(data / "batch.mdb.previous"), "the operator's own");
    EXPECT_FALSE(testing::pathExists(data / "batch.mdb.previous2"));
    EXPECT_EQ(answerer.seen()[1].text, "3 records parsed\n");
    EXPECT_EQ(answerer.seen()[1].icon, MessageIcon::None);
    EXPECT_EQ(form.closed, 1);
}

TEST_F(RunParseWin32Test, CancelledQuestionKeepsTheDatabaseAndRunsNothing) {
    testing::writeTextFile(data / "batch.mdb", "old database");
    answerer.press(IDCANCEL);
    run();
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "Database Exists");
    EXPECT_EQ(testing::readTextFile(data / "batch.mdb"), "old database");
    EXPECT_FALSE(testing::pathExists(kResults));
    EXPECT_EQ(form.closed, 0);
}

TEST_F(RunParseWin32Test, EngineFailureIsReportedFromTheResultsFile) {
    testing::writeTextFile(data / "batch.dat", "Records Parsed: none\r\n");
    answerer.press(IDOK);
    run();
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].text, "Error- For more info see c:\\temp\\parseResults.txt");
    EXPECT_EQ(answerer.seen()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(form.closed, 1);
}

TEST_F(RunParseWin32Test, WithoutTheRegistryValueTheBareEngineNameIsNotFound) {
    installDirectory.remove();
    answerer.press(IDOK);
    run();
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].text, "Error opening results file");
    EXPECT_EQ(answerer.seen()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(form.closed, 1);
}

}  // namespace
}  // namespace velmora
