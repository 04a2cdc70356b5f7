#pragma once
// Pixels at 96 DPI, as every width the seam takes, and pixels at the scale
// a window is shown at.
namespace velmora {

// The DPI at which a pixel is a pixel: 100%.
constexpr unsigned kBaseDpi = 96;

// Pixels at 96 DPI as pixels at `dpi`, rounded to the nearest (halves away
// from zero, as Windows' MulDiv); and back, rounded as asked.
enum class Rounding { Down, Up };
int pixelsForDpi(int pixelsAt96, unsigned dpi);
int pixelsAt96(int pixels, unsigned dpi, Rounding rounding);

}  // namespace velmora
