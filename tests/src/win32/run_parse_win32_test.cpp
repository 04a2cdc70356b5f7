// The engine run end to end on the real machine: the install folder from
// the real registry, "c:\temp", the real "Database Exists" dialog, a child
// process standing in for the engine, and the outcome in a real message box.
#include <gtest/gtest.h>

#include "src/parse/database_exists_dialog.h"
#include "tests/src/parse/fake_parse_form.h"
#include "src/parse/run_parse.h"
#include "tests/support/test_files.h"
#include "src/win32/win32_prompts.h"
#include "src/win32/os/win32_services.h"
#include "src/win32/win32_string_table.h"
#include "tests/src/win32/win32_test_support.h"

namespace velmora::test {
namespace {

const char* const kResults = "c:\\temp\\parseResults.txt";

class RunParseWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        // A folder whose name holds a blank, left unquoted on the command line.
        ASSERT_TRUE(
            CopyFileA((programFolder() + "engine_double.exe").c_str(), (engine.path("ParseTarn.exe")).c_str(), FALSE));
        installDirectory.set(engine.path() + "\\");
        DeleteFileA(kResults);
        RemoveDirectoryA("c:\\temp");  // only when empty: then its creation is tested
        data.write("batch.dat", "3 records parsed\r\nrest\r\n");
        data.write("bank.cfg", "fixedLength=10\r\n");
        form.inputs = {data.path("batch.dat"), data.path("bank.cfg"), ""};
    }
    void TearDown() override {
        for (const auto& box : answerer.unexpected()) ADD_FAILURE() << "unexpected " << box;
        EXPECT_EQ(answerer.pending(), 0u) << "answers left unused";
    }
    void run() { runParse(form, prompts, services.services()); }

    ScratchFolder engine{"velmora engine"};
    ScratchFolder data{"velmora data"};
    EngineFolderValue installDirectory;
    Win32Services services;
    Win32StringTable strings;
    Win32Prompts prompts{strings};
    FakeForm form;
    BoxAnswerer answerer;
};

TEST_F(RunParseWin32Test, FreshDatabaseRunsTheEngineAndShowsItsFirstLineWithAWarningIcon) {
    answerer.press(IDOK);
    run();
    EXPECT_TRUE(pathExists("c:\\temp"));
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "Velmora Data Parser");
    EXPECT_EQ(answerer.seen()[0].text, "3 records parsed\n");
    EXPECT_EQ(answerer.seen()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(form.closed, 1);
    // The engine got the data and configuration paths as given.
    std::string results = readFile(kResults);
    EXPECT_NE(results.find("arg: " + (data.path("batch.dat")) + "\r\n"), std::string::npos) << results;
    EXPECT_NE(results.find("arg: " + (data.path("bank.cfg")) + "\r\n"), std::string::npos) << results;
}

// The old database is set aside, not deleted, while the engine runs; this
// engine writes none, so it is back afterwards.
TEST_F(RunParseWin32Test, ExistingDatabaseOverwrittenAfterTheQuestion) {
    data.write("batch.mdb", "old database");
    data.write("batch.mdb.previous", "the operator's own");
    answerer.press(kIdOverwrite).press(IDOK);
    run();
    ASSERT_EQ(answerer.seen().size(), 2u);
    EXPECT_EQ(answerer.seen()[0].caption, "Database Exists");
    EXPECT_EQ(answerer.seen()[0].text, "Database already exists.  What would you like to do?");
    EXPECT_EQ(data.read("batch.mdb"), "old database");
    EXPECT_EQ(data.read("batch.mdb.previous"), "the operator's own");
    EXPECT_FALSE(data.exists("batch.mdb.previous2"));
    EXPECT_EQ(answerer.seen()[1].text, "3 records parsed\n");
    EXPECT_EQ(answerer.seen()[1].icon, MessageIcon::None);
    EXPECT_EQ(form.closed, 1);
}

TEST_F(RunParseWin32Test, CancelledQuestionKeepsTheDatabaseAndRunsNothing) {
    data.write("batch.mdb", "old database");
    answerer.press(IDCANCEL);
    run();
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "Database Exists");
    EXPECT_EQ(data.read("batch.mdb"), "old database");
    EXPECT_FALSE(pathExists(kResults));
    EXPECT_EQ(form.closed, 0);
}

// Read-only, or a folder: renamed it could be, but never deleted. Held open
// by another program without delete sharing, it cannot be set aside. The
// last results stay with it.
TEST_F(RunParseWin32Test, ProtectedDatabaseStopsTheRunAfterTheQuestion) {
    CreateDirectoryA("c:\\temp", nullptr);
    writeFile(kResults, "1 records parsed\r\n");
    data.write("batch.mdb", "old database");
    SetFileAttributesA(data.path("batch.mdb").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA(data.path("folder.mdb").c_str(), nullptr);
    data.write("held.mdb", "old database");
    HANDLE held = CreateFileA(data.path("held.mdb").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    for (const std::string name : {"batch", "folder", "held"}) {
        form.inputs.dataFile = data.path(name + ".dat");
        answerer.press(kIdOverwrite).press(IDOK);
        run();
        EXPECT_EQ(
            answerer.seen().back().text,
            "Cannot delete database file : There has been a sharing violation.\r\nThe source file may be in use.");
        EXPECT_FALSE(data.exists(name + ".mdb.previous"));
        EXPECT_EQ(readFile(kResults), "1 records parsed\r\n") << name;
    }
    CloseHandle(held);
    EXPECT_EQ(data.read("held.mdb"), "old database");
    SetFileAttributesA(data.path("batch.mdb").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(form.closed, 0);
}

TEST_F(RunParseWin32Test, EngineFailureIsReportedFromTheResultsFile) {
    data.write("batch.dat", "Records Parsed: none\r\n");
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
}  // namespace velmora::test
