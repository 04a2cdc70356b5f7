// The export read back by a spreadsheet-style CSV reader (Python's) gives
// the values that SQLite's own shell gives for the same rows, binary values
// in hexadecimal. Natively, where both tools are at hand.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "src/results/csv_export.h"
#include "tests/support/configurations.h"
#include "tests/support/parsed_database.h"

namespace velmora::test {
namespace {

// The rows of a CSV file as a spreadsheet-style reader sees them, one line
// of Python's representation each.
std::string readBack(const std::string& csv, const ScratchFolder& folder) {
    const std::string out = folder.path("read.txt");
    const std::string command =
        "python3 -c 'import csv,sys\nfor r in csv.reader(open(sys.argv[1], encoding=\"utf-8-sig\", "
        "newline=\"\")): print(repr(r))' '" +
        csv + "' > '" + out + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return folder.read("read.txt");
}

TEST(CsvReadBack, ASpreadsheetReadsTheExportAsSqlitesShellGivesTheRows) {
    ScratchFolder folder("velmora csv");
    const std::string database =
        parsedDatabase(folder, "cards",
                       configText("", "\\x0D\\x0A",
                                  {field("Name", "START_CODE", "#A", "END_CODE", "#E", "TEXT_FIELD"),
                                   field("PIN", "START_CODE", "#P", "END_CODE", "#E", "BINARY_FIELD"),
                                   field("Chip", "START_CODE", "#T", "TESSELGRAM", "", "GP_FIELD", "App")}),
                       "#AJos\xC9, \"Jr\"\t;#E#P\x01\x02#E#T\x70\x03\x5A\x01\x07\r\n#A#E#P#E\r\n#A\"#E#P" +
                           std::string(1, '\0') + "#E#T\x5A\x00\r\n#A#E#P1#E#T\x70\x05\x01");
    const struct {
        ResultsTab tab;
        const char* sql;
    } tabs[] = {{ResultsTab::Records, "SELECT record_number, byte_offset, Name, hex(PIN), hex(Chip) FROM records"},
                {ResultsTab::Rejected, "SELECT record_number, byte_offset, length, field, reason FROM rejected"}};
    for (const auto& t : tabs) {
        auto opened = ResultsDatabase::open(database);
        ASSERT_TRUE(opened) << opened.failure();
        auto db = std::move(*opened);
        CsvExport csv(*db, t.tab);
        std::string text;
        while (!csv.step(2, text)) {
        }
        const std::size_t header = text.find("\r\n") + 2;
        folder.write("export.csv", text.substr(header));
        const std::string shell =
            "sqlite3 -csv '" + database + "' '" + t.sql + "' > '" + folder.path("shell.csv") + "'";
        ASSERT_EQ(std::system(shell.c_str()), 0) << shell;
        const std::string expected = readBack(folder.path("shell.csv"), folder);
        EXPECT_EQ(readBack(folder.path("export.csv"), folder), expected);
        EXPECT_NE(expected.find(t.tab == ResultsTab::Records ? "'Jos\xC3\x89, \"Jr\"\\t;'" : "'Chip'"),
                  std::string::npos)
            << expected;
    }
}

}  // namespace
}  // namespace velmora::test
#endif
