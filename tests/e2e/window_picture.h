#pragma once
// A picture of a window as it stands on the screen.
#include <windows.h>

#include "tests/e2e/png_file.h"

namespace velmora::test {

Picture pictureOf(HWND window);

}  // namespace velmora::test
