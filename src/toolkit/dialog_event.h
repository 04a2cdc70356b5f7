#pragma once
// The events a host delivers to a dialog, all through Dialog::dispatch.
#include "src/toolkit/dialog_controls.h"

namespace velmora {

struct DialogEvent {
    enum Kind {
        Init,               // the dialog's controls exist; nothing shown yet
        Clicked,            // push button, radio button or check box (id)
        EditChanged,        // an edit's text changed, by the user or by program (id)
        SelectionChanged,   // the user picked another drop-down entry (id)
        DropDownClosed,     // a drop-down's list closed (id)
        ListClicked,        // left click in a report list (id, point)
        ListDoubleClicked,  // double click in a report or virtual list (id, point)
        Help,               // F1
        Ok,                 // IDOK: its button, or Enter routed to it
        Cancel,             // IDCANCEL: its button, Escape or the close box
        SystemCommand,      // a system menu command (id: the command as sent)
        Timer,              // a timer the dialog started has elapsed (id)
        ListKeyed,          // a key pressed in a report list is handled: its selection may have moved (id)
    };
    Kind kind = Init;
    int id = 0;
    ListPoint point{};
};

// What a dialog made of an event.
enum class EventResult {
    Unhandled,  // the host (or the Dialog base) applies its default
    Handled,
    FocusSet,  // Init only: the dialog placed the focus itself
};

}  // namespace velmora
