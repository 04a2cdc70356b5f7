#include <gtest/gtest.h>

#include "src/parse/engine_outcome.h"

namespace velmora::test {
namespace {

const char* const kOverwrittenError = "Error - For more info see c:\\temp\\parseResults.txt";

TEST(ResultsLineTest, FirstLineKeepsItsLineEndAsTextModeReadsIt) {
    EXPECT_EQ(firstResultsLine("12 records parsed\r\nsecond\r\n"), "12 records parsed\n");
    EXPECT_EQ(firstResultsLine("no line end"), "no line end");
    EXPECT_EQ(firstResultsLine("\r\nsecond"), "\n");
    EXPECT_EQ(firstResultsLine("lone\rcarriage\n"), "lone\rcarriage\n");
}

TEST(ResultsLineTest, AtMostNinetyNineCharacters) {
    std::string line(120, 'x');
    auto read = firstResultsLine(line + "\n");
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, std::string(99, 'x'));
    // Exactly 99 characters: the line end no longer fits.
    EXPECT_EQ(firstResultsLine(std::string(99, 'y') + "\r\n"), std::string(99, 'y'));
}

TEST(ResultsLineTest, EmptyFilesAndEarlyEndsHaveNoFirstLine) {
    EXPECT_FALSE(firstResultsLine(""));
    EXPECT_FALSE(
        firstResultsLine("\x1a"
                         "5 records parsed"));
    EXPECT_EQ(firstResultsLine("5 rec\x1aords parsed"), "5 rec");
    EXPECT_EQ(firstResultsLine(std::string("ab\0records parsed\n", 18)), "ab");
}

TEST(EngineOutcomeTest, MarkerMustLieWithinTheCharactersRead) {
    std::string late = std::string(90, ' ') + "records parsed";
    EXPECT_EQ(engineOutcome(firstResultsLine(late), DatabaseStyle::Overwritten).text, kOverwrittenError);
    std::string early = std::string(85, ' ') + "records parsed" + std::string(21, '.');
    EngineOutcome o = engineOutcome(firstResultsLine(early), DatabaseStyle::Overwritten);
    EXPECT_EQ(o.text, early.substr(0, 99));
}

}  // namespace
}  // namespace velmora::test
