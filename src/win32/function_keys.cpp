#include "src/win32/function_keys.h"

#include "src/win32/win32_window.h"

namespace velmora {

namespace {

const char* const kWindowProperty = "Velmora.Win32Window";

// The click a key stands for, posted to the dialog; false when the key is
// none of the dialog's or its button cannot be reached.
bool clickForKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam < VK_F2 || message.wParam > VK_F24) return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    auto* window = root ? static_cast<Win32Window*>(GetPropA(root, kWindowProperty)) : nullptr;
    if (!window || window->ended()) return false;
    const int number = static_cast<int>(message.wParam - VK_F1) + 1;
    for (const FunctionKey& key : window->dialog().description().functionKeys) {
        if (key.number != number) continue;
        HWND button = GetDlgItem(root, key.buttonId);
        if (!button || !IsWindowEnabled(button) || !IsWindowVisible(button)) return false;
        PostMessageA(root, WM_COMMAND, MAKEWPARAM(key.buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return true;
    }
    return false;
}

LRESULT CALLBACK keyHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        auto* message = reinterpret_cast<MSG*>(lParam);
        if (clickForKey(*message)) message->message = WM_NULL;  // taken: the control never sees it
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void watchFunctionKeys() {
    thread_local HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, keyHook, nullptr, GetCurrentThreadId());
    (void)hook;
}

void markDialogWindow(HWND hwnd, Win32Window& window) { SetPropA(hwnd, kWindowProperty, &window); }

void unmarkDialogWindow(HWND hwnd) { RemovePropA(hwnd, kWindowProperty); }

}  // namespace velmora
