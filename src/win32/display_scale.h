#pragma once
// The scale a window is shown at. The calls that tell one window's DPI came
// with Windows 10 (and some are missing from Wine 8): each is looked up at
// run time, and without it the system's DPI stands for every window.
#include <windows.h>

#include "src/toolkit/display_pixels.h"

namespace velmora {

// The window's DPI: its monitor's, or the system's where the platform
// cannot tell.
UINT windowDpi(HWND window);
UINT systemDpi();

// GetSystemMetrics as it would answer at `dpi`.
int systemMetricForDpi(int index, UINT dpi);
// The window rectangle around a client rectangle at `dpi`.
RECT windowRectForClient(const RECT& client, DWORD style, DWORD exStyle, UINT dpi);

// Keeps the dialog manager of Windows 10 from laying a dialog out again
// on a move to another scale: the host does that itself, the same way on
// every Windows and under Wine.
void keepDpiChangesToOurselves(HWND dialog);

}  // namespace velmora
