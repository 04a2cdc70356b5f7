#pragma once
// Function keys that click a button of the dialog (F3 for "Find Next"),
// wherever the focus is in it: the dialog manager routes no such key, so a
// hook on the thread's message retrieval turns the key into the button's
// click before the focused control sees it, in a modal run and in any
// other message loop alike.
#include <windows.h>

namespace velmora {

class Win32Window;

// Watches this thread's keys from now on; once per thread.
void watchFunctionKeys();

// Marks the dialog window as one of ours, for the watch to find its
// description; the mark goes with the window.
void markDialogWindow(HWND hwnd, Win32Window& window);
void unmarkDialogWindow(HWND hwnd);

}  // namespace velmora
