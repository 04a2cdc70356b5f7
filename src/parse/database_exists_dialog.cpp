#include "src/parse/database_exists_dialog.h"

namespace velmora {

DialogDescription databaseExistsDescription() {
    DialogDescription d;
    d.caption = "Database Exists";
    d.cx = 186;
    d.cy = 62;
    using K = ControlKind;
    d.controls = {
        // Two lines high: in some fonts the question wraps.
        {kIdStatic, K::Label, "Database already exists.  What would you like to do?", 10, 12, 166, 16},
        {kIdCancel, K::PushButton, "Cancel", 30, 38, 50, 14},
        {kIdOverwrite, K::PushButton, "Overwrite", 106, 38, 50, 14},
    };
    return d;
}

DatabaseExistsDialog::DatabaseExistsDialog(Prompts& prompts) : Dialog(databaseExistsDescription(), prompts) {}

EventResult DatabaseExistsDialog::onEvent(const DialogEvent& event) {
    switch (event.kind) {
    case DialogEvent::Clicked:
        if (event.id == kIdOverwrite) {
            endDialog(kIdOk);
            return EventResult::Handled;
        }
        return EventResult::Unhandled;
    case DialogEvent::Ok:
        // There is no OK button: deleting the database takes "Overwrite"
        // itself, never a stray Enter.
        return EventResult::Handled;
    default:
        return EventResult::Unhandled;
    }
}

}  // namespace velmora
