#include "format/base/check.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace velmora::test {
namespace {

// Natively only: the Windows build compiles the same macro, and a death test
// there would start the test program again under Wine to show nothing new.
#ifndef _WIN32
TEST(CheckDeathTest, ABrokenInvariantStopsTheProgramNamingTheCondition) {
    const std::size_t index = 3, size = 2;
    EXPECT_DEATH(VELMORA_ASSERT(index < size), "invariant broken: index < size");
}
#endif

}  // namespace
}  // namespace velmora::test
