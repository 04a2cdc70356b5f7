// What only real windows show of the Win32 host: the template built from a
// description, the keyboard of the dialog manager, a list's own styles and
// drawing, timers, a handler's failure and the window's icons. What both
// hosts promise is in tests/scenarios/host_contract_scenarios.cpp.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "tests/scenarios/recording_dialog.h"
#include "src/win32/dialog_runner.h"
#include "src/win32/dialog_template.h"
#include "src/win32/display_scale.h"
#include "tests/src/win32/win32_test_support.h"
#include "src/headless/memory_file_system.h"
#include "src/headless/memory_registry.h"
#include "src/headless/recorded_audit.h"
#include "src/viewer/record_dialog.h"
#include "src/viewer/results_dialog.h"

namespace velmora::test {
namespace {

// Prompts the control tests never expect to be used.
class NoPrompts : public Prompts {
public:
    std::vector<std::string> shown;
    void appMessage(const std::string& text) override { shown.push_back(text); }
    MessageAnswer messageBox(const std::string& text, const std::string&, MessageIcon, MessageButtons) override {
        shown.push_back(text);
        return MessageAnswer::Cancel;
    }
    std::optional<FileChoice> chooseFile(const FileDialogRequest&) override { return {}; }
    int runModal(Dialog&) override { return kIdCancel; }
};

class ControlsTest : public ::testing::Test {
protected:
    void open() {
        window.emplace(dialog);
        pumpMessages(hwnd());
        dialog.events.clear();
    }
    HWND hwnd() const { return window->hwnd(); }
    HWND item(int id) const { return GetDlgItem(hwnd(), id); }
    Win32Window& controls() { return window->window(); }
    void post(HWND target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        PostMessageA(target, message, wParam, lParam);
        pumpMessages(hwnd());
    }
    void key(UINT virtualKey) {
        HWND focus = GetFocus();
        post(focus && IsChild(hwnd(), focus) ? focus : hwnd(), WM_KEYDOWN, virtualKey, 1);
    }
    RECT dialogUnits(int x, int y, int cx, int cy) {
        RECT r{x, y, x + cx, y + cy};
        MapDialogRect(hwnd(), &r);
        return r;
    }
    RECT placeOf(int id) {
        RECT r{};
        GetWindowRect(item(id), &r);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    NoPrompts prompts;
    RecordingDialog dialog{prompts};
    std::optional<ModelessDialog> window;
};

std::string className(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

TEST_F(ControlsTest, TemplatePlacesEveryControlInDialogUnitsWithItsClassAndStyle) {
    open();
    EXPECT_EQ(windowText(hwnd()), "Controls");
    RECT client{};
    GetClientRect(hwnd(), &client);
    RECT size = dialogUnits(0, 0, 260, 270);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    const DialogDescription d = recordingDescription();
    for (const ControlDescription& c : d.controls) {
        if (c.id == kIdStatic) continue;
        SCOPED_TRACE(c.id);
        RECT expected = dialogUnits(c.x, c.y, c.cx, c.cy);
        RECT actual = placeOf(c.id);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right, expected.right);
        if (c.kind != ControlKind::DropDownList) {
            EXPECT_EQ(actual.bottom, expected.bottom);
        }
        LONG style = GetWindowLongA(item(c.id), GWL_STYLE);
        EXPECT_EQ((style & WS_TABSTOP) != 0, isTabStop(d, c));
        EXPECT_EQ((style & WS_VISIBLE) != 0, c.visible);
    }
    EXPECT_EQ(className(item(kNameEdit)), "Edit");
    EXPECT_EQ(className(item(kRadioOne)), "Button");
    EXPECT_EQ(className(item(kDropDown)), "ComboBox");
    EXPECT_EQ(className(item(kList)), "SysListView32");
    EXPECT_EQ(className(item(kBar)), "msctls_progress32");
    EXPECT_EQ(className(item(kTabs)), "SysTabControl32");
    EXPECT_EQ(className(item(kTree)), "SysTreeView32");
    EXPECT_EQ(GetWindowLongA(item(kVirtualList), GWL_STYLE) & (LVS_TYPEMASK | LVS_OWNERDATA | LVS_SINGLESEL),
              LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL);
    EXPECT_TRUE(GetWindowLongA(item(kTree), GWL_STYLE) & TVS_HASBUTTONS);
    EXPECT_EQ(windowText(item(kPush)), "Push");
    EXPECT_EQ(GetWindowLongA(item(kIdOk), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(item(kRadioTwo), GWL_STYLE) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
    EXPECT_EQ(GetWindowLongA(item(kCheck), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(GetWindowLongA(item(kDropDown), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(GetWindowLongA(item(kList), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(GetWindowLongA(item(kNoteEdit), GWL_STYLE) & ES_AUTOHSCROLL);
    EXPECT_FALSE(GetWindowLongA(item(kNameEdit), GWL_STYLE) & ES_AUTOHSCROLL);
    // The radios follow one another in the template; the group ends before
    // the edit that the description puts between them.
    EXPECT_TRUE(GetWindowLongA(item(kRadioOne), GWL_STYLE) & WS_GROUP);
    EXPECT_FALSE(GetWindowLongA(item(kRadioTwo), GWL_STYLE) & WS_GROUP);
    EXPECT_EQ(GetWindow(item(kRadioOne), GW_HWNDNEXT), item(kRadioTwo));
    EXPECT_TRUE(GetWindowLongA(item(kNoteEdit), GWL_STYLE) & WS_GROUP);

    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    HDC dc = GetDC(hwnd());
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72));
    ReleaseDC(hwnd(), dc);
}

TEST_F(ControlsTest, TabStopsOnceAtARadioGroupAndTheArrowsChooseWithinIt) {
    open();
    SendMessageA(item(kRadioOne), BM_CLICK, 0, 0);
    SetFocus(item(kNameEdit));
    pumpMessages(hwnd());
    dialog.events.clear();
    key(VK_TAB);
    EXPECT_EQ(controls().focusedId(), kRadioOne);
    key(VK_DOWN);
    EXPECT_EQ(controls().focusedId(), kRadioTwo);
    EXPECT_TRUE(controls().isChecked(kRadioTwo));
    EXPECT_FALSE(controls().isChecked(kRadioOne));
    key(VK_DOWN);
    EXPECT_EQ(controls().focusedId(), kRadioOne);
    key(VK_TAB);
    EXPECT_EQ(controls().focusedId(), kNoteEdit);
    EXPECT_EQ(dialog.log(), "Clicked 202; Clicked 201");
}

TEST_F(ControlsTest, AListKeepsItsOtherStylesAndIsDrawnOnceTheRowsAreIn) {
    open();
    controls().insertColumn(kList, 0, "Field Name", 70);
    RECT client{};
    GetClientRect(item(kList), &client);
    EXPECT_EQ(controls().clientWidth(kList), client.right);
    SendMessageA(item(kList), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, LVS_EX_HEADERDRAGDROP);
    controls().setListStyles(kList, kListGridLines | kListFullRowSelect);
    EXPECT_TRUE(SendMessageA(item(kList), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_HEADERDRAGDROP);

    controls().insertRow(kList, 0, "old");
    UpdateWindow(item(kList));
    controls().replaceRows(kList, {{"X"}, {"Y"}});
    EXPECT_TRUE(GetUpdateRect(item(kList), nullptr, FALSE));
    UpdateWindow(item(kList));
    controls().insertRow(kList, 3, "later");
    EXPECT_TRUE(GetUpdateRect(item(kList), nullptr, FALSE));
}

TEST_F(ControlsTest, TheBarShowsItsShareAndTimersArriveAsEvents) {
    open();
    controls().setProgress(kBar, 42);
    EXPECT_EQ(SendMessageA(item(kBar), PBM_GETPOS, 0, 0), 42);
    controls().startTimer(7, 10);
    MSG msg;
    for (int waited = 0; waited < 5000 && dialog.events.empty(); waited += 10) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
    ASSERT_FALSE(dialog.events.empty());
    EXPECT_EQ(describe(dialog.events[0]), "Timer 7");
}

TEST_F(ControlsTest, HandlerFailureEndsTheDialogAndSurfacesOutsideTheWindowSystem) {
    open();
    dialog.throwOnPush = true;
    SendMessageA(item(kPush), BM_CLICK, 0, 0);
    EXPECT_TRUE(controls().ended());
    EXPECT_EQ(controls().result(), kDialogFailed);
    EXPECT_THROW(controls().rethrowFailure(), std::runtime_error);
    EXPECT_THROW(controls().item(999), std::out_of_range);

    // Modal: the run ends and throws once DialogBoxIndirectParamA is back.
    window.reset();
    dialog.init = []() -> EventResult { throw std::runtime_error("init failed"); };
    EXPECT_THROW(runModalDialog(dialog, nullptr), std::runtime_error);
}

SIZE iconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

// A resizable dialog's controls follow its edges as described, and it
// goes no smaller than it opened.
TEST(ResizableDialog, ControlsFollowTheEdgesAndTheDescribedSizeIsTheLeast) {
    NoPrompts prompts;
    DialogDescription d = recordingDescription();
    d.resizable = true;
    for (ControlDescription& c : d.controls) {
        if (c.id == kIdCancel) c.resize = kFollowRight | kFollowBottom;
        if (c.id == kVirtualList) c.resize = kGrowRight | kGrowDown;
    }
    RecordingDialog dialog(prompts, d);
    ModelessDialog shown(dialog);
    HWND hwnd = shown.hwnd();
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_MAXIMIZEBOX);
    auto place = [&](int id) {
        RECT r{};
        GetWindowRect(GetDlgItem(hwnd, id), &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT before{}, cancel = place(kIdCancel), list = place(kVirtualList), push = place(kPush);
    GetWindowRect(hwnd, &before);
    SetWindowPos(hwnd, nullptr, 0, 0, before.right - before.left + 40, before.bottom - before.top + 30,
                 SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages(hwnd);
    EXPECT_EQ(place(kIdCancel).left, cancel.left + 40);
    EXPECT_EQ(place(kIdCancel).top, cancel.top + 30);
    EXPECT_EQ(place(kVirtualList).right, list.right + 40);
    EXPECT_EQ(place(kVirtualList).bottom, list.bottom + 30);
    EXPECT_EQ(place(kPush).top, push.top);  // described without a rule: stays
    MINMAXINFO least{};
    SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&least));
    EXPECT_EQ(least.ptMinTrackSize.x, before.right - before.left);
    EXPECT_EQ(least.ptMinTrackSize.y, before.bottom - before.top);
}

// Moved to a monitor at 150%: the dialog takes the rectangle suggested,
// each control (a label too) the dialog's font at that scale and the place
// its dialog units give with it, keeping its distance to an edge it
// follows; the lists' columns and the icons take their sizes there.
TEST(ResizableDialog, AMoveToAnotherScaleLaysItOutAgainInTheSuggestedRectangle) {
    NoPrompts prompts;
    DialogDescription d = recordingDescription();
    d.resizable = true;
    d.iconResource = 128;
    d.controls[11].resize = kFollowRight | kFollowBottom;  // Cancel
    RecordingDialog dialog(prompts, d);
    ModelessDialog shown(dialog);
    HWND hwnd = shown.hwnd();
    shown.window().insertColumn(kList, 0, "Field Name", 70);
    const UINT dpi = systemDpi() * 3 / 2;
    RECT suggested{}, now{}, client{}, label{}, cancel{};
    GetWindowRect(hwnd, &suggested);
    suggested.right += 400;
    suggested.bottom += 300;
    SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(hwnd, &now);
    EXPECT_TRUE(EqualRect(&now, &suggested));
    HWND first = GetWindow(hwnd, GW_CHILD);  // "&Name:", at 8, 10
    auto font = reinterpret_cast<HFONT>(SendMessageA(first, WM_GETFONT, 0, 0));
    LOGFONTA face{};
    GetObjectA(font, sizeof face, &face);
    EXPECT_EQ(face.lfHeight, -MulDiv(8, static_cast<int>(dpi), 72));
    const SIZE units = dialogUnitsOf(hwnd, font);
    GetClientRect(hwnd, &client);
    GetWindowRect(first, &label);
    GetWindowRect(GetDlgItem(hwnd, kIdCancel), &cancel);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&label), 2);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&cancel), 2);
    EXPECT_EQ(label.left, MulDiv(8, units.cx, 4));
    EXPECT_EQ(label.bottom, MulDiv(10, units.cy, 8) + MulDiv(8, units.cy, 8));
    EXPECT_EQ(client.right - cancel.left, MulDiv(260, units.cx, 4) - MulDiv(190, units.cx, 4));
    EXPECT_EQ(SendMessageA(GetDlgItem(hwnd, kList), LVM_GETCOLUMNWIDTH, 0, 0), MulDiv(70, static_cast<int>(dpi), 96));
    EXPECT_EQ(shown.window().columnWidth(kList, 0), 70);
    RECT list{};
    GetClientRect(GetDlgItem(hwnd, kList), &list);
    EXPECT_EQ(shown.window().clientWidth(kList), list.right * 96 / static_cast<int>(dpi));  // rounded down
    auto smallIcon = reinterpret_cast<HICON>(SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(iconSize(smallIcon).cx, systemMetricForDpi(SM_CXSMICON, dpi));
}

TEST(DialogTemplateTest, StartsGroupsWhereRadioGroupsEnd) {
    DialogDescription d;
    using K = ControlKind;
    d.controls = {{1, K::RadioButton, "a", 0, 0, 10, 10},
                  {4, K::Edit, "", 0, 0, 10, 10},
                  {2, K::RadioButton, "b", 0, 0, 10, 10},
                  {3, K::RadioButton, "c", 0, 0, 10, 10},
                  {5, K::PushButton, "p", 0, 0, 10, 10}};
    d.radioGroups = {{1, 2}};  // "c" is a group of its own
    // In the template: a, b, the edit, c, the button.
    auto group = [&](std::size_t i) { return (controlStyle(d, i) & WS_GROUP) != 0; };
    auto tabStop = [&](std::size_t i) { return (controlStyle(d, i) & WS_TABSTOP) != 0; };
    EXPECT_TRUE(group(0) && tabStop(0));
    EXPECT_FALSE(group(1) || tabStop(1));
    EXPECT_TRUE(group(2));  // ends the first radio group
    EXPECT_TRUE(group(3) && tabStop(3));
    EXPECT_TRUE(group(4));
    EXPECT_TRUE(dialogStyle(d) & WS_SYSMENU);
    d.systemMenu = false;
    EXPECT_FALSE(dialogStyle(d) & WS_SYSMENU);
}

// Both drawn for the window's scale from the program's own, and owned by
// the showing.
TEST(WindowIcon, TheProgramsIconBigAndSmallAtTheWindowsScaleOwnedByTheShowing) {
    NoPrompts prompts;
    DialogDescription d = recordingDescription();
    d.iconResource = 128;  // this test program carries the program's icon
    RecordingDialog dialog(prompts, d);
    HICON bigIcon = nullptr, smallIcon = nullptr;
    {
        ModelessDialog shown(dialog);
        bigIcon = reinterpret_cast<HICON>(SendMessageA(shown.hwnd(), WM_GETICON, ICON_BIG, 0));
        smallIcon = reinterpret_cast<HICON>(SendMessageA(shown.hwnd(), WM_GETICON, ICON_SMALL, 0));
        SIZE big = iconSize(bigIcon), small = iconSize(smallIcon);
        EXPECT_EQ(big.cx, GetSystemMetrics(SM_CXICON));
        EXPECT_EQ(big.cy, GetSystemMetrics(SM_CYICON));
        EXPECT_EQ(small.cx, GetSystemMetrics(SM_CXSMICON));
        EXPECT_EQ(small.cy, GetSystemMetrics(SM_CYSMICON));

        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(shown.hwnd(), WM_QUERYDRAGICON, 0, 0)), bigIcon);
        ShowWindow(shown.hwnd(), SW_MINIMIZE);
        RedrawWindow(shown.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        pumpMessages(shown.hwnd());
        EXPECT_TRUE(IsIconic(shown.hwnd()));
    }
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(bigIcon, &info));  // gone with the window
    EXPECT_FALSE(GetIconInfo(smallIcon, &info));
    // Drawn at each size the scales from 100% to 200% take.
    const auto* group = static_cast<const BYTE*>(
        LockResource(LoadResource(nullptr, FindResourceA(nullptr, MAKEINTRESOURCEA(128), RT_GROUP_ICON))));
    std::vector<int> sizes;
    for (int i = 0; group && i < group[4]; ++i) sizes.push_back(group[6 + 14 * i]);  // each entry's width
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64}));
}

// The windows the operator resizes and keeps beside his work show whose
// they are, as the main window does.
TEST(WindowIcon, TheResultsAndRecordWindowsCarryTheProgramsIcon) {
    NoPrompts prompts;
    MemoryFileSystem files;
    MemoryRegistry registry;
    RecordedAudit audit;
    ResultsDialog results(prompts, files, registry, audit);
    RecordDialog record(prompts, RecordDetail{1, {}, {}}, fail("no data file"), false);
    for (Dialog* dialog : {static_cast<Dialog*>(&results), static_cast<Dialog*>(&record)}) {
        ModelessDialog shown(*dialog);
        for (WPARAM size : {ICON_BIG, ICON_SMALL})
            EXPECT_NE(SendMessageA(shown.hwnd(), WM_GETICON, size, 0), 0) << dialog->description().caption;
    }
}

}  // namespace
}  // namespace velmora::test
