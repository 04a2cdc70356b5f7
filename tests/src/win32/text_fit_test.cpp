// Every dialog of the program as it opens, at this program's scale and in a
// run of it at 150% (144 DPI): no label or button shows less than its whole
// text in the control's own font, and the host's dialog units are the
// dialog manager's.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "src/app/about_dialog.h"
#include "src/app/main_dialog.h"
#include "src/editor/configure_dialog.h"
#include "src/editor/preview_dialog.h"
#include "src/editor/sentinels_dialog.h"
#include "src/headless/memory_file_system.h"
#include "src/headless/memory_registry.h"
#include "src/headless/memory_string_table.h"
#include "src/headless/scripted_processes.h"
#include "src/headless/scripted_prompts.h"
#include "src/parse/database_exists_dialog.h"
#include "src/parse/parse_dialog.h"
#include "src/parse/parsing_dialog.h"
#include "tests/support/configurations.h"
#include "tests/support/test_files.h"
#include "src/viewer/record_dialog.h"
#include "src/viewer/results_dialog.h"
#include "src/win32/dialog_runner.h"
#include "src/win32/display_scale.h"
#include "tests/src/win32/win32_test_support.h"
#include "src/headless/recorded_audit.h"

namespace velmora::test {
namespace {

// The Results' "Finding" and "Exporting", which run in a modal loop of their own.
struct IdleProgress : ProgressWindow {
    IdleProgress(Prompts& prompts, const ProgressTexts& texts) : ProgressWindow(prompts, texts, "D:\\a.mdb", 1000) {}
    void tick() override {}
    void cancel() override {}
};

// The text's extent (GetTextExtentPoint32's, through DrawText for the '&'
// marks and a label's wrapping at blanks) within the room the control
// leaves it: past a radio's or check box's mark, inside a push button's
// edges and a frame's corners.
bool textFits(HWND control, UINT dpi) {
    char kind[8] = {};
    GetClassNameA(control, kind, sizeof kind);
    const LONG style = GetWindowLongA(control, GWL_STYLE), type = style & BS_TYPEMASK;
    const bool label = lstrcmpA(kind, "Static") == 0 && (style & SS_TYPEMASK) == SS_LEFT;
    if (!label && lstrcmpA(kind, "Button") != 0) return true;
    const int margin = label                                                   ? 0
                       : type == BS_AUTORADIOBUTTON || type == BS_AUTOCHECKBOX ? 17
                       : type == BS_GROUPBOX                                   ? 12
                                                                               : 6;
    RECT client{};
    GetClientRect(control, &client);
    RECT needed{0, 0, client.right - MulDiv(margin, static_cast<int>(dpi), 96), 0};
    const LONG room = needed.right;
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    DrawTextA(dc, windowText(control).c_str(), -1, &needed,
              DT_CALCRECT | (label ? DT_WORDBREAK | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0) : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return needed.right <= room && needed.bottom <= client.bottom;
}

TEST(TextFit, NoDialogCutsTheTextOfALabelOrButtonAtThisScale) {
    const char* asked = std::getenv("VELMORA_TEST_DPI");  // set by the run at 150%
    if (asked) {
        ASSERT_EQ(systemDpi(), static_cast<UINT>(std::atoi(asked)));
    }
    ScriptedPrompts prompts;
    MemoryFileSystem files;
    MemoryRegistry registry;
    ScriptedProcesses processes;
    RecordedAudit audit;
    MemoryStringTable strings;
    strings.strings[101] = "&About Velmora Data Parser";
    const Services services{files, registry, processes, audit};
    files.files["D:\\a.dat"] = exampleFile("suggest/comma_crlf.dat");
    ParseConfiguration config;
    addRow(config, field("Name", "START_POSITION", "1", "FIXED_LENGTH", "10", "TEXT_FIELD"));
    RunningEngine engine(processes, *processes.start("ParseTarn.exe"));
    const auto yes = [](const ParseConfiguration&) { return true; };
    const std::function<std::unique_ptr<Dialog>()> dialogs[] = {
        [&] { return std::make_unique<MainDialog>(prompts, services, strings); },
        [&] { return std::make_unique<AboutDialog>(prompts); },
        [&] { return std::make_unique<ConfigureDialog>(prompts, files, registry, audit); },
        [&] { return std::make_unique<SentinelsDialog>(prompts, isoSentinels(), EditMode::Append); },
        [&] { return std::make_unique<PreviewDialog>(prompts, files, registry, audit, config); },
        [&] { return std::make_unique<PreviewDialog>(prompts, files, registry, audit, "D:\\a.dat", yes); },
        [&] { return std::make_unique<ParseDialog>(prompts, services); },
        [&] { return std::make_unique<DatabaseExistsDialog>(prompts); },
        [&] { return std::make_unique<ParsingDialog>(prompts, engine, "D:\\a.dat"); },
        [&] { return std::make_unique<ResultsDialog>(prompts, files, registry, audit); },
        [&] {
            return std::make_unique<IdleProgress>(prompts, ProgressTexts{"Finding", "Database:", "Rows searched:"});
        },
        [&] {
            return std::make_unique<IdleProgress>(prompts, ProgressTexts{"Exporting", "Database:", "Rows exported:"});
        },
        [&] {
            return std::make_unique<RecordDialog>(prompts, RecordDetail{1797558, {}, {}}, fail("no data file"), false);
        },
    };
    for (const auto& make : dialogs) {
        std::unique_ptr<Dialog> dialog = make();
        ModelessDialog shown(*dialog);
        HWND hwnd = shown.hwnd();
        pumpMessages(hwnd);
        RECT units{0, 0, 4, 8};
        MapDialogRect(hwnd, &units);
        const SIZE ours = dialogUnitsOf(hwnd, reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
        EXPECT_TRUE(ours.cx == units.right && ours.cy == units.bottom) << windowText(hwnd);
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            EXPECT_TRUE(textFits(child, systemDpi())) << windowText(hwnd) << ": " << windowText(child);
    }
    EXPECT_TRUE(prompts.failures().empty());
}

TEST(TextFit, NorAt150Percent) {
    if (std::getenv("VELMORA_TEST_DPI")) GTEST_SKIP() << "the run at 150% itself";
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string line = "\"" + std::string(self) + "\" --gtest_filter=TextFit.NoDialog*";
    DisplayScale scale(144);
    SetEnvironmentVariableA("VELMORA_TEST_DPI", "144");
    EXPECT_EQ(runToEnd(line), 0) << "the run at 144 DPI failed; its output is above";
    SetEnvironmentVariableA("VELMORA_TEST_DPI", nullptr);
}

}  // namespace
}  // namespace velmora::test
