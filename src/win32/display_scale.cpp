#include "src/win32/display_scale.h"

namespace velmora {

namespace {

// A function of user32 by name, or nullptr where this Windows lacks it.
template <typename Function>
Function user32Function(const char* name) {
    static HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

UINT systemDpi() {
    using GetDpiForSystem = UINT(WINAPI*)();
    static const auto forSystem = user32Function<GetDpiForSystem>("GetDpiForSystem");
    if (forSystem) return forSystem();
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT windowDpi(HWND window) {
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = user32Function<GetDpiForWindow>("GetDpiForWindow");
    const UINT dpi = forWindow && window ? forWindow(window) : 0;
    return dpi ? dpi : systemDpi();
}

int systemMetricForDpi(int index, UINT dpi) {
    using GetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
    static const auto forDpi = user32Function<GetSystemMetricsForDpi>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(systemDpi()));
}

RECT windowRectForClient(const RECT& client, DWORD style, DWORD exStyle, UINT dpi) {
    using AdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi = user32Function<AdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
    RECT window = client;
    if (!forDpi || !forDpi(&window, style, FALSE, exStyle, dpi)) {
        window = client;
        AdjustWindowRectEx(&window, style, FALSE, exStyle);
    }
    return window;
}

void keepDpiChangesToOurselves(HWND dialog) {
    using SetDialogDpiChangeBehavior = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehaviour = user32Function<SetDialogDpiChangeBehavior>("SetDialogDpiChangeBehavior");
    constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
    if (setBehaviour) setBehaviour(dialog, kDisableAll, kDisableAll);
}

}  // namespace velmora
