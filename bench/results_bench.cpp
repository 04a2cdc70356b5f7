// Benchmark of the Results dialog on real windows (not a test): how long the
// operator waits on a database of millions of records, from Enter in
// "Database:" until its first rows are drawn, and from End in the list (the
// list view takes End and Ctrl+End alike to the last row) until the last
// rows are drawn; and the program's memory at its peak.
//
//   results_bench.exe DATABASE
//
// Run it under Wine with bench/results_bench.sh, which makes the database.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <functional>

#include "src/headless/memory_registry.h"
#include "src/viewer/results_dialog.h"
#include "src/viewer/results_dialog_description.h"
#include "src/win32/dialog_runner.h"
#include "src/win32/os/win32_file_system.h"
#include "src/headless/recorded_audit.h"

using namespace velmora;

namespace {

// Any prompt is one the benchmark did not expect.
class BenchPrompts : public Prompts {
public:
    int messages = 0;
    void appMessage(const std::string& text) override { report(text); }
    MessageAnswer messageBox(const std::string& text, const std::string&, MessageIcon, MessageButtons) override {
        report(text);
        return MessageAnswer::Ok;
    }
    std::optional<FileChoice> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
    int runModal(Dialog&) override { return kDialogFailed; }

private:
    void report(const std::string& text) {
        ++messages;
        std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
    }
};

// Every message the action caused handled, and the window drawn.
void settle(HWND dialog) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

double milliseconds(HWND dialog, const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    settle(dialog);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void key(HWND control, UINT virtualKey) {
    PostMessageA(control, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(control, WM_KEYUP, virtualKey, 0xC0000001);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: results_bench.exe DATABASE\n");
        return 2;
    }
    // The database alone first: what of the wait is SQLite's under Wine.
    const auto start = std::chrono::steady_clock::now();
    const bool readable = ResultsDatabase::open(argv[1]).ok();
    const double alone = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    BenchPrompts prompts;
    Win32FileSystem files;
    MemoryRegistry registry;  // the prefix's own settings stay as they are
    RecordedAudit audit;
    ResultsDialog dialog(prompts, files, registry, audit);
    ModelessDialog window(dialog);
    HWND hwnd = window.hwnd();
    settle(hwnd);
    HWND edit = GetDlgItem(hwnd, kIdResultsDatabase), list = GetDlgItem(hwnd, kIdResultsRecords);

    SetWindowTextA(edit, argv[1]);
    SetFocus(edit);
    settle(hwnd);
    const double open = milliseconds(hwnd, [&] { key(edit, VK_RETURN); });
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));

    SetFocus(list);
    settle(hwnd);
    const double end = milliseconds(hwnd, [&] { key(list, VK_END); });
    const int last = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf(
        "rows %d: opened alone in %.0f ms; first rows drawn %.0f ms after Enter; last rows drawn %.0f ms "
        "after End; peak working set %.1f MB, private bytes %.1f MB\n",
        rows, alone, open, end, static_cast<double>(memory.PeakWorkingSetSize) / 1e6,
        static_cast<double>(memory.PagefileUsage) / 1e6);
    if (!readable || rows <= 0 || last != rows - 1 || prompts.messages > 0) {
        std::fprintf(stderr, "the list did not come out as expected (last row %d)\n", last);
        return 1;
    }
    return 0;
}
