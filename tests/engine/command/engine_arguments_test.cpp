#include <gtest/gtest.h>

#include "engine/command/engine_arguments.h"
#include "engine/storage/output_paths.h"
#include "engine/command/windows_command_line.h"

namespace velmora::test {
namespace {

using Args = std::vector<std::string>;

TEST(WindowsCommandLineTest, TheUtilitysLineWithBlanksInEveryPath) {
    EXPECT_EQ(splitWindowsCommandLine("\"C:\\Program Files\\Velmora\\ParseTarn.exe\" -o c:\\temp\\parseResults.txt "
                                      "\"E:\\in put\\batch.dat\" \"E:\\cfg\\bank 1.cfg\" "),
              (Args{"C:\\Program Files\\Velmora\\ParseTarn.exe", "-o", "c:\\temp\\parseResults.txt",
                    "E:\\in put\\batch.dat", "E:\\cfg\\bank 1.cfg"}));
    // Unquoted engine path, as composed from the registry value.
    EXPECT_EQ(splitWindowsCommandLine("D:\\Tools\\ParseTarn.exe -o c:\\temp\\parseResults.txt \"a.dat\" \"b.cfg\" "),
              (Args{"D:\\Tools\\ParseTarn.exe", "-o", "c:\\temp\\parseResults.txt", "a.dat", "b.cfg"}));
}

TEST(WindowsCommandLineTest, BackslashesAndQuotesFollowTheRuntimeRules) {
    struct Case {
        const char* line;
        Args args;
    } cases[] = {
        {"p a\\\\b", {"p", "a\\\\b"}},         // backslashes without a quote are literal
        {"p \"a\\\\\" b", {"p", "a\\", "b"}},  // 2n backslashes + quote: n, and the quote closes
        {"p a\\\"b", {"p", "a\"b"}},           // 2n+1: n and a literal quote
        {"p a\\\\\\\"b", {"p", "a\\\"b"}},
        {"p \"a\"\"b\"", {"p", "a\"b"}},          // "" inside quotes is one quote
        {"p a\"b c\"d", {"p", "ab cd"}},          // a quoted part inside an argument
        {"p \"\" x", {"p", "", "x"}},             // an empty quoted argument counts
        {"p\t a \t b  ", {"p", "a", "b"}},        // tabs and runs of blanks separate
        {"p \"open ended", {"p", "open ended"}},  // no closing quote: the rest
        {"\"C:\\a\\\" x", {"C:\\a\\", "x"}},      // no escapes in the program name
        // In the program name every quote switches quoting and is dropped.
        {"C:\\\"Program Files\"\\x.exe a", {"C:\\Program Files\\x.exe", "a"}},
        {"\"C:\\a b\"\"c d\\e.exe\" f", {"C:\\a bc d\\e.exe", "f"}},
        {" p a", {"", "p", "a"}},  // a blank first: the program name is empty
        // "" inside quotes is one quote and ends the quoted part.
        {"p a\"b\"\" c d", {"p", "ab\"", "c", "d"}},
        {"", {""}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitWindowsCommandLine(c.line), c.args) << c.line;
}

TEST(EngineArgumentsTest, TheUtilitysFormAndTheDatabaseOption) {
    EngineArguments a = parseEngineArguments({"-o", "r.txt", "d.dat", "c.cfg"});
    EXPECT_TRUE(a.usageError.empty());
    EXPECT_TRUE(a.hasResults);
    EXPECT_EQ(a.resultsPath, "r.txt");
    EXPECT_EQ(a.dataPath, "d.dat");
    EXPECT_EQ(a.configPath, "c.cfg");
    EXPECT_EQ(a.databasePath, "");

    a = parseEngineArguments({"d.dat", "-d", "x.db", "c.cfg"});
    EXPECT_TRUE(a.usageError.empty());
    EXPECT_FALSE(a.hasResults);
    EXPECT_EQ(a.databasePath, "x.db");
    EXPECT_EQ(a.configPath, "c.cfg");

    a = parseEngineArguments({"--odbc", "DSN=cards;PWD=x", "d.dat", "--table", "batch", "c.cfg"});
    EXPECT_TRUE(a.usageError.empty());
    EXPECT_EQ(a.connection, "DSN=cards;PWD=x");
    EXPECT_EQ(a.table, "batch");
    EXPECT_FALSE(a.again);
    EXPECT_TRUE(parseEngineArguments({"--odbc", "DSN=x", "--table", "t", "--again", "d.dat", "c.cfg"}).again);

    a = parseEngineArguments({"--", "-odd.dat", "c.cfg"});
    EXPECT_TRUE(a.usageError.empty());
    EXPECT_EQ(a.dataPath, "-odd.dat");
}

TEST(EngineArgumentsTest, UsageErrorsKeepTheResultsPathSoTheyCanBeReported) {
    const std::vector<Args> wrong = {
        {"-o", "r.txt", "d.dat"},                    // one file
        {"-o", "r.txt", "d.dat", "c.cfg", "e.cfg"},  // three
        {"-o", "r.txt", "", "c.cfg"},                // empty name
        {"-o", "r.txt", "-x", "d.dat", "c.cfg"},     // unknown option
        {"-o", "r.txt", "-o", "s.txt", "d.dat", "c.cfg"},
        {"-o", "r.txt", "d.dat", "c.cfg", "-d"},
        {"-o", "r.txt", "--odbc", "DSN=x", "d.dat", "c.cfg"},  // no table
        {"-o", "r.txt", "--table", "t", "d.dat", "c.cfg"},     // no server
        {"-o", "r.txt", "--odbc", "DSN=x", "--table", "t", "-d", "x.db", "d.dat", "c.cfg"},
        {"-o", "r.txt", "--table", "", "--odbc", "DSN=x", "d.dat", "c.cfg"},
        {"-o", "r.txt", "--again", "d.dat", "c.cfg"},  // a file database is never stored twice
    };
    for (const Args& args : wrong) {
        EngineArguments a = parseEngineArguments(args);
        EXPECT_FALSE(a.usageError.empty()) << args.size();
        EXPECT_TRUE(a.hasResults);
    }
    EXPECT_FALSE(parseEngineArguments({"-o"}).usageError.empty());
    EXPECT_TRUE(parseEngineArguments({"--help"}).help);
    EXPECT_TRUE(parseEngineArguments({"--version"}).version);
}

}  // namespace
}  // namespace velmora::test
