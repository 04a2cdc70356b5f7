#include "src/toolkit/display_pixels.h"

namespace velmora {

int pixelsForDpi(int pixelsAt96, unsigned dpi) {
    const long long scaled = static_cast<long long>(pixelsAt96) * dpi;
    const long long half = kBaseDpi / 2;
    return static_cast<int>((scaled < 0 ? scaled - half : scaled + half) / kBaseDpi);
}

int pixelsAt96(int pixels, unsigned dpi, Rounding rounding) {
    if (dpi == 0 || pixels <= 0) return pixels;
    const long long scaled = static_cast<long long>(pixels) * kBaseDpi + (rounding == Rounding::Up ? dpi - 1 : 0);
    return static_cast<int>(scaled / dpi);
}

}  // namespace velmora
