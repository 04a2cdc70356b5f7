#pragma once
// Showing a Dialog on real windows: modally, as the program does, or
// modeless, so that a test can drive it on its own thread.
#include <windows.h>

#include "src/toolkit/dialog.h"
#include "src/win32/win32_window.h"

namespace velmora {

// Runs `dialog` modally over `owner` (nullptr for none) and returns the
// result it ended with, or kDialogFailed when it could not be shown. An
// exception thrown by one of its handlers ends it and is thrown again here.
int runModalDialog(Dialog& dialog, HWND owner);

// The dialog created modeless and shown; Init has run when the
// constructor returns. Destroyed with this object.
class ModelessDialog {
public:
    explicit ModelessDialog(Dialog& dialog, HWND owner = nullptr);
    ~ModelessDialog();
    ModelessDialog(const ModelessDialog&) = delete;
    ModelessDialog& operator=(const ModelessDialog&) = delete;

    HWND hwnd() const { return window_.hwnd(); }
    Win32Window& window() { return window_; }
    const Win32Window& window() const { return window_; }

private:
    Win32Window window_;
};

}  // namespace velmora
