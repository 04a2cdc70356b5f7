#include "tests/e2e/operator_driver.h"

#include <commctrl.h>

#include <vector>

namespace velmora::test {

namespace {

// How long a window may take to come or go before the test gives up; a
// guard against hanging, not a measure of speed.
constexpr DWORD kPatience = 20000;
constexpr DWORD kPoll = 50;
constexpr int kMessageBoxText = 0xFFFF;
constexpr int kFileNameBox = 0x47C;   // cmb13
constexpr int kFileNameEdit = 0x480;  // edt1, in the older dialog

struct Search {
    DWORD processId;
    const std::string* caption;
    bool messageBox;
    HWND found;
};

// A message box holds its text (0xFFFF), its icon (20 on Windows, stc1 on
// Wine) and standard buttons only; the program's dialogs hold more.
bool isMessageBox(HWND window) {
    if (!GetDlgItem(window, kMessageBoxText)) return false;
    bool onlyBoxParts = true;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM parameter) -> BOOL {
            int id = GetDlgCtrlID(child);
            bool boxPart = id == kMessageBoxText || (id >= IDOK && id <= IDCONTINUE) || id == 20 || id == 0x440;
            if (!boxPart) *reinterpret_cast<bool*>(parameter) = false;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&onlyBoxParts));
    return onlyBoxParts;
}

BOOL CALLBACK visit(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770") return TRUE;
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (*search->caption != caption) return TRUE;
    if (isMessageBox(window) != search->messageBox) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

RunningProgram::RunningProgram(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
        process_ = {};
}

RunningProgram::~RunningProgram() {
    if (!started()) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, kPatience);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

bool RunningProgram::waitForExit(DWORD milliseconds) {
    return started() && WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

HWND RunningProgram::waitForDialog(const std::string& caption, bool messageBox) const {
    for (DWORD waited = 0; waited < kPatience; waited += kPoll) {
        Search search{process_.dwProcessId, &caption, messageBox, nullptr};
        EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(kPoll);
    }
    return nullptr;
}

bool RunningProgram::waitUntilGone(HWND window) const {
    for (DWORD waited = 0; waited < kPatience; waited += kPoll) {
        if (!IsWindow(window) || !IsWindowVisible(window)) return true;
        Sleep(kPoll);
    }
    return false;
}

std::string RunningProgram::listText(HWND dialog, int id, int row, int column) const {
    constexpr int kText = 1024;
    constexpr SIZE_T kSize = sizeof(LVITEMA) + kText;  // LVCOLUMNA is smaller
    char* remote =
        static_cast<char*>(VirtualAllocEx(process_.hProcess, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!remote) return "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = remote + sizeof(LVITEMA);
    item.cchTextMax = kText;
    LVCOLUMNA header{};
    header.mask = LVCF_TEXT;
    header.pszText = item.pszText;
    header.cchTextMax = kText;
    std::vector<char> text(kText, '\0');
    HWND list = GetDlgItem(dialog, id);
    bool asked =
        row < 0
            ? WriteProcessMemory(process_.hProcess, remote, &header, sizeof header, nullptr) &&
                  SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(remote))
            : WriteProcessMemory(process_.hProcess, remote, &item, sizeof item, nullptr) &&
                  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote)) >= 0;
    if (asked) ReadProcessMemory(process_.hProcess, item.pszText, text.data(), kText - 1, nullptr);
    VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
    return text.data();
}

int listRowCount(HWND dialog, int id) {
    HWND list = GetDlgItem(dialog, id);
    return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

std::string textOf(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    char text[1024] = {};
    if (control) SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void typeInto(HWND dialog, int id, const std::string& text) {
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void clickAndLeave(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (IsWindowEnabled(button))
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void choose(HWND dialog, int id, int index) {
    HWND list = GetDlgItem(dialog, id);
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_CLOSEUP), reinterpret_cast<LPARAM>(list));
}

bool isEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

std::string messageText(HWND box) { return textOf(box, kMessageBoxText); }

void press(HWND window, int id) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

void chooseFile(HWND fileDialog, const std::string& path) {
    HWND name = GetDlgItem(fileDialog, kFileNameBox);
    if (!name) name = GetDlgItem(fileDialog, kFileNameEdit);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    press(fileDialog, IDOK);
}

}  // namespace velmora::test
