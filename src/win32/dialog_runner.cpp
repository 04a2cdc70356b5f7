#include "src/win32/dialog_runner.h"

#include <commctrl.h>

#include <stdexcept>

#include "src/win32/dialog_procedure.h"
#include "src/win32/dialog_template.h"
#include "src/win32/function_keys.h"
#include "src/win32/record_map_window.h"

namespace velmora {

namespace {

// The common controls' window classes must be registered before a
// template names them.
void registerCommonControls() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                            ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                            ICC_TREEVIEW_CLASSES};
        registerRecordMapClass();
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
}

}  // namespace

int runModalDialog(Dialog& dialog, HWND owner) {
    registerCommonControls();
    if (!dialog.description().functionKeys.empty()) watchFunctionKeys();
    DialogTemplate dialogTemplate(dialog.description());
    Win32Window window(dialog, Win32Window::Mode::Modal);
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate.get(), owner, dialogProcedure,
                                             reinterpret_cast<LPARAM>(&window));
    dialog.detach();
    window.rethrowFailure();
    return result == -1 ? kDialogFailed : static_cast<int>(result);
}

ModelessDialog::ModelessDialog(Dialog& dialog, HWND owner) : window_(dialog, Win32Window::Mode::Modeless) {
    registerCommonControls();
    if (!dialog.description().functionKeys.empty()) watchFunctionKeys();
    DialogTemplate dialogTemplate(dialog.description());
    HWND hwnd = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate.get(), owner, dialogProcedure,
                                           reinterpret_cast<LPARAM>(&window_));
    if (!hwnd) {
        dialog.detach();
        window_.rethrowFailure();
        throw std::runtime_error("cannot create dialog \"" + dialog.description().caption + "\"");
    }
    ShowWindow(hwnd, SW_SHOW);
    try {
        window_.rethrowFailure();
    } catch (...) {
        DestroyWindow(hwnd);
        dialog.detach();
        throw;
    }
}

ModelessDialog::~ModelessDialog() {
    // The dialog hears nothing of its windows going away.
    if (HWND hwnd = window_.hwnd()) {
        unmarkDialogWindow(hwnd);
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        DestroyWindow(hwnd);
    }
    window_.dialog().detach();
}

}  // namespace velmora
