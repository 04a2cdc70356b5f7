#pragma once
// Writing an RGB picture as a PNG file, for the README's screenshots.
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // rows top to bottom, three bytes a pixel
};

// The PNG bytes of a picture.
std::string pngBytes(const Picture& picture);

}  // namespace velmora::test
