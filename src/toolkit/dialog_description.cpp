#include "toolkit/dialog_description.h"

namespace velmora {

const ControlDescription* DialogDescription::find(int id) const {
    if (id == kIdStatic) return nullptr;
    for (const auto& control : controls)
        if (control.id == id) return &control;
    return nullptr;
}

bool isTabStop(const ControlDescription& control) {
    switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
    case ControlKind::Edit:
    case ControlKind::CheckBox:
    case ControlKind::DropDownList:
    case ControlKind::ReportList:
        return true;
    case ControlKind::RadioButton:
        return control.groupStart;
    default:
        return false;
    }
}

std::vector<int> radioGroupOf(const DialogDescription& dialog, int radioId) {
    std::vector<int> group;
    bool found = false;
    for (const auto& control : dialog.controls) {
        bool radio = control.kind == ControlKind::RadioButton;
        if (!radio || control.groupStart) {
            if (found) break;
            group.clear();
        }
        if (!radio) continue;
        group.push_back(control.id);
        if (control.id == radioId) found = true;
    }
    if (!found) group.clear();
    return group;
}

}  // namespace velmora
