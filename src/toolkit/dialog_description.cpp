#include "src/toolkit/dialog_description.h"

#include <algorithm>

namespace velmora {

const ControlDescription* DialogDescription::find(int id) const {
    if (id == kIdStatic) return nullptr;
    for (const auto& control : controls)
        if (control.id == id) return &control;
    return nullptr;
}

std::vector<int> radioGroupOf(const DialogDescription& dialog, int radioId) {
    const ControlDescription* radio = dialog.find(radioId);
    if (!radio || radio->kind != ControlKind::RadioButton) return {};
    for (const auto& group : dialog.radioGroups)
        if (std::find(group.begin(), group.end(), radioId) != group.end()) return group;
    return {radioId};
}

namespace {

// The first radio of `radioId`'s group in the order of `controls`.
int firstOfGroup(const DialogDescription& dialog, int radioId) {
    std::vector<int> group = radioGroupOf(dialog, radioId);
    for (const auto& control : dialog.controls)
        if (std::find(group.begin(), group.end(), control.id) != group.end()) return control.id;
    return radioId;
}

}  // namespace

bool isTabStop(const DialogDescription& dialog, const ControlDescription& control) {
    switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
    case ControlKind::Edit:
    case ControlKind::CheckBox:
    case ControlKind::DropDownList:
    case ControlKind::ReportList:
    case ControlKind::Tabs:
    case ControlKind::VirtualList:
    case ControlKind::Tree:
    case ControlKind::RecordMap:
        return true;
    case ControlKind::RadioButton:
        return firstOfGroup(dialog, control.id) == control.id;
    default:
        return false;
    }
}

std::vector<ControlDescription> inTemplateOrder(const DialogDescription& dialog) {
    std::vector<ControlDescription> ordered;
    for (const auto& control : dialog.controls) {
        if (control.kind != ControlKind::RadioButton) {
            ordered.push_back(control);
            continue;
        }
        if (firstOfGroup(dialog, control.id) != control.id) continue;  // placed with its first
        std::vector<int> group = radioGroupOf(dialog, control.id);
        for (const auto& member : dialog.controls)
            if (std::find(group.begin(), group.end(), member.id) != group.end()) ordered.push_back(member);
    }
    return ordered;
}

}  // namespace velmora
