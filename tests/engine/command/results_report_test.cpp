#include <gtest/gtest.h>

#include <algorithm>

#include "engine/command/results_report.h"
#include "tests/support/test_files.h"

namespace velmora::test {
namespace {

TEST(ResultsReportTest, FirstLineCarriesTheMarkerOnlyWhenTheRunCompleted) {
    RunOutcome o;
    o.completed = true;
    o.recordsParsed = 0;
    EXPECT_EQ(resultsLines(o)[0], "0 records parsed");
    o.recordsParsed = 12;
    o.recordsRejected = 3;
    EXPECT_EQ(resultsLines(o)[0], "12 records parsed, 3 rejected");

    o.completed = false;
    o.failure = "cannot open the data file E:\\records parsed\\a.dat:\r\nno such file";
    std::string first = resultsLines(o)[0];
    EXPECT_EQ(first.rfind("Parse failed: ", 0), 0u);
    EXPECT_EQ(first.find(kSuccessMarker), std::string::npos) << first;
    EXPECT_EQ(first.find_first_of("\r\n"), std::string::npos);

    // What was cut before a failure went with the unfinished database.
    o.bytesRead = 4096;
    std::vector<std::string> lines = resultsLines(o);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Records stored: 0"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Records read before the failure: 12 parsed, 3 rejected"),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Bytes read: 4096"), lines.end());
}

TEST(ResultsReportTest, ListsTheFirstHundredRejectionsAndWritesCrLf) {
    RunOutcome o;
    o.completed = true;
    o.recordsParsed = 5;
    o.recordsRejected = 250;
    o.databasePath = "E:\\in\\batch.mdb";
    for (size_t k = 0; k < kListedRejections; ++k) o.firstRejections.push_back({k + 1, k * 10, "PAN", "why"});
    o.firstRejections[1].field.clear();
    o.firstRejections[2] = {3, 20, std::string("A\0B", 3), "ends in \r\n\x1A"};
    o.firstRejections[3] = {4, 30, std::string(1u << 20, 'n'), std::string(200, 'r')};
    std::vector<std::string> lines = resultsLines(o);
    EXPECT_EQ(lines[1], "Database: E:\\in\\batch.mdb");
    auto header = std::find(lines.begin(), lines.end(), "Rejected records (the first 100 of 250):");
    ASSERT_NE(header, lines.end());
    EXPECT_EQ(lines.end() - header - 1, 100);
    EXPECT_EQ(*(header + 1), "record 1 at byte 0, field \"PAN\": why");
    EXPECT_EQ(*(header + 2), "record 2 at byte 10: why");
    // Any byte a name or reason holds, the line stays one line and whole.
    EXPECT_EQ(*(header + 3), "record 3 at byte 20, field \"A\\x00B\": ends in \\x0D\\x0A\\x1A");
    // A name as long as a configuration allows, and an overlong reason, are
    // cut: a hundred such lines stay small.
    EXPECT_EQ(*(header + 4),
              "record 4 at byte 30, field \"" + std::string(64, 'n') + "...\": " + std::string(128, 'r') + "...");

    ScratchFolder folder;
    const Status written = writeResultsFile(folder.path("r.txt"), {"a", "b"}, true);
    ASSERT_TRUE(written.ok()) << written.failure();
    EXPECT_EQ(folder.read("r.txt"), "a\r\nb\r\n");
    EXPECT_FALSE(writeResultsFile(folder.path("missing/r.txt"), {"a"}, false).ok());
}

}  // namespace
}  // namespace velmora::test
