#include "tests/src/win32/win32_test_support.h"

#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "src/win32/win32_window.h"

namespace velmora::test {

namespace {

BoxAnswerer* activeAnswerer = nullptr;

bool isDialogWindow(HWND hwnd) {
    char name[16] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    return std::string(name) == "#32770";
}

struct IconSearch {
    MessageIcon icon = MessageIcon::None;
};

BOOL CALLBACK findIcon(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<IconSearch*>(param);
    LONG style = GetWindowLongA(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) != SS_ICON || !(style & WS_VISIBLE)) return TRUE;
    auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    if (!icon) return TRUE;
    // The system's icons are shared: the box shows the very handle.
    if (icon == LoadIconA(nullptr, IDI_WARNING)) search->icon = MessageIcon::Warning;
    if (icon == LoadIconA(nullptr, IDI_ERROR)) search->icon = MessageIcon::Error;
    if (icon == LoadIconA(nullptr, IDI_INFORMATION)) search->icon = MessageIcon::Information;
    if (icon == LoadIconA(nullptr, IDI_QUESTION)) search->icon = MessageIcon::Question;
    return TRUE;
}

void postCommand(HWND box, int id) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

}  // namespace

void pumpMessages(HWND dialog) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog && IsWindow(dialog) && IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

BoxAnswerer::BoxAnswerer() {
    if (activeAnswerer) throw std::logic_error("one BoxAnswerer at a time");
    activeAnswerer = this;
    hook_ = SetWindowsHookExA(WH_CBT, &BoxAnswerer::hook, nullptr, GetCurrentThreadId());
    if (!hook_) throw std::runtime_error("cannot hook the thread's windows");
}

BoxAnswerer::~BoxAnswerer() {
    UnhookWindowsHookEx(hook_);
    activeAnswerer = nullptr;
}

BoxAnswerer& BoxAnswerer::press(int id) {
    actions_.push_back([id](HWND box) { postCommand(box, id); });
    return *this;
}

BoxAnswerer& BoxAnswerer::chooseFile(const std::string& path) {
    actions_.push_back([path](HWND box) {
        SetDlgItemTextA(box, cmb13, path.c_str());
        SetDlgItemTextA(box, edt1, path.c_str());  // the old-style dialog's box
        postCommand(box, IDOK);
    });
    return *this;
}

LRESULT CALLBACK BoxAnswerer::hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && activeAnswerer) activeAnswerer->activated(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void BoxAnswerer::activated(HWND box) {
    // The "Parsing" window of a run that takes a while goes on its own.
    if (!isDialogWindow(box) || windowText(box) == "Parsing") return;
    if (std::find(handled_.begin(), handled_.end(), box) != handled_.end()) return;
    handled_.push_back(box);
    SeenBox seen;
    seen.caption = windowText(box);
    if (HWND text = GetDlgItem(box, 0xFFFF)) seen.text = windowText(text);
    IconSearch search;
    EnumChildWindows(box, findIcon, reinterpret_cast<LPARAM>(&search));
    seen.icon = search.icon;
    seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
    seen_.push_back(seen);
    if (actions_.empty()) {
        unexpected_.push_back("\"" + seen.caption + "\": " + seen.text);
        postCommand(box, IDCANCEL);
        return;
    }
    auto action = actions_.front();
    actions_.pop_front();
    action(box);
}

int runToEnd(const std::string& commandLine, bool shareOutput) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, shareOutput, 0, nullptr, nullptr, &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, 120000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<int>(code);
}

std::string programFolder() {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

namespace {

std::optional<std::string> textValue(HKEY root, const char* key, const char* name) {
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(buffer);
}

const char* const kDesktopKey = "Control Panel\\Desktop";
const char* const kLogPixels = "LogPixels";

}  // namespace

std::optional<std::string> machineValue(const char* key, const char* name) {
    return textValue(HKEY_LOCAL_MACHINE, key, name);
}

std::optional<std::string> userValue(const char* key, const char* name) {
    return textValue(HKEY_CURRENT_USER, key, name);
}

DisplayScale::DisplayScale(DWORD dpi) {
    DWORD value = 0, size = sizeof value;
    if (!RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, RRF_RT_REG_DWORD, nullptr, &value, &size))
        previous_ = value;
    RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, &dpi, sizeof dpi);
}

DisplayScale::~DisplayScale() {
    if (previous_) RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, &*previous_, sizeof(DWORD));
    if (!previous_) RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, kLogPixels);
}

namespace {
const char* const kEngineKey = "Software\\Velmora\\TarnParser";
const char* const kEngineValue = "InstallDirectory";
}  // namespace

EngineFolderValue::EngineFolderValue() : previous_(machineValue(kEngineKey, kEngineValue)) {}

EngineFolderValue::EngineFolderValue(const std::string& folder) : EngineFolderValue() { set(folder); }

EngineFolderValue::~EngineFolderValue() {
    if (previous_)
        set(*previous_);
    else
        remove();
}

void EngineFolderValue::set(const std::string& folder) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kEngineKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create HKEY_LOCAL_MACHINE\\" << kEngineKey;
        return;
    }
    RegSetValueExA(key, kEngineValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);
}

void EngineFolderValue::remove() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEngineKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, kEngineValue);
    RegCloseKey(key);
}

}  // namespace velmora::test
