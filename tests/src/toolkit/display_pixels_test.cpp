// Widths cross the seam at 96 DPI: read back, a list's width is rounded
// down and a column's up, and an exact division must stay exact.
#include <gtest/gtest.h>

#include "src/toolkit/display_pixels.h"

namespace velmora::test {
namespace {

TEST(DisplayPixels, ScaledToTheNearestAndBackDownOrUpWithExactDivisionsExact) {
    struct Case {
        int pixels;
        unsigned dpi;
        int down, up;
    };
    for (const Case& c : {Case{150, 144, 100, 100}, Case{151, 144, 100, 101}, Case{125, 120, 100, 100},
                          Case{126, 120, 100, 101}, Case{100, 96, 100, 100}, Case{1, 192, 0, 1}, Case{0, 144, 0, 0}}) {
        EXPECT_EQ(pixelsAt96(c.pixels, c.dpi, Rounding::Down), c.down) << c.pixels << " at " << c.dpi;
        EXPECT_EQ(pixelsAt96(c.pixels, c.dpi, Rounding::Up), c.up) << c.pixels << " at " << c.dpi;
    }
    // To the nearest, halves away from zero, as the platform's MulDiv.
    EXPECT_EQ(pixelsForDpi(100, 144), 150);
    EXPECT_EQ(pixelsForDpi(1, 120), 1);
    EXPECT_EQ(pixelsForDpi(2, 120), 3);
    EXPECT_EQ(pixelsForDpi(-3, 144), -5);
}

}  // namespace
}  // namespace velmora::test
