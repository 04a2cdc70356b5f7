// The built ParseTarn, started as the utility starts it: its own path and
// both input paths in quotes, blanks in them, a trailing blank.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "tests/support/database_query.h"
#include "tests/support/program_launch.h"
#include "format/fields/keywords.h"
#include "tests/support/configurations.h"
#include "tests/support/test_files.h"

namespace velmora::test {
namespace {

TEST(EngineProcessTest, RunsFromTheUtilitysCommandLineAndWritesResultsAndDatabase) {
    ScratchFolder folder;
    std::filesystem::create_directories(folder.path("card data"));
    folder.write("card data/batch one.dat", "#N\xC9MILE|#NBOB|\x20|");
    folder.write("card data/bank cfg.cfg",
                 configText("", "|", {field("Name", kw::StartCode, "#N", kw::None, "", kw::TextField)}));
    const std::string data = folder.path("card data/batch one.dat");
    const std::string results = folder.path("parseResults.txt");
    const std::string line = "\"" + parseTarnPath() + "\" -o " + results + " \"" + data + "\" \"" +
                             folder.path("card data/bank cfg.cfg") + "\" ";

    EXPECT_EQ(runCommandLine(line), 0) << line;
    std::string text = folder.read("parseResults.txt");
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "3 records parsed") << text;
    EXPECT_EQ(query(folder.path("card data/batch one.mdb"), "SELECT Name FROM records"),
              (std::vector<std::string>{"\xC3\x89MILE", "BOB", "NULL"}));

    // A failed run says why, and its exit status says so too.
    EXPECT_EQ(runCommandLine("\"" + parseTarnPath() + "\" -o " + results + " \"" + data + "\" \"" +
                             folder.path("none.cfg") + "\" "),
              1);
    text = folder.read("parseResults.txt");
    EXPECT_EQ(text.rfind("Parse failed: ", 0), 0u) << text;
}

// Ctrl+C, SIGTERM, a console closing: the run stops, removes its temporary
// database, keeps the old one and says why. A run ended hard cannot; it
// leaves a results file that says it did not finish, and the next run on
// that database cleans what it left. One record of over a
// million TLV objects keeps a run busy for seconds after its temporary file
// appears.
TEST(EngineProcessTest, AnInterruptedRunCleansUpAndAKilledRunsFileIsCleanedByTheNext) {
    ScratchFolder folder;
    std::string children;
    while (children.size() < (4u << 20)) children += std::string("\x5A\x01x", 3);
    const size_t n = children.size();
    std::string tlv = {'\x70', '\x84', char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
    folder.write("in.dat", tlv + children);
    folder.write("in.cfg", configText(std::to_string(tlv.size() + n), "",
                                      {field("A", kw::None, "", kw::Tesselgram, "", kw::BinaryField)}));
    folder.write("in.mdb", "the operator's good database");
    const std::string line = "\"" + parseTarnPath() + "\" -o \"" + folder.path("r.txt") + "\" \"" +
                             folder.path("in.dat") + "\" \"" + folder.path("in.cfg") + "\"";
    // An earlier run's success stands at the results path as each run starts.
    const std::string earlier = "3 records parsed\r\n", unfinished = "Parse failed: the run did not finish\r\n";
    auto startedRun = [&](RunningProgram& engine) {
        auto ended = [&] {
            // Replacing a file may leave its name free for a moment on Windows.
            const std::string text = folder.read("r.txt");
            return !text.empty() && text != earlier && text.rfind(unfinished, 0) != 0;
        };
        for (int waited = 0; !folder.exists("in.mdb.partial") && !ended() && waited < 30000; waited += 5)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return engine.started() && folder.exists("in.mdb.partial");
    };

    folder.write("r.txt", earlier);
    RunningProgram interrupted(line);
    ASSERT_TRUE(startedRun(interrupted)) << folder.read("r.txt");
    interrupted.interrupt();
    EXPECT_EQ(interrupted.wait(), 1);
    std::string text = folder.read("r.txt");
    EXPECT_EQ(text.rfind("Parse failed: the run was interrupted: ", 0), 0u) << text;
    EXPECT_EQ(folder.read("in.mdb"), "the operator's good database");
    EXPECT_FALSE(folder.exists("in.mdb.partial"));

    folder.write("r.txt", earlier);
    RunningProgram killed(line);
    ASSERT_TRUE(startedRun(killed)) << folder.read("r.txt");
    killed.kill();
    killed.wait();
    EXPECT_TRUE(folder.exists("in.mdb.partial"));
    // What it leaves says it failed, never the earlier success.
    EXPECT_EQ(folder.read("r.txt").rfind(unfinished, 0), 0u) << folder.read("r.txt");
    folder.write("short.dat", "too short for a record");
    EXPECT_EQ(
        runCommandLine("\"" + parseTarnPath() + "\" -o \"" + folder.path("r.txt") + "\" -d \"" + folder.path("in.mdb") +
                       "\" \"" + folder.path("short.dat") + "\" \"" + folder.path("in.cfg") + "\""),
        0);
    EXPECT_FALSE(folder.exists("in.mdb.partial"));
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT count(*) FROM rejected"), (std::vector<std::string>{"1"}));
}

#ifndef _WIN32
// A data file that is a pipe nobody writes to keeps the open waiting; an
// operator's stop ends the wait and the run says it was interrupted.
TEST(EngineProcessTest, AnInterruptedWaitForTheDataFileSaysTheRunWasInterrupted) {
    ScratchFolder folder;
    mkfifo(folder.path("in.dat").c_str(), 0600);
    folder.write("in.cfg", configText("", "|", {field("A", kw::None, "", kw::None, "", kw::TextField)}));
    RunningProgram engine("\"" + parseTarnPath() + "\" -o \"" + folder.path("r.txt") + "\" \"" + folder.path("in.dat") +
                          "\" \"" + folder.path("in.cfg") + "\"");
    // The results path says the run began before it opens the data file.
    for (int waited = 0; !folder.exists("r.txt") && waited < 30000; waited += 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    engine.interrupt();
    // Should the stop have come before the open, a writer lets the open end.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const int writer = open(folder.path("in.dat").c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) close(writer);
    EXPECT_EQ(engine.wait(), 1);
    const std::string text = folder.read("r.txt");
    EXPECT_EQ(text.rfind("Parse failed: the run was interrupted: SIGTERM", 0), 0u) << text;
}

// The database's pages go to the disk on a thread of their own; a write
// that fails there (here past a file size limit, as a full disk would) still
// fails the run, wherever SQLite was when it happened, and the old database
// stays. Small runs under the limit still complete.
TEST(EngineProcessTest, AWriteThatFailsOnTheWayFailsTheRunAndKeepsTheOldDatabase) {
    ScratchFolder folder;
    std::string records;
    for (int k = 0; records.size() < (6u << 20); ++k) records += "record " + std::to_string(k) + " text|";
    folder.write("big.dat", records);
    folder.write("small.dat", "one|two|");
    folder.write("in.cfg", configText("", "|", {field("A", kw::None, "", kw::None, "", kw::TextField)}));
    auto run = [&](const char* data) {
        // At most 2 MiB a file; the signal a longer write raises is ignored,
        // so the write fails instead.
        return runCommandLine("trap '' XFSZ; ulimit -f 4096; exec \"" + parseTarnPath() + "\" -o \"" +
                              folder.path("r.txt") + "\" -d \"" + folder.path("in.mdb") + "\" \"" + folder.path(data) +
                              "\" \"" + folder.path("in.cfg") + "\"");
    };
    ASSERT_EQ(run("small.dat"), 0) << folder.read("r.txt");
    EXPECT_EQ(run("big.dat"), 1);
    const std::string text = folder.read("r.txt");
    EXPECT_EQ(text.rfind("Parse failed: ", 0), 0u) << text;
    EXPECT_NE(text.find("disk I/O error"), std::string::npos) << text;
    EXPECT_EQ(query(folder.path("in.mdb"), "SELECT A FROM records"), (std::vector<std::string>{"one", "two"}));
    EXPECT_FALSE(folder.exists("in.mdb.partial"));
}

// A suggestion that standard output cannot take, as on a full disk, is no
// suggestion: the exit status and standard error say so.
TEST(EngineProcessTest, ASuggestionStandardOutputCannotTakeFails) {
    ScratchFolder folder;
    folder.write("in.dat", exampleFile("suggest/comma_crlf.dat"));
    EXPECT_EQ(runCommandLine("{ \"" + parseTarnPath() + "\" --suggest \"" + folder.path("in.dat") +
                             "\" >/dev/full 2>\"" + folder.path("errors.txt") + "\"; }"),
              1);
    const std::string errors = folder.read("errors.txt");
    EXPECT_NE(errors.find("ParseTarn: cannot write the suggestion to standard output: "), std::string::npos) << errors;
}
#endif

}  // namespace
}  // namespace velmora::test
