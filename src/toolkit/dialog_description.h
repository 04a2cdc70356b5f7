#pragma once
// One description of a dialog's controls, shared by both hosts: the Win32
// host builds its dialog template from it in memory, the headless host its
// in-memory controls. Positions and sizes are in dialog units.
#include <string>
#include <vector>

namespace velmora {

// Identifiers with a fixed meaning to the dialog manager.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdStatic = -1;  // labels and frames nobody addresses (0xFFFF on Win32)

enum class ControlKind {
    PushButton,
    DefaultPushButton,
    Edit,   // single line
    Label,  // static text, left aligned
    GroupBox,
    RadioButton,   // automatic: a click selects it and clears its group
    CheckBox,      // automatic: a click toggles it
    DropDownList,  // non-editable drop-down, unsorted; cy includes the open list
    ReportList,    // list view in report mode, single header row
    Icon,          // static icon, `iconResource`
    ProgressBar,   // the standard progress bar, positions 0 to 100
    Tabs,          // a tab strip: its tabs are items as a drop-down's, picking one is SelectionChanged
    VirtualList,   // a report list, one row selected at a time, whose rows the dialog gives as they are shown
    Tree,          // a tree of text items, with lines and expanding buttons
    RecordMap,     // a record's bytes by field (src/toolkit/mapped_bytes.h); a click or a key on a byte is
                   // SelectionChanged
};

// How a control follows the size of a resizable dialog, as bits: it keeps
// its distance to the right or bottom edge, or grows with it.
enum ResizeRule : unsigned {
    kFollowRight = 1u << 0,
    kFollowBottom = 1u << 1,
    kGrowRight = 1u << 2,
    kGrowDown = 1u << 3,
};

struct ControlDescription {
    int id = kIdStatic;
    ControlKind kind = ControlKind::Label;
    std::string caption;
    int x = 0, y = 0, cx = 0, cy = 0;
    // Input limit set at creation (0: the control's default). Transfers may
    // set a limit of their own later.
    int textLimit = 0;
    bool visible = true;
    bool autoHScroll = false;  // edits: scroll sideways instead of stopping at the edge
    bool noPrefix = false;     // labels: show '&' as it is
    int iconResource = 0;
    unsigned resize = 0;  // ResizeRule bits; a resizable dialog's controls only
};

// An entry a dialog adds to the end of its system menu, below a separator.
struct SystemMenuItem {
    int id = 0;
    std::string text;
};

// A function key that clicks a button wherever the focus is in the dialog.
struct FunctionKey {
    int number = 0;  // 3 for F3
    int buttonId = 0;
};

struct DialogDescription {
    std::string caption;
    int cx = 0, cy = 0;
    std::string fontName = "MS Sans Serif";
    int fontSize = 8;
    bool systemMenu = true;  // caption bar with system menu and close box
    // Entries appended to the system menu below one separator; none, no
    // separator. Choosing one arrives as DialogEvent::SystemCommand.
    std::vector<SystemMenuItem> systemMenuItems;
    // The window's big and small icons, drawn centred while minimised and
    // shown while a minimised window is dragged; 0 for the platform's own.
    int iconResource = 0;
    // A sizing border and a maximize box; the described size is the least.
    bool resizable = false;
    std::vector<FunctionKey> functionKeys;
    std::vector<ControlDescription> controls;  // template order = tab order
    // The radio groups, each a list of radio ids: choosing one clears the
    // others of its group, whatever stands between them in `controls`. A
    // radio that no group names is a group of its own.
    std::vector<std::vector<int>> radioGroups;

    // The control with `id`, or nullptr (never for kIdStatic).
    const ControlDescription* find(int id) const;
};

// The ids of the radio group that `radioId` belongs to, as the description
// lists them; empty when `radioId` is not a radio button of the description.
std::vector<int> radioGroupOf(const DialogDescription& dialog, int radioId);

// Whether the control takes part in Tab navigation (WS_TABSTOP): buttons,
// edits, check boxes, drop-downs, lists, and of each radio group the radio
// that comes first in `controls`: the group is one stop.
bool isTabStop(const DialogDescription& dialog, const ControlDescription& control);

// The controls in the order a dialog template holds them, which is the tab
// order: as listed, except that the later radios of a group follow its first
// radio at once, so that the arrow keys move between the group's radios and
// nothing else.
std::vector<ControlDescription> inTemplateOrder(const DialogDescription& dialog);

}  // namespace velmora
