#include <gtest/gtest.h>

#include "engine/core/record_cutter.h"

namespace velmora::test {
namespace {

struct Cut {
    uint64_t number, offset, length;
    std::string bytes;
    bool rejected;
    bool operator==(const Cut& o) const {
        return number == o.number && offset == o.offset && length == o.length && bytes == o.bytes &&
               rejected == o.rejected;
    }
};

std::ostream& operator<<(std::ostream& os, const Cut& c) {
    return os << "#" << c.number << " @" << c.offset << " len " << c.length << " '" << c.bytes << "'"
              << (c.rejected ? " rejected" : "");
}

// Every way of cutting the stream into reads must give the same records.
std::vector<Cut> cutAll(const std::string& data, size_t recordLength, const std::string& separator, size_t largestRead,
                        RecordLimits limits = {}) {
    MemorySource source(data, largestRead);
    RecordCutter cutter(source, recordLength, separator, limits);
    std::vector<Cut> cuts;
    CutRecord r;
    while (cutter.next(r)) cuts.push_back({r.number, r.offset, r.length, std::string(r.bytes), !r.rejection.empty()});
    EXPECT_EQ(cutter.bytesRead(), data.size());
    return cuts;
}

void expectCuts(const std::string& data, size_t recordLength, const std::string& separator,
                const std::vector<Cut>& expected, RecordLimits limits = {}) {
    for (size_t read : {size_t(1), size_t(2), size_t(3), size_t(7), size_t(1) << 20}) {
        RecordLimits l = limits;
        l.readSize = std::min(read, l.readSize);
        EXPECT_EQ(cutAll(data, recordLength, separator, read, l), expected) << "reads of " << read;
    }
}

TEST(RecordCutterTest, FixedLengthRecordsAndAShortLastOneRejected) {
    expectCuts("abcdefgh", 4, "", {{1, 0, 4, "abcd", false}, {2, 4, 4, "efgh", false}});
    expectCuts("abcdefghij", 4, "", {{1, 0, 4, "abcd", false}, {2, 4, 4, "efgh", false}, {3, 8, 2, "", true}});
    expectCuts("", 4, "", {});
}

TEST(RecordCutterTest, SeparatorEndsRecordsAcrossReadsAndTheLastMayLackIt) {
    expectCuts("ab\r\ncd\r\nef", 0, "\r\n", {{1, 0, 2, "ab", false}, {2, 4, 2, "cd", false}, {3, 8, 2, "ef", false}});
    expectCuts("ab\r\ncd\r\n", 0, "\r\n", {{1, 0, 2, "ab", false}, {2, 4, 2, "cd", false}});
    // A separator's first byte inside a record is data.
    expectCuts("a\rb\r\n\r", 0, "\r\n", {{1, 0, 3, "a\rb", false}, {2, 5, 1, "\r", false}});
    // A separator sharing its own prefix: "aab" in "aaab".
    expectCuts("xaaaby", 0, "aab", {{1, 0, 2, "xa", false}, {2, 5, 1, "y", false}});
}

TEST(RecordCutterTest, EmptyRecordsAreSkippedWithoutANumber) {
    expectCuts("||a|||b|", 0, "|", {{1, 2, 1, "a", false}, {2, 6, 1, "b", false}});
    expectCuts("||||", 0, "||", {});
}

TEST(RecordCutterTest, RecordsOverTheLimitAreRejectedAndCuttingGoesOn) {
    RecordLimits limits;
    limits.largestRecord = 4;
    expectCuts("abcd|abcdefghij|xy|abcde", 0, "|",
               {{1, 0, 4, "abcd", false}, {2, 5, 10, "", true}, {3, 16, 2, "xy", false}, {4, 19, 5, "", true}}, limits);
    expectCuts("abcdefgh<>ab<>", 0, "<>", {{1, 0, 8, "", true}, {2, 10, 2, "ab", false}}, limits);
    // Fixed records longer than the limit are passed over, not held.
    expectCuts("abcdefghijklm", 6, "", {{1, 0, 6, "", true}, {2, 6, 6, "", true}, {3, 12, 1, "", true}}, limits);
    // ... and the last of them, cut short, is called short.
    MemorySource source("abcdefghijklm");
    RecordCutter cutter(source, 6, "", limits);
    std::vector<std::string> reasons;
    for (CutRecord r; cutter.next(r);) reasons.push_back(r.rejection);
    EXPECT_EQ(reasons.back(), "short last record: 1 of 6 bytes");
    EXPECT_EQ(reasons.front(), "record of 6 bytes is longer than the limit of 4 bytes");
}

TEST(RecordCutterTest, ReadFailureIsReportedBySource) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    std::fputs("12345678", f);
    std::rewind(f);
    FileSource source(f);
    RecordCutter cutter(source, 4, "");
    CutRecord r;
    int count = 0;
    while (cutter.next(r)) ++count;
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(source.failed());
    std::fclose(f);
}

}  // namespace
}  // namespace velmora::test
