// Every dialog of the program as it opens, at the scale this test program
// runs at and again at 150%: no label, button, radio or check box shows
// less than its whole text, measured with the control's own font, and the
// dialog units the host lays a dialog out with are the dialog manager's.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "app/about_dialog.h"
#include "app/main_dialog.h"
#include "editor/configure_dialog.h"
#include "editor/preview_dialog.h"
#include "editor/sentinels_dialog.h"
#include "headless/memory_file_system.h"
#include "headless/memory_registry.h"
#include "headless/memory_string_table.h"
#include "headless/scripted_processes.h"
#include "headless/scripted_prompts.h"
#include "parse/database_exists_dialog.h"
#include "parse/parse_dialog.h"
#include "parse/parsing_dialog.h"
#include "support/configurations.h"
#include "support/test_files.h"
#include "viewer/record_dialog.h"
#include "viewer/results_dialog.h"
#include "win32/dialog_runner.h"
#include "win32/display_scale.h"
#include "win32/win32_test_support.h"

namespace velmora::test {
namespace {

// The Results' "Finding" and "Exporting" windows, which work in a modal run
// of their own, as they open.
class IdleProgress : public ProgressWindow {
public:
    IdleProgress(Prompts& prompts, const ProgressTexts& texts) : ProgressWindow(prompts, texts, "D:\\cards.mdb", 1000) {}

protected:
    void tick() override {}
    void cancel() override {}
};

// The text as drawn: "&&" is "&" and a single '&' marks the next letter.
std::string drawnText(const std::string& text) {
    std::string drawn;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        drawn += text[i];
    }
    return drawn;
}

// What of a control's text its own font cannot show inside it: "" when it
// all fits. A label wraps at blanks into as many lines as its height holds.
std::string cutText(HWND control, UINT dpi) {
    char kind[16] = {};
    GetClassNameA(control, kind, sizeof kind);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const bool label = lstrcmpiA(kind, "Static") == 0 && (style & SS_TYPEMASK) == SS_LEFT;
    const bool button = lstrcmpiA(kind, "Button") == 0;
    const std::string text = windowText(control);
    if ((!label && !button) || text.empty()) return "";

    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    bool fits = true;
    if (label) {
        RECT needed{0, 0, client.right, 0};
        DrawTextA(dc, text.c_str(), -1, &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
        fits = needed.right <= client.right && needed.bottom <= client.bottom;
    } else {
        // The room the button leaves its text: beside a radio's or check
        // box's mark, inside a push button's edges and focus frame, after a
        // frame's corner.
        int room = client.right;
        switch (style & BS_TYPEMASK) {
        case BS_AUTORADIOBUTTON:
        case BS_AUTOCHECKBOX:
            room -= MulDiv(17, static_cast<int>(dpi), 96);  // the mark, 13 pixels at 100%, and a gap
            break;
        case BS_GROUPBOX:
            room -= 2 * metrics.tmAveCharWidth;
            break;
        default:
            room -= 2 * (systemMetricForDpi(SM_CXEDGE, dpi) + 1);
            break;
        }
        const std::string drawn = drawnText(text);
        SIZE size{};
        GetTextExtentPoint32A(dc, drawn.c_str(), static_cast<int>(drawn.size()), &size);
        fits = size.cx <= room && ((style & BS_TYPEMASK) == BS_GROUPBOX || size.cy <= client.bottom);
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return fits ? "" : text;
}

void expectNoTextCut(Dialog& dialog) {
    ModelessDialog shown(dialog);
    HWND hwnd = shown.hwnd();
    pumpMessages(hwnd);
    const std::string caption = windowText(hwnd);
    RECT units{0, 0, 4, 8};
    MapDialogRect(hwnd, &units);
    const SIZE ours = dialogUnitsOf(hwnd, reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
    EXPECT_EQ(ours.cx, units.right) << caption;
    EXPECT_EQ(ours.cy, units.bottom) << caption;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string cut = cutText(child, windowDpi(hwnd));
        if (!cut.empty()) ADD_FAILURE() << "\"" << caption << "\" cuts \"" << cut << "\"";
    }
}

// The scale the parent run asks of this one; 0 when it was started alone.
UINT askedDpi() {
    const char* asked = std::getenv("VELMORA_TEST_DPI");
    return asked ? static_cast<UINT>(std::atoi(asked)) : 0;
}

TEST(TextFit, NoDialogCutsTheTextOfALabelOrButtonAtThisScale) {
    if (askedDpi()) {
        ASSERT_EQ(systemDpi(), askedDpi());
    }
    ScriptedPrompts prompts;
    MemoryFileSystem files;
    MemoryRegistry registry;
    ScriptedProcesses processes;
    MemoryStringTable strings;
    strings.strings = {{101, "&About Velmora Data Parser"}, {57344, "Velmora Data Parser"}};
    const Services services{files, registry, processes};
    files.files["D:\\cards.dat"] = exampleFile("suggest/comma_crlf.dat");
    ParseConfiguration config;
    config.recordSeparator = "\\x0D\\x0A";
    addRow(config, field("Name", "START_POSITION", "1", "FIXED_LENGTH", "10", "TEXT_FIELD"));
    processes.endsAfter.reset();
    const StartedProcess started = *processes.start("ParseTarn.exe");
    RunningEngine engine(processes, started);

    const std::vector<std::function<std::unique_ptr<Dialog>()>> dialogs = {
        [&] { return std::make_unique<MainDialog>(prompts, services, strings); },
        [&] { return std::make_unique<AboutDialog>(prompts); },
        [&] { return std::make_unique<ConfigureDialog>(prompts, files, registry); },
        [&] { return std::make_unique<SentinelsDialog>(prompts, isoSentinels(), 0); },
        [&] { return std::make_unique<PreviewDialog>(prompts, files, registry, config); },
        [&] {
            return std::make_unique<PreviewDialog>(prompts, files, registry, "D:\\cards.dat",
                                                   [](const ParseConfiguration&) { return true; });
        },
        [&] { return std::make_unique<ParseDialog>(prompts, services); },
        [&] { return std::make_unique<DatabaseExistsDialog>(prompts); },
        [&] { return std::make_unique<ParsingDialog>(prompts, engine, "D:\\cards.dat"); },
        [&] { return std::make_unique<ResultsDialog>(prompts, files, registry); },
        [&] { return std::make_unique<IdleProgress>(prompts, ProgressTexts{"Finding", "Database:", "Rows searched:"}); },
        [&] {
            return std::make_unique<IdleProgress>(prompts, ProgressTexts{"Exporting", "Database:", "Rows exported:"});
        },
        [&] { return std::make_unique<RecordDialog>(prompts, RecordDetail{1797558, {}, {}}); },
    };
    for (const auto& make : dialogs) {
        std::unique_ptr<Dialog> dialog = make();
        expectNoTextCut(*dialog);
    }
    for (const std::string& failure : prompts.failures()) ADD_FAILURE() << failure;
}

// The same in a run of this program at 150%, where Wine lays every window
// out at 144 DPI.
TEST(TextFit, NorAt150Percent) {
    if (askedDpi()) GTEST_SKIP() << "the run at 150% itself";
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string line = "\"" + std::string(self) + "\" --gtest_filter=TextFit.NoDialogCutsTheTextOfALabelOrButtonAtThisScale";
    SetEnvironmentVariableA("VELMORA_TEST_DPI", "144");
    DisplayScale scale(144);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child));
    SetEnvironmentVariableA("VELMORA_TEST_DPI", nullptr);
    WaitForSingleObject(child.hProcess, 100000);
    DWORD code = 1;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
    EXPECT_EQ(code, 0u) << "the run at 144 DPI failed; its output is above";
}

}  // namespace
}  // namespace velmora::test
