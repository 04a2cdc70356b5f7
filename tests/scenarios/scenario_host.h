#pragma once
// The host-neutral driver that dialog scenarios are written against. The
// same scenarios run on the headless host (core_tests) and on real windows
// under Wine (win32_scenario_tests); each executable links exactly one
// definition of makeScenarioHost(). Prompts are scripted on both hosts:
// only the controls are real windows on Win32.
//
// Every action is the user's: an action on a disabled or hidden control
// does nothing, as a real click or keystroke would not reach it. Each
// action returns once the dialog has handled all it caused.
#include <memory>
#include <string>

#include "src/toolkit/byte_map_layout.h"
#include "src/toolkit/dialog.h"

namespace velmora::test {

class ScenarioHost {
public:
    virtual ~ScenarioHost() = default;

    // Creates the dialog's controls from its description and opens it as its
    // modal run would: Init, then the dialog manager's default focus.
    virtual void open(Dialog& dialog) = 0;

    // Focus the edit, select all its text, type the characters one by one
    // (each keystroke that changes the text raises one change event, those
    // beyond the input limit are refused); "" deletes the selection.
    virtual void type(int id, const std::string& text) = 0;
    // A mouse click on a push button, radio button or check box.
    virtual void click(int id) = 0;
    // Opens a drop-down and picks entry `index`, or clicks tab `index`.
    virtual void choose(int id, int index) = 0;
    // A left click in the middle of a report list's row, below its rows, or
    // at a point of its client area.
    virtual void clickListRow(int id, int row) = 0;
    virtual void clickListBelowRows(int id) = 0;
    virtual void clickListAt(int id, ListPoint point) = 0;
    // A left click in the middle of a report list's cell, scrolled into view.
    virtual void clickListCell(int id, int row, int column) = 0;
    // A click on byte `at` of a record map, scrolled into view; a key
    // pressed in the map.
    virtual void clickMapByte(int id, std::size_t at) = 0;
    virtual void pressMapKey(int id, MapKey key) = 0;
    // Up, Down, Home or End pressed in a report list.
    virtual void pressListKey(int id, MapKey key) = 0;
    // A double click in the middle of a list's row.
    virtual void doubleClickListRow(int id, int row) = 0;
    virtual void pressEnter() = 0;
    virtual void pressEscape() = 0;
    virtual void pressF1() = 0;
    virtual void pressFunctionKey(int number) = 0;  // 3 for F3
    virtual void closeBox() = 0;
    // Chooses an entry of the window's system menu by its command id.
    virtual void chooseSystemCommand(int id) = 0;
    // The text of an entry added below a separator at the end of the
    // system menu; "" when there is none.
    virtual std::string systemMenuEntry(int id) const = 0;

    virtual bool isEnabled(int id) const = 0;
    virtual bool isVisible(int id) const = 0;
    virtual std::string text(int id) const = 0;
    virtual bool isChecked(int id) const = 0;
    // The control with the keyboard focus; 0 when none of the dialog's.
    virtual int focusedId() const = 0;
    virtual std::string caption() const = 0;
    // A drop-down's selected entry, -1 for none; an entry's text.
    virtual int selectedIndex(int id) const = 0;
    virtual std::string itemText(int id, int index) const = 0;
    // A report list's rows and cells as shown.
    virtual int listRowCount(int id) const = 0;
    virtual std::string listCell(int id, int row, int column) const = 0;
    virtual std::string listHeader(int id, int column) const = 0;
    virtual int selectedRow(int id) const = 0;
    // Whether the dialog has ended, and with which result.
    virtual bool ended() const = 0;
    virtual int result() const = 0;
};

std::unique_ptr<ScenarioHost> makeScenarioHost();

}  // namespace velmora::test
