#pragma once
// A dialog with a control of every kind that records each event reaching
// it: what the contract of the two hosts is written against, and what the
// Win32 host's own tests build their templates from.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "src/toolkit/dialog.h"

namespace velmora::test {

enum : int {
    kNameEdit = 101,
    kNoteEdit = 102,
    kHiddenEdit = 103,
    kRadioOne = 201,
    kRadioTwo = 202,
    kCheck = 301,
    kDropDown = 401,
    kList = 501,
    kPush = 601,
    kBar = 701,
    kTabs = 801,
    kVirtualList = 802,
    kTree = 803,
};

inline DialogDescription recordingDescription(ControlKind okKind = ControlKind::DefaultPushButton) {
    DialogDescription d;
    d.caption = "Controls";
    d.cx = 260;
    d.cy = 270;
    using K = ControlKind;
    ControlDescription name{kNameEdit, K::Edit, "", 50, 8, 60, 14};
    name.textLimit = 5;
    ControlDescription note{kNoteEdit, K::Edit, "", 120, 8, 60, 14};
    note.autoHScroll = true;
    ControlDescription hidden{kHiddenEdit, K::Edit, "", 190, 8, 60, 14};
    hidden.visible = false;
    d.controls = {
        {kIdStatic, K::Label, "&Name:", 8, 10, 40, 8},
        name,
        {kRadioOne, K::RadioButton, "One", 8, 30, 50, 10},
        note,  // one group with a control between its radios
        {kRadioTwo, K::RadioButton, "Two", 8, 44, 50, 10},
        {kCheck, K::CheckBox, "Check", 70, 30, 60, 10},
        {kIdStatic, K::GroupBox, "Frame", 140, 26, 110, 40},
        {kDropDown, K::DropDownList, "", 150, 40, 80, 60},
        {kList, K::ReportList, "", 8, 70, 240, 90},
        {kPush, K::PushButton, "Push", 8, 175, 50, 14},
        {kIdOk, okKind, "OK", 130, 175, 50, 14},
        {kIdCancel, K::PushButton, "Cancel", 190, 175, 50, 14},
        hidden,
        {kBar, K::ProgressBar, "", 8, 162, 240, 10},
        {kTabs, K::Tabs, "", 8, 195, 240, 14},
        {kVirtualList, K::VirtualList, "", 8, 210, 115, 55},
        {kTree, K::Tree, "", 130, 210, 118, 55},
    };
    d.functionKeys = {{3, kPush}};
    d.radioGroups = {{kRadioOne, kRadioTwo}};
    return d;
}

inline std::string describe(const DialogEvent& e) {
    static const char* const names[] = {
        "Init", "Clicked", "EditChanged", "SelectionChanged", "DropDownClosed", "ListClicked", "ListDoubleClicked",
        "Help", "Ok",      "Cancel",      "SystemCommand",    "Timer",          "ListKeyed"};
    return std::string(names[e.kind]) + (e.id ? " " + std::to_string(e.id) : "");
}

class RecordingDialog : public Dialog {
public:
    explicit RecordingDialog(Prompts& prompts, DialogDescription d = recordingDescription())
        : Dialog(std::move(d), prompts) {
        bindText(kNameEdit, name, 5);
        bindText(kNoteEdit, note);
    }

    std::string name, note;
    std::vector<DialogEvent> events;
    // An edit's text after each of its changes; a change that left it as it
    // was (Wine reports refused keystrokes too) adds nothing.
    std::vector<std::string> texts;
    std::function<EventResult()> init;  // Init's handler; the base's push when empty
    bool keepOpen = false;              // Ok and Cancel handled, so that their routing can be watched
    bool throwOnPush = false;

    // The events as "Clicked 601; Cancel 2". The close box also arrives as
    // the system's close command on real windows; what both hosts promise
    // is the Cancel that follows, so system commands are left out.
    std::string log() const {
        std::string text;
        for (const DialogEvent& e : events)
            if (e.kind != DialogEvent::SystemCommand) text += (text.empty() ? "" : "; ") + describe(e);
        return text;
    }
    // Handlers and tests may call on the controls the host gave it.
    using Dialog::controls;

protected:
    EventResult onEvent(const DialogEvent& event) override {
        events.push_back(event);
        switch (event.kind) {
        case DialogEvent::Init:
            return init ? init() : EventResult::Unhandled;
        case DialogEvent::EditChanged:
            if (texts.empty() || texts.back() != controls().text(event.id)) texts.push_back(controls().text(event.id));
            return EventResult::Unhandled;
        case DialogEvent::Clicked:
            if (event.id == kPush && throwOnPush) throw std::runtime_error("handler failed");
            return EventResult::Unhandled;
        case DialogEvent::Ok:
        case DialogEvent::Cancel:
            return keepOpen ? EventResult::Handled : EventResult::Unhandled;
        case DialogEvent::Help:
            return EventResult::Handled;
        default:
            return EventResult::Unhandled;
        }
    }
};

}  // namespace velmora::test
