#pragma once
// What the tests on real windows share: pumping messages, answering the
// boxes that a modal run shows, and the registry values they set.
#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "src/toolkit/prompts.h"

namespace velmora::test {

// Dispatches every queued message of this thread, through the dialog
// manager of `dialog` when given, until none is left.
void pumpMessages(HWND dialog = nullptr);

// A box or dialog as it came up.
struct SeenBox {
    std::string caption;
    std::string text;  // the static text with id 0xFFFF
    MessageIcon icon = MessageIcon::None;
    bool hasCancel = false;
};

// Answers the dialog-class windows (message boxes, file dialogs, the
// program's own dialogs) that come up on this thread while it lives,
// through a WH_CBT hook on HCBT_ACTIVATE, with the actions queued in
// order. A box that comes with nothing queued is recorded as unexpected
// and cancelled, so a test never hangs on it. The "Parsing" window of an
// engine run is left alone.
class BoxAnswerer {
public:
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // Presses the button with `id` (as its click would: WM_COMMAND).
    BoxAnswerer& press(int id);
    // Types `path` into a file dialog's file-name box and presses OK.
    BoxAnswerer& chooseFile(const std::string& path);

    const std::vector<SeenBox>& seen() const { return seen_; }
    const std::vector<std::string>& unexpected() const { return unexpected_; }
    std::size_t pending() const { return actions_.size(); }

private:
    static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam);
    void activated(HWND box);

    HHOOK hook_ = nullptr;
    std::deque<std::function<void(HWND)>> actions_;
    std::vector<HWND> handled_;
    std::vector<SeenBox> seen_;
    std::vector<std::string> unexpected_;
};

// Runs a command line to its end, its output this program's; its exit
// code, or -1. With `shareOutput` false the program gets none of this
// program's handles: what it leaves running (under Wine msiexec's helpers,
// or the desktop a setup program's window starts) cannot hold the test
// runner's output open.
int runToEnd(const std::string& commandLine, bool shareOutput = true);

// The folder of the running test program, with a final '\'.
std::string programFolder();

// A text value under HKEY_LOCAL_MACHINE in the 64-bit view, or under
// HKEY_CURRENT_USER; none when missing.
std::optional<std::string> machineValue(const char* key, const char* name);
std::optional<std::string> userValue(const char* key, const char* name);

// The display scale of the programs started while this lives, in DPI: Wine
// reads LogPixels under HKEY_CURRENT_USER\Control Panel\Desktop as each
// program starts. Whatever was there before comes back.
class DisplayScale {
public:
    explicit DisplayScale(DWORD dpi);
    ~DisplayScale();
    DisplayScale(const DisplayScale&) = delete;
    DisplayScale& operator=(const DisplayScale&) = delete;

private:
    std::optional<DWORD> previous_;
};

// The engine's install folder in the registry, as the utility reads it, for
// the object's life; whatever was there before comes back.
class EngineFolderValue {
public:
    EngineFolderValue();  // leaves the value as it is until set or removed
    explicit EngineFolderValue(const std::string& folder);
    ~EngineFolderValue();
    EngineFolderValue(const EngineFolderValue&) = delete;
    EngineFolderValue& operator=(const EngineFolderValue&) = delete;

    void set(const std::string& folder);
    void remove();

private:
    std::optional<std::string> previous_;
};

}  // namespace velmora::test
