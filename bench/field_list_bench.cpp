// Benchmark of the Configure dialog's field list on real windows (not a
// test): how long the operator waits, from the click until the dialog is
// idle and painted, for "Open Existing..." on configurations of several
// sizes, and for Append, Insert Above, Change and Delete on the list
// that open filled.
//
//   field_list_bench.exe [ROWS...]      (default 250 500 1000)
//
// Run it under Wine with bench/field_list_bench.sh.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "format/config/config_format.h"
#include "src/editor/configure_dialog.h"
#include "src/editor/configure_dialog_description.h"
#include "format/fields/keywords.h"
#include "src/win32/dialog_runner.h"
#include "src/win32/os/win32_file_system.h"
#include "src/win32/os/win32_registry.h"
#include "src/win32/os/win32_audit.h"

using namespace velmora;

namespace {

// Answers the open-file dialog with one file; any message box is a
// refusal the benchmark did not expect, counted and printed.
class BenchPrompts : public Prompts {
public:
    std::string file;
    int messages = 0;

    void appMessage(const std::string& text) override { report(text); }
    MessageAnswer messageBox(const std::string& text, const std::string&, MessageIcon, MessageButtons) override {
        report(text);
        return MessageAnswer::Ok;
    }
    std::optional<FileChoice> chooseFile(const FileDialogRequest&) override {
        return FileChoice{file, file.substr(file.rfind('\\') + 1)};
    }
    int runModal(Dialog&) override { return kDialogFailed; }

private:
    void report(const std::string& text) {
        ++messages;
        std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
    }
};

// Fields in order, each at its own start position with a fixed length, so
// that every operation below passes the placement rules.
ParseConfiguration configurationOf(int rows) {
    ParseConfiguration config;
    config.recordSeparator = "\\x0D\\x0A";
    config.fieldsInOrder = true;
    for (int r = 0; r < rows; ++r) {
        FieldDef def{"F" + std::to_string(r),
                     kw::StartPosition,
                     std::to_string(10 + 10 * r),
                     kw::FixedLength,
                     "5",
                     kw::TextField,
                     ""};
        config.fieldDefs.insertRow(r, def);
    }
    return config;
}

class Bench {
public:
    Bench(BenchPrompts& prompts, Win32FileSystem& files, Win32Registry& registry, Win32Audit& audit)
        : dialog_(prompts, files, registry, audit), window_(dialog_) {
        settle();
    }

    HWND item(int id) const { return GetDlgItem(window_.hwnd(), id); }
    int rows() const { return static_cast<int>(SendMessageA(item(kIdFieldList), LVM_GETITEMCOUNT, 0, 0)); }

    // Milliseconds from the action until every message it caused has been
    // handled and the dialog has painted.
    double timed(const std::function<void()>& action) {
        auto start = std::chrono::steady_clock::now();
        action();
        settle();
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        return took.count();
    }

    void click(int id) {
        SendMessageA(item(id), BM_CLICK, 0, 0);
        settle();
    }
    void type(int id, const std::string& text) {
        SetWindowTextA(item(id), text.c_str());
        settle();
    }
    void clickRow(int row) {
        HWND list = item(kIdFieldList);
        SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        settle();
        RECT rect{};
        rect.left = LVIR_LABEL;
        SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(list, WM_LBUTTONUP, 0, at);
        settle();
    }
    // A field at a start position with a fixed length, as typed.
    void enter(const std::string& name, int position, int length) {
        type(kIdFieldName, name);
        click(kIdStartPositionRadio);
        type(kIdStartPosition, std::to_string(position));
        click(kIdEndFixedLengthRadio);
        type(kIdEndFixedLength, std::to_string(length));
    }

private:
    void settle() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (IsDialogMessageA(window_.hwnd(), &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        RedrawWindow(window_.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    ConfigureDialog dialog_;
    ModelessDialog window_;
};

std::string scratchFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "velmora_field_list_bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {250, 500, 1000};

    Win32FileSystem files;
    Win32Registry registry;
    Win32Audit audit;
    const std::string folder = scratchFolder();
    int failures = 0;
    std::printf("%6s %10s %10s %10s %10s %10s   (milliseconds)\n", "rows", "open", "append", "insert", "change",
                "delete");
    for (int size : sizes) {
        BenchPrompts prompts;
        prompts.file = folder + "\\bench_" + std::to_string(size) + ".cfg";
        files.writeFile(prompts.file, configurationText(configurationOf(size)));

        Bench bench(prompts, files, registry, audit);
        double open = bench.timed([&] { bench.click(kIdOpenExisting); });
        bool filled = bench.rows() == size;

        // Append after the last row, whose position is 10 * size.
        bench.enter("Appended", 10 * size + 10, 5);
        double append = bench.timed([&] { bench.click(kIdAppendField); });

        // Insert above row 0 (position 10).
        bench.clickRow(0);
        bench.click(kIdInsertAbove);
        bench.enter("Inserted", 5, 5);
        double insert = bench.timed([&] { bench.click(kIdAppendField); });

        // Change the middle row in place: its length only.
        const int middle = bench.rows() / 2;
        bench.clickRow(middle);
        double load = bench.timed([&] { bench.click(kIdChangeField); });
        bench.type(kIdEndFixedLength, "7");
        double change = load + bench.timed([&] { bench.click(kIdAppendField); });

        bench.clickRow(middle);
        double remove = bench.timed([&] { bench.click(kIdDeleteField); });

        bool ended = bench.rows() == size + 1;
        if (!filled || !ended || prompts.messages > 0) {
            std::fprintf(stderr, "%d rows: the list did not come out as expected\n", size);
            ++failures;
        }
        std::printf("%6d %10.1f %10.1f %10.1f %10.1f %10.1f\n", size, open, append, insert, change, remove);
        DeleteFileA(prompts.file.c_str());
    }
    RemoveDirectoryA(folder.c_str());
    return failures == 0 ? 0 : 1;
}
