// The built ParseTarn, started as the utility starts it: its own path and
// both input paths in quotes, blanks in them, a trailing blank.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine_test_support.h"
#include "fields/keywords.h"
#include "program_launch.h"

namespace velmora {
namespace {

TEST(EngineProcessTest, RunsFromTheUtilitysCommandLineAndWritesResultsAndDatabase) {
    test::ScratchFolder folder;
    std::filesystem::create_directories(folder.path("card data"));
    folder.write("card data/batch one.dat", "#N\xC9MILE|#NBOB|\x20|");
    folder.write("card data/bank cfg.cfg",
                 test::configText("", "|", {test::field("Name", kw::StartCode, "#N", kw::None, "", kw::TextField)}));
    const std::string data = folder.path("card data/batch one.dat");
    const std::string results = folder.path("parseResults.txt");
    const std::string line = "\"" + test::parseTarnPath() + "\" -o " + results + " \"" + data + "\" \"" +
                             folder.path("card data/bank cfg.cfg") + "\" ";

    EXPECT_EQ(test::runCommandLine(line), 0) << line;
    std::string text = folder.read("parseResults.txt");
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "3 records parsed") << text;
    EXPECT_EQ(test::query(folder.path("card data/batch one.mdb"), "SELECT Name FROM records"),
              (std::vector<std::string>{"\xC3\x89MILE", "BOB", "NULL"}));

    // A failed run says why, and its exit status says so too.
    EXPECT_EQ(test::runCommandLine("\"" + test::parseTarnPath() + "\" -o " + results + " \"" + data + "\" \"" +
                                   folder.path("none.cfg") + "\" "),
              1);
    text = folder.read("parseResults.txt");
    EXPECT_EQ(text.rfind("Parse failed: ", 0), 0u) << text;
}

}  // namespace
}  // namespace velmora
