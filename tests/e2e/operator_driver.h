#pragma once
// Drives the real VelmoraDataParser.exe from outside, as an operator would:
// finds each window of the program by its caption, types into its edits,
// presses its buttons by id, and reads and answers its message boxes.
#include <windows.h>

#include <string>

#include "tests/src/win32/win32_test_support.h"

namespace velmora::test {

class RunningProgram {
public:
    explicit RunningProgram(const std::string& commandLine);
    ~RunningProgram();  // ends the program when a test left it running
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return process_.hProcess != nullptr; }
    // Whether it ended within the time given.
    bool waitForExit(DWORD milliseconds);

    // A dialog-class window of the program with this caption; a message
    // box when `messageBox`, else any other dialog. nullptr after a time.
    HWND waitForDialog(const std::string& caption, bool messageBox = false) const;
    // Whether no such window of the program is left after a time.
    bool waitUntilGone(HWND window) const;

    // A report list's cell, or its column header when `row` is -1. The
    // list's messages carry pointers, so the buffers live in the program.
    std::string listText(HWND dialog, int id, int row, int column) const;

private:
    PROCESS_INFORMATION process_{};
};

// The text of a control, as the program shows it.
std::string textOf(HWND dialog, int id);
// Replaces an edit's text as pasting would: its change event follows.
void typeInto(HWND dialog, int id, const std::string& text);
// A click on a button, radio button or check box; returns once handled.
void click(HWND dialog, int id);
// A click whose handler opens a modal window: returns at once.
void clickAndLeave(HWND dialog, int id);
// Picks entry `index` of a drop-down list as the user's choice would.
void choose(HWND dialog, int id, int index);
bool isEnabled(HWND dialog, int id);
// The rows of a report list; -1 when there is no such list.
int listRowCount(HWND dialog, int id);

// The text of a message box (its static text).
std::string messageText(HWND box);
// Presses a button of a box or dialog by its id; returns at once.
void press(HWND window, int id);
// Types a path into a common file dialog's file-name box and presses OK.
void chooseFile(HWND fileDialog, const std::string& path);

}  // namespace velmora::test
