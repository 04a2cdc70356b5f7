#include "src/win32/dialog_template.h"

#include <commctrl.h>

#include "src/win32/record_map_window.h"

namespace velmora {

namespace {

// Atoms of the predefined control classes in a dialog template.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kComboBoxAtom = 0x0085;

}  // namespace

DWORD dialogStyle(const DialogDescription& description) {
    DWORD style = DS_SETFONT | DS_3DLOOK | DS_CENTER | WS_POPUP | WS_CAPTION;
    style |= description.resizable ? WS_THICKFRAME | WS_MAXIMIZEBOX : DS_MODALFRAME;
    if (description.systemMenu) style |= WS_SYSMENU;
    return style;
}

DWORD controlStyle(const DialogDescription& description, std::size_t index) {
    const std::vector<ControlDescription> ordered = inTemplateOrder(description);
    const ControlDescription& c = ordered[index];
    DWORD style = WS_CHILD;
    if (c.visible) style |= WS_VISIBLE;
    const bool tabStop = isTabStop(description, c);
    if (tabStop) style |= WS_TABSTOP;
    // A group runs to the next control that starts one: each radio group
    // starts at its first radio, and the control after its last radio starts
    // the next; labels start one anyway, as they do in resource scripts.
    bool afterRadio = index > 0 && ordered[index - 1].kind == ControlKind::RadioButton;
    bool radio = c.kind == ControlKind::RadioButton;
    if ((radio && tabStop) || c.kind == ControlKind::Label || (afterRadio && !radio)) style |= WS_GROUP;

    switch (c.kind) {
    case ControlKind::PushButton:
        return style | BS_PUSHBUTTON;
    case ControlKind::DefaultPushButton:
        return style | BS_DEFPUSHBUTTON;
    case ControlKind::Edit:
        return style | WS_BORDER | ES_LEFT | (c.autoHScroll ? ES_AUTOHSCROLL : 0);
    case ControlKind::Label:
        return style | SS_LEFT | (c.noPrefix ? SS_NOPREFIX : 0);
    case ControlKind::GroupBox:
        return style | BS_GROUPBOX;
    case ControlKind::RadioButton:
        return style | BS_AUTORADIOBUTTON;
    case ControlKind::CheckBox:
        return style | BS_AUTOCHECKBOX;
    case ControlKind::DropDownList:
        return style | CBS_DROPDOWNLIST | WS_VSCROLL;
    // No single selection forced, selection hidden without the focus, no
    // editing in place: the list shows rows, the dialog keeps the state.
    case ControlKind::ReportList:
        return style | WS_BORDER | LVS_REPORT;
    case ControlKind::Icon:
        return style | SS_ICON;
    case ControlKind::ProgressBar:
        return style;
    // The strip does not draw over the controls beside it.
    case ControlKind::Tabs:
        return style | WS_CLIPSIBLINGS | TCS_TABS;
    // The selection stays in sight while the focus is in another control.
    case ControlKind::VirtualList:
        return style | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
    case ControlKind::Tree:
        return style | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    case ControlKind::RecordMap:
        return style | WS_BORDER | WS_VSCROLL;
    }
    return style;
}

void DialogTemplate::addDword(DWORD value) {
    add(LOWORD(value));
    add(HIWORD(value));
}

void DialogTemplate::addText(const std::string& text) {
    if (!text.empty()) {
        int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::vector<WCHAR> wide(static_cast<std::size_t>(length > 0 ? length : 0));
        if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
        for (WCHAR ch : wide) add(static_cast<WORD>(ch));
    }
    add(0);
}

void DialogTemplate::alignToDword() {
    if (words_.size() % 2 != 0) add(0);
}

DialogTemplate::DialogTemplate(const DialogDescription& description) {
    const std::vector<ControlDescription> controls = inTemplateOrder(description);
    addHeader(description, controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) addControl(controls[i], controlStyle(description, i));
}

void DialogTemplate::addHeader(const DialogDescription& description, std::size_t controls) {
    addDword(dialogStyle(description));
    addDword(0);  // extended style
    add(static_cast<WORD>(controls));
    add(0);  // x, y: DS_CENTER places it
    add(0);
    add(static_cast<WORD>(description.cx));
    add(static_cast<WORD>(description.cy));
    add(0);  // no menu
    add(0);  // the dialog class
    addText(description.caption);
    add(static_cast<WORD>(description.fontSize));
    addText(description.fontName);
}

void DialogTemplate::addControl(const ControlDescription& c, DWORD style) {
    alignToDword();
    addDword(style);
    addDword(0);
    add(static_cast<WORD>(c.x));
    add(static_cast<WORD>(c.y));
    add(static_cast<WORD>(c.cx));
    add(static_cast<WORD>(c.cy));
    add(static_cast<WORD>(c.id));  // kIdStatic becomes 0xFFFF
    addWindowClass(c.kind);
    if (c.kind == ControlKind::Icon) {
        add(0xFFFF);
        add(static_cast<WORD>(c.iconResource));
    } else if (c.kind == ControlKind::Edit) {
        add(0);  // edits start empty; the dialog's push fills them
    } else {
        addText(c.caption);
    }
    add(0);  // no creation data
}

// A predefined class by its atom, a common control by its name.
void DialogTemplate::addWindowClass(ControlKind kind) {
    switch (kind) {
    case ControlKind::Edit:
        add(0xFFFF);
        add(kEditAtom);
        break;
    case ControlKind::Label:
    case ControlKind::Icon:
        add(0xFFFF);
        add(kStaticAtom);
        break;
    case ControlKind::DropDownList:
        add(0xFFFF);
        add(kComboBoxAtom);
        break;
    case ControlKind::ReportList:
    case ControlKind::VirtualList:
        addText(WC_LISTVIEWA);
        break;
    case ControlKind::Tabs:
        addText(WC_TABCONTROLA);
        break;
    case ControlKind::Tree:
        addText(WC_TREEVIEWA);
        break;
    case ControlKind::ProgressBar:
        addText(PROGRESS_CLASSA);
        break;
    case ControlKind::RecordMap:
        addText(kRecordMapClass);
        break;
    default:
        add(0xFFFF);
        add(kButtonAtom);
        break;
    }
}

}  // namespace velmora
