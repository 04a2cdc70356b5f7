#include "engine/core/progress_line.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST(ProgressLineTest, WhatTheEngineWritesTheUtilityReadsBack) {
    ProgressFacts facts{5368709120ull, 10737418240ull, 42};
    const std::string line = progressLine(facts);
    EXPECT_EQ(line, "Progress: 5368709120 of 10737418240 bytes, 42 records");
    for (const std::string& ended : {line, line + "\n", line + "\r\n"}) {
        auto read = readProgressLine(ended);
        ASSERT_TRUE(read) << ended;
        EXPECT_EQ(read->bytesRead, facts.bytesRead);
        EXPECT_EQ(read->totalBytes, facts.totalBytes);
        EXPECT_EQ(read->records, facts.records);
    }
}

TEST(ProgressLineTest, AnyOtherLineIsNotProgress) {
    for (const char* line :
         {"", "3 records parsed", "Progress: 1 of 2 bytes, 3 records and more", "Progress: -1 of 2 bytes, 3 records",
          "Progress: 1 of  bytes, 3 records", "progress: 1 of 2 bytes, 3 records",
          "Progress: 99999999999999999999 of 2 bytes, 3 records"})
        EXPECT_FALSE(readProgressLine(line)) << line;
}

}  // namespace
}  // namespace velmora::test
