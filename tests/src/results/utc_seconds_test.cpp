#include "src/results/utc_seconds.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// Leap days, the century rule and its 400-year exception, and both sides
// of the epoch; texts not in the engine's form are no moment.
TEST(UtcSeconds, CountsGregorianDaysAndRefusesOtherForms) {
    const struct {
        const char* text;
        std::optional<std::int64_t> seconds;
    } cases[] = {
        {"1970-01-01T00:00:00Z", 0},
        {"1969-12-31T23:59:59Z", -1},
        {"2000-02-29T12:00:00Z", 951825600},
        {"2100-03-01T00:00:00Z", 4107542400},
        {"1600-02-29T00:00:00Z", -11670998400},
        {"2026-12-07T14:03:12Z", 1796652192},
        {"2026-12-07T14:03:12", std::nullopt},
        {"2026-12-07 14:03:12Z", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(utcSeconds(c.text), c.seconds) << c.text;
}

}  // namespace
}  // namespace velmora::test
