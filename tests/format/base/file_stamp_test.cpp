#include "format/base/file_stamp.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// Both systems' clocks come to the same text: leap days, the centuries
// that are not leap years, the last tick of a year.
TEST(FileStampTest, LastWriteTimesAsText) {
    const struct {
        std::uint64_t ticks;
        const char* text;
    } cases[] = {
        {0, "1601-01-01T00:00:00.0000000Z"},
        {125963012960000000 + 1234567, "2000-02-29T12:34:56.1234567Z"},
        {157520160000000000, "2100-03-01T00:00:00.0000000Z"},
        {125911583990000000 + 9999999, "1999-12-31T23:59:59.9999999Z"},
        {133800805230000000, "2024-12-31T01:02:03.0000000Z"},
    };
    for (const auto& c : cases) EXPECT_EQ(lastWriteText(c.ticks), c.text);
    EXPECT_EQ(lastWriteText(std::int64_t{0}, 0), "1970-01-01T00:00:00.0000000Z");
    EXPECT_EQ(lastWriteText(std::int64_t{1796771496}, 123456789), "2026-12-08T23:11:36.1234567Z");
}

}  // namespace
}  // namespace velmora::test
