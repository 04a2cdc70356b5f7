#pragma once
// The one dialog procedure of the Win32 host: it turns the dialog
// manager's messages into DialogEvents for Dialog::dispatch. The dialog's
// Win32Window arrives as the WM_INITDIALOG parameter.
#include <windows.h>

namespace velmora {

INT_PTR CALLBACK dialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velmora
